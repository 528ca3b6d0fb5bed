// A running Pointrel, as the installer and the uninstaller find it and end it: through its own
// ending (its window closed, so its defaults go back and its guard ends), waited for, and
// killed only when it has not ended after a few seconds.
#pragma once
#include <windows.h>

#include "platform/text_buffers.h"

struct RunningUtility {
  DWORD process = 0;
  HWND window = nullptr;
  char program[kTextBufferSize] = "";  // its program file, "" when the platform would not say
};

// True when Pointrel runs (its instance mutex is held and its window titled "Pointrel" is there).
bool FindRunningUtility(RunningUtility& found);

// Ends it and every process started from its program file (its guard). True when all ended;
// false when one lives on even after it was killed.
bool EndRunningUtility(const RunningUtility& utility);

// Notes in state that the utility was ended and is to be started again: from the folder of its
// program file, or `fallbackFolder` where the platform would not say.
struct InstallState;
void NoteRestart(const RunningUtility& utility, const char* fallbackFolder, InstallState& state);

// Starts "<folder>\Pointrel.EXE" in folder.
bool StartUtility(const char* folder);
