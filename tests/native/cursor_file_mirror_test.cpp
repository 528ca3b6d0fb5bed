// A cursor file mirrored in place: the same file as one written from the mirrored pictures, for
// every depth, odd widths, several images and animations; files it must not touch untouched.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/cursor_file.h"
#include "tools/imagelib/cursor_encode.h"

namespace {

using cursor_file::Bytes;
using cursor_file::FileType;
using cursor_file::Image;

// A lopsided picture: every pixel's value depends on its column and row, so a mirror that moved
// any pixel to the wrong place, or left one, makes another file.
Image Picture(int side, int bitsPerPixel, uint16_t hotspotX, uint16_t hotspotY, int seed) {
  Image image;
  image.width = image.height = side;
  image.bitsPerPixel = bitsPerPixel;
  if (bitsPerPixel == 1) image.palette = {0x000000, 0xFFFFFF};
  if (bitsPerPixel == 4) {
    for (uint32_t i = 0; i < 16; ++i) image.palette.push_back(i * 0x0F0F0F);
  }
  const uint32_t values = bitsPerPixel == 1 ? 2 : bitsPerPixel == 4 ? 16 : 0;
  for (int y = 0; y < side; ++y) {
    for (int x = 0; x < side; ++x) {
      const uint32_t v = static_cast<uint32_t>(x * 7 + y * 3 + seed + x * x);
      image.colour.push_back(values ? v % values : (bitsPerPixel == 32 ? 0xFF000000u : 0u) | (v * 0x10305u & 0xFFFFFF));
      image.andMask.push_back(static_cast<uint8_t>((x + seed) % 3 == 0 || x > y));
    }
  }
  image.field1 = hotspotX;
  image.field2 = hotspotY;
  return image;
}

Image Mirrored(Image image, FileType type) {
  for (int y = 0; y < image.height; ++y) {
    for (int x = 0, r = image.width - 1; x < r; ++x, --r) {
      std::swap(image.colour[y * image.width + x], image.colour[y * image.width + r]);
      std::swap(image.andMask[y * image.width + x], image.andMask[y * image.width + r]);
    }
  }
  if (type == FileType::Cursor) {
    const int x = image.field1 < image.width ? image.field1 : image.width - 1;
    image.field1 = static_cast<uint16_t>(image.width - 1 - x);
  }
  return image;
}

std::vector<Image> MirroredAll(const std::vector<Image>& images, FileType type) {
  std::vector<Image> mirrored;
  for (const Image& image : images) mirrored.push_back(Mirrored(image, type));
  return mirrored;
}

struct StaticCase {
  const char* name;
  FileType type;
  std::vector<Image> images;
};

TEST(MirrorCursorFile, AStaticFileBecomesTheFileOfItsMirroredPictures) {
  const StaticCase cases[] = {
      {"monochrome 32", FileType::Cursor, {Picture(32, 1, 3, 4, 0)}},
      {"monochrome 17, odd width", FileType::Cursor, {Picture(17, 1, 0, 0, 1)}},
      {"monochrome 1, one column", FileType::Cursor, {Picture(1, 1, 0, 0, 2)}},
      {"4 bits 33", FileType::Cursor, {Picture(33, 4, 32, 1, 3)}},
      {"4 bits 16", FileType::Cursor, {Picture(16, 4, 5, 5, 4)}},
      {"24 bits 19", FileType::Cursor, {Picture(19, 24, 9, 2, 5)}},
      {"32 bits 48", FileType::Cursor, {Picture(48, 32, 47, 0, 6)}},
      {"hotspot beyond the image", FileType::Cursor, {Picture(32, 32, 200, 3, 7)}},
      {"three sizes", FileType::Cursor, {Picture(16, 1, 1, 1, 8), Picture(32, 32, 2, 2, 9), Picture(48, 4, 3, 3, 10)}},
      {"an icon keeps its planes field", FileType::Icon, {Picture(32, 32, 1, 32, 11)}},
  };
  for (const StaticCase& c : cases) {
    Bytes file = cursor_file::EncodeStaticFile(c.type, c.images);
    ASSERT_TRUE(cursor_file::MirrorCursorFile(file.data(), file.size())) << c.name;
    EXPECT_EQ(file, cursor_file::EncodeStaticFile(c.type, MirroredAll(c.images, c.type))) << c.name;
    // Twice is the original again (the hotspot beyond the image has become the last column).
    ASSERT_TRUE(cursor_file::MirrorCursorFile(file.data(), file.size())) << c.name;
    EXPECT_EQ(file, cursor_file::EncodeStaticFile(c.type, MirroredAll(MirroredAll(c.images, c.type), c.type))) << c.name;
  }
}

TEST(MirrorCursorFile, AnAnimationKeepsItsStepsRatesAndOrderWithEveryFrameMirrored) {
  std::vector<std::vector<Image>> pictures = {
      {Picture(32, 1, 2, 3, 0)}, {Picture(32, 32, 30, 3, 1)}, {Picture(32, 4, 15, 3, 2), Picture(16, 1, 7, 1, 3)}};
  cursor_file::Animation original, expected;
  for (const std::vector<Image>& frame : pictures) {
    original.frames.push_back(cursor_file::EncodeStaticFile(FileType::Cursor, frame));
    expected.frames.push_back(cursor_file::EncodeStaticFile(FileType::Cursor, MirroredAll(frame, FileType::Cursor)));
  }
  original.steps = expected.steps = {{0, 5}, {2, 9}, {1, 5}, {2, 17}, {0, 1}};
  original.title = expected.title = "Odd!";
  Bytes file = cursor_file::EncodeAnimatedFile(original);
  ASSERT_TRUE(cursor_file::MirrorCursorFile(file.data(), file.size()));
  EXPECT_EQ(file, cursor_file::EncodeAnimatedFile(expected));
  cursor_file::CheckedFile found;
  EXPECT_EQ(cursor_file::CheckCursorFile(file.data(), file.size(), &found), cursor_file::Kind::Animated);
  EXPECT_EQ(found.frameCount, 3u);
}

Bytes PngDirectory() {
  // A directory of one PNG image: 8-byte signature, IHDR of a 32 x 32 picture.
  Bytes png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13, 'I', 'H', 'D', 'R',
               0,    0,   0,   32,  0,    0,    0,   32,   8, 6, 0, 0,  0,   0,   0,   0, 0};
  Bytes file;
  cursor_file::Put16(file, 0);
  cursor_file::Put16(file, 2);
  cursor_file::Put16(file, 1);
  file.insert(file.end(), {32, 32, 0, 0});
  cursor_file::Put16(file, 1);
  cursor_file::Put16(file, 1);
  cursor_file::Put32(file, static_cast<uint32_t>(png.size()));
  cursor_file::Put32(file, 22);
  file.insert(file.end(), png.begin(), png.end());
  return file;
}

