// The animator's Win32 shell: the actions performed on a window of the test, BlankCursor, and
// the real MainDialog (run on a thread of its own in this process) answering its radios, its
// Test buttons, WM_SETCURSOR and its timers.
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "platform/app.h"
#include "platform/gdi.h"
#include "platform/system_cursor.h"
#include "tests/wine/support/cursor_trace.h"
#include "tests/wine/support/system_cursor_record.h"
#include "tests/wine/support/wine_test_support.h"
#include "utility/records/cursor_settings.h"
#include "utility/cursor/animator_win.h"
#include "utility/cursor/cursor_slots_win.h"
#include "utility/dialog/main_dialog_win.h"
#include "utility/resources/resource.h"

using namespace wine_test;

namespace {

// These tests read the service's record, which the program keeps only when asked.
const bool kRecorded = (cursor_record::RecordSystemCursors(), true);

CWinApp testApp;  // AfxGetApp(): the wait cursor of the Busy test

class AppAttached : public ::testing::Environment {
 public:
  void SetUp() override { testApp.Attach(::GetModuleHandleA(nullptr)); }
};
[[maybe_unused]] const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new AppAttached);

// ---- Actions on a window of the test -------------------------------------------------------

// A plain window that counts its WM_TIMER messages by id and notes when they came.
class TimerWindow {
 public:
  TimerWindow() {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = &Proc;
    windowClass.hInstance = ::GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "AnimatorShellTimerWindow";
    ::RegisterClassA(&windowClass);
    window = ::CreateWindowExA(0, windowClass.lpszClassName, "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                               windowClass.hInstance, nullptr);
    ::SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  }
  ~TimerWindow() { ::DestroyWindow(window); }

  // Pumps this thread's messages for `ms`.
  void Run(DWORD ms) {
    const DWORD start = ::GetTickCount();
    while (::GetTickCount() - start < ms) {
      MSG message;
      while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&message);
      ::Sleep(2);
    }
  }

  HWND window;
  std::vector<DWORD> ticks[3];  // arrival times by timer id

 private:
  static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<TimerWindow*>(::GetWindowLongPtrA(window, GWLP_USERDATA));
    if (message == WM_TIMER && self && wParam < 3) {
      self->ticks[wParam].push_back(::GetTickCount());
      return 0;
    }
    return ::DefWindowProcA(window, message, wParam, lParam);
  }
};

double MeanInterval(const std::vector<DWORD>& times) {
  if (times.size() < 2) return 0;
  return static_cast<double>(times.back() - times.front()) / static_cast<double>(times.size() - 1);
}

TEST(AnimatorShell, TimerActionsStartRestartAndStopTheWindowsTimers) {
  TimerWindow target;
  AnimatorActions start;
  start.StartTimer(kAnimatorTimerId, 100);
  PerformAnimatorActions(target.window, start);
  target.Run(1050);
  EXPECT_NEAR(static_cast<double>(target.ticks[kAnimatorTimerId].size()), 10.0, 3.0);
  EXPECT_NEAR(MeanInterval(target.ticks[kAnimatorTimerId]), 100.0, 25.0);
  EXPECT_TRUE(target.ticks[kTestTimerId].empty());

  // A kill and a set with a new period, as a switching mode does.
  AnimatorActions restart;
  restart.StopTimer(kAnimatorTimerId);
  restart.StartTimer(kAnimatorTimerId, 300);
  restart.StartTimer(kTestTimerId, 500);
  PerformAnimatorActions(target.window, restart);
  target.ticks[kAnimatorTimerId].clear();
  target.Run(1550);
  EXPECT_NEAR(static_cast<double>(target.ticks[kAnimatorTimerId].size()), 5.0, 1.0);
  EXPECT_NEAR(MeanInterval(target.ticks[kAnimatorTimerId]), 300.0, 40.0);
  EXPECT_NEAR(static_cast<double>(target.ticks[kTestTimerId].size()), 3.0, 1.0);

  AnimatorActions stop;
  stop.StopTimer(kAnimatorTimerId);
  stop.StopTimer(kTestTimerId);
  stop.StopTimer(kTestTimerId);  // stopping a stopped timer is harmless
  PerformAnimatorActions(target.window, stop);
  target.Run(50);
  target.ticks[kAnimatorTimerId].clear();
  target.ticks[kTestTimerId].clear();
  target.Run(700);
  EXPECT_TRUE(target.ticks[kAnimatorTimerId].empty());
  EXPECT_TRUE(target.ticks[kTestTimerId].empty());
}

