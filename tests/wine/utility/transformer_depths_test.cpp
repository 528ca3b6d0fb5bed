// The transformer on real GDI bitmaps, at each display depth of the test bed.
#include <gtest/gtest.h>

#include <cstdlib>

#include "tests/wine/support/handle_census.h"
#include "platform/gdi.h"
#include "tests/wine/utility/cursor_fixtures.h"
#include "utility/records/cursor_settings.h"
#include "utility/cursor/transformer_win.h"

namespace {

using namespace cursor_fixtures;

// Live counted handles must come back to where they were: every bitmap GetIconInfo handed
// out is deleted, and a cursor is released exactly when a new one replaces it.
class TransformerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    current.WhtClr = 0;
    current.BlkClr = 15;
    start_ = handle_census::CountLiveHandles();
  }
  void ExpectCounts(long cursorsAdded) {
    const handle_census::LiveHandleCounts now = handle_census::CountLiveHandles();
    EXPECT_EQ(now.bitmaps, start_.bitmaps) << "bitmaps left undeleted";
    EXPECT_EQ(now.cursors, start_.cursors + cursorsAdded) << "cursors";
  }
  handle_census::LiveHandleCounts start_{};
};

int ExpectedDisplayBits() {
  const char* depth = std::getenv("POINTREL_WINE_DEPTH");
  const int xDepth = depth ? std::atoi(depth) : 24;
  return xDepth == 24 ? 32 : xDepth;
}

TEST(TestBed, DisplayRunsAtTheDepthAskedFor) { EXPECT_EQ(DisplayBitsPerPixel(), ExpectedDisplayBits()); }

TEST(PaletteTemplate, IsAColourCursorInTheDisplaysFormat) {
  const Description d = Describe(transformer_detail::LoadPaletteTemplate());
  ASSERT_TRUE(d.valid);
  EXPECT_TRUE(d.colour);
  EXPECT_EQ(d.colourBits, DisplayBitsPerPixel());
  EXPECT_EQ(d.width, kSize);
  EXPECT_EQ(d.maskHeight, kSize);
  EXPECT_EQ(d.hotX, 0u);
  EXPECT_EQ(d.hotY, 0u);
}

TEST_F(TransformerTest, DefaultColoursLookExactlyLikeTheSource) {
  const Picture picture = OutlinedArrow();
  HCURSOR source = MakeMonochromeCursor(picture, 1, 2);
  ASSERT_TRUE(source);
  ASSERT_EQ(FirstDifference(Render(source), Expected(picture)), "") << "the fixture itself";
  HCURSOR result = RecolourCursor(source);
  ASSERT_NE(result, source);
  const Description d = Describe(result);
  EXPECT_TRUE(d.colour);
  EXPECT_EQ(d.colourBits, DisplayBitsPerPixel());
  EXPECT_EQ(d.width, kSize);
  EXPECT_EQ(d.maskHeight, kSize);
  EXPECT_FALSE(d.fIcon);
  EXPECT_EQ(d.hotX, 1u);
  EXPECT_EQ(d.hotY, 2u);
  EXPECT_EQ(FirstDifference(Render(result), Expected(picture)), "");
  EXPECT_FALSE(Describe(source).valid) << "the argument was released";
  ExpectCounts(1);
  platform::ReleaseCursor(result);
  ExpectCounts(0);
}

TEST_F(TransformerTest, RedOutlineKeepsTransparentAndInvertingPixels) {
  current.WhtClr = 0;
  current.BlkClr = 1;
  const Picture picture = OutlinedArrow();
  HCURSOR result = RecolourCursor(MakeMonochromeCursor(picture, 0, 0));
  EXPECT_EQ(FirstDifference(Render(result), Expected(picture, 0xFFFFFF, 0xFF0000)), "");
  ExpectCounts(1);
  platform::ReleaseCursor(result);
}

TEST_F(TransformerTest, BothColoursChanged) {
  current.WhtClr = 6;  // yellow
  current.BlkClr = 3;  // blue
  const Picture picture = OutlinedArrow();
  HCURSOR result = RecolourCursor(MakeMonochromeCursor(picture, 0, 0));
  EXPECT_EQ(FirstDifference(Render(result), Expected(picture, 0xFFFF00, 0x0000FF)), "");
  platform::ReleaseCursor(result);
  ExpectCounts(0);
}

