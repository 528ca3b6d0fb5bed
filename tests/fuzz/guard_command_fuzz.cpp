// libFuzzer target of the guard's command line: whatever the text, the parse ends with a role,
// a process id and whether the guard is late, which the formatter writes back into a line that
// parses the same.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "utility/records/guard_command.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string line(reinterpret_cast<const char*>(data), size);  // cut at its first NUL as the platform gives it
  const GuardCommand command = ParseGuardCommand(line.c_str());
  if (command.role == GuardRole::None) {
    if (command.utilityProcess != 0 || command.late) std::abort();
    return 0;
  }
  if (command.utilityProcess == 0) std::abort();
  char argument[64];
  if (!FormatGuardArgument(command.role, command.late, command.utilityProcess, argument, sizeof argument)) std::abort();
  const std::string again = std::string("\"C:\\Pointrel\\Pointrel.EXE\" ") + argument;
  const GuardCommand reparsed = ParseGuardCommand(again.c_str());
  if (reparsed.role != command.role || reparsed.utilityProcess != command.utilityProcess || reparsed.late != command.late) {
    std::abort();
  }
  return 0;
}
