// The utility's application object: the single-instance gate and the whole run.
#pragma once
#include "platform/app.h"

class CursorApp : public CWinApp {
 public:
  // The first copy goes on; a later one restores the running copy's window and ends silently,
  // or hands its import (import_command.h) to the running copy and ends with its exit code.
  // Started as the guard or its starter (guard_command.h), it does that work instead and ends.
  BOOL InitApplication() override;
  // Loads the settings, starts the guard and runs the main dialog for the rest of the process,
  // with the defaults put back on a crash; always false.
  BOOL InitInstance() override;
  // F1 goes to the framework's default help handler.
  BOOL OnHelpCommand(HWND window) override;
};

// The mutex that makes a second start notice the first; held, never closed, for the whole process.
extern HANDLE instanceMutex;
