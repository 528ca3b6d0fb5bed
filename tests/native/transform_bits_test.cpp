#include "utility/cursor/transform_bits.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <climits>
#include <cstdint>
#include <set>
#include <string>
#include <vector>

namespace {

using cursor_bits::BitmapBits;
using cursor_bits::BitmapGeometry;
using cursor_bits::PalettePixelTable;

const int kDepths[] = {4, 8, 16, 24, 32};
// Multiples of 16 and sizes whose rows need padding at some depth (33, 40), both ends included.
const int kSizes[] = {16, 32, 33, 40, 48, 64, 96, 128, 256};

// Bytes per row as the platform pads a bitmap's rows: whole 16-bit words.
int32_t WordRowBytes(int width, int depth) { return (width * depth + 15) / 16 * 2; }
BitmapGeometry MaskGeometry(int size, int rows) { return {size, rows, WordRowBytes(size, 1), 1, 1}; }
BitmapGeometry ColourGeometry(int size, int depth) {
  return {size, size, WordRowBytes(size, depth), 1, static_cast<uint16_t>(depth)};
}

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
  int RowBytes() const { return view.geometry.rowBytes; }
};

// Pixel access by column and row, written independently of the code under test.
int MaskBit(const TestBitmap& b, int row, int x) { return (b.bytes[row * b.RowBytes() + x / 8] >> (7 - x % 8)) & 1; }
void SetMaskBit(TestBitmap& b, int row, int x, int v) {
  uint8_t& byte = b.bytes[row * b.RowBytes() + x / 8];
  const uint8_t bit = static_cast<uint8_t>(0x80 >> (x % 8));
  byte = v ? (byte | bit) : (byte & ~bit);
}
uint32_t ColourAt(const TestBitmap& b, int x, int y) {
  const int depth = b.view.geometry.bitsPerPixel, rowBytes = b.RowBytes();
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
  const int depth = b.view.geometry.bitsPerPixel, rowBytes = b.RowBytes();
  if (depth == 4) {
    uint8_t& byte = b.bytes[y * rowBytes + x / 2];
    byte = x % 2 == 0 ? static_cast<uint8_t>((byte & 0x0F) | (v << 4)) : static_cast<uint8_t>((byte & 0xF0) | (v & 0xF));
    return;
  }
  for (int i = 0; i < depth / 8; ++i) b.bytes[y * rowBytes + x * (depth / 8) + i] = static_cast<uint8_t>(v >> (8 * i));
}

// The row bytes past a row's last pixel (and the spare bits of its last used byte).
bool PaddingEquals(const TestBitmap& a, const TestBitmap& b) {
  const int width = a.view.geometry.width, depth = a.view.geometry.bitsPerPixel;
  const int usedBits = width * depth;
  for (int y = 0; y < a.view.geometry.height; ++y)
    for (int bit = usedBits; bit < a.RowBytes() * 8; ++bit) {
      const int byte = y * a.RowBytes() + bit / 8, shift = 7 - bit % 8;
      if (((a.bytes[byte] >> shift) & 1) != ((b.bytes[byte] >> shift) & 1)) return false;
    }
  return true;
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
TestBitmap PatternedMonochrome(int size, uint32_t seed) {
  TestBitmap mask(MaskGeometry(size, 2 * size));
  uint32_t state = seed;
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x) {
      const uint32_t r = NextRandom(state);
      SetMaskBit(mask, y, x, r & 1);
      SetMaskBit(mask, size + y, x, (r >> 1) & 1);
    }
  // Fixed corners: top left opaque black, top right opaque white, bottom left transparent,
  // bottom right inverting.
  const int last = size - 1;
  const int corners[4][4] = {{0, 0, 0, 0}, {last, 0, 0, 1}, {0, last, 1, 0}, {last, last, 1, 1}};
  for (const auto& c : corners) {
    SetMaskBit(mask, c[1], c[0], c[2]);
    SetMaskBit(mask, size + c[1], c[0], c[3]);
  }
  return mask;
}

class DepthTest : public ::testing::TestWithParam<int> {};
INSTANTIATE_TEST_SUITE_P(AllDepths, DepthTest, ::testing::ValuesIn(kDepths),
                         [](const ::testing::TestParamInfo<int>& info) { return std::to_string(info.param) + "bpp"; });

