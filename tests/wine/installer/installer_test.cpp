// The real WENDSET.EXE, started from a medium folder and driven as a person would: pages,
// message boxes, the installed tree and the shortcuts.
#include <gtest/gtest.h>
#include <windows.h>
#include <winioctl.h>
#include <shlobj.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "installer/file_manifest.h"
#include "installer/resources/resource.h"
#include "platform/text_buffers.h"
#include "tests/wine/support/shortcut_reader.h"
#include "tests/wine/installer/installer_driver.h"
#include "tests/wine/support/wine_test_support.h"

using namespace wine_test;

namespace {

using namespace installer_driver;

// The folders of the seventeen roles' libraries.
const char* const kSubfolders[] = {"NORMAL", "BUSY", "IBEAM", "SIZING", "APPSTART", "HELP", "CROSS",
                                   "PEN",    "NO",   "MOVE",  "UPARROW", "HAND",   "PIN",  "PERSON"};

TEST_F(Installer, DefaultInstall) {
  Start();
  ThroughDestination();
  Seen progress = WaitFor(Screen::Progress);
  ASSERT_NE(nullptr, progress.window);
  // The page shows each file while it is copied.
  std::string shownSource;
  wine_test::WaitFor([&] {
    shownSource = TextOf(progress.window, IDC_SHOWN_SOURCE);
    return !shownSource.empty() || !::IsWindow(progress.window);
  });
  EXPECT_EQ(0u, shownSource.find(medium + "\\")) << shownSource;
  FinishSuccessfully();

  std::vector<std::string> top = {".", "..", "Pointrel.EXE", "Pointrel.HLP", "Uninstall.DAT", "Uninstall.EXE"};
  top.insert(top.end(), std::begin(kSubfolders), std::end(kSubfolders));
  std::sort(top.begin(), top.end());
  EXPECT_EQ(top, Listing("C:\\Pointrel"));
  for (const char* name : kSubfolders) EXPECT_TRUE(IsFolder(std::string("C:\\Pointrel\\") + name)) << name;
  ExpectRowsInstalled("C:\\Pointrel", kManifestRows);
  EXPECT_EQ(34u + 2, Listing("C:\\Pointrel\\NORMAL").size());

  EXPECT_EQ(ReadFile(kInstallerExe), ReadFile("C:\\Pointrel\\Uninstall.EXE")) << "the installer's own file";
  ExpectPointrelShortcut(desktopLink, "C:\\Pointrel");
  ExpectPointrelShortcut(startMenuLink, "C:\\Pointrel");
  EXPECT_FALSE(FileExists(startupLink)) << "start-up shortcut without its tick";
  EXPECT_FALSE(FileExists(windows + "\\DESKTOP\\Pointrel.LNK")) << "none under the Windows folder";
}

// Also over an earlier installation: existing folders are no error, existing files are replaced.
TEST_F(Installer, StartupShortcutOnlyWhenTicked) {
  ASSERT_TRUE(::CreateDirectoryA("C:\\Pointrel", nullptr));
  ASSERT_TRUE(::CreateDirectoryA("C:\\Pointrel\\BUSY", nullptr));
  ASSERT_TRUE(WriteFile("C:\\Pointrel\\Pointrel.EXE", "an older program"));
  ASSERT_TRUE(WriteFile("C:\\Pointrel\\BUSY\\Abacus.CUR", "an older cursor"));
  Start();
  ThroughDestination(nullptr, 0, 1);
  FinishSuccessfully();
  ExpectRowsInstalled("C:\\Pointrel", kManifestRows);
  EXPECT_FALSE(FileExists(desktopLink));
  ExpectPointrelShortcut(startupLink, "C:\\Pointrel");
}

TEST_F(Installer, DriveDInstallsIntoItsRoot) {
  std::string drive = MapDriveD();
  ASSERT_EQ("D:", drive) << "cannot map D: in the private prefix";
  for (const std::string& name : Listing("D:")) {
    if (name != "." && name != "..") RemoveTree("D:\\" + name);
  }
  Start();
  ThroughDestination("D:", 1, 1);
  FinishSuccessfully();
  ExpectRowsInstalled("D:", kManifestRows);
  for (const char* name : kSubfolders) EXPECT_TRUE(IsFolder(std::string("D:\\") + name)) << name;
  for (const std::string& path : {desktopLink, startupLink}) {
    ShortcutContents link = ReadShortcut(path);
    ASSERT_EQ(S_OK, link.loaded) << path;
    EXPECT_STRCASEEQ("D:\\Pointrel.EXE", link.target.c_str());
    EXPECT_STRCASEEQ("D:\\", link.workingFolder.c_str());
  }
}

// The start-up folder gone from the user's profile: no folder is made, the files are installed,
// and the shortcut that could not be made is named before the last page.
TEST_F(Installer, MissingStartupFolderIsNamedAfterTheCopy) {
  const std::string folder = startupLink.substr(0, startupLink.rfind('\\'));
  struct PutBack {
    std::string folder;
    ~PutBack() { ::CreateDirectoryA(folder.c_str(), nullptr); }
  } putBack{folder};
  ASSERT_TRUE(::RemoveDirectoryA(folder.c_str())) << folder;
  Start();
  ThroughDestination(nullptr, 0, 1);
  // With its folder gone the shell names none, and the Windows-folder rule's link cannot be saved:
  // the files are in place, but the installation is not complete, and no FinishPage says so.
  ExpectMessagesThenEnd({"Pointrel is installed, but this shortcut could not be made or removed as chosen:\n\n" + windows +
                         "\\Start Menu\\Programs\\StartUp\\Pointrel.LNK"});
  EXPECT_FALSE(IsFolder(folder)) << "the installer creates no link folder";
  ExpectRowsInstalled("C:\\Pointrel", kManifestRows);
}

TEST_F(Installer, MissingParentFolder) {
  RemoveTree("C:\\NoSuchParent");
  Start();
  ThroughDestination("C:\\NoSuchParent\\Pointrel");
  ExpectMessagesThenEnd({"Unable to create destination directory\n\nC:\\NoSuchParent\\Pointrel\nThe folder for it does not exist.",
                         "The installation is NOT complete"});
  EXPECT_FALSE(FileExists("C:\\NoSuchParent"));
  EXPECT_FALSE(FileExists(desktopLink));
}


TEST_F(Installer, PlainFileNamedNormal) {
  ASSERT_TRUE(::CreateDirectoryA("C:\\Pointrel", nullptr));
  ASSERT_TRUE(WriteFile("C:\\Pointrel\\NORMAL", "a plain file"));
  Start();
  ThroughDestination();
  ExpectMessagesThenEnd({"Unable to create subdirectories\n\nC:\\Pointrel\\NORMAL\nA file or folder of that name is in the way.",
                         "The installation is NOT complete"});
  // What was there before stays; nothing of the run does.
  EXPECT_EQ((std::vector<std::string>{".", "..", "NORMAL"}), Listing("C:\\Pointrel"));
  EXPECT_EQ("a plain file", ReadFile("C:\\Pointrel\\NORMAL"));
  EXPECT_FALSE(FileExists(desktopLink));
}

TEST_F(Installer, MissingSourceStopsAtItsRow) {
  const int missing = 9;
  RemoveFile(medium + "\\" + FileManifest[missing].sourceName);
  Start();
  ThroughDestination();
  ExpectMessagesThenEnd({"Error copying application files\n\n" + medium + "\\" + FileManifest[missing].sourceName +
                             "\nIt is missing from the installation medium.",
                         "The installation is NOT complete"});
  EXPECT_FALSE(IsFolder("C:\\Pointrel")) << "nothing of a first installation that failed";
  EXPECT_FALSE(FileExists(desktopLink));
}

// A Cancel during a first installation removes all it wrote; a file there before stays.
TEST_F(Installer, CancelDuringTheCopy) {
  ASSERT_TRUE(::CreateDirectoryA("C:\\Pointrel", nullptr));
  ASSERT_TRUE(WriteFile("C:\\Pointrel\\notes.txt", "the user's"));
  Start();
  ThroughDestination();
  Seen progress = WaitFor(Screen::Progress);
  ASSERT_NE(nullptr, progress.window);
  // The fifth row or a later one on show: a row shows for about 100 ms only, which a test on a
  // busy machine can miss (seen with three lanes on two cores).
  const auto rowShown = [&] {
    const std::string shown = TextOf(progress.window, IDC_SHOWN_SOURCE);
    for (int row = 0; row < kManifestRows; ++row) {
      if (shown == medium + "\\" + FileManifest[row].sourceName) return row;
    }
    return -1;
  };
  ASSERT_TRUE(wine_test::WaitFor([&] { return rowShown() >= 5; }, 10000));
  Press(progress.window, IDCANCEL);
  ExpectMessagesThenEnd({});
  EXPECT_EQ((std::vector<std::string>{".", "..", "notes.txt"}), Listing("C:\\Pointrel"));
  EXPECT_FALSE(FileExists(desktopLink));
}

TEST_F(Installer, CancelOnTheFirstTwoPagesLeavesTheDiskAlone) {
  const std::vector<std::string> rootBefore = Listing("C:"), windowsBefore = Listing(windows),
                                 desktopBefore = Listing(windows + "\\DESKTOP");
  for (int page = 0; page < 2; ++page) {
    Start();
    Seen welcome = WaitFor(Screen::Welcome);
    ASSERT_NE(nullptr, welcome.window);
    if (page == 0) {
      Press(welcome.window, IDCANCEL);
    } else {
      Press(welcome.window, IDOK);
      Seen destination = WaitFor(Screen::Destination, welcome.window);
      ASSERT_NE(nullptr, destination.window);
      SetText(destination.window, IDC_DESTINATION, "C:\\Elsewhere");
      Press(destination.window, IDCANCEL);
    }
    ExpectMessagesThenEnd({});
    EXPECT_EQ(rootBefore, Listing("C:")) << "page " << page;
    EXPECT_EQ(windowsBefore, Listing(windows)) << "page " << page;
    EXPECT_EQ(desktopBefore, Listing(windows + "\\DESKTOP")) << "page " << page;
  }
}

// A refused text keeps the page open with the focus in the edit; a corrected one goes on.
TEST_F(Installer, InvalidDestinationThenCorrected) {
  Start();
  Seen destination = OpenDestination();
  ASSERT_NE(nullptr, destination.window);
  HWND edit = ::GetDlgItem(destination.window, IDC_DESTINATION);
  const std::string invalid = "The destination directory format is invalid.\n\n";
  const std::pair<std::string, std::string> refusals[] = {
      {"C:\\Tools:2", invalid + "The name \"Tools:2\" holds a character that no folder name may hold (one of : < > \" | ? *)."},
      {":Tools", invalid + "A drive is one letter and a colon, such as C: or D:, at the start of the path."},
      {"", invalid + "Type the folder to install Pointrel into, for example C:\\Pointrel."},
      {"C:\\Dot.", invalid + "The name \"Dot.\" ends in a dot or a space, which Windows drops from folder names."},
      {"C:\\Trail   ", invalid + "The name \"Trail   \" ends in a dot or a space, which Windows drops from folder names."},
      {"CON", invalid + "\"CON\" is the name of a device, not of a folder."},
      {"C:\\con\\x", invalid + "\"con\" is the name of a device, not of a folder."},
      {"\\\\server\\share", invalid + "Pointrel is installed into a folder on a drive of this computer, such as C:\\Pointrel, not on a network path."},
      {"C:\\" + std::string(300, 'p'), invalid + "The path is too long: the files of Pointrel in that folder would have longer paths than Windows allows."},
      {std::string(kTextBufferSize + 100, 'x'), invalid + "The path is too long: the files of Pointrel in that folder would have longer paths than Windows allows."},
  };
  for (const auto& refusal : refusals) {
    const std::string& typed = refusal.first;
    Seen box = Submit(destination, typed);
    ASSERT_NE(nullptr, box.window) << typed;
    EXPECT_EQ(refusal.second, box.text) << typed.substr(0, 20);
    Press(box.window, IDOK);
    ASSERT_TRUE(wine_test::WaitFor([&] { return !::IsWindow(box.window); }, 5000));
    EXPECT_EQ(Screen::Destination, Current(*program).screen);
    EXPECT_EQ(typed, TextOf(destination.window, IDC_DESTINATION)) << "the edit keeps the text";
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    ASSERT_TRUE(wine_test::WaitFor(
        [&] {
          ::GetGUIThreadInfo(::GetWindowThreadProcessId(destination.window, nullptr), &info);
          return info.hwndFocus == edit;
        },
        2000))
        << "focus not in the edit after " << typed.substr(0, 20);
  }
  SetText(destination.window, IDC_DESTINATION, "Pointrel");
  Press(destination.window, IDOK);
  Seen progress = WaitFor(Screen::Progress);
  ASSERT_NE(nullptr, progress.window);
  // "Pointrel" means C:\Pointrel\.
  std::string shown;
  wine_test::WaitFor([&] { return !(shown = TextOf(progress.window, IDC_SHOWN_DESTINATION)).empty(); });
  EXPECT_EQ("C:\\Pointrel\\Pointrel.EXE", shown);
  Press(progress.window, IDCANCEL);
  ExpectMessagesThenEnd({});
}

// The build's own medium: the real program, help file and cursors, installed and then started
// the way its desktop shortcut starts it. The utility lists the library it finds there.
TEST_F(Installer, InstalledUtilityStartsFromItsShortcut) {
  // The medium is built before this test; a missing file is a broken build.
  for (const ManifestRow& row : FileManifest) {
    ASSERT_TRUE(FileExists(std::string(kBuiltMedium) + "\\" + row.sourceName))
        << "the build's medium lacks " << row.sourceName;
  }
  Start(kBuiltMedium);
  ThroughDestination();
  FinishSuccessfully();
  ExpectRowsInstalled("C:\\Pointrel", kManifestRows, kBuiltMedium);

  ShortcutContents link = ReadShortcut(desktopLink);
  ASSERT_EQ(S_OK, link.loaded);
  Program utility(link.target, link.workingFolder);
  ASSERT_TRUE(utility.started()) << link.target;
  HWND dialog = utility.WaitForWindow("Pointrel");
  ASSERT_NE(nullptr, dialog);
  HWND normalList = ::GetDlgItem(dialog, 1002);  // the Normal role's list
  const std::vector<std::string> entries = ListBoxTexts(normalList);
  // Every cursor installed into NORMAL is listed, by its name without the extension.
  for (int row = kFirstCursorRow; row < kManifestRows; ++row) {
    std::string destination = FileManifest[row].destinationName;
    if (destination.rfind("NORMAL\\", 0) != 0) continue;
    std::string name = destination.substr(7, destination.size() - 7 - 4);
    bool listed = std::any_of(entries.begin(), entries.end(), [&](const std::string& entry) {
      size_t tab = entry.find('\t');
      return tab != std::string::npos && entry.substr(tab + 1) == name;
    });
    EXPECT_TRUE(listed) << name << " not in the Normal list (" << entries.size() << " entries)";
  }
  utility.Kill();
}

// The shell's desktop folder of the prefix's user moved to `folder` (as OneDrive moves it), put
// back when this goes.
class RedirectedDesktop {
 public:
  explicit RedirectedDesktop(const std::string& folder) {
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, kKey, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, &key) != ERROR_SUCCESS) return;
    wchar_t before[MAX_PATH] = L"";
    DWORD size = sizeof before - sizeof(wchar_t);
    hadValue = ::RegQueryValueExW(key, L"Desktop", nullptr, &type, reinterpret_cast<BYTE*>(before), &size) == ERROR_SUCCESS;
    original = before;
    const std::wstring wide = WideFromUtf8(folder);
    moved = ::RegSetValueExW(key, L"Desktop", 0, REG_EXPAND_SZ, reinterpret_cast<const BYTE*>(wide.c_str()),
                             static_cast<DWORD>((wide.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
  }
  ~RedirectedDesktop() {
    if (!key) return;
    if (hadValue) {
      ::RegSetValueExW(key, L"Desktop", 0, type, reinterpret_cast<const BYTE*>(original.c_str()),
                       static_cast<DWORD>((original.size() + 1) * sizeof(wchar_t)));
    } else {
      ::RegDeleteValueW(key, L"Desktop");
    }
    ::RegCloseKey(key);
  }
  bool moved = false;

 private:
  static constexpr const wchar_t* kKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
  HKEY key = nullptr;
  DWORD type = REG_EXPAND_SZ;
  bool hadValue = false;
  std::wstring original;
};

// A user whose names lie outside the ANSI code page: the build's medium in C:\Łukasz-dl\medium,
// installed into C:\Программы\Pointrel, the desktop in a folder with Polish letters. The files,
// the shortcut in the moved desktop, and the utility it starts, with its library and settings.
TEST_F(Installer, PathsOutsideTheAnsiCodePage) {
  const std::string polishMedium = "C:\\Łukasz-dl\\medium", parent = "C:\\Программы", destination = parent + "\\Pointrel";
  RemoveTree("C:\\Łukasz-dl");
  RemoveTree(parent);
  ASSERT_TRUE(::CreateDirectoryA("C:\\Łukasz-dl", nullptr));
  ASSERT_TRUE(::CreateDirectoryA(polishMedium.c_str(), nullptr));
  ASSERT_TRUE(::CreateDirectoryA(parent.c_str(), nullptr));
  ASSERT_TRUE(::CopyFileA(kInstallerExe, (polishMedium + "\\WENDSET.EXE").c_str(), FALSE));
  for (const ManifestRow& row : FileManifest) {
    ASSERT_TRUE(::CopyFileA((std::string(kBuiltMedium) + "\\" + row.sourceName).c_str(),
                            (polishMedium + "\\" + row.sourceName).c_str(), FALSE))
        << row.sourceName;
  }
  const std::string desktop = UserShellFolder(CSIDL_PROFILE) + "\\OneDrive\\Pulpit Łukasza";
  ::CreateDirectoryA((UserShellFolder(CSIDL_PROFILE) + "\\OneDrive").c_str(), nullptr);
  ::CreateDirectoryA(desktop.c_str(), nullptr);
  RemoveFile(desktop + "\\Pointrel.LNK");
  RedirectedDesktop moved(desktop);
  ASSERT_TRUE(moved.moved);
  ASSERT_EQ(desktop, UserShellFolder(CSIDL_DESKTOPDIRECTORY)) << "the shell names the moved desktop";
  RemoveFile(SettingsFilePath());

  Start(polishMedium);
  ThroughDestination(destination.c_str());
  FinishSuccessfully();
  ExpectRowsInstalled(destination, kManifestRows, polishMedium);
  size_t files = 0;
  std::vector<std::string> folders = {destination};
  for (const char* name : kSubfolders) folders.push_back(destination + "\\" + name);
  for (const std::string& folder : folders) {
    for (const std::string& name : Listing(folder)) files += !IsFolder(folder + "\\" + name);
  }
  EXPECT_EQ(static_cast<size_t>(kManifestRows + 2), files) << "the manifest's rows, the uninstaller and its record";
  ExpectPointrelShortcut(desktop + "\\Pointrel.LNK", destination);

  const ShortcutContents link = ReadShortcut(desktop + "\\Pointrel.LNK");
  Program utility(link.target, link.workingFolder);
  ASSERT_TRUE(utility.started()) << link.target;
  HWND dialog = utility.WaitForWindow("Pointrel");
  ASSERT_NE(nullptr, dialog);
  EXPECT_GT(ListBoxTexts(::GetDlgItem(dialog, 1002)).size(), 30u) << "the Normal list shows the library";
  Press(dialog, 1010);  // OK keeps the settings
  EXPECT_TRUE(wine_test::WaitFor([&] { return FileExists(SettingsFilePath()); })) << SettingsFilePath();
  ::PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
  EXPECT_TRUE(utility.WaitForExit(10000));
  RemoveTree("C:\\Łukasz-dl");
  RemoveTree(parent);
}

}  // namespace
