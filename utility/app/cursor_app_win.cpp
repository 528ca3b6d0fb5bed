#include "utility/app/cursor_app_win.h"

#include <cstring>

#include "platform/system_cursor.h"
#include "platform/text_buffers.h"
#include "utility/records/app_profile_store_win.h"
#include "utility/records/cursor_settings.h"
#include "utility/records/guard_command.h"
#include "utility/records/import_command.h"
#include "utility/app/guard_win.h"
#include "utility/app/run_marker_win.h"
#include "utility/records/settings_file_win.h"
#include "utility/records/utility_identity.h"
#include "utility/records/utility_window_win.h"
#include "utility/dialog/main_dialog_win.h"

HANDLE instanceMutex = nullptr;

namespace {

// The running dialog, for a crash on any thread.
MainDialog* runningDialog = nullptr;

// How long a second start that imports waits for the running copy's window to show.
constexpr DWORD kRunningWindowWaitMs = 20000;

// The import this start's command line asks for, its path made full from the folder it was
// started in (empty when it does not fit).
ImportCommand ThisStartsImport() {
  ImportCommand command = ParseImportCommand(::GetCommandLineA());
  if (!command.import) return command;
  char full[kTextBufferSize];
  const DWORD length = ::GetFullPathNameA(command.path, sizeof full, full, nullptr);
  if (length == 0 || length >= sizeof full) full[0] = '\0';
  std::strcpy(command.path, full);
  return command;
}

// An unhandled exception: the defaults go back before the process dies.
LONG WINAPI RestoreOnCrash(EXCEPTION_POINTERS*) {
  if (runningDialog) runningDialog->RestoreAfterCrash();
  EndRunMarker();
  return EXCEPTION_CONTINUE_SEARCH;
}
}  // namespace

BOOL CursorApp::InitApplication() {
  // The guard's two private roles run here and end the process: no mutex, window or settings.
  const GuardCommand command = ParseGuardCommand(::GetCommandLineA());
  if (command.role == GuardRole::Starter) {
    // The guard's process id is the starter's exit code: the utility waits on that guard.
    ::ExitProcess(RunGuardStarter(command.utilityProcess, command.late));
  }
  if (command.role == GuardRole::Guard) {
    RunGuard(command.utilityProcess, command.late);
    return FALSE;
  }
  instanceMutex = ::CreateMutexA(nullptr, TRUE, kInstanceMutexName);
  if (instanceMutex && ::GetLastError() != ERROR_ALREADY_EXISTS) return CWinApp::InitApplication();
  // A copy runs already (or the mutex could not be made). An import goes to it, and this
  // process ends with the import's exit code; else its window comes back, hidden or not.
  HWND running = FindUtilityWindow();
  const ImportCommand import = ThisStartsImport();
  if (import.import) {
    // The running copy may still be starting: its window is waited for, within a bound.
    for (DWORD waited = 0; !running && waited < kRunningWindowWaitMs; waited += 100) {
      ::Sleep(100);
      running = FindUtilityWindow();
    }
    // The running copy works in a folder of its own: it is handed the path made full.
    char line[kTextBufferSize + 32];
    std::strcpy(line, "Pointrel.EXE /import \"");
    std::strcat(line, import.path);
    std::strcat(line, import.quiet ? "\" /quiet" : "\"");
    COPYDATASTRUCT data = {kImportHandOverTag, static_cast<DWORD>(std::strlen(line) + 1), line};
    const LRESULT result = running && import.path[0] ? ::SendMessageA(running, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data))
                                                      : kImportRefused;
    ::ExitProcess(static_cast<UINT>(result));
  }
  if (running) {
    // Asked, not shown from here: a copy still starting would hide again what was shown.
    DWORD owner = 0;
    ::GetWindowThreadProcessId(running, &owner);
    ::AllowSetForegroundWindow(owner);
    ::PostMessageA(running, kShowUtilityMessage, 0, 0);
  }
  return FALSE;
}

namespace {
// The library folders and the help file lie beside the program: whatever folder the user
// started it from (the Run box, a prompt, a shortcut without one), it works from its own.
void EnterProgramFolder(const char* programPath) {
  char folder[kTextBufferSize];
  ::lstrcpynA(folder, programPath, sizeof folder);
  char* name = std::strrchr(folder, '\\');
  if (!name) return;
  name[1] = '\0';
  ::SetCurrentDirectoryA(folder);
}
}  // namespace

BOOL CursorApp::InitInstance() {
  Enable3dControls();
  const ImportCommand import = ThisStartsImport();
  EnterProgramFolder(programPath);
  LocateSettingsFile(*this);
  AppProfileStore store(*this);
  LoadSettings(store);
  // The last run left Pointrel's cursors installed: the user's own come back before this run
  // (or its guard) keeps anything as the defaults.
  if (BeginRunMarker(profileName)) platform::ReloadUserCursorScheme();
  // Before the first cursor is installed; without a guard the utility runs just the same.
  StartGuard();
  {
    MainDialog dialog;
    dialog.ImportAtStart(import);
    runningDialog = &dialog;
    LPTOP_LEVEL_EXCEPTION_FILTER previous = ::SetUnhandledExceptionFilter(&RestoreOnCrash);
    dialog.DoModal();
    ::SetUnhandledExceptionFilter(previous);
    runningDialog = nullptr;
  }
  EndRunMarker();
  return FALSE;
}

BOOL CursorApp::OnHelpCommand(HWND window) {
  OnHelp(window);
  return TRUE;
}
