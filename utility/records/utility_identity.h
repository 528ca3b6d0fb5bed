// How a running utility is known from outside: its instance mutex and the title of its window.
// The utility holds them; the installer and the uninstaller look for them.
#pragma once

constexpr char kInstanceMutexName[] = "PointrelInstanceMutex";
constexpr char kUtilityWindowTitle[] = "Pointrel";
// A second start that imports hands its whole command line to the running utility in a
// WM_COPYDATA message with this tag (the text and its terminator); the answer is the import's
// exit code.
constexpr unsigned long kImportHandOverTag = 0x504D4950;  // "PIMP"
