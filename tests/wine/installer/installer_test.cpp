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
#include "tests/wine/support/wine_test_support.h"

using namespace wine_test;

namespace {

const char kCaption[] = "Pointrel Installation";
const char kInstallerExe[] = TEST_BINARY_DIR "/bin/WENDSET.EXE";
const char kBuiltMedium[] = TEST_BINARY_DIR "/medium";

// --- Files ----------------------------------------------------------------------------------

// Removes a folder and everything below it.
void RemoveTree(const std::string& path) {
  DWORD attributes = ::GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return;
  if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    ::DeleteFileA(path.c_str());
    return;
  }
  WIN32_FIND_DATAA found;
  HANDLE search = ::FindFirstFileA((path + "\\*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      if (std::strcmp(found.cFileName, ".") && std::strcmp(found.cFileName, "..")) RemoveTree(path + "\\" + found.cFileName);
    } while (::FindNextFileA(search, &found));
    ::FindClose(search);
  }
  ::RemoveDirectoryA(path.c_str());
}

std::vector<std::string> Listing(const std::string& folder) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA found;
  HANDLE search = ::FindFirstFileA((folder + "\\*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do names.push_back(found.cFileName);
    while (::FindNextFileA(search, &found));
    ::FindClose(search);
  }
  std::sort(names.begin(), names.end());
  return names;
}

