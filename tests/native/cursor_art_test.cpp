// The library cursors as cursorgen writes them: both names present, every file well formed
// (static files also decoded by ImageMagick's identify), and each cursor looking like its name.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "installer/file_manifest.h"
#include "tests/common/test_environment.h"
#include "utility/cursor/shipped_schemes.h"
#include "utility/cursor/transform_bits.h"

namespace {

const std::string kArt = RequiredEnvironment("CURSOR_ART_DIR");

using Bytes = std::vector<uint8_t>;

Bytes ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

uint32_t U16(const Bytes& b, size_t at) { return b.at(at) | b.at(at + 1) << 8; }
uint32_t U32(const Bytes& b, size_t at) { return U16(b, at) | U16(b, at + 2) << 16; }
std::string Tag(const Bytes& b, size_t at) { return std::string(b.begin() + at, b.begin() + at + 4); }

std::string LibraryPath(std::string destination) {
  for (char& c : destination)
    if (c == '\\') c = '/';
  return kArt + "/library/" + destination;
}

bool IsAnimated(const std::string& name) { return name.size() > 4 && name.compare(name.size() - 4, 4, ".ANI") == 0; }

enum class Pixel { kClear, kBlack, kWhite, kInvert, kColour };

// One cursor image as the platform shows it.
struct Image {
  int width = 0, height = 0, bits = 0, hotX = -1, hotY = -1;
  std::vector<Pixel> pixels;
  std::vector<uint32_t> colours;  // 0xRRGGBB of each pixel's XOR value
  Pixel At(int x, int y) const { return pixels[y * width + x]; }
  bool Painted(int x, int y) const { return At(x, y) != Pixel::kClear; }
};

// The number of images in a cursor file's directory; fails the test if it is no cursor file.
int ImageCount(const Bytes& b, const std::string& what) {
  if (b.size() < 6 || U16(b, 0) != 0 || U16(b, 2) != 2 || U16(b, 4) == 0 || b.size() < 6 + 16u * U16(b, 4)) {
    ADD_FAILURE() << what << ": not a cursor file";
    return 0;
  }
  return static_cast<int>(U16(b, 4));
}

// Decodes image `index` of a cursor file; fails the test (and returns an empty image) if malformed.
Image DecodeCursor(const Bytes& b, const std::string& what, int index = 0) {
  Image img;
  if (index >= ImageCount(b, what) || b.size() < 6 + 16 + 40) {
    ADD_FAILURE() << what << ": no image " << index;
    return img;
  }
  const size_t entry = 6 + 16 * static_cast<size_t>(index);
  img.width = b[entry] ? b[entry] : 256;
  img.height = b[entry + 1] ? b[entry + 1] : 256;
  img.hotX = static_cast<int>(U16(b, entry + 4));
  img.hotY = static_cast<int>(U16(b, entry + 6));
  const size_t size = U32(b, entry + 8), at = U32(b, entry + 12);
  if (at + size > b.size() || U32(b, at) != 40 || static_cast<int>(U32(b, at + 8)) != 2 * img.height) {
    ADD_FAILURE() << what << ": bad image header";
    return {};
  }
  img.bits = static_cast<int>(U16(b, at + 14));
  // A palette of the image's own may be shorter than the bit count allows (biClrUsed).
  const int coloursUsed = static_cast<int>(U32(b, at + 32));
  const int colours = img.bits <= 8 ? (coloursUsed ? coloursUsed : 1 << img.bits) : 0;
  const size_t xorBits = at + 40 + 4 * colours;
  const size_t xorStride = ((img.width * img.bits + 31) / 32) * 4, andStride = ((img.width + 31) / 32) * 4;
  const size_t andBits = xorBits + xorStride * img.height;
  if (andBits + andStride * img.height > at + size) {
    ADD_FAILURE() << what << ": bits run past the image";
    return {};
  }
  for (int y = 0; y < img.height; ++y)
    for (int x = 0; x < img.width; ++x) {
      const size_t xr = xorBits + xorStride * (img.height - 1 - y), ar = andBits + andStride * (img.height - 1 - y);
      const bool andBit = (b[ar + x / 8] >> (7 - x % 8)) & 1;
      uint8_t r, g, bl;
      if (img.bits == 24) {
        bl = b[xr + 3 * x], g = b[xr + 3 * x + 1], r = b[xr + 3 * x + 2];
      } else {
        const int index = img.bits == 1   ? (b[xr + x / 8] >> (7 - x % 8)) & 1
                          : img.bits == 8 ? b[xr + x]
                                          : (x % 2 == 0 ? b[xr + x / 2] >> 4 : b[xr + x / 2] & 15);
        if (index >= colours) {
          ADD_FAILURE() << what << ": a pixel beyond the palette";
          return {};
        }
        const size_t e = at + 40 + 4 * index;
        bl = b[e], g = b[e + 1], r = b[e + 2];
      }
      img.colours.push_back(static_cast<uint32_t>(r) << 16 | g << 8 | bl);
      const bool white = r == 255 && g == 255 && bl == 255, black = r == 0 && g == 0 && bl == 0;
      if (andBit)
        img.pixels.push_back(white ? Pixel::kInvert : Pixel::kClear);
      else
        img.pixels.push_back(white ? Pixel::kWhite : black ? Pixel::kBlack : Pixel::kColour);
    }
  return img;
}

struct Chunk {
  std::string tag;
  size_t at = 0, size = 0;
};

bool ReadChunks(const Bytes& b, size_t from, size_t to, std::vector<Chunk>& out) {
  while (from + 8 <= to) {
    Chunk c{Tag(b, from), from + 8, U32(b, from + 4)};
    if (c.at + c.size > to) return false;
    out.push_back(c);
    from = c.at + c.size + (c.size % 2);
  }
  return from == to;
}

struct AnimatedCursor {
  uint32_t frameCount = 0, stepCount = 0, rate = 0, flags = 0;
  std::vector<uint32_t> rates, sequence;
  std::vector<Image> frames;
};

// The frames of a well-formed animated cursor as the cursor files they are.
std::vector<Bytes> FrameFiles(const Bytes& b, const std::string& what) {
  std::vector<Bytes> files;
  std::vector<Chunk> top;
  if (b.size() < 12 || !ReadChunks(b, 12, b.size(), top)) {
    ADD_FAILURE() << what << ": not a well-formed RIFF file";
    return files;
  }
  for (const Chunk& c : top) {
    if (c.tag != "LIST" || Tag(b, c.at) != "fram") continue;
    std::vector<Chunk> icons;
    EXPECT_TRUE(ReadChunks(b, c.at + 4, c.at + c.size, icons)) << what;
    for (const Chunk& icon : icons) files.emplace_back(b.begin() + icon.at, b.begin() + icon.at + icon.size);
  }
  return files;
}

AnimatedCursor DecodeAnimated(const Bytes& b, const std::string& what) {
  AnimatedCursor a;
  std::vector<Chunk> top;
  if (b.size() < 12 || Tag(b, 0) != "RIFF" || Tag(b, 8) != "ACON" || U32(b, 4) + 8 != b.size() ||
      !ReadChunks(b, 12, b.size(), top)) {
    ADD_FAILURE() << what << ": not a well-formed RIFF ACON file";
    return a;
  }
  bool header = false;
  for (const Chunk& c : top) {
    if (c.tag == "anih") {
      EXPECT_EQ(c.size, 36u) << what;
      EXPECT_EQ(U32(b, c.at), 36u) << what;
      a.frameCount = U32(b, c.at + 4);
      a.stepCount = U32(b, c.at + 8);
      a.rate = U32(b, c.at + 28);
      a.flags = U32(b, c.at + 32);
      header = true;
    } else if (c.tag == "rate" || c.tag == "seq ") {
      std::vector<uint32_t>& list = c.tag == "rate" ? a.rates : a.sequence;
      for (size_t i = 0; i + 4 <= c.size; i += 4) list.push_back(U32(b, c.at + i));
    } else if (c.tag == "LIST" && Tag(b, c.at) == "fram") {
      std::vector<Chunk> icons;
      EXPECT_TRUE(ReadChunks(b, c.at + 4, c.at + c.size, icons)) << what;
      for (const Chunk& icon : icons) {
        EXPECT_EQ(icon.tag, "icon") << what;
        a.frames.push_back(DecodeCursor(Bytes(b.begin() + icon.at, b.begin() + icon.at + icon.size), what + " frame"));
      }
    }
  }
  EXPECT_TRUE(header) << what << ": no anih header";
  return a;
}

std::string RunCommand(const std::string& command, int& status) {
  std::string output;
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) {
    status = -1;
    return output;
  }
  char buffer[512];
  while (fgets(buffer, sizeof buffer, pipe)) output += buffer;
  status = pclose(pipe);
  return output;
}

