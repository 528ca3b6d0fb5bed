// The artwork library: drawing on the canvas, and every file format it writes read back by an
// independent decoder written here.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "tools/imagelib/canvas.h"
#include "tools/imagelib/font.h"
#include "tools/imagelib/formats.h"

namespace {

using namespace imagelib;

uint32_t U16(const Bytes& b, size_t at) { return b.at(at) | b.at(at + 1) << 8; }
uint32_t U32(const Bytes& b, size_t at) { return U16(b, at) | U16(b, at + 2) << 16; }
uint32_t B32(const Bytes& b, size_t at) {
  return static_cast<uint32_t>(b.at(at)) << 24 | b.at(at + 1) << 16 | b.at(at + 2) << 8 | b.at(at + 3);
}
std::string Tag(const Bytes& b, size_t at) { return std::string(b.begin() + at, b.begin() + at + 4); }

const Rgba kB = Opaque(0, 0, 0), kW = Opaque(255, 255, 255);

// A picture using every case the writers distinguish.
Canvas Sample(int w, int h) {
  Canvas c(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      switch ((x + 2 * y) % 5) {
        case 0: c.Set(x, y, kWindowsPalette[(x * 3 + y) % 16]); break;
        case 1: c.Set(x, y, kTransparent); break;
        case 2: c.Set(x, y, kScreenInvert); break;
        case 3: c.Set(x, y, kB); break;
        default: c.Set(x, y, kW); break;
      }
    }
  return c;
}

// ---------------------------------------------------------------- drawing

TEST(Canvas, SetAndGetAreClippedToTheCanvas) {
  Canvas c(4, 3, kW);
  EXPECT_EQ(c.width(), 4);
  EXPECT_EQ(c.height(), 3);
  c.Set(-1, 0, kB);
  c.Set(4, 0, kB);
  c.Set(0, 3, kB);
  for (const Rgba& p : c.pixels()) EXPECT_EQ(p, kW);
  EXPECT_EQ(c.Get(-1, -1), kTransparent);
  EXPECT_EQ(Canvas(-3, 5).pixels().size(), 0u);
}

TEST(Canvas, FillRectCoversExactlyItsPixels) {
  Canvas c(10, 10);
  c.FillRect(-2, 3, 5, 2, kB);  // clipped on the left
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 10; ++x) EXPECT_EQ(c.Get(x, y) == kB, x < 3 && (y == 3 || y == 4)) << x << "," << y;
}

TEST(Canvas, LinesIncludeBothEnds) {
  struct Case {
    int x0, y0, x1, y1;
    int pixels;
  } cases[] = {{0, 0, 9, 0, 10}, {0, 0, 0, 9, 10}, {0, 0, 9, 9, 10}, {9, 2, 0, 5, 10}, {3, 3, 3, 3, 1}};
  for (const Case& k : cases) {
    Canvas c(10, 10);
    c.DrawLine(k.x0, k.y0, k.x1, k.y1, kB);
    int count = 0;
    for (const Rgba& p : c.pixels()) count += p == kB;
    EXPECT_EQ(count, k.pixels) << k.x0 << "," << k.y0 << " to " << k.x1 << "," << k.y1;
    EXPECT_EQ(c.Get(k.x0, k.y0), kB);
    EXPECT_EQ(c.Get(k.x1, k.y1), kB);
  }
}

TEST(Canvas, PolygonWithCornersOnPixelCornersFillsWhatItEncloses) {
  Canvas c(8, 8);
  c.FillPolygon({{1, 2}, {5, 2}, {5, 7}, {1, 7}}, kB);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) EXPECT_EQ(c.Get(x, y) == kB, x >= 1 && x < 5 && y >= 2 && y < 7) << x << "," << y;
  Canvas t(8, 8);
  t.FillPolygon({{0, 0}, {8, 0}, {0, 8}}, kB);  // the half above the anti-diagonal
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) EXPECT_EQ(t.Get(x, y) == kB, x + y < 7) << x << "," << y;
  Canvas few(4, 4);
  few.FillPolygon({{0, 0}, {4, 4}}, kB);  // fewer than three corners: nothing
  for (const Rgba& p : few.pixels()) EXPECT_EQ(p, kTransparent);
}

