// The utility's two resource cursors.
#pragma once
#include "tools/imagelib/formats.h"
#include "utility/cursor/colour_palette.h"

namespace cursorgen {

// Resource 129: each row r of 0 to 15 is the utility's palette entry r, opaque; rows 16 to 31
// are transparent over black, except row 17 over white. The utility reads column 0 back in the
// display's pixel format.
imagelib::Cursor PaletteTemplate();

// Resource 130: 32 x 32, AND all ones and XOR all zeros: draws nothing.
imagelib::Cursor Blank();

// Entry `index` of the utility's ColourPalette, which the template rows follow.
imagelib::Rgba PaletteRgba(int index);

}  // namespace cursorgen