TEST(AnimatorShell, PointerAndWaitCursorActions) {
  TimerWindow target;
  AnimatorActions move;
  move.MovePointer({123, 234});
  PerformAnimatorActions(target.window, move);
  POINT where = {};
  ASSERT_TRUE(::GetCursorPos(&where));
  EXPECT_EQ(where.x, 123);
  EXPECT_EQ(where.y, 234);

  AnimatorActions wait;
  wait.Wait(1);
  PerformAnimatorActions(target.window, wait);
  EXPECT_EQ(testApp.WaitCursorDepth(), 1);
  EXPECT_EQ(::GetCursor(), ::LoadCursorA(nullptr, IDC_WAIT));
  AnimatorActions done;
  done.Wait(-1);
  PerformAnimatorActions(target.window, done);
  EXPECT_EQ(testApp.WaitCursorDepth(), 0);
}

TEST(AnimatorShell, BlankCursorIsLoadedOnceAndDrawsNothing) {
  LoadBlankCursor();
  HCURSOR blank = static_cast<HCURSOR>(animatorState.blankCursor);
  ASSERT_NE(blank, nullptr);
  LoadBlankCursor();
  EXPECT_EQ(animatorState.blankCursor, blank) << "loaded once";
  ICONINFO info = {};
  ASSERT_TRUE(::GetIconInfo(blank, &info));
  EXPECT_FALSE(info.fIcon);
  EXPECT_EQ(info.xHotspot, 0u);
  EXPECT_EQ(info.yHotspot, 0u);
  EXPECT_EQ(info.hbmColor, nullptr) << "monochrome";
  BITMAP mask = {};
  ASSERT_TRUE(::GetObjectA(info.hbmMask, sizeof mask, &mask));
  EXPECT_EQ(mask.bmWidth, 32);
  EXPECT_EQ(mask.bmHeight, 64) << "AND and XOR halves";
  std::vector<unsigned char> bits(static_cast<size_t>(mask.bmWidthBytes) * mask.bmHeight);
  ASSERT_EQ(::GetBitmapBits(info.hbmMask, static_cast<LONG>(bits.size()), bits.data()),
            static_cast<LONG>(bits.size()));
  const size_t half = bits.size() / 2;
  for (size_t i = 0; i < half; ++i) ASSERT_EQ(bits[i], 0xFF) << "AND mask byte " << i;
  for (size_t i = half; i < bits.size(); ++i) ASSERT_EQ(bits[i], 0x00) << "XOR mask byte " << i;
  ::DeleteObject(info.hbmMask);
}

TEST(AnimatorShell, EmptySlotsFallBackToThePlatformDefault) {
  HCURSOR own = ::CreateCursor(::GetModuleHandleA(nullptr), 0, 0, 32, 32, std::vector<BYTE>(128, 0xFF).data(),
                               std::vector<BYTE>(128, 0).data());
  ASSERT_NE(own, nullptr);
  const CursorSlot keep = CursorSlotTable[kRoleNormal];
  CursorSlotTable[kRoleNormal] = {own, 0, 0};
  EXPECT_EQ(SlotImageOrDefault(kRoleNormal, kIdNormal), own);
  CursorSlotTable[kRoleNormal] = {nullptr, 0, 0};
  HCURSOR fallback = SlotImageOrDefault(kRoleNormal, kIdNormal);
  EXPECT_NE(fallback, nullptr);
  EXPECT_EQ(fallback, platform::LoadSharedCursor(nullptr, MAKEINTRESOURCEA(kIdNormal)));
  CursorSlotTable[kRoleNormal] = keep;
  ::DestroyCursor(own);
}

