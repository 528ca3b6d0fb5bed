#include "utility/dialog/colour_button_art.h"

#include <algorithm>
#include <cmath>

#include "utility/cursor/colour_palette.h"

namespace colour_button_art {

namespace {
constexpr uint32_t kWhite = 0xFFFFFF, kLightGrey = 0xC0C0C0, kDarkGrey = 0x808080, kBlack = 0x000000;

uint32_t Rgb(const PaletteColour& c) { return (uint32_t{c.red} << 16) | (uint32_t{c.green} << 8) | c.blue; }

// The crossing lines must stand out from the spot whatever its colour.
uint32_t CrossColour(const PaletteColour& c) {
  const int brightness = (c.red * 30 + c.green * 59 + c.blue * 11) / 100;
  return brightness >= 128 ? kBlack : kWhite;
}

class Painter {
 public:
  Painter(int side, uint32_t face, uint32_t* pixels) : side_(side), pixels_(pixels) {
    for (int i = 0; i < side * side; ++i) pixels_[i] = face;
  }

  // Columns [x0, x1) of rows [y0, y1), clipped to the picture.
  void Fill(int x0, int y0, int x1, int y1, uint32_t colour) {
    const int side = side_;
    for (int y = std::max(0, y0); y < std::min(side, y1); ++y)
      for (int x = std::max(0, x0); x < std::min(side, x1); ++x) pixels_[y * side + x] = colour;
  }

  // Every pixel whose centre lies within `radius` of (cx, cy).
  void Disc(double cx, double cy, double radius, uint32_t colour) {
    const int side = side_;
    for (int y = 0; y < side; ++y)
      for (int x = 0; x < side; ++x) {
        const double dx = x + 0.5 - cx, dy = y + 0.5 - cy;
        if (dx * dx + dy * dy <= radius * radius) pixels_[y * side + x] = colour;
      }
  }

  // Two diagonals through (cx, cy), `reach` out along each axis, `width` pixels across.
  void Cross(double cx, double cy, double reach, int width, uint32_t colour) {
    const int side = side_;
    const double half = width / 2.0;
    for (int y = 0; y < side; ++y)
      for (int x = 0; x < side; ++x) {
        const double dx = x + 0.5 - cx, dy = y + 0.5 - cy;
        if (std::fabs(dx) > reach || std::fabs(dy) > reach) continue;
        if (std::fabs(dx - dy) <= half || std::fabs(dx + dy) <= half) pixels_[y * side + x] = colour;
      }
  }

 private:
  int side_;
  uint32_t* pixels_;
};
}  // namespace

int SideForDpi(int dpi) {
  if (dpi <= 0 || dpi > 20 * kBaseDpi) return kBaseSide;
  return DrawnSide((kBaseSide * dpi + kBaseDpi / 2) / kBaseDpi);
}

int DrawnSide(int side) { return std::min(std::max(side, kBaseSide), kLargestSide); }

void Draw(int side, int colourIndex, Look look, uint32_t* pixels) {
  side = DrawnSide(side);
  const double unit = side / double{kBaseSide};
  const int edge = std::max(1, static_cast<int>(std::lround(unit)));
  const int s = side;
  Painter paint(s, kLightGrey, pixels);
  // At the base side the spot's centre is pixel 8 (9 pressed), radius 5.5 with a one-pixel ring.
  // Lines of an odd width cross on a pixel's centre, of an even width on a pixel's corner, so the
  // cross stays symmetric at every side.
  double centre = edge % 2 ? std::floor(8.5 * unit) + 0.5 : std::round(8.5 * unit);
  switch (look) {
    case Look::Up:
    case Look::Focused:
      paint.Fill(0, 0, s - edge, edge, kWhite);
      paint.Fill(0, 0, edge, s - edge, kWhite);
      paint.Fill(edge, s - 2 * edge, s - edge, s - edge, kDarkGrey);
      paint.Fill(s - 2 * edge, edge, s - edge, s - edge, kDarkGrey);
      paint.Fill(0, s - edge, s, s, kBlack);
      paint.Fill(s - edge, 0, s, s, kBlack);
      break;
    case Look::Down:
      paint.Fill(0, 0, s, edge, kBlack);
      paint.Fill(0, 0, edge, s, kBlack);
      paint.Fill(edge, edge, s - edge, 2 * edge, kDarkGrey);
      paint.Fill(edge, edge, 2 * edge, s - edge, kDarkGrey);
      paint.Fill(edge, s - edge, s, s, kWhite);
      paint.Fill(s - edge, edge, s, s, kWhite);
      centre += edge;  // pressed: the spot moves right and down
      break;
    case Look::Disabled:
      paint.Fill(0, 0, s, edge, kDarkGrey);
      paint.Fill(0, s - edge, s, s, kDarkGrey);
      paint.Fill(0, 0, edge, s, kDarkGrey);
      paint.Fill(s - edge, 0, s, s, kDarkGrey);
      break;
  }
  if (colourIndex < 0 || colourIndex >= kPaletteSize) return;
  const PaletteColour& colour = kColourPalette[colourIndex];
  // A ringed disc, so that a white or grey spot still shows on the grey face.
  const double radius = 5.5 * unit;
  paint.Disc(centre, centre, radius, kBlack);
  paint.Disc(centre, centre, radius - edge, Rgb(colour));
  if (look == Look::Disabled) paint.Cross(centre, centre, 5 * unit, edge, CrossColour(colour));
}

}  // namespace colour_button_art
