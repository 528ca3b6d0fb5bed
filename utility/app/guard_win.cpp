#include "utility/app/guard_win.h"

#include <windows.h>

#include <cstring>

#include "platform/system_cursor.h"
#include "platform/text_buffers.h"
#include "utility/app/guard_command.h"

namespace {

// How long the utility waits for the guard to have kept the defaults before it goes on.
constexpr DWORD kGuardReadyWaitMs = 3000;

// Starts this program with `argument`, out of any job that allows it; false when it could not.
bool StartSelf(GuardRole role, uint32_t utilityProcess) {
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
  if (!made) made = ::CreateProcessA(program, commandLine, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &started);
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

bool StartGuard() {
  const uint32_t self = ::GetCurrentProcessId();
  // Both events live as long as the utility: the guard opens them while it runs.
  HANDLE ready = MakeEvent(kGuardReadyEvent, self);
  HANDLE restored = MakeEvent(kDefaultsRestoredEvent, self);
  if (!ready || !restored || !StartSelf(GuardRole::Starter, self)) return false;
  return ::WaitForSingleObject(ready, kGuardReadyWaitMs) == WAIT_OBJECT_0;
}

void RunGuardStarter(uint32_t utilityProcess) { StartSelf(GuardRole::Guard, utilityProcess); }

void RunGuard(uint32_t utilityProcess) {
  HANDLE utility = ::OpenProcess(SYNCHRONIZE, FALSE, utilityProcess);
  if (!utility) return;
  HANDLE restored = OpenGuardEvent(kDefaultsRestoredEvent, utilityProcess, SYNCHRONIZE);
  // The service keeps the true defaults at its first use, which is now: before the utility has
  // installed anything, since it waits for the ready event.
  platform::SystemDefaultCursor(kIdNormal);
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
  for (uint32_t id : kRestoreOrder) platform::InstallSystemCursor(platform::SystemDefaultCursor(id), id);
}
