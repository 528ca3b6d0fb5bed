#include "utility/cursor/answer_rate.h"

#include <cstring>

namespace {
constexpr uint32_t kSetCursors = 0x0057;  // SPI_SETCURSORS
}  // namespace

int AnswerRate::AnswersWithinWindow(uint32_t ms) const {
  int within = 0;
  for (int i = 0; i < answerCount; ++i) {
    if (ms - answers[i] < kWindowMs) ++within;
  }
  return within;
}

AnswerRate::Decision AnswerRate::Answer(uint32_t ms) {
  if (AnswersWithinWindow(ms) >= kMostInWindow) {
    stop = true;
    return Decision::Stop;
  }
  newest = (newest + 1) % kMostInWindow;
  answers[newest] = ms;
  if (answerCount < kMostInWindow) ++answerCount;
  return Decision::AnswerNow;
}

AnswerRate::Decision AnswerRate::OnRequest(uint32_t ms) {
  if (stop || due) return Decision::Ignore;
  if (answerCount > 0 && ms - answers[newest] < kSpacingMs) {
    due = true;
    return Decision::AnswerLater;
  }
  return Answer(ms);
}

AnswerRate::Decision AnswerRate::OnDue(uint32_t ms) {
  if (!due) return Decision::Ignore;
  due = false;
  if (stop) return Decision::Ignore;
  return Answer(ms);
}

uint32_t AnswerRate::DelayMs(uint32_t ms) const {
  if (answerCount == 0) return 0;
  const uint32_t since = ms - answers[newest];
  return since < kSpacingMs ? kSpacingMs - since : 0;
}

void AnswerRate::OnUserChoice() {
  stop = false;
  due = false;
  answerCount = 0;
  newest = -1;
}

bool IsCursorReloadSetting(uint32_t action) { return action == kSetCursors; }

bool ComposeReloadStopMessage(ReloadCause cause, char* out, size_t size) {
  struct CauseText {
    ReloadCause cause;
    const char* text;
  };
  static const CauseText kCauses[] = {
      {ReloadCause::Settings, "a program or Windows Settings changed the pointer settings"},
      {ReloadCause::Theme, "the Windows theme changed"},
      {ReloadCause::Unlock, "the session was unlocked"},
      {ReloadCause::Resume, "the computer resumed from sleep"},
      {ReloadCause::Display, "the display or its scale changed"},
  };
  const char* what = kCauses[0].text;
  for (const CauseText& known : kCauses) {
    if (known.cause == cause) what = known.text;
  }
  static const char kBefore[] =
      "Windows has reloaded the system cursors ten times within a minute, each time replacing "
      "Pointrel's cursors with your Windows pointers; the last time, ";
  static const char kAfter[] =
      ".\n\nPointrel has stopped putting its cursors back, so as not to fight over them. Make a "
      "choice in Pointrel's window and it will answer again.";
  const size_t total = std::strlen(kBefore) + std::strlen(what) + std::strlen(kAfter);
  if (size == 0) return false;
  out[0] = '\0';
  if (total + 1 > size) return false;
  std::strcpy(out, kBefore);
  std::strcat(out, what);
  std::strcat(out, kAfter);
  return true;
}
