// The installer's pictures (bitmaps 129 and 133) and icons (128 and 134).
#pragma once
#include <string>
#include <vector>

#include "tools/imagelib/canvas.h"

namespace installerart {

constexpr int kPictureWidth = 320;
constexpr int kPictureHeight = 200;

struct Line {
  std::string text;
  int pointSize;
};

// Dark-blue lettering, centred line under line, over a grey diamond on a light grey ground.
// An empty canvas when the lettering cannot be rendered.
imagelib::Canvas Picture(const std::vector<Line>& lines);

std::vector<Line> WelcomeLines();
std::vector<Line> FinishLines();

// A floppy disk with the pointer over its label, at 32 or 16 pixels.
imagelib::Canvas InstallerIcon(int size);

}  // namespace installerart
