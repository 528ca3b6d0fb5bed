// How often Pointrel answers what others do to its cursors: the platform reloading the user's
// scheme over its choices (a settings change, a theme, the session unlocked, the computer
// resumed, the display changed), and its guard ending. Answering is right once; answering a
// program that reloads again and again is a fight nobody wins, so the rule spaces the answers
// out and, after too many, stops until the user makes a choice.
#pragma once
#include <cstddef>
#include <cstdint>

class AnswerRate {
 public:
  static constexpr uint32_t kSpacingMs = 1000;  // at most one answer a second
  static constexpr int kMostInWindow = 10;      // this many answers within kWindowMs, and no more
  static constexpr uint32_t kWindowMs = 60000;

  enum class Decision {
    AnswerNow,
    AnswerLater,  // one answer, for every reload until then, when DelayMs() have passed
    Ignore,       // an answer is due already, or the answers have stopped
    Stop,         // once: answering stops here until OnUserChoice; say so
  };

  // Something asked for an answer at `ms`.
  Decision OnRequest(uint32_t ms);
  // The answer put off by AnswerLater is due now.
  Decision OnDue(uint32_t ms);
  // How long from `ms` until the answer put off is due.
  uint32_t DelayMs(uint32_t ms) const;
  // The user has made a choice: answering starts afresh.
  void OnUserChoice();
  bool stopped() const { return stop; }

 private:
  // An answer now, or the stop when it would be one too many.
  Decision Answer(uint32_t ms);
  int AnswersWithinWindow(uint32_t ms) const;

  uint32_t answers[kMostInWindow] = {};  // the last answers' times, oldest overwritten
  int answerCount = 0;                   // answers recorded, at most kMostInWindow
  int newest = -1;
  bool due = false;
  bool stop = false;
};

// What reloaded the cursors, for the message said when the answers stop.
enum class ReloadCause { Settings, Theme, Unlock, Resume, Display };

// WM_SETTINGCHANGE's action, true where the platform reloaded the system cursors with it.
bool IsCursorReloadSetting(uint32_t action);

// The message said once when the answers to reloads stop, naming the last cause, into `out` of
// `size` characters; false, with `out` empty, when it does not fit.
bool ComposeReloadStopMessage(ReloadCause cause, char* out, size_t size);
