// The blink and wobble animator as a state machine over ticks and pointer positions. It touches
// no window: each operation updates the record and lists, in order, what the dialog must do to
// the platform (timers, system cursors, pointer, wait cursor). Nothing here allocates.
#pragma once
#include <cstdint>

#include "platform/system_cursor_ids.h"

enum class BlinkMode : int32_t {
  None = 0,
  Rapid = 1,
  OneSecond5050 = 2,
  OneSecond7525 = 3,
  Flicker2s = 4,
  Flicker4s = 5,
  Wobble = 6,
};
constexpr int32_t kBlinkModeCount = 7;  // one past the last mode: the number of modes and radios

// blinkPhase values
constexpr int32_t kPhaseVisible = 0;
constexpr int32_t kPhaseHidden = -1;

// The dialog's two message timers.
constexpr uint32_t kTestTimerId = 1;
constexpr uint32_t kAnimatorTimerId = 2;
constexpr uint32_t kTestPeriodMs = 4000;

struct CursorPoint {
  int32_t x;
  int32_t y;
};
inline bool operator==(CursorPoint a, CursorPoint b) { return a.x == b.x && a.y == b.y; }
inline bool operator!=(CursorPoint a, CursorPoint b) { return !(a == b); }

// A platform cursor handle, opaque to this half.
using CursorHandle = void*;

struct AnimatorState {
  int32_t blinkPhase = kPhaseVisible;
  int32_t busyTestActive = 0;
  int32_t appStartingTestActive = 0;
  CursorHandle blankCursor = nullptr;  // loaded once by the dialog, never destroyed
  CursorPoint lastCursorPos = {-1, -1};
  uint32_t stillTicks = 0;
  int32_t wobbleStep = 0;  // 0 right, 1 down, 2 left, 3 up
  // The roles the last hide blanked (kBlankedNormal, kBlankedIBeam); showing puts back exactly
  // these, so a role is never left blank, nor blanked when its image could not be put back.
  uint32_t blankedRoles = 0;
};
constexpr uint32_t kBlankedNormal = 1;
constexpr uint32_t kBlankedIBeam = 2;

// The process-wide record.
extern AnimatorState animatorState;

// Per-mode rhythm. Periods are in ms; 0 means the mode does not change the period there.
struct BlinkRhythm {
  uint32_t startPeriod;
  uint32_t stillTicksToHide;
  uint32_t hiddenPeriod;
  uint32_t visiblePeriod;
};
// The rhythm of a mode, or null for None and for values outside 0..6.
const BlinkRhythm* RhythmOf(int32_t mode);

// The mode a "Blinking" radio stands for, or -1 for any other control id.
int32_t BlinkModeForRadio(uint32_t controlId);

// What the platform says about one blinking role at the moment of a tick.
struct BlinkRole {
  int32_t animated;  // the slot's animated flag
  bool installed;    // the slot holds a handle
};

// Where an install takes its handle from: BlankCursor, or the role's slot of the cursor slot
// table (the platform default for the id when the slot has become empty).
enum class CursorSource : int32_t { Blank, RoleSlot };

struct AnimatorAction {
  enum Kind : int32_t {
    InstallSystemCursor,  // source, systemCursorId
    SetTimer,             // timerId, period
    KillTimer,            // timerId
    SetCursorPos,         // point
    WaitCursor,           // delta (+1 or -1)
  };
  Kind kind;
  CursorSource source;
  uint32_t systemCursorId;
  uint32_t timerId;
  uint32_t period;
  CursorPoint point;
  int32_t delta;
};

// A short ordered list; no operation produces more than kCapacity actions.
struct AnimatorActions {
  static constexpr int kCapacity = 4;
  AnimatorAction items[kCapacity];
  int count = 0;

  const AnimatorAction* begin() const { return items; }
  const AnimatorAction* end() const { return items + count; }
  void Install(CursorSource source, uint32_t id);
  void StartTimer(uint32_t id, uint32_t period);
  void StopTimer(uint32_t id);
  void MovePointer(CursorPoint point);
  void Wait(int32_t delta);

 private:
  AnimatorAction& Push(AnimatorAction::Kind kind);
};

// What WM_SETCURSOR over the dialog must do.
struct SetCursorDecision {
  bool showAppStarting;  // set the App Starting slot's cursor
  bool handled;          // TRUE to the platform; otherwise default processing
};

namespace animator {

// `mode` is the live Blink setting; these write it where the behaviour says so.
AnimatorActions SelectBlinkMode(AnimatorState& state, int32_t& mode, int32_t newMode);
AnimatorActions OnAnimatorTick(AnimatorState& state, int32_t mode, CursorPoint pointer, BlinkRole normal,
                               BlinkRole ibeam);
AnimatorActions StopAnimation(AnimatorState& state, int32_t mode);
AnimatorActions OnTestAppStarting(AnimatorState& state);
AnimatorActions OnTestBusy(AnimatorState& state);
AnimatorActions OnTestTimer(AnimatorState& state);
SetCursorDecision OnSetCursor(const AnimatorState& state);

}  // namespace animator
