// Finding the pointer: the typing filter, the shake detector fed with timed positions, and the
// enlargement's timing.
#include "utility/cursor/find_pointer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <vector>

namespace {

using find_pointer::Enlargement;
using find_pointer::ShakeDetector;
using find_pointer::TypingFilter;

constexpr int kWidth = 1920, kHeight = 1080;
constexpr double kPi = 3.14159265358979;

struct Sample {
  uint32_t ms;
  int x, y;
};

// Positions every 8 ms (a mouse's report rate at 125 Hz) along path(t) for `durationMs`.
std::vector<Sample> Path(uint32_t durationMs, const std::function<void(double ms, double& x, double& y)>& path,
                         uint32_t startMs = 1000) {
  std::vector<Sample> samples;
  for (uint32_t t = 0; t <= durationMs; t += 8) {
    double x = 0, y = 0;
    path(t, x, y);
    samples.push_back({startMs + t, static_cast<int>(std::lround(x)), static_cast<int>(std::lround(y))});
  }
  return samples;
}

// The times at which the detector reports a shake stroke.
std::vector<uint32_t> ShakeTimes(const std::vector<Sample>& samples, ShakeDetector detector = ShakeDetector()) {
  std::vector<uint32_t> times;
  for (const Sample& s : samples) {
    if (detector.OnMove(s.ms, s.x, s.y, kWidth, kHeight)) times.push_back(s.ms);
  }
  return times;
}

// Back and forth along a line through the middle of the screen: `amplitude` pixels each way,
// `strokeMs` per stroke, at `angle` degrees from the horizontal.
std::function<void(double, double&, double&)> Wave(double amplitude, double strokeMs, double angle = 0) {
  return [=](double ms, double& x, double& y) {
    const double along = amplitude * std::sin(kPi * ms / strokeMs);
    x = 960 + along * std::cos(angle * kPi / 180);
    y = 540 + along * std::sin(angle * kPi / 180);
  };
}

TEST(ShakeDetector, QuickShakesAcrossOrUpAndDownAreShakes) {
  struct Case {
    const char* what;
    double amplitude, strokeMs, angle;
  };
  const Case cases[] = {
      {"wide and quick, across", 200, 100, 0}, {"short strokes, quick", 90, 70, 0},
      {"up and down", 150, 110, 90},           {"a little slanted", 200, 120, 12},
  };
  for (const Case& c : cases) {
    const std::vector<uint32_t> times = ShakeTimes(Path(900, Wave(c.amplitude, c.strokeMs, c.angle)));
    ASSERT_FALSE(times.empty()) << c.what;
    // Three turns make it; it is seen well under a second after the shake began, and it goes on.
    EXPECT_LT(times.front() - 1000, 3.6 * c.strokeMs + 40) << c.what;
    EXPECT_GE(times.size(), 2u) << c.what << ": the shake goes on at each stroke";
  }
}

TEST(ShakeDetector, OtherMovementsAreNot) {
  struct Case {
    const char* what;
    uint32_t durationMs;
    std::function<void(double, double&, double&)> path;
  };
  const Case cases[] = {
      {"slow waving", 3000, Wave(300, 600)},
      {"tremor", 2000, Wave(20, 60)},
      {"strokes too short for the screen", 2000, Wave(45, 80)},
      {"diagonal waving", 2000, Wave(200, 100, 45)},
      {"circles", 2000,
       [](double ms, double& x, double& y) {
         x = 960 + 200 * std::cos(2 * kPi * ms / 250);
         y = 540 + 200 * std::sin(2 * kPi * ms / 250);
       }},
      {"flat ellipses", 2000,
       [](double ms, double& x, double& y) {
         x = 960 + 250 * std::cos(2 * kPi * ms / 250);
         y = 540 + 130 * std::sin(2 * kPi * ms / 250);
       }},
      {"a diagonal line", 300, [](double ms, double& x, double& y) { x = y = 100 + 3 * ms; }},
      {"a single flick out and back", 260, Wave(300, 130)},
      {"a line across the screen, quickly", 200, [](double ms, double& x, double& y) { x = 9 * ms; y = 500; }},
  };
  for (const Case& c : cases) {
    const std::vector<uint32_t> times = ShakeTimes(Path(c.durationMs, c.path));
    EXPECT_TRUE(times.empty()) << c.what << ": a shake at " << (times.empty() ? 0 : times.front() - 1000) << " ms";
  }

  // Flicks one at a time, a second apart: never three in a row within the time.
  std::vector<Sample> flicks;
  for (int i = 0; i < 5; ++i) {
    for (const Sample& s : Path(260, Wave(300, 130), 1000 + 1000 * i)) flicks.push_back(s);
  }
  EXPECT_TRUE(ShakeTimes(flicks).empty());
}

TEST(ShakeDetector, ADragOrAPauseIsNoShake) {
  ShakeDetector detector;
  detector.OnButton(true);
  EXPECT_TRUE(ShakeTimes(Path(900, Wave(200, 100)), detector).empty()) << "a window dragged to and fro";

  // Two strokes, a pause, then two more: the pause ends the first attempt.
  std::vector<Sample> paused = Path(200, Wave(200, 100));
  for (const Sample& s : Path(200, Wave(200, 100), 1600)) paused.push_back(s);
  EXPECT_TRUE(ShakeTimes(paused).empty());

  // After the button comes up, the same shake is a shake.
  detector.OnButton(false);
  EXPECT_FALSE(ShakeTimes(Path(900, Wave(200, 100)), detector).empty());
}

TEST(ShakeDetector, TunedToTheScreen) {
  // The same 90-pixel strokes: a shake on a small screen, too short on a very wide one.
  const std::vector<Sample> samples = Path(900, Wave(90, 80));
  ShakeDetector detector;
  bool small = false, wide = false;
  for (const Sample& s : samples) small |= detector.OnMove(s.ms, s.x, s.y, 1024, 768);
  detector.Reset();
  for (const Sample& s : samples) wide |= detector.OnMove(s.ms, s.x, s.y, 5120, 1440);
  EXPECT_TRUE(small);
  EXPECT_FALSE(wide);
}

TEST(Enlargement, GrowsHoldsAndShrinksWithinHalfASecond) {
  Enlargement enlargement;
  EXPECT_EQ(100, enlargement.PercentAt(0));
  EXPECT_FALSE(enlargement.AnimatingAt(0));
  enlargement.OnShake(1000);
  EXPECT_TRUE(enlargement.AnimatingAt(1000));
  EXPECT_EQ(100, enlargement.PercentAt(1000));
  EXPECT_EQ(200, enlargement.PercentAt(1075)) << "smoothly, half-way";
  EXPECT_EQ(300, enlargement.PercentAt(1150));
  // Held while the shake goes on.
  for (uint32_t ms = 1200; ms <= 2000; ms += 100) enlargement.OnShake(ms);
  EXPECT_EQ(300, enlargement.PercentAt(2240));
  EXPECT_EQ(200, enlargement.PercentAt(2350));
  EXPECT_EQ(100, enlargement.PercentAt(2450)) << "back within half a second of the last stroke";
  EXPECT_FALSE(enlargement.AnimatingAt(2450));
  // Percent never leaves 100 to 300 and never grows while it shrinks.
  int last = 300;
  for (uint32_t ms = 2000; ms < 2600; ms += 5) {
    const int percent = enlargement.PercentAt(ms);
    EXPECT_LE(percent, last);
    EXPECT_GE(percent, 100);
    last = percent;
  }
}

TEST(Enlargement, ShakenAgainWhileItShrinksGrowsFromWhereItIs) {
  Enlargement enlargement;
  enlargement.OnShake(0);
  const int shrinking = enlargement.PercentAt(350);
  ASSERT_LT(shrinking, 300);
  ASSERT_GT(shrinking, 100);
  enlargement.OnShake(350);
  EXPECT_EQ(shrinking, enlargement.PercentAt(350)) << "no jump";
  EXPECT_EQ(300, enlargement.PercentAt(500));
  enlargement.Stop();
  EXPECT_EQ(100, enlargement.PercentAt(500));
  EXPECT_FALSE(enlargement.AnimatingAt(500));
  // The clock wraps after 49 days; a shake just before it still times right.
  Enlargement wrapping;
  wrapping.OnShake(0xFFFFFF00u);
  EXPECT_EQ(300, wrapping.PercentAt(0xFFFFFF00u + 200));
  EXPECT_EQ(100, wrapping.PercentAt(0xFFFFFF00u + 500));
}

TEST(TypingFilter, CharacterKeysTypeModifiersAndShortcutsDoNot) {
  TypingFilter filter;
  for (uint32_t key : {uint32_t('A'), uint32_t('Z'), uint32_t('0'), 0x20u, 0x0Du, 0x08u, 0xBAu, 0xDEu, 0xE2u, 0x60u, 0x6Fu}) {
    EXPECT_TRUE(filter.OnKey(key, true)) << key;
    EXPECT_FALSE(filter.OnKey(key, false)) << key << " up";
  }
  for (uint32_t key : {0x10u, 0xA0u, 0xA1u, 0x11u, 0xA2u, 0xA3u, 0x12u, 0xA4u, 0xA5u, 0x5Bu, 0x5Cu, 0x1Bu, 0x09u, 0x25u,
                       0x70u, 0x2Eu, 0x91u, 0x14u}) {
    EXPECT_FALSE(filter.OnKey(key, true)) << key;
    filter.OnKey(key, false);
  }
  // Shift is typing; Ctrl, Alt or the Windows key with a letter is a shortcut.
  filter.OnKey(0xA0, true);
  EXPECT_TRUE(filter.OnKey('A', true));
  filter.OnKey(0xA0, false);
  for (uint32_t modifier : {0xA2u, 0xA3u, 0x11u, 0xA4u, 0x12u, 0xA5u, 0x5Bu, 0x5Cu}) {
    filter.OnKey(modifier, true);
    EXPECT_FALSE(filter.OnKey('C', true)) << modifier;
    filter.OnKey(modifier, false);
    EXPECT_TRUE(filter.OnKey('C', true)) << modifier << " released";
  }
  // AltGr (left Ctrl with right Alt) types the characters of many layouts; with the Windows
  // key it does not.
  filter.OnKey(0xA2, true);
  filter.OnKey(0xA5, true);
  EXPECT_TRUE(filter.OnKey('Q', true));
  filter.OnKey(0x5B, true);
  EXPECT_FALSE(filter.OnKey('Q', true));
  filter.OnKey(0x5B, false);
  // Ctrl+Alt with the left Alt is a shortcut.
  filter.OnKey(0xA5, false);
  filter.OnKey(0xA4, true);
  EXPECT_FALSE(filter.OnKey('Q', true));
}

}  // namespace
