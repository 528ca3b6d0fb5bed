// The installer's whole life with the build's own programs: the entry in the list of installed
// programs and the Start menu's shortcut; installing again over a running Pointrel; the
// uninstaller, with Pointrel running and a cursor of the user's own in the library; and what
// each says when a file is held or refused.
#include "tests/wine/installer/installer_driver.h"

#include <cstdio>
#include "tests/wine/support/cursor_trace.h"
#include "utility/records/cursor_role_table.h"

using namespace installer_driver;

namespace {

const char kInstalled[] = "C:\\Pointrel";
const std::string kPlaceFailed =
    "The new files could not be put in place. The files that were there before are back in their places.\n\n";

DWORD EntryNumber(const char* name) {
  DWORD value = 0xDEADBEEF, size = sizeof value;
  ::RegGetValueA(HKEY_CURRENT_USER, kEntryKey, name, RRF_RT_REG_DWORD, nullptr, &value, &size);
  return value;
}

// Every file below folder, with its size; the installer's record is not counted.
void AddTree(const std::string& folder, unsigned long long& bytes, int& files) {
  for (const std::string& name : Listing(folder)) {
    if (name == "." || name == ".." || name == "Uninstall.DAT") continue;
    const std::string path = folder + "\\" + name;
    if (IsFolder(path)) {
      AddTree(path, bytes, files);
    } else {
      bytes += ReadFile(path).size();
      ++files;
    }
  }
}

// The folders the uninstaller's helper runs from, under the user's temporary folder.
std::vector<std::string> HelperFolders() {
  char temp[MAX_PATH];
  ::GetTempPathA(MAX_PATH, temp);
  std::vector<std::string> found;
  for (const std::string& name : Listing(std::string(temp) + ".")) {
    if (name.rfind("Pointrel uninstall ", 0) == 0) found.push_back(name);
  }
  return found;
}

class WholeLife : public Installer {
 protected:
  void SetUp() override {
    Installer::SetUp();
    traceFolder = MakeTempFolder("wendset-life-trace");
    RemoveFile(SettingsFilePath());
  }
  void TearDown() override {
    if (utility) utility->Kill();
    Installer::TearDown();
  }

  // The build's medium installed into C:\Pointrel, quietly: the pages are not the point here.
  void InstallBuiltMedium(int startAtBoot = 0) {
    ASSERT_EQ(0u, QuietInstall(startAtBoot ? "/desktop /startup" : "/desktop", kBuiltMedium));
  }

  // The installed utility, tracing, with its settings saved by OK; returns its window.
  HWND StartInstalledUtility() {
    utility.reset(new Program(std::string(kInstalled) + "\\Pointrel.EXE", kInstalled,
                              {"POINTREL_CURSOR_TRACE=" + traceFolder}));
    HWND dialog = utility->WaitForWindow("Pointrel");
    if (!dialog) return nullptr;
    SettledTrace(traceFolder, kRoleCount);
    Press(dialog, 1010);  // OK keeps the settings
    // Written key by key: whole once the last of the fourteen is there.
    wine_test::WaitFor([&] { return ReadFile(SettingsFilePath()).find("ShakeEnlarge=") != std::string::npos; });
    return dialog;
  }

  // The installed uninstaller, started as the list of installed programs starts it.
  std::unique_ptr<Program> StartUninstaller(const std::string& exe = std::string(kInstalled) + "\\Uninstall.EXE") {
    std::unique_ptr<Program> uninstaller(new Program(exe, kInstalled, {}, "/uninstall"));
    EXPECT_TRUE(uninstaller->started()) << exe;
    return uninstaller;
  }

