#include "utility/cursor/find_pointer_session.h"

namespace find_pointer {

namespace {
// `a` is later than `b` on the wrapping clock.
bool Later(uint32_t a, uint32_t b) { return static_cast<int32_t>(a - b) > 0; }
}  // namespace

SessionAction& SessionActions::Add(SessionAction::Kind kind) {
  // A full list would mean an event doing more than the session ever asks; the last place is
  // reused rather than written past.
  SessionAction& action = items[count < kCapacity ? count++ : kCapacity - 1];
  action = SessionAction{kind, 0, 0, 0, false, false, false};
  return action;
}

SessionActions& Session::Watched(SessionActions& actions) {
  const bool input = phase != Phase::Ended && (hideTyping || shakeEnlarge);
  const bool moves = input && (shakeEnlarge || phase == Phase::AwaitingHide || phase == Phase::Hidden);
  if (input != watchingInput || moves != watchingMoves) {
    SessionAction& watch = actions.Add(SessionAction::Watch);
    watch.input = input;
    watch.moves = moves;
    watchingInput = input;
    watchingMoves = moves;
  }
  return actions;
}

bool Session::RequestPause(SessionActions& actions) {
  if (held) return paused;
  held = true;
  paused = false;
  actions.Add(SessionAction::PauseAnimator);
  SessionAction& timer = actions.Add(SessionAction::StartTimer);
  timer.timer = kAnswerTimer;
  timer.period = kAnswerMs;
  return false;
}

void Session::ReleaseAnimator(SessionActions& actions) {
  if (!held) return;
  if (!paused) actions.Add(SessionAction::StopTimer).timer = kAnswerTimer;
  held = false;
  paused = false;
  actions.Add(SessionAction::ResumeAnimator);
}

void Session::DoHide(SessionActions& actions) {
  actions.Add(SessionAction::Hide);
  phase = Phase::Hidden;
}

void Session::DoShow(SessionActions& actions) {
  actions.Add(SessionAction::Show);
  phase = Phase::Idle;
  shake.Reset();
  ReleaseAnimator(actions);
}

void Session::BeginEnlargement(uint32_t ms, SessionActions& actions) {
  phase = Phase::Enlarged;
  enlargement.OnShake(ms);
  actions.Add(SessionAction::EnlargeTo).percent = enlargement.PercentAt(ms);
  SessionAction& timer = actions.Add(SessionAction::StartTimer);
  timer.timer = kStepTimer;
  timer.period = Enlargement::kStepMs;
}

void Session::StopEnlargement(SessionActions& actions) {
  actions.Add(SessionAction::EndEnlargement);
  actions.Add(SessionAction::StopTimer).timer = kStepTimer;
  enlargement.Stop();
  phase = Phase::Idle;
}

SessionActions Session::Configure(bool newHideTyping, bool newShakeEnlarge) {
  SessionActions actions;
  // Configured after an ending (the run went on): a fresh start.
  if (phase == Phase::Ended) phase = Phase::Idle;
  if (!newHideTyping && phase == Phase::Hidden) DoShow(actions);
  if (!newHideTyping && phase == Phase::AwaitingHide) {
    phase = Phase::Idle;
    ReleaseAnimator(actions);
  }
  if (!newShakeEnlarge && phase == Phase::Enlarged) {
    StopEnlargement(actions);
    ReleaseAnimator(actions);
  }
  if (!newShakeEnlarge && phase == Phase::AwaitingEnlargement) {
    phase = Phase::Idle;
    ReleaseAnimator(actions);
  }
  hideTyping = newHideTyping;
  shakeEnlarge = newShakeEnlarge;
  shake.Reset();
  return Watched(actions);
}

SessionActions Session::OnTyping(uint32_t, PointerAt pointer) {
  SessionActions actions;
  if (!hideTyping) return actions;
  switch (phase) {
    case Phase::Idle:
    case Phase::AwaitingEnlargement:
      hiddenAt = pointer;
      phase = Phase::AwaitingHide;
      if (RequestPause(actions)) DoHide(actions);
      break;
    case Phase::Enlarged:
      // The animator is paused already: the enlargement ends and the pointer hides at once.
      StopEnlargement(actions);
      hiddenAt = pointer;
      DoHide(actions);
      break;
    case Phase::AwaitingHide:
    case Phase::Hidden:
    case Phase::Ended:
      break;
  }
  return Watched(actions);
}

void Session::OnMouseInput(SessionActions& actions) {
  if (phase == Phase::Hidden) {
    DoShow(actions);
  } else if (phase == Phase::AwaitingHide) {
    // Moved before the dialog answered: the hide it asked for is no longer wanted.
    phase = Phase::Idle;
    ReleaseAnimator(actions);
  }
}

void Session::OnShake(uint32_t ms, SessionActions& actions) {
  switch (phase) {
    case Phase::Idle:
      phase = Phase::AwaitingEnlargement;
      if (RequestPause(actions)) BeginEnlargement(ms, actions);
      break;
    case Phase::Enlarged:
      enlargement.OnShake(ms);
      actions.Add(SessionAction::EnlargeTo).percent = enlargement.PercentAt(ms);
      break;
    default:
      break;  // waiting for the dialog's answer; a dialog that never answers drops this shake
  }
}

SessionActions Session::OnMove(uint32_t ms, PointerAt pointer, bool injected, int32_t screenWidth, int32_t screenHeight) {
  SessionActions actions;
  if (phase == Phase::Hidden || phase == Phase::AwaitingHide) {
    // The platform may report a move to where the pointer already is; only a real one shows it.
    if (pointer.x != hiddenAt.x || pointer.y != hiddenAt.y) OnMouseInput(actions);
    return Watched(actions);
  }
  if (phase == Phase::Ended || !shakeEnlarge || injected) return actions;
  if (shake.OnMove(ms, pointer.x, pointer.y, screenWidth, screenHeight)) OnShake(ms, actions);
  return Watched(actions);
}

SessionActions Session::OnButton(uint32_t, bool down) {
  SessionActions actions;
  if (phase == Phase::Hidden || phase == Phase::AwaitingHide) {
    OnMouseInput(actions);
  } else if (phase != Phase::Ended) {
    shake.OnButton(down);
  }
  return Watched(actions);
}

SessionActions Session::OnWheel(uint32_t) {
  SessionActions actions;
  OnMouseInput(actions);
  return Watched(actions);
}

SessionActions Session::OnAnimatorPaused(uint32_t ms) {
  SessionActions actions;
  // An answer to a request released since (the dialog was late) changes nothing: the dialog
  // resumes the animator when it sees the release.
  if (!held || paused) return actions;
  paused = true;
  actions.Add(SessionAction::StopTimer).timer = kAnswerTimer;
  if (phase == Phase::AwaitingHide) DoHide(actions);
  if (phase == Phase::AwaitingEnlargement) BeginEnlargement(ms, actions);
  return Watched(actions);
}

SessionActions Session::OnTimer(uint32_t ms, uint32_t timer) {
  SessionActions actions;
  if (timer == kAnswerTimer) {
    if (held && !paused) {
      // The dialog is stuck: what asked is dropped, never done later.
      phase = phase == Phase::AwaitingHide || phase == Phase::AwaitingEnlargement ? Phase::Idle : phase;
      shake.Reset();
      ReleaseAnimator(actions);
    } else {
      actions.Add(SessionAction::StopTimer).timer = kAnswerTimer;
    }
    return Watched(actions);
  }
  if (timer != kStepTimer) return actions;
  if (phase != Phase::Enlarged) {
    actions.Add(SessionAction::StopTimer).timer = kStepTimer;
    return actions;
  }
  if (enlargement.AnimatingAt(ms)) {
    actions.Add(SessionAction::EnlargeTo).percent = enlargement.PercentAt(ms);
  } else {
    StopEnlargement(actions);
    ReleaseAnimator(actions);
  }
  return Watched(actions);
}

SessionActions Session::OnCursorsReloaded(uint32_t ms) {
  SessionActions actions;
  if (phase == Phase::Hidden) actions.Add(SessionAction::Hide);
  if (phase == Phase::Enlarged) {
    SessionAction& enlarge = actions.Add(SessionAction::EnlargeTo);
    enlarge.percent = enlargement.PercentAt(ms);
    enlarge.again = true;
  }
  return actions;
}

SessionActions Session::OnInputMayHaveStopped() {
  SessionActions actions;
  if (watchingInput) actions.Add(SessionAction::ReinstallHooks);
  return actions;
}

SessionActions Session::End() {
  SessionActions actions;
  if (phase == Phase::Ended) return actions;
  if (held && !paused) actions.Add(SessionAction::StopTimer).timer = kAnswerTimer;
  if (phase == Phase::Enlarged) actions.Add(SessionAction::StopTimer).timer = kStepTimer;
  held = paused = false;
  enlargement.Stop();
  phase = Phase::Ended;
  return Watched(actions);
}

bool HookWatchdog::HooksLost(uint32_t nowMs, uint32_t lastInputMs, uint32_t lastSeenMs) const {
  // What the hooks have seen, or at least the time they were installed.
  const uint32_t seen = lastSeenMs != 0 && Later(lastSeenMs, installedMs) ? lastSeenMs : installedMs;
  // Input said to come from the future (another program's injected input carries its own time)
  // proves nothing.
  if (Later(lastInputMs, nowMs)) return false;
  return Later(lastInputMs, seen + kSlackMs) && nowMs - lastInputMs >= kGraceMs;
}

}  // namespace find_pointer
