#include "installer/running_utility_win.h"

#include <tlhelp32.h>

#include "installer/install_state.h"
#include "utility/records/utility_identity.h"
#include "utility/records/utility_window_win.h"

namespace {

constexpr DWORD kOwnEndingMs = 5000;   // its ending puts eight cursors back: well under a second
constexpr DWORD kAfterKillMs = 3000;

// A process's program file. The call is newer than the headers' target and looked up at run
// time; the right to ask is the limited one that any process of the user grants.
bool ProgramOf(DWORD process, WCHAR* path, DWORD size) {
  using QueryImageName = BOOL(WINAPI*)(HANDLE, DWORD, LPWSTR, PDWORD);
  constexpr DWORD kQueryLimitedInformation = 0x1000;
  static const auto query = reinterpret_cast<QueryImageName>(
      reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleA("kernel32.dll"), "QueryFullProcessImageNameW")));
  if (!query) return false;
  HANDLE handle = ::OpenProcess(kQueryLimitedInformation, FALSE, process);
  if (!handle) return false;
  const bool known = query(handle, 0, path, &size) != FALSE;
  ::CloseHandle(handle);
  return known;
}

// Waits for a process to end; kills it when it has not after waitMs.
bool EndProcess(DWORD id, DWORD waitMs, bool askFirst, HWND window) {
  HANDLE process = ::OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, id);
  if (!process) return true;  // already gone
  if (askFirst) ::PostMessageA(window, WM_CLOSE, 0, 0);
  bool ended = ::WaitForSingleObject(process, waitMs) == WAIT_OBJECT_0;
  if (!ended) {
    ::TerminateProcess(process, 1);
    ended = ::WaitForSingleObject(process, kAfterKillMs) == WAIT_OBJECT_0;
  }
  ::CloseHandle(process);
  return ended;
}

}  // namespace

bool FindRunningUtility(RunningUtility& found) {
  HANDLE mutex = ::OpenMutexA(SYNCHRONIZE, FALSE, kInstanceMutexName);
  if (!mutex) return false;
  ::CloseHandle(mutex);
  // A utility that is starting holds the mutex before its window shows.
  HWND window = nullptr;
  for (int attempt = 0; attempt < 30 && !window; ++attempt) {
    window = FindUtilityWindow();
    if (!window) ::Sleep(100);
  }
  if (!window) return false;
  found.window = window;
  ::GetWindowThreadProcessId(window, &found.process);
  WCHAR program[kMaxPath];
  found.program[0] = '\0';
  if (ProgramOf(found.process, program, kMaxPath) &&
      ::WideCharToMultiByte(CP_ACP, 0, program, -1, found.program, sizeof found.program, nullptr, nullptr) == 0) {
    found.program[0] = '\0';
  }
  return true;
}

bool EndRunningUtility(const RunningUtility& utility) {
  bool allEnded = EndProcess(utility.process, kOwnEndingMs, true, utility.window);
  if (utility.program[0] == '\0') return allEnded;
  WCHAR program[kMaxPath];
  if (::MultiByteToWideChar(CP_ACP, 0, utility.program, -1, program, kMaxPath) == 0) return allEnded;
  // Its guard runs from the same file, and ends by itself once it has put the defaults back.
  HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return allEnded;
  PROCESSENTRY32W entry;
  entry.dwSize = sizeof entry;
  for (BOOL more = ::Process32FirstW(snapshot, &entry); more; more = ::Process32NextW(snapshot, &entry)) {
    WCHAR other[kMaxPath];
    if (entry.th32ProcessID == ::GetCurrentProcessId() || lstrcmpiW(entry.szExeFile, L"Pointrel.EXE") != 0) continue;
    if (!ProgramOf(entry.th32ProcessID, other, kMaxPath) || lstrcmpiW(other, program) != 0) continue;
    allEnded = EndProcess(entry.th32ProcessID, kOwnEndingMs, false, nullptr) && allEnded;
  }
  ::CloseHandle(snapshot);
  return allEnded;
}

void NoteRestart(const RunningUtility& utility, const char* fallbackFolder, InstallState& state) {
  state.restartUtility = 1;
  char* folder = state.restartFrom;
  if (utility.program[0] == '\0' || !CopyText(folder, sizeof state.restartFrom, utility.program)) {
    CopyText(folder, sizeof state.restartFrom, fallbackFolder);
    return;
  }
  char* cut = folder;
  for (char* at = folder; *at; ++at) {
    if (*at == '\\') cut = at;
  }
  *cut = '\0';
  if (lstrlenA(folder) == 2) lstrcatA(folder, "\\");  // a drive's root
}

bool StartUtility(const char* folder) {
  char program[kTextBufferSize];
  char workingFolder[kTextBufferSize];
  if (!JoinPath(program, sizeof program, folder, "Pointrel.EXE") || !CopyText(workingFolder, sizeof workingFolder, folder)) {
    return false;
  }
  const size_t length = lstrlenA(workingFolder);
  if (length > 3 && workingFolder[length - 1] == '\\') workingFolder[length - 1] = '\0';
  WCHAR wideProgram[kMaxPath], wideFolder[kMaxPath], commandLine[kMaxPath + 2];
  if (::MultiByteToWideChar(CP_ACP, 0, program, -1, wideProgram, kMaxPath) == 0 ||
      ::MultiByteToWideChar(CP_ACP, 0, workingFolder, -1, wideFolder, kMaxPath) == 0) {
    return false;
  }
  commandLine[0] = L'"';
  lstrcpyW(commandLine + 1, wideProgram);
  lstrcatW(commandLine, L"\"");
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started = {};
  if (!::CreateProcessW(wideProgram, commandLine, nullptr, nullptr, FALSE, 0, nullptr, wideFolder, &startup, &started)) {
    return false;
  }
  ::CloseHandle(started.hThread);
  ::CloseHandle(started.hProcess);
  return true;
}