// The kinds file (tag, 8.3 name, destination name): destination name -> list tag.
std::map<std::string, std::string> Kinds() {
  std::map<std::string, std::string> kinds;
  std::ifstream in(kArt + "/cursor-kinds.txt");
  std::string line;
  while (std::getline(in, line)) {
    const size_t tab = line.find('\t'), second = line.find('\t', tab + 1);
    if (second != std::string::npos) kinds[line.substr(second + 1)] = line.substr(0, tab);
  }
  return kinds;
}

// Every image of a library file: the static image or all frames of an animation.
std::vector<Image> ImagesOf(const std::string& destination) {
  const Bytes bytes = ReadFile(LibraryPath(destination));
  if (IsAnimated(destination)) return DecodeAnimated(bytes, destination).frames;
  return {DecodeCursor(bytes, destination)};
}

struct Box {
  int left = 99, top = 99, right = -1, bottom = -1;
  int Width() const { return right - left + 1; }
  int Height() const { return bottom - top + 1; }
};
Box PaintedBox(const Image& img) {
  Box b;
  for (int y = 0; y < img.height; ++y)
    for (int x = 0; x < img.width; ++x)
      if (img.Painted(x, y)) {
        b.left = std::min(b.left, x), b.right = std::max(b.right, x);
        b.top = std::min(b.top, y), b.bottom = std::max(b.bottom, y);
      }
  return b;
}
int Count(const Image& img, Pixel kind) {
  int n = 0;
  for (Pixel p : img.pixels) n += p == kind;
  return n;
}