// Nothing is written unless the whole file can be mirrored.
TEST(MirrorCursorFile, LeavesAlonePngImagesAndDamagedFiles) {
  Bytes withPng = PngDirectory();
  ASSERT_EQ(cursor_file::CheckCursorFile(withPng.data(), withPng.size()), cursor_file::Kind::Static);
  // A file of a DIB and a PNG: the DIB is not mirrored either.
  cursor_file::Animation animation;
  animation.frames = {cursor_file::EncodeStaticFile(FileType::Cursor, {Picture(32, 1, 2, 3, 0)}), withPng};
  const Bytes pngFrame = cursor_file::EncodeAnimatedFile(animation);

  Bytes truncated = cursor_file::EncodeStaticFile(FileType::Cursor, {Picture(32, 32, 1, 1, 0)});
  truncated.resize(truncated.size() - 1);
  Bytes badHeader = cursor_file::EncodeStaticFile(FileType::Cursor, {Picture(32, 32, 1, 1, 0)});
  badHeader[22] = 41;  // the image's header size

  for (const auto& [name, original] : std::vector<std::pair<std::string, Bytes>>{
           {"png", withPng}, {"an animation with a png frame", pngFrame}, {"truncated", truncated},
           {"bad header", badHeader}, {"empty", Bytes(1, 0)}}) {
    Bytes file = original;
    EXPECT_FALSE(cursor_file::MirrorCursorFile(file.data(), file.size())) << name;
    EXPECT_EQ(file, original) << name << ": changed";
  }
  EXPECT_FALSE(cursor_file::MirrorCursorFile(nullptr, 0));
}

}  // namespace
