// The contact sheet: every cursor the generator draws, enlarged, on a two-tone background
// (so white, black, transparent and inverting pixels all show), with its name, kind and a
// red mark around its hotspot; an animation also shows all its frames.
#pragma once
#include <string>
#include <utility>
#include <vector>

#include "tools/imagelib/formats.h"

namespace cursorgen {

struct SheetEntry {
  std::string name;
  std::vector<imagelib::AniFrame> frames;  // one for a static cursor
  bool animated = false;
  int jiffies = 0;  // first step, for the label
};

imagelib::Canvas ContactSheet(const std::vector<SheetEntry>& entries);

// One scheme as the scheme sheet shows it: per role, the first frame at 32 and at 64 pixels.
struct SchemeShown {
  std::string name;
  std::vector<std::pair<imagelib::AniFrame, imagelib::AniFrame>> roles;
};

// The schemes side by side, a row per role (captions given), each cursor at its own size on a
// light and on a dark background, as it shows on screen.
imagelib::Canvas SchemeSheet(const std::vector<std::string>& roles, const std::vector<SchemeShown>& schemes);

}  // namespace cursorgen