// ---------------------------------------------------------------- files

TEST(CursorArt, EveryManifestCursorUnderBothNamesFromOneDrawing) {
  for (int row = kFirstCursorRow; row < kManifestRows; ++row) {
    const std::string destination = FileManifest[row].destinationName;
    const Bytes library = ReadFile(LibraryPath(destination));
    const Bytes medium = ReadFile(kArt + "/medium/" + FileManifest[row].sourceName);
    EXPECT_FALSE(library.empty()) << destination;
    EXPECT_EQ(library, medium) << destination << " and " << FileManifest[row].sourceName;
  }
}

TEST(CursorArt, KindsCoverTheLibraryAndMixColourAndMonochrome) {
  const std::map<std::string, std::string> kinds = Kinds();
  ASSERT_EQ(kinds.size(), static_cast<size_t>(kManifestRows - kFirstCursorRow));
  std::map<std::string, int> tally;
  for (int row = kFirstCursorRow; row < kManifestRows; ++row) {
    const std::string destination = FileManifest[row].destinationName;
    ASSERT_EQ(kinds.count(destination), 1u) << destination;
    const std::string& tag = kinds.at(destination);
    EXPECT_EQ(tag[1], IsAnimated(destination) ? 'a' : 's') << destination;
    ++tally[tag];
  }
  EXPECT_GE(tally["[am]"], 1);
  EXPECT_GE(tally["[ac]"], 1);
  EXPECT_GT(tally["[sm]"], 2 * tally["[sc]"]) << "most static cursors are monochrome";
  for (const char* colour : {"NORMAL\\Arrowhead (3D).CUR", "NORMAL\\Apollo.CUR", "APPSTART\\Apollo (no flame).CUR"})
    EXPECT_EQ(kinds.at(colour), "[sc]") << colour;
}

TEST(CursorArt, StaticFilesDecodeHereAndWithIdentify) {
  const std::map<std::string, std::string> kinds = Kinds();
  int status = 0;
  RunCommand("identify -version >/dev/null 2>&1", status);
  if (status != 0) GTEST_SKIP() << "ImageMagick's identify is not installed";
  for (int row = kFirstCursorRow; row < kManifestRows; ++row) {
    const std::string destination = FileManifest[row].destinationName;
    if (IsAnimated(destination)) continue;
    const Image img = DecodeCursor(ReadFile(LibraryPath(destination)), destination);
    EXPECT_EQ(img.width, 32) << destination;
    EXPECT_EQ(img.height, 32) << destination;
    const bool monochrome = kinds.at(destination)[2] == 'm';
    EXPECT_EQ(img.bits == 1, monochrome) << destination;
    const std::string file = kArt + "/medium/" + FileManifest[row].sourceName;
    const std::string out = RunCommand("identify '" + file + "' 2>&1", status);
    EXPECT_EQ(status, 0) << destination << ": " << out;
    for (const char* size : {" CUR 32x32 ", " CUR 48x48 ", " CUR 64x64 ", " CUR 96x96 ", " CUR 128x128 "})
      EXPECT_NE(out.find(size), std::string::npos) << destination << ": " << out;
    if (monochrome) {
      EXPECT_NE(out.find("1-bit"), std::string::npos) << destination << ": " << out;
    }
  }
}

// Static files carry the cursor at 32, 48 and 64 pixels for desktops of 100, 150 and 200 %,
// the same cursor at each: same depth, the hotspot where the 32-pixel one has it (scaled) and
// on a painted pixel, the painted area scaled with it.
// The sides every static file and every frame of an animation carries, in order.
constexpr int kSides[] = {32, 48, 64, 96, 128};

