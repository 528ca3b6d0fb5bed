// What the uninstaller and the installer read back is checked, never obeyed: an entry changed to
// name another folder or other files, a record edited or gone, a file changed since it was
// installed; destinations the platform would shorten or misread; and one installation followed
// through a move, proposed where it is.
#include "tests/wine/installer/installer_driver.h"

#include <map>

#include "platform/shell_link.h"

using namespace installer_driver;

namespace {




void SetEntryText(const char* name, const std::string& value) {
  HKEY key = nullptr;
  ASSERT_EQ(ERROR_SUCCESS, ::RegCreateKeyExA(HKEY_CURRENT_USER, kEntryKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr));
  ::RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()), static_cast<DWORD>(value.size() + 1));
  ::RegCloseKey(key);
}

// Every file below folder with its contents.
void Snapshot(const std::string& folder, const std::string& prefix, std::map<std::string, std::string>& files) {
  for (const std::string& name : Listing(folder)) {
    if (name == "." || name == "..") continue;
    const std::string path = folder + "\\" + name;
    if (IsFolder(path)) {
      Snapshot(path, prefix + name + "\\", files);
    } else {
      files[prefix + name] = ReadFile(path);
    }
  }
}
std::map<std::string, std::string> Snapshot(const std::string& folder) {
  std::map<std::string, std::string> files;
  Snapshot(folder, "", files);
  return files;
}

class Trust : public Installer {
 protected:
  void TearDown() override {
    Installer::TearDown();
    for (const char* folder : {"C:\\Decoy", "C:\\Fwd", "C:\\Rel", "C:\\Elsewhere"}) RemoveTree(folder);
  }
  // A program of the prefix run to its end; its exit code.
  static DWORD RunToEnd(const std::string& exe, const std::string& arguments) {
    Program run(exe, "C:\\", {}, arguments);
    EXPECT_TRUE(run.started()) << exe;
    EXPECT_TRUE(run.WaitForExit(60000)) << exe << " " << arguments;
    return run.ExitCode();
  }
  // Every row, the uninstaller and its record in place, as installed from the test's medium.
  void ExpectInstalled(const std::string& folder = "C:\\Pointrel") {
    ExpectRowsInstalled(folder, kManifestRows);
    EXPECT_TRUE(FileExists(folder + "\\Uninstall.EXE"));
    EXPECT_TRUE(FileExists(folder + "\\Uninstall.DAT"));
  }
};

// The entry names another folder that looks like the installation (the same files, even a copy
// of the record) and its shortcut values name win.ini and a document; a link of the installer's
// name leads to another program. The installed uninstaller goes by its own folder and removes
// exactly the installation. Then the medium's, going by the entry alone, finds there a record
// written for another folder, and removes nothing.
TEST_F(Trust, ATamperedEntryRemovesNothingOutsideTheInstallation) {
  ASSERT_EQ(0u, QuietInstall("/desktop /startup"));
  RemoveTree("C:\\Decoy");
  ASSERT_TRUE(::CreateDirectoryA("C:\\Decoy", nullptr));
  for (const auto& file : Snapshot("C:\\Pointrel")) {
    const size_t folder = file.first.rfind('\\');
    if (folder != std::string::npos) ::CreateDirectoryA(("C:\\Decoy\\" + file.first.substr(0, folder)).c_str(), nullptr);
    ASSERT_TRUE(WriteFile("C:\\Decoy\\" + file.first, file.second));
  }
  ASSERT_TRUE(WriteFile("C:\\Decoy\\My letter.txt", "Dear Ann"));
  const std::string winIni = windows + "\\win.ini";
  if (!FileExists(winIni)) {
    ASSERT_TRUE(WriteFile(winIni, "[windows]\r\n"));
  }
  const std::string winIniBefore = ReadFile(winIni);
  const auto tamper = [&] {
    SetEntryText("InstallLocation", "C:\\Decoy");
    SetEntryText("DesktopShortcut", winIni);
    SetEntryText("StartupShortcut", "C:\\Decoy\\My letter.txt");
  };
  tamper();
  ASSERT_EQ(S_OK, platform::CreateShortcut((windows + "\\notepad.exe").c_str(), startupLink.c_str(), "C:\\", "another program"));
  const auto decoy = Snapshot("C:\\Decoy");

  EXPECT_EQ(0u, RunToEnd("C:\\Pointrel\\Uninstall.EXE", "/uninstall /quiet"));
  EXPECT_TRUE(wine_test::WaitFor([] { return !IsFolder("C:\\Pointrel"); }, 20000)) << "the installation went";
  EXPECT_EQ(decoy, Snapshot("C:\\Decoy")) << "nothing outside the installation";
  EXPECT_EQ(winIniBefore, ReadFile(winIni));
  EXPECT_FALSE(FileExists(desktopLink));
  EXPECT_FALSE(FileExists(startMenuLink));
  EXPECT_TRUE(FileExists(startupLink)) << "a link to another program is not the installer's";
  EXPECT_FALSE(EntryExists()) << "an entry naming no installation goes with the last one";

  tamper();
  EXPECT_EQ(2u, RunToEnd(medium + "\\WENDSET.EXE", "/uninstall /quiet")) << "a record written for another folder";
  EXPECT_EQ(decoy, Snapshot("C:\\Decoy"));
  EXPECT_EQ(winIniBefore, ReadFile(winIni));
  RemoveFile(startupLink);
}