// ---- The real dialog -----------------------------------------------------------------------

// MainDialog run modally on a thread of its own, as InitInstance runs it.
class RunningDialog : public ::testing::Test {
 protected:
  void SetUp() override {
    // A fresh process's animator for each dialog; BlankCursor stays loaded.
    const CursorHandle blank = animatorState.blankCursor;
    animatorState = AnimatorState();
    animatorState.blankCursor = blank;
    LoadBlankCursor();
    // Every role on the platform's own cursor, so the slots hold handles to blink with.
    for (char* name : {current.Normal, current.Appstart, current.Busy, current.Ibeam}) std::strcpy(name, "<Default>");
    current.Blink = 0;
    saved = current;
    runner = std::thread([this] {
      MainDialog dialog;
      dialog.DoModal();
      ended = true;
    });
    ASSERT_TRUE(WaitFor([&] {
      for (HWND window : FindTopLevelWindows("Pointrel")) {
        if (WindowProcess(window) == ::GetCurrentProcessId() && ::IsWindowVisible(window)) dialog = window;
      }
      return dialog != nullptr;
    })) << "the dialog did not come up";
    dialogThread = ::GetWindowThreadProcessId(dialog, nullptr);
  }
  void TearDown() override {
    if (dialog && ::IsWindow(dialog)) {
      Click(dialog, IDC_BLINK_NONE);
      ::PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    }
    if (runner.joinable()) runner.join();
  }

  // Sends WM_SETCURSOR as the platform does for the pointer over the dialog; returns the cursor
  // that the dialog's thread shows afterwards.
  HCURSOR CursorAfterSetCursor() {
    ::AttachThreadInput(::GetCurrentThreadId(), dialogThread, TRUE);
    DWORD_PTR result = 0;
    ::SendMessageTimeoutA(dialog, WM_SETCURSOR, reinterpret_cast<WPARAM>(dialog), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE),
                          SMTO_NORMAL, 5000, &result);
    HCURSOR shown = ::GetCursor();
    ::AttachThreadInput(::GetCurrentThreadId(), dialogThread, FALSE);
    return shown;
  }

  HWND dialog = nullptr;
  DWORD dialogThread = 0;
  std::thread runner;
  std::atomic<bool> ended{false};
};

TEST_F(RunningDialog, BlinkRadiosSelectTheirModes) {
  const struct {
    int id;
    int32_t mode;
  } radios[] = {{IDC_BLINK_RAPID, 1}, {IDC_BLINK_1S_5050, 2}, {IDC_BLINK_1S_7525, 3}, {IDC_BLINK_2S, 4},
                {IDC_BLINK_4S, 5},    {IDC_BLINK_WOBBLE, 6}, {IDC_BLINK_NONE, 0}};
  for (const auto& radio : radios) {
    Click(dialog, radio.id);
    EXPECT_EQ(current.Blink, radio.mode) << radio.id;
    EXPECT_TRUE(IsChecked(dialog, radio.id)) << radio.id;
  }
}

// Positions the pointer takes, sampled often enough to see every 50 ms step.
std::vector<POINT> TracePointer(DWORD ms) {
  std::vector<POINT> visited;
  const DWORD start = ::GetTickCount();
  while (::GetTickCount() - start < ms) {
    POINT where;
    ::GetCursorPos(&where);
    if (visited.empty() || visited.back().x != where.x || visited.back().y != where.y) visited.push_back(where);
    ::Sleep(3);
  }
  return visited;
}

