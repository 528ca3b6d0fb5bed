#include "utility/cursor/animator_state.h"

#include "utility/resources/resource.h"

AnimatorState animatorState;

namespace {

// Indexed by mode; None has no rhythm.
constexpr BlinkRhythm kRhythms[kBlinkModeCount] = {
    {0, 0, 0, 0},          // None
    {200, 8, 0, 0},        // Rapid
    {500, 4, 0, 0},        // OneSecond5050
    {750, 3, 250, 750},    // OneSecond7525
    {1800, 2, 200, 1800},  // Flicker2s
    {3800, 2, 200, 3800},  // Flicker4s
    {50, 40, 0, 0},        // Wobble
};

constexpr CursorPoint kWobbleMoves[4] = {{1, 0}, {0, 1}, {-1, 0}, {0, -1}};

void HideBlinkRoles(AnimatorState& state, BlinkRole normal, BlinkRole ibeam, AnimatorActions& actions) {
  state.blinkPhase = kPhaseHidden;
  state.blankedRoles = 0;
  if (normal.animated == 0 && normal.installed) {
    actions.Install(CursorSource::Blank, kIdNormal);
    state.blankedRoles |= kBlankedNormal;
  }
  if (ibeam.animated == 0 && ibeam.installed) {
    actions.Install(CursorSource::Blank, kIdIBeam);
    state.blankedRoles |= kBlankedIBeam;
  }
}

// Puts back the images of the roles the last hide blanked; the phase is the caller's.
void ReinstallBlankedRoles(const AnimatorState& state, AnimatorActions& actions) {
  if (state.blankedRoles & kBlankedNormal) actions.Install(CursorSource::RoleSlot, kIdNormal);
  if (state.blankedRoles & kBlankedIBeam) actions.Install(CursorSource::RoleSlot, kIdIBeam);
}

void ShowBlinkRoles(AnimatorState& state, AnimatorActions& actions) {
  state.blinkPhase = kPhaseVisible;
  ReinstallBlankedRoles(state, actions);
  state.blankedRoles = 0;
}

bool IsBlinkMode(int32_t mode) {
  return mode >= static_cast<int32_t>(BlinkMode::Rapid) && mode <= static_cast<int32_t>(BlinkMode::Flicker4s);
}

}  // namespace

const BlinkRhythm* RhythmOf(int32_t mode) {
  if (mode <= static_cast<int32_t>(BlinkMode::None) || mode >= kBlinkModeCount) return nullptr;
  return &kRhythms[mode];
}

int32_t BlinkModeForRadio(uint32_t controlId) {
  if (controlId >= IDC_BLINK_NONE && controlId <= IDC_BLINK_4S) return static_cast<int32_t>(controlId - IDC_BLINK_NONE);
  if (controlId == IDC_BLINK_WOBBLE) return static_cast<int32_t>(BlinkMode::Wobble);
  return -1;
}

AnimatorAction& AnimatorActions::Push(AnimatorAction::Kind kind) {
  // Every operation stays within the capacity; a further action would overwrite the last.
  if (count < kCapacity) ++count;
  AnimatorAction& action = items[count - 1];
  action = AnimatorAction{};
  action.kind = kind;
  return action;
}

void AnimatorActions::Install(CursorSource source, uint32_t id) {
  AnimatorAction& action = Push(AnimatorAction::InstallSystemCursor);
  action.source = source;
  action.systemCursorId = id;
}

void AnimatorActions::StartTimer(uint32_t id, uint32_t period) {
  AnimatorAction& action = Push(AnimatorAction::SetTimer);
  action.timerId = id;
  action.period = period;
}

void AnimatorActions::StopTimer(uint32_t id) { Push(AnimatorAction::KillTimer).timerId = id; }

void AnimatorActions::MovePointer(CursorPoint point) { Push(AnimatorAction::SetCursorPos).point = point; }

void AnimatorActions::Wait(int32_t delta) { Push(AnimatorAction::WaitCursor).delta = delta; }

