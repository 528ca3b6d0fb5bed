// A resident program costs nothing while it blinks: hide and show cycles driven through the
// animator's tick with tracing off leave the process's memory and handles where they were.
#include <windows.h>

#include <psapi.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include "tests/wine/support/handle_census.h"
#include "platform/gdi.h"
#include "platform/system_cursor.h"
#include "tests/wine/support/system_cursor_record.h"
#include "tests/wine/support/wine_test_support.h"
#include "utility/cursor/animator_win.h"
#include "utility/cursor/cursor_roles_win.h"
#include "utility/resources/resource.h"

namespace {

// The process's resident memory: what every allocation that is kept ends up in.
SIZE_T ResidentBytes() {
  PROCESS_MEMORY_COUNTERS counters = {};
  counters.cb = sizeof counters;
  ::GetProcessMemoryInfo(::GetCurrentProcess(), &counters, sizeof counters);
  return counters.WorkingSetSize;
}

// 100,000 by hand (POINTREL_BLINK_CYCLES=100000, several minutes under Wine); fewer in the suite.
int CyclesToRun() {
  char text[16] = "";
  const DWORD length = ::GetEnvironmentVariableA("POINTREL_BLINK_CYCLES", text, sizeof text);
  const int cycles = length > 0 && length < sizeof text ? std::atoi(text) : 0;
  return cycles > 0 ? cycles : 2000;
}

// Ticks until `cycles` hides have each been followed by a show.
int RunCycles(HWND window, int32_t blink, int cycles) {
  int done = 0;
  int32_t phase = animatorState.blinkPhase;
  while (done < cycles) {
    AnimatorTick(window, blink);
    if (phase == kPhaseHidden && animatorState.blinkPhase == kPhaseVisible) ++done;
    phase = animatorState.blinkPhase;
  }
  return done;
}

TEST(BlinkMemory, CyclesWithTracingOffKeepMemoryAndHandlesFlat) {
  ASSERT_EQ(::GetEnvironmentVariableA("POINTREL_CURSOR_TRACE", nullptr, 0), 0u) << "tracing must be off";
  HWND window = ::CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(window, nullptr);
  // Static cursors in the two blinking roles, as the dialog would have installed them.
  InstallCursor(CopyCursor(::LoadCursorA(nullptr, IDC_ARROW)), kIdNormal);
  InstallCursor(CopyCursor(::LoadCursorA(nullptr, IDC_IBEAM)), kIdIBeam);
  LoadBlankCursor();
  int32_t blink = 0;
  SelectBlinkMode(window, blink, static_cast<int32_t>(BlinkMode::Rapid));
  ASSERT_EQ(blink, static_cast<int32_t>(BlinkMode::Rapid));

  // Warmed up first: the service's first installs keep their copies for good.
  ASSERT_EQ(RunCycles(window, blink, 1000), 1000);
  const int cycles = CyclesToRun();
  const SIZE_T before = ResidentBytes();
  const handle_census::LiveHandleCounts handlesBefore = handle_census::CountLiveHandles();
  const DWORD start = ::GetTickCount();
  ASSERT_EQ(RunCycles(window, blink, cycles), cycles);
  const DWORD elapsed = ::GetTickCount() - start;
  const SIZE_T after = ResidentBytes();
  const handle_census::LiveHandleCounts handlesAfter = handle_census::CountLiveHandles();
  std::printf("%d blink cycles in %lu ms: resident bytes %lu before, %lu after (%+ld)\n", cycles,
              static_cast<unsigned long>(elapsed), static_cast<unsigned long>(before), static_cast<unsigned long>(after),
              static_cast<long>(after) - static_cast<long>(before));

  // A record of every install would hold about 100 bytes a cycle; a little noise is allowed.
  EXPECT_LT(after, before + 256 * 1024 + static_cast<SIZE_T>(cycles) * 10) << "memory grew by " << (after - before) << " bytes";
  EXPECT_EQ(handlesAfter.cursors, handlesBefore.cursors);
  EXPECT_EQ(handlesAfter.bitmaps, handlesBefore.bitmaps);
  EXPECT_LE(handle_census::CountLiveHandles().copies, 2 * 8) << "the eight kept defaults and at most one held copy per id";
  cursor_record::InstalledSystemCursor unrecorded;
  EXPECT_FALSE(cursor_record::GetInstalledSystemCursor(kIdNormal, &unrecorded)) << "nothing is recorded unless asked";

  StopAnimation(window, blink);
  ::DestroyWindow(window);
}

}  // namespace