class SizeTest : public ::testing::TestWithParam<int> {};
INSTANTIATE_TEST_SUITE_P(AllSizes, SizeTest, ::testing::ValuesIn(kSizes),
                         [](const ::testing::TestParamInfo<int>& info) { return std::to_string(info.param) + "px"; });

// Every size at every depth.
struct Shape {
  int size;
  int depth;
};
class ShapeTest : public ::testing::TestWithParam<Shape> {};
std::vector<Shape> AllShapes() {
  std::vector<Shape> shapes;
  for (int size : kSizes)
    for (int depth : kDepths) shapes.push_back({size, depth});
  return shapes;
}
INSTANTIATE_TEST_SUITE_P(AllSizesAndDepths, ShapeTest, ::testing::ValuesIn(AllShapes()),
                         [](const ::testing::TestParamInfo<Shape>& info) {
                           return std::to_string(info.param.size) + "px" + std::to_string(info.param.depth) + "bpp";
                         });

TEST(BitsBufferSize, FollowsTheRecordAndRefusesNonsense) {
  struct Case {
    BitmapGeometry g;
    size_t expected;
  } cases[] = {
      {{32, 64, 4, 1, 1}, 256},     {{32, 32, 128, 1, 32}, 4096}, {{32, 32, 96, 2, 24}, 6144},
      {{256, 512, 32, 1, 1}, 16384}, {{0, 32, 4, 1, 1}, 0},       {{32, 0, 4, 1, 1}, 0},
      {{32, -32, 4, 1, 1}, 0},      {{32, 32, -4, 1, 1}, 0},      {{32, 32, 4, 0, 1}, 0},
      {{32, INT_MAX, INT_MAX, 65535, 32}, 0},
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

TEST(IsConvertibleSize, SquaresFromSixteenToTwoHundredFiftySix) {
  EXPECT_FALSE(cursor_bits::IsConvertibleSize(15, 15));
  EXPECT_TRUE(cursor_bits::IsConvertibleSize(16, 16));
  EXPECT_TRUE(cursor_bits::IsConvertibleSize(33, 33));
  EXPECT_TRUE(cursor_bits::IsConvertibleSize(256, 256));
  EXPECT_FALSE(cursor_bits::IsConvertibleSize(257, 257));
  EXPECT_FALSE(cursor_bits::IsConvertibleSize(32, 64));
  EXPECT_FALSE(cursor_bits::IsConvertibleSize(48, 32));
  EXPECT_FALSE(cursor_bits::IsConvertibleSize(-32, -32));
  EXPECT_FALSE(cursor_bits::IsConvertibleSize(INT32_MIN, INT32_MIN));
}

TEST(PaddedRowBytes, WholeSixteenBitWords) {
  struct Case {
    int32_t width;
    int depth, expected;
  } cases[] = {{32, 1, 4},  {40, 1, 6},   {48, 1, 6},   {33, 1, 6},   {16, 1, 2},   {256, 1, 32},
               {33, 4, 18}, {40, 4, 20},  {17, 8, 18},  {33, 24, 100}, {40, 24, 120}, {48, 16, 96},
               {0, 8, 0},   {-3, 8, 0},   {32, 0, 0},   {32, 33, 0}};
  for (const Case& c : cases)
    EXPECT_EQ(cursor_bits::PaddedRowBytes(c.width, c.depth), c.expected) << c.width << " at " << c.depth;
}

TEST_P(DepthTest, PaletteIsReadFromColumnZeroOfRowsZeroToSeventeen) {
  const int depth = GetParam();
  TestBitmap colour(ColourGeometry(32, depth));
  const PalettePixelTable expected = DistinctPalette(depth);
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x)
      SetColourAt(colour, x, y, x == 0 && y < cursor_bits::kPaletteRows ? expected.entries[y] : DepthMask(depth) - 1);
  PalettePixelTable table;
  ASSERT_TRUE(cursor_bits::ReadPalettePixels(colour.view, table));
  for (int r = 0; r < cursor_bits::kPaletteRows; ++r) EXPECT_EQ(table.entries[r], expected.entries[r]) << "row " << r;
}

TEST_P(DepthTest, PaletteIsReadOnlyFromTheThirtyTwoPixelTemplate) {
  const int depth = GetParam();
  for (int size : {16, 48, 64}) {
    TestBitmap colour(ColourGeometry(size, depth), -1, 0x11);
    PalettePixelTable untouched;
    untouched.entries[3] = 0xDEAD;
    EXPECT_FALSE(cursor_bits::ReadPalettePixels(colour.view, untouched)) << size;
    EXPECT_EQ(untouched.entries[3], 0xDEADu) << size;
  }
}

TEST_P(ShapeTest, RecolourPaintsEveryPixelByItsMaskBits) {
  const int size = GetParam().size, depth = GetParam().depth;
  const PalettePixelTable palette = DistinctPalette(depth);
  struct Choice {
    int32_t white, black;
  } choices[] = {{0, 15}, {2, 5}, {15, 0}, {13, 13}};
  for (const Choice& choice : choices) {
    const TestBitmap source = PatternedMonochrome(size, 0xC0FFEE + choice.white);
    const TestBitmap sourceBefore = source;
    // Stale contents must not survive, padding included.
    TestBitmap mask(MaskGeometry(size, size), -1, 0x5A);
    TestBitmap colour(ColourGeometry(size, depth), -1, 0xFF);
    ASSERT_TRUE(cursor_bits::RecolourMonochrome(source.view, palette, choice.white, choice.black, mask.view, colour.view));
    for (int y = 0; y < size; ++y)
      for (int x = 0; x < size; ++x) {
        const int andBit = MaskBit(source, y, x), xorBit = MaskBit(source, size + y, x);
        const uint32_t want = andBit ? palette.entries[xorBit ? 0 : 15]
                                     : palette.entries[xorBit ? choice.white : choice.black];
        ASSERT_EQ(MaskBit(mask, y, x), andBit) << "white " << choice.white << " at " << x << "," << y;
        ASSERT_EQ(ColourAt(colour, x, y), want) << "white " << choice.white << " black " << choice.black
                                                << " and/xor " << andBit << xorBit << " at " << x << "," << y;
      }
    EXPECT_TRUE(PaddingEquals(mask, TestBitmap(MaskGeometry(size, size)))) << "mask padding cleared";
    EXPECT_TRUE(PaddingEquals(colour, TestBitmap(ColourGeometry(size, depth)))) << "colour padding cleared";
    EXPECT_EQ(source.bytes, sourceBefore.bytes) << "the source mask is only read";
  }
}

TEST_P(ShapeTest, DefaultColoursLookExactlyLikeTheSource) {
  const int size = GetParam().size, depth = GetParam().depth;
  const PalettePixelTable palette = DistinctPalette(depth);
  const TestBitmap source = PatternedMonochrome(size, 7);
  TestBitmap mask(MaskGeometry(size, size));
  TestBitmap colour(ColourGeometry(size, depth));
  ASSERT_TRUE(cursor_bits::RecolourMonochrome(source.view, palette, 0, 15, mask.view, colour.view));
  // What a colour cursor shows: AND 0 draws the pixel; AND 1 exclusive-ors it with the screen,
  // so black leaves the screen and white inverts it, as the monochrome pixel did.
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x) {
      const bool isWhite = ColourAt(colour, x, y) == palette.entries[0];
      ASSERT_TRUE(isWhite || ColourAt(colour, x, y) == palette.entries[15]) << x << "," << y;
      ASSERT_EQ(MaskBit(mask, y, x), MaskBit(source, y, x)) << x << "," << y;
      ASSERT_EQ(isWhite ? 1 : 0, MaskBit(source, size + y, x)) << x << "," << y;
    }
}

