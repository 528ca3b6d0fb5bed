// The installer program's command line. Without arguments it is the installer; with "/quiet"
// (and "/dir=PATH", "/desktop", "/startup") it installs without a window and says how it went by
// its exit code. The entry in the list of installed programs starts it with "/uninstall" (and
// "/quiet" for no questions and no messages). The uninstaller cannot remove its own file while it runs from it, so it starts
// a copy of itself outside the folder with the private "/uninstall-helper", which waits for the
// first process to end and does the removal.
#pragma once
#include <cstddef>
#include <cstdint>

#include "platform/text_buffers.h"

enum class InstallerMode { Install, Uninstall, UninstallHelper };

struct InstallerCommand {
  InstallerMode mode = InstallerMode::Install;
  bool quiet = false;
  // A quiet install: an argument it does not know was given; the shortcut boxes.
  bool unknownArgument = false;
  bool desktop = false;
  bool startup = false;
  // A quiet install: the folder as given ("" for none). UninstallHelper: the folder to remove.
  char folder[kTextBufferSize] = "";
  // UninstallHelper only: the first process (a handle it inherited) and the answer about the
  // settings.
  std::uint32_t waitFor = 0;
  bool removeSettings = false;
};

extern const char kHelperArgument[];  // "/uninstall-helper"

// Reads a whole command line (the program's own name first, quoted or not; quotes anywhere in an
// argument keep its spaces). Anything it does not know makes it the installer, which asks
// before it changes anything; a quiet install with anything it does not know is not understood.
InstallerCommand ParseInstallerCommand(const char* commandLine);

// The helper's arguments (after the program's name) into out: false when they do not fit.
bool ComposeHelperArguments(char* out, std::size_t size, std::uint32_t waitFor, bool removeSettings, bool quiet,
                            const char* folder);