TEST(Canvas, EllipsesAreSymmetricAndRingsHollow) {
  Canvas c(21, 21);
  c.FillCircle(10.5, 10.5, 7.3, kB);
  for (int y = 0; y < 21; ++y)
    for (int x = 0; x < 21; ++x) {
      EXPECT_EQ(c.Get(x, y), c.Get(20 - x, y));
      EXPECT_EQ(c.Get(x, y), c.Get(y, x));
    }
  EXPECT_EQ(c.Get(10, 10), kB);
  EXPECT_EQ(c.Get(10, 3), kB);
  EXPECT_EQ(c.Get(10, 2), kTransparent);
  Canvas ring(21, 21);
  ring.DrawCircle(10.5, 10.5, 8, 2, kB);
  EXPECT_EQ(ring.Get(10, 10), kTransparent);
  EXPECT_EQ(ring.Get(10, 3), kB);
}

TEST(Canvas, TransformsUndoThemselves) {
  const Canvas s = Sample(7, 5);
  EXPECT_EQ(s.MirroredLeftRight().MirroredLeftRight().pixels(), s.pixels());
  EXPECT_EQ(s.MirroredLeftRight().Get(0, 1), s.Get(6, 1));
  const Canvas turned = s.RotatedQuarter(1);
  EXPECT_EQ(turned.width(), 5);
  EXPECT_EQ(turned.height(), 7);
  EXPECT_EQ(turned.Get(4, 0), s.Get(0, 0)) << "top-left goes to top-right";
  Canvas back = s;
  for (int i = 0; i < 4; ++i) back = back.RotatedQuarter(1);
  EXPECT_EQ(back.pixels(), s.pixels());
  EXPECT_EQ(s.RotatedQuarter(-1).pixels(), s.RotatedQuarter(3).pixels());
  const Canvas big = s.Enlarged(3);
  EXPECT_EQ(big.width(), 21);
  EXPECT_EQ(big.Get(20, 14), s.Get(6, 4));
  EXPECT_EQ(s.Enlarged(0).pixels(), s.pixels());
}

TEST(Canvas, OutlineSurroundsTheShapeOnly) {
  Canvas c(7, 7);
  c.FillRect(2, 2, 3, 3, kW);
  c.Outline(kB);
  for (int y = 0; y < 7; ++y)
    for (int x = 0; x < 7; ++x) {
      const bool inside = x >= 2 && x <= 4 && y >= 2 && y <= 4;
      const bool ring = !inside && x >= 1 && x <= 5 && y >= 1 && y <= 5;
      EXPECT_EQ(c.Get(x, y), inside ? kW : ring ? kB : kTransparent) << x << "," << y;
    }
}

TEST(Palette, StandardColoursMapToThemselves) {
  for (int i = 0; i < 16; ++i) EXPECT_EQ(NearestPaletteIndex(kWindowsPalette[i]), i);
  EXPECT_EQ(NearestPaletteIndex(Opaque(250, 10, 5)), kRed);
  EXPECT_EQ(NearestPaletteIndex(Opaque(100, 100, 100)), kDarkGrey);
  EXPECT_EQ(kWindowsPalette[kBlack], kB);
  EXPECT_EQ(kWindowsPalette[kWhite], kW);
}

TEST(Font, DrawsWithinItsCells) {
  Canvas c(40, 10);
  DrawText(c, 1, 1, "Hi\x01", kB, 1);
  EXPECT_EQ(TextWidth("Hi\x01"), 18);
  EXPECT_EQ(TextWidth("ab", 2), 24);
  int painted = 0;
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 40; ++x)
      if (c.Get(x, y) == kB) {
        ++painted;
        EXPECT_TRUE(x >= 1 && x < 19 && y >= 1 && y < 8) << x << "," << y;
      }
  EXPECT_GT(painted, 20);
  EXPECT_EQ(c.Get(1, 1), kB) << "H starts at its top-left";
}