// Each image of a cursor file is the 32-pixel one drawn at its own side: square, monochrome
// where it is, the hotspot on a painted pixel where the scaled one would be, the shape as large.
void ExpectEverySizeOfTheSameCursor(const Bytes& bytes, const std::string& what) {
  ASSERT_EQ(ImageCount(bytes, what), 5) << what;
  const Image base = DecodeCursor(bytes, what, 0);
  ASSERT_EQ(base.width, 32) << what;
  const Box baseBox = PaintedBox(base);
  for (int index = 1; index < 5; ++index) {
    const Image img = DecodeCursor(bytes, what, index);
    const double scale = kSides[index] / 32.0;
    const std::string at = what + " at " + std::to_string(img.width);
    ASSERT_EQ(img.width, kSides[index]) << at;
    ASSERT_EQ(img.height, img.width) << at;
    EXPECT_EQ(img.bits == 1, base.bits == 1) << at;
    ASSERT_TRUE(img.hotX >= 0 && img.hotX < img.width && img.hotY >= 0 && img.hotY < img.height) << at;
    EXPECT_TRUE(img.Painted(img.hotX, img.hotY)) << at << ": hotspot " << img.hotX << "," << img.hotY;
    EXPECT_NEAR(img.hotX, base.hotX * scale, 1.0 + scale) << at;
    EXPECT_NEAR(img.hotY, base.hotY * scale, 1.0 + scale) << at;
    const Box box = PaintedBox(img);
    EXPECT_NEAR(box.Width(), baseBox.Width() * scale, 1.0 + 1.5 * scale) << at;
    EXPECT_NEAR(box.Height(), baseBox.Height() * scale, 1.0 + 1.5 * scale) << at;
  }
}

TEST(CursorArt, StaticFilesCarryFiveSizesOfTheSameCursor) {
  for (int row = kFirstCursorRow; row < kManifestRows; ++row) {
    const std::string destination = FileManifest[row].destinationName;
    if (IsAnimated(destination)) continue;
    ExpectEverySizeOfTheSameCursor(ReadFile(LibraryPath(destination)), destination);
  }
}

TEST(CursorArt, EveryFrameOfAnAnimationCarriesFiveSizes) {
  for (int row = kFirstCursorRow; row < kManifestRows; ++row) {
    const std::string destination = FileManifest[row].destinationName;
    if (!IsAnimated(destination)) continue;
    const Bytes bytes = ReadFile(LibraryPath(destination));
    int frame = 0;
    for (const Bytes& file : FrameFiles(bytes, destination)) {
      ExpectEverySizeOfTheSameCursor(file, destination + " frame " + std::to_string(frame++));
    }
    EXPECT_GE(frame, 3) << destination;
  }
}

// Curved outlines drawn afresh at 64 and 128 pixels are not the 32-pixel image with each pixel
// doubled or quadrupled.
TEST(CursorArt, LargerSizesAreDrawnNotStretched) {
  for (const char* destination : {"NORMAL\\Giant white arrow.CUR", "NORMAL\\White dot.CUR", "NORMAL\\Inflated arrow.CUR",
                                  "BUSY\\Hamster on treadmill.CUR"}) {
    const Bytes bytes = ReadFile(LibraryPath(destination));
    const Image small = DecodeCursor(bytes, destination, 0);
    for (int index : {2, 4}) {
      const Image large = DecodeCursor(bytes, destination, index);
      const int factor = large.width / 32;
      ASSERT_EQ(large.width, kSides[index]) << destination;
      int differing = 0;
      for (int y = 0; y < large.width; ++y)
        for (int x = 0; x < large.width; ++x) differing += large.At(x, y) != small.At(x / factor, y / factor);
      EXPECT_GT(differing, 20 * factor) << destination << ": the " << large.width << "-pixel image is the 32-pixel one enlarged";
    }
  }
}

TEST(CursorArt, AnimatedFilesAreWellFormedAndLoop) {
  const std::map<std::string, std::string> kinds = Kinds();
  for (int row = kFirstCursorRow; row < kManifestRows; ++row) {
    const std::string destination = FileManifest[row].destinationName;
    if (!IsAnimated(destination)) continue;
    const AnimatedCursor a = DecodeAnimated(ReadFile(LibraryPath(destination)), destination);
    EXPECT_EQ(a.frameCount, a.frames.size()) << destination << ": anih frame count";
    EXPECT_GE(a.frames.size(), 3u) << destination;
    EXPECT_TRUE(a.flags & 1) << destination << ": frames are cursor images";
    EXPECT_EQ((a.flags & 2) != 0, !a.sequence.empty()) << destination << ": sequence flag";
    const uint32_t steps = a.sequence.empty() ? a.frameCount : static_cast<uint32_t>(a.sequence.size());
    EXPECT_EQ(a.stepCount, steps) << destination;
    if (!a.rates.empty()) {
      EXPECT_EQ(a.rates.size(), steps) << destination;
    }
    for (uint32_t s : a.sequence) EXPECT_LT(s, a.frameCount) << destination;
    std::vector<uint32_t> rates = a.rates.empty() ? std::vector<uint32_t>{a.rate} : a.rates;
    for (uint32_t r : rates) {
      EXPECT_GE(r, 2u) << destination << ": faster than 30 frames a second";
      EXPECT_LE(r, 30u) << destination << ": slower than two a second";
    }
    bool changes = false;
    for (const Image& f : a.frames) {
      EXPECT_EQ(f.width, 32) << destination;
      EXPECT_EQ(f.height, 32) << destination;
      changes = changes || f.pixels != a.frames[0].pixels || f.colours != a.frames[0].colours;
    }
    EXPECT_TRUE(changes) << destination << ": the frames differ";
    ASSERT_FALSE(a.frames.empty());
    EXPECT_EQ(a.frames[0].bits == 1, kinds.at(destination)[2] == 'm') << destination << ": first frame's depth";
  }
}

