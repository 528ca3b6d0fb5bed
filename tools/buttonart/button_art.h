// The utility's picture buttons and window icons: sixteen colour spots in four looks each
// (18 x 18, 4 bits per pixel), and the icon of the window and of its minimised state.
#pragma once
#include <string>
#include <vector>

#include "tools/imagelib/canvas.h"

namespace buttonart {

constexpr int kButtonSize = 18;

// The spot colour of the button for ColourPalette entry `index` (utility/cursor/colour_palette.h).
imagelib::Rgba SpotColour(int index);

// The four looks of a button; each bitmap is named by the base name plus the look's letter.
enum class Look { Up, Down, Focused, Disabled };
constexpr Look kLooks[4] = {Look::Up, Look::Down, Look::Focused, Look::Disabled};
char LookLetter(Look look);

// Where the spot of a look sits: its centre pixel and its radius in pixels.
struct Spot {
  int centreX, centreY;
  double radius;
};
Spot SpotOf(Look look);

// One button picture: raised (Up, Focused) or pressed (Down) grey button with the spot in
// the middle, or (Disabled) a flat grey face with the spot crossed out.
imagelib::Canvas DrawButton(imagelib::Rgba spot, Look look);

// "BMBREDD" and the like.
std::string BitmapName(int colourIndex, Look look);

// The window icon in the sizes it is shown at (32 and 16 pixels).
imagelib::Canvas DrawIcon(int size);

}  // namespace buttonart