namespace animator {

AnimatorActions SelectBlinkMode(AnimatorState& state, int32_t& mode, int32_t newMode) {
  AnimatorActions actions;
  const BlinkRhythm* rhythm = RhythmOf(newMode);
  if (!rhythm && newMode != static_cast<int32_t>(BlinkMode::None)) return actions;
  if (newMode == static_cast<int32_t>(BlinkMode::None) && mode == newMode) return actions;
  if (mode != static_cast<int32_t>(BlinkMode::None)) {
    actions.StopTimer(kAnimatorTimerId);
    if (state.blinkPhase == kPhaseHidden) ShowBlinkRoles(state, actions);
  }
  mode = newMode;
  if (rhythm) actions.StartTimer(kAnimatorTimerId, rhythm->startPeriod);
  return actions;
}

AnimatorActions OnAnimatorTick(AnimatorState& state, int32_t mode, CursorPoint pointer, BlinkRole normal,
                               BlinkRole ibeam) {
  AnimatorActions actions;
  if (pointer == state.lastCursorPos) {
    ++state.stillTicks;  // unsigned: wraps after ~27 years of 200 ms ticks instead of overflowing
  } else {
    state.stillTicks = 0;
  }
  const BlinkRhythm* rhythm = RhythmOf(mode);
  if (IsBlinkMode(mode)) {
    if (state.blinkPhase == kPhaseVisible && state.stillTicks >= rhythm->stillTicksToHide) {
      HideBlinkRoles(state, normal, ibeam, actions);
      if (rhythm->hiddenPeriod) {
        actions.StopTimer(kAnimatorTimerId);
        actions.StartTimer(kAnimatorTimerId, rhythm->hiddenPeriod);
      }
    } else if (state.blinkPhase == kPhaseHidden) {
      ShowBlinkRoles(state, actions);
      if (rhythm->visiblePeriod) {
        actions.StopTimer(kAnimatorTimerId);
        actions.StartTimer(kAnimatorTimerId, rhythm->visiblePeriod);
      }
    }
  } else if (mode == static_cast<int32_t>(BlinkMode::Wobble) && state.stillTicks >= rhythm->stillTicksToHide) {
    const CursorPoint move = kWobbleMoves[state.wobbleStep & 3];
    pointer.x += move.x;
    pointer.y += move.y;
    state.wobbleStep = (state.wobbleStep + 1) & 3;
    // A refused move leaves the pointer short of this position: the next tick counts it as
    // movement and the wobble pauses for a full count.
    actions.MovePointer(pointer);
  }
  state.lastCursorPos = pointer;
  return actions;
}

AnimatorActions StopAnimation(AnimatorState& state, int32_t mode) {
  AnimatorActions actions;
  if (mode != static_cast<int32_t>(BlinkMode::None)) {
    actions.StopTimer(kAnimatorTimerId);
    // The phase stays Hidden, but the roles are blank no more: the later calls of an ending
    // (Exit + Restore, then WM_DESTROY) must not put the images back over the restored defaults.
    if (state.blinkPhase == kPhaseHidden) ReinstallBlankedRoles(state, actions);
    state.blankedRoles = 0;
  }
  if (state.busyTestActive || state.appStartingTestActive) actions.StopTimer(kTestTimerId);
  return actions;
}

AnimatorActions OnTestAppStarting(AnimatorState& state) {
  AnimatorActions actions;
  state.appStartingTestActive = 1;
  actions.StartTimer(kTestTimerId, kTestPeriodMs);
  return actions;
}

AnimatorActions OnTestBusy(AnimatorState& state) {
  AnimatorActions actions;
  // One wait level per running test: a second press only restarts the period, so the single
  // end of the test closes every level it opened.
  if (!state.busyTestActive) actions.Wait(1);
  state.busyTestActive = 1;
  actions.StartTimer(kTestTimerId, kTestPeriodMs);
  return actions;
}

AnimatorActions OnTestTimer(AnimatorState& state) {
  AnimatorActions actions;
  if (state.busyTestActive) {
    actions.Wait(-1);
    state.busyTestActive = 0;
  }
  state.appStartingTestActive = 0;
  actions.StopTimer(kTestTimerId);
  return actions;
}

SetCursorDecision OnSetCursor(const AnimatorState& state) {
  SetCursorDecision decision;
  decision.showAppStarting = state.appStartingTestActive != 0;
  decision.handled = state.appStartingTestActive != 0 || state.busyTestActive != 0;
  return decision;
}

}  // namespace animator
