// The animator's state machine on a simulated clock: a fake dialog whose timers fire at the
// periods the animator sets, a pointer the test moves (or leaves alone), and a record of what
// each role's system cursor shows.
#include "utility/cursor/animator_state.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstddef>
#include <string>
#include <vector>

#include "utility/resources/resource.h"

// Counts heap allocations (malloc and operator new alike, through the sanitizer's hooks) while
// `countAllocations` is set, to show the animator allocates nothing per tick.
extern "C" int __sanitizer_install_malloc_and_free_hooks(void (*onMalloc)(const volatile void*, size_t),
                                                        void (*onFree)(const volatile void*));
namespace {
std::atomic<bool> countAllocations{false};
std::atomic<long> allocations{0};
void CountMalloc(const volatile void*, size_t) {
  if (countAllocations) ++allocations;
}
void IgnoreFree(const volatile void*) {}
const int kHooksInstalled = __sanitizer_install_malloc_and_free_hooks(CountMalloc, IgnoreFree);
}  // namespace

namespace {

enum class Image { Own, Blank };

const char* ModeName(int32_t mode) {
  static const char* const kNames[] = {"None", "Rapid", "OneSecond5050", "OneSecond7525", "Flicker2s", "Flicker4s",
                                       "Wobble"};
  return mode >= 0 && mode < kBlinkModeCount ? kNames[mode] : "out of range";
}

// The dialog, the platform and the clock around the animator.
class Simulation {
 public:
  struct Timer {
    bool running = false;
    uint32_t period = 0;
    uint64_t due = 0;
  };
  struct Change {  // a role's system cursor changed image
    uint64_t time;
    uint32_t id;
    Image image;
  };

  AnimatorState state;
  int32_t mode = 0;
  uint64_t now = 0;
  Timer timers[3];  // by id; 0 unused
  CursorPoint pointer = {100, 100};
  bool refuseMoves = false;
  bool movePointerEveryTick = false;
  BlinkRole normal = {0, true};
  BlinkRole ibeam = {0, true};
  Image normalImage = Image::Own;
  Image ibeamImage = Image::Own;
  int waitDepth = 0;
  int maxWaitDepth = 0;
  std::vector<Change> changes;
  std::vector<AnimatorAction> performed;
  std::vector<CursorPoint> moves;  // pointer positions after each wobble move
  int ticks = 0;
  uint64_t lastTickTime = 0;

  void Perform(const AnimatorActions& actions) {
    for (const AnimatorAction& action : actions) {
      performed.push_back(action);
      switch (action.kind) {
        case AnimatorAction::InstallSystemCursor: {
          const Image image = action.source == CursorSource::Blank ? Image::Blank : Image::Own;
          Image& shown = action.systemCursorId == kIdNormal ? normalImage : ibeamImage;
          ASSERT_TRUE(action.systemCursorId == kIdNormal || action.systemCursorId == kIdIBeam)
              << action.systemCursorId;
          if (shown != image) changes.push_back({now, action.systemCursorId, image});
          shown = image;
          break;
        }
        case AnimatorAction::SetTimer:
          ASSERT_TRUE(action.timerId == kTestTimerId || action.timerId == kAnimatorTimerId) << action.timerId;
          timers[action.timerId] = {true, action.period, now + action.period};
          break;
        case AnimatorAction::KillTimer:
          ASSERT_TRUE(action.timerId == kTestTimerId || action.timerId == kAnimatorTimerId) << action.timerId;
          timers[action.timerId].running = false;
          break;
        case AnimatorAction::SetCursorPos:
          if (!refuseMoves) pointer = action.point;
          moves.push_back(pointer);
          break;
        case AnimatorAction::WaitCursor:
          waitDepth += action.delta;
          if (waitDepth > maxWaitDepth) maxWaitDepth = waitDepth;
          break;
      }
    }
  }

  void Select(int32_t newMode) { Perform(animator::SelectBlinkMode(state, mode, newMode)); }
  void Stop() { Perform(animator::StopAnimation(state, mode)); }
  void TestAppStarting() { Perform(animator::OnTestAppStarting(state)); }
  void TestBusy() { Perform(animator::OnTestBusy(state)); }