// ---------------------------------------------------------------- looks

TEST(CursorLooks, HotspotSitsOnAPaintedPixel) {
  for (int row = kFirstCursorRow; row < kManifestRows; ++row) {
    const std::string destination = FileManifest[row].destinationName;
    int frame = 0;
    for (const Image& img : ImagesOf(destination)) {
      ASSERT_TRUE(img.hotX >= 0 && img.hotX < 32 && img.hotY >= 0 && img.hotY < 32) << destination;
      EXPECT_TRUE(img.Painted(img.hotX, img.hotY))
          << destination << " frame " << frame << ": hotspot " << img.hotX << "," << img.hotY << " is transparent";
      ++frame;
    }
  }
}

TEST(CursorLooks, HotspotWhereUsersExpectIt) {
  struct Case {
    const char* destination;
    int x0, y0, x1, y1;  // the hotspot lies in this box
  } cases[] = {
      {"NORMAL\\Giant white arrow.CUR", 0, 0, 1, 1},     {"NORMAL\\Small black arrow.CUR", 0, 0, 1, 1},
      {"NORMAL\\Skinny arrow.CUR", 0, 0, 1, 1},          {"NORMAL\\Medium size arrow.CUR", 0, 0, 1, 1},
      {"NORMAL\\Hollow (outline) arrow.CUR", 0, 0, 1, 1}, {"NORMAL\\Arrowhead (3D).CUR", 0, 0, 1, 1},
      {"NORMAL\\Inflated arrow.CUR", 0, 0, 2, 2},        {"NORMAL\\Apollo.CUR", 0, 0, 2, 2},
      {"NORMAL\\Ballpoint pen (up).CUR", 0, 0, 2, 2},    {"NORMAL\\Ballpoint pen (down).CUR", 0, 29, 2, 31},
      {"NORMAL\\Down arrow.CUR", 14, 29, 16, 31},        {"NORMAL\\Pointing finger.CUR", 9, 0, 13, 1},
      {"NORMAL\\Black cross.CUR", 15, 15, 15, 15},       {"NORMAL\\White dot.CUR", 15, 15, 15, 15},
      {"NORMAL\\Small crosshair.CUR", 15, 15, 15, 15},   {"NORMAL\\Inverter with crosshair.CUR", 15, 15, 15, 15},
      {"IBEAM\\Huge I-beam.CUR", 15, 15, 15, 15},        {"IBEAM\\Large I-beam.CUR", 15, 15, 15, 15},
      {"SIZING\\BIG_NS.CUR", 15, 15, 15, 15},            {"SIZING\\BIG_NW.CUR", 15, 15, 15, 15},
      {"NORMAL\\Ambidextrous arrow.CUR", 15, 0, 16, 0},
  };
  for (const Case& c : cases) {
    const Image img = ImagesOf(c.destination).front();
    EXPECT_TRUE(img.hotX >= c.x0 && img.hotX <= c.x1 && img.hotY >= c.y0 && img.hotY <= c.y1)
        << c.destination << ": hotspot " << img.hotX << "," << img.hotY;
  }
}

