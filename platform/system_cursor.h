// The system-cursor service: every change of a desktop-wide cursor goes through here.
//
// Installing a handle under an id makes its image the id's cursor for every program until
// another is installed; a null handle is refused and changes nothing; the handle given stays
// valid and the caller's, so it can be installed again or shown with SetCursor. Where the
// platform's SetSystemCursor takes over and destroys what it is given (real Windows), the
// service hands it a copy: a fresh load of the file for an animated cursor, so the animation
// survives, and a copy of the image for a static one. Where the platform keeps its hands off
// the copy (Wine, whose SetSystemCursor changes nothing), the service keeps the last copy per
// id and releases it when the next one replaces it.
//
// The true default of every id is copied before this process first installs anything on it (or
// earlier: KeepDefaultsOf, SystemDefaultCursor) and kept for the whole run;
// LoadSharedCursor(nullptr, MAKEINTRESOURCE(id)) hands them out (shared, never released by
// DestroyCursor), since after a replacement the platform's own handle for an id shows the
// replacement.
//
// Diagnostics, off unless asked for: when the environment variable POINTREL_CURSOR_TRACE names
// an existing folder, every event is appended to "trace.txt" there, each line starting with the
// milliseconds since the process started:
//   <ms> install <id> static <x>,<y> <file>   <file>: a .CUR in the same folder holding the image
//   <ms> install <id> animated <side>        <side>: the first frame's width
//   <ms> refused <id>
//   <ms> default <id>                         the id's true default is back
//   <ms> scheme reloaded|refused              ReloadUserCursorScheme below
//   <ms> kept <process id> [handed]          this process's service has kept the defaults
//                                             ("handed": from the pictures its utility handed it)
// and an observer may watch each change (test programs keep their record through one). With
// neither, an install does what the platform needs and nothing else: no capture, no encoding,
// no event. The service is made at its first use on whichever thread, once; installs and the
// observer's calls are serialised under its lock.
#pragma once
#include <windows.h>

#include <cstddef>
#include <cstdint>

namespace platform {

// The platform's SetSystemCursor, through the service described above.
BOOL InstallSystemCursor(HCURSOR cursor, DWORD id);

// `wait` runs once, on the installing thread, right before the first install of the process
// reaches the platform (a helper that must see the true defaults first is waited for there).
void RunBeforeFirstInstall(void (*wait)());

// Asked before the service's first use: the defaults are kept as plain copies (a reload from
// the cursor's resource, else a copy of its image), without the pictures that check a reload
// against what was shown. For a process that only ever puts them back.
void KeepDefaultsForRestoringOnly();

// Asked before the service's first use, by a guard started after its utility may have installed
// cursors of its own: the defaults are kept from the pictures WriteKeptDefaults left in
// `folder` (read by our own reader), never from what the platform shows now; an id without a
// picture there is kept from the platform as before.
void KeepDefaultsHandedIn(const char* folder);
// Writes the kept true default of each of `ids` as "<id>.CUR" in `folder`, for a late guard;
// true when all were written (an id the platform has no cursor of needs none).
bool WriteKeptDefaults(const char* folder, const uint32_t* ids, size_t count);
// Removes what WriteKeptDefaults wrote for `ids` in `folder`, and the folder once empty.
void RemoveWrittenDefaults(const char* folder, const uint32_t* ids, size_t count);
// Makes the kept defaults again at `side` pixels from where they were loaded (a pointer size
// changed while the utility runs), so a role on its default follows the size in force.
void ResizeKeptDefaults(int side);

// Keeps the true defaults of `ids` now (a process keeps those it will replace before it
// replaces any); traced as "<ms> kept <process id>".
void KeepDefaultsOf(const uint32_t* ids, size_t count);
// The kept true default of `id`, kept now if it was not (nothing of this process is on it then);
// null where the platform has no cursor of that id.
HCURSOR SystemDefaultCursor(DWORD id);

// The user's own cursor scheme loaded again from the user's settings, as the platform does at
// log-on (SystemParametersInfo SPI_SETCURSORS): every id shows the user's cursor, at the user's
// size. False where the platform refuses it (Wine does). Traced as "<ms> scheme reloaded" or
// "<ms> scheme refused". Asked before the service's first use, the service is made after the
// reload, so the defaults it keeps are the user's scheme.
bool ReloadUserCursorScheme();

enum class SystemCursorEventKind { Install, Refused, Default, SchemeReloaded, SchemeRefused };

class CapturedCursor;  // platform/cursor_capture.h

// What the service tells its observer about each install while tracing or observed.
struct SystemCursorChange {
  SystemCursorEventKind kind;
  DWORD id;
  HCURSOR handle;                 // as given
  bool animated;
  bool isDefault;                 // the id's true default is back
  const CapturedCursor* picture;  // accepted installs: taken from the copy before the platform
                                  // may take it over; null when it could not be read
  const char* file;               // static installs while tracing: the picture's file, else ""
};
using SystemCursorObserver = void (*)(const SystemCursorChange& change);
// One observer at a time; null stops observing.
void ObserveSystemCursors(SystemCursorObserver observer);

}  // namespace platform
