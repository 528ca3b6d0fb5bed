#include "tools/buttonart/button_art.h"

#include "utility/cursor/colour_palette.h"

namespace buttonart {

using imagelib::Canvas;
using imagelib::Opaque;
using imagelib::Point;
using imagelib::Rgba;

namespace {
const Rgba kWhite = Opaque(255, 255, 255);
const Rgba kLightGrey = Opaque(192, 192, 192);
const Rgba kDarkGrey = Opaque(128, 128, 128);
const Rgba kBlack = Opaque(0, 0, 0);

// The crossing lines must stand out from the spot whatever its colour.
Rgba CrossColour(Rgba spot) {
  const int brightness = (spot.r * 30 + spot.g * 59 + spot.b * 11) / 100;
  return brightness >= 128 ? kBlack : kWhite;
}

// A ringed disc, so that a white or grey spot still shows on the grey face.
void DrawSpot(Canvas& canvas, Rgba colour, const Spot& spot) {
  const double cx = spot.centreX + 0.5, cy = spot.centreY + 0.5;
  canvas.FillCircle(cx, cy, spot.radius, kBlack);
  canvas.FillCircle(cx, cy, spot.radius - 1, colour);
}
}  // namespace

imagelib::Rgba SpotColour(int index) {
  const PaletteColour& c = kColourPalette[index];
  return Opaque(c.red, c.green, c.blue);
}

char LookLetter(Look look) {
  switch (look) {
    case Look::Up: return 'U';
    case Look::Down: return 'D';
    case Look::Focused: return 'F';
    case Look::Disabled: return 'X';
  }
  return '?';
}

Spot SpotOf(Look look) {
  // The raised face spans pixels 1 to 15; pressing moves the picture one pixel down and right.
  if (look == Look::Down) return {9, 9, 5.5};
  return {8, 8, 5.5};
}

Canvas DrawButton(Rgba spot, Look look) {
  const int last = kButtonSize - 1;
  Canvas canvas(kButtonSize, kButtonSize, kLightGrey);
  switch (look) {
    case Look::Up:
    case Look::Focused:
      canvas.DrawLine(0, 0, last - 1, 0, kWhite);
      canvas.DrawLine(0, 0, 0, last - 1, kWhite);
      canvas.DrawLine(1, last - 1, last - 1, last - 1, kDarkGrey);
      canvas.DrawLine(last - 1, 1, last - 1, last - 1, kDarkGrey);
      canvas.DrawLine(0, last, last, last, kBlack);
      canvas.DrawLine(last, 0, last, last, kBlack);
      DrawSpot(canvas, spot, SpotOf(look));
      break;
    case Look::Down:
      canvas.DrawLine(0, 0, last, 0, kBlack);
      canvas.DrawLine(0, 0, 0, last, kBlack);
      canvas.DrawLine(1, 1, last - 1, 1, kDarkGrey);
      canvas.DrawLine(1, 1, 1, last - 1, kDarkGrey);
      canvas.DrawLine(1, last, last, last, kWhite);
      canvas.DrawLine(last, 1, last, last, kWhite);
      DrawSpot(canvas, spot, SpotOf(look));
      break;
    case Look::Disabled: {
      canvas.DrawRect(0, 0, kButtonSize, kButtonSize, kDarkGrey);
      const Spot where = SpotOf(look);
      DrawSpot(canvas, spot, where);
      const int reach = 5;
      const Rgba cross = CrossColour(spot);
      canvas.DrawLine(where.centreX - reach, where.centreY - reach, where.centreX + reach, where.centreY + reach, cross);
      canvas.DrawLine(where.centreX + reach, where.centreY - reach, where.centreX - reach, where.centreY + reach, cross);
      break;
    }
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
