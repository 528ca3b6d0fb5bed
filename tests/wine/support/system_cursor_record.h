// The record a test program keeps of the system-cursor service, as its observer: what each id
// shows and the events, with their pictures in plain containers. Only test programs link it.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/system_cursor.h"

namespace cursor_record {

using platform::SystemCursorEventKind;

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


}  // namespace cursor_record
