// The cursors of the library, each drawn by a function and known by its destination name in the
// file manifest (library sub-folder, backslash, long file name): the 50 of the first library and
// the shipped schemes' own (scheme_art.cpp).
#pragma once
#include <functional>
#include <string>
#include <vector>

#include "tools/imagelib/formats.h"

namespace cursorgen {

using imagelib::AniFrame;
using imagelib::AniStep;
using imagelib::CursorDepth;

constexpr CursorDepth kMono = CursorDepth::kMonochrome;

struct Art {
  bool animated = false;
  imagelib::AniFrame still;      // a static cursor
  imagelib::Animation animation;  // an animated one
};

struct LibraryEntry {
  std::string destinationName;
  std::function<Art()> draw;
};

// Every library cursor: the first library's, then SchemeArt().
const std::vector<LibraryEntry>& LibraryArt();
// The shipped schemes' cursors that `drawn` does not hold already, each drawn in its scheme's look
// (scheme_art.cpp). A file a scheme names that has no drawing for its role is left out, so that
// nothing draws it.
std::vector<LibraryEntry> SchemeArt(const std::vector<LibraryEntry>& drawn);

// The hotspot at the design point's pixel; drawn larger, that pixel may fall in a gap of the
// picture, and then the painted one nearest to it takes its place.
AniFrame Frame(const imagelib::Canvas& image, imagelib::Point hot, CursorDepth depth);
// A drawn tip: the painted pixel nearest to where the tip was meant to be.
AniFrame TipFrame(const imagelib::Canvas& image, imagelib::Point tip, CursorDepth depth);
Art Still(const AniFrame& frame);
Art Animated(std::vector<AniFrame> frames, int jiffies, std::vector<AniStep> steps = {});

}  // namespace cursorgen