// Puts the pointer at (x, y) and waits until it has stayed there for half a second: Wine's
// display driver may still deliver an older pointer position just after a window comes up.
bool ParkPointer(int x, int y) {
  for (int attempt = 0; attempt < 10; ++attempt) {
    ::SetCursorPos(x, y);
    const std::vector<POINT> seen = TracePointer(500);
    if (seen.size() == 1 && seen[0].x == x && seen[0].y == y) return true;
  }
  return false;
}

TEST_F(RunningDialog, WobbleTracesTheSquareAfterTwoSecondsAndStopsWhenMoved) {
  // Away from the dialog, so the wobble's own moves reach no window of this process.
  ASSERT_TRUE(ParkPointer(100, 120));
  const DWORD clicked = ::GetTickCount();
  Click(dialog, IDC_BLINK_WOBBLE);
  ASSERT_TRUE(WaitFor(
      [] {
        POINT where;
        ::GetCursorPos(&where);
        return where.x != 100 || where.y != 120;
      },
      5000))
      << "no wobble within 5 s";
  const DWORD firstStep = ::GetTickCount() - clicked;
  EXPECT_GE(firstStep, 1900u) << "the first step needs 40 still ticks after the first";
  EXPECT_LE(firstStep, 3200u);
  const std::vector<POINT> visited = TracePointer(1000);
  ASSERT_GE(visited.size(), 12u) << "about 20 steps a second";
  const POINT square[4] = {{101, 120}, {101, 121}, {100, 121}, {100, 120}};
  int at = -1;
  for (int i = 0; i < 4; ++i) {
    if (visited[0].x == square[i].x && visited[0].y == square[i].y) at = i;
  }
  ASSERT_GE(at, 0) << visited[0].x << "," << visited[0].y;
  for (const POINT& where : visited) {
    EXPECT_EQ(where.x, square[at].x);
    EXPECT_EQ(where.y, square[at].y);
    at = (at + 1) % 4;
  }
  // The user takes the mouse: from the next tick on the pointer stays where it was put.
  ::SetCursorPos(60, 60);
  ::Sleep(100);
  const std::vector<POINT> afterMove = TracePointer(1500);  // less than the 2 s to the next step
  ASSERT_EQ(afterMove.size(), 1u) << "moved by the wobble within 2 s of the user's move";
  EXPECT_EQ(afterMove[0].x, 60);
  EXPECT_EQ(afterMove[0].y, 60);
  Click(dialog, IDC_BLINK_NONE);
  EXPECT_EQ(TracePointer(2500).size(), 1u) << "None stops it";
}

TEST_F(RunningDialog, BusyTestShowsTheWaitCursorForFourSeconds) {
  HCURSOR arrow = ::LoadCursorA(nullptr, IDC_ARROW);
  HCURSOR wait = ::LoadCursorA(nullptr, IDC_WAIT);
  EXPECT_EQ(CursorAfterSetCursor(), arrow) << "default processing sets the class cursor";
  const DWORD pressed = ::GetTickCount();
  Click(dialog, IDC_TEST_BUSY);
  EXPECT_EQ(testApp.WaitCursorDepth(), 1);
  EXPECT_EQ(CursorAfterSetCursor(), wait) << "WM_SETCURSOR leaves the wait cursor";
  ASSERT_TRUE(WaitFor([] { return testApp.WaitCursorDepth() == 0; }, 8000));
  const DWORD lasted = ::GetTickCount() - pressed;
  EXPECT_GE(lasted, 3900u);
  EXPECT_LE(lasted, 4800u);
  EXPECT_EQ(CursorAfterSetCursor(), arrow) << "the class cursor is back once the pointer moves";
}