// ---------------------------------------------------------------- BMP

struct DecodedBmp {
  int width = 0, height = 0, bits = 0;
  std::vector<Rgba> pixels;  // rows from the top
};

DecodedBmp DecodeBmp(const Bytes& b) {
  DecodedBmp d;
  EXPECT_EQ(b.at(0), 'B');
  EXPECT_EQ(b.at(1), 'M');
  EXPECT_EQ(U32(b, 2), b.size());
  const uint32_t offset = U32(b, 10);
  EXPECT_EQ(U32(b, 14), 40u);
  d.width = static_cast<int>(U32(b, 18));
  d.height = static_cast<int>(U32(b, 22));
  d.bits = static_cast<int>(U16(b, 28));
  EXPECT_EQ(U32(b, 30), 0u) << "uncompressed";
  const size_t stride = ((d.width * d.bits + 31) / 32) * 4;
  EXPECT_EQ(offset + stride * d.height, b.size());
  for (int y = 0; y < d.height; ++y)
    for (int x = 0; x < d.width; ++x) {
      const size_t row = offset + stride * (d.height - 1 - y);
      if (d.bits == 4) {
        const int index = x % 2 == 0 ? b.at(row + x / 2) >> 4 : b.at(row + x / 2) & 15;
        const size_t entry = 54 + 4 * index;
        d.pixels.push_back(Opaque(b.at(entry + 2), b.at(entry + 1), b.at(entry)));
      } else {
        d.pixels.push_back(Opaque(b.at(row + 3 * x + 2), b.at(row + 3 * x + 1), b.at(row + 3 * x)));
      }
    }
  return d;
}

TEST(Bmp, FourBitRoundTripThroughTheStandardPalette) {
  for (int width : {1, 7, 8, 9, 18}) {
    Canvas c(width, 5);
    for (int y = 0; y < 5; ++y)
      for (int x = 0; x < width; ++x) c.Set(x, y, kWindowsPalette[(x + 5 * y) % 16]);
    const DecodedBmp d = DecodeBmp(EncodeBmp4(c));
    ASSERT_EQ(d.width, width);
    ASSERT_EQ(d.height, 5);
    EXPECT_EQ(d.bits, 4);
    EXPECT_EQ(d.pixels, c.pixels()) << "width " << width;
  }
}

TEST(Bmp, TwentyFourBitKeepsEveryColour) {
  Canvas c(5, 3);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x) c.Set(x, y, Opaque(static_cast<uint8_t>(40 * x), static_cast<uint8_t>(80 * y), 7));
  const DecodedBmp d = DecodeBmp(EncodeBmp24(c));
  EXPECT_EQ(d.bits, 24);
  EXPECT_EQ(d.pixels, c.pixels());
}

// ---------------------------------------------------------------- ICO and CUR

// Each pixel as the platform will show it: its class, and its colour when opaque.
struct DecodedImage {
  int width = 0, height = 0, bits = 0, field1 = 0, field2 = 0;
  std::vector<Rgba> pixels;  // kTransparent, kScreenInvert, or the opaque colour
};

