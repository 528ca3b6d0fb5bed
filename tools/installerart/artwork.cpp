#include "tools/installerart/artwork.h"

#include <algorithm>

#include "tools/installerart/lettering.h"

namespace installerart {

using imagelib::kWindowsPalette;
namespace colour {
const imagelib::Rgba kGround = kWindowsPalette[imagelib::kLightGrey];
const imagelib::Rgba kDiamond = kWindowsPalette[imagelib::kDarkGrey];
const imagelib::Rgba kLettering = kWindowsPalette[imagelib::kDarkBlue];
const imagelib::Rgba kHighlight = kWindowsPalette[imagelib::kWhite];
const imagelib::Rgba kShadow = kWindowsPalette[imagelib::kBlack];
}  // namespace colour

std::vector<Line> WelcomeLines() { return {{"Welcome to the", 22}, {"Pointrel", 64}, {"installation program", 22}}; }

std::vector<Line> FinishLines() { return {{"The installation of", 22}, {"Pointrel", 64}, {"is complete", 22}}; }

imagelib::Canvas Picture(const std::vector<Line>& lines) {
  imagelib::Canvas picture(kPictureWidth, kPictureHeight, colour::kGround);
  const double cx = kPictureWidth / 2.0, cy = kPictureHeight / 2.0, rx = 152, ry = 94;
  // A chiselled edge: light on the upper sides, dark on the lower ones.
  picture.FillPolygon({{cx, cy - ry - 2}, {cx + rx + 3, cy}, {cx, cy + ry + 2}, {cx - rx - 3, cy}}, colour::kShadow);
  picture.FillPolygon({{cx, cy - ry - 2}, {cx + rx + 3, cy}, {cx, cy}, {cx - rx - 3, cy}}, colour::kHighlight);
  picture.FillPolygon({{cx, cy - ry}, {cx + rx, cy}, {cx, cy + ry}, {cx - rx, cy}}, colour::kDiamond);

  std::vector<imagelib::Canvas> rendered;
  std::vector<imagelib::Canvas> shadows;
  int total = 0;
  const int gap = 6;
  for (const Line& line : lines) {
    rendered.push_back(RenderLettering(line.text, line.pointSize, colour::kLettering));
    if (rendered.back().width() == 0) return {};
    shadows.push_back(RenderLettering(line.text, line.pointSize, colour::kHighlight));
    total += rendered.back().height();
  }
  total += gap * static_cast<int>(lines.size() - 1);
  int y = (kPictureHeight - total) / 2;
  for (size_t i = 0; i < rendered.size(); ++i) {
    int x = (kPictureWidth - rendered[i].width()) / 2;
    picture.Paste(shadows[i], x + 1, y + 1);
    picture.Paste(rendered[i], x, y);
    y += rendered[i].height() + gap;
  }
  return picture;
}

imagelib::Canvas InstallerIcon(int size) {
  using imagelib::Point;
  const double s = size / 32.0;
  auto at = [s](double x, double y) { return Point{x * s, y * s}; };
  imagelib::Canvas icon(size, size);
  const imagelib::Rgba body = kWindowsPalette[imagelib::kDarkBlue];
  const imagelib::Rgba metal = kWindowsPalette[imagelib::kLightGrey];
  const imagelib::Rgba label = kWindowsPalette[imagelib::kWhite];
  const imagelib::Rgba black = kWindowsPalette[imagelib::kBlack];
  // Disk body with a cut corner, the shutter at the top, the label below.
  icon.FillPolygon({at(2, 2), at(27, 2), at(30, 5), at(30, 30), at(2, 30)}, body);
  icon.FillPolygon({at(8, 2), at(23, 2), at(23, 12), at(8, 12)}, metal);
  icon.FillPolygon({at(18, 4), at(21, 4), at(21, 10), at(18, 10)}, body);
  icon.FillPolygon({at(6, 16), at(26, 16), at(26, 30), at(6, 30)}, label);
  if (size >= 32) {
    for (int row : {20, 23, 26}) icon.DrawLine(9, row, 23, row, kWindowsPalette[imagelib::kBlue]);
  }
  icon.DrawPolygon({at(2, 2), at(27, 2), at(30, 5), at(30, 30), at(2, 30)}, black);
  // The pointer: the utility's business.
  imagelib::Canvas pointer(size, size);
  pointer.FillPolygon({at(14, 13), at(14, 30), at(18, 26), at(21, 32), at(24, 31), at(21, 25), at(26, 25)},
                      kWindowsPalette[imagelib::kWhite]);
  pointer.Outline(black);
  icon.Paste(pointer, 0, 0);
  return icon;
}

}  // namespace installerart