TEST_P(DepthTest, IndexOutsideThePaletteKeepsThatColour) {
  const int depth = GetParam();
  const PalettePixelTable palette = DistinctPalette(depth);  // rows 16 and 17 differ from 0 and 15
  const TestBitmap source = PatternedMonochrome(32, 99);
  struct Case {
    int32_t white, black, meantWhite, meantBlack;
  } cases[] = {
      {-1, 3, 0, 3},   {16, 3, 0, 3},   {17, 3, 0, 3},  {INT_MAX, 3, 0, 3}, {INT_MIN, 3, 0, 3},
      {4, -1, 4, 15},  {4, 16, 4, 15},  {4, 17, 4, 15}, {4, INT_MIN, 4, 15}, {-7, 1000, 0, 15},
  };
  for (const Case& c : cases) {
    TestBitmap gotMask(MaskGeometry(32, 32)), gotColour(ColourGeometry(32, depth));
    TestBitmap wantMask(MaskGeometry(32, 32)), wantColour(ColourGeometry(32, depth));
    ASSERT_TRUE(cursor_bits::RecolourMonochrome(source.view, palette, c.white, c.black, gotMask.view, gotColour.view));
    ASSERT_TRUE(cursor_bits::RecolourMonochrome(source.view, palette, c.meantWhite, c.meantBlack, wantMask.view,
                                                wantColour.view));
    EXPECT_EQ(gotMask.bytes, wantMask.bytes) << c.white << "/" << c.black;
    EXPECT_EQ(gotColour.bytes, wantColour.bytes) << c.white << "/" << c.black;
  }
}

