// The 50 cursors of the library, each drawn by a function and known by its destination name
// in the file manifest (library sub-folder, backslash, long file name).
#pragma once
#include <functional>
#include <string>
#include <vector>

#include "tools/imagelib/formats.h"

namespace cursorgen {

struct Art {
  bool animated = false;
  imagelib::AniFrame still;      // a static cursor
  imagelib::Animation animation;  // an animated one
};

struct LibraryEntry {
  std::string destinationName;
  std::function<Art()> draw;
};

const std::vector<LibraryEntry>& LibraryArt();

}  // namespace cursorgen
