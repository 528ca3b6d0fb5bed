// The colour buttons' pictures at every side the dialog may ask for.
#include "utility/dialog/colour_button_art.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "utility/cursor/colour_palette.h"

using colour_button_art::Look;
using colour_button_art::SideForDpi;

namespace {

struct Picture {
  int side = 0;
  std::vector<uint32_t> pixels;
  uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * side + x]; }
};

// What the dialog gets for a side asked for, in a buffer of exactly the drawn size.
Picture Draw(int side, int colourIndex, Look look) {
  Picture picture;
  picture.side = colour_button_art::DrawnSide(side);
  picture.pixels.resize(static_cast<size_t>(picture.side) * picture.side);
  colour_button_art::Draw(side, colourIndex, look, picture.pixels.data());
  return picture;
}

constexpr uint32_t kWhite = 0xFFFFFF, kFace = 0xC0C0C0, kShadow = 0x808080, kBlack = 0;

uint32_t SpotOf(int index) {
  const PaletteColour& c = kColourPalette[index];
  return (uint32_t{c.red} << 16) | (uint32_t{c.green} << 8) | c.blue;
}

int EdgeOf(int side) { return std::max(1, static_cast<int>(std::lround(side / 18.0))); }

TEST(ColourButtonSide, FollowsTheWindowsDotsPerInchRounded) {
  EXPECT_EQ(SideForDpi(96), 18);
  EXPECT_EQ(SideForDpi(120), 23);  // 22.5
  EXPECT_EQ(SideForDpi(144), 27);
  EXPECT_EQ(SideForDpi(168), 32);  // 31.5
  EXPECT_EQ(SideForDpi(192), 36);
  EXPECT_EQ(SideForDpi(288), 54);
  EXPECT_EQ(SideForDpi(0), 18) << "a platform that does not answer";
  EXPECT_EQ(SideForDpi(-96), 18);
  EXPECT_EQ(SideForDpi(1 << 30), 18) << "no overflow, no giant";
}

class EverySide : public ::testing::TestWithParam<int> {};

TEST_P(EverySide, UpIsRaisedWithEdgesAsWideAsTheScaleAndOnlyStandardColours) {
  const int side = GetParam(), edge = EdgeOf(side), mid = side / 2;
  for (int colour = 0; colour < kPaletteSize; ++colour) {
    const Picture up = Draw(side, colour, Look::Up);
    ASSERT_EQ(up.side, side);
    ASSERT_EQ(up.pixels.size(), static_cast<size_t>(side * side));
    for (uint32_t p : up.pixels) {
      bool standard = p == kWhite || p == kFace || p == kShadow || p == kBlack;
      for (int i = 0; i < kPaletteSize; ++i) standard = standard || p == SpotOf(i);
      ASSERT_TRUE(standard) << std::hex << p;
    }
    for (int i = 0; i < edge; ++i) {
      EXPECT_EQ(up.At(mid, i), kWhite) << "top row " << i;
      EXPECT_EQ(up.At(i, mid), kWhite) << "left column " << i;
      EXPECT_EQ(up.At(mid, side - 1 - i), kBlack) << "bottom row " << i;
      EXPECT_EQ(up.At(side - 1 - i, mid), kBlack) << "right column " << i;
      EXPECT_EQ(up.At(mid, side - 1 - edge - i), kShadow) << "inner bottom row " << i;
    }
    EXPECT_EQ(up.At(mid, edge), kFace) << "the face begins after one edge";
    EXPECT_EQ(up.At(2 * edge, 2 * edge), kFace);
    EXPECT_EQ(Draw(side, colour, Look::Focused).pixels, up.pixels);
  }
}

TEST_P(EverySide, TheSpotIsARingedDiscInTheMiddleOfItsArea) {
  const int side = GetParam(), edge = EdgeOf(side);
  const double unit = side / 18.0;
  const Picture up = Draw(side, 1, Look::Up);  // red
  long count = 0;
  double sumX = 0, sumY = 0;
  for (int y = 0; y < side; ++y)
    for (int x = 0; x < side; ++x)
      if (up.At(x, y) == SpotOf(1)) {
        ++count;
        sumX += x + 0.5;
        sumY += y + 0.5;
      }
  ASSERT_GT(count, 0);
  const double inner = 5.5 * unit - edge;
  EXPECT_NEAR(count, M_PI * inner * inner, 0.15 * M_PI * inner * inner) << "a disc's area";
  EXPECT_NEAR(sumX / count, 8.5 * unit, 0.5);
  EXPECT_NEAR(sumY / count, 8.5 * unit, 0.5);
  // The ring: black just outside the colour on the middle row.
  const int cy = static_cast<int>(8.5 * unit);
  int x = static_cast<int>(8.5 * unit);
  while (x > 0 && up.At(x, cy) == SpotOf(1)) --x;
  EXPECT_EQ(up.At(x, cy), kBlack);
}