std::vector<DecodedImage> DecodeIconFile(const Bytes& b, int type) {
  EXPECT_EQ(U16(b, 0), 0u);
  EXPECT_EQ(U16(b, 2), static_cast<uint32_t>(type));
  const int count = static_cast<int>(U16(b, 4));
  std::vector<DecodedImage> images;
  for (int i = 0; i < count; ++i) {
    const size_t entry = 6 + 16 * i;
    DecodedImage d;
    d.width = b.at(entry) ? b.at(entry) : 256;
    d.height = b.at(entry + 1) ? b.at(entry + 1) : 256;
    d.field1 = static_cast<int>(U16(b, entry + 4));
    d.field2 = static_cast<int>(U16(b, entry + 6));
    const uint32_t size = U32(b, entry + 8), at = U32(b, entry + 12);
    EXPECT_LE(at + size, b.size());
    EXPECT_EQ(U32(b, at), 40u);
    EXPECT_EQ(static_cast<int>(U32(b, at + 4)), d.width);
    EXPECT_EQ(static_cast<int>(U32(b, at + 8)), 2 * d.height) << "header height covers XOR and AND";
    d.bits = static_cast<int>(U16(b, at + 14));
    // A palette of the image's own may be shorter than its bits allow (biClrUsed).
    const int used = static_cast<int>(U32(b, at + 32));
    const int colours = d.bits <= 8 ? (used ? used : 1 << d.bits) : 0;
    EXPECT_EQ(b.at(entry + 2), colours < 256 ? colours : 0);
    const size_t palette = at + 40, xorBits = palette + 4 * colours;
    const size_t xorStride = ((d.width * d.bits + 31) / 32) * 4, andStride = ((d.width + 31) / 32) * 4;
    const size_t andBits = xorBits + xorStride * d.height;
    EXPECT_EQ(andBits + andStride * d.height, at + size);
    for (int y = 0; y < d.height; ++y)
      for (int x = 0; x < d.width; ++x) {
        const size_t xr = xorBits + xorStride * (d.height - 1 - y), ar = andBits + andStride * (d.height - 1 - y);
        const bool andBit = (b.at(ar + x / 8) >> (7 - x % 8)) & 1;
        Rgba colour;
        if (d.bits == 24) {
          colour = Opaque(b.at(xr + 3 * x + 2), b.at(xr + 3 * x + 1), b.at(xr + 3 * x));
        } else {
          int index = d.bits == 1   ? (b.at(xr + x / 8) >> (7 - x % 8)) & 1
                      : d.bits == 8 ? b.at(xr + x)
                                    : (x % 2 == 0 ? b.at(xr + x / 2) >> 4 : b.at(xr + x / 2) & 15);
          EXPECT_LT(index, colours) << "a pixel beyond the palette";
          const size_t e = palette + 4 * index;
          colour = Opaque(b.at(e + 2), b.at(e + 1), b.at(e));
        }
        if (andBit) {
          EXPECT_TRUE(colour == kB || colour == kW) << "masked pixels are black or white";
          d.pixels.push_back(colour == kW ? kScreenInvert : kTransparent);
        } else {
          d.pixels.push_back(colour);
        }
      }
    images.push_back(d);
  }
  return images;
}

// What the sample should decode to at a depth: monochrome turns colours to black or white,
// 4 bits to the nearest palette colour.
std::vector<Rgba> Expected(const Canvas& c, CursorDepth depth) {
  std::vector<Rgba> out;
  for (const Rgba& p : c.pixels()) {
    if (p == kScreenInvert || p.a != 255) {
      out.push_back(p == kScreenInvert ? kScreenInvert : kTransparent);
    } else if (depth == CursorDepth::kMonochrome) {
      out.push_back(p.r + p.g + p.b >= 384 ? kW : kB);
    } else if (depth == CursorDepth::kColour4) {
      out.push_back(kWindowsPalette[NearestPaletteIndex(p)]);
    } else {
      out.push_back(p);
    }
  }
  return out;
}

