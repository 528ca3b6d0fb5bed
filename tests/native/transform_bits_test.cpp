#include "utility/cursor/transform_bits.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <set>
#include <string>
#include <vector>

namespace {

using cursor_bits::BitmapBits;
using cursor_bits::BitmapGeometry;
using cursor_bits::PalettePixelTable;

constexpr int kSize = 32;
const int kDepths[] = {4, 8, 16, 24, 32};

BitmapGeometry MaskGeometry(int rows) { return {kSize, rows, 4, 1, 1}; }
BitmapGeometry ColourGeometry(int depth) { return {kSize, kSize, kSize * depth / 8, 1, static_cast<uint16_t>(depth)}; }

// A bitmap with its own buffer, sized from its record unless told otherwise.
struct TestBitmap {
  std::vector<uint8_t> bytes;
  BitmapBits view;
  explicit TestBitmap(BitmapGeometry g, long size = -1, uint8_t fill = 0) {
    const long n = size >= 0 ? size : static_cast<long>(g.planes) * g.height * g.rowBytes;
    bytes.assign(static_cast<size_t>(n > 0 ? n : 0), fill);
    view.geometry = g;
    view.bits = bytes.data();
    view.size = bytes.size();
  }
  TestBitmap(const TestBitmap& other) : bytes(other.bytes), view(other.view) { view.bits = bytes.data(); }
};

// Pixel access by column and row, written independently of the code under test.
int MaskBit(const TestBitmap& b, int row, int x) { return (b.bytes[row * 4 + x / 8] >> (7 - x % 8)) & 1; }
void SetMaskBit(TestBitmap& b, int row, int x, int v) {
  uint8_t& byte = b.bytes[row * 4 + x / 8];
  const uint8_t bit = static_cast<uint8_t>(0x80 >> (x % 8));
  byte = v ? (byte | bit) : (byte & ~bit);
}
uint32_t ColourAt(const TestBitmap& b, int x, int y) {
  const int depth = b.view.geometry.bitsPerPixel, rowBytes = b.view.geometry.rowBytes;
  if (depth == 4) {
    const uint8_t byte = b.bytes[y * rowBytes + x / 2];
    return x % 2 == 0 ? byte >> 4 : byte & 0xF;
  }
  const int k = depth / 8;
  uint32_t v = 0;
  for (int i = k - 1; i >= 0; --i) v = (v << 8) | b.bytes[y * rowBytes + x * k + i];
  return v;
}
void SetColourAt(TestBitmap& b, int x, int y, uint32_t v) {
  const int depth = b.view.geometry.bitsPerPixel, rowBytes = b.view.geometry.rowBytes;
  if (depth == 4) {
    uint8_t& byte = b.bytes[y * rowBytes + x / 2];
    byte = x % 2 == 0 ? static_cast<uint8_t>((byte & 0x0F) | (v << 4)) : static_cast<uint8_t>((byte & 0xF0) | (v & 0xF));
    return;
  }
  for (int i = 0; i < depth / 8; ++i) b.bytes[y * rowBytes + x * (depth / 8) + i] = static_cast<uint8_t>(v >> (8 * i));
}

uint32_t DepthMask(int depth) { return depth == 32 ? 0xFFFFFFFFu : (1u << depth) - 1; }

// Distinct display values for the 18 template rows, using every byte of the unit.
PalettePixelTable DistinctPalette(int depth) {
  PalettePixelTable t;
  for (int r = 0; r < cursor_bits::kPaletteRows; ++r)
    t.entries[r] = depth == 4 ? static_cast<uint32_t>((r * 7 + 3) % 16) : ((0x9E3779B1u * (r + 1)) ^ 0x5A5A5A5Au) & DepthMask(depth);
  return t;
}

uint32_t NextRandom(uint32_t& state) {
  state = state * 1664525u + 1013904223u;
  return state >> 8;
}

// A monochrome cursor mask with every AND/XOR combination, including the first and last
// pixels of rows and both nibbles of a byte.
TestBitmap PatternedMonochrome(uint32_t seed) {
  TestBitmap mask(MaskGeometry(2 * kSize));
  uint32_t state = seed;
  for (int y = 0; y < kSize; ++y)
    for (int x = 0; x < kSize; ++x) {
      const uint32_t r = NextRandom(state);
      SetMaskBit(mask, y, x, r & 1);
      SetMaskBit(mask, kSize + y, x, (r >> 1) & 1);
    }
  // Fixed corners: (0,0) opaque black, (31,0) opaque white, (0,31) transparent, (31,31) inverting.
  const int corners[4][4] = {{0, 0, 0, 0}, {31, 0, 0, 1}, {0, 31, 1, 0}, {31, 31, 1, 1}};
  for (const auto& c : corners) {
    SetMaskBit(mask, c[1], c[0], c[2]);
    SetMaskBit(mask, kSize + c[1], c[0], c[3]);
  }
  return mask;
}

class DepthTest : public ::testing::TestWithParam<int> {};
INSTANTIATE_TEST_SUITE_P(AllDepths, DepthTest, ::testing::ValuesIn(kDepths),
                         [](const ::testing::TestParamInfo<int>& info) { return std::to_string(info.param) + "bpp"; });

TEST(BitsBufferSize, FollowsTheRecordAndRefusesNonsense) {
  struct Case {
    BitmapGeometry g;
    size_t expected;
  } cases[] = {
      {{32, 64, 4, 1, 1}, 256},     {{32, 32, 128, 1, 32}, 4096}, {{32, 32, 96, 2, 24}, 6144},
      {{0, 32, 4, 1, 1}, 0},        {{32, 0, 4, 1, 1}, 0},        {{32, -32, 4, 1, 1}, 0},
      {{32, 32, -4, 1, 1}, 0},      {{32, 32, 4, 0, 1}, 0},       {{32, INT_MAX, INT_MAX, 65535, 32}, 0},
  };
  for (const Case& c : cases)
    EXPECT_EQ(cursor_bits::BitsBufferSize(c.g), c.expected)
        << c.g.width << "x" << c.g.height << " rowBytes " << c.g.rowBytes << " planes " << c.g.planes;
}

TEST(IsConvertibleDepth, OnlyTheFiveDepths) {
  for (int depth = 0; depth <= 64; ++depth) {
    const bool listed = depth == 4 || depth == 8 || depth == 16 || depth == 24 || depth == 32;
    EXPECT_EQ(cursor_bits::IsConvertibleDepth(depth), listed) << depth;
  }
}

TEST_P(DepthTest, PaletteIsReadFromColumnZeroOfRowsZeroToSeventeen) {
  const int depth = GetParam();
  TestBitmap colour(ColourGeometry(depth));
  const PalettePixelTable expected = DistinctPalette(depth);
  for (int y = 0; y < kSize; ++y)
    for (int x = 0; x < kSize; ++x)
      SetColourAt(colour, x, y, x == 0 && y < cursor_bits::kPaletteRows ? expected.entries[y] : DepthMask(depth) - 1);
  PalettePixelTable table;
  ASSERT_TRUE(cursor_bits::ReadPalettePixels(colour.view, table));
  for (int r = 0; r < cursor_bits::kPaletteRows; ++r) EXPECT_EQ(table.entries[r], expected.entries[r]) << "row " << r;
}

TEST_P(DepthTest, RecolourPaintsEveryPixelByItsMaskBits) {
  const int depth = GetParam();
  const PalettePixelTable palette = DistinctPalette(depth);
  struct Choice {
    int32_t white, black;
  } choices[] = {{0, 15}, {2, 5}, {15, 0}, {13, 13}};
  for (const Choice& choice : choices) {
    const TestBitmap source = PatternedMonochrome(0xC0FFEE + choice.white);
    const TestBitmap sourceBefore = source;
    // Stale contents must not survive: the template comes with its own image.
    TestBitmap mask(MaskGeometry(kSize), -1, 0x5A);
    TestBitmap colour(ColourGeometry(depth), -1, 0xFF);
    ASSERT_TRUE(cursor_bits::RecolourMonochrome(source.view, palette, choice.white, choice.black, mask.view, colour.view));
    for (int y = 0; y < kSize; ++y)
      for (int x = 0; x < kSize; ++x) {
        const int andBit = MaskBit(source, y, x), xorBit = MaskBit(source, kSize + y, x);
        const uint32_t want = andBit ? palette.entries[xorBit ? 0 : 15]
                                     : palette.entries[xorBit ? choice.white : choice.black];
        ASSERT_EQ(MaskBit(mask, y, x), andBit) << "white " << choice.white << " at " << x << "," << y;
        ASSERT_EQ(ColourAt(colour, x, y), want) << "white " << choice.white << " black " << choice.black
                                                << " and/xor " << andBit << xorBit << " at " << x << "," << y;
      }
    EXPECT_EQ(source.bytes, sourceBefore.bytes) << "the source mask is only read";
  }
}

TEST_P(DepthTest, DefaultColoursLookExactlyLikeTheSource) {
  const int depth = GetParam();
  const PalettePixelTable palette = DistinctPalette(depth);
  const TestBitmap source = PatternedMonochrome(7);
  TestBitmap mask(MaskGeometry(kSize));
  TestBitmap colour(ColourGeometry(depth));
  ASSERT_TRUE(cursor_bits::RecolourMonochrome(source.view, palette, 0, 15, mask.view, colour.view));
  // What a colour cursor shows: AND 0 draws the pixel; AND 1 exclusive-ors it with the screen,
  // so black leaves the screen and white inverts it, as the monochrome pixel did.
  for (int y = 0; y < kSize; ++y)
    for (int x = 0; x < kSize; ++x) {
      const bool isWhite = ColourAt(colour, x, y) == palette.entries[0];
      ASSERT_TRUE(isWhite || ColourAt(colour, x, y) == palette.entries[15]) << x << "," << y;
      EXPECT_EQ(MaskBit(mask, y, x), MaskBit(source, y, x)) << x << "," << y;
      EXPECT_EQ(isWhite ? 1 : 0, MaskBit(source, kSize + y, x)) << x << "," << y;
    }
}

TEST_P(DepthTest, IndexOutsideThePaletteKeepsThatColour) {
  const int depth = GetParam();
  const PalettePixelTable palette = DistinctPalette(depth);  // rows 16 and 17 differ from 0 and 15
  const TestBitmap source = PatternedMonochrome(99);
  struct Case {
    int32_t white, black, meantWhite, meantBlack;
  } cases[] = {
      {-1, 3, 0, 3},   {16, 3, 0, 3},   {17, 3, 0, 3},  {INT_MAX, 3, 0, 3}, {INT_MIN, 3, 0, 3},
      {4, -1, 4, 15},  {4, 16, 4, 15},  {4, 17, 4, 15}, {4, INT_MIN, 4, 15}, {-7, 1000, 0, 15},
  };
  for (const Case& c : cases) {
    TestBitmap gotMask(MaskGeometry(kSize)), gotColour(ColourGeometry(depth));
    TestBitmap wantMask(MaskGeometry(kSize)), wantColour(ColourGeometry(depth));
    ASSERT_TRUE(cursor_bits::RecolourMonochrome(source.view, palette, c.white, c.black, gotMask.view, gotColour.view));
    ASSERT_TRUE(cursor_bits::RecolourMonochrome(source.view, palette, c.meantWhite, c.meantBlack, wantMask.view,
                                                wantColour.view));
    EXPECT_EQ(gotMask.bytes, wantMask.bytes) << c.white << "/" << c.black;
    EXPECT_EQ(gotColour.bytes, wantColour.bytes) << c.white << "/" << c.black;
  }
}

TEST_P(DepthTest, RecolourRefusesOtherShapesWithoutWriting) {
  const int depth = GetParam();
  const PalettePixelTable palette = DistinctPalette(depth);
  struct Case {
    const char* name;
    BitmapGeometry source, mask, colour;
    long sourceSize, maskSize, colourSize;  // -1: what the record asks for
  };
  const BitmapGeometry s = MaskGeometry(2 * kSize), m = MaskGeometry(kSize), c = ColourGeometry(depth);
  const int rb = c.rowBytes;
  const Case cases[] = {
      {"source 16 wide", {16, 64, 2, 1, 1}, m, c, -1, -1, -1},
      {"source 48 wide", {48, 96, 6, 1, 1}, m, c, -1, -1, -1},
      {"source of colour-cursor height", MaskGeometry(kSize), m, c, -1, -1, -1},
      {"source with spare row bytes", {32, 64, 6, 1, 1}, m, c, -1, -1, -1},
      {"source of 2 planes", {32, 64, 4, 2, 1}, m, c, -1, -1, -1},
      {"source not 1 bit", {32, 64, 4, 1, 4}, m, c, -1, -1, -1},
      {"source buffer short", s, m, c, 255, -1, -1},
      {"template mask 64 high", s, MaskGeometry(2 * kSize), c, -1, -1, -1},
      {"template mask 16 wide", s, {16, 32, 2, 1, 1}, c, -1, -1, -1},
      {"template mask buffer short", s, m, c, -1, 127, -1},
      {"colour 1 bit", s, m, {32, 32, 4, 1, 1}, -1, -1, -1},
      {"colour 2 bits", s, m, {32, 32, 8, 1, 2}, -1, -1, -1},
      {"colour 15 bits", s, m, {32, 32, 60, 1, 15}, -1, -1, -1},
      {"colour 48 wide", s, m, {48, 32, 48 * depth / 8, 1, static_cast<uint16_t>(depth)}, -1, -1, -1},
      {"colour 64 high", s, m, {32, 64, rb, 1, static_cast<uint16_t>(depth)}, -1, -1, -1},
      {"colour rows padded", s, m, {32, 32, rb + 2, 1, static_cast<uint16_t>(depth)}, -1, -1, -1},
      {"colour buffer short", s, m, c, -1, -1, 32L * rb - 1},
  };
  for (const Case& k : cases) {
    TestBitmap source(k.source, k.sourceSize, 0x33), mask(k.mask, k.maskSize, 0x44), colour(k.colour, k.colourSize, 0x55);
    const TestBitmap maskBefore = mask, colourBefore = colour;
    EXPECT_FALSE(cursor_bits::RecolourMonochrome(source.view, palette, 1, 2, mask.view, colour.view)) << k.name;
    EXPECT_EQ(mask.bytes, maskBefore.bytes) << k.name;
    EXPECT_EQ(colour.bytes, colourBefore.bytes) << k.name;
    PalettePixelTable untouched;
    untouched.entries[3] = 0xDEAD;
    if (std::string(k.name).rfind("colour", 0) == 0) {
      EXPECT_FALSE(cursor_bits::ReadPalettePixels(colour.view, untouched)) << k.name;
      EXPECT_EQ(untouched.entries[3], 0xDEADu) << k.name;
    }
  }
  BitmapBits null;
  null.geometry = c;
  null.size = 4096;
  TestBitmap source(s), mask(m);
  EXPECT_FALSE(cursor_bits::RecolourMonochrome(source.view, palette, 0, 15, mask.view, null)) << "no buffer";
}

// Fills mask and colour with a pattern whose every unit differs from its mirror partner.
void FillRandom(TestBitmap& b, uint32_t seed) {
  uint32_t state = seed;
  for (uint8_t& byte : b.bytes) byte = static_cast<uint8_t>(NextRandom(state));
}

TEST_P(DepthTest, MirrorTurnsColourCursorAboutItsCentreLine) {
  const int depth = GetParam();
  TestBitmap mask(MaskGeometry(kSize)), colour(ColourGeometry(depth));
  FillRandom(mask, 1);
  FillRandom(colour, 2);
  const TestBitmap maskBefore = mask, colourBefore = colour;
  ASSERT_TRUE(cursor_bits::MirrorImage(mask.view, &colour.view));
  for (int y = 0; y < kSize; ++y)
    for (int x = 0; x < kSize; ++x) {
      ASSERT_EQ(MaskBit(mask, y, x), MaskBit(maskBefore, y, kSize - 1 - x)) << x << "," << y;
      ASSERT_EQ(ColourAt(colour, x, y), ColourAt(colourBefore, kSize - 1 - x, y)) << x << "," << y;
    }
  ASSERT_TRUE(cursor_bits::MirrorImage(mask.view, &colour.view));
  EXPECT_EQ(mask.bytes, maskBefore.bytes);
  EXPECT_EQ(colour.bytes, colourBefore.bytes);
}

TEST(MirrorImage, MonochromeMirrorsBothMaskHalves) {
  TestBitmap mask(MaskGeometry(2 * kSize));
  FillRandom(mask, 3);
  const TestBitmap before = mask;
  ASSERT_TRUE(cursor_bits::MirrorImage(mask.view, nullptr));
  for (int y = 0; y < 2 * kSize; ++y)
    for (int x = 0; x < kSize; ++x)
      ASSERT_EQ(MaskBit(mask, y, x), MaskBit(before, y, kSize - 1 - x)) << (y < kSize ? "AND " : "XOR ") << x << "," << y % kSize;
  ASSERT_TRUE(cursor_bits::MirrorImage(mask.view, nullptr));
  EXPECT_EQ(mask.bytes, before.bytes);
}

TEST(MirrorImage, SingleLitPixelsLandOnTheirPartners) {
  const int columns[] = {0, 1, 7, 8, 15, 16, 23, 24, 31};
  for (int x : columns) {
    TestBitmap mask(MaskGeometry(2 * kSize));
    SetMaskBit(mask, 5, x, 1);
    SetMaskBit(mask, 40, x, 1);  // in the XOR half
    ASSERT_TRUE(cursor_bits::MirrorImage(mask.view, nullptr));
    for (int c = 0; c < kSize; ++c) {
      EXPECT_EQ(MaskBit(mask, 5, c), c == kSize - 1 - x ? 1 : 0) << "from " << x << " column " << c;
      EXPECT_EQ(MaskBit(mask, 40, c), c == kSize - 1 - x ? 1 : 0) << "from " << x << " column " << c;
    }
  }
}

TEST_P(DepthTest, MirrorRefusesOtherShapesWithoutWriting) {
  const int depth = GetParam();
  const uint16_t d = static_cast<uint16_t>(depth);
  struct Case {
    const char* name;
    BitmapGeometry mask;
    bool withColour;
    BitmapGeometry colour;
    long maskSize, colourSize;
  };
  const BitmapGeometry c = ColourGeometry(depth);
  const Case cases[] = {
      {"monochrome mask 32 high", MaskGeometry(kSize), false, c, -1, -1},
      {"colour cursor mask 64 high", MaskGeometry(2 * kSize), true, c, -1, -1},
      {"mask 16 wide", {16, 64, 2, 1, 1}, false, c, -1, -1},
      {"mask 64 wide", {64, 128, 8, 1, 1}, false, c, -1, -1},
      {"mask rows padded", {32, 64, 6, 1, 1}, false, c, -1, -1},
      {"mask buffer short", MaskGeometry(2 * kSize), false, c, 255, -1},
      {"colour 2 bits", MaskGeometry(kSize), true, {32, 32, 8, 1, 2}, -1, -1},
      {"colour 1 bit", MaskGeometry(kSize), true, {32, 32, 4, 1, 1}, -1, -1},
      {"colour 16 high", MaskGeometry(kSize), true, {32, 16, c.rowBytes, 1, d}, -1, -1},
      {"colour rows padded", MaskGeometry(kSize), true, {32, 32, c.rowBytes + 2, 1, d}, -1, -1},
      {"colour buffer short", MaskGeometry(kSize), true, c, -1, 32L * c.rowBytes - 1},
  };
  for (const Case& k : cases) {
    TestBitmap mask(k.mask, k.maskSize), colour(k.colour, k.colourSize);
    FillRandom(mask, 4);
    FillRandom(colour, 5);
    const TestBitmap maskBefore = mask, colourBefore = colour;
    EXPECT_FALSE(cursor_bits::MirrorImage(mask.view, k.withColour ? &colour.view : nullptr)) << k.name;
    EXPECT_EQ(mask.bytes, maskBefore.bytes) << k.name;
    EXPECT_EQ(colour.bytes, colourBefore.bytes) << k.name;
  }
}

TEST(MirroredHotspotX, StaysOnTheSamePixel) {
  struct Case {
    uint32_t x;
    int32_t width;
    uint32_t expected;
  } cases[] = {{0, 32, 31}, {31, 32, 0}, {5, 32, 26}, {16, 32, 15}, {32, 32, 0}, {0xFFFFFFFFu, 32, 0},
               {0, 1, 0},   {3, 0, 0},   {3, -5, 0}};
  for (const Case& c : cases) {
    EXPECT_EQ(cursor_bits::MirroredHotspotX(c.x, c.width), c.expected) << c.x << " in " << c.width;
    if (c.x < 32 && c.width == 32) {
      EXPECT_EQ(cursor_bits::MirroredHotspotX(cursor_bits::MirroredHotspotX(c.x, 32), 32), c.x);
    }
  }
}

TEST(DistinctPalette, TestValuesAreDistinct) {
  for (int depth : kDepths) {
    const PalettePixelTable t = DistinctPalette(depth);
    std::set<uint32_t> values(t.entries, t.entries + (depth == 4 ? 16 : cursor_bits::kPaletteRows));
    EXPECT_EQ(values.size(), depth == 4 ? 16u : static_cast<size_t>(cursor_bits::kPaletteRows)) << depth;
  }
}

}  // namespace
