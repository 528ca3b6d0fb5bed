#include "utility/cursor/transform_bits.h"

#include <cstring>

namespace cursor_bits {
namespace {

constexpr size_t kMaxBufferSize = 16u << 20;

// A bitmap `width` pixels square (or `width` x 2`width` for a monochrome cursor's stacked
// mask) at `depth`, with padded rows, whose buffer holds all of it.
bool HasShape(const BitmapBits& b, int32_t width, int32_t rows, int depth) {
  const BitmapGeometry& g = b.geometry;
  return b.bits && g.width == width && g.height == rows && g.planes == 1 && g.bitsPerPixel == depth &&
         g.rowBytes == PaddedRowBytes(width, depth) && b.size >= static_cast<size_t>(rows) * g.rowBytes;
}

bool IsMask(const BitmapBits& b, int32_t width, int32_t rows) { return HasShape(b, width, rows, 1); }

bool IsColour(const BitmapBits& b, int32_t width) {
  return IsConvertibleDepth(b.geometry.bitsPerPixel) && HasShape(b, width, width, b.geometry.bitsPerPixel);
}

uint32_t ReadUnit(const uint8_t* p, int bytes) {
  uint32_t v = 0;
  for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | p[i];
  return v;
}

void WriteUnit(uint8_t* p, int bytes, uint32_t v) {
  for (int i = 0; i < bytes; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}

bool Bit(const uint8_t* row, int32_t x) { return (row[x / 8] >> (7 - x % 8)) & 1; }

void SwapBits(uint8_t* row, int32_t a, int32_t b) {
  uint8_t& byteA = row[a / 8];
  uint8_t& byteB = row[b / 8];
  const int bitA = 7 - a % 8, bitB = 7 - b % 8;
  if (((byteA >> bitA) & 1) == ((byteB >> bitB) & 1)) return;
  byteA ^= static_cast<uint8_t>(1 << bitA);
  byteB ^= static_cast<uint8_t>(1 << bitB);
}

uint8_t Nibble(const uint8_t* row, int32_t x) { return x % 2 == 0 ? row[x / 2] >> 4 : row[x / 2] & 0xF; }

void SetNibble(uint8_t* row, int32_t x, uint8_t v) {
  uint8_t& byte = row[x / 2];
  byte = x % 2 == 0 ? static_cast<uint8_t>((byte & 0x0F) | (v << 4)) : static_cast<uint8_t>((byte & 0xF0) | (v & 0xF));
}

// Swaps pixel x with pixel width - 1 - x across the row; the padding after the last pixel stays.
void MirrorRow(uint8_t* row, int32_t width, int depth) {
  for (int32_t x = 0, partner = width - 1; x < partner; ++x, --partner) {
    if (depth == 1) {
      SwapBits(row, x, partner);
    } else if (depth == 4) {
      const uint8_t left = Nibble(row, x);
      SetNibble(row, x, Nibble(row, partner));
      SetNibble(row, partner, left);
    } else {
      const int k = depth / 8;
      uint8_t unit[4];
      std::memcpy(unit, row + k * x, k);
      std::memcpy(row + k * x, row + k * partner, k);
      std::memcpy(row + k * partner, unit, k);
    }
  }
}

// The value of pixel x of a row at `depth` bits per pixel.
uint32_t PixelAt(const uint8_t* row, int32_t x, int depth) {
  if (depth == 1) return Bit(row, x);
  if (depth == 4) return Nibble(row, x);
  return ReadUnit(row + static_cast<size_t>(depth / 8) * x, depth / 8);
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

bool IsConvertibleSize(int32_t width, int32_t height) {
  return width == height && width >= kSmallestCursor && width <= kLargestCursor;
}

int32_t PaddedRowBytes(int32_t width, int bitsPerPixel) {
  if (width <= 0 || bitsPerPixel <= 0 || bitsPerPixel > 32) return 0;
  const int64_t bits = static_cast<int64_t>(width) * bitsPerPixel;
  return static_cast<int32_t>((bits + 15) / 16 * 2);
}

bool ReadPalettePixels(const BitmapBits& templateColour, PalettePixelTable& table) {
  if (!IsColour(templateColour, kPaletteTemplateSize)) return false;
  const int depth = templateColour.geometry.bitsPerPixel;
  const int32_t rowBytes = templateColour.geometry.rowBytes;
  for (int r = 0; r < kPaletteRows; ++r) {
    const uint8_t* pixel = templateColour.bits + static_cast<size_t>(r) * rowBytes;
    table.entries[r] = depth == 4 ? static_cast<uint32_t>(pixel[0] >> 4) : ReadUnit(pixel, depth / 8);
  }
  return true;
}

bool RecolourMonochrome(const BitmapBits& sourceMask, const PalettePixelTable& palette, int32_t whtClr,
                        int32_t blkClr, BitmapBits& mask, BitmapBits& colour) {
  const int32_t n = sourceMask.geometry.width;
  if (!IsConvertibleSize(n, n) || !IsMask(sourceMask, n, 2 * n) || !IsMask(mask, n, n) || !IsColour(colour, n))
    return false;
  const auto inPalette = [](int32_t index) { return index >= 0 && index < kPaletteColours; };
  const uint32_t white = palette.entries[inPalette(whtClr) ? whtClr : kWhiteIndex];
  const uint32_t black = palette.entries[inPalette(blkClr) ? blkClr : kBlackIndex];
  const uint32_t transparent = palette.entries[kBlackIndex];
  const uint32_t inverting = palette.entries[kWhiteIndex];

  const int depth = colour.geometry.bitsPerPixel;
  const int k = depth / 8;
  const int32_t maskRowBytes = sourceMask.geometry.rowBytes;
  const int32_t colourRowBytes = colour.geometry.rowBytes;
  std::memset(mask.bits, 0, static_cast<size_t>(n) * maskRowBytes);
  std::memset(colour.bits, 0, static_cast<size_t>(n) * colourRowBytes);
  for (int32_t y = 0; y < n; ++y) {
    const uint8_t* andRow = sourceMask.bits + static_cast<size_t>(y) * maskRowBytes;
    const uint8_t* xorRow = andRow + static_cast<size_t>(n) * maskRowBytes;
    uint8_t* newAnd = mask.bits + static_cast<size_t>(y) * maskRowBytes;
    uint8_t* colourRow = colour.bits + static_cast<size_t>(y) * colourRowBytes;
    for (int32_t x = 0; x < n; ++x) {
      const bool andBit = Bit(andRow, x), xorBit = Bit(xorRow, x);
      const uint32_t value = andBit ? (xorBit ? inverting : transparent) : (xorBit ? white : black);
      if (andBit) newAnd[x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
      if (depth == 4)
        SetNibble(colourRow, x, static_cast<uint8_t>(value & 0xF));
      else
        WriteUnit(colourRow + static_cast<size_t>(k) * x, k, value);
    }
  }
  return true;
}

bool MirrorImage(BitmapBits& mask, BitmapBits* colour) {
  const int32_t n = mask.geometry.width;
  const int32_t maskRows = colour ? n : 2 * n;
  if (!IsConvertibleSize(n, n) || !IsMask(mask, n, maskRows) || (colour && !IsColour(*colour, n))) return false;
  for (int32_t r = 0; r < maskRows; ++r) MirrorRow(mask.bits + static_cast<size_t>(r) * mask.geometry.rowBytes, n, 1);
  if (colour) {
    const int32_t rowBytes = colour->geometry.rowBytes;
    for (int32_t r = 0; r < n; ++r)
      MirrorRow(colour->bits + static_cast<size_t>(r) * rowBytes, n, colour->geometry.bitsPerPixel);
  }
  return true;
}

uint32_t MirroredHotspotX(uint32_t x, int32_t width) {
  if (width <= 0) return 0;
  const uint32_t last = static_cast<uint32_t>(width - 1);
  return last - (x > last ? last : x);
}

MirrorReport MirrorSymmetry(const BitmapBits& mask, const BitmapBits* colour) {
  MirrorReport report;
  const int32_t n = mask.geometry.width;
  const int32_t maskRows = colour ? n : 2 * n;
  if (!IsConvertibleSize(n, n) || !IsMask(mask, n, maskRows) || (colour && !IsColour(*colour, n))) return report;
  report.readable = true;
  // The rows of each bitmap with the value that leaves the screen as it is: 1 in the AND rows,
  // 0 in the XOR rows of a monochrome mask and in colour bits.
  struct Rows {
    const BitmapBits* bitmap;
    int32_t first;
    uint32_t clear;
  };
  const Rows parts[2] = {{&mask, 0, 1}, colour ? Rows{colour, 0, 0} : Rows{&mask, n, 0}};
  const auto row = [](const Rows& part, int32_t y) {
    return part.bitmap->bits + static_cast<size_t>(part.first + y) * part.bitmap->geometry.rowBytes;
  };
  int32_t left = n, right = -1;
  for (const Rows& part : parts)
    for (int32_t y = 0; y < n; ++y)
      for (int32_t x = 0; x < n; ++x) {
        if (PixelAt(row(part, y), x, part.bitmap->geometry.bitsPerPixel) == part.clear) continue;
        if (x < left) left = x;
        if (x > right) right = x;
      }
  report.painted = right >= 0;
  report.axisTwice = report.painted ? left + right : n - 1;
  for (const Rows& part : parts)
    for (int32_t y = 0; y < n; ++y)
      for (int32_t x = 0; x < n; ++x) {
        const int depth = part.bitmap->geometry.bitsPerPixel;
        const int32_t partner = report.axisTwice - x;
        const uint32_t mirrored = partner >= 0 && partner < n ? PixelAt(row(part, y), partner, depth) : part.clear;
        if (PixelAt(row(part, y), x, depth) != mirrored) ++report.differing;
      }
  report.symmetric = report.differing == 0;
  return report;
}

}  // namespace cursor_bits

namespace cursor_bits {
int32_t ScaledHotspot(int32_t hotspot, int32_t side, int32_t newSide) {
  if (side <= 0 || newSide <= 0) return 0;
  if (hotspot < 0) hotspot = 0;
  if (hotspot >= side) hotspot = side - 1;
  const int64_t scaled = (static_cast<int64_t>(2 * hotspot + 1) * newSide) / (2 * static_cast<int64_t>(side));
  return static_cast<int32_t>(scaled < newSide ? scaled : newSide - 1);
}
}  // namespace cursor_bits