// Indexed: every colour kept exactly, with the fewest bits its count of colours allows.
TEST(Cur, IndexedKeepsEveryColourWithThePaletteItNeeds) {
  const struct {
    int colours, bits;
  } cases[] = {{1, 4}, {5, 4}, {16, 4}, {17, 8}, {256, 8}, {257, 24}};
  for (const auto& c : cases) {
    Canvas image(32, 32);
    for (int i = 0; i < 32 * 32; ++i) {
      const int k = i % c.colours;
      image.Set(i % 32, i / 32, Opaque(static_cast<uint8_t>(k & 0xFF), static_cast<uint8_t>(k >> 8), 7));
    }
    const std::vector<DecodedImage> images = DecodeIconFile(EncodeCur(Cursor{image, 3, 4}, CursorDepth::kIndexed), 2);
    ASSERT_EQ(images.size(), 1u);
    EXPECT_EQ(images[0].bits, c.bits) << c.colours << " colours";
    EXPECT_EQ(images[0].pixels, image.pixels()) << c.colours << " colours";
  }
  // Transparent and inverting pixels are kept as the mask has them.
  const Canvas sample = Sample(32, 32);
  const std::vector<DecodedImage> images = DecodeIconFile(EncodeCur(Cursor{sample, 0, 0}, CursorDepth::kIndexed), 2);
  ASSERT_EQ(images.size(), 1u);
  EXPECT_EQ(images[0].bits, 4);
  EXPECT_EQ(images[0].pixels, Expected(sample, CursorDepth::kColour24));
}

TEST(Cur, RoundTripAtEveryDepthAndSize) {
  const CursorDepth depths[] = {CursorDepth::kMonochrome, CursorDepth::kColour4, CursorDepth::kColour24};
  const int sizes[][2] = {{32, 32}, {16, 16}, {48, 48}, {7, 3}};
  for (CursorDepth depth : depths)
    for (const auto& size : sizes) {
      const Cursor cursor{Sample(size[0], size[1]), size[0] - 1, 1};
      const std::vector<DecodedImage> images = DecodeIconFile(EncodeCur(cursor, depth), 2);
      ASSERT_EQ(images.size(), 1u);
      const DecodedImage& d = images[0];
      EXPECT_EQ(d.bits, static_cast<int>(depth));
      EXPECT_EQ(d.width, size[0]);
      EXPECT_EQ(d.height, size[1]);
      EXPECT_EQ(d.field1, size[0] - 1) << "hotspot x";
      EXPECT_EQ(d.field2, 1) << "hotspot y";
      EXPECT_EQ(d.pixels, Expected(cursor.image, depth)) << static_cast<int>(depth) << " bits, " << size[0] << "x" << size[1];
    }
}

TEST(Cur, HotspotOutsideTheImageIsKeptOnIt) {
  const std::vector<DecodedImage> images = DecodeIconFile(EncodeCur({Canvas(32, 32), 40, -3}, CursorDepth::kMonochrome), 2);
  EXPECT_EQ(images[0].field1, 31);
  EXPECT_EQ(images[0].field2, 0);
}

TEST(Ico, SeveralImagesAtFourBits) {
  const std::vector<Canvas> sources = {Sample(32, 32), Sample(16, 16)};
  const std::vector<DecodedImage> images = DecodeIconFile(EncodeIco(sources), 1);
  ASSERT_EQ(images.size(), 2u);
  for (size_t i = 0; i < 2; ++i) {
    EXPECT_EQ(images[i].bits, 4);
    EXPECT_EQ(images[i].field1, 1) << "planes";
    EXPECT_EQ(images[i].field2, 4) << "bit count";
    EXPECT_EQ(images[i].pixels, Expected(sources[i], CursorDepth::kColour4));
  }
}

// ---------------------------------------------------------------- ANI

struct Chunk {
  std::string tag;
  size_t at, size;  // data
};

std::vector<Chunk> Chunks(const Bytes& b, size_t from, size_t to) {
  std::vector<Chunk> out;
  while (from + 8 <= to) {
    const Chunk c{Tag(b, from), from + 8, U32(b, from + 4)};
    EXPECT_LE(c.at + c.size, to) << c.tag;
    out.push_back(c);
    from = c.at + c.size + (c.size % 2);
  }
  EXPECT_EQ(from, to) << "chunks fill their parent exactly";
  return out;
}

