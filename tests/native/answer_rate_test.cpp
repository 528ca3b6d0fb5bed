// The rule for answering reloads of the cursors (and a guard that ends): at most one answer a
// second, after ten in a minute a stop said once, until the user makes a choice.
#include "utility/cursor/answer_rate.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Decision = AnswerRate::Decision;

// Drives the rule as the dialog does: requests at the given times, and the deferred answer when
// its time comes (before any later request). Returns the times of the answers and of the stops.
struct Outcome {
  std::vector<uint32_t> answers;
  std::vector<uint32_t> stops;
};
Outcome Drive(AnswerRate& rule, const std::vector<uint32_t>& requests) {
  Outcome outcome;
  bool due = false;
  uint32_t dueAt = 0;
  auto follow = [&](Decision decision, uint32_t ms) {
    if (decision == Decision::AnswerNow) outcome.answers.push_back(ms);
    if (decision == Decision::Stop) outcome.stops.push_back(ms);
    if (decision == Decision::AnswerLater) {
      due = true;
      dueAt = ms + rule.DelayMs(ms);
    }
  };
  for (uint32_t ms : requests) {
    if (due && static_cast<int32_t>(ms - dueAt) >= 0) {
      due = false;
      follow(rule.OnDue(dueAt), dueAt);
    }
    follow(rule.OnRequest(ms), ms);
  }
  if (due) follow(rule.OnDue(dueAt), dueAt);
  return outcome;
}

std::vector<uint32_t> Every(uint32_t startMs, uint32_t stepMs, uint32_t untilMs) {
  std::vector<uint32_t> times;
  for (uint32_t ms = startMs; static_cast<int32_t>(untilMs - ms) >= 0; ms += stepMs) times.push_back(ms);
  return times;
}

TEST(AnswerRate, OneAnswerASecondForEveryRequestUntilThen) {
  AnswerRate rule;
  EXPECT_EQ(rule.OnRequest(1000), Decision::AnswerNow) << "the first is answered at once";
  EXPECT_EQ(rule.OnRequest(1300), Decision::AnswerLater);
  EXPECT_EQ(rule.DelayMs(1300), 700u) << "due a second after the last answer";
  EXPECT_EQ(rule.OnRequest(1400), Decision::Ignore) << "the answer due serves it too";
  EXPECT_EQ(rule.OnDue(2000), Decision::AnswerNow);
  EXPECT_EQ(rule.OnDue(2000), Decision::Ignore) << "nothing was due any more";
  EXPECT_EQ(rule.OnRequest(3500), Decision::AnswerNow) << "a second and more after the last";
  EXPECT_EQ(rule.DelayMs(3500), 1000u);
  EXPECT_EQ(rule.DelayMs(4600), 0u);
}

TEST(AnswerRate, AProgramReloadingEvery100MsGetsTenAnswersThenOneStop) {
  AnswerRate rule;
  const Outcome outcome = Drive(rule, Every(1000, 100, 11000));
  EXPECT_EQ(outcome.answers.size(), 10u);
  ASSERT_EQ(outcome.stops.size(), 1u) << "said once";
  EXPECT_GT(outcome.stops[0], outcome.answers.back());
  for (size_t i = 1; i < outcome.answers.size(); ++i) EXPECT_GE(outcome.answers[i] - outcome.answers[i - 1], 1000u) << i;
  EXPECT_TRUE(rule.stopped());
  // Stopped: nothing more is answered or said, however long it goes on.
  const Outcome after = Drive(rule, Every(11100, 100, 80000));
  EXPECT_TRUE(after.answers.empty());
  EXPECT_TRUE(after.stops.empty());
  // Until the user makes a choice.
  rule.OnUserChoice();
  EXPECT_FALSE(rule.stopped());
  EXPECT_EQ(rule.OnRequest(80100), Decision::AnswerNow);
}

TEST(AnswerRate, ReloadsSpreadOverTimeAreAlwaysAnswered) {
  struct Case {
    const char* what;
    uint32_t stepMs;
    uint32_t untilMs;
    size_t answers;
    size_t stops;
  };
  const Case cases[] = {
      {"every seven seconds for five minutes", 7000, 300000, 43, 0},
      {"every six seconds: ten within any minute, never eleven", 6001, 300000, 50, 0},
      {"every two seconds: the eleventh within a minute stops", 2000, 60000, 10, 1},
      {"twice a second", 500, 60000, 10, 1},
  };
  for (const Case& c : cases) {
    AnswerRate rule;
    const Outcome outcome = Drive(rule, Every(1000, c.stepMs, 1000 + c.untilMs));
    EXPECT_EQ(outcome.answers.size(), c.answers) << c.what;
    EXPECT_EQ(outcome.stops.size(), c.stops) << c.what;
  }
}

TEST(AnswerRate, KeepsTimeAcrossTheClocksWrap) {
  AnswerRate rule;
  const Outcome outcome = Drive(rule, Every(0xFFFFF000u, 100, 0xFFFFF000u + 12000));
  EXPECT_EQ(outcome.answers.size(), 10u);
  EXPECT_EQ(outcome.stops.size(), 1u);
}

TEST(ReloadSetting, OnlyTheCursorsReloadIsOne) {
  EXPECT_TRUE(IsCursorReloadSetting(0x0057));   // SPI_SETCURSORS
  EXPECT_FALSE(IsCursorReloadSetting(0));       // a policy or locale change
  EXPECT_FALSE(IsCursorReloadSetting(0x0014));  // SPI_SETDESKWALLPAPER
  EXPECT_FALSE(IsCursorReloadSetting(0x2029));  // SPI_SETCURSORSHADOW: no reload
}

TEST(ReloadStopMessage, NamesWhatHappenedOrIsRefused) {
  const std::pair<ReloadCause, const char*> cases[] = {
      {ReloadCause::Settings, "pointer settings"}, {ReloadCause::Theme, "theme"},
      {ReloadCause::Unlock, "unlocked"},          {ReloadCause::Resume, "resumed"},
      {ReloadCause::Display, "display"},
  };
  for (const auto& [cause, named] : cases) {
    char text[512];
    ASSERT_TRUE(ComposeReloadStopMessage(cause, text, sizeof text));
    const std::string message = text;
    EXPECT_NE(message.find("ten times within a minute"), std::string::npos) << message;
    EXPECT_NE(message.find(named), std::string::npos) << message;
    EXPECT_NE(message.find("Make a choice"), std::string::npos) << message;
    // Exactly fitting, and one short.
    std::vector<char> exact(message.size() + 1, '#');
    EXPECT_TRUE(ComposeReloadStopMessage(cause, exact.data(), exact.size()));
    std::vector<char> shorter(message.size(), '#');
    EXPECT_FALSE(ComposeReloadStopMessage(cause, shorter.data(), shorter.size()));
    EXPECT_EQ(shorter[0], '\0');
  }
}

}  // namespace
