#include "tests/wine/support/wine_test_support.h"

#include <shlobj.h>

#include <tlhelp32.h>

#include <cstdio>
#include <cstring>

namespace wine_test {

std::string WindowsFolder() {
  char folder[MAX_PATH];
  UINT length = ::GetWindowsDirectoryA(folder, sizeof folder);
  std::string text(folder, length);
  if (!text.empty() && text.back() == '\\') text.pop_back();
  return text;
}

std::string SettingsFolder() {
  char appData[MAX_PATH] = "";
  if (!::SHGetSpecialFolderPathA(nullptr, appData, CSIDL_APPDATA, TRUE)) return WindowsFolder();
  const std::string folder = std::string(appData) + "\\Pointrel";
  ::CreateDirectoryA(folder.c_str(), nullptr);
  return folder;
}

std::string SettingsFilePath() { return SettingsFolder() + "\\Pointrel.INI"; }

namespace {
std::string RequiredFolder(const char* name) {
  char value[1024] = "";
  const DWORD length = ::GetEnvironmentVariableA(name, value, sizeof value);
  if (length == 0 || length >= sizeof value) {
    std::fprintf(stderr, "%s is not set: run this test through tests/wine/emulator.sh, which sets it\n", name);
    std::exit(2);
  }
  return value;
}
}  // namespace

const std::string& BinaryDir() {
  static const std::string folder = RequiredFolder("POINTREL_TEST_BINARY_DIR");
  return folder;
}

const std::string& SourceDir() {
  static const std::string folder = RequiredFolder("POINTREL_TEST_SOURCE_DIR");
  return folder;
}

std::string BuiltUtility() { return BinaryDir() + "/bin/Pointrel.EXE"; }

std::string UtilityIn(const std::string& folder) {
  const std::string program = folder + "\\Pointrel.EXE";
  // The build's own file, already there, is left as it is: a second start runs from the file the
  // first one holds. Another is replaced, waiting for a program of an earlier test still ending
  // (a guard ends after its utility) that holds it; a copy that still fails would start
  // nothing, or an older build: said here rather than as a program that did not start.
  const std::string built = ReadFile(BuiltUtility());
  const bool there = !built.empty() && ReadFile(program) == built;
  if (!there && !WaitFor([&] { return ::CopyFileA(BuiltUtility().c_str(), program.c_str(), FALSE) != FALSE; }, 5000)) {
    std::fprintf(stderr, "Pointrel.EXE not copied into %s: error %lu\n", folder.c_str(), ::GetLastError());
  }
  std::string help = BuiltUtility();
  help.replace(help.size() - 4, 4, ".HLP");
  ::CopyFileA(help.c_str(), (folder + "\\Pointrel.HLP").c_str(), FALSE);
  return program;
}

std::string OlderSettingsFilePath() { return WindowsFolder() + "\\Pointrel.INI"; }

std::string RunMarkerPath() { return SettingsFolder() + "\\Pointrel.RUN"; }

std::vector<std::string> KeysInFile(const std::string& content) {
  std::vector<std::string> keys;
  size_t at = 0;
  while (at < content.size()) {
    size_t end = content.find('\n', at);
    if (end == std::string::npos) end = content.size();
    std::string line = content.substr(at, end - at);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const size_t equals = line.find('=');
    if (equals != std::string::npos) keys.push_back(line.substr(0, equals));
    at = end + 1;
  }
  return keys;
}

std::string ValueInFile(const std::string& content, const std::string& key) {
  // Every key line follows a line break: the section header comes first.
  size_t at = content.find("\n" + key + "=");
  if (at == std::string::npos) return "(missing)";
  at += key.size() + 2;
  const size_t end = content.find_first_of("\r\n", at);
  return content.substr(at, end == std::string::npos ? std::string::npos : end - at);
}

std::string ReadFile(const std::string& path) {
  std::string content;
  if (FILE* file = std::fopen(path.c_str(), "rb")) {
    char buffer[4096];
    size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) content.append(buffer, got);
    std::fclose(file);
  }
  return content;
}

bool WriteFile(const std::string& path, const std::string& content) {
  FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return false;
  const bool written = std::fwrite(content.data(), 1, content.size(), file) == content.size();
  return std::fclose(file) == 0 && written;
}