bool IsFolder(const std::string& path) {
  DWORD attributes = ::GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Every medium file has contents of its own, with every byte value in it.
std::string MediumContent(int row) {
  std::string content = "row " + std::to_string(row) + " " + FileManifest[row].sourceName + "\n";
  for (int i = 0; i < 256 + row * 37; ++i) content.push_back(static_cast<char>((i * 7 + row) & 0xFF));
  return content;
}

// --- Drive D: in the private prefix ----------------------------------------------------------

// Wine's mount manager maps a drive letter to a Unix folder (what winecfg does).
struct MountManagerUnixDrive {
  ULONG size;
  ULONG type;
  ULONG fsType;
  DWORD serial;
  ULONGLONG unixDevice;
  WCHAR letter;
  USHORT mountPointOffset;
  USHORT deviceOffset;
  USHORT labelOffset;
};
constexpr DWORD kDefineUnixDrive = CTL_CODE(0x6d, 32, METHOD_BUFFERED, FILE_READ_ACCESS | FILE_WRITE_ACCESS);

// D: as the folder drive_d of the prefix; otherwise what went wrong.
std::string MapDriveD() {
  char prefix[MAX_PATH];
  DWORD length = ::GetEnvironmentVariableA("WINEPREFIX", prefix, sizeof prefix);
  if (length == 0 || length >= sizeof prefix) return "no WINEPREFIX";
  std::string unixFolder = std::string(prefix) + "/drive_d";
  ::CreateDirectoryA(("Z:" + unixFolder).c_str(), nullptr);
  std::vector<char> request(sizeof(MountManagerUnixDrive) + unixFolder.size() + 1, 0);
  auto* drive = reinterpret_cast<MountManagerUnixDrive*>(request.data());
  drive->size = static_cast<ULONG>(request.size());
  drive->type = DRIVE_FIXED;
  drive->letter = L'd';
  drive->mountPointOffset = sizeof(MountManagerUnixDrive);
  std::memcpy(request.data() + sizeof(MountManagerUnixDrive), unixFolder.c_str(), unixFolder.size() + 1);
  HANDLE manager = ::CreateFileW(L"\\\\.\\MountPointManager", GENERIC_READ | GENERIC_WRITE,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
  if (manager == INVALID_HANDLE_VALUE) return "no mount manager: error " + std::to_string(::GetLastError());
  DWORD returned = 0;
  BOOL ok = ::DeviceIoControl(manager, kDefineUnixDrive, request.data(), static_cast<DWORD>(request.size()), nullptr,
                              0, &returned, nullptr);
  DWORD error = ::GetLastError();
  ::CloseHandle(manager);
  return ok ? "D:" : "mount manager refused: error " + std::to_string(error);
}

// A control's text, asked of the control itself (GetWindowText does not ask another process).
std::string WindowText(HWND window) {
  char text[2 * kTextBufferSize] = "";
  DWORD_PTR length = 0;
  ::SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_NORMAL, 5000, &length);
  return std::string(text, std::min<size_t>(length, sizeof text - 1));
}

// --- The installer's windows ---------------------------------------------------------------

enum class Screen { None, Welcome, Destination, Progress, Finish, Message };

struct Seen {
  Screen screen = Screen::None;
  HWND window = nullptr;
  std::string text;  // a message box's text
};

struct WindowSearch {
  DWORD process;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectOfProcess(HWND window, LPARAM data) {
  auto* search = reinterpret_cast<WindowSearch*>(data);
  char caption[64];
  ::GetWindowTextA(window, caption, sizeof caption);
  if (WindowProcess(window) == search->process && ::IsWindowVisible(window) && std::strcmp(caption, kCaption) == 0) {
    search->found.push_back(window);
  }
  return TRUE;
}

BOOL CALLBACK FindMessageText(HWND child, LPARAM data) {
  char className[16];
  ::GetClassNameA(child, className, sizeof className);
  if (_stricmp(className, "Static") != 0) return TRUE;
  std::string text = WindowText(child);
  if (text.empty()) return TRUE;
  *reinterpret_cast<std::string*>(data) = text;
  return FALSE;
}

BOOL CALLBACK FindPicture(HWND child, LPARAM data) {
  char className[16];
  ::GetClassNameA(child, className, sizeof className);
  if (_stricmp(className, "Static") != 0 || (::GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) != SS_BITMAP) return TRUE;
  *reinterpret_cast<HWND*>(data) = child;
  return FALSE;
}

// What the installer shows now: a message box (owned by a page) before any page.
Seen Current(const Program& program) {
  WindowSearch search = {program.id(), {}};
  ::EnumWindows(&CollectOfProcess, reinterpret_cast<LPARAM>(&search));
  Seen page;
  for (HWND window : search.found) {
    if (::GetWindow(window, GW_OWNER)) {
      Seen message{Screen::Message, window, ""};
      ::EnumChildWindows(window, &FindMessageText, reinterpret_cast<LPARAM>(&message.text));
      return message;
    }
    Screen screen = ::GetDlgItem(window, IDC_WELCOME_PICTURE) ? Screen::Welcome
                    : ::GetDlgItem(window, IDC_DESTINATION)   ? Screen::Destination
                    : ::GetDlgItem(window, IDC_SHOWN_SOURCE)  ? Screen::Progress
                                                              : Screen::Finish;
    page = Seen{screen, window, ""};
  }
  return page;
}

const char* Name(Screen screen) {
  switch (screen) {
    case Screen::None: return "nothing";
    case Screen::Welcome: return "WelcomePage";
    case Screen::Destination: return "DestinationPage";
    case Screen::Progress: return "CopyProgressPage";
    case Screen::Finish: return "FinishPage";
    case Screen::Message: return "a message box";
  }
  return "?";
}

// A button press as the mouse makes it, posted so that a modal box it opens does not block us.
void Press(HWND dialog, int id) {
  ::PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(dialog, id)));
}

void SetText(HWND dialog, int id, const std::string& text) {
  DWORD_PTR result;
  ::SendMessageTimeoutA(::GetDlgItem(dialog, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), SMTO_NORMAL,
                        5000, &result);
}

std::string TextOf(HWND dialog, int id) { return WindowText(::GetDlgItem(dialog, id)); }

// The current user's folder that the shell keeps for `csidl`, as the installer looks it up.
std::string UserShellFolder(int csidl) {
  char path[MAX_PATH] = "";
  EXPECT_TRUE(::SHGetSpecialFolderPathA(nullptr, path, csidl, FALSE)) << "no shell folder " << csidl;
  return path;
}

