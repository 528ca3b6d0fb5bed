// The colour buttons' pictures at any side: the 18-pixel bitmaps of the program's resources and
// the larger ones the dialog draws for a window of more dots per inch are made by this one rule,
// so a picture is never stretched and looks the same at every scale.
#pragma once
#include <cstdint>

namespace colour_button_art {

constexpr int kBaseSide = 18;  // the side at 96 dots per inch
constexpr int kBaseDpi = 96;
constexpr int kLargestSide = 128;  // beyond 700 %

// The four looks of a button; each bitmap is named by the base name plus the look's letter.
enum class Look { Up, Down, Focused, Disabled };
constexpr Look kLooks[4] = {Look::Up, Look::Down, Look::Focused, Look::Disabled};

// The side of a picture for a window of `dpi` dots per inch, rounded to the nearest pixel,
// at most kLargestSide; a zero or absurd dpi gives the base side.
int SideForDpi(int dpi);

// The side Draw draws at for a side asked for: kBaseSide to kLargestSide.
int DrawnSide(int side);

// Raised (Up, Focused) or pressed (Down) grey button with a ringed spot of ColourPalette entry
// `colourIndex` in the middle (none for an index outside the palette), or (Disabled) a flat grey
// face with the spot crossed out. Edges and ring are as many pixels wide as the scale is whole.
// Writes DrawnSide(side) squared pixels 0x00RRGGBB, row by row from the top, into `pixels`;
// only the standard 16 colours occur.
void Draw(int side, int colourIndex, Look look, uint32_t* pixels);

}  // namespace colour_button_art