bool FileExists(const std::string& path) { return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

void RemoveFile(const std::string& path) { ::DeleteFileA(path.c_str()); }

std::string MakeTempFolder(const char* name) {
  char temp[MAX_PATH];
  ::GetTempPathA(sizeof temp, temp);
  std::string folder = std::string(temp) + name;
  // Empty what an earlier run left: files, and folders one level down.
  std::string pattern = folder + "\\*";
  WIN32_FIND_DATAA found;
  HANDLE search = ::FindFirstFileA(pattern.c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      std::string entry = folder + "\\" + found.cFileName;
      if (std::strcmp(found.cFileName, ".") == 0 || std::strcmp(found.cFileName, "..") == 0) continue;
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        WIN32_FIND_DATAA inner;
        HANDLE innerSearch = ::FindFirstFileA((entry + "\\*").c_str(), &inner);
        if (innerSearch != INVALID_HANDLE_VALUE) {
          do {
            if (!(inner.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) ::DeleteFileA((entry + "\\" + inner.cFileName).c_str());
          } while (::FindNextFileA(innerSearch, &inner));
          ::FindClose(innerSearch);
        }
        ::RemoveDirectoryA(entry.c_str());
      } else {
        ::DeleteFileA(entry.c_str());
      }
    } while (::FindNextFileA(search, &found));
    ::FindClose(search);
  }
  ::CreateDirectoryA(folder.c_str(), nullptr);
  return folder;
}

std::wstring WideFromUtf8(const std::string& text) {
  if (text.empty()) return std::wstring();
  const int length = ::MultiByteToWideChar(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(length), L'\0');
  ::MultiByteToWideChar(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), &wide[0], length);
  return wide;
}

std::string Utf8FromWide(const std::wstring& text) {
  if (text.empty()) return std::string();
  const int length = ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string narrow(static_cast<size_t>(length), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), &narrow[0], length, nullptr, nullptr);
  return narrow;
}

Program::Program(const std::string& exe, const std::string& workingFolder, const std::vector<std::string>& environment,
                 const std::string& arguments) {
  std::string block;
  if (!environment.empty()) {
    char* own = ::GetEnvironmentStringsA();
    for (const char* entry = own; *entry; entry += std::strlen(entry) + 1) block.append(entry).push_back('\0');
    ::FreeEnvironmentStringsA(own);
    for (const std::string& entry : environment) block.append(entry).push_back('\0');
    block.push_back('\0');
  }
  // Started through the wide call, so a path outside the test's own code page reaches the
  // program whole.
  const std::wstring program = WideFromUtf8(exe);
  const std::wstring folder = WideFromUtf8(workingFolder);
  std::wstring commandLine = L"\"" + program + L"\"";
  if (!arguments.empty()) commandLine += L" " + WideFromUtf8(arguments);
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info = {};
  if (::CreateProcessW(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0,
                       environment.empty() ? nullptr : &block[0], folder.empty() ? nullptr : folder.c_str(), &startup,
                       &info)) {
    ::CloseHandle(info.hThread);
    process = info.hProcess;
    processId = info.dwProcessId;
  } else {
    std::fprintf(stderr, "%s did not start: error %lu\n", exe.c_str(), ::GetLastError());
  }
}

Program::~Program() {
  Kill();
  if (process) ::CloseHandle(process);
}

HWND Program::WaitForWindow(const char* title, DWORD timeoutMs) const {
  HWND window = nullptr;
  WaitFor(
      [&] {
        for (HWND candidate : FindTopLevelWindows(title)) {
          if (WindowProcess(candidate) == processId && ::IsWindowVisible(candidate)) {
            window = candidate;
            return true;
          }
        }
        return HasExited();
      },
      timeoutMs);
  // Controls pressed before the dialog's initialisation ended would be overwritten by it.
  if (window) ::WaitForInputIdle(process, timeoutMs);
  return window;
}

bool Program::WaitForExit(DWORD timeoutMs) const {
  return process && ::WaitForSingleObject(process, timeoutMs) == WAIT_OBJECT_0;
}

bool Program::HasExited() const { return WaitForExit(0); }

DWORD Program::ExitCode() const {
  DWORD code = STILL_ACTIVE;
  if (process) ::GetExitCodeProcess(process, &code);
  return code;
}