TEST_P(EverySide, DownSwapsTheEdgesAndMovesThePictureByOneEdge) {
  const int side = GetParam(), edge = EdgeOf(side), mid = side / 2;
  const Picture up = Draw(side, 6, Look::Up), down = Draw(side, 6, Look::Down);
  for (int i = 0; i < edge; ++i) {
    EXPECT_EQ(down.At(mid, i), kBlack);
    EXPECT_EQ(down.At(i, mid), kBlack);
    EXPECT_EQ(down.At(mid, side - 1 - i), kWhite);
    EXPECT_EQ(down.At(side - 1 - i, mid), kWhite);
  }
  for (int y = 3 * edge; y < side - 3 * edge; ++y)
    for (int x = 3 * edge; x < side - 3 * edge; ++x)
      ASSERT_EQ(down.At(x + edge, y + edge), up.At(x, y)) << x << "," << y;
}

TEST_P(EverySide, DisabledIsFlatAndCrossedInAColourThatShowsOnTheSpot) {
  const int side = GetParam(), edge = EdgeOf(side);
  for (int colour : {0, 13, 15, 3}) {  // white, light grey, black, blue
    const Picture off = Draw(side, colour, Look::Disabled);
    for (int i = 0; i < side; ++i) {
      EXPECT_EQ(off.At(i, 0), kShadow);
      EXPECT_EQ(off.At(0, i), kShadow);
      EXPECT_EQ(off.At(i, side - 1), kShadow);
      EXPECT_EQ(off.At(side - 1, i), kShadow);
    }
    for (int y = 0; y < side; ++y)
      for (int x = 0; x < side; ++x) ASSERT_EQ(off.At(x, y), off.At(y, x)) << "symmetric about the diagonal";
    const double centre = 8.5 * side / 18.0;
    const uint32_t cross = off.At(static_cast<int>(centre), static_cast<int>(centre));
    EXPECT_NE(cross, SpotOf(colour));
    EXPECT_TRUE(cross == kBlack || cross == kWhite);
    // Both lines run out through all four quarters around the middle.
    int quarters[2][2] = {};
    for (int y = 0; y < side; ++y)
      for (int x = 0; x < side; ++x) {
        const double dx = x + 0.5 - centre, dy = y + 0.5 - centre;
        const bool insideRing = std::hypot(dx, dy) < 5.5 * side / 18.0 - edge - 0.5;
        if (insideRing && off.At(x, y) == cross && std::fabs(dx) > edge && std::fabs(dy) > edge) ++quarters[dx > 0][dy > 0];
      }
    for (auto& half : quarters)
      for (int q : half) EXPECT_GE(q, edge) << "a line in each quarter";
    bool spotShows = false;
    for (uint32_t p : off.pixels) spotShows = spotShows || p == SpotOf(colour);
    EXPECT_TRUE(spotShows);
  }
}

INSTANTIATE_TEST_SUITE_P(Sides, EverySide, ::testing::Values(18, 23, 27, 32, 36, 45, 54, 72));

TEST(ColourButtonArt, BadRequestsGiveAPictureWithoutASpot) {
  const Picture small = Draw(4, 1, Look::Up);
  EXPECT_EQ(small.side, 18) << "never below the base side";
  EXPECT_EQ(Draw(100000, 1, Look::Up).side, colour_button_art::kLargestSide) << "nor above the largest";
  EXPECT_EQ(SideForDpi(20 * 96), colour_button_art::kLargestSide);
  const Picture none = Draw(18, 16, Look::Up), negative = Draw(18, -1, Look::Down);
  for (uint32_t p : none.pixels) EXPECT_TRUE(p == kWhite || p == kFace || p == kShadow || p == kBlack);
  for (uint32_t p : negative.pixels) EXPECT_TRUE(p == kWhite || p == kFace || p == kShadow || p == kBlack);
}

}  // namespace
