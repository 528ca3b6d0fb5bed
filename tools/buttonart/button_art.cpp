#include "tools/buttonart/button_art.h"

#include "utility/cursor/colour_palette.h"

namespace buttonart {

using imagelib::Canvas;
using imagelib::Opaque;
using imagelib::Point;
using imagelib::Rgba;

namespace {
const Rgba kWhite = Opaque(255, 255, 255);
const Rgba kBlack = Opaque(0, 0, 0);
}  // namespace

char LookLetter(Look look) {
  switch (look) {
    case Look::Up: return 'U';
    case Look::Down: return 'D';
    case Look::Focused: return 'F';
    case Look::Disabled: return 'X';
  }
  return '?';
}

Canvas DrawButton(int colourIndex, Look look) {
  uint32_t pixels[kButtonSize * kButtonSize];
  colour_button_art::Draw(kButtonSize, colourIndex, look, pixels);
  Canvas canvas(kButtonSize, kButtonSize);
  for (int y = 0; y < kButtonSize; ++y)
    for (int x = 0; x < kButtonSize; ++x) {
      const uint32_t p = pixels[y * kButtonSize + x];
      canvas.Set(x, y, Opaque((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF));
    }
  return canvas;
}

std::string BitmapName(int colourIndex, Look look) {
  return std::string(kColourPalette[colourIndex].buttonName) + LookLetter(look);
}

Canvas DrawIcon(int size) {
  // A white arrow pointer on a blue disc, with three paint spots: the utility recolours cursors.
  const double s = size / 32.0;
  Canvas icon(size, size);
  icon.FillCircle(16 * s, 16 * s, 15.5 * s, kBlack);
  icon.FillCircle(16 * s, 16 * s, 14.5 * s, Opaque(0, 0, 128));
  if (size >= 32) {
    icon.FillCircle(23, 9, 3.5, kBlack);
    icon.FillCircle(23, 9, 2.5, Opaque(255, 0, 0));
    icon.FillCircle(25.5, 17, 3.5, kBlack);
    icon.FillCircle(25.5, 17, 2.5, Opaque(255, 255, 0));
    icon.FillCircle(21, 24.5, 3.5, kBlack);
    icon.FillCircle(21, 24.5, 2.5, Opaque(0, 255, 0));
  }
  const std::vector<Point> arrow = {{0, 0}, {0, 17}, {4, 13}, {7, 20}, {10, 19}, {7, 12}, {12, 12}};
  std::vector<Point> placed;
  for (const Point& p : arrow) placed.push_back({(7 + p.x) * s, (5 + p.y) * s});
  Canvas pointer(size, size);
  pointer.FillPolygon(placed, kWhite);
  pointer.Outline(kBlack);
  icon.Paste(pointer, 0, 0);
  return icon;
}

}  // namespace buttonart