void Program::Kill() {
  if (process && !HasExited()) {
    ::TerminateProcess(process, 1);
    WaitForExit(5000);
    // A killed utility's guard puts the defaults back into the same trace: let it finish before
    // the next test empties its folders.
    WaitFor([] { return ProcessesNamed("Pointrel.EXE").empty(); }, 3000);
  }
}

std::vector<DWORD> ProcessesNamed(const char* exeName) {
  std::vector<DWORD> found;
  HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return found;
  PROCESSENTRY32 entry = {};
  entry.dwSize = sizeof entry;
  for (BOOL more = ::Process32First(snapshot, &entry); more; more = ::Process32Next(snapshot, &entry)) {
    const char* name = std::strrchr(entry.szExeFile, '\\');
    if (lstrcmpiA(name ? name + 1 : entry.szExeFile, exeName) == 0) found.push_back(entry.th32ProcessID);
  }
  ::CloseHandle(snapshot);
  return found;
}

namespace {
struct TitleSearch {
  const char* title;
  std::vector<HWND> found;
};
BOOL CALLBACK CollectTitled(HWND window, LPARAM data) {
  auto* search = reinterpret_cast<TitleSearch*>(data);
  char text[256];
  ::GetWindowTextA(window, text, sizeof text);
  if (std::strcmp(text, search->title) == 0) search->found.push_back(window);
  return TRUE;
}
}  // namespace

std::vector<HWND> FindTopLevelWindows(const char* title) {
  TitleSearch search = {title, {}};
  ::EnumWindows(&CollectTitled, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

namespace {
struct ProcessSearch {
  DWORD processId;
  std::vector<HWND> found;
};
BOOL CALLBACK CollectVisibleOfProcess(HWND window, LPARAM context) {
  auto* search = reinterpret_cast<ProcessSearch*>(context);
  DWORD owner = 0;
  ::GetWindowThreadProcessId(window, &owner);
  if (owner == search->processId && ::IsWindowVisible(window)) search->found.push_back(window);
  return TRUE;
}
}  // namespace

std::vector<HWND> VisibleTopLevelWindowsOf(DWORD processId) {
  ProcessSearch search = {processId, {}};
  ::EnumWindows(&CollectVisibleOfProcess, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

DWORD WindowProcess(HWND window) {
  DWORD id = 0;
  ::GetWindowThreadProcessId(window, &id);
  return id;
}

void Click(HWND dialog, int id) {
  HWND button = ::GetDlgItem(dialog, id);
  DWORD_PTR result;
  ::SendMessageTimeoutA(button, BM_CLICK, 0, 0, SMTO_NORMAL, 5000, &result);
}

void PressKey(HWND dialog, UINT virtualKey) {
  GUITHREADINFO info = {};
  info.cbSize = sizeof info;
  DWORD thread = ::GetWindowThreadProcessId(dialog, nullptr);
  HWND target = dialog;
  if (::GetGUIThreadInfo(thread, &info) && info.hwndFocus) target = info.hwndFocus;
  const UINT scan = ::MapVirtualKeyA(virtualKey, 0);
  ::PostMessageA(target, WM_KEYDOWN, virtualKey, 1 | (scan << 16));
  ::PostMessageA(target, WM_KEYUP, virtualKey, 1 | (scan << 16) | (3u << 30));
}

bool IsChecked(HWND dialog, int id) {
  DWORD_PTR result = 0;
  ::SendMessageTimeoutA(::GetDlgItem(dialog, id), BM_GETCHECK, 0, 0, SMTO_NORMAL, 5000, &result);
  return result == BST_CHECKED;
}

std::string ListBoxText(HWND list, int index) {
  wchar_t text[512] = L"";
  DWORD_PTR length = 0;
  ::SendMessageTimeoutW(list, LB_GETTEXT, index, reinterpret_cast<LPARAM>(text), SMTO_NORMAL, 5000, &length);
  std::string narrow;
  for (DWORD_PTR i = 0; i < length && i < 511; ++i) narrow.push_back(static_cast<char>(text[i]));
  return narrow;
}

std::vector<std::string> ListBoxTexts(HWND list) {
  DWORD_PTR count = 0;
  ::SendMessageTimeoutA(list, LB_GETCOUNT, 0, 0, SMTO_NORMAL, 5000, &count);
  std::vector<std::string> texts;
  for (DWORD_PTR i = 0; i < count; ++i) texts.push_back(ListBoxText(list, static_cast<int>(i)));
  return texts;
}

}  // namespace wine_test
