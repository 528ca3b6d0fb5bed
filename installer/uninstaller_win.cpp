#include "installer/uninstaller_win.h"

#include <windows.h>
#include <shlobj.h>

#include "installer/error_text_win.h"
#include "installer/install_state.h"
#include "installer/removal.h"
#include "installer/running_utility_win.h"
#include "installer/uninstall_registry_win.h"
#include "platform/shell_link.h"
#include "utility/app/settings_location.h"

namespace {

const char kUninstallCaption[] = "Uninstall Pointrel";
constexpr DWORD kFirstProcessWaitMs = 30000;

class PlatformRemoval final : public RemovalServices {
 public:
  bool FileExists(const char* path) override {
    const DWORD attributes = ::GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
  }
  std::uint32_t CheckRemovable(const char* path) override {
    // Opened for deletion without sharing: refused while any program has the file open.
    HANDLE file = ::CreateFileA(path, DELETE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return ::GetLastError();
    ::CloseHandle(file);
    return 0;
  }
  std::uint32_t RemoveFile(const char* path) override {
    const DWORD attributes = ::GetFileAttributesA(path);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
      ::SetFileAttributesA(path, attributes & ~FILE_ATTRIBUTE_READONLY);
    }
    if (::DeleteFileA(path)) return 0;
    const DWORD error = ::GetLastError();
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) ::SetFileAttributesA(path, attributes);
    return error;
  }
  void RemoveEmptyFolder(const char* path) override { ::RemoveDirectoryA(path); }
  void ForEachFile(const char* folder, void (*visit)(const char*, void*), void* context) override {
    char relative[kTextBufferSize] = "";
    Walk(folder, relative, visit, context, 0);
  }
  std::uint32_t RemoveEntry() override { return RemoveEntryFromRegistry(); }

 private:
  void Walk(const char* root, char (&relative)[kTextBufferSize], void (*visit)(const char*, void*), void* context,
            int depth) {
    char pattern[kTextBufferSize];
    char folder[kTextBufferSize];
    if (depth > 32 || !(relative[0] ? JoinPath(folder, sizeof folder, root, relative) : CopyText(folder, sizeof folder, root)) ||
        !JoinPath(pattern, sizeof pattern, folder, "*")) {
      return;
    }
    WIN32_FIND_DATAA found;
    HANDLE search = ::FindFirstFileA(pattern, &found);
    if (search == INVALID_HANDLE_VALUE) return;
    const size_t length = lstrlenA(relative);
    do {
      if (!lstrcmpA(found.cFileName, ".") || !lstrcmpA(found.cFileName, "..")) continue;
      char inner[kTextBufferSize];
      if (!(length ? JoinPath(inner, sizeof inner, relative, found.cFileName)
                   : CopyText(inner, sizeof inner, found.cFileName))) {
        continue;
      }
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        char deeper[kTextBufferSize];
        CopyText(deeper, sizeof deeper, inner);
        Walk(root, deeper, visit, context, depth + 1);
      } else {
        visit(inner, context);
      }
    } while (::FindNextFileA(search, &found));
    ::FindClose(search);
  }
};

void OwnFolder(const char* ownPath, char (&folder)[kTextBufferSize]) {
  CopyText(folder, sizeof folder, ownPath);
  char* cut = folder;
  for (char* at = folder; *at; ++at) {
    if (*at == '\\') cut = at;
  }
  *cut = '\0';
}

// True when ownPath names the uninstaller the installer put beside the program.
bool IsInstalledUninstaller(const char* ownPath) {
  const char* name = ownPath;
  for (const char* at = ownPath; *at; ++at) {
    if (*at == '\\') name = at + 1;
  }
  return lstrcmpiA(name, kUninstallerName) == 0;
}

// What is to be removed: the folder and shortcuts the entry records, or else, for the installed
// uninstaller only, its own folder (the installer's medium holds files of the same names, and
// they are not to be removed); the settings' folder.
void PlanRemoval(RemovalPlan& plan, const char* ownPath, const char* folder) {
  plan.entryExists = ReadEntryFromRegistry(plan);
  if (folder && folder[0]) CopyText(plan.folder, sizeof plan.folder, folder);
  if (plan.folder[0] == '\0' && IsInstalledUninstaller(ownPath)) OwnFolder(ownPath, plan.folder);
  char appData[kTextBufferSize];
  if (!platform::GetUserShellFolder(CSIDL_APPDATA, appData, sizeof appData) ||
      !ComposeSettingsFolder(appData, plan.settingsFolder, sizeof plan.settingsFolder)) {
    plan.settingsFolder[0] = '\0';
  }
}

// True for a path inside folder (compared without regard to case).
bool IsInside(const char* path, const char* folder) {
  const int length = lstrlenA(folder);
  if (length == 0 || lstrlenA(path) <= length) return false;
  char head[kTextBufferSize];
  lstrcpynA(head, path, length + 1);
  return lstrcmpiA(head, folder) == 0 && (path[length] == '\\' || folder[length - 1] == '\\');
}

bool Wide(const char* text, WCHAR* out, int size) { return ::MultiByteToWideChar(CP_ACP, 0, text, -1, out, size) != 0; }