TEST(CursorLooks, SizesFollowTheirNames) {
  const auto height = [](const char* d) { return PaintedBox(ImagesOf(d).front()).Height(); };
  EXPECT_GE(height("NORMAL\\Giant white arrow.CUR"), 29);
  EXPECT_GE(height("NORMAL\\Giant black arrow.CUR"), 29);
  EXPECT_GE(height("NORMAL\\Giant inverting arrow.CUR"), 29);
  EXPECT_GT(height("NORMAL\\Medium size arrow.CUR"), 21);
  EXPECT_LT(height("NORMAL\\Medium size arrow.CUR"), height("NORMAL\\Giant white arrow.CUR"));
  EXPECT_LE(height("NORMAL\\Small black arrow.CUR"), 16);
  EXPECT_GE(height("IBEAM\\Huge I-beam.CUR"), 29);
  EXPECT_LT(height("IBEAM\\Large I-beam.CUR"), height("IBEAM\\Huge I-beam.CUR"));
  EXPECT_GE(height("IBEAM\\Large I-beam.CUR"), 22);
  EXPECT_LT(PaintedBox(ImagesOf("NORMAL\\Small Inverting Dot.CUR").front()).Width(),
            PaintedBox(ImagesOf("NORMAL\\Large Inverting Dot.CUR").front()).Width() / 2);
  EXPECT_LE(PaintedBox(ImagesOf("NORMAL\\Small crosshair.CUR").front()).Width(), 19);
}

TEST(CursorLooks, InvertingCursorsInvert) {
  for (const char* d : {"NORMAL\\Giant inverting arrow.CUR", "NORMAL\\Small Inverting Dot.CUR",
                        "NORMAL\\Large Inverting Dot.CUR", "NORMAL\\Inverter with crosshair.CUR"}) {
    const Image img = ImagesOf(d).front();
    const int painted = 32 * 32 - Count(img, Pixel::kClear);
    EXPECT_GT(Count(img, Pixel::kInvert), painted / 2) << d;
  }
}

TEST(CursorLooks, HollowArrowIsAnOutline) {
  const Image hollow = ImagesOf("NORMAL\\Hollow (outline) arrow.CUR").front();
  EXPECT_EQ(Count(hollow, Pixel::kWhite), 0);
  EXPECT_GT(Count(hollow, Pixel::kBlack), 40);
  EXPECT_FALSE(hollow.Painted(3, 10)) << "inside the outline";
  const Image solid = ImagesOf("NORMAL\\Medium size arrow.CUR").front();
  EXPECT_TRUE(solid.Painted(3, 10));
}

TEST(CursorLooks, AmbidextrousArrowIsSymmetric) {
  const Image img = ImagesOf("NORMAL\\Ambidextrous arrow.CUR").front();
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 16; ++x) EXPECT_EQ(img.At(x, y), img.At(31 - x, y)) << x << "," << y;
}

TEST(CursorLooks, SizingArrowsAreLargeDoubleArrowsInTheirDirections) {
  struct Case {
    const char* destination;
    int dx, dy;  // the direction they point along
  } cases[] = {{"SIZING\\BIG_NS.CUR", 0, 1}, {"SIZING\\BIG_EW.CUR", 1, 0}, {"SIZING\\BIG_NW.CUR", 1, 1}, {"SIZING\\BIG_NE.CUR", 1, -1}};
  for (const Case& c : cases) {
    const Image img = ImagesOf(c.destination).front();
    EXPECT_EQ(img.bits, 1) << c.destination;
    // Double-headed: the same after half a turn about the centre pixel (15, 15).
    int asymmetric = 0;
    for (int y = 0; y < 31; ++y)
      for (int x = 0; x < 31; ++x) asymmetric += img.Painted(x, y) != img.Painted(30 - x, 30 - y);
    EXPECT_LT(asymmetric, 20) << c.destination;
    // Long along its direction, the tips near the edges of the canvas.
    int far = 0;
    for (int t = -15; t <= 15; ++t) {
      const int x = 15 + t * c.dx, y = 15 + t * c.dy;
      if (x >= 0 && y >= 0 && x < 32 && y < 32 && img.Painted(x, y)) far = std::max(far, std::abs(t));
    }
    EXPECT_GE(far, c.dx && c.dy ? 12 : 14) << c.destination;
    // And narrow across it.
    int across = 0;
    for (int t = -15; t <= 15; ++t) {
      const int x = 15 - t * c.dy, y = 15 + t * c.dx;
      if (x >= 0 && y >= 0 && x < 32 && y < 32 && img.Painted(x, y)) across = std::max(across, std::abs(t));
    }
    EXPECT_LE(across, 4) << c.destination << ": the shaft";
  }
}

// ---------------------------------------------------------------- the shipped schemes

std::string SchemeFile(const ShippedScheme& scheme, size_t role) {
  return std::string(kCursorRoles[role].folder) + scheme.files[role];
}

// Every image of a library file at every size: each size of a static file, each size of every
// frame of an animation.
std::vector<Image> EverySize(const std::string& destination) {
  const Bytes bytes = ReadFile(LibraryPath(destination));
  const std::vector<Bytes> files = IsAnimated(destination) ? FrameFiles(bytes, destination) : std::vector<Bytes>{bytes};
  std::vector<Image> images;
  for (const Bytes& file : files)
    for (int index = 0; index < ImageCount(file, destination); ++index) images.push_back(DecodeCursor(file, destination, index));
  return images;
}

