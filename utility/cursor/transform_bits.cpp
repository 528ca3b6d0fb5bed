#include "utility/cursor/transform_bits.h"

#include <cstring>

namespace cursor_bits {
namespace {

constexpr size_t kMaxBufferSize = 16u << 20;
constexpr int32_t kMaskRowBytes = kCursorSize / 8;
constexpr int kPixels = kCursorSize * kCursorSize;

// Bytes per row of a 32-pixel colour row: whole 16-bit words with nothing spare.
int32_t ColourRowBytes(int bitsPerPixel) { return kCursorSize * bitsPerPixel / 8; }

// A 1-bit 32-pixel-wide bitmap of `rows` rows whose buffer holds all of it.
bool IsMask(const BitmapBits& b, int32_t rows) {
  const BitmapGeometry& g = b.geometry;
  return b.bits && g.width == kCursorSize && g.height == rows && g.rowBytes == kMaskRowBytes && g.planes == 1 &&
         g.bitsPerPixel == 1 && b.size >= static_cast<size_t>(rows) * kMaskRowBytes;
}

bool IsColour(const BitmapBits& b) {
  const BitmapGeometry& g = b.geometry;
  return b.bits && IsConvertibleDepth(g.bitsPerPixel) && g.width == kCursorSize && g.height == kCursorSize &&
         g.planes == 1 && g.rowBytes == ColourRowBytes(g.bitsPerPixel) &&
         b.size >= static_cast<size_t>(kCursorSize) * g.rowBytes;
}

uint32_t ReadUnit(const uint8_t* p, int bytes) {
  uint32_t v = 0;
  for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | p[i];
  return v;
}

void WriteUnit(uint8_t* p, int bytes, uint32_t v) {
  for (int i = 0; i < bytes; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}

bool Bit(const uint8_t* bytes, int pixel) { return (bytes[pixel / 8] >> (7 - pixel % 8)) & 1; }

void SwapBits(uint8_t& a, int bitA, uint8_t& b, int bitB) {
  const int va = (a >> bitA) & 1, vb = (b >> bitB) & 1;
  if (va == vb) return;
  a ^= static_cast<uint8_t>(1 << bitA);
  b ^= static_cast<uint8_t>(1 << bitB);
}

void MirrorColourRow(uint8_t* row, int32_t rowBytes, int depth) {
  if (depth == 4) {
    for (int i = 0; i < kCursorSize / 2; ++i) {
      uint8_t& left = row[i / 2];
      uint8_t& right = row[rowBytes - 1 - i / 2];
      const int leftShift = i % 2 == 0 ? 4 : 0, rightShift = 4 - leftShift;
      const uint8_t l = (left >> leftShift) & 0xF, r = (right >> rightShift) & 0xF;
      left = static_cast<uint8_t>((left & ~(0xF << leftShift)) | (r << leftShift));
      right = static_cast<uint8_t>((right & ~(0xF << rightShift)) | (l << rightShift));
    }
    return;
  }
  const int k = depth / 8;
  uint8_t unit[4];
  for (int i = 0; i < kCursorSize / 2; ++i) {
    uint8_t* left = row + k * i;
    uint8_t* right = row + rowBytes - k * (i + 1);
    std::memcpy(unit, left, k);
    std::memcpy(left, right, k);
    std::memcpy(right, unit, k);
  }
}

}  // namespace

size_t BitsBufferSize(const BitmapGeometry& g) {
  if (g.width <= 0 || g.height <= 0 || g.rowBytes <= 0 || g.planes == 0) return 0;
  const unsigned long long size =
      static_cast<unsigned long long>(g.planes) * static_cast<unsigned long long>(g.height) *
      static_cast<unsigned long long>(g.rowBytes);
  return size > kMaxBufferSize ? 0 : static_cast<size_t>(size);
}

bool IsConvertibleDepth(int bitsPerPixel) {
  return bitsPerPixel == 4 || bitsPerPixel == 8 || bitsPerPixel == 16 || bitsPerPixel == 24 || bitsPerPixel == 32;
}

bool ReadPalettePixels(const BitmapBits& templateColour, PalettePixelTable& table) {
  if (!IsColour(templateColour)) return false;
  const int depth = templateColour.geometry.bitsPerPixel;
  const int32_t rowBytes = templateColour.geometry.rowBytes;
  for (int r = 0; r < kPaletteRows; ++r) {
    const uint8_t* pixel = templateColour.bits + static_cast<size_t>(r) * rowBytes;
    table.entries[r] = depth == 4 ? static_cast<uint32_t>(pixel[0] >> 4) : ReadUnit(pixel, depth / 8);
  }
  return true;
}

bool RecolourMonochrome(const BitmapBits& sourceMask, const PalettePixelTable& palette, int32_t whtClr,
                        int32_t blkClr, BitmapBits& templateMask, BitmapBits& templateColour) {
  if (!IsMask(sourceMask, 2 * kCursorSize) || !IsMask(templateMask, kCursorSize) || !IsColour(templateColour))
    return false;
  const auto inPalette = [](int32_t index) { return index >= 0 && index < kPaletteColours; };
  const uint32_t white = palette.entries[inPalette(whtClr) ? whtClr : kWhiteIndex];
  const uint32_t black = palette.entries[inPalette(blkClr) ? blkClr : kBlackIndex];
  const uint32_t transparent = palette.entries[kBlackIndex];
  const uint32_t inverting = palette.entries[kWhiteIndex];

  const int depth = templateColour.geometry.bitsPerPixel;
  const int k = depth / 8;
  const uint8_t* andBits = sourceMask.bits;
  const uint8_t* xorBits = sourceMask.bits + kCursorSize * kMaskRowBytes;
  uint8_t* newAnd = templateMask.bits;
  uint8_t* colour = templateColour.bits;
  std::memset(colour, 0, static_cast<size_t>(kCursorSize) * templateColour.geometry.rowBytes);
  for (int i = 0; i < kPixels; ++i) {
    if (i % 8 == 0) newAnd[i / 8] = 0;
    const bool andBit = Bit(andBits, i), xorBit = Bit(xorBits, i);
    const uint32_t value = andBit ? (xorBit ? inverting : transparent) : (xorBit ? white : black);
    if (andBit) newAnd[i / 8] |= static_cast<uint8_t>(0x80 >> (i % 8));
    if (depth == 4)
      colour[i / 2] |= static_cast<uint8_t>((value & 0xF) << (i % 2 == 0 ? 4 : 0));
    else
      WriteUnit(colour + static_cast<size_t>(k) * i, k, value);
  }
  return true;
}

bool MirrorImage(BitmapBits& mask, BitmapBits* colour) {
  const int32_t maskRows = colour ? kCursorSize : 2 * kCursorSize;
  if (!IsMask(mask, maskRows) || (colour && !IsColour(*colour))) return false;
  for (int r = 0; r < maskRows; ++r) {
    uint8_t* row = mask.bits + static_cast<size_t>(r) * kMaskRowBytes;
    for (int i = 0; i < kCursorSize / 2; ++i)
      SwapBits(row[i / 8], 7 - i % 8, row[kMaskRowBytes - 1 - i / 8], i % 8);
  }
  if (colour) {
    const int32_t rowBytes = colour->geometry.rowBytes;
    for (int r = 0; r < kCursorSize; ++r)
      MirrorColourRow(colour->bits + static_cast<size_t>(r) * rowBytes, rowBytes, colour->geometry.bitsPerPixel);
  }
  return true;
}

uint32_t MirroredHotspotX(uint32_t x, int32_t width) {
  if (width <= 0) return 0;
  const uint32_t last = static_cast<uint32_t>(width - 1);
  return last - (x > last ? last : x);
}

}  // namespace cursor_bits
