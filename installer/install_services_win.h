// The copy worker on the platform: its thread and the platform's file and shortcut calls.
#pragma once
#include <windows.h>

// Starts CopyWorker over installState on a new thread at normal priority; no handle is kept.
// When the thread cannot be started, installState reads as a finished worker that failed to
// copy, and false is returned.
bool StartCopyWorker();

// The Cancel wait on the page's own thread.
void CancelCopyWorker();

// The platform's file, folder and shortcut calls that the worker uses.
class InstallServices;
InstallServices& PlatformInstallServices();