TEST_P(DepthTest, RecolourRefusesOtherShapesWithoutWriting) {
  const int depth = GetParam();
  const uint16_t d = static_cast<uint16_t>(depth);
  const PalettePixelTable palette = DistinctPalette(depth);
  struct Case {
    const char* name;
    BitmapGeometry source, mask, colour;
    long sourceSize, maskSize, colourSize;  // -1: what the record asks for
  };
  const BitmapGeometry s = MaskGeometry(32, 64), m = MaskGeometry(32, 32), c = ColourGeometry(32, depth);
  const int rb = c.rowBytes;
  const Case cases[] = {
      {"source 48 wide for a 32 cursor", MaskGeometry(48, 96), m, c, -1, -1, -1},
      {"source 15 wide", MaskGeometry(15, 30), MaskGeometry(15, 15), ColourGeometry(15, depth), -1, -1, -1},
      {"source 257 wide", MaskGeometry(257, 514), MaskGeometry(257, 257), ColourGeometry(257, depth), -1, -1, -1},
      {"source not square", MaskGeometry(32, 48), m, c, -1, -1, -1},
      {"source of colour-cursor height", MaskGeometry(32, 32), m, c, -1, -1, -1},
      {"source with spare row bytes", {32, 64, 6, 1, 1}, m, c, -1, -1, -1},
      {"source rows unpadded", {40, 80, 5, 1, 1}, MaskGeometry(40, 40), ColourGeometry(40, depth), -1, -1, -1},
      {"source of 2 planes", {32, 64, 4, 2, 1}, m, c, -1, -1, -1},
      {"source not 1 bit", {32, 64, 4, 1, 4}, m, c, -1, -1, -1},
      {"source buffer short", s, m, c, 255, -1, -1},
      {"mask 64 high", s, MaskGeometry(32, 64), c, -1, -1, -1},
      {"mask 16 wide", s, MaskGeometry(16, 32), c, -1, -1, -1},
      {"mask buffer short", s, m, c, -1, 127, -1},
      {"colour 1 bit", s, m, {32, 32, 4, 1, 1}, -1, -1, -1},
      {"colour 2 bits", s, m, {32, 32, 8, 1, 2}, -1, -1, -1},
      {"colour 15 bits", s, m, {32, 32, 60, 1, 15}, -1, -1, -1},
      {"colour 48 wide", s, m, {48, 32, WordRowBytes(48, depth), 1, d}, -1, -1, -1},
      {"colour 64 high", s, m, {32, 64, rb, 1, d}, -1, -1, -1},
      {"colour rows padded", s, m, {32, 32, rb + 2, 1, d}, -1, -1, -1},
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

// Fills every byte, padding included, with a pattern whose units differ from their partners.
void FillRandom(TestBitmap& b, uint32_t seed) {
  uint32_t state = seed;
  for (uint8_t& byte : b.bytes) byte = static_cast<uint8_t>(NextRandom(state));
}

TEST_P(ShapeTest, MirrorTurnsColourCursorAboutItsCentreLine) {
  const int size = GetParam().size, depth = GetParam().depth;
  TestBitmap mask(MaskGeometry(size, size)), colour(ColourGeometry(size, depth));
  FillRandom(mask, 1);
  FillRandom(colour, 2);
  const TestBitmap maskBefore = mask, colourBefore = colour;
  ASSERT_TRUE(cursor_bits::MirrorImage(mask.view, &colour.view));
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x) {
      ASSERT_EQ(MaskBit(mask, y, x), MaskBit(maskBefore, y, size - 1 - x)) << x << "," << y;
      ASSERT_EQ(ColourAt(colour, x, y), ColourAt(colourBefore, size - 1 - x, y)) << x << "," << y;
    }
  EXPECT_TRUE(PaddingEquals(mask, maskBefore)) << "mask padding left alone";
  EXPECT_TRUE(PaddingEquals(colour, colourBefore)) << "colour padding left alone";
  ASSERT_TRUE(cursor_bits::MirrorImage(mask.view, &colour.view));
  EXPECT_EQ(mask.bytes, maskBefore.bytes);
  EXPECT_EQ(colour.bytes, colourBefore.bytes);
}

TEST_P(SizeTest, MonochromeMirrorsBothMaskHalves) {
  const int size = GetParam();
  TestBitmap mask(MaskGeometry(size, 2 * size));
  FillRandom(mask, 3);
  const TestBitmap before = mask;
  ASSERT_TRUE(cursor_bits::MirrorImage(mask.view, nullptr));
  for (int y = 0; y < 2 * size; ++y)
    for (int x = 0; x < size; ++x)
      ASSERT_EQ(MaskBit(mask, y, x), MaskBit(before, y, size - 1 - x))
          << (y < size ? "AND " : "XOR ") << x << "," << y % size;
  EXPECT_TRUE(PaddingEquals(mask, before));
  ASSERT_TRUE(cursor_bits::MirrorImage(mask.view, nullptr));
  EXPECT_EQ(mask.bytes, before.bytes);
}

TEST(MirrorImage, SingleLitPixelsLandOnTheirPartners) {
  for (int size : {32, 40}) {
    for (int x : {0, 1, 7, 8, 15, 16, 23, 24, 31, size - 1}) {
      TestBitmap mask(MaskGeometry(size, 2 * size));
      SetMaskBit(mask, 5, x, 1);
      SetMaskBit(mask, size + 8, x, 1);  // in the XOR half
      ASSERT_TRUE(cursor_bits::MirrorImage(mask.view, nullptr));
      for (int c = 0; c < size; ++c) {
        EXPECT_EQ(MaskBit(mask, 5, c), c == size - 1 - x ? 1 : 0) << size << " from " << x << " column " << c;
        EXPECT_EQ(MaskBit(mask, size + 8, c), c == size - 1 - x ? 1 : 0) << size << " from " << x << " column " << c;
      }
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
  const BitmapGeometry c = ColourGeometry(32, depth);
  const Case cases[] = {
      {"monochrome mask 32 high", MaskGeometry(32, 32), false, c, -1, -1},
      {"colour cursor mask 64 high", MaskGeometry(32, 64), true, c, -1, -1},
      {"mask 8 wide", MaskGeometry(8, 16), false, c, -1, -1},
      {"mask 512 wide", MaskGeometry(512, 1024), false, c, -1, -1},
      {"mask rows padded", {32, 64, 6, 1, 1}, false, c, -1, -1},
      {"mask rows unpadded", {40, 80, 5, 1, 1}, false, c, -1, -1},
      {"mask buffer short", MaskGeometry(32, 64), false, c, 255, -1},
      {"colour of another size", MaskGeometry(32, 32), true, ColourGeometry(48, depth), -1, -1},
      {"colour 2 bits", MaskGeometry(32, 32), true, {32, 32, 8, 1, 2}, -1, -1},
      {"colour 1 bit", MaskGeometry(32, 32), true, {32, 32, 4, 1, 1}, -1, -1},
      {"colour 16 high", MaskGeometry(32, 32), true, {32, 16, c.rowBytes, 1, d}, -1, -1},
      {"colour rows padded", MaskGeometry(32, 32), true, {32, 32, c.rowBytes + 2, 1, d}, -1, -1},
      {"colour buffer short", MaskGeometry(32, 32), true, c, -1, 32L * c.rowBytes - 1},
  };
  for (const Case& k : cases) {
    TestBitmap mask(k.mask, k.maskSize), colour(k.colour, k.colourSize);
    FillRandom(mask, 4);
    FillRandom(colour, 5);
    const TestBitmap maskBefore = mask, colourBefore = colour;
    EXPECT_FALSE(cursor_bits::MirrorSymmetry(mask.view, k.withColour ? &colour.view : nullptr).readable) << k.name;
    EXPECT_FALSE(cursor_bits::MirrorImage(mask.view, k.withColour ? &colour.view : nullptr)) << k.name;
    EXPECT_EQ(mask.bytes, maskBefore.bytes) << k.name;
    EXPECT_EQ(colour.bytes, colourBefore.bytes) << k.name;
  }
}

// A cursor painted in columns left to right only, each pixel as its partner across their middle;
// the rest transparent (AND 1, colour or XOR 0). Monochrome without `depth`.
struct SymmetricCursor {
  TestBitmap mask, colour;
  SymmetricCursor(int size, int depth, int left, int right, uint32_t seed)
      : mask(MaskGeometry(size, depth ? size : 2 * size)), colour(ColourGeometry(size, depth ? depth : 4)) {
    uint32_t state = seed;
    for (int y = 0; y < size; ++y)
      for (int x = 0; x < size; ++x) SetMaskBit(mask, y, x, 1);
    for (int y = 0; y < size; ++y)
      for (int x = left; x <= (left + right) / 2; ++x) {
        const uint32_t r = NextRandom(state);
        // The two end columns are painted in every row, so the painted columns are left to right.
        const int andBit = x == left ? 0 : static_cast<int>(r & 1);
        for (int at : {x, left + right - x}) {
          SetMaskBit(mask, y, at, andBit);
          if (depth)
            SetColourAt(colour, at, y, (r >> 1) & DepthMask(depth));
          else
            SetMaskBit(mask, size + y, at, static_cast<int>((r >> 1) & 1));
        }
      }
  }
  cursor_bits::MirrorReport Report(bool withColour) { return cursor_bits::MirrorSymmetry(mask.view, withColour ? &colour.view : nullptr); }
};

// Symmetric shapes about their own middle (the image's centre line or off it), then one pixel
// changed: at every size and colour depth, and monochrome.
TEST_P(ShapeTest, SymmetryFindsTheAxisOfTheShapeAndAnyPixelOffIt) {
  const int size = GetParam().size;
  for (int depth : {0, GetParam().depth}) {
    for (int right : {size - 4, size - 5, size / 2}) {
      const int left = 3;
      const std::string what = std::to_string(depth) + " bpp, columns 3 to " + std::to_string(right);
      SymmetricCursor cursor(size, depth, left, right, static_cast<uint32_t>(size * 7 + right));
      cursor_bits::MirrorReport report = cursor.Report(depth != 0);
      ASSERT_TRUE(report.readable) << what;
      EXPECT_TRUE(report.painted) << what;
      EXPECT_TRUE(report.symmetric) << what << ": " << report.differing << " differ";
      EXPECT_EQ(report.axisTwice, left + right) << what;
      // Symmetric about the image's own centre line, mirroring changes nothing; else it does.
      SymmetricCursor mirrored = cursor;
      ASSERT_TRUE(cursor_bits::MirrorImage(mirrored.mask.view, depth ? &mirrored.colour.view : nullptr));
      EXPECT_EQ(left + right == size - 1, mirrored.mask.bytes == cursor.mask.bytes && mirrored.colour.bytes == cursor.colour.bytes)
          << what;

      // One pixel off the axis made unlike its partner: it and its partner differ.
      const int x = left + 1, y = size / 3;
      if (depth)
        SetColourAt(cursor.colour, x, y, ColourAt(cursor.colour, x, y) ^ 1);
      else
        SetMaskBit(cursor.mask, size + y, x, !MaskBit(cursor.mask, size + y, x));
      report = cursor.Report(depth != 0);
      EXPECT_FALSE(report.symmetric) << what;
      EXPECT_EQ(report.differing, 2u) << what;
      EXPECT_EQ(report.axisTwice, left + right) << what;
    }
  }
}

TEST(MirrorSymmetry, AClearCursorIsItsOwnMirrorImage) {
  SymmetricCursor blank(32, 0, 1, 0, 1);  // no column from 1 to 0: nothing painted
  const cursor_bits::MirrorReport report = blank.Report(false);
  EXPECT_TRUE(report.readable);
  EXPECT_FALSE(report.painted);
  EXPECT_TRUE(report.symmetric);
  EXPECT_EQ(report.axisTwice, 31);
}

// A lone pixel is its own axis; a second one beside it moves the axis between them.
TEST(MirrorSymmetry, TheAxisFollowsThePaintedColumns) {
  for (int x : {0, 1, 16, 31}) {
    TestBitmap mask(MaskGeometry(32, 64), -1, 0xFF);
    for (int y = 32; y < 64; ++y)
      for (int c = 0; c < 32; ++c) SetMaskBit(mask, y, c, 0);
    SetMaskBit(mask, 9, x, 0);
    cursor_bits::MirrorReport report = cursor_bits::MirrorSymmetry(mask.view, nullptr);
    EXPECT_TRUE(report.symmetric) << x;
    EXPECT_EQ(report.axisTwice, 2 * x) << x;
    if (x == 31) continue;
    SetMaskBit(mask, 20, x + 1, 0);
    report = cursor_bits::MirrorSymmetry(mask.view, nullptr);
    EXPECT_EQ(report.axisTwice, 2 * x + 1) << x;
    EXPECT_FALSE(report.symmetric) << x << ": the two pixels lie in different rows";
  }
}

TEST(MirroredHotspotX, StaysOnTheSamePixel) {
  struct Case {
    uint32_t x;
    int32_t width;
    uint32_t expected;
  } cases[] = {{0, 32, 31}, {31, 32, 0},  {5, 32, 26}, {16, 32, 15}, {32, 32, 0}, {0xFFFFFFFFu, 32, 0},
               {30, 64, 33}, {15, 48, 32}, {0, 256, 255}, {0, 1, 0},  {3, 0, 0},   {3, -5, 0}};
  for (const Case& c : cases) {
    EXPECT_EQ(cursor_bits::MirroredHotspotX(c.x, c.width), c.expected) << c.x << " in " << c.width;
    if (c.width > 0 && c.x < static_cast<uint32_t>(c.width)) {
      EXPECT_EQ(cursor_bits::MirroredHotspotX(cursor_bits::MirroredHotspotX(c.x, c.width), c.width), c.x);
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

// An enlarged cursor's hotspot: the centre of its pixel's block, inside the cursor.
TEST(ScaledHotspot, FallsInTheBlockOfItsPixel) {
  using cursor_bits::ScaledHotspot;
  EXPECT_EQ(1, ScaledHotspot(0, 32, 96));
  EXPECT_EQ(94, ScaledHotspot(31, 32, 96));
  EXPECT_EQ(46, ScaledHotspot(15, 32, 96));
  for (int side : {16, 32, 48, 64, 85}) {
    for (int newSide : {side, 2 * side, 3 * side, 256}) {
      for (int hotspot = 0; hotspot < side; ++hotspot) {
        const int scaled = ScaledHotspot(hotspot, side, newSide);
        // The block of pixel `hotspot` is [hotspot * newSide / side, (hotspot + 1) * newSide / side).
        EXPECT_GE(scaled, hotspot * newSide / side) << side << " " << newSide << " " << hotspot;
        EXPECT_LT(scaled, std::max((hotspot + 1) * newSide / side, hotspot * newSide / side + 1));
        EXPECT_LT(scaled, newSide);
      }
    }
  }
  EXPECT_EQ(0, ScaledHotspot(5, 0, 96));
  EXPECT_EQ(94, ScaledHotspot(1000, 32, 96)) << "a hotspot outside its cursor is held to its last pixel";
  EXPECT_EQ(1, ScaledHotspot(-4, 32, 96));
}
