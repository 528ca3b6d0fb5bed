// The installer's artwork: pictures of 320 x 200 in the 16 standard colours with dark-blue
// lettering over a grey diamond on light grey, and the two icons.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

#include "tools/imagelib/formats.h"
#include "tools/installerart/artwork.h"
#include "tools/installerart/lettering.h"

namespace {

using imagelib::kWindowsPalette;

bool InPalette(imagelib::Rgba colour) {
  for (const imagelib::Rgba& p : kWindowsPalette) {
    if (p == colour) return true;
  }
  return false;
}

int Count(const imagelib::Canvas& canvas, imagelib::Rgba colour) {
  int n = 0;
  for (const imagelib::Rgba& p : canvas.pixels()) n += p == colour;
  return n;
}

std::uint32_t Le32(const imagelib::Bytes& b, size_t at) {
  return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}

TEST(InstallerArt, Lettering) {
  imagelib::Canvas short_ = installerart::RenderLettering("Po", 40, kWindowsPalette[imagelib::kDarkBlue]);
  imagelib::Canvas long_ = installerart::RenderLettering("Pointrel", 40, kWindowsPalette[imagelib::kDarkBlue]);
  ASSERT_GT(short_.width(), 0) << "ImageMagick's convert did not render";
  EXPECT_GT(long_.width(), 2 * short_.width());
  EXPECT_GT(long_.height(), 20);
  EXPECT_LT(long_.height(), 60);
  // Two levels only: the colour or nothing.
  int inked = Count(long_, kWindowsPalette[imagelib::kDarkBlue]);
  EXPECT_EQ(static_cast<int>(long_.pixels().size()), inked + Count(long_, imagelib::kTransparent));
  EXPECT_GT(inked, 200);
}

TEST(InstallerArt, Pictures) {
  imagelib::Canvas welcome = installerart::Picture(installerart::WelcomeLines());
  imagelib::Canvas finish = installerart::Picture(installerart::FinishLines());
  for (const imagelib::Canvas* picture : {&welcome, &finish}) {
    ASSERT_EQ(320, picture->width());
    ASSERT_EQ(200, picture->height());
    for (const imagelib::Rgba& p : picture->pixels()) ASSERT_TRUE(InPalette(p));
    const imagelib::Rgba ground = kWindowsPalette[imagelib::kLightGrey];
    const int corners[][2] = {{0, 0}, {319, 0}, {0, 199}, {319, 199}};
    for (const auto& corner : corners) EXPECT_EQ(ground, picture->Get(corner[0], corner[1]));
    EXPECT_EQ(kWindowsPalette[imagelib::kDarkGrey], picture->Get(160, 12)) << "the diamond's top";
    EXPECT_GT(Count(*picture, kWindowsPalette[imagelib::kDarkBlue]), 3000) << "large lettering";
    EXPECT_GT(Count(*picture, kWindowsPalette[imagelib::kDarkGrey]), 10000);
    EXPECT_GT(Count(*picture, ground), 10000);
  }
  EXPECT_NE(welcome.pixels(), finish.pixels());

  imagelib::Bytes bmp = imagelib::EncodeBmp4(welcome);
  ASSERT_GT(bmp.size(), 54u);
  EXPECT_EQ('B', bmp[0]);
  EXPECT_EQ('M', bmp[1]);
  EXPECT_EQ(320u, Le32(bmp, 18));
  EXPECT_EQ(200u, Le32(bmp, 22));
  EXPECT_EQ(4, bmp[28]) << "4 bits per pixel";
}

TEST(InstallerArt, Icons) {
  for (int size : {32, 16}) {
    imagelib::Canvas icon = installerart::InstallerIcon(size);
    ASSERT_EQ(size, icon.width());
    ASSERT_EQ(size, icon.height());
    int opaque = 0;
    for (const imagelib::Rgba& p : icon.pixels()) {
      if (p.a == 0) continue;
      ASSERT_TRUE(InPalette(p)) << size;
      ++opaque;
    }
    EXPECT_GT(opaque, size * size / 2) << size;
    EXPECT_GT(Count(icon, kWindowsPalette[imagelib::kDarkBlue]), size) << "the disk";
    EXPECT_GT(Count(icon, kWindowsPalette[imagelib::kWhite]), size) << "the label and the pointer";
  }
}

}  // namespace
