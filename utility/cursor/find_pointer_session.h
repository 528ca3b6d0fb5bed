// Finding the pointer as a session: what the hooks saw, the dialog's answers, the timers and the
// two settings go in; what must be done comes out, in order. It decides, never acts: the Win32
// half (find_pointer_win) carries each action out on a thread of its own, so showing the pointer
// again never waits for the dialog. Hiding and enlarging first ask the dialog to pause its
// animator (which installs cursors of its own); a dialog that does not answer in time has that
// hide or shake dropped, never kept for later.
#pragma once
#include <cstdint>

#include "utility/cursor/find_pointer.h"

namespace find_pointer {

struct PointerAt {
  int32_t x;
  int32_t y;
};

struct SessionAction {
  enum Kind : int32_t {
    Hide,            // every replaceable id behind the blank
    Show,            // what each id showed, back
    EnlargeTo,       // percent: the id in force at that share of its own side (chosen at the first);
                     // `again`: installed even where that percent shows already
    EndEnlargement,  // the enlarged id shows its own image again
    StartTimer,      // timer, period
    StopTimer,       // timer
    PauseAnimator,   // the dialog is asked to pause its animator; OnAnimatorPaused is its answer
    ResumeAnimator,  // the animator may run again
    Watch,           // input: the hooks wanted; moves: the pointer's moves wanted from them
    ReinstallHooks,  // the platform may have dropped the hooks: installed afresh
  };
  Kind kind;
  int32_t percent;
  uint32_t timer;
  uint32_t period;
  bool input;
  bool moves;
  bool again;
};

// A short ordered list; no event produces more than kCapacity actions.
struct SessionActions {
  static constexpr int kCapacity = 8;
  SessionAction items[kCapacity];
  int count = 0;

  const SessionAction* begin() const { return items; }
  const SessionAction* end() const { return items + count; }
  SessionAction& Add(SessionAction::Kind kind);
};

// The session's two timers.
constexpr uint32_t kAnswerTimer = 1;  // the dialog's time to answer a pause
constexpr uint32_t kStepTimer = 2;    // the enlargement's animation

class Session {
 public:
  // How long the dialog has to pause its animator before the hide or shake that asked is dropped.
  static constexpr uint32_t kAnswerMs = 250;

  SessionActions Configure(bool hideTyping, bool shakeEnlarge);
  // A typing key went down while the pointer was at `pointer`.
  SessionActions OnTyping(uint32_t ms, PointerAt pointer);
  // The pointer moved; `injected` moves (another program's, the wobble's) never make a shake.
  SessionActions OnMove(uint32_t ms, PointerAt pointer, bool injected, int32_t screenWidth, int32_t screenHeight);
  SessionActions OnButton(uint32_t ms, bool down);
  SessionActions OnWheel(uint32_t ms);
  // The dialog has paused its animator (an answer may come late, or twice).
  SessionActions OnAnimatorPaused(uint32_t ms);
  SessionActions OnTimer(uint32_t ms, uint32_t timer);
  // The dialog has installed its choices again after something reloaded the cursors: the blanks
  // or the enlargement go back over them.
  SessionActions OnCursorsReloaded(uint32_t ms);
  // The session was unlocked or the computer resumed: the hooks may be gone.
  SessionActions OnInputMayHaveStopped();
  // Before the utility's ending, which puts every cursor back itself: nothing more is done until
  // the next Configure (a run that goes on after a log-off another program vetoed).
  SessionActions End();

  bool hidden() const { return phase == Phase::Hidden; }
  bool enlarged() const { return phase == Phase::Enlarged; }

 private:
  enum class Phase { Idle, AwaitingHide, AwaitingEnlargement, Hidden, Enlarged, Ended };

  // True when the animator is paused already; otherwise it is asked (once) and false.
  bool RequestPause(SessionActions& actions);
  void ReleaseAnimator(SessionActions& actions);
  void DoHide(SessionActions& actions);
  void DoShow(SessionActions& actions);
  void BeginEnlargement(uint32_t ms, SessionActions& actions);
  void StopEnlargement(SessionActions& actions);
  void OnShake(uint32_t ms, SessionActions& actions);
  // Any mouse input but a shake's moves: shows a hidden pointer, cancels a hide not yet done.
  void OnMouseInput(SessionActions& actions);
  // The hooks' wanted state, said whenever it changes.
  SessionActions& Watched(SessionActions& actions);

  Phase phase = Phase::Idle;
  bool hideTyping = false;
  bool shakeEnlarge = false;
  bool held = false;    // the animator asked to pause, not yet released
  bool paused = false;  // and the dialog has answered
  PointerAt hiddenAt = {0, 0};
  ShakeDetector shake;
  Enlargement enlargement;
  bool watchingInput = false;
  bool watchingMoves = false;
};

// Whether the low-level hooks have been dropped by the platform, which does so silently when a
// hook answers too slowly: input has come (as the platform's last-input time shows) that the
// hooks never saw, though they had time to see it.
class HookWatchdog {
 public:
  static constexpr uint32_t kCheckMs = 2000;  // how often the shell asks
  static constexpr uint32_t kGraceMs = 500;   // input younger than this may still be on its way to the hooks
  // The platform notes the time of an input after the hooks have seen it, so the hooks' last
  // time may come this much before the platform's for the same input.
  static constexpr uint32_t kSlackMs = 250;

  void OnInstalled(uint32_t ms) { installedMs = ms; }
  // `lastInputMs`: the platform's time of the last input; `lastSeenMs`: when a hook last saw
  // any (0 before the first). All on the wrapping millisecond clock.
  bool HooksLost(uint32_t nowMs, uint32_t lastInputMs, uint32_t lastSeenMs) const;

 private:
  uint32_t installedMs = 0;
};

}  // namespace find_pointer