TEST_F(TransformerTest, PaletteIndexOutsideTheTableKeepsWhiteAndBlack) {
  const int32_t outside[][2] = {{16, 17}, {-1, 99}, {INT32_MAX, INT32_MIN}};
  const Picture picture = OutlinedArrow();
  for (const auto& pair : outside) {
    current.WhtClr = pair[0];
    current.BlkClr = pair[1];
    HCURSOR result = RecolourCursor(MakeMonochromeCursor(picture, 0, 0));
    EXPECT_EQ(FirstDifference(Render(result), Expected(picture)), "") << pair[0] << "/" << pair[1];
    platform::ReleaseCursor(result);
  }
  ExpectCounts(0);
}

TEST_F(TransformerTest, ColourCursorComesBackAsTheSameHandle) {
  current.BlkClr = 1;
  HCURSOR colour = MakeColourCursor();
  ASSERT_TRUE(Describe(colour).colour);
  EXPECT_EQ(RecolourCursor(colour), colour);
  EXPECT_TRUE(Describe(colour).valid);
  ExpectCounts(1);
  platform::ReleaseCursor(colour);
}

TEST_F(TransformerTest, NullHandlePassesThroughBoth) {
  EXPECT_EQ(RecolourCursor(nullptr), nullptr);
  EXPECT_EQ(MirrorCursor(nullptr), nullptr);
  ExpectCounts(0);
}

TEST_F(TransformerTest, OtherSizesComeBackUnchanged) {
  const int sizes[][2] = {{8, 8}, {15, 15}, {32, 16}, {48, 32}};
  for (const auto& size : sizes) {
    HCURSOR odd = MakeMonochromeCursorOfSize(size[0], size[1]);
    ASSERT_TRUE(odd);
    const Description before = Describe(odd);
    EXPECT_EQ(RecolourCursor(odd), odd) << size[0] << "x" << size[1];
    EXPECT_EQ(MirrorCursor(odd), odd) << size[0] << "x" << size[1];
    EXPECT_EQ(Describe(odd).maskBits, before.maskBits);
    platform::ReleaseCursor(odd);
  }
  ExpectCounts(0);
}

// Cursors of every size a desktop hands out are recoloured and mirrored at their own size.
class TransformerAtSize : public TransformerTest, public ::testing::WithParamInterface<int> {};

TEST_P(TransformerAtSize, RecolourThenMirrorShowsTheMirroredPictureInItsColours) {
  const int side = GetParam();
  current.WhtClr = 1;  // red
  current.BlkClr = 3;  // blue
  const Picture picture = OutlinedArrow(side);
  HCURSOR result = MirrorCursor(RecolourCursor(MakeMonochromeCursor(picture, 2, 5)));
  const Description d = Describe(result);
  ASSERT_TRUE(d.valid);
  EXPECT_TRUE(d.colour);
  EXPECT_EQ(d.width, side);
  EXPECT_EQ(d.maskHeight, side);
  EXPECT_EQ(d.hotX, static_cast<DWORD>(side - 1 - 2)) << "the hotspot stays on its pixel";
  EXPECT_EQ(d.hotY, 5u);
  EXPECT_EQ(FirstDifference(Render(result, side), Expected(Mirrored(picture), 0xFF0000, 0x0000FF)), "");
  platform::ReleaseCursor(result);
  ExpectCounts(0);
}

TEST_P(TransformerAtSize, MonochromeMirrorKeepsItsColours) {
  const int side = GetParam();
  const Picture picture = OutlinedArrow(side);
  HCURSOR result = MirrorCursor(MakeMonochromeCursor(picture, side - 1, 0));
  const Description d = Describe(result);
  EXPECT_FALSE(d.colour);
  EXPECT_EQ(d.hotX, 0u);
  EXPECT_EQ(FirstDifference(Render(result, side), Expected(Mirrored(picture))), "");
  platform::ReleaseCursor(result);
  ExpectCounts(0);
}

INSTANTIATE_TEST_SUITE_P(Sizes, TransformerAtSize, ::testing::Values(16, 40, 48, 64, 96, 128, 256),
                         [](const ::testing::TestParamInfo<int>& info) { return std::to_string(info.param) + "px"; });

