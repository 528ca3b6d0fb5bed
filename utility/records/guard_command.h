// The guard's private command line and the names it meets the utility by, without any platform
// call. The utility starts the guard ("--pointrel-guard=<pid>"), or where its job forbids that,
// a short-lived starter ("--pointrel-guard-start=<pid>") that starts the guard within the job and
// ends; <pid> is the utility's process id in decimal. A guard started again after the first has
// ended is "late" ("--pointrel-guard-late=<pid>", "--pointrel-guard-start-late=<pid>"): by then
// the platform may show the utility's own cursors, so a late guard never keeps what it shows as
// the defaults, but the pictures of the true defaults the utility hands it.
#pragma once
#include <cstddef>
#include <cstdint>

enum class GuardRole { None, Starter, Guard };

struct GuardCommand {
  GuardRole role = GuardRole::None;
  uint32_t utilityProcess = 0;
  bool late = false;
};

// A whole command line as the platform gives it: the program (quoted or not), then exactly one
// private argument. Anything else, extra words included, is the normal utility (role None).
GuardCommand ParseGuardCommand(const char* commandLine);

// The argument for `role` (Starter or Guard, late or not) and `utilityProcess` into `out` of
// `size` characters; false, with `out` empty, when it does not fit.
bool FormatGuardArgument(GuardRole role, bool late, uint32_t utilityProcess, char* out, size_t size);

// The folder in which the utility hands a late guard the pictures of the true defaults:
// "<temporary folder>\Pointrel defaults <pid>"; false, with `out` empty, when it does not fit.
bool ComposeHandedDefaultsFolder(const char* temporaryFolder, uint32_t utilityProcess, char* out, size_t size);

// The events the two sides share, named after the utility's process id: the guard has kept the
// true defaults (kGuardReadyEvent), the utility has put the defaults back (kDefaultsRestoredEvent).
constexpr char kGuardReadyEvent[] = "PointrelGuardReady.";
constexpr char kDefaultsRestoredEvent[] = "PointrelDefaultsRestored.";
bool FormatGuardEventName(const char* stem, uint32_t utilityProcess, char* out, size_t size);