  std::string traceFolder;
  std::unique_ptr<Program> utility;
};

TEST_F(WholeLife, TheEntryAndTheStartMenuDescribeTheInstallation) {
  InstallBuiltMedium();
  ExpectPointrelShortcut(startMenuLink, kInstalled);
  ASSERT_TRUE(EntryExists());
  EXPECT_EQ("Pointrel", EntryText("DisplayName"));
  EXPECT_EQ("2.0", EntryText("DisplayVersion"));
  EXPECT_EQ("C:\\Pointrel\\Pointrel.EXE", EntryText("DisplayIcon"));
  EXPECT_EQ(kInstalled, EntryText("InstallLocation"));
  EXPECT_EQ("\"C:\\Pointrel\\Uninstall.EXE\" /uninstall", EntryText("UninstallString"));
  EXPECT_EQ("\"C:\\Pointrel\\Uninstall.EXE\" /uninstall /quiet", EntryText("QuietUninstallString"));
  EXPECT_EQ(1u, EntryNumber("NoModify"));
  EXPECT_EQ(1u, EntryNumber("NoRepair"));
  SYSTEMTIME now;
  ::GetLocalTime(&now);
  char today[16];
  std::snprintf(today, sizeof today, "%04u%02u%02u", now.wYear, now.wMonth, now.wDay);
  EXPECT_EQ(today, EntryText("InstallDate"));
  unsigned long long bytes = 0;
  int files = 0;
  AddTree(kInstalled, bytes, files);
  EXPECT_EQ(kManifestRows + 1, files) << "the manifest's rows and the uninstaller";
  EXPECT_EQ((bytes + 1023) / 1024, EntryNumber("EstimatedSize")) << bytes << " bytes installed";
  // The shortcuts are the installer's own record's, never the entry's.
  for (const char* name : {"DesktopShortcut", "StartMenuShortcut", "StartupShortcut"}) EXPECT_EQ("(missing)", EntryText(name));
}

TEST_F(WholeLife, InstallingAgainEndsTheRunningUtilityAndStartsItAgain) {
  InstallBuiltMedium();
  HWND dialog = StartInstalledUtility();
  ASSERT_NE(nullptr, dialog);
  const size_t before = SettledTrace(traceFolder, kRoleCount).size();
  // The first start writes the settings key by key: read them once they hold still.
  std::string settings;
  ASSERT_TRUE(wine_test::WaitFor([&] {
    settings = ReadFile(SettingsFilePath());
    ::Sleep(300);
    return !settings.empty() && settings == ReadFile(SettingsFilePath());
  }));

  Start(kBuiltMedium);
  ThroughDestination();
  Seen question = WaitFor(Screen::Message);
  ASSERT_NE(nullptr, question.window);
  EXPECT_EQ("Pointrel is running. Close it and continue?", question.text);
  Press(question.window, IDYES);
  FinishSuccessfully();

  EXPECT_TRUE(utility->WaitForExit(1000)) << "ended before the copy";
  ExpectDefaultsRestored(ReadTrace(traceFolder), before);
  ExpectRowsInstalled(kInstalled, kManifestRows, kBuiltMedium);
  EXPECT_EQ(settings, ReadFile(SettingsFilePath())) << "the settings are the user's";

  // Started again from the installed folder.
  HWND again = nullptr;
  ASSERT_TRUE(wine_test::WaitFor([&] { return (again = InstalledUtilityWindow(utility->id())) != nullptr; }))
      << "Pointrel is not running again";
  CloseUtility(again);
}

TEST_F(WholeLife, NoAtTheQuestionCopiesNothingAndStaysOnTheDestinationPage) {
  InstallBuiltMedium();
  ASSERT_NE(nullptr, StartInstalledUtility());
  ASSERT_TRUE(WriteFile("C:\\Pointrel\\Pointrel.HLP", "as it was"));
  Start(kBuiltMedium);
  Seen destination = ThroughDestination();
  Seen question = WaitFor(Screen::Message);
  ASSERT_NE(nullptr, question.window);
  Press(question.window, IDNO);
  ASSERT_TRUE(wine_test::WaitFor([&] { return !::IsWindow(question.window); }, 5000));
  EXPECT_EQ(Screen::Destination, Current(*program).screen);
  EXPECT_EQ(destination.window, Current(*program).window);
  EXPECT_EQ("as it was", ReadFile("C:\\Pointrel\\Pointrel.HLP"));
  EXPECT_FALSE(utility->HasExited());
  Press(destination.window, IDCANCEL);
  EXPECT_TRUE(program->WaitForExit(5000));
}

TEST_F(WholeLife, UninstallEndsTheUtilityAndRemovesWhatTheInstallerMade) {
  InstallBuiltMedium(1);
  const std::string own = "C:\\Pointrel\\NORMAL\\My own arrow.CUR";
  ASSERT_TRUE(::CopyFileA((std::string(kInstalled) + "\\" + FileManifest[kFirstCursorRow].destinationName).c_str(),
                          own.c_str(), FALSE));
  ASSERT_NE(nullptr, StartInstalledUtility());
  const size_t before = SettledTrace(traceFolder, kRoleCount).size();
  ASSERT_TRUE(EntryExists());
  for (const std::string& link : {desktopLink, startMenuLink, startupLink}) ASSERT_TRUE(FileExists(link)) << link;

  const std::vector<std::string> helpersBefore = HelperFolders();  // an earlier run's, if any
  std::unique_ptr<Program> uninstaller = StartUninstaller();
  Seen question = WaitForUninstallBox();
  ASSERT_NE(nullptr, question.window);
  EXPECT_EQ("Remove Pointrel from your computer?", question.text);
  Answer(question, IDYES);
  Seen settingsQuestion = WaitForUninstallBox(question.window);
  ASSERT_NE(nullptr, settingsQuestion.window);
  EXPECT_EQ(0u, settingsQuestion.text.find("Remove your Pointrel settings too?")) << settingsQuestion.text;
  Answer(settingsQuestion, IDNO);

  Seen done = WaitForUninstallBox(settingsQuestion.window, 30000);
  ASSERT_NE(nullptr, done.window);
  EXPECT_EQ(0u, done.text.find("Pointrel has been removed from your computer.")) << done.text;
  EXPECT_NE(std::string::npos, done.text.find("in C:\\Pointrel:\nNORMAL\\My own arrow.CUR")) << done.text;
  EXPECT_NE(std::string::npos, done.text.find("Your settings were kept in " + SettingsFilePath())) << done.text;

  EXPECT_TRUE(utility->WaitForExit(1000));
  ExpectDefaultsRestored(ReadTrace(traceFolder), before);
  for (const ManifestRow& row : FileManifest) {
    EXPECT_FALSE(FileExists(std::string(kInstalled) + "\\" + row.destinationName)) << row.destinationName;
  }
  EXPECT_FALSE(FileExists("C:\\Pointrel\\Uninstall.EXE")) << "the uninstaller's own file";
  for (const std::string& link : {desktopLink, startMenuLink, startupLink}) EXPECT_FALSE(FileExists(link)) << link;
  EXPECT_FALSE(EntryExists());
  EXPECT_TRUE(FileExists(own));
  EXPECT_EQ((std::vector<std::string>{".", "..", "NORMAL"}), Listing(kInstalled)) << "the record went last";
  EXPECT_TRUE(FileExists(SettingsFilePath()));
  Answer(done, IDOK);
  // The helper's copy goes once it has ended.
  EXPECT_TRUE(wine_test::WaitFor([&] { return HelperFolders() == helpersBefore; }, 15000))
      << HelperFolders().size() - helpersBefore.size() << " helper folders left";

  // Run again (the medium's installer as the list would start it): nothing to remove.
  std::unique_ptr<Program> again = StartUninstaller(kInstallerExe);
  Seen nothing = WaitForUninstallBox();
  ASSERT_NE(nullptr, nothing.window);
  EXPECT_EQ("Pointrel is not installed on this computer: there is nothing to remove.", nothing.text);
  Answer(nothing, IDOK);
  EXPECT_TRUE(again->WaitForExit(5000));
  EXPECT_TRUE(FileExists(own));
  RemoveTree(kInstalled);
}

TEST_F(WholeLife, UninstallRemovesTheSettingsWhenAskedAndNoChangesNothing) {
  InstallBuiltMedium();
  ASSERT_TRUE(WriteFile(SettingsFilePath(), "[Pointrel]\r\nWhtClr=4\r\n"));
  {
    std::unique_ptr<Program> uninstaller = StartUninstaller();
    Seen question = WaitForUninstallBox();
    ASSERT_NE(nullptr, question.window);
    Answer(question, IDNO);
    EXPECT_TRUE(uninstaller->WaitForExit(5000));
    ExpectRowsInstalled(kInstalled, kManifestRows, kBuiltMedium);
    EXPECT_TRUE(FileExists("C:\\Pointrel\\Uninstall.EXE"));
    EXPECT_TRUE(EntryExists());
    EXPECT_TRUE(FileExists(startMenuLink));
  }
  std::unique_ptr<Program> uninstaller = StartUninstaller();
  Seen question = WaitForUninstallBox();
  ASSERT_NE(nullptr, question.window);
  Answer(question, IDYES);
  Seen settingsQuestion = WaitForUninstallBox(question.window);
  ASSERT_NE(nullptr, settingsQuestion.window);
  Answer(settingsQuestion, IDYES);
  Seen done = WaitForUninstallBox(settingsQuestion.window, 30000);
  ASSERT_NE(nullptr, done.window);
  EXPECT_EQ("Pointrel has been removed from your computer.", done.text);
  EXPECT_FALSE(FileExists(SettingsFilePath()));
  EXPECT_FALSE(IsFolder(kInstalled)) << "nothing of the user's own in it: the folder goes too";
  Answer(done, IDOK);
}

// As the list's QuietUninstallString starts it: no questions, no messages, the settings kept.
TEST_F(WholeLife, AQuietUninstallAsksNothingAndKeepsTheSettings) {
  InstallBuiltMedium();
  ASSERT_TRUE(WriteFile(SettingsFilePath(), "[Cursors]\r\nBlink=2\r\n"));
  Program quiet(std::string(kInstalled) + "\\Uninstall.EXE", kInstalled, {}, "/uninstall /quiet");
  ASSERT_TRUE(quiet.started());
  bool asked = false;
  EXPECT_TRUE(wine_test::WaitFor(
      [&] {
        asked = asked || WaitForUninstallBox(nullptr, 0).window != nullptr;
        return !EntryExists() && !IsFolder(kInstalled);
      },
      20000));
  EXPECT_FALSE(asked) << "a box showed";
  EXPECT_EQ(0u, quiet.ExitCode());
  EXPECT_FALSE(FileExists(startMenuLink));
  EXPECT_EQ("[Cursors]\r\nBlink=2\r\n", ReadFile(SettingsFilePath()));
}

// A file that a program holds: the copy names it and why, and the uninstaller changes nothing;
// a file the copy is refused is named with that reason.
TEST_F(WholeLife, AHeldOrRefusedFileIsNamedAndNothingIsHalfRemoved) {
  InstallBuiltMedium();
  const std::string help = "C:\\Pointrel\\Pointrel.HLP";
  {
    HANDLE held = ::CreateFileA(help.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    Start(kBuiltMedium);
    ThroughDestination();
    ExpectMessagesThenEnd({std::string(kPlaceFailed) + help + "\nIt is in use by another program.",
                           "The installation is NOT complete"});
    EXPECT_FALSE(Leftovers(kInstalled));

    std::unique_ptr<Program> uninstaller = StartUninstaller();
    Seen question = WaitForUninstallBox();
    ASSERT_NE(nullptr, question.window);
    Answer(question, IDYES);
    Seen done = WaitForUninstallBox(question.window, 30000);
    ASSERT_NE(nullptr, done.window);
    EXPECT_EQ("Pointrel was not removed; nothing has been changed. This file cannot be removed now:\n\n" + help +
                  "\nIt is in use by another program.\n\nClose the program that uses it and try again.",
              done.text);
    Answer(done, IDOK);
    ::CloseHandle(held);
  }
  ExpectRowsInstalled(kInstalled, kManifestRows, kBuiltMedium);
  EXPECT_TRUE(FileExists("C:\\Pointrel\\Uninstall.EXE"));
  EXPECT_TRUE(EntryExists());
  EXPECT_TRUE(FileExists(startMenuLink));

  // A file the copy is refused (a folder where the help file goes; Wine's copy, unlike the
  // platform's, replaces a read-only file): named with the reason, the folder left alone.
  RemoveFile(help);
  ASSERT_TRUE(::CreateDirectoryA(help.c_str(), nullptr));
  Start(kBuiltMedium);
  ThroughDestination();
  Seen box = WaitFor(Screen::Message, nullptr, 30000);
  ASSERT_NE(nullptr, box.window);
  EXPECT_EQ(0u, box.text.find(kPlaceFailed + help + "\n")) << box.text;
  Press(box.window, IDOK);
  ASSERT_TRUE(wine_test::WaitFor([&] { return !::IsWindow(box.window); }, 5000));
  ExpectMessagesThenEnd({"The installation is NOT complete"});
  EXPECT_TRUE(IsFolder(help));
  ::RemoveDirectoryA(help.c_str());
  EXPECT_FALSE(Leftovers(kInstalled));
}

// Run by full_drive.sh with a drive of 1 MB at POINTREL_FULL_DRIVE: the copy stops at the file
// that did not fit, names it and the reason, and leaves no part of it; the files before it stay.
TEST_F(WholeLife, AFullDriveNamesTheFileAndLeavesNoPartOfIt) {
  char drive[MAX_PATH] = "";
  if (::GetEnvironmentVariableA("POINTREL_FULL_DRIVE", drive, sizeof drive) == 0) {
    GTEST_SKIP() << "run by full_drive.sh, which mounts the small drive";
  }
  const std::string destination = std::string(drive) + "\\Pointrel";
  Start(kBuiltMedium);
  ThroughDestination(destination.c_str());
  Seen box = WaitFor(Screen::Message, nullptr, 60000);
  ASSERT_NE(nullptr, box.window);
  const std::string head = "Error copying application files\n\n", reason = "\nThere is not enough room on the drive.";
  ASSERT_EQ(0u, box.text.find(head)) << box.text;
  ASSERT_GT(box.text.size(), head.size() + reason.size());
  ASSERT_EQ(reason, box.text.substr(box.text.size() - reason.size())) << box.text;
  const std::string failed = box.text.substr(head.size(), box.text.size() - head.size() - reason.size());
  Press(box.window, IDOK);
  ASSERT_TRUE(wine_test::WaitFor([&] { return !::IsWindow(box.window); }, 5000));
  ExpectMessagesThenEnd({"The installation is NOT complete"});
  int row = 0;
  while (row < kManifestRows && destination + "\\" + FileManifest[row].destinationName != failed) ++row;
  ASSERT_LT(row, kManifestRows) << failed << " is no file of the medium";
  EXPECT_GT(row, 0);
  EXPECT_FALSE(IsFolder(destination)) << "nothing of the run is left, no part of the file either";
  EXPECT_FALSE(EntryExists());
  RemoveTree(destination);
}

}  // namespace