TEST(Ani, FramesRatesAndSequence) {
  Animation a;
  for (int i = 0; i < 3; ++i)
    a.frames.push_back({{Sample(32, 32), i, 2 * i}, i == 0 ? CursorDepth::kMonochrome : CursorDepth::kColour24});
  a.steps = {{0, 5}, {1, 5}, {2, 9}, {1, 5}};
  a.title = "Odd";  // odd length: the chunk is padded
  a.artist = "Us";
  const Bytes b = EncodeAni(a);
  ASSERT_EQ(Tag(b, 0), "RIFF");
  ASSERT_EQ(U32(b, 4) + 8, b.size());
  ASSERT_EQ(Tag(b, 8), "ACON");
  const std::vector<Chunk> top = Chunks(b, 12, b.size());
  std::vector<std::string> tags;
  for (const Chunk& c : top) tags.push_back(c.tag == "LIST" ? "LIST " + Tag(b, c.at) : c.tag);
  EXPECT_EQ(tags, (std::vector<std::string>{"LIST INFO", "anih", "rate", "seq ", "LIST fram"}));
  const Chunk& header = top[1];
  ASSERT_EQ(header.size, 36u);
  EXPECT_EQ(U32(b, header.at), 36u);
  EXPECT_EQ(U32(b, header.at + 4), 3u) << "frames";
  EXPECT_EQ(U32(b, header.at + 8), 4u) << "steps";
  EXPECT_EQ(U32(b, header.at + 28), 5u) << "display rate";
  EXPECT_EQ(U32(b, header.at + 32), 3u) << "icon frames with a sequence";
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(U32(b, top[2].at + 4 * i), static_cast<uint32_t>(a.steps[i].jiffies));
    EXPECT_EQ(U32(b, top[3].at + 4 * i), static_cast<uint32_t>(a.steps[i].frame));
  }
  const std::vector<Chunk> info = Chunks(b, top[0].at + 4, top[0].at + top[0].size);
  ASSERT_EQ(info.size(), 2u);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&b[info[0].at])), "Odd");
  const std::vector<Chunk> frames = Chunks(b, top[4].at + 4, top[4].at + top[4].size);
  ASSERT_EQ(frames.size(), 3u);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(frames[i].tag, "icon");
    const Bytes file(b.begin() + frames[i].at, b.begin() + frames[i].at + frames[i].size);
    const std::vector<DecodedImage> images = DecodeIconFile(file, 2);
    ASSERT_EQ(images.size(), 1u);
    EXPECT_EQ(images[0].bits, i == 0 ? 1 : 24);
    EXPECT_EQ(images[0].field1, i);
    EXPECT_EQ(images[0].field2, 2 * i);
  }
}

TEST(Ani, PlainFramesNeedNeitherRateNorSequence) {
  Animation a;
  a.frames = {{{Canvas(32, 32), 0, 0}, CursorDepth::kMonochrome}, {{Canvas(32, 32), 0, 0}, CursorDepth::kMonochrome}};
  a.defaultJiffies = 7;
  const Bytes b = EncodeAni(a);
  const std::vector<Chunk> top = Chunks(b, 12, b.size());
  ASSERT_EQ(top.size(), 2u);
  EXPECT_EQ(top[0].tag, "anih");
  EXPECT_EQ(U32(b, top[0].at + 8), 2u) << "steps";
  EXPECT_EQ(U32(b, top[0].at + 28), 7u);
  EXPECT_EQ(U32(b, top[0].at + 32), 1u) << "icon frames, no sequence";
  EXPECT_EQ(top[1].tag, "LIST");
}

// ---------------------------------------------------------------- PNG

