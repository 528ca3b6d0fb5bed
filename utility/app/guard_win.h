// The guard: a second process of the same program that puts the platform's default cursors back
// when the utility ends without doing so itself (ended from outside, or crashed). It has no
// window, never takes the instance mutex and never touches the settings file.
#pragma once
#include <cstdint>

// In the utility, before its first cursor is installed: starts the guard through a short-lived
// starter and waits (briefly) until the guard has kept the true defaults. False when it could
// not be started; the utility then runs as it would without one.
bool StartGuard();

// The two private roles of the program; each returns when its work is done.
void RunGuardStarter(uint32_t utilityProcess);
void RunGuard(uint32_t utilityProcess);
