// A cursor's image read back from the platform, independent of the display's format, in
// storage of its own: what the trace writes, and how a reloaded default is checked.
#pragma once
#include <windows.h>

#include <cstddef>
#include <cstdint>

#include "platform/cursor_file.h"

namespace platform {

// A picture as a cursor file holds it: 32-bit colour pixels, or 1 bit with a black and white
// palette for a monochrome one; the hotspot in the directory's two fields.
cursor_file::ImageView PictureView(int width, int height, bool colour, const uint8_t* andMask, const uint32_t* pixels,
                                   POINT hotspot);

class CapturedCursor {
 public:
  CapturedCursor() = default;
  ~CapturedCursor() { Release(); }
  CapturedCursor(const CapturedCursor&) = delete;
  CapturedCursor& operator=(const CapturedCursor&) = delete;

  // Reads the image and hotspot of any cursor (for an animated one, its first frame). False,
  // with nothing kept, when the platform cannot describe the handle.
  bool Capture(HCURSOR cursor);

  int width() const { return width_; }
  int height() const { return height_; }
  bool colour() const { return colour_; }  // has a colour bitmap
  POINT hotspot() const { return hotspot_; }
  const uint8_t* andMask() const { return andMask_; }  // one 0 or 1 per pixel, top row first
  const uint32_t* pixels() const { return pixels_; }   // colour: 0xAARRGGBB; monochrome: the XOR bit
  bool SameAs(const CapturedCursor& other) const;

  // The image as a cursor file holds it (PictureView below).
  cursor_file::ImageView View() const { return PictureView(width_, height_, colour_, andMask_, pixels_, hotspot_); }

 private:
  void Release();
  int width_ = 0;
  int height_ = 0;
  bool colour_ = false;
  POINT hotspot_ = {0, 0};
  uint8_t* andMask_ = nullptr;
  uint32_t* pixels_ = nullptr;
};

// The name the trace gives a cursor file: a hash of its bytes, then ".cur"; 20 characters.
constexpr size_t kCursorFileNameSize = 21;
void CursorFileNameOf(const uint8_t* bytes, size_t size, char (&name)[kCursorFileNameSize]);

}  // namespace platform
