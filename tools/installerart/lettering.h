// Serif lettering for the installer's pictures, rendered by ImageMagick's "convert" (a build
// dependency) and reduced to a two-level mask, since the pictures have only 16 colours.
#pragma once
#include <string>

#include "tools/imagelib/canvas.h"

namespace installerart {

// The text in `colour` on a transparent canvas just large enough for it; an empty canvas
// when convert cannot be run.
imagelib::Canvas RenderLettering(const std::string& text, int pointSize, imagelib::Rgba colour);

}  // namespace installerart
