// Cursor files that tests draw for themselves: static cursors (monochrome or colour) and
// animated ones, written with the system-cursor service's own encoder.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/system_cursor.h"
#include "tests/wine/support/system_cursor_record.h"

namespace wine_test {

// A 32 x 32 picture whose shape depends on `variant`: an opaque triangle, white inside with a
// black edge, on a transparent ground, with an inverting corner.
cursor_record::CursorPicture MonochromePicture(int variant);
// The same shape with a colour inside and black edges, as a colour cursor.
cursor_record::CursorPicture ColourPicture(int variant, uint32_t rgb);

std::vector<uint8_t> StaticCursorFile(const cursor_record::CursorPicture& picture, POINT hotspot);
// An animated cursor (RIFF "ACON") of the given cursor files as frames, each shown `jiffies`.
std::vector<uint8_t> AnimatedCursorFile(const std::vector<std::vector<uint8_t>>& frames, int jiffies = 10);

bool WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes);

// The picture and hotspot of a cursor; empty picture when it cannot be described.
cursor_record::CursorPicture PictureOf(HCURSOR cursor, POINT* hotspot = nullptr);

}  // namespace wine_test