  // Fires every timer that falls due up to `until`, in time order.
  void RunUntil(uint64_t until) {
    for (;;) {
      int next = 0;
      for (int id = 1; id <= 2; ++id) {
        if (timers[id].running && timers[id].due <= until && (next == 0 || timers[id].due < timers[next].due)) next = id;
      }
      if (next == 0) break;
      now = timers[next].due;
      timers[next].due = now + timers[next].period;  // a restart in the handler replaces this
      if (next == static_cast<int>(kAnimatorTimerId)) {
        if (movePointerEveryTick) pointer.x += 3;
        ++ticks;
        lastTickTime = now;
        Perform(animator::OnAnimatorTick(state, mode, pointer, normal, ibeam));
      } else {
        Perform(animator::OnTestTimer(state));
      }
    }
    now = until;
  }

  bool NormalHidden() const { return normalImage == Image::Blank; }
  bool AnyBlankInstalled(size_t fromAction = 0) const {
    for (size_t i = fromAction; i < performed.size(); ++i) {
      if (performed[i].kind == AnimatorAction::InstallSystemCursor && performed[i].source == CursorSource::Blank) return true;
    }
    return false;
  }
  // Times at which the Normal role's image changed, from `from` on.
  std::vector<uint64_t> NormalChangeTimes(uint64_t from = 0) const {
    std::vector<uint64_t> times;
    for (const Change& change : changes) {
      if (change.id == kIdNormal && change.time >= from) times.push_back(change.time);
    }
    return times;
  }
};

// ---- Rhythms while the pointer rests -------------------------------------------------------

struct RhythmCase {
  BlinkMode mode;
  uint32_t period;       // set when chosen
  uint64_t firstHideMs;  // counted from the last tick that saw the pointer elsewhere
  uint64_t hiddenMs;
  uint64_t visibleMs;
};

const RhythmCase kRhythmCases[] = {
    {BlinkMode::Rapid, 200, 1600, 200, 200},
    {BlinkMode::OneSecond5050, 500, 2000, 500, 500},
    {BlinkMode::OneSecond7525, 750, 2250, 250, 750},
    {BlinkMode::Flicker2s, 1800, 3600, 200, 1800},
    {BlinkMode::Flicker4s, 3800, 7600, 200, 3800},
};

class BlinkRhythmTest : public ::testing::TestWithParam<RhythmCase> {};

TEST_P(BlinkRhythmTest, RestingPointerHidesAfterTheFullCountThenAlternates) {
  const RhythmCase& c = GetParam();
  Simulation sim;
  sim.Select(static_cast<int32_t>(c.mode));
  ASSERT_TRUE(sim.timers[kAnimatorTimerId].running);
  EXPECT_EQ(sim.timers[kAnimatorTimerId].period, c.period);
  // The first tick sees the pointer away from the initial (-1, -1): that is the last "elsewhere".
  const uint64_t lastElsewhere = c.period;
  sim.RunUntil(lastElsewhere + c.firstHideMs - 1);
  EXPECT_FALSE(sim.NormalHidden()) << "hidden before the full count of still ticks";
  EXPECT_TRUE(sim.changes.empty());
  sim.RunUntil(lastElsewhere + c.firstHideMs + 10 * (c.hiddenMs + c.visibleMs));
  const std::vector<uint64_t> times = sim.NormalChangeTimes();
  ASSERT_GE(times.size(), 20u);
  EXPECT_EQ(times[0], lastElsewhere + c.firstHideMs);
  for (size_t i = 1; i < times.size(); ++i) {
    const uint64_t expected = (i % 2) ? c.hiddenMs : c.visibleMs;
    EXPECT_EQ(times[i] - times[i - 1], expected) << "phase " << i << (i % 2 ? " (hidden)" : " (visible)");
  }
  // Both roles blink together.
  std::vector<uint64_t> ibeamTimes;
  for (const auto& change : sim.changes) {
    if (change.id == kIdIBeam) ibeamTimes.push_back(change.time);
  }
  EXPECT_EQ(ibeamTimes, times);
}

TEST_P(BlinkRhythmTest, PointerMovedAtEveryTickNeverHides) {
  Simulation sim;
  sim.movePointerEveryTick = true;
  sim.Select(static_cast<int32_t>(GetParam().mode));
  sim.RunUntil(60000);
  EXPECT_GT(sim.ticks, 10);
  EXPECT_FALSE(sim.AnyBlankInstalled());
  EXPECT_EQ(sim.state.stillTicks, 0u);
  EXPECT_EQ(sim.timers[kAnimatorTimerId].period, GetParam().period) << "a visible phase keeps the starting period";
}

TEST_P(BlinkRhythmTest, MovingWhileHiddenShowsAtTheNextTickAndStaysVisibleWhileMoving) {
  const RhythmCase& c = GetParam();
  Simulation sim;
  sim.Select(static_cast<int32_t>(c.mode));
  sim.RunUntil(c.period + c.firstHideMs);
  ASSERT_TRUE(sim.NormalHidden());
  sim.pointer.x += 5;  // the user moves the mouse within the hidden phase
  sim.movePointerEveryTick = true;
  sim.RunUntil(sim.now + c.hiddenMs);
  EXPECT_FALSE(sim.NormalHidden()) << "shown at the very next tick";
  const size_t before = sim.performed.size();
  sim.RunUntil(sim.now + 20 * c.firstHideMs);
  EXPECT_FALSE(sim.AnyBlankInstalled(before)) << "stays visible while the pointer moves";
  // Resting again needs the full count from the last moved tick.
  sim.movePointerEveryTick = false;
  const uint64_t lastMovedTick = sim.lastTickTime;
  const size_t changesBefore = sim.changes.size();
  sim.RunUntil(sim.now + c.firstHideMs + c.visibleMs);
  ASSERT_GT(sim.changes.size(), changesBefore);
  const uint64_t hideAt = sim.changes[changesBefore].time;
  EXPECT_EQ(sim.changes[changesBefore].image, Image::Blank);
  EXPECT_EQ(hideAt - lastMovedTick, c.firstHideMs) << "the full count after the last moved tick";
}

INSTANTIATE_TEST_SUITE_P(Modes, BlinkRhythmTest, ::testing::ValuesIn(kRhythmCases),
                         [](const auto& info) { return std::string(ModeName(static_cast<int32_t>(info.param.mode))); });

// Start periods, thresholds and period switches of every mode.
TEST(BlinkRhythmTable, PeriodsAndThresholds) {
  struct Row {
    int32_t mode;
    uint32_t start, still, hidden, visible;
  };
  const Row rows[] = {{1, 200, 8, 0, 0},     {2, 500, 4, 0, 0},     {3, 750, 3, 250, 750},
                      {4, 1800, 2, 200, 1800}, {5, 3800, 2, 200, 3800}, {6, 50, 40, 0, 0}};
  for (const Row& row : rows) {
    const BlinkRhythm* rhythm = RhythmOf(row.mode);
    ASSERT_NE(rhythm, nullptr) << ModeName(row.mode);
    EXPECT_EQ(rhythm->startPeriod, row.start) << ModeName(row.mode);
    EXPECT_EQ(rhythm->stillTicksToHide, row.still) << ModeName(row.mode);
    EXPECT_EQ(rhythm->hiddenPeriod, row.hidden) << ModeName(row.mode);
    EXPECT_EQ(rhythm->visiblePeriod, row.visible) << ModeName(row.mode);
  }
  for (int32_t mode : {0, -1, 7, 9, INT32_MIN, INT32_MAX}) EXPECT_EQ(RhythmOf(mode), nullptr) << mode;
}

// The hidden and visible periods are set as kill-then-set pairs after the images change.
TEST(BlinkTick, PeriodSwitchModesRestartTheTimerAfterChangingImages) {
  Simulation sim;
  sim.Select(static_cast<int32_t>(BlinkMode::Flicker2s));
  sim.RunUntil(1800 + 3600 - 1);
  const size_t before = sim.performed.size();
  sim.RunUntil(1800 + 3600);
  ASSERT_EQ(sim.performed.size() - before, 4u);
  EXPECT_EQ(sim.performed[before].kind, AnimatorAction::InstallSystemCursor);
  EXPECT_EQ(sim.performed[before].systemCursorId, kIdNormal);
  EXPECT_EQ(sim.performed[before + 1].systemCursorId, kIdIBeam);
  EXPECT_EQ(sim.performed[before + 2].kind, AnimatorAction::KillTimer);
  EXPECT_EQ(sim.performed[before + 2].timerId, kAnimatorTimerId);
  EXPECT_EQ(sim.performed[before + 3].kind, AnimatorAction::SetTimer);
  EXPECT_EQ(sim.performed[before + 3].period, 200u);
}

TEST(BlinkTick, FixedPeriodModesNeverTouchTheTimer) {
  for (BlinkMode mode : {BlinkMode::Rapid, BlinkMode::OneSecond5050}) {
    Simulation sim;
    sim.Select(static_cast<int32_t>(mode));
    const size_t before = sim.performed.size();
    sim.RunUntil(20000);
    for (size_t i = before; i < sim.performed.size(); ++i) {
      EXPECT_EQ(sim.performed[i].kind, AnimatorAction::InstallSystemCursor) << ModeName(static_cast<int32_t>(mode));
    }
  }
}

// The count is unsigned: a count past 2^31 still passes the threshold.
TEST(BlinkTick, StillTickCountIsComparedUnsigned) {
  for (uint32_t count : {0x7FFFFFFFu, 0x80000000u, 0xFFFFFFFEu}) {
    AnimatorState state;
    int32_t mode = static_cast<int32_t>(BlinkMode::Rapid);
    state.lastCursorPos = {10, 10};
    state.stillTicks = count;
    const AnimatorActions actions = animator::OnAnimatorTick(state, mode, {10, 10}, {0, true}, {0, true});
    EXPECT_EQ(state.stillTicks, count + 1);
    EXPECT_EQ(state.blinkPhase, kPhaseHidden) << count;
    EXPECT_EQ(actions.count, 2);
  }
}

TEST(BlinkTick, OutOfRangeModeOnlyTracksThePointer) {
  for (int32_t mode : {0, 7, 9, -3}) {
    AnimatorState state;
    state.lastCursorPos = {4, 4};
    state.stillTicks = 1000;
    const AnimatorActions actions = animator::OnAnimatorTick(state, mode, {4, 4}, {0, true}, {0, true});
    EXPECT_EQ(actions.count, 0) << mode;
    EXPECT_EQ(state.stillTicks, 1001u);
    EXPECT_EQ(state.blinkPhase, kPhaseVisible);
    const AnimatorActions moved = animator::OnAnimatorTick(state, mode, {5, 4}, {0, true}, {0, true});
    EXPECT_EQ(moved.count, 0);
    EXPECT_EQ(state.stillTicks, 0u);
    EXPECT_EQ(state.lastCursorPos, (CursorPoint{5, 4}));
  }
}

// ---- Which roles blink ---------------------------------------------------------------------

TEST(BlinkRoles, AnimatedOrEmptyRolesAreNeverBlanked) {
  struct Case {
    BlinkRole normal, ibeam;
    bool normalBlinks, ibeamBlinks;
  };
  const Case cases[] = {
      {{0, true}, {0, true}, true, true},     {{1, true}, {0, true}, false, true},
      {{0, true}, {1, true}, true, false},    {{1, true}, {1, true}, false, false},
      {{0, false}, {0, true}, false, true},   {{0, true}, {0, false}, true, false},
      {{-1, true}, {0, true}, false, true},  // any non-zero flag counts as animated
  };
  for (const Case& c : cases) {
    Simulation sim;
    sim.normal = c.normal;
    sim.ibeam = c.ibeam;
    sim.Select(static_cast<int32_t>(BlinkMode::Rapid));
    sim.RunUntil(10000);
    bool normalChanged = false, ibeamChanged = false;
    for (const auto& change : sim.changes) {
      (change.id == kIdNormal ? normalChanged : ibeamChanged) = true;
    }
    const std::string name = "normal {" + std::to_string(c.normal.animated) + "," + std::to_string(c.normal.installed) +
                             "} ibeam {" + std::to_string(c.ibeam.animated) + "," + std::to_string(c.ibeam.installed) + "}";
    EXPECT_EQ(normalChanged, c.normalBlinks) << name;
    EXPECT_EQ(ibeamChanged, c.ibeamBlinks) << name;
    // The phase bookkeeping goes on whatever is installed: 10 s of Rapid is past the first hide.
    int phaseFlips = 0;
    AnimatorState replay;
    int32_t replayMode = static_cast<int32_t>(BlinkMode::Rapid);
    for (int tick = 0; tick < 20; ++tick) {
      const int32_t before = replay.blinkPhase;
      animator::OnAnimatorTick(replay, replayMode, {1, 1}, c.normal, c.ibeam);
      if (replay.blinkPhase != before) ++phaseFlips;
    }
    EXPECT_EQ(phaseFlips, 12) << name << ": ticks 9 to 20 alternate";
  }
}

TEST(BlinkRoles, ShowingPutsBackWhatWasBlankedEvenIfTheSlotChangedMeanwhile) {
  AnimatorState state;
  int32_t mode = static_cast<int32_t>(BlinkMode::Rapid);
  state.lastCursorPos = {1, 1};
  state.stillTicks = 8;
  AnimatorActions hide = animator::OnAnimatorTick(state, mode, {1, 1}, {0, true}, {0, true});
  ASSERT_EQ(hide.count, 2);
  // Normal's new file failed to load (slot emptied) and I-Beam became animated while hidden: both
  // were blanked, so both are put back (the shell falls back to the default for an empty slot).
  AnimatorActions show = animator::OnAnimatorTick(state, mode, {1, 1}, {0, false}, {1, true});
  ASSERT_EQ(show.count, 2);
  EXPECT_EQ(show.items[0].source, CursorSource::RoleSlot);
  EXPECT_EQ(show.items[0].systemCursorId, kIdNormal);
  EXPECT_EQ(show.items[1].source, CursorSource::RoleSlot);
  EXPECT_EQ(show.items[1].systemCursorId, kIdIBeam);
  EXPECT_EQ(state.blinkPhase, kPhaseVisible);
  EXPECT_EQ(state.blankedRoles, 0u);
}

// ---- Mode changes, Cancel and the end ------------------------------------------------------

// Hides under Rapid and returns the simulation in the hidden phase.
Simulation HiddenUnderRapid() {
  Simulation sim;
  sim.Select(static_cast<int32_t>(BlinkMode::Rapid));
  sim.RunUntil(1800);
  EXPECT_TRUE(sim.NormalHidden());
  EXPECT_EQ(sim.state.blinkPhase, kPhaseHidden);
  return sim;
}

TEST(SelectBlinkMode, AnyChoiceWhileHiddenShowsAtOnce) {
  for (int32_t next = 0; next < kBlinkModeCount; ++next) {
    Simulation sim = HiddenUnderRapid();
    const size_t before = sim.performed.size();
    sim.Select(next);
    EXPECT_FALSE(sim.NormalHidden()) << ModeName(next);
    EXPECT_EQ(sim.ibeamImage, Image::Own) << ModeName(next);
    EXPECT_EQ(sim.state.blinkPhase, kPhaseVisible) << ModeName(next);
    EXPECT_EQ(sim.mode, next);
    ASSERT_GE(sim.performed.size() - before, 3u) << ModeName(next);
    EXPECT_EQ(sim.performed[before].kind, AnimatorAction::KillTimer) << "the old timer goes first";
    if (next == 0) {
      EXPECT_FALSE(sim.timers[kAnimatorTimerId].running);
      EXPECT_EQ(sim.performed.size() - before, 3u);
    } else {
      EXPECT_TRUE(sim.timers[kAnimatorTimerId].running);
      EXPECT_EQ(sim.timers[kAnimatorTimerId].period, RhythmOf(next)->startPeriod) << ModeName(next);
      EXPECT_EQ(sim.timers[kAnimatorTimerId].due, sim.now + RhythmOf(next)->startPeriod) << "a fresh timer";
    }
  }
}

TEST(SelectBlinkMode, NoneWhenAlreadyNoneDoesNothing) {
  Simulation sim;
  sim.Select(0);
  EXPECT_TRUE(sim.performed.empty());
  EXPECT_EQ(sim.mode, 0);
}

TEST(SelectBlinkMode, FromNoneStartsTheTimerOnly) {
  for (int32_t next = 1; next < kBlinkModeCount; ++next) {
    Simulation sim;
    sim.Select(next);
    ASSERT_EQ(sim.performed.size(), 1u) << ModeName(next);
    EXPECT_EQ(sim.performed[0].kind, AnimatorAction::SetTimer);
    EXPECT_EQ(sim.performed[0].timerId, kAnimatorTimerId);
    EXPECT_EQ(sim.performed[0].period, RhythmOf(next)->startPeriod);
  }
}

TEST(SelectBlinkMode, ValuesOutsideTheModesAreRefused) {
  Simulation sim;
  sim.Select(static_cast<int32_t>(BlinkMode::Flicker2s));
  const size_t before = sim.performed.size();
  for (int32_t bad : {7, 9, -1, INT32_MAX}) {
    sim.Select(bad);
    EXPECT_EQ(sim.performed.size(), before) << bad;
    EXPECT_EQ(sim.mode, static_cast<int32_t>(BlinkMode::Flicker2s));
  }
}

TEST(SelectBlinkMode, CountsAndWobbleStepSurviveModeChanges) {
  Simulation sim;
  sim.Select(static_cast<int32_t>(BlinkMode::Wobble));
  sim.RunUntil(50 + 2000 + 100);  // three wobble steps
  const AnimatorState before = sim.state;
  ASSERT_EQ(before.wobbleStep, 3);
  sim.Select(static_cast<int32_t>(BlinkMode::Rapid));
  sim.Select(0);
  sim.Select(static_cast<int32_t>(BlinkMode::Flicker4s));
  EXPECT_EQ(sim.state.wobbleStep, before.wobbleStep);
  EXPECT_EQ(sim.state.stillTicks, before.stillTicks);
  EXPECT_EQ(sim.state.lastCursorPos, before.lastCursorPos);
}

TEST(SelectBlinkMode, CancelWhileHiddenShowsAtOnceThenRestartsTheSavedMode) {
  Simulation sim = HiddenUnderRapid();
  const uint64_t cancelAt = sim.now + 50;
  sim.RunUntil(cancelAt);
  ASSERT_TRUE(sim.NormalHidden());
  sim.Select(0);  // Cancel, first step
  EXPECT_FALSE(sim.NormalHidden());
  EXPECT_FALSE(sim.timers[kAnimatorTimerId].running);
  sim.Select(static_cast<int32_t>(BlinkMode::OneSecond7525));  // the saved mode, after re-applying
  EXPECT_EQ(sim.timers[kAnimatorTimerId].due, cancelAt + 750);
  // The pointer has rested all along, so the saved mode hides at its first tick.
  sim.RunUntil(cancelAt + 750);
  EXPECT_TRUE(sim.NormalHidden());
  EXPECT_EQ(sim.timers[kAnimatorTimerId].period, 250u);
}

TEST(StopAnimation, WhileHiddenReinstallsTheImagesAndKillsTheTimer) {
  Simulation sim = HiddenUnderRapid();
  const size_t before = sim.performed.size();
  sim.Stop();
  ASSERT_EQ(sim.performed.size() - before, 3u);
  EXPECT_EQ(sim.performed[before].kind, AnimatorAction::KillTimer);
  EXPECT_EQ(sim.performed[before + 1].source, CursorSource::RoleSlot);
  EXPECT_EQ(sim.performed[before + 2].source, CursorSource::RoleSlot);
  EXPECT_FALSE(sim.NormalHidden()) << "no role is left blank for the restore that follows";
  EXPECT_EQ(sim.ibeamImage, Image::Own);
  EXPECT_EQ(sim.state.blinkPhase, kPhaseHidden) << "the phase is left as it was";
  EXPECT_EQ(sim.mode, static_cast<int32_t>(BlinkMode::Rapid)) << "the mode is left as it was";
  const size_t afterStop = sim.performed.size();
  sim.RunUntil(sim.now + 60000);
  EXPECT_EQ(sim.performed.size(), afterStop) << "stopped: no tick runs any more";
  // A choice after a vetoed log-off starts it again.
  sim.Select(static_cast<int32_t>(BlinkMode::Rapid));
  EXPECT_TRUE(sim.timers[kAnimatorTimerId].running);
  EXPECT_EQ(sim.state.blinkPhase, kPhaseVisible);
}

// Exit + Restore stops and restores; WM_DESTROY then stops again, after the defaults are back
// and with the restore spent: that second stop must leave the defaults alone.
TEST(StopAnimation, EveryLaterStopOfAnEndingInstallsNothing) {
  Simulation sim = HiddenUnderRapid();
  sim.Stop();
  const size_t afterFirst = sim.performed.size();
  sim.Stop();  // WM_DESTROY
  sim.Stop();  // and a session end, for good measure
  for (size_t i = afterFirst; i < sim.performed.size(); ++i) {
    EXPECT_NE(sim.performed[i].kind, AnimatorAction::InstallSystemCursor) << "action " << i - afterFirst;
  }
  EXPECT_EQ(sim.state.blinkPhase, kPhaseHidden);
  // A mode picked afterwards (a vetoed log-off) runs again without installing anything first.
  const size_t beforeSelect = sim.performed.size();
  sim.Select(static_cast<int32_t>(BlinkMode::OneSecond5050));
  ASSERT_EQ(sim.performed.size() - beforeSelect, 2u);
  EXPECT_EQ(sim.performed[beforeSelect].kind, AnimatorAction::KillTimer);
  EXPECT_EQ(sim.performed[beforeSelect + 1].kind, AnimatorAction::SetTimer);
  EXPECT_EQ(sim.state.blinkPhase, kPhaseVisible);
}

TEST(StopAnimation, StopsOnlyWhatRuns) {
  {
    Simulation sim;
    sim.Stop();
    EXPECT_TRUE(sim.performed.empty()) << "None and no test: nothing to stop";
  }
  {
    Simulation sim;
    sim.Select(static_cast<int32_t>(BlinkMode::Wobble));
    sim.performed.clear();
    sim.Stop();
    ASSERT_EQ(sim.performed.size(), 1u) << "visible: only the timer";
    EXPECT_EQ(sim.performed[0].kind, AnimatorAction::KillTimer);
    EXPECT_EQ(sim.performed[0].timerId, kAnimatorTimerId);
  }
  {
    Simulation sim;
    sim.TestBusy();
    sim.TestAppStarting();
    sim.performed.clear();
    sim.Stop();
    ASSERT_EQ(sim.performed.size(), 1u);
    EXPECT_EQ(sim.performed[0].timerId, kTestTimerId);
    EXPECT_EQ(sim.state.busyTestActive, 1) << "the flags are left as they are";
    EXPECT_EQ(sim.state.appStartingTestActive, 1);
  }
}

// ---- Wobble --------------------------------------------------------------------------------

TEST(Wobble, RestingPointerTracesTheSquareAfterTwoSeconds) {
  Simulation sim;
  sim.pointer = {300, 200};
  sim.Select(static_cast<int32_t>(BlinkMode::Wobble));
  sim.RunUntil(50 + 2000 - 1);
  EXPECT_TRUE(sim.moves.empty());
  sim.RunUntil(50 + 2000 + 50 * 11);
  const CursorPoint square[4] = {{301, 200}, {301, 201}, {300, 201}, {300, 200}};
  ASSERT_EQ(sim.moves.size(), 12u);
  for (size_t i = 0; i < sim.moves.size(); ++i) {
    EXPECT_EQ(sim.moves[i], square[i % 4]) << "step " << i << " at " << sim.moves[i].x << "," << sim.moves[i].y;
  }
  EXPECT_TRUE(sim.changes.empty()) << "wobbling installs no cursor";
  EXPECT_EQ(sim.state.blinkPhase, kPhaseVisible);
}

TEST(Wobble, MovingStopsItAndTheNextWobbleContinuesTheCycle) {
  Simulation sim;
  sim.Select(static_cast<int32_t>(BlinkMode::Wobble));
  sim.RunUntil(50 + 2000 + 50);  // two steps: right, down
  ASSERT_EQ(sim.moves.size(), 2u);
  sim.pointer = {500, 500};  // the user takes the mouse
  sim.RunUntil(sim.now + 50 * 40);
  EXPECT_EQ(sim.moves.size(), 2u) << "no step until 40 still ticks after the move";
  sim.RunUntil(sim.now + 50);
  ASSERT_EQ(sim.moves.size(), 3u);
  EXPECT_EQ(sim.moves[2], (CursorPoint{499, 500})) << "the cycle goes on with the left step";
}

TEST(Wobble, RefusedMoveCountsAsMovementAndPausesForAFullCount) {
  Simulation sim;
  sim.Select(static_cast<int32_t>(BlinkMode::Wobble));
  sim.RunUntil(50 + 2000);
  ASSERT_EQ(sim.moves.size(), 1u);
  sim.refuseMoves = true;  // the pointer stands at the edge of the screen
  sim.RunUntil(sim.now + 50);
  ASSERT_EQ(sim.moves.size(), 2u);
  EXPECT_EQ(sim.state.lastCursorPos, (CursorPoint{101, 101})) << "the requested position is recorded";
  sim.RunUntil(sim.now + 50 * 40);
  EXPECT_EQ(sim.state.stillTicks, 39u);
  EXPECT_EQ(sim.moves.size(), 2u) << "paused after the refused move";
  sim.RunUntil(sim.now + 50);
  EXPECT_EQ(sim.moves.size(), 3u);
}

// ---- The two tests -------------------------------------------------------------------------

TEST(CursorTests, BothEndTogetherFourSecondsAfterTheSecondPress) {
  Simulation sim;
  sim.TestAppStarting();
  EXPECT_TRUE(animator::OnSetCursor(sim.state).showAppStarting);
  EXPECT_TRUE(animator::OnSetCursor(sim.state).handled);
  sim.RunUntil(1500);
  sim.TestBusy();
  EXPECT_EQ(sim.waitDepth, 1);
  sim.RunUntil(4000);
  EXPECT_EQ(sim.state.appStartingTestActive, 1) << "the second press restarted the period";
  sim.RunUntil(5499);
  EXPECT_EQ(sim.state.busyTestActive, 1);
  sim.RunUntil(5500);
  EXPECT_EQ(sim.state.appStartingTestActive, 0);
  EXPECT_EQ(sim.state.busyTestActive, 0);
  EXPECT_EQ(sim.waitDepth, 0);
  EXPECT_FALSE(sim.timers[kTestTimerId].running);
  const SetCursorDecision after = animator::OnSetCursor(sim.state);
  EXPECT_FALSE(after.handled) << "default processing brings the class cursor back";
  EXPECT_FALSE(after.showAppStarting);
}

TEST(CursorTests, SetCursorDecisionFollowsTheFlags) {
  struct Case {
    int32_t busy, appStarting;
    bool show, handled;
  };
  const Case cases[] = {{0, 0, false, false}, {1, 0, false, true}, {0, 1, true, true}, {1, 1, true, true}};
  for (const Case& c : cases) {
    AnimatorState state;
    state.busyTestActive = c.busy;
    state.appStartingTestActive = c.appStarting;
    const SetCursorDecision decision = animator::OnSetCursor(state);
    EXPECT_EQ(decision.showAppStarting, c.show) << c.busy << c.appStarting;
    EXPECT_EQ(decision.handled, c.handled) << c.busy << c.appStarting;
  }
}

TEST(CursorTests, RepeatedBusyPressesOpenOneWaitLevel) {
  Simulation sim;
  sim.TestBusy();
  sim.RunUntil(1000);
  sim.TestBusy();
  sim.RunUntil(2000);
  sim.TestBusy();
  EXPECT_EQ(sim.maxWaitDepth, 1);
  sim.RunUntil(5999);
  EXPECT_EQ(sim.state.busyTestActive, 1);
  sim.RunUntil(6000);
  EXPECT_EQ(sim.waitDepth, 0) << "the end of the test closes what it opened";
  EXPECT_EQ(sim.state.busyTestActive, 0);
}

TEST(CursorTests, TestsAndAnimatorKeepTheirOwnTimers) {
  Simulation sim;
  sim.Select(static_cast<int32_t>(BlinkMode::Rapid));
  sim.TestAppStarting();
  sim.RunUntil(4000);
  EXPECT_FALSE(sim.timers[kTestTimerId].running);
  EXPECT_TRUE(sim.timers[kAnimatorTimerId].running);
  EXPECT_EQ(sim.ticks, 20);
}

// ---- Radios, action list, allocation -------------------------------------------------------

TEST(BlinkRadios, IdsMapToModes) {
  const struct {
    uint32_t id;
    int32_t mode;
  } cases[] = {{IDC_BLINK_NONE, 0}, {IDC_BLINK_RAPID, 1}, {IDC_BLINK_1S_5050, 2}, {IDC_BLINK_1S_7525, 3},
               {IDC_BLINK_2S, 4},   {IDC_BLINK_4S, 5},    {IDC_BLINK_WOBBLE, 6}, {IDC_MIRROR_NORMAL, -1},
               {IDC_MIRROR_APPSTART, -1}, {IDC_BLINK_NONE - 1, -1}, {IDC_BLINK_WOBBLE + 1, -1}, {0, -1}};
  for (const auto& c : cases) EXPECT_EQ(BlinkModeForRadio(c.id), c.mode) << c.id;
}

TEST(AnimatorActionsList, StaysWithinItsCapacity) {
  AnimatorActions actions;
  for (int i = 0; i < AnimatorActions::kCapacity + 3; ++i) actions.StartTimer(1, 100 + i);
  EXPECT_EQ(actions.count, AnimatorActions::kCapacity);
  EXPECT_EQ(actions.items[AnimatorActions::kCapacity - 1].period,
            static_cast<uint32_t>(100 + AnimatorActions::kCapacity + 2));
}

TEST(Allocation, TicksAndModeChangesAllocateNothing) {
  AnimatorState state;
  int32_t mode = 0;
  int actionsSeen = 0;
  allocations = 0;
  countAllocations = true;
  for (int32_t next = 1; next < kBlinkModeCount; ++next) {
    actionsSeen += animator::SelectBlinkMode(state, mode, next).count;
    for (int tick = 0; tick < 500; ++tick) {
      const CursorPoint pointer = {tick / 100, 7};
      actionsSeen += animator::OnAnimatorTick(state, mode, pointer, {0, true}, {0, true}).count;
    }
  }
  actionsSeen += animator::OnTestBusy(state).count + animator::OnTestTimer(state).count;
  actionsSeen += animator::StopAnimation(state, mode).count;
  countAllocations = false;
  ASSERT_NE(kHooksInstalled, 0) << "the allocation hooks are not in place";
  EXPECT_GT(actionsSeen, 100);
  EXPECT_EQ(allocations.load(), 0);
  // The counter itself works: an allocation under the flag is seen.
  countAllocations = true;
  std::string probe(100, 'x');
  countAllocations = false;
  EXPECT_GT(allocations.load(), 0) << probe.size();
}

}  // namespace
