// The fixed text buffers of both programs: paths and list texts, and profile values.
#pragma once
#include <cstddef>

// Paths, list entries and the installer's text fields. The "A" calls take UTF-8, where a path of
// the platform's 260 wide characters needs up to three bytes for each: any such path fits.
constexpr size_t kTextBufferSize = 1024;

// How many wide characters the platform makes of UTF-8 `text`: four-byte sequences become two,
// every other sequence, and every stray byte, one.
inline size_t WideLength(const char* text) {
  size_t units = 0;
  for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p; ++p) {
    if ((*p & 0xC0) == 0x80) continue;  // a continuation byte adds nothing of its own
    units += *p >= 0xF0 ? 2 : 1;
  }
  return units;
}
// A profile value is read through a buffer of this many characters (at most one less is seen).
constexpr int kProfileTextSize = 4096;
