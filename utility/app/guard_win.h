// The guard: a second process of the same program that puts the platform's default cursors back
// when the utility ends without doing so itself (ended from outside, or crashed). It has no
// window, never takes the instance mutex and never touches the settings file.
#pragma once
#include <cstdint>

// In the utility, as early as it can: starts the guard (one process start; through a
// short-lived starter only where the utility's job forbids breaking away) without waiting. The
// utility's first system-cursor install then waits (briefly) until the guard has kept the true
// defaults, so the dialog's initialisation runs meanwhile. From then on a thread of the utility
// waits on the guard's process and starts a late guard (guard_command.h) within a second when
// it ends. False when it could not be started; the utility then runs as it would without one.
bool StartGuard();

// The two private roles of the program; each returns when its work is done. The starter's
// result is the guard's process id (0 when none was started), its exit code, so the utility
// can wait on the guard it started.
uint32_t RunGuardStarter(uint32_t utilityProcess, bool late);
void RunGuard(uint32_t utilityProcess, bool late);
