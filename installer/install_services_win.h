// The installer's platform: files and folders, the shell's folders and shortcuts, the entry in
// the list of installed programs, and the copy worker's thread.
#pragma once
#include <windows.h>

#include "installer/copy_worker.h"
#include "installer/file_system.h"
#include "installer/shortcuts.h"

// The platform's file and folder calls (paths in UTF-8, the programs' code page).
FileSystem& PlatformFiles();
// The current user's shell folders and shortcuts.
ShellServices& PlatformShell();
// The rest the worker and the uninstaller need: the entry, the clock, the platform's words.
InstallServices& PlatformServices();

// Starts CopyWorker over installState on a new thread at normal priority; no handle is kept.
// When the thread cannot be started, installState reads as a finished worker that failed to
// copy, and false is returned.
bool StartCopyWorker();