TEST_F(RunningDialog, BothTestsEndTogetherFourSecondsAfterTheSecondPress) {
  HCURSOR appStarting = ::CreateCursor(::GetModuleHandleA(nullptr), 3, 3, 32, 32, std::vector<BYTE>(128, 0xF0).data(),
                                       std::vector<BYTE>(128, 0x0F).data());
  ASSERT_NE(appStarting, nullptr);
  const CursorSlot keep = CursorSlotTable[kRoleAppStarting];
  CursorSlotTable[kRoleAppStarting] = {appStarting, 0, 0};

  const DWORD first = ::GetTickCount();
  Click(dialog, IDC_TEST_APPSTART);
  EXPECT_EQ(CursorAfterSetCursor(), appStarting) << "the App Starting slot's cursor over the dialog";
  ::Sleep(1500);
  const DWORD second = ::GetTickCount();
  Click(dialog, IDC_TEST_BUSY);
  EXPECT_EQ(testApp.WaitCursorDepth(), 1);
  EXPECT_EQ(CursorAfterSetCursor(), appStarting) << "App Starting still wins while both run";
  // 4 s after the first press both still run.
  while (::GetTickCount() - first < 4300) ::Sleep(20);
  EXPECT_EQ(testApp.WaitCursorDepth(), 1) << "the second press restarted the period";
  ASSERT_TRUE(WaitFor([] { return testApp.WaitCursorDepth() == 0; }, 6000));
  const DWORD ended = ::GetTickCount() - second;
  EXPECT_GE(ended, 3900u);
  EXPECT_LE(ended, 4800u);
  EXPECT_EQ(CursorAfterSetCursor(), ::LoadCursorA(nullptr, IDC_ARROW)) << "both ended";

  CursorSlotTable[kRoleAppStarting] = keep;
  ::DestroyCursor(appStarting);
}

// ---- Blinking, followed through the system-cursor service's record -------------------------

struct Install {
  DWORD time;  // ms after the radio was clicked
  DWORD id;
  bool blank;
};

// Records the Normal and I-Beam installs the service sees until `ms` after `start` (at least one
// look), with the time each was first seen; `seen` counts the service's events already looked at.
std::vector<Install> FollowInstalls(DWORD start, DWORD ms, size_t* seen) {
  std::vector<Install> installs;
  do {
    const std::vector<cursor_record::SystemCursorEvent> events = cursor_record::GetSystemCursorEvents();
    for (size_t i = *seen; i < events.size(); ++i) {
      const auto& event = events[i];
      // A slot may hold the platform's own cursor, which the service records as "default".
      if (event.kind == platform::SystemCursorEventKind::Refused) continue;
      if (event.id != kIdNormal && event.id != kIdIBeam) continue;
      installs.push_back({::GetTickCount() - start, event.id, event.handle == animatorState.blankCursor});
    }
    *seen = events.size();
    ::Sleep(3);
  } while (::GetTickCount() - start < ms);
  return installs;
}

struct BlinkCase {
  int radio;
  const char* name;
  DWORD firstHideMs;  // from the click: the first tick, then the full count
  DWORD hiddenMs;
  DWORD visibleMs;
};

class RunningDialogBlink : public RunningDialog, public ::testing::WithParamInterface<BlinkCase> {};