// A copy of this program in a folder of its own under the user's temporary folder, started to
// do the removal once this process has ended. False when it could not be started.
bool StartHelper(const RemovalPlan& plan, bool removeSettings, bool quiet, const char* ownPath) {
  WCHAR temp[kMaxPath], folder[kMaxPath], copy[kMaxPath], own[kMaxPath];
  const DWORD length = ::GetTempPathW(kMaxPath, temp);
  if (length == 0 || length >= kMaxPath - 40 || !Wide(ownPath, own, kMaxPath)) return false;
  wsprintfW(folder, L"%sPointrel uninstall %lu", temp, ::GetCurrentProcessId());
  ::CreateDirectoryW(folder, nullptr);
  wsprintfW(copy, L"%s\\%s", folder, L"Uninstall.EXE");
  if (!::CopyFileW(own, copy, FALSE)) return false;

  HANDLE self = nullptr;
  if (!::DuplicateHandle(::GetCurrentProcess(), ::GetCurrentProcess(), ::GetCurrentProcess(), &self, SYNCHRONIZE, TRUE, 0)) {
    return false;
  }
  char arguments[kTextBufferSize + 64];
  WCHAR wideArguments[kMaxPath + 64];
  static WCHAR commandLine[2 * kMaxPath + 80];
  const bool composed =
      ComposeHelperArguments(arguments, sizeof arguments, static_cast<std::uint32_t>(reinterpret_cast<UINT_PTR>(self)),
                             removeSettings, quiet, plan.folder) &&
      Wide(arguments, wideArguments, kMaxPath + 64);
  bool started = false;
  if (composed) {
    wsprintfW(commandLine, L"\"%s\" %s", copy, wideArguments);
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    started = ::CreateProcessW(copy, commandLine, nullptr, nullptr, TRUE, 0, nullptr, folder, &startup, &process) != FALSE;
    if (started) {
      ::CloseHandle(process.hThread);
      ::CloseHandle(process.hProcess);
    }
  }
  ::CloseHandle(self);
  if (!started) {
    ::DeleteFileW(copy);
    ::RemoveDirectoryW(folder);
  }
  return started;
}

// The helper's own copy and folder: no program can remove the file it runs from, so the
// platform's command processor removes both once this process has ended.
void RemoveHelperAfterExit(const char* ownPath) {
  WCHAR own[kMaxPath], folder[kMaxPath], system[kMaxPath], processor[kMaxPath];
  if (!Wide(ownPath, own, kMaxPath)) return;
  lstrcpyW(folder, own);
  WCHAR* cut = nullptr;
  for (WCHAR* at = folder; *at; ++at) {
    if (*at == L'\\') cut = at;
  }
  if (!cut) return;
  *cut = L'\0';
  const UINT length = ::GetSystemDirectoryW(system, kMaxPath);
  if (length == 0 || length >= kMaxPath - 10) return;
  wsprintfW(processor, L"%s\\cmd.exe", system);
  static WCHAR commandLine[3 * kMaxPath + 100];
  wsprintfW(commandLine, L"cmd.exe /d /q /s /c \"ping -n 3 127.0.0.1 >nul & del /f /q \"%s\" & rd \"%s\"\"", own, folder);
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  if (::CreateProcessW(processor, commandLine, nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, system, &startup,
                       &process)) {
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
  }
}

int Remove(const RemovalPlan& plan, bool quiet) {
  RunningUtility running;
  if (FindRunningUtility(running)) EndRunningUtility(running);
  PlatformRemoval services;
  static char message[8 * kTextBufferSize];
  const RemovalOutcome outcome = RemoveInstallation(plan, services, &PlatformErrorMessage, message, sizeof message);
  if (!quiet) {
    const UINT icon = outcome == RemovalOutcome::Removed || outcome == RemovalOutcome::NothingToRemove ? MB_ICONINFORMATION
                                                                                                     : MB_ICONWARNING;
    ::MessageBoxA(nullptr, message, kUninstallCaption, MB_OK | icon);
  }
  return outcome == RemovalOutcome::Removed || outcome == RemovalOutcome::NothingToRemove ? 0 : 1;
}

}  // namespace

int RunUninstaller(const InstallerCommand& command, const char* ownPath) {
  static RemovalPlan plan;
  if (command.mode == InstallerMode::UninstallHelper) {
    // The first process holds the uninstaller's file until it has ended.
    HANDLE first = reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(command.waitFor));
    ::WaitForSingleObject(first, kFirstProcessWaitMs);
    ::CloseHandle(first);
    PlanRemoval(plan, ownPath, command.folder);
    plan.removeSettings = command.removeSettings;
    const int code = Remove(plan, command.quiet);
    RemoveHelperAfterExit(ownPath);
    return code;
  }

  PlanRemoval(plan, ownPath, nullptr);
  PlatformRemoval services;
  if (!SomethingToRemove(plan, services)) {
    if (!command.quiet) ::MessageBoxA(nullptr, kNothingToRemoveMessage, kUninstallCaption, MB_OK | MB_ICONINFORMATION);
    return 0;
  }
  if (!command.quiet && ::MessageBoxA(nullptr, "Remove Pointrel from your computer?", kUninstallCaption,
                                      MB_YESNO | MB_ICONQUESTION) != IDYES) {
    return 0;
  }
  char settings[kTextBufferSize];
  bool removeSettings = false;
  if (!command.quiet && plan.settingsFolder[0] != '\0' &&
      JoinPath(settings, sizeof settings, plan.settingsFolder, kSettingsFileName) && services.FileExists(settings)) {
    static char question[kTextBufferSize + 200];
    lstrcpyA(question, "Remove your Pointrel settings too?\n\nThey are kept in ");
    lstrcatA(question, settings);
    lstrcatA(question, " unless you answer Yes.");
    removeSettings = ::MessageBoxA(nullptr, question, kUninstallCaption, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) == IDYES;
  }
  plan.removeSettings = removeSettings;
  // Run from inside the folder, this file could not go: a copy elsewhere does the removal.
  if (IsInside(ownPath, plan.folder) && StartHelper(plan, removeSettings, command.quiet, ownPath)) return 0;
  return Remove(plan, command.quiet);
}