uint32_t ReferenceCrc(const uint8_t* p, size_t n) {
  uint32_t table[256];
  for (uint32_t i = 0; i < 256; ++i) {
    uint32_t c = i;
    for (int k = 0; k < 8; ++k) c = c & 1 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
    table[i] = c;
  }
  uint32_t crc = 0xFFFFFFFFu;
  for (size_t i = 0; i < n; ++i) crc = table[(crc ^ p[i]) & 0xFF] ^ (crc >> 8);
  return crc ^ 0xFFFFFFFFu;
}

TEST(Png, ChunksChecksumsAndStoredPixels) {
  for (int width : {3, 200}) {  // 200 x 90 x 4 needs more than one stored block
    Canvas c(width, 90);
    for (int y = 0; y < 90; ++y)
      for (int x = 0; x < width; ++x) c.Set(x, y, Rgba{static_cast<uint8_t>(x), static_cast<uint8_t>(y), 9, static_cast<uint8_t>(x ^ y)});
    const Bytes b = EncodePng(c);
    ASSERT_EQ((Bytes{b.begin(), b.begin() + 8}), (Bytes{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'}));
    size_t at = 8;
    Bytes zlib;
    std::vector<std::string> tags;
    while (at < b.size()) {
      const uint32_t length = B32(b, at);
      tags.push_back(Tag(b, at + 4));
      EXPECT_EQ(B32(b, at + 8 + length), ReferenceCrc(&b[at + 4], length + 4)) << tags.back();
      if (tags.back() == "IHDR") {
        EXPECT_EQ(B32(b, at + 8), static_cast<uint32_t>(width));
        EXPECT_EQ(B32(b, at + 12), 90u);
        EXPECT_EQ(b[at + 16], 8);
        EXPECT_EQ(b[at + 17], 6) << "RGBA";
      }
      if (tags.back() == "IDAT") zlib.insert(zlib.end(), b.begin() + at + 8, b.begin() + at + 8 + length);
      at += 12 + length;
    }
    EXPECT_EQ(tags, (std::vector<std::string>{"IHDR", "IDAT", "IEND"}));
    ASSERT_GE(zlib.size(), 6u);
    EXPECT_EQ((zlib[0] * 256 + zlib[1]) % 31, 0) << "zlib header check";
    Bytes raw;
    size_t z = 2;
    bool last = false;
    while (!last) {
      last = zlib.at(z) & 1;
      EXPECT_EQ(zlib.at(z) >> 1, 0) << "stored block";
      const uint32_t len = U16(zlib, z + 1), nlen = U16(zlib, z + 3);
      EXPECT_EQ(len ^ 0xFFFF, nlen);
      raw.insert(raw.end(), zlib.begin() + z + 5, zlib.begin() + z + 5 + len);
      z += 5 + len;
    }
    uint32_t s1 = 1, s2 = 0;
    for (uint8_t v : raw) {
      s1 = (s1 + v) % 65521;
      s2 = (s2 + s1) % 65521;
    }
    EXPECT_EQ(B32(zlib, z), (s2 << 16) | s1) << "adler-32";
    ASSERT_EQ(raw.size(), static_cast<size_t>(90) * (1 + 4 * width));
    for (int y = 0; y < 90; ++y) {
      const size_t row = static_cast<size_t>(y) * (1 + 4 * width);
      ASSERT_EQ(raw[row], 0) << "filter";
      for (int x = 0; x < width; ++x) {
        const Rgba p = c.Get(x, y);
        ASSERT_EQ((Bytes{raw.begin() + row + 1 + 4 * x, raw.begin() + row + 5 + 4 * x}), (Bytes{p.r, p.g, p.b, p.a}));
      }
    }
  }
}

TEST(Files, WriteAndFolders) {
  const std::string folder = ::testing::TempDir() + "imagelib_test/a/b";
  ASSERT_TRUE(MakeFolders(folder));
  EXPECT_TRUE(MakeFolders(folder)) << "already there";
  EXPECT_TRUE(WriteFile(folder + "/x.bin", {1, 2, 3}));
  EXPECT_FALSE(WriteFile(folder + "/missing/x.bin", {1}));
}

}  // namespace
