#include "utility/app/guard_win.h"

#include <windows.h>

#include <cstring>

#include "platform/system_cursor.h"
#include "platform/text_buffers.h"
#include "utility/app/guard_command.h"

namespace {

// How long the utility waits for the guard to have kept the defaults before it goes on.
constexpr DWORD kGuardReadyWaitMs = 3000;

enum class JobRule { BreakAwayOnly, BreakAwayWherePossible };

// Starts this program in `role`: out of the caller's job, and where the job forbids that (only
// with BreakAwayWherePossible) within it; false when it could not.
bool StartSelf(GuardRole role, uint32_t utilityProcess, JobRule rule) {
  char program[kTextBufferSize];
  const DWORD length = ::GetModuleFileNameA(nullptr, program, sizeof program);
  if (length == 0 || length >= sizeof program) return false;
  char argument[64];
  if (!FormatGuardArgument(role, utilityProcess, argument, sizeof argument)) return false;
  // "program" argument, composed by hand: wsprintfA stops at 1024 characters.
  char commandLine[kTextBufferSize + 80];
  const size_t programLength = std::strlen(program), argumentLength = std::strlen(argument);
  if (programLength + argumentLength + 4 > sizeof commandLine) return false;
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
  if (!made) return false;
  ::CloseHandle(started.hThread);
  ::CloseHandle(started.hProcess);
  return true;
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

}  // namespace

namespace {
HANDLE guardReady = nullptr;  // until the guard has been waited for

// Called by the system-cursor service right before its first install.
void AwaitGuardReady() {
  if (!guardReady) return;
  ::WaitForSingleObject(guardReady, kGuardReadyWaitMs);
  guardReady = nullptr;  // the handle itself lives as long as the utility
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
  if (!StartSelf(GuardRole::Guard, self, JobRule::BreakAwayOnly) &&
      !StartSelf(GuardRole::Starter, self, JobRule::BreakAwayWherePossible)) {
    return false;
  }
  guardReady = ready;
  platform::RunBeforeFirstInstall(&AwaitGuardReady);
  return true;
}

void RunGuardStarter(uint32_t utilityProcess) { StartSelf(GuardRole::Guard, utilityProcess, JobRule::BreakAwayWherePossible); }

void RunGuard(uint32_t utilityProcess) {
  HANDLE utility = ::OpenProcess(SYNCHRONIZE, FALSE, utilityProcess);
  if (!utility) return;
  HANDLE restored = OpenGuardEvent(kDefaultsRestoredEvent, utilityProcess, SYNCHRONIZE);
  // The service keeps the true defaults at its first use, which is now: before the utility has
  // installed anything, since its first install waits for the ready event. The guard only puts
  // them back, so it keeps them as copies alone, without comparing pictures.
  platform::KeepDefaultsForRestoringOnly();
  platform::SystemDefaultCursor(kIdNormal);
  // Made here as well as by the utility, so it outlives a utility that dies while it is set.
  HANDLE hidden = MakeEvent(kPointerHiddenEvent, utilityProcess);
  if (HANDLE ready = OpenGuardEvent(kGuardReadyEvent, utilityProcess, EVENT_MODIFY_STATE)) {
    ::SetEvent(ready);
    ::CloseHandle(ready);
  }
  // The six that only hiding touches are kept after the utility may go on: it hides nothing
  // before the user types.
  if (hidden) {
    for (uint32_t id : kHideOnlyCursorIds) platform::SystemDefaultCursor(id);
  }
  ::WaitForSingleObject(utility, INFINITE);
  ::CloseHandle(utility);
  const bool restoredByUtility = restored && ::WaitForSingleObject(restored, 0) == WAIT_OBJECT_0;
  if (restored) ::CloseHandle(restored);
  if (restoredByUtility) return;
  // The user's own scheme where the platform can reload it; else the defaults the service kept.
  if (platform::ReloadUserCursorScheme()) return;
  for (uint32_t id : kRestoreOrder) platform::InstallSystemCursor(platform::SystemDefaultCursor(id), id);
  if (hidden && ::WaitForSingleObject(hidden, 0) == WAIT_OBJECT_0) {
    for (uint32_t id : kHideOnlyCursorIds) platform::InstallSystemCursor(platform::SystemDefaultCursor(id), id);
  }
}
