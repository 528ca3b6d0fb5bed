// libFuzzer target of the installer's command line: whatever the text, the parse ends with a
// mode, and the helper's arguments it finds are written back into a line that parses the same.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "installer/uninstall_command.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string line(reinterpret_cast<const char*>(data), size);
  const InstallerCommand command = ParseInstallerCommand(line.c_str());
  if (std::memchr(command.folder, '\0', sizeof command.folder) == nullptr) std::abort();
  if (command.mode != InstallerMode::UninstallHelper) {
    if (command.folder[0] || command.waitFor) std::abort();
    return 0;
  }
  if (command.waitFor == 0 || !command.folder[0]) std::abort();
  char arguments[kTextBufferSize + 64];
  if (!ComposeHelperArguments(arguments, sizeof arguments, command.waitFor, command.removeSettings, command.quiet,
                              command.folder)) {
    return 0;  // a folder the composer refuses (a quote in it, or too long with the rest)
  }
  const std::string again = std::string("\"C:\\Temp\\WENDSET.EXE\" ") + arguments;
  const InstallerCommand reparsed = ParseInstallerCommand(again.c_str());
  if (reparsed.mode != InstallerMode::UninstallHelper || reparsed.waitFor != command.waitFor ||
      reparsed.removeSettings != command.removeSettings || reparsed.quiet != command.quiet) {
    std::abort();
  }
  return 0;
}
