#include "tools/cursorgen/resource_cursors.h"

namespace cursorgen {

using imagelib::Opaque;

const imagelib::Rgba kUtilityPalette[16] = {
    Opaque(255, 255, 255), Opaque(255, 0, 0),     Opaque(0, 255, 0),   Opaque(0, 0, 255),
    Opaque(0, 255, 255),   Opaque(255, 0, 255),   Opaque(255, 255, 0), Opaque(128, 0, 0),
    Opaque(0, 128, 0),     Opaque(0, 0, 128),     Opaque(0, 128, 128), Opaque(128, 0, 128),
    Opaque(128, 128, 0),   Opaque(192, 192, 192), Opaque(128, 128, 128), Opaque(0, 0, 0),
};

imagelib::Cursor PaletteTemplate() {
  imagelib::Cursor cursor{imagelib::Canvas(32, 32), 0, 0};
  for (int row = 0; row < 16; ++row) cursor.image.FillRect(0, row, 32, 1, kUtilityPalette[row]);
  // Transparent pixels are written over black; kScreenInvert stands for transparent over white.
  cursor.image.FillRect(0, 17, 32, 1, imagelib::kScreenInvert);
  return cursor;
}

imagelib::Cursor Blank() { return {imagelib::Canvas(32, 32), 0, 0}; }

}  // namespace cursorgen
