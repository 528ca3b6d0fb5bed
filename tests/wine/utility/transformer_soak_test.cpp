// Many recolour and mirror cycles must leave no bitmap or cursor behind. Wine's
// GetGuiResources always answers 0, so the counted platform layer keeps the tally, and every
// bitmap that GetIconInfo really hands out is watched through this program's import table
// and must be gone (GetObjectType 0) after each cycle.
#include <gtest/gtest.h>

#include <vector>

#include "tests/wine/support/handle_census.h"
#include "tests/wine/support/import_hooks.h"
#include "platform/gdi.h"
#include "tests/wine/utility/cursor_fixtures.h"
#include "utility/records/cursor_settings.h"
#include "utility/cursor/transformer_win.h"

namespace {

using namespace cursor_fixtures;

using GetIconInfoFunction = BOOL(WINAPI*)(HICON, PICONINFO);
GetIconInfoFunction realGetIconInfo = nullptr;
std::vector<HGDIOBJ> handedOut;

BOOL WINAPI RecordingGetIconInfo(HICON icon, PICONINFO info) {
  const BOOL done = realGetIconInfo(icon, info);
  if (done) {
    if (info->hbmMask) handedOut.push_back(info->hbmMask);
    if (info->hbmColor) handedOut.push_back(info->hbmColor);
  }
  return done;
}

class TransformerSoak : public ::testing::Test {
 protected:
  void SetUp() override {
    // Whatever the census put in the slots is what this watch calls on.
    realGetIconInfo = reinterpret_cast<GetIconInfoFunction>(import_hooks::CurrentImport("GetIconInfo"));
    ASSERT_TRUE(realGetIconInfo);
    ASSERT_GT(import_hooks::Redirect(reinterpret_cast<void*>(realGetIconInfo), reinterpret_cast<void*>(RecordingGetIconInfo)), 0);
  }
  void TearDown() override {
    import_hooks::Redirect(reinterpret_cast<void*>(RecordingGetIconInfo), reinterpret_cast<void*>(realGetIconInfo));
  }
};

TEST_F(TransformerSoak, TenThousandCyclesLeaveNothingBehind) {
  constexpr int kCycles = 10000;
  current.WhtClr = 4;
  current.BlkClr = 1;
  const Picture picture = OutlinedArrow();
  HCURSOR colour = MakeColourCursor();
  HCURSOR odd = MakeMonochromeCursorOfSize(8, 8);
  const handle_census::LiveHandleCounts start = handle_census::CountLiveHandles();
  size_t watched = 0;
  for (int cycle = 0; cycle < kCycles; ++cycle) {
    handedOut.clear();
    HCURSOR cursor = MakeMonochromeCursor(picture, cycle % 32, 0);
    cursor = RecolourCursor(cursor);
    cursor = MirrorCursor(cursor);
    cursor = MirrorCursor(cursor);
    if (cycle % 2) cursor = MirrorCursor(RecolourCursor(cursor));  // a colour cursor passes recolour unchanged
    ASSERT_TRUE(cursor) << "cycle " << cycle;
    platform::ReleaseCursor(cursor);
    // The early ways out: an argument already in colour, and one of another size.
    ASSERT_EQ(RecolourCursor(colour), colour) << "cycle " << cycle;
    ASSERT_EQ(MirrorCursor(odd), odd) << "cycle " << cycle;
    ASSERT_EQ(RecolourCursor(odd), odd) << "cycle " << cycle;

    ASSERT_GE(handedOut.size(), 9u) << "the watch sees GetIconInfo";
    for (HGDIOBJ bitmap : handedOut) ASSERT_EQ(GetObjectType(bitmap), 0u) << "cycle " << cycle << ": a bitmap lives on";
    watched += handedOut.size();
    const handle_census::LiveHandleCounts now = handle_census::CountLiveHandles();
    ASSERT_EQ(now.bitmaps, start.bitmaps) << "cycle " << cycle;
    ASSERT_EQ(now.cursors, start.cursors) << "cycle " << cycle;
  }
  EXPECT_GE(watched, static_cast<size_t>(kCycles) * 9);
  const Description afterwards = Describe(colour);
  EXPECT_TRUE(afterwards.valid && afterwards.colour) << "the colour argument stayed the caller's";
  EXPECT_TRUE(Describe(odd).valid);
  platform::ReleaseCursor(colour);
  platform::ReleaseCursor(odd);
  EXPECT_EQ(handle_census::CountLiveHandles().cursors, start.cursors - 2);
  EXPECT_EQ(handle_census::CountLiveHandles().bitmaps, start.bitmaps);
}

}  // namespace
