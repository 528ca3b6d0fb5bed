#include "utility/app/guard_win.h"

#include <windows.h>

#include <cstring>

#include "platform/system_cursor.h"
#include "platform/text_buffers.h"
#include "utility/cursor/answer_rate.h"
#include "utility/records/cursor_role_table.h"
#include "utility/records/guard_command.h"

namespace {

// How long the utility waits for the guard to have kept the defaults before it goes on.
constexpr DWORD kGuardReadyWaitMs = 3000;
// How long a late guard has to read the pictures handed to it, and a starter to start a guard.
constexpr DWORD kLateGuardReadyWaitMs = 5000;

enum class JobRule { BreakAwayOnly, BreakAwayWherePossible };

// Starts this program in `role`: out of the caller's job, and where the job forbids that (only
// with BreakAwayWherePossible) within it. The new process's handle (the caller's to close), or
// null when it could not be started; `startedId` (may be null) gets its process id.
HANDLE StartSelf(GuardRole role, bool late, uint32_t utilityProcess, JobRule rule, DWORD* startedId = nullptr) {
  char program[kTextBufferSize];
  const DWORD length = ::GetModuleFileNameA(nullptr, program, sizeof program);
  if (length == 0 || length >= sizeof program) return nullptr;
  char argument[64];
  if (!FormatGuardArgument(role, late, utilityProcess, argument, sizeof argument)) return nullptr;
  // "program" argument, composed by hand: wsprintfA stops at 1024 characters.
  char commandLine[kTextBufferSize + 80];
  const size_t programLength = std::strlen(program), argumentLength = std::strlen(argument);
  if (programLength + argumentLength + 4 > sizeof commandLine) return nullptr;
  char* out = commandLine;
  *out++ = '"';
  std::memcpy(out, program, programLength);
  out += programLength;
  *out++ = '"';
  *out++ = ' ';
  std::memcpy(out, argument, argumentLength + 1);
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started = {};
  BOOL made = ::CreateProcessA(program, commandLine, nullptr, nullptr, FALSE, CREATE_BREAKAWAY_FROM_JOB, nullptr,
                               nullptr, &startup, &started);
  // A job that forbids breaking away refuses the flag; started within it then.
  if (!made && rule == JobRule::BreakAwayWherePossible) {
    made = ::CreateProcessA(program, commandLine, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &started);
  }
  if (!made) return nullptr;
  ::CloseHandle(started.hThread);
  if (startedId) *startedId = started.dwProcessId;
  return started.hProcess;
}

// A manual-reset event named for the utility; the handle is kept for the whole process.
HANDLE MakeEvent(const char* stem, uint32_t utilityProcess) {
  char name[64];
  if (!FormatGuardEventName(stem, utilityProcess, name, sizeof name)) return nullptr;
  return ::CreateEventA(nullptr, TRUE, FALSE, name);
}

HANDLE OpenGuardEvent(const char* stem, uint32_t utilityProcess, DWORD access) {
  char name[64];
  if (!FormatGuardEventName(stem, utilityProcess, name, sizeof name)) return nullptr;
  return ::OpenEventA(access, FALSE, name);
}

// Where the utility hands a late guard its pictures of the true defaults; false when the
// temporary folder gives no room for it.
bool HandedDefaultsFolder(uint32_t utilityProcess, char (&folder)[kTextBufferSize]) {
  char temporary[kTextBufferSize];
  const DWORD length = ::GetTempPathA(sizeof temporary, temporary);
  return length > 0 && length < sizeof temporary &&
         ComposeHandedDefaultsFolder(temporary, utilityProcess, folder, sizeof folder);
}

HANDLE guardReady = nullptr;  // until the guard has been waited for
HANDLE readyEvent = nullptr;  // kGuardReadyEvent, for the whole run

// Called by the system-cursor service right before its first install.
void AwaitGuardReady() {
  if (!guardReady) return;
  ::WaitForSingleObject(guardReady, kGuardReadyWaitMs);
  guardReady = nullptr;  // the handle itself lives as long as the utility
}

// The guard a starter started: the starter's exit code is its process id.
HANDLE GuardStartedBy(HANDLE starter) {
  DWORD guard = 0;
  if (::WaitForSingleObject(starter, kLateGuardReadyWaitMs) != WAIT_OBJECT_0 || !::GetExitCodeProcess(starter, &guard) ||
      guard == 0 || guard == STILL_ACTIVE) {
    return nullptr;
  }
  return ::OpenProcess(SYNCHRONIZE, FALSE, guard);
}

// The pictures of every role's kept default, in `folder`.
bool WriteRoleDefaults(const char* folder) {
  uint32_t ids[kRoleCount];
  CursorIdsOfRoles(ids);
  return platform::WriteKeptDefaults(folder, ids, kRoleCount);
}

// A late guard, started directly or through a starter: its process, or null.
HANDLE StartLateGuard(uint32_t self) {
  char folder[kTextBufferSize];
  // By now the platform may show Pointrel's own cursors, hidden or recoloured; the late guard
  // gets pictures of the defaults this process kept before its first install.
  const bool made = HandedDefaultsFolder(self, folder) && (::CreateDirectoryA(folder, nullptr) || ::GetLastError() == ERROR_ALREADY_EXISTS);
  const bool handed = made && WriteRoleDefaults(folder);
  ::ResetEvent(readyEvent);
  HANDLE guard = StartSelf(GuardRole::Guard, true, self, JobRule::BreakAwayOnly);
  if (!guard) {
    if (HANDLE starter = StartSelf(GuardRole::Starter, true, self, JobRule::BreakAwayWherePossible)) {
      guard = GuardStartedBy(starter);
      ::CloseHandle(starter);
    }
  }
  if (guard && handed) {
    HANDLE readyOrGone[2] = {readyEvent, guard};
    ::WaitForMultipleObjects(2, readyOrGone, FALSE, kLateGuardReadyWaitMs);
  }
  // Whatever was written goes, all of it or part.
  if (made) {
    uint32_t ids[kRoleCount];
    CursorIdsOfRoles(ids);
    platform::RemoveWrittenDefaults(folder, ids, kRoleCount);
  }
  return guard;
}

struct FirstGuard {
  HANDLE process;  // the guard, or the starter that starts it
  bool starter;
};
FirstGuard firstGuard = {};

// The utility waits on its guard: one that ends while the utility runs is started again at
// once, then at most once a second, and after ten in a minute no more (it is being killed as
// fast as it starts, or cannot run): the utility then goes on as it would without one.
DWORD WINAPI WatchGuard(void*) {
  const uint32_t self = ::GetCurrentProcessId();
  HANDLE guard = firstGuard.process;
  if (firstGuard.starter) {
    guard = GuardStartedBy(firstGuard.process);
    ::CloseHandle(firstGuard.process);
  }
  AnswerRate restarts;
  for (;;) {
    if (guard) {
      ::WaitForSingleObject(guard, INFINITE);
      ::CloseHandle(guard);
    }
    AnswerRate::Decision decision = restarts.OnRequest(::GetTickCount());
    if (decision == AnswerRate::Decision::AnswerLater) {
      ::Sleep(restarts.DelayMs(::GetTickCount()));
      decision = restarts.OnDue(::GetTickCount());
    }
    if (decision != AnswerRate::Decision::AnswerNow) return 0;
    guard = StartLateGuard(self);
  }
}

}  // namespace

