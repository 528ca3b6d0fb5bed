// The utility's picture buttons and window icons: sixteen colour spots in four looks each
// (18 x 18, 4 bits per pixel), and the icon of the window and of its minimised state.
#pragma once
#include <string>
#include <vector>

#include "tools/imagelib/canvas.h"
#include "utility/dialog/colour_button_art.h"

namespace buttonart {

using colour_button_art::Look;
using colour_button_art::kLooks;
constexpr int kButtonSize = colour_button_art::kBaseSide;

char LookLetter(Look look);

// One button picture at the base side, drawn by the rule the dialog draws larger ones with.
imagelib::Canvas DrawButton(int colourIndex, Look look);

// "BMBREDD" and the like.
std::string BitmapName(int colourIndex, Look look);

// The window icon in the sizes it is shown at (32 and 16 pixels).
imagelib::Canvas DrawIcon(int size);

}  // namespace buttonart