// A record edited (a path led outside the folder) or gone: nothing is removed, and the
// uninstaller says what it could not verify.
TEST_F(Trust, ADamagedOrMissingRecordRemovesNothing) {
  ASSERT_EQ(0u, QuietInstall("/desktop"));
  std::string record = ReadFile("C:\\Pointrel\\Uninstall.DAT");
  const std::size_t at = record.find(" Pointrel.HLP\r\n");
  ASSERT_NE(std::string::npos, at);
  record.replace(at, 13, " ..\\..\\windows\\win.ini");
  ASSERT_TRUE(WriteFile("C:\\Pointrel\\Uninstall.DAT", record));
  const auto installed = Snapshot("C:\\Pointrel");

  Program uninstaller("C:\\Pointrel\\Uninstall.EXE", "C:\\", {}, "/uninstall");
  Seen box = WaitForUninstallBox();
  ASSERT_NE(nullptr, box.window);
  EXPECT_EQ("Nothing was removed from C:\\Pointrel: its files cannot be verified as Pointrel's, because the record of "
            "what the installer wrote there, Uninstall.DAT, is damaged.\n\nNothing has been changed.",
            box.text);
  Answer(box, IDOK);
  EXPECT_TRUE(uninstaller.WaitForExit(10000));
  EXPECT_EQ(2u, uninstaller.ExitCode());
  EXPECT_EQ(installed, Snapshot("C:\\Pointrel"));
  EXPECT_TRUE(FileExists(desktopLink));

  RemoveFile("C:\\Pointrel\\Uninstall.DAT");
  EXPECT_EQ(2u, RunToEnd("C:\\Pointrel\\Uninstall.EXE", "/uninstall /quiet")) << "missing: nothing verified";
  ExpectRowsInstalled("C:\\Pointrel", kManifestRows);
  EXPECT_TRUE(EntryExists());
}

// A file changed since it was installed is the user's: kept, and named as such.
TEST_F(Trust, AChangedFileIsKeptAndNamed) {
  RemoveFile(SettingsFilePath());  // no question about them
  ASSERT_EQ(0u, QuietInstall());
  const std::string changed = std::string("C:\\Pointrel\\") + FileManifest[kFirstCursorRow].destinationName;
  ASSERT_TRUE(WriteFile(changed, "my own edit"));
  Program uninstaller("C:\\Pointrel\\Uninstall.EXE", "C:\\", {}, "/uninstall");
  Seen question = WaitForUninstallBox();
  ASSERT_NE(nullptr, question.window);
  Answer(question, IDYES);
  Seen done = WaitForUninstallBox(question.window, 30000);
  ASSERT_NE(nullptr, done.window);
  EXPECT_EQ("Pointrel has been removed from your computer.\n\nThese files of your own (added, or changed since Pointrel "
            "installed them) were kept, with their folders, in C:\\Pointrel:\n" +
                std::string(FileManifest[kFirstCursorRow].destinationName),
            done.text);
  Answer(done, IDOK);
  EXPECT_EQ("my own edit", ReadFile(changed));
  EXPECT_EQ((std::vector<std::string>{".", "..", "SIZING"}), Listing("C:\\Pointrel"));
}

