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
// The true defaults of the eight replaceable ids are copied before the first install and kept
// for the whole run; LoadCursorA(nullptr, MAKEINTRESOURCE(id)) hands them out (shared, never
// released by DestroyCursor), since after a replacement the platform's own handle for an id
// shows the replacement.
//
// Diagnostics, off unless asked for: when the environment variable POINTREL_CURSOR_TRACE names
// an existing folder, every event is appended to "trace.txt" there, each line starting with the
// milliseconds since the process started:
//   <ms> install <id> static <x>,<y> <file>   <file>: a .CUR in the same folder holding the image
//   <ms> install <id> animated
//   <ms> refused <id>
//   <ms> default <id>                         the id's true default is back
// and an observer may watch each change (a test program's record, RecordSystemCursors, is one).
// With neither, an install does what the platform needs and nothing else: no capture, no
// encoding, no event. Only the user-interface thread installs; the record serves readers on
// other threads under a lock. The record's code, with its containers, is linked only into the
// programs that call it.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/system_cursor_ids.h"  // kReplaceableCursorIds: the eight whose defaults are kept

namespace platform {

BOOL SetSystemCursor(HCURSOR cursor, DWORD id);

// The kept true default of one of the eight ids, or null for any other id.
HCURSOR SystemDefaultCursor(DWORD id);

enum class SystemCursorEventKind { Install, Refused, Default };

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
// One observer at a time; null stops observing. The record below is one.
void ObserveSystemCursors(SystemCursorObserver observer);

// ---- The record a test program keeps (platform/system_cursor_record.cpp) ----------------------

// A cursor's image as the platform draws it, independent of the display's format.
struct CursorPicture {
  int width = 0;
  int height = 0;
  bool colour = false;             // has a colour bitmap
  std::vector<uint8_t> andMask;    // one 0 or 1 per pixel, top row first
  std::vector<uint32_t> pixels;    // colour: 0xAARRGGBB per pixel; monochrome: the XOR bit
  bool operator==(const CursorPicture& other) const {
    return width == other.width && height == other.height && colour == other.colour &&
           andMask == other.andMask && pixels == other.pixels;
  }
  bool operator!=(const CursorPicture& other) const { return !(*this == other); }
};

// Reads the image and hotspot of any cursor (for an animated one, its first frame). False when
// the platform cannot describe the handle.
bool CaptureCursorPicture(HCURSOR cursor, CursorPicture* picture, POINT* hotspot);
// A standard cursor file of one image: 32-bit colour pixels, or 1-bit for a monochrome picture,
// byte for byte what the trace writes.
std::vector<uint8_t> EncodeCursorFile(const CursorPicture& picture, POINT hotspot);
// The name the trace gives that file: a hash of its content and ".cur".
std::string CursorFileName(const std::vector<uint8_t>& fileBytes);

// Keeps the record from now on, as the service's observer: what each id shows and the events.
// Test programs call it before the first install they want to see.
void RecordSystemCursors();

// What one id shows now, as far as this process has changed it.
struct InstalledSystemCursor {
  HCURSOR handle = nullptr;  // as the caller gave it (the kept default after a "default")
  bool animated = false;
  bool isDefault = false;    // the id's true default is back
  POINT hotspot = {0, 0};
  CursorPicture picture;
  unsigned long installs = 0;  // accepted installs under the id since the record began
};
// False when nothing has been installed under the id since the record was turned on.
bool GetInstalledSystemCursor(DWORD id, InstalledSystemCursor* installed);

struct SystemCursorEvent {
  SystemCursorEventKind kind;
  DWORD id;
  HCURSOR handle;     // as given
  bool animated;
  POINT hotspot;      // static installs only
  std::string file;   // static installs only: the trace's name for the image
};
// The events of this run in order (the oldest are dropped past a long run's worth).
std::vector<SystemCursorEvent> GetSystemCursorEvents();
void ClearSystemCursorEvents();

// Copies handed to the platform that the service still holds (at most one per id).
int GetHeldSystemCursorCopies();

}  // namespace platform
