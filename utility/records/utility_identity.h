// How a running utility is known from outside: its instance mutex and the title of its window.
// The utility holds them; the installer and the uninstaller look for them.
#pragma once

constexpr char kInstanceMutexName[] = "PointrelInstanceMutex";
constexpr char kUtilityWindowTitle[] = "Pointrel";