TEST_P(RunningDialogBlink, RestingPointerBlinksInTheModesRhythm) {
  const BlinkCase& c = GetParam();
  ASSERT_TRUE(ParkPointer(100, 120));
  ASSERT_NE(CursorSlotTable[kRoleNormal].handle, nullptr) << "the dialog installed the Normal role";
  ASSERT_NE(CursorSlotTable[kRoleIBeam].handle, nullptr);
  HCURSOR normalImage = CursorSlotTable[kRoleNormal].handle;
  size_t seen = cursor_record::GetSystemCursorEvents().size();
  const DWORD clicked = ::GetTickCount();
  Click(dialog, c.radio);
  const DWORD cycles = 2;
  const std::vector<Install> installs =
      FollowInstalls(clicked, c.firstHideMs + cycles * (c.hiddenMs + c.visibleMs) + c.hiddenMs / 2, &seen);
  Click(dialog, IDC_BLINK_NONE);
  // Normal and I-Beam change together, Normal first; phases alternate from hidden.
  std::vector<Install> normal;
  for (size_t i = 0; i < installs.size(); ++i) {
    if (installs[i].id != kIdNormal) continue;
    normal.push_back(installs[i]);
    ASSERT_LT(i + 1, installs.size()) << "an I-Beam install follows each Normal install";
    EXPECT_EQ(installs[i + 1].id, kIdIBeam);
    EXPECT_EQ(installs[i + 1].blank, installs[i].blank);
  }
  ASSERT_EQ(normal.size(), 2 * cycles + 1) << c.name;
  EXPECT_NEAR(static_cast<double>(normal[0].time), static_cast<double>(c.firstHideMs), 250.0) << c.name;
  for (size_t i = 0; i < normal.size(); ++i) {
    EXPECT_EQ(normal[i].blank, i % 2 == 0) << c.name << " install " << i;
    if (i == 0) continue;
    const DWORD phase = normal[i].time - normal[i - 1].time;
    const DWORD expected = i % 2 ? c.hiddenMs : c.visibleMs;
    EXPECT_NEAR(static_cast<double>(phase), static_cast<double>(expected), 70.0) << c.name << " phase " << i;
  }
  EXPECT_EQ(CursorSlotTable[kRoleNormal].handle, normalImage) << "the animator never writes a slot";
}

const BlinkCase kBlinkCases[] = {
    {IDC_BLINK_RAPID, "Rapid", 200 + 1600, 200, 200},
    {IDC_BLINK_1S_5050, "OneSecond5050", 500 + 2000, 500, 500},
    {IDC_BLINK_1S_7525, "OneSecond7525", 750 + 2250, 250, 750},
    {IDC_BLINK_2S, "Flicker2s", 1800 + 3600, 200, 1800},
};
INSTANTIATE_TEST_SUITE_P(Modes, RunningDialogBlink, ::testing::ValuesIn(kBlinkCases),
                         [](const auto& info) { return std::string(info.param.name); });

// Clicks Rapid and follows the installs until the cursor has just been hidden.
std::vector<Install> RapidUntilHidden(HWND dialog, size_t* seen) {
  const DWORD clicked = ::GetTickCount();
  Click(dialog, IDC_BLINK_RAPID);
  std::vector<Install> installs;
  while ((installs.empty() || !installs.back().blank) && ::GetTickCount() - clicked < 4000) {
    std::vector<Install> more = FollowInstalls(::GetTickCount(), 5, seen);
    installs.insert(installs.end(), more.begin(), more.end());
  }
  return installs;
}

TEST_F(RunningDialog, ChoosingNoneWhileHiddenShowsAtOnce) {
  ASSERT_TRUE(ParkPointer(100, 120));
  size_t seen = cursor_record::GetSystemCursorEvents().size();
  // Wait for a hide, then choose None within its 200 ms.
  const std::vector<Install> installs = RapidUntilHidden(dialog, &seen);
  ASSERT_FALSE(installs.empty());
  ASSERT_TRUE(installs.back().blank) << "no hide";
  Click(dialog, IDC_BLINK_NONE);
  std::vector<Install> after = FollowInstalls(::GetTickCount(), 10, &seen);
  ASSERT_EQ(after.size(), 2u) << "both roles shown by the choice itself";
  EXPECT_FALSE(after[0].blank);
  EXPECT_FALSE(after[1].blank);
  EXPECT_TRUE(FollowInstalls(::GetTickCount(), 1000, &seen).empty()) << "None runs no timer";
}

