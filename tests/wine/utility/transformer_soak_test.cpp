// Many recolour and mirror cycles must leave no bitmap or cursor behind. Wine's
// GetGuiResources always answers 0, so the counted platform layer keeps the tally, and every
// bitmap that GetIconInfo really hands out is watched through this program's import table
// and must be gone (GetObjectType 0) after each cycle.
#include <gtest/gtest.h>

#include <vector>

#include "platform/gdi.h"
#include "tests/wine/utility/cursor_fixtures.h"
#include "utility/app/cursor_settings.h"
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

// Points every import slot of this program that holds `real` at `replacement`.
int RedirectImports(void* real, void* replacement) {
  BYTE* base = reinterpret_cast<BYTE*>(GetModuleHandleA(nullptr));
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  int redirected = 0;
  for (auto* d = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress); d->Name; ++d)
    for (auto* slot = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->FirstThunk); slot->u1.Function; ++slot) {
      if (reinterpret_cast<void*>(slot->u1.Function) != real) continue;
      DWORD old = 0;
      VirtualProtect(&slot->u1.Function, sizeof slot->u1.Function, PAGE_READWRITE, &old);
      slot->u1.Function = reinterpret_cast<ULONG_PTR>(replacement);
      VirtualProtect(&slot->u1.Function, sizeof slot->u1.Function, old, &old);
      ++redirected;
    }
  return redirected;
}

class TransformerSoak : public ::testing::Test {
 protected:
  void SetUp() override {
    realGetIconInfo = reinterpret_cast<GetIconInfoFunction>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), "GetIconInfo")));
    ASSERT_TRUE(realGetIconInfo);
    ASSERT_GT(RedirectImports(reinterpret_cast<void*>(realGetIconInfo), reinterpret_cast<void*>(RecordingGetIconInfo)), 0);
  }
  void TearDown() override {
    RedirectImports(reinterpret_cast<void*>(RecordingGetIconInfo), reinterpret_cast<void*>(realGetIconInfo));
  }
};

TEST_F(TransformerSoak, TenThousandCyclesLeaveNothingBehind) {
  constexpr int kCycles = 10000;
  current.WhtClr = 4;
  current.BlkClr = 1;
  const Picture picture = OutlinedArrow();
  HCURSOR colour = MakeColourCursor();
  HCURSOR odd = MakeMonochromeCursorOfSize(8, 8);
  const platform::LiveHandleCounts start = platform::GetLiveHandleCounts();
  size_t watched = 0;
  for (int cycle = 0; cycle < kCycles; ++cycle) {
    handedOut.clear();
    HCURSOR cursor = MakeMonochromeCursor(picture, cycle % 32, 0);
    cursor = RecolourCursor(cursor);
    cursor = MirrorCursor(cursor);
    cursor = MirrorCursor(cursor);
    if (cycle % 2) cursor = MirrorCursor(RecolourCursor(cursor));  // a colour cursor passes recolour unchanged
    ASSERT_TRUE(cursor) << "cycle " << cycle;
    platform::DestroyCursor(cursor);
    // The early ways out: an argument already in colour, and one of another size.
    ASSERT_EQ(RecolourCursor(colour), colour) << "cycle " << cycle;
    ASSERT_EQ(MirrorCursor(odd), odd) << "cycle " << cycle;
    ASSERT_EQ(RecolourCursor(odd), odd) << "cycle " << cycle;

    ASSERT_GE(handedOut.size(), 9u) << "the watch sees GetIconInfo";
    for (HGDIOBJ bitmap : handedOut) ASSERT_EQ(GetObjectType(bitmap), 0u) << "cycle " << cycle << ": a bitmap lives on";
    watched += handedOut.size();
    const platform::LiveHandleCounts now = platform::GetLiveHandleCounts();
    ASSERT_EQ(now.bitmaps, start.bitmaps) << "cycle " << cycle;
    ASSERT_EQ(now.cursors, start.cursors) << "cycle " << cycle;
  }
  EXPECT_GE(watched, static_cast<size_t>(kCycles) * 9);
  const Description afterwards = Describe(colour);
  EXPECT_TRUE(afterwards.valid && afterwards.colour) << "the colour argument stayed the caller's";
  EXPECT_TRUE(Describe(odd).valid);
  platform::DestroyCursor(colour);
  platform::DestroyCursor(odd);
  EXPECT_EQ(platform::GetLiveHandleCounts().cursors, start.cursors - 2);
  EXPECT_EQ(platform::GetLiveHandleCounts().bitmaps, start.bitmaps);
}

}  // namespace
