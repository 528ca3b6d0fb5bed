// The uninstaller: the installer program started with "/uninstall" by the entry in the list of
// installed programs, or with the private "/uninstall-helper" by itself.
#pragma once
#include "installer/uninstall_command.h"

// Runs the uninstaller; returns the process's exit code (0 when removed or nothing to remove).
int RunUninstaller(const InstallerCommand& command, const char* ownPath);
