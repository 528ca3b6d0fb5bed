// A built-in 5 x 7 pixel font for labels on generated pictures (contact sheets, installer
// artwork): printable ASCII, each character in a cell 6 pixels wide and 8 high at scale 1.
#pragma once
#include <string_view>

#include "tools/imagelib/canvas.h"

namespace imagelib {

constexpr int kGlyphCellWidth = 6;
constexpr int kGlyphCellHeight = 8;

// Draws `text` with its cell's top-left corner at (x, y); each font pixel becomes a
// scale x scale block. Characters outside the printable range are drawn as a small box.
void DrawText(Canvas& canvas, int x, int y, std::string_view text, Rgba colour, int scale = 1);

// Width in pixels of the text as DrawText lays it out.
int TextWidth(std::string_view text, int scale = 1);

}  // namespace imagelib