// Where a role's hotspot belongs: at the tip of what points, in the middle of what is centred,
// in the middle third of a busy picture (the centre of a watch's face, below its crown).
enum class Hot { kTopLeft, kTop, kBottomLeft, kCentre, kMiddleThird };
// Whether a role's picture is its own mirror image, left to right.
enum class Mirror { kOwn, kNot, kEither };
struct RoleLook {
  Hot hot;
  Mirror mirror;
};
constexpr RoleLook kRoleLooks[kRoleCount] = {
    {Hot::kTopLeft, Mirror::kNot},     // Normal
    {Hot::kTopLeft, Mirror::kNot},     // Help
    {Hot::kTopLeft, Mirror::kNot},     // App Starting
    {Hot::kMiddleThird, Mirror::kEither},  // Busy
    {Hot::kCentre, Mirror::kOwn},      // Precision
    {Hot::kCentre, Mirror::kOwn},      // I-Beam
    {Hot::kBottomLeft, Mirror::kNot},  // Handwriting
    {Hot::kCentre, Mirror::kNot},      // Unavailable: the slash runs one way
    {Hot::kCentre, Mirror::kOwn},      // Vertical resize
    {Hot::kCentre, Mirror::kOwn},      // Horizontal resize
    {Hot::kCentre, Mirror::kNot},      // Diagonal resize 1
    {Hot::kCentre, Mirror::kNot},      // Diagonal resize 2
    {Hot::kCentre, Mirror::kOwn},      // Move
    {Hot::kTop, Mirror::kOwn},         // Alternate
    {Hot::kTop, Mirror::kNot},         // Link
    {Hot::kTopLeft, Mirror::kNot},     // Location
    {Hot::kTopLeft, Mirror::kNot},     // Person
};

// The hotspot is within one design unit (scale pixels) of where the role needs it.
void ExpectHotspotFor(Hot where, const Image& img, const std::string& what) {
  const double slack = img.width / 32.0;
  const Box box = PaintedBox(img);
  int extreme = INT_MIN;  // how far the painted pixel furthest the way the tip points lies
  for (int y = 0; y < img.height; ++y)
    for (int x = 0; x < img.width; ++x)
      if (img.Painted(x, y)) extreme = std::max(extreme, where == Hot::kTopLeft ? -(x + y) : y - x);
  switch (where) {
    case Hot::kTopLeft:
      EXPECT_LE(img.hotX + img.hotY, -extreme + slack) << what << ": not at the tip";
      break;
    case Hot::kBottomLeft:
      EXPECT_GE(img.hotY - img.hotX, extreme - slack) << what << ": not at the point";
      break;
    case Hot::kTop: {
      EXPECT_LE(img.hotY, box.top + slack) << what << ": not at the top";
      int first = img.width, last = -1;  // the top row's painted pixels
      for (int x = 0; x < img.width; ++x)
        if (img.Painted(x, box.top)) first = std::min(first, x), last = std::max(last, x);
      EXPECT_TRUE(img.hotX >= first - slack && img.hotX <= last + slack) << what << ": not below the topmost pixels";
      break;
    }
    case Hot::kCentre:
      EXPECT_LE(std::abs(2 * img.hotX - (box.left + box.right)), 2 * slack) << what << ": off the middle";
      EXPECT_LE(std::abs(2 * img.hotY - (box.top + box.bottom)), 2 * slack) << what << ": off the middle";
      break;
    case Hot::kMiddleThird:
      EXPECT_LE(std::abs(6 * img.hotX - 3 * (box.left + box.right)), box.Width()) << what << ": off the middle";
      EXPECT_LE(std::abs(6 * img.hotY - 3 * (box.top + box.bottom)), box.Height()) << what << ": off the middle";
      break;
  }
}

TEST(SchemeArt, EveryRoleMonochromeWithItsHotspotWhereTheRoleNeedsItAtEverySize) {
  for (const ShippedScheme& scheme : kShippedSchemes)
    for (size_t role = 0; role < kRoleCount; ++role) {
      const std::string destination = SchemeFile(scheme, role);
      const std::vector<Image> images = EverySize(destination);
      EXPECT_GE(images.size(), 5u) << destination;
      for (const Image& img : images) {
        const std::string what = destination + " at " + std::to_string(img.width);
        EXPECT_EQ(img.bits, 1) << what << ": monochrome, so it takes the user's colours";
        ExpectHotspotFor(kRoleLooks[role].hot, img, what);
      }
    }
}