class Installer : public ::testing::Test {
 protected:
  void SetUp() override {
    medium = MakeTempFolder("wendset-medium");
    ASSERT_TRUE(::CopyFileA(kInstallerExe, (medium + "\\WENDSET.EXE").c_str(), FALSE)) << kInstallerExe;
    for (int row = 0; row < kManifestRows; ++row) {
      ASSERT_TRUE(WriteFile(medium + "\\" + FileManifest[row].sourceName, MediumContent(row)));
    }
    elsewhere = MakeTempFolder("wendset-elsewhere");
    windows = WindowsFolder();
    // The shell's own folders of the prefix's user; the test makes no folder for the links.
    desktopLink = UserShellFolder(CSIDL_DESKTOPDIRECTORY) + "\\Pointrel.LNK";
    startupLink = UserShellFolder(CSIDL_STARTUP) + "\\Pointrel.LNK";
    RemoveFile(desktopLink);
    RemoveFile(startupLink);
    RemoveFile(windows + "\\DESKTOP\\Pointrel.LNK");
    RemoveFile(windows + "\\Start Menu\\Programs\\StartUp\\Pointrel.LNK");
    RemoveTree("C:\\Pointrel");
  }

  void TearDown() override {
    if (program) program->Kill();
  }

  void Start(const std::string& from = "") {
    // Started from another folder: the sources come from the installer's own folder.
    program.reset(new Program((from.empty() ? medium : from) + "\\WENDSET.EXE", elsewhere));
    ASSERT_TRUE(program->started());
  }