TEST_F(RunningDialog, ExitWhileHiddenPutsTheImagesBackBeforeTheDefaults) {
  ASSERT_TRUE(ParkPointer(100, 120));
  size_t seen = cursor_record::GetSystemCursorEvents().size();
  const std::vector<Install> hidden = RapidUntilHidden(dialog, &seen);
  ASSERT_FALSE(hidden.empty());
  ASSERT_TRUE(hidden.back().blank);
  const size_t before = seen;
  Click(dialog, IDC_EXIT_RESTORE);
  ASSERT_TRUE(WaitFor([&] { return ended.load(); }, 5000)) << "Exit + Restore did not end the dialog";
  const std::vector<cursor_record::SystemCursorEvent> events = cursor_record::GetSystemCursorEvents();
  std::vector<DWORD> ids;
  for (size_t i = before; i < events.size(); ++i) {
    EXPECT_NE(events[i].handle, animatorState.blankCursor) << "event " << i - before << " installs the blank";
    ids.push_back(events[i].id);
  }
  // The two role images, the user's scheme asked for (refused by Wine: no id), then every
  // role's default in the restore order.
  std::vector<DWORD> expected = {32512, 32513, 0};
  for (unsigned long id : ExpectedRestoreOrder()) expected.push_back(id);
  EXPECT_EQ(ids, expected);
  for (DWORD id : {kIdNormal, kIdIBeam}) {
    cursor_record::InstalledSystemCursor now;
    ASSERT_TRUE(cursor_record::GetInstalledSystemCursor(id, &now));
    EXPECT_TRUE(now.isDefault) << id;
  }
  dialog = nullptr;
}

TEST_F(RunningDialog, CancelWhileHiddenShowsAtOnceThenRestartsTheSavedMode) {
  saved.Blink = static_cast<int32_t>(BlinkMode::Rapid);
  ASSERT_TRUE(ParkPointer(100, 120));
  size_t seen = cursor_record::GetSystemCursorEvents().size();
  const std::vector<Install> hidden = RapidUntilHidden(dialog, &seen);
  ASSERT_FALSE(hidden.empty());
  ASSERT_TRUE(hidden.back().blank);
  Click(dialog, IDC_CANCEL);
  const DWORD cancelled = ::GetTickCount();
  // Cancel itself shows both roles: the click has been handled when Click returns.
  const std::vector<Install> atOnce = FollowInstalls(cancelled, 1, &seen);
  ASSERT_GE(atOnce.size(), 2u) << "nothing shown by Cancel itself";
  EXPECT_EQ(atOnce[0].id, kIdNormal);
  EXPECT_FALSE(atOnce[0].blank);
  EXPECT_EQ(atOnce[1].id, kIdIBeam);
  EXPECT_FALSE(atOnce[1].blank);
  for (const Install& install : atOnce) EXPECT_FALSE(install.blank);
  // The saved Rapid starts on a fresh timer, and the pointer has rested all along: the next
  // hide comes one period after Cancel, not on the old timer's beat.
  const std::vector<Install> after = FollowInstalls(cancelled, 700, &seen);
  DWORD blankAt = 0;
  for (const Install& install : after) {
    if (install.blank && !blankAt) blankAt = install.time;
  }
  ASSERT_NE(blankAt, 0u) << "the saved mode blinks again";
  EXPECT_NEAR(static_cast<double>(blankAt), 200.0, 60.0);
  EXPECT_EQ(current.Blink, static_cast<int32_t>(BlinkMode::Rapid));
  EXPECT_TRUE(IsChecked(dialog, IDC_BLINK_RAPID));
}

TEST_F(RunningDialog, MovingThePointerKeepsTheCursorVisible) {
  ASSERT_TRUE(ParkPointer(100, 120));
  size_t seen = cursor_record::GetSystemCursorEvents().size();
  Click(dialog, IDC_BLINK_RAPID);
  // The pointer moves every 100 ms for 4 s: more than twice the 1.6 s count.
  const DWORD start = ::GetTickCount();
  std::vector<Install> installs;
  for (int step = 0; ::GetTickCount() - start < 4000; ++step) {
    ::SetCursorPos(100 + step % 20, 120);
    std::vector<Install> more = FollowInstalls(::GetTickCount(), 100, &seen);
    installs.insert(installs.end(), more.begin(), more.end());
  }
  EXPECT_TRUE(installs.empty()) << installs.size() << " installs while the pointer moved";
}

}  // namespace
