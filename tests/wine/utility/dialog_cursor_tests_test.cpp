// The real Pointrel.EXE's two Test buttons and the stored blink mode at start.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/wine/support/utility_fixture.h"
#include "utility/resources/resource.h"

using namespace wine_test;

namespace {

HCURSOR CursorShown() {
  CURSORINFO info{};
  info.cbSize = sizeof info;
  ::GetCursorInfo(&info);
  return info.hCursor;
}

// The pointer rests over the dialog's status line; `nudge` moves it one pixel, as a hand does,
// so the dialog is asked for its cursor again.
void PointAtDialog(HWND dialog, int nudge = 0) {
  RECT status;
  ::GetWindowRect(::GetDlgItem(dialog, IDC_STATUS), &status);
  ::SetCursorPos(status.left + 10 + nudge, status.top + 4);
}

struct TestButton {
  const char* name;
  int id;
};

class TestButtons : public MainDialog, public ::testing::WithParamInterface<TestButton> {};

TEST_P(TestButtons, ShowTheirCursorOverTheDialogForFourSeconds) {
  Program program(UtilityIn(folder), folder);
  HWND dialog = Start(program);
  ASSERT_NE(dialog, nullptr);
  PointAtDialog(dialog);
  ::Sleep(300);
  const HCURSOR usual = CursorShown();
  Click(dialog, GetParam().id);
  const DWORD pressed = ::GetTickCount();
  PointAtDialog(dialog, 1);
  EXPECT_TRUE(WaitFor([&] { return CursorShown() != usual; }, 1000)) << "the test's cursor shows";
  const HCURSOR testing = CursorShown();
  SleepUntilElapsed(pressed, 3000);
  PointAtDialog(dialog);
  ::Sleep(200);
  EXPECT_EQ(CursorShown(), testing) << "still after three seconds, though the pointer moved";
  EXPECT_TRUE(WaitFor(
      [&] {
        PointAtDialog(dialog, (::GetTickCount() / 50) % 2);
        return CursorShown() == usual;
      },
      3000));
  EXPECT_GE(::GetTickCount() - pressed, 3900u) << "four seconds";
  EXPECT_LE(::GetTickCount() - pressed, 5500u);
}

INSTANTIATE_TEST_SUITE_P(Both, TestButtons,
                         ::testing::Values(TestButton{"AppStarting", IDC_TEST_APPSTART}, TestButton{"Busy", IDC_TEST_BUSY}),
                         [](const ::testing::TestParamInfo<TestButton>& info) { return std::string(info.param.name); });

TEST_F(MainDialog, TheTwoTestsShowDifferentCursors) {
  Program program(UtilityIn(folder), folder);
  HWND dialog = Start(program);
  ASSERT_NE(dialog, nullptr);
  PointAtDialog(dialog);
  Click(dialog, IDC_TEST_BUSY);
  PointAtDialog(dialog, 1);
  ::Sleep(300);
  const HCURSOR busy = CursorShown();
  Click(dialog, IDC_TEST_APPSTART);
  PointAtDialog(dialog);
  ::Sleep(300);
  EXPECT_NE(CursorShown(), busy) << "App Starting's cursor takes over while both run";
}

// The stored blink mode starts with the dialog: Wobble moves the resting pointer one pixel at a
// time after two seconds; a value outside the modes starts nothing.
struct StartMode {
  const char* name;
  const char* settings;
  bool wobbles;
};

class StoredMode : public MainDialog, public ::testing::WithParamInterface<StartMode> {};

// Follows the pointer for up to 8 s and checks that its first three moves are the wobble's first
// three steps from `rest`: right, down, left, one pixel each. Under Wine the test's own earlier
// move to `rest` can reach the display after the wobble's first step; the pointer is then back at
// `rest`, the wobble pauses two seconds as it does for any move, and the cycle goes on with its
// next step from there. That one return is allowed; any other position fails.
void ExpectWobbleFrom(POINT rest) {
  static constexpr POINT kSteps[4] = {{1, 0}, {0, 1}, {-1, 0}, {0, -1}};
  POINT at = rest;
  int steps = 0;
  int returns = 0;
  std::string path;
  const DWORD start = ::GetTickCount();
  while (::GetTickCount() - start < 8000 && steps < 3) {
    POINT now;
    ::GetCursorPos(&now);
    if (now.x != at.x || now.y != at.y) {
      path += " (" + std::to_string(now.x) + "," + std::to_string(now.y) + ")";
      const POINT step = kSteps[steps % 4];
      if (now.x == at.x + step.x && now.y == at.y + step.y) {
        ++steps;
      } else if (now.x == rest.x && now.y == rest.y && returns == 0 && steps > 0) {
        ++returns;
      } else {
        ADD_FAILURE() << "a move outside the wobble's cycle:" << path;
        return;
      }
      at = now;
    }
    ::Sleep(10);
  }
  EXPECT_EQ(steps, 3) << "right, down and left within 8 s:" << path;
}

TEST_P(StoredMode, WobblesOrLeavesThePointerAlone) {
  WriteSettings(GetParam().settings);
  Program program(UtilityIn(folder), folder);
  HWND dialog = Start(program);
  ASSERT_NE(dialog, nullptr);
  POINT rest = {300, 300};
  // Set twice: a pointer position from before the first (the last program's wobble) can still
  // reach the display after it.
  ::SetCursorPos(rest.x, rest.y);
  ::Sleep(300);
  ::SetCursorPos(rest.x, rest.y);
  ASSERT_TRUE(WaitFor([&] {
    POINT now;
    ::GetCursorPos(&now);
    return now.x == rest.x && now.y == rest.y;
  }));
  if (GetParam().wobbles) {
    ExpectWobbleFrom(rest);
  } else {
    std::vector<POINT> seen;
    const DWORD start = ::GetTickCount();
    while (::GetTickCount() - start < 3500) {
      POINT now;
      ::GetCursorPos(&now);
      if (seen.empty() || now.x != seen.back().x || now.y != seen.back().y) seen.push_back(now);
      ::Sleep(10);
    }
    std::string path;
    for (const POINT& p : seen) path += " (" + std::to_string(p.x) + "," + std::to_string(p.y) + ")";
    EXPECT_EQ(seen.size(), 1u) << "the pointer stays where it was put:" << path;
  }
  PressKey(dialog, VK_ESCAPE);
  EXPECT_TRUE(program.WaitForExit());
}

INSTANTIATE_TEST_SUITE_P(Modes, StoredMode,
                         ::testing::Values(StartMode{"Wobble", "Blink=6\r\n", true}, StartMode{"None", "Blink=0\r\n", false},
                                           StartMode{"Nine", "Blink=9\r\n", false}),
                         [](const ::testing::TestParamInfo<StartMode>& info) { return std::string(info.param.name); });

// The help window of the utility's process, once it is visible.

}  // namespace
