// The bit-level half of the cursor transformer: recolouring a monochrome cursor into the
// palette template's bitmaps, and mirroring a cursor's mask and colour bits, on the
// device-dependent bits as the platform hands them out (rows from the top; at 1 bit per
// pixel the leftmost pixel is a byte's high bit, at 4 the high nibble; 16, 24 and 32 bits per
// pixel are little-endian units). The Win32 shell only fetches and stores the bits.
//
// Square cursors of 16 to 256 pixels at colour depths 4, 8, 16, 24 and 32 are converted; each
// row is padded to whole 16-bit words, as the platform pads a bitmap's rows. Every check is
// made before anything is written, so a refused call leaves all buffers as they were.
#pragma once
#include <cstddef>
#include <cstdint>

#include "utility/cursor/colour_palette.h"

namespace cursor_bits {

constexpr int32_t kSmallestCursor = 16;
constexpr int32_t kLargestCursor = 256;
constexpr int32_t kPaletteTemplateSize = 32;
constexpr int kPaletteColours = kPaletteSize;  // ColourPalette, utility/cursor/colour_palette.h
// Template rows read back: the 16 colours, then black and white under a transparent mask.
constexpr int kPaletteRows = 18;
constexpr int kWhiteIndex = 0;
constexpr int kBlackIndex = 15;

// A bitmap's record as the platform describes it (BITMAP), without the unused bits pointer.
struct BitmapGeometry {
  int32_t width = 0;
  int32_t height = 0;
  int32_t rowBytes = 0;
  uint16_t planes = 0;
  uint16_t bitsPerPixel = 0;
};

// Bytes needed for the bitmap's bits: planes x height x rowBytes; 0 for a record that makes
// no sense (negative or zero fields, or a size beyond 16 MiB).
size_t BitsBufferSize(const BitmapGeometry& geometry);

// A bitmap's bits in a caller-owned buffer of `size` bytes.
struct BitmapBits {
  BitmapGeometry geometry;
  uint8_t* bits = nullptr;
  size_t size = 0;
};

// Display-format value of each template row's pixel in column 0.
struct PalettePixelTable {
  uint32_t entries[kPaletteRows] = {};
};

bool IsConvertibleDepth(int bitsPerPixel);

// Whether a cursor of this shape is converted: square, 16 to 256 pixels.
bool IsConvertibleSize(int32_t width, int32_t height);

// Bytes per row of a bitmap `width` pixels wide: whole 16-bit words.
int32_t PaddedRowBytes(int32_t width, int bitsPerPixel);

// Reads column 0 of rows 0 to 17 of the template's colour bits. False (table untouched) when
// the bitmap is not 32 x 32 at a convertible depth or the buffer is short.
bool ReadPalettePixels(const BitmapBits& templateColour, PalettePixelTable& table);

// Paints a monochrome cursor (`sourceMask`: n x 2n, AND half over XOR half) into a colour
// cursor's mask and colour bits (both n x n), which are overwritten whole, padding included:
// opaque white takes palette entry `whtClr`, opaque black entry `blkClr`; transparent pixels
// get the template's black and inverting ones its white, both under an AND bit of 1. An index
// outside 0 to 15 leaves that half as it was (white stays white, black stays black).
// False, with nothing written, when any of the three bitmaps has the wrong shape or depth
// or its buffer is short.
bool RecolourMonochrome(const BitmapBits& sourceMask, const PalettePixelTable& palette, int32_t whtClr,
                        int32_t blkClr, BitmapBits& mask, BitmapBits& colour);

// Mirrors a cursor left to right in place: every row of the mask (both halves of a
// monochrome cursor's n x 2n mask, or a colour cursor's n x n one) and, when `colour` is
// given, every row of the colour bits; row padding is left as it was. False, with nothing
// written, for any other shape, a colour depth outside 4, 8, 16, 24 and 32, or a short buffer.
bool MirrorImage(BitmapBits& mask, BitmapBits* colour);

// The hotspot column after mirroring an image `width` pixels wide: width - 1 - x, so the hot
// pixel stays the same. A column beyond the image is taken as its last column.
uint32_t MirroredHotspotX(uint32_t x, int32_t width);

// How a cursor stands to its own mirror image, left to right, so that left-handed pointers can
// leave a shape that is its own mirror image (a crosshair, an upward arrow) as it is. The axis
// runs through the middle of the painted columns, wherever the shape sits in its square.
struct MirrorReport {
  bool readable = false;   // false for a shape MirrorImage refuses; nothing else is filled in
  bool painted = false;    // any pixel is other than transparent
  bool symmetric = false;  // every pixel is as its mirror image across the axis
  int32_t axisTwice = 0;   // twice the axis column: pixel x mirrors to axisTwice - x
  uint32_t differing = 0;  // pixels of the mask and colour bits (counted apart) unlike their mirror's
};
// `mask` and `colour` as MirrorImage takes them; nothing is written. A hotspot in column x stays
// on its pixel when 2x equals axisTwice.
MirrorReport MirrorSymmetry(const BitmapBits& mask, const BitmapBits* colour);

}  // namespace cursor_bits

namespace cursor_bits {
// Where a hotspot falls in a cursor enlarged from `side` to `newSide` pixels: the centre of the
// block its pixel becomes, within the new cursor. A side of 0 or less keeps the hotspot at 0.
int32_t ScaledHotspot(int32_t hotspot, int32_t side, int32_t newSide);
}  // namespace cursor_bits