TEST_F(TransformerTest, DisplayWithoutColourCursorsLeavesRecolourTheIdentity) {
  // A monochrome template is what such a display hands back.
  HCURSOR monochromeTemplate = MakeMonochromeCursor(OutlinedArrow(), 0, 0);
  HCURSOR source = MakeMonochromeCursor(OutlinedArrow(), 4, 4);
  EXPECT_EQ(transformer_detail::RecolourWithTemplate(source, monochromeTemplate, 1, 2, platform::CreateOwnedCursor),
            source);
  EXPECT_EQ(transformer_detail::RecolourWithTemplate(source, nullptr, 1, 2, platform::CreateOwnedCursor), source);
  HCURSOR mirrored = MirrorCursor(source);
  EXPECT_NE(mirrored, source);
  EXPECT_FALSE(Describe(mirrored).colour);
  ExpectCounts(2);
  platform::ReleaseCursor(mirrored);
  platform::ReleaseCursor(monochromeTemplate);
}

HICON FailingCreate(ICONINFO*) { return nullptr; }

TEST_F(TransformerTest, FailedCreationKeepsTheArgument) {
  HCURSOR source = MakeMonochromeCursor(OutlinedArrow(), 0, 0);
  EXPECT_EQ(transformer_detail::RecolourWithTemplate(source, transformer_detail::LoadPaletteTemplate(), 1, 2,
                                                     FailingCreate),
            source);
  EXPECT_EQ(transformer_detail::MirrorWith(source, FailingCreate), source);
  EXPECT_EQ(FirstDifference(Render(source), Expected(OutlinedArrow())), "") << "the argument is still whole";
  ExpectCounts(1);
  platform::ReleaseCursor(source);
}

TEST_F(TransformerTest, MirrorOfMonochromeMirrorsBothMaskHalvesAndHotspot) {
  const Picture picture = OutlinedArrow();
  HCURSOR mirrored = MirrorCursor(MakeMonochromeCursor(picture, 0, 0));
  const Description d = Describe(mirrored);
  ASSERT_TRUE(d.valid);
  EXPECT_FALSE(d.colour) << "monochrome stays monochrome";
  EXPECT_FALSE(d.fIcon);
  EXPECT_EQ(d.hotX, 31u);
  EXPECT_EQ(d.hotY, 0u);
  EXPECT_EQ(d.maskBits, MonochromeMaskBits(Mirrored(picture)));
  EXPECT_EQ(FirstDifference(Render(mirrored), Expected(Mirrored(picture))), "");
  ExpectCounts(1);
  platform::ReleaseCursor(mirrored);
}

TEST_F(TransformerTest, MirrorTwiceRestoresImageAndHotspot) {
  struct Case {
    DWORD hotX, hotY;
    bool recolour;
  } cases[] = {{0, 0, false}, {7, 3, false}, {31, 31, false}, {0, 0, true}, {12, 30, true}};
  const Picture picture = OutlinedArrow();
  current.BlkClr = 1;
  for (const Case& c : cases) {
    HCURSOR cursor = MakeMonochromeCursor(picture, c.hotX, c.hotY);
    if (c.recolour) cursor = RecolourCursor(cursor);
    const std::vector<uint32_t> before = Render(cursor);
    HCURSOR once = MirrorCursor(cursor);
    const Description d1 = Describe(once);
    EXPECT_EQ(d1.hotX, 31 - c.hotX);
    EXPECT_EQ(d1.hotY, c.hotY);
    EXPECT_EQ(d1.colour, c.recolour);
    EXPECT_EQ(FirstDifference(Render(once), Expected(Mirrored(picture), 0xFFFFFF, c.recolour ? 0xFF0000 : 0)), "");
    HCURSOR twice = MirrorCursor(once);
    const Description d2 = Describe(twice);
    EXPECT_EQ(d2.hotX, c.hotX);
    EXPECT_EQ(d2.hotY, c.hotY);
    EXPECT_EQ(FirstDifference(Render(twice), before), "") << "hotspot " << c.hotX << "," << c.hotY;
    platform::ReleaseCursor(twice);
  }
  ExpectCounts(0);
}

}  // namespace