  // Waits until the installer shows `screen` (a window other than `previous`).
  Seen WaitFor(Screen screen, HWND previous = nullptr, DWORD timeoutMs = 10000) {
    Seen seen;
    wine_test::WaitFor(
        [&] {
          seen = Current(*program);
          return (seen.screen == screen && seen.window != previous) || program->HasExited();
        },
        timeoutMs);
    EXPECT_EQ(Name(screen), std::string(Name(seen.screen)));
    if (seen.window && screen != Screen::Message) ExpectPageFrame(seen);
    if (seen.window) {
      // Pressed before its initialisation has ended, a control would be reset by it.
      HANDLE process = ::OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, program->id());
      if (process) {
        ::WaitForInputIdle(process, 2000);
        ::CloseHandle(process);
      }
    }
    return seen;
  }

  // What every page shares: the frame without minimise or maximise box, the task-bar style on
  // the first page only; the pictures loaded. (The icons are checked in pages_test.)
  static void ExpectPageFrame(const Seen& page) {
    LONG style = ::GetWindowLongA(page.window, GWL_STYLE);
    EXPECT_EQ(WS_CAPTION | WS_SYSMENU, style & (WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX))
        << Name(page.screen);
    LONG extended = ::GetWindowLongA(page.window, GWL_EXSTYLE);
    EXPECT_EQ(page.screen == Screen::Welcome, (extended & WS_EX_APPWINDOW) != 0) << Name(page.screen);
    if (page.screen == Screen::Welcome || page.screen == Screen::Finish) {
      HWND picture = nullptr;
      ::EnumChildWindows(page.window, &FindPicture, reinterpret_cast<LPARAM>(&picture));
      if (page.screen == Screen::Welcome) {
        EXPECT_EQ(::GetDlgItem(page.window, IDC_WELCOME_PICTURE), picture);
      }
      DWORD_PTR bitmap = 0;
      ::SendMessageTimeoutA(picture, STM_GETIMAGE, IMAGE_BITMAP, 0, SMTO_NORMAL, 5000, &bitmap);
      EXPECT_NE(0u, bitmap) << Name(page.screen) << " shows no picture";
    }
  }

  // Welcome: Continue. Destination: the text (when given) and the boxes (when given), Continue.
  Seen ThroughDestination(const char* text = nullptr, int desktop = -1, int boot = -1) {
    Seen welcome = WaitFor(Screen::Welcome);
    if (!welcome.window) return welcome;
    Press(welcome.window, IDOK);
    Seen destination = WaitFor(Screen::Destination, welcome.window);
    if (!destination.window) return destination;
    EXPECT_EQ("C:\\Pointrel", TextOf(destination.window, IDC_DESTINATION));
    EXPECT_TRUE(IsChecked(destination.window, IDC_DESKTOP_SHORTCUT));
    EXPECT_FALSE(IsChecked(destination.window, IDC_START_AT_BOOT));
    if (text) SetText(destination.window, IDC_DESTINATION, text);
    if (desktop >= 0 && IsChecked(destination.window, IDC_DESKTOP_SHORTCUT) != (desktop == 1)) {
      Click(destination.window, IDC_DESKTOP_SHORTCUT);
    }
    if (boot >= 0 && IsChecked(destination.window, IDC_START_AT_BOOT) != (boot == 1)) {
      Click(destination.window, IDC_START_AT_BOOT);
    }
    Press(destination.window, IDOK);
    return destination;
  }

  // Acknowledges the message boxes in order, checking each text, and waits for the end.
  void ExpectMessagesThenEnd(const std::vector<std::string>& texts) {
    for (const std::string& text : texts) {
      Seen box = WaitFor(Screen::Message, nullptr, 20000);
      if (!box.window) return;
      EXPECT_EQ(text, box.text);
      Press(box.window, IDOK);
      wine_test::WaitFor([&] { return !::IsWindow(box.window); }, 5000);
    }
    // Nothing else shows before the process ends: no further box and no FinishPage.
    bool sawOther = false;
    wine_test::WaitFor(
        [&] {
          Seen seen = Current(*program);
          if (seen.screen == Screen::Message || seen.screen == Screen::Finish) sawOther = true;
          return program->HasExited();
        },
        10000);
    EXPECT_TRUE(program->HasExited());
    EXPECT_FALSE(sawOther) << "a further message box or the FinishPage";
  }

  void FinishSuccessfully() {
    Seen finish = WaitFor(Screen::Finish, nullptr, 30000);
    ASSERT_NE(nullptr, finish.window);
    Press(finish.window, IDOK);
    EXPECT_TRUE(program->WaitForExit(5000));
  }

  // Every row up to `rows` installed byte for byte under its long name; the later ones absent.
  void ExpectRowsInstalled(const std::string& folder, int rows, const std::string& from = "") {
    for (int row = 0; row < kManifestRows; ++row) {
      std::string path = folder + "\\" + FileManifest[row].destinationName;
      if (row < rows) {
        std::string expected =
            from.empty() ? MediumContent(row) : ReadFile(from + "\\" + FileManifest[row].sourceName);
        EXPECT_EQ(expected, ReadFile(path)) << "row " << row << " " << path;
      } else {
        EXPECT_FALSE(FileExists(path)) << "row " << row << " " << path;
      }
    }
  }

  std::string medium, elsewhere, windows, desktopLink, startupLink;
  std::unique_ptr<Program> program;
};

const char* const kSubfolders[] = {"NORMAL", "BUSY", "IBEAM", "SIZING", "APPSTART"};

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

  EXPECT_EQ((std::vector<std::string>{".", "..", "APPSTART", "BUSY", "IBEAM", "NORMAL", "Pointrel.EXE", "Pointrel.HLP",
                                      "SIZING"}),
            Listing("C:\\Pointrel"));
  for (const char* name : kSubfolders) EXPECT_TRUE(IsFolder(std::string("C:\\Pointrel\\") + name)) << name;
  ExpectRowsInstalled("C:\\Pointrel", kManifestRows);
  EXPECT_EQ(34u + 2, Listing("C:\\Pointrel\\NORMAL").size());

  ExpectPointrelShortcut(desktopLink, "C:\\Pointrel");
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
  Seen box = WaitFor(Screen::Message, nullptr, 30000);
  ASSERT_NE(nullptr, box.window);
  // With its folder gone the shell names none, and the Windows-folder rule's link cannot be saved.
  EXPECT_EQ("Pointrel is installed, but this shortcut could not be made:\n\n" + windows +
                "\\Start Menu\\Programs\\StartUp\\Pointrel.LNK",
            box.text);
  Press(box.window, IDOK);
  FinishSuccessfully();
  EXPECT_FALSE(IsFolder(folder)) << "the installer creates no link folder";
  ExpectRowsInstalled("C:\\Pointrel", kManifestRows);
}

