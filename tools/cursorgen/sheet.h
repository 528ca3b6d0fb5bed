// The contact sheet: every cursor the generator draws, enlarged, on a two-tone background
// (so white, black, transparent and inverting pixels all show), with its name, kind and a
// red mark around its hotspot; an animation also shows all its frames.
#pragma once
#include <string>
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

}  // namespace cursorgen
