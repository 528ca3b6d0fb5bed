#include "tools/cursorgen/resource_cursors.h"

namespace cursorgen {

using imagelib::Opaque;

imagelib::Rgba PaletteRgba(int index) {
  const PaletteColour& c = kColourPalette[index];
  return Opaque(c.red, c.green, c.blue);
}

imagelib::Cursor PaletteTemplate() {
  imagelib::Cursor cursor{imagelib::Canvas(32, 32), 0, 0};
  for (int row = 0; row < kPaletteSize; ++row) cursor.image.FillRect(0, row, 32, 1, PaletteRgba(row));
  // Transparent pixels are written over black; kScreenInvert stands for transparent over white.
  cursor.image.FillRect(0, 17, 32, 1, imagelib::kScreenInvert);
  return cursor;
}

imagelib::Cursor Blank() { return {imagelib::Canvas(32, 32), 0, 0}; }

}  // namespace cursorgen