TEST_F(Installer, MissingParentFolder) {
  RemoveTree("C:\\NoSuchParent");
  Start();
  ThroughDestination("C:\\NoSuchParent\\Pointrel");
  ExpectMessagesThenEnd({"Unable to create destination directory", "The installation is NOT complete"});
  EXPECT_FALSE(FileExists("C:\\NoSuchParent"));
  EXPECT_FALSE(FileExists(desktopLink));
}

TEST_F(Installer, OverlongDestinationFailsAtTheFolder) {
  Start();
  ThroughDestination(("C:\\" + std::string(300, 'p')).c_str());
  ExpectMessagesThenEnd({"Unable to create destination directory", "The installation is NOT complete"});
}

TEST_F(Installer, PlainFileNamedNormal) {
  ASSERT_TRUE(::CreateDirectoryA("C:\\Pointrel", nullptr));
  ASSERT_TRUE(WriteFile("C:\\Pointrel\\NORMAL", "a plain file"));
  Start();
  ThroughDestination();
  ExpectMessagesThenEnd({"Error copying application files", "The installation is NOT complete"});
  ExpectRowsInstalled("C:\\Pointrel", 18);
  EXPECT_EQ("a plain file", ReadFile("C:\\Pointrel\\NORMAL"));
  EXPECT_FALSE(FileExists(desktopLink));
}

TEST_F(Installer, MissingSourceStopsAtItsRow) {
  const int missing = 9;
  RemoveFile(medium + "\\" + FileManifest[missing].sourceName);
  Start();
  ThroughDestination();
  ExpectMessagesThenEnd({"Error copying application files", "The installation is NOT complete"});
  ExpectRowsInstalled("C:\\Pointrel", missing);
  EXPECT_FALSE(FileExists(desktopLink));
}

TEST_F(Installer, CancelDuringTheCopy) {
  Start();
  ThroughDestination();
  Seen progress = WaitFor(Screen::Progress);
  ASSERT_NE(nullptr, progress.window);
  const std::string fifthSource = medium + "\\" + FileManifest[5].sourceName;
  ASSERT_TRUE(wine_test::WaitFor([&] { return TextOf(progress.window, IDC_SHOWN_SOURCE) == fifthSource; }, 10000));
  Press(progress.window, IDCANCEL);
  ExpectMessagesThenEnd({});
  // What was copied stays; the copy stopped after the file in progress; no shortcut.
  int copied = 0;
  while (copied < kManifestRows && FileExists("C:\\Pointrel\\" + std::string(FileManifest[copied].destinationName))) {
    ++copied;
  }
  EXPECT_GE(copied, 5);
  EXPECT_LE(copied, 8);
  ExpectRowsInstalled("C:\\Pointrel", copied);
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
  Seen welcome = WaitFor(Screen::Welcome);
  ASSERT_NE(nullptr, welcome.window);
  Press(welcome.window, IDOK);
  Seen destination = WaitFor(Screen::Destination, welcome.window);
  ASSERT_NE(nullptr, destination.window);
  HWND edit = ::GetDlgItem(destination.window, IDC_DESTINATION);
  for (const std::string& typed : {std::string("C:\\Tools:2"), std::string(":Tools"), std::string(""),
                                   std::string(kTextBufferSize + 100, 'x')}) {
    SetText(destination.window, IDC_DESTINATION, typed);
    Press(destination.window, IDOK);
    Seen box = WaitFor(Screen::Message);
    ASSERT_NE(nullptr, box.window) << typed;
    EXPECT_EQ("The destination directory format is invalid.", box.text) << typed.substr(0, 20);
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
  for (const std::string& folder : {destination, destination + "\\NORMAL", destination + "\\BUSY", destination + "\\IBEAM",
                                    destination + "\\SIZING", destination + "\\APPSTART"}) {
    for (const std::string& name : Listing(folder)) files += !IsFolder(folder + "\\" + name);
  }
  EXPECT_EQ(52u, files);
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