// Whether a painted pixel lies within `depth` pixels of the outside (four directions, the
// canvas's edge counting as outside): the band a one-unit edge covers at that size.
bool WithinOfTheOutside(const Image& img, int x, int y, int depth) {
  const auto outside = [&](int u, int v) { return u < 0 || v < 0 || u >= img.width || v >= img.height || !img.Painted(u, v); };
  for (int d = 1; d <= depth; ++d)
    if (outside(x - d, y) || outside(x + d, y) || outside(x, y - d) || outside(x, y + d)) return true;
  return false;
}

// For users who lose the pointer: black shapes with a white edge, larger than "Pointrel"'s.
TEST(SchemeArt, HighVisibilityIsBlackWithAWhiteEdgeAndLargerThanPointrel) {
  const ShippedScheme& plain = kShippedSchemes[0];
  const ShippedScheme& high = kShippedSchemes[1];
  ASSERT_STREQ(high.name, "Pointrel High Visibility");
  for (size_t role = 0; role < kRoleCount; ++role) {
    const std::string destination = SchemeFile(high, role);
    for (const Image& img : EverySize(destination)) {
      const std::string what = destination + " at " + std::to_string(img.width);
      const int band = std::max(1, static_cast<int>(std::lround(img.width / 32.0)));
      int darkEdge = 0, black = 0, white = 0;  // on the outermost pixels; inside the edge's band
      for (int y = 0; y < img.height; ++y)
        for (int x = 0; x < img.width; ++x) {
          if (!img.Painted(x, y)) continue;
          if (WithinOfTheOutside(img, x, y, 1)) {
            darkEdge += img.At(x, y) != Pixel::kWhite;
          } else if (!WithinOfTheOutside(img, x, y, band)) {
            black += img.At(x, y) == Pixel::kBlack;
            white += img.At(x, y) == Pixel::kWhite;
          }
        }
      EXPECT_EQ(darkEdge, 0) << what << ": pixels on the edge that are not white";
      EXPECT_GT(black, 2 * white) << what << ": inside the edge, mostly black";
      EXPECT_EQ(Count(img, Pixel::kInvert), 0) << what;
    }
    const int highPainted = 32 * 32 - Count(ImagesOf(destination).front(), Pixel::kClear);
    const int plainPainted = 32 * 32 - Count(ImagesOf(SchemeFile(plain, role)).front(), Pixel::kClear);
    EXPECT_GT(highPainted, plainPainted) << kCursorRoles[role].caption << ": " << highPainted << " pixels against "
                                         << plainPainted;
  }
}

// The mask as the platform hands out a monochrome cursor's bits: AND rows over XOR rows, each
// row padded to whole 16-bit words.
struct MonochromeBits {
  std::vector<uint8_t> bytes;
  cursor_bits::BitmapBits view;
  explicit MonochromeBits(const Image& img) {
    const int32_t rowBytes = (img.width + 15) / 16 * 2;
    bytes.assign(static_cast<size_t>(rowBytes) * 2 * img.height, 0);
    for (int y = 0; y < img.height; ++y)
      for (int x = 0; x < img.width; ++x) {
        const Pixel p = img.At(x, y);
        const uint8_t bit = static_cast<uint8_t>(0x80 >> (x % 8));
        if (p == Pixel::kClear || p == Pixel::kInvert) bytes[y * rowBytes + x / 8] |= bit;
        if (p == Pixel::kWhite || p == Pixel::kInvert) bytes[(img.height + y) * rowBytes + x / 8] |= bit;
      }
    view.geometry = {img.width, 2 * img.height, rowBytes, 1, 1};
    view.bits = bytes.data();
    view.size = bytes.size();
  }
};

// What left-handed pointers will go by: whether each scheme cursor is its own mirror image (a
// crosshair needs no mirrored copy; the unavailable sign's slash would turn the other way).
TEST(SchemeArt, MirrorSymmetryReportPerCursor) {
  for (const ShippedScheme& scheme : kShippedSchemes)
    for (size_t role = 0; role < kRoleCount; ++role) {
      const std::string destination = SchemeFile(scheme, role);
      const Image img = ImagesOf(destination).front();
      MonochromeBits bits(img);
      const cursor_bits::MirrorReport report = cursor_bits::MirrorSymmetry(bits.view, nullptr);
      ASSERT_TRUE(report.readable) << destination;
      std::printf("%-46s %s (axis %.1f, %u pixels differ)\n", destination.c_str(),
                  report.symmetric ? "its own mirror image" : "not symmetric", report.axisTwice / 2.0, report.differing);
      if (kRoleLooks[role].mirror != Mirror::kEither) {
        EXPECT_EQ(report.symmetric, kRoleLooks[role].mirror == Mirror::kOwn) << destination;
      }
      if (report.symmetric && kRoleLooks[role].hot != Hot::kTopLeft) {
        EXPECT_EQ(2 * img.hotX, report.axisTwice) << destination << ": the hotspot off the axis";
      }
    }
}

}  // namespace
