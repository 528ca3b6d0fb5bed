// Drives the real WENDSET.EXE as a person would, for the installer's Wine tests: its pages and
// message boxes, the medium it is started from, and the files and shortcuts it leaves.
#pragma once
#include <gtest/gtest.h>
#include <windows.h>
#include <winioctl.h>
#include <shlobj.h>
#include <psapi.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "installer/file_manifest.h"
#include "installer/resources/resource.h"
#include "platform/text_buffers.h"
#include "tests/wine/support/shortcut_reader.h"
#include "tests/wine/support/wine_test_support.h"

namespace installer_driver {

using namespace wine_test;


constexpr char kCaption[] = "Pointrel Installation";
inline const std::string kInstallerExePath = wine_test::BinaryDir() + "/bin/WENDSET.EXE";
inline const std::string kBuiltMediumPath = wine_test::BinaryDir() + "/medium";
inline const char* const kInstallerExe = kInstallerExePath.c_str();
inline const char* const kBuiltMedium = kBuiltMediumPath.c_str();

// --- Files ----------------------------------------------------------------------------------

// Removes a folder and everything below it.
inline void RemoveTree(const std::string& path) {
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

inline std::vector<std::string> Listing(const std::string& folder) {
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

inline bool IsFolder(const std::string& path) {
  DWORD attributes = ::GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Every medium file has contents of its own, with every byte value in it.
inline std::string MediumContent(int row) {
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
inline std::string MapDriveD() {
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
inline std::string WindowText(HWND window) {
  char text[2 * kTextBufferSize] = "";
  DWORD_PTR length = 0;
  ::SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_NORMAL, 5000, &length);
  return std::string(text, std::min<size_t>(length, sizeof text - 1));
}

// A process's program file.
inline std::string ProgramOf(DWORD process) {
  HANDLE handle = ::OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, process);
  if (!handle) return "";
  wchar_t path[MAX_PATH] = L"";
  ::GetModuleFileNameExW(handle, nullptr, path, MAX_PATH);
  ::CloseHandle(handle);
  return Utf8FromWide(path);
}

// The window of a Pointrel running from `folder` (other than the process `not`), or nullptr.
inline HWND InstalledUtilityWindow(DWORD notProcess = 0, const std::string& folder = "C:\\Pointrel") {
  for (HWND window : FindTopLevelWindows("Pointrel")) {
    const DWORD process = WindowProcess(window);
    if (process != notProcess && _stricmp(ProgramOf(process).c_str(), (folder + "\\Pointrel.EXE").c_str()) == 0) return window;
  }
  return nullptr;
}

// Ends the Pointrel whose window this is, by its own ending, and waits for it.
inline void CloseUtility(HWND window) {
  HANDLE process = ::OpenProcess(SYNCHRONIZE, FALSE, WindowProcess(window));
  ::PostMessageA(window, WM_CLOSE, 0, 0);
  if (process) {
    EXPECT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(process, 10000)) << "Pointrel did not end";
    ::CloseHandle(process);
  }
}

// --- The entry and the installation ----------------------------------------------------------

constexpr char kEntryKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Pointrel";

inline bool EntryExists() {
  HKEY key = nullptr;
  if (::RegOpenKeyExA(HKEY_CURRENT_USER, kEntryKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return false;
  ::RegCloseKey(key);
  return true;
}

// A text value of the entry, or "(missing)".
inline std::string EntryText(const char* name) {
  char value[2048] = "";
  DWORD size = sizeof value - 1, type = 0;
  if (::RegGetValueA(HKEY_CURRENT_USER, kEntryKey, name, RRF_RT_REG_SZ, &type, value, &size) != ERROR_SUCCESS) {
    return "(missing)";
  }
  return value;
}

// Anything staged, moved aside or journalled below folder: what only a run cut short leaves.
inline bool Leftovers(const std::string& folder) {
  for (const std::string& name : Listing(folder)) {
    if (name == "." || name == "..") continue;
    if (name.find(".pointrel-") != std::string::npos || name == "Uninstall.JNL" || name == "Uninstall.TMP") return true;
    if (IsFolder(folder + "\\" + name) && Leftovers(folder + "\\" + name)) return true;
  }
  return false;
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

inline BOOL CALLBACK CollectOfProcess(HWND window, LPARAM data) {
  auto* search = reinterpret_cast<WindowSearch*>(data);
  char caption[64];
  ::GetWindowTextA(window, caption, sizeof caption);
  if (WindowProcess(window) == search->process && ::IsWindowVisible(window) && std::strcmp(caption, kCaption) == 0) {
    search->found.push_back(window);
  }
  return TRUE;
}

inline BOOL CALLBACK FindMessageText(HWND child, LPARAM data) {
  char className[16];
  ::GetClassNameA(child, className, sizeof className);
  if (_stricmp(className, "Static") != 0) return TRUE;
  std::string text = WindowText(child);
  if (text.empty()) return TRUE;
  *reinterpret_cast<std::string*>(data) = text;
  return FALSE;
}

inline BOOL CALLBACK FindPicture(HWND child, LPARAM data) {
  char className[16];
  ::GetClassNameA(child, className, sizeof className);
  if (_stricmp(className, "Static") != 0 || (::GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) != SS_BITMAP) return TRUE;
  *reinterpret_cast<HWND*>(data) = child;
  return FALSE;
}

// What the installer shows now: a message box (owned by a page) before any page.
inline Seen Current(const Program& program) {
  WindowSearch search = {program.id(), {}};
  ::EnumWindows(&CollectOfProcess, reinterpret_cast<LPARAM>(&search));
  Seen page;
  for (HWND window : search.found) {
    if (::GetWindow(window, GW_OWNER)) {
      Seen message{Screen::Message, window, ""};
      ::EnumChildWindows(window, &FindMessageText, reinterpret_cast<LPARAM>(&message.text));
      return message;
    }
    HWND picture = nullptr;
    ::EnumChildWindows(window, &FindPicture, reinterpret_cast<LPARAM>(&picture));
    Screen screen = ::GetDlgItem(window, IDC_WELCOME_PICTURE)  ? Screen::Welcome
                    : ::GetDlgItem(window, IDC_DESTINATION)    ? Screen::Destination
                    : ::GetDlgItem(window, IDC_SHOWN_SOURCE)   ? Screen::Progress
                    : picture && ::GetDlgItem(window, IDOK)    ? Screen::Finish
                                                               : Screen::None;
    // A window of the caption that is none of the pages (yet) is not taken for one.
    if (screen != Screen::None) page = Seen{screen, window, ""};
  }
  return page;
}

inline const char* Name(Screen screen) {
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

// A message box of the uninstaller (either of its processes) other than `previous`, once it
// shows; an empty Seen when none did within timeoutMs.
constexpr char kUninstallCaption[] = "Uninstall Pointrel";
inline Seen WaitForUninstallBox(HWND previous = nullptr, DWORD timeoutMs = 20000) {
  Seen box;
  wine_test::WaitFor(
      [&] {
        for (HWND window : FindTopLevelWindows(kUninstallCaption)) {
          if (!::IsWindowVisible(window) || window == previous) continue;
          box = Seen{Screen::Message, window, ""};
          ::EnumChildWindows(window, &FindMessageText, reinterpret_cast<LPARAM>(&box.text));
          if (!box.text.empty()) return true;
        }
        box = Seen{};
        return false;
      },
      timeoutMs);
  return box;
}

// A button press as the mouse makes it, posted so that a modal box it opens does not block us.
inline void Press(HWND dialog, int id) {
  ::PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(dialog, id)));
}

// A box answered, once it has gone.
inline void Answer(const Seen& box, int button) {
  Press(box.window, button);
  wine_test::WaitFor([&] { return !::IsWindow(box.window); }, 5000);
}

inline void SetText(HWND dialog, int id, const std::string& text) {
  DWORD_PTR result;
  ::SendMessageTimeoutA(::GetDlgItem(dialog, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), SMTO_NORMAL,
                        5000, &result);
}

inline std::string TextOf(HWND dialog, int id) { return WindowText(::GetDlgItem(dialog, id)); }

// Keys as the keyboard types them, `gapMs` apart: each goes to whatever window of the installer
// has the focus when it arrives, as a second Enter does while a page changes.
inline void TypeKeys(HWND window, WORD key, int times, DWORD gapMs = 250) {
  ::SetForegroundWindow(window);
  for (int i = 0; i < times; ++i) {
    INPUT input[2] = {};
    input[0].type = INPUT_KEYBOARD;
    input[0].ki.wVk = key;
    input[1] = input[0];
    input[1].ki.dwFlags = KEYEVENTF_KEYUP;
    ::SendInput(2, input, sizeof(INPUT));
    ::Sleep(gapMs);
  }
}

// Clicks as the mouse makes them on a control's middle, `gapMs` apart: each goes to whatever
// window lies there when it arrives, as the second click of a double click does.
inline void ClickTwice(HWND control, DWORD gapMs = 150) {
  RECT box;
  ::GetWindowRect(control, &box);
  ::SetForegroundWindow(::GetAncestor(control, GA_ROOT));
  const int width = ::GetSystemMetrics(SM_CXSCREEN), height = ::GetSystemMetrics(SM_CYSCREEN);
  const POINT middle = {(box.left + box.right) / 2, (box.top + box.bottom) / 2};
  INPUT move = {};
  move.type = INPUT_MOUSE;
  move.mi.dx = static_cast<LONG>(middle.x * 65535LL / (width - 1));
  move.mi.dy = static_cast<LONG>(middle.y * 65535LL / (height - 1));
  move.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  // The clicks only once the pointer is there: on a busy machine the display's own report of
  // where its pointer was can arrive after the move and take the pointer back.
  for (int attempt = 0; attempt < 5; ++attempt) {
    ::SendInput(1, &move, sizeof move);
    POINT at = {};
    if (wine_test::WaitFor([&] { return ::GetCursorPos(&at) && std::abs(at.x - middle.x) <= 1 && std::abs(at.y - middle.y) <= 1; }, 1000)) break;
  }
  // Each press and release carries the place too, so a late report cannot move the clicks.
  for (int i = 0; i < 2; ++i) {
    INPUT click[2] = {move, move};
    click[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_LEFTDOWN;
    click[1].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_LEFTUP;
    ::SendInput(2, click, sizeof(INPUT));
    ::Sleep(gapMs);
  }
}

// A page takes keys only once a double click's time has passed since it showed (earlier ones
// were meant for what came before it): the wait before typing to a page just seen.
inline void LetThePageSettle() { ::Sleep(::GetDoubleClickTime() + 100); }

// The current user's folder that the shell keeps for `csidl`, as the installer looks it up.
inline std::string UserShellFolder(int csidl) {
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
    startMenuLink = UserShellFolder(CSIDL_PROGRAMS) + "\\Pointrel.LNK";
    RemoveFile(desktopLink);
    RemoveFile(startupLink);
    RemoveFile(startMenuLink);
    // Every test begins with no installation on record.
    ::RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Pointrel");
    RemoveFile(windows + "\\DESKTOP\\Pointrel.LNK");
    RemoveFile(windows + "\\Start Menu\\Programs\\StartUp\\Pointrel.LNK");
    RemoveTree("C:\\Pointrel");
  }

  void TearDown() override {
    if (program) program->Kill();
  }

  // WENDSET.EXE /quiet ARGUMENTS from the medium (or `from`); its exit code once it has ended.
  DWORD QuietInstall(const std::string& arguments = "", const std::string& from = "") {
    Program quiet((from.empty() ? medium : from) + "\\WENDSET.EXE", elsewhere, {}, "/quiet " + arguments);
    EXPECT_TRUE(quiet.started());
    EXPECT_TRUE(quiet.WaitForExit(60000)) << "the quiet install did not end";
    return quiet.ExitCode();
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

  // Welcome: Continue; the destination page once it shows.
  Seen OpenDestination() {
    Seen welcome = WaitFor(Screen::Welcome);
    if (!welcome.window) return welcome;
    Press(welcome.window, IDOK);
    return WaitFor(Screen::Destination, welcome.window);
  }

  // The destination page with `text` in its edit, Continue pressed; the message box that shows.
  Seen Submit(const Seen& destination, const std::string& text) {
    SetText(destination.window, IDC_DESTINATION, text);
    Press(destination.window, IDOK);
    return WaitFor(Screen::Message);
  }

  // Welcome: Continue. Destination: the text (when given) and the boxes (when given), Continue.
  Seen ThroughDestination(const char* text = nullptr, int desktop = -1, int boot = -1) {
    Seen destination = OpenDestination();
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

  std::string medium, elsewhere, windows, desktopLink, startupLink, startMenuLink;
  std::unique_ptr<Program> program;
};

}  // namespace installer_driver