bool StartGuard() {
  const uint32_t self = ::GetCurrentProcessId();
  // Both events live as long as the utility: the guard opens them while it runs.
  HANDLE ready = MakeEvent(kGuardReadyEvent, self);
  HANDLE restored = MakeEvent(kDefaultsRestoredEvent, self);
  if (!ready || !restored) return false;
  // One process start: the guard itself, out of the utility's job. Only a job that forbids
  // breaking away takes the starter's hop (which then starts the guard within the job).
  firstGuard = {StartSelf(GuardRole::Guard, false, self, JobRule::BreakAwayOnly), false};
  if (!firstGuard.process) firstGuard = {StartSelf(GuardRole::Starter, false, self, JobRule::BreakAwayWherePossible), true};
  if (!firstGuard.process) return false;
  guardReady = readyEvent = ready;
  platform::RunBeforeFirstInstall(&AwaitGuardReady);
  // The watch waits on the guard; its thread lives as long as the utility.
  if (HANDLE watch = ::CreateThread(nullptr, 0, &WatchGuard, nullptr, 0, nullptr)) ::CloseHandle(watch);
  return true;
}

uint32_t RunGuardStarter(uint32_t utilityProcess, bool late) {
  DWORD id = 0;
  HANDLE guard = StartSelf(GuardRole::Guard, late, utilityProcess, JobRule::BreakAwayWherePossible, &id);
  if (!guard) return 0;
  ::CloseHandle(guard);
  return id;
}

void RunGuard(uint32_t utilityProcess, bool late) {
  HANDLE utility = ::OpenProcess(SYNCHRONIZE, FALSE, utilityProcess);
  if (!utility) return;
  HANDLE restored = OpenGuardEvent(kDefaultsRestoredEvent, utilityProcess, SYNCHRONIZE);
  // The service keeps the true defaults at its first use, which is now. The first guard comes
  // before the utility has installed anything, since its first install waits for the ready
  // event; it only puts them back, so it keeps them as copies alone, without comparing
  // pictures. A late guard comes when the platform may show Pointrel's own cursors: it keeps
  // the pictures its utility handed it, never what the platform shows.
  char folder[kTextBufferSize];
  if (late && HandedDefaultsFolder(utilityProcess, folder)) {
    platform::KeepDefaultsHandedIn(folder);
  } else {
    platform::KeepDefaultsForRestoringOnly();
  }
  // Every role's default kept before the utility may install anything: it waits for this.
  uint32_t ids[kRoleCount];
  CursorIdsOfRoles(ids);
  platform::KeepDefaultsOf(ids, kRoleCount);
  if (HANDLE ready = OpenGuardEvent(kGuardReadyEvent, utilityProcess, EVENT_MODIFY_STATE)) {
    ::SetEvent(ready);
    ::CloseHandle(ready);
  }
  ::WaitForSingleObject(utility, INFINITE);
  ::CloseHandle(utility);
  const bool restoredByUtility = restored && ::WaitForSingleObject(restored, 0) == WAIT_OBJECT_0;
  if (restored) ::CloseHandle(restored);
  if (restoredByUtility) return;
  // The user's own scheme where the platform can reload it; else the defaults the service kept.
  if (platform::ReloadUserCursorScheme()) return;
  uint8_t order[kRoleCount];
  RolesInRestoreOrder(order);
  for (uint8_t role : order) platform::InstallSystemCursor(platform::SystemDefaultCursor(ids[role]), ids[role]);
}
