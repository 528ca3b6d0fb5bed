// The guard's private command line and the names it meets the utility by, without any platform
// call. The utility starts a short-lived starter ("--pointrel-guard-start=<pid>"), which starts
// the guard ("--pointrel-guard=<pid>") and ends, so the guard is no part of the utility's
// process tree; <pid> is the utility's process id in decimal.
#pragma once
#include <cstddef>
#include <cstdint>

enum class GuardRole { None, Starter, Guard };

struct GuardCommand {
  GuardRole role = GuardRole::None;
  uint32_t utilityProcess = 0;
};

// A whole command line as the platform gives it: the program (quoted or not), then exactly one
// private argument. Anything else, extra words included, is the normal utility (role None).
GuardCommand ParseGuardCommand(const char* commandLine);

// The argument for `role` (Starter or Guard) and `utilityProcess` into `out` of `size`
// characters; false, with `out` empty, when it does not fit.
bool FormatGuardArgument(GuardRole role, uint32_t utilityProcess, char* out, size_t size);

// The events the two sides share, named after the utility's process id: the guard has kept the
// true defaults (kGuardReadyEvent), the utility has put the defaults back (kDefaultsRestoredEvent).
constexpr char kGuardReadyEvent[] = "PointrelGuardReady.";
constexpr char kDefaultsRestoredEvent[] = "PointrelDefaultsRestored.";
// Set while the utility has hidden the pointer behind blanks of every system cursor, so that a
// guard whose utility died then puts back the six that only hiding touches.
constexpr char kPointerHiddenEvent[] = "PointrelPointerHidden.";
bool FormatGuardEventName(const char* stem, uint32_t utilityProcess, char* out, size_t size);