// Destinations the platform would shorten, read as a device, or send to the network are refused
// (exit code 2) and make nothing; forward slashes and a name without a drive are put into their
// canonical form, which the entry and the record hold and the uninstaller goes by.
TEST_F(Trust, OddDestinations) {
  const std::vector<std::string> rootBefore = Listing("C:");
  const std::pair<std::string, DWORD> refused[] = {
      {"/dir=C:\\Dot.", 2},        {"/dir=CON", 2},          {"\"/dir=C:\\Trail   \"", 2}, {"/dir=C:\\con\\x", 2},
      {"/dir=\\\\server\\share", 2}, {"/dir=C:\\a?b", 2},     {"/bogus", 1},
  };
  for (const auto& c : refused) EXPECT_EQ(c.second, QuietInstall(c.first)) << c.first;
  EXPECT_EQ(rootBefore, Listing("C:"));
  EXPECT_FALSE(EntryExists());

  const std::pair<std::string, std::string> canonical[] = {{"/dir=C:/Fwd/", "C:\\Fwd"}, {"/dir=Rel", "C:\\Rel"}};
  for (const auto& c : canonical) {
    ASSERT_EQ(0u, QuietInstall(c.first)) << c.first;
    ExpectInstalled(c.second);
    EXPECT_EQ(c.second, EntryText("InstallLocation"));
    EXPECT_NE(std::string::npos, ReadFile(c.second + "\\Uninstall.DAT").find("\r\nfolder=" + c.second + "\r\n"));
    EXPECT_EQ(2u, QuietInstall("/dir=" + c.second + "\\NORMAL")) << "inside the installation";
    EXPECT_EQ(0u, RunToEnd(c.second + "\\Uninstall.EXE", "/uninstall /quiet"));
    EXPECT_TRUE(wine_test::WaitFor([&] { return !IsFolder(c.second); }, 20000)) << c.second;
  }
}

// The installation in another folder is proposed with its shortcuts as they are; a folder inside
// it is refused with the reason; installing elsewhere asks, and moves it: the old copy goes by
// its record once the new one is complete (the user's file stays), and the start-up shortcut
// unticked goes.
TEST_F(Trust, TheInstallationIsProposedAndMovedWhole) {
  RemoveTree("C:\\Elsewhere");
  ASSERT_TRUE(::CreateDirectoryA("C:\\Elsewhere", nullptr));
  ASSERT_EQ(0u, QuietInstall("/dir=C:\\Elsewhere\\Pointrel /startup"));
  ASSERT_TRUE(WriteFile("C:\\Elsewhere\\Pointrel\\NORMAL\\mine.CUR", "the user's"));
  ASSERT_TRUE(FileExists(startupLink));
  Start();
  Seen destination = OpenDestination();
  ASSERT_NE(nullptr, destination.window);
  EXPECT_EQ("C:\\Elsewhere\\Pointrel", TextOf(destination.window, IDC_DESTINATION));
  EXPECT_FALSE(IsChecked(destination.window, IDC_DESKTOP_SHORTCUT));
  EXPECT_TRUE(IsChecked(destination.window, IDC_START_AT_BOOT));

  Seen refusal = Submit(destination, "C:\\Elsewhere\\Pointrel\\NORMAL");
  ASSERT_NE(nullptr, refusal.window);
  EXPECT_EQ("C:\\Elsewhere\\Pointrel\\NORMAL lies inside the installation of Pointrel in C:\\Elsewhere\\Pointrel. "
            "Install into C:\\Elsewhere\\Pointrel itself, or into a folder outside it.",
            refusal.text);
  Answer(refusal, IDOK);

  Click(destination.window, IDC_START_AT_BOOT);
  Seen question = Submit(destination, "C:\\Pointrel");
  ASSERT_NE(nullptr, question.window);
  EXPECT_EQ("Pointrel is installed in C:\\Elsewhere\\Pointrel. Move it to C:\\Pointrel?\n\nThe copy in "
            "C:\\Elsewhere\\Pointrel is removed once the new one is complete.",
            question.text);
  Press(question.window, IDYES);
  Seen left = WaitFor(Screen::Message, question.window, 30000);
  ASSERT_NE(nullptr, left.window);
  EXPECT_EQ("Pointrel is installed in C:\\Pointrel.\n\nThe copy in C:\\Elsewhere\\Pointrel has been removed.\n\nThese "
            "files of your own (added, or changed since Pointrel installed them) were kept, with their folders, in "
            "C:\\Elsewhere\\Pointrel:\nNORMAL\\mine.CUR",
            left.text);
  Press(left.window, IDOK);
  FinishSuccessfully();
  ExpectInstalled();
  EXPECT_EQ("C:\\Pointrel", EntryText("InstallLocation"));
  EXPECT_FALSE(FileExists(startupLink)) << "unticked: the shortcut the installer made goes";
  EXPECT_FALSE(FileExists(desktopLink)) << "not ticked, not made";
  EXPECT_EQ((std::vector<std::string>{".", "..", "mine.CUR"}), Listing("C:\\Elsewhere\\Pointrel\\NORMAL"));
  EXPECT_EQ((std::vector<std::string>{".", "..", "NORMAL"}), Listing("C:\\Elsewhere\\Pointrel"));
}

}  // namespace
