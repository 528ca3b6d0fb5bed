// Finding the pointer as a session: each case is a run of events, each event with the actions
// it must answer with, in order. And the watchdog's rule for hooks the platform dropped.
#include "utility/cursor/find_pointer_session.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

namespace {

using find_pointer::HookWatchdog;
using find_pointer::kAnswerTimer;
using find_pointer::kStepTimer;
using find_pointer::PointerAt;
using find_pointer::Session;
using find_pointer::SessionAction;
using find_pointer::SessionActions;

constexpr int kWidth = 1920, kHeight = 1080;

std::string Describe(const SessionActions& actions) {
  std::ostringstream out;
  for (const SessionAction& action : actions) {
    if (out.tellp() > 0) out << ", ";
    switch (action.kind) {
      case SessionAction::Hide: out << "hide"; break;
      case SessionAction::Show: out << "show"; break;
      case SessionAction::EnlargeTo: out << "enlarge " << action.percent << (action.again ? " again" : ""); break;
      case SessionAction::EndEnlargement: out << "end enlargement"; break;
      case SessionAction::StartTimer: out << "start " << action.timer << "/" << action.period; break;
      case SessionAction::StopTimer: out << "stop " << action.timer; break;
      case SessionAction::PauseAnimator: out << "pause"; break;
      case SessionAction::ResumeAnimator: out << "resume"; break;
      case SessionAction::Watch:
        out << "watch" << (action.input ? " input" : " nothing") << (action.moves ? " moves" : "");
        break;
      case SessionAction::ReinstallHooks: out << "reinstall"; break;
    }
  }
  return out.str();
}

// A quick shake across the middle of the screen, a sample every 8 ms from `startMs`.
std::vector<std::pair<uint32_t, PointerAt>> ShakeSamples(uint32_t startMs, uint32_t durationMs = 900) {
  std::vector<std::pair<uint32_t, PointerAt>> samples;
  for (uint32_t t = 0; t <= durationMs; t += 8) {
    const int x = static_cast<int>(std::lround(960 + 200 * std::sin(3.14159265358979 * t / 100)));
    samples.push_back({startMs + t, {x, 540}});
  }
  return samples;
}

// Moves the pointer in a shake until the session answers; the time it did, or 0.
uint32_t ShakeUntilAnswered(Session& session, uint32_t startMs, std::string* answer, bool injected = false) {
  for (const auto& [ms, at] : ShakeSamples(startMs)) {
    const SessionActions actions = session.OnMove(ms, at, injected, kWidth, kHeight);
    if (actions.count > 0) {
      *answer = Describe(actions);
      return ms;
    }
  }
  return 0;
}

// A session shaken until it asks the dialog to pause its animator; the time it asked.
uint32_t ShakenAndAsking(Session& session, uint32_t startMs = 1000) {
  std::string answer;
  const uint32_t shaken = ShakeUntilAnswered(session, startMs, &answer);
  EXPECT_NE(shaken, 0u) << "the shake was never seen";
  EXPECT_EQ(answer, "pause, start 1/250");
  return shaken;
}

struct Step {
  const char* event;
  std::function<SessionActions(Session&)> act;
  const char* expected;
};

void RunSteps(const char* name, const std::vector<Step>& steps) {
  Session session;
  for (const Step& step : steps) {
    EXPECT_EQ(Describe(step.act(session)), step.expected) << name << ": " << step.event;
  }
}

Step Configure(bool hide, bool shake, const char* expected) {
  return {"configure", [=](Session& s) { return s.Configure(hide, shake); }, expected};
}
Step Type(uint32_t ms, const char* expected, PointerAt at = {400, 300}) {
  return {"typing", [=](Session& s) { return s.OnTyping(ms, at); }, expected};
}
Step Move(uint32_t ms, PointerAt at, const char* expected, bool injected = false) {
  return {"move", [=](Session& s) { return s.OnMove(ms, at, injected, kWidth, kHeight); }, expected};
}
Step Answer(uint32_t ms, const char* expected) {
  return {"the dialog's answer", [=](Session& s) { return s.OnAnimatorPaused(ms); }, expected};
}
Step Timer(uint32_t ms, uint32_t timer, const char* expected) {
  return {"timer", [=](Session& s) { return s.OnTimer(ms, timer); }, expected};
}

TEST(FindPointerSession, TypingHidesOnceTheDialogHasPausedItsAnimator) {
  RunSteps("hide and show", {
                           Configure(true, false, "watch input"),
                           Type(1000, "pause, start 1/250, watch input moves"),
                           Type(1010, ""),
                           Answer(1012, "stop 1, hide"),
                           Type(1100, ""),
                           Move(1200, {400, 300}, ""),  // reported where the pointer already is
                           Move(1210, {401, 300}, "show, resume, watch input"),
                           Move(1220, {420, 310}, ""),
                       });
  RunSteps("a click or the wheel shows it too",
      {
          Configure(true, false, "watch input"),
          Type(1000, "pause, start 1/250, watch input moves"),
          Answer(1001, "stop 1, hide"),
          {"button", [](Session& s) { return s.OnButton(1100, true); }, "show, resume, watch input"},
          Type(1200, "pause, start 1/250, watch input moves"),
          Answer(1201, "stop 1, hide"),
          {"wheel", [](Session& s) { return s.OnWheel(1300); }, "show, resume, watch input"},
      });
  RunSteps("moved before the dialog answered: the hide is withdrawn",
      {
          Configure(true, false, "watch input"),
          Type(1000, "pause, start 1/250, watch input moves"),
          Move(1050, {500, 300}, "stop 1, resume, watch input"),
          Answer(1060, ""),
      });
  RunSteps("typing is not watched while the box is off", {
                                                         Configure(false, false, ""),
                                                         Type(1000, ""),
                                                         Move(1010, {0, 0}, ""),
                                                     });
}

TEST(FindPointerSession, AStuckDialogNeverDelaysTheShowAndDropsWhatItWasAskedFor) {
  RunSteps("stuck before the hide", {
                                   Configure(true, false, "watch input"),
                                   Type(1000, "pause, start 1/250, watch input moves"),
                                   Timer(1250, kAnswerTimer, "stop 1, resume, watch input"),
                                   // The dialog comes back and answers: nothing is hidden late.
                                   Answer(5000, ""),
                                   Type(5100, "pause, start 1/250, watch input moves"),
                                   Answer(5101, "stop 1, hide"),
                               });
  // Hidden, then the dialog stops answering: the first move shows at once, asking it nothing.
  RunSteps("stuck while hidden", {
                                Configure(true, false, "watch input"),
                                Type(1000, "pause, start 1/250, watch input moves"),
                                Answer(1001, "stop 1, hide"),
                                Move(6000, {600, 600}, "show, resume, watch input"),
                            });

  // A shake while the dialog is stuck asks once, then is dropped; it never enlarges later.
  Session session;
  EXPECT_EQ(Describe(session.Configure(false, true)), "watch input moves");
  const uint32_t shaken = ShakenAndAsking(session);
  EXPECT_EQ(Describe(session.OnTimer(shaken + 250, kAnswerTimer)), "stop 1, resume");
  EXPECT_EQ(Describe(session.OnAnimatorPaused(shaken + 4000)), "") << "the late answer enlarges nothing";
  EXPECT_FALSE(session.enlarged());
}

TEST(FindPointerSession, AShakeEnlargesAndShrinksBackWithinHalfASecond) {
  Session session;
  session.Configure(false, true);
  const uint32_t shaken = ShakenAndAsking(session);
  EXPECT_EQ(Describe(session.OnAnimatorPaused(shaken + 2)), "stop 1, enlarge 100, start 2/30");
  EXPECT_EQ(Describe(session.OnTimer(shaken + 2 + 75, kStepTimer)), "enlarge 200");
  EXPECT_EQ(Describe(session.OnTimer(shaken + 2 + 150, kStepTimer)), "enlarge 300");
  // No more shaking: back to its own size and the animator free, within half a second.
  std::string last;
  uint32_t ms = shaken + 2 + 150;
  while (session.enlarged() && ms < shaken + 2000) {
    ms += 30;
    last = Describe(session.OnTimer(ms, kStepTimer));
  }
  EXPECT_EQ(last, "end enlargement, stop 2, resume");
  EXPECT_LE(ms - (shaken + 2), 450u + 30u);
  // A reload while nothing is hidden or enlarged asks for nothing.
  EXPECT_EQ(Describe(session.OnCursorsReloaded(ms)), "");
}

TEST(FindPointerSession, TypingWhileEnlargedHidesAtOnceAndAReloadPutsTheBlanksBack) {
  Session session;
  session.Configure(true, true);
  const uint32_t shaken = ShakenAndAsking(session);
  session.OnAnimatorPaused(shaken);
  EXPECT_EQ(Describe(session.OnCursorsReloaded(shaken + 150)), "enlarge 300 again");
  // The animator is paused already: the enlargement ends and the blanks go in without asking.
  EXPECT_EQ(Describe(session.OnTyping(shaken + 170, {10, 10})), "end enlargement, stop 2, hide");
  EXPECT_TRUE(session.hidden());
  EXPECT_EQ(Describe(session.OnCursorsReloaded(shaken + 200)), "hide");
  EXPECT_EQ(Describe(session.OnMove(shaken + 300, {20, 10}, false, kWidth, kHeight)), "show, resume");
}

TEST(FindPointerSession, TurningABoxOffPutsThePointerBackAndInjectedMovesNeverShake) {
  RunSteps("hide off while hidden", {
                                   Configure(true, true, "watch input moves"),
                                   Type(1000, "pause, start 1/250"),
                                   Answer(1001, "stop 1, hide"),
                                   Configure(false, true, "show, resume"),
                                   Configure(false, false, "watch nothing"),
                               });
  Session session;
  session.Configure(false, true);
  std::string answer;
  EXPECT_EQ(ShakeUntilAnswered(session, 1000, &answer, true), 0u) << "another program's moves: " << answer;
  session.OnAnimatorPaused(ShakenAndAsking(session, 5000));
  EXPECT_TRUE(session.enlarged());
  EXPECT_EQ(Describe(session.Configure(false, false)), "end enlargement, stop 2, resume, watch nothing");
}

TEST(FindPointerSession, AnEndingStopsEverythingWithoutPuttingCursorsBack) {
  RunSteps("ended while hidden", {
                                Configure(true, false, "watch input"),
                                Type(1000, "pause, start 1/250, watch input moves"),
                                Answer(1001, "stop 1, hide"),
                                {"end", [](Session& s) { return s.End(); }, "watch nothing"},
                                Move(1100, {0, 0}, ""),
                                Type(1200, ""),
                                {"end again", [](Session& s) { return s.End(); }, ""},
                                // The run went on (a log-off was vetoed): configured afresh.
                                Configure(true, false, "watch input"),
                                Type(2000, "pause, start 1/250, watch input moves"),
                            });
  RunSteps("ended while waiting", {
                                 Configure(true, false, "watch input"),
                                 Type(1000, "pause, start 1/250, watch input moves"),
                                 {"end", [](Session& s) { return s.End(); }, "stop 1, watch nothing"},
                                 Answer(1010, ""),
                             });
  RunSteps("the hooks again after an unlock", {
                                             {"unlocked", [](Session& s) { return s.OnInputMayHaveStopped(); }, ""},
                                             Configure(true, false, "watch input"),
                                             {"unlocked", [](Session& s) { return s.OnInputMayHaveStopped(); }, "reinstall"},
                                         });
}

TEST(HookWatchdog, InputTheHooksNeverSawMeansTheyWereDropped) {
  struct Case {
    const char* what;
    uint32_t installed, now, lastInput, lastSeen;
    bool lost;
  };
  const Case cases[] = {
      {"the hooks saw the last input", 1000, 3000, 1500, 1501, false},
      {"the same tick", 1000, 3000, 1500, 1500, false},
      {"noted just after the hook saw it", 1000, 3000, 1502, 1501, false},
      {"at the end of the slack", 1000, 3000, 1751, 1501, false},
      {"just past the slack", 1000, 3000, 1752, 1501, true},
      {"input after the hooks' last", 1000, 3000, 2000, 1501, true},
      {"too recent to judge", 1000, 3000, 2800, 1501, false},
      {"exactly the grace", 1000, 3000, 2500, 1501, true},
      {"input before the installation", 1000, 3000, 900, 0, false},
      {"never seen since the installation", 1000, 2000, 1300, 0, true},
      {"a reinstall forgets older misses", 2500, 3000, 2000, 1501, false},
      {"another program's input from the future", 1000, 3000, 5000, 1501, false},
      {"across the clock's wrap", 0xFFFFFF00u, 0x400, 0x100, 0xFFFFFF10u, true},
      {"seen across the wrap", 0xFFFFFF00u, 0x400, 0x100, 0x101, false},
  };
  for (const Case& c : cases) {
    HookWatchdog watchdog;
    watchdog.OnInstalled(c.installed);
    EXPECT_EQ(watchdog.HooksLost(c.now, c.lastInput, c.lastSeen), c.lost) << c.what;
  }
}

}  // namespace
