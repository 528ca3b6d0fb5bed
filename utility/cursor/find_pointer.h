// Finding the pointer, its platform-free half: which key presses are typing (and so hide the
// pointer), when a movement of the pointer is a shake, and how large the pointer is while and
// after it is shaken. Fed with what the keyboard and mouse hooks see; decides, never acts.
#pragma once
#include <cstdint>

namespace find_pointer {

// Key presses seen desktop-wide: only whether a key is typing, never which key was typed. The
// filter keeps the modifiers' state so that shortcuts are told from typing.
class TypingFilter {
 public:
  // A key went down (`down`) or up; true when this press is typing: a character key, Enter or
  // Backspace, with no Ctrl, Alt or Windows key held (Shift is typing, and so is AltGr, which
  // the platform reports as the left Ctrl with the right Alt).
  bool OnKey(uint32_t virtualKey, bool down);

 private:
  bool leftCtrl = false, rightCtrl = false, leftAlt = false, rightAlt = false, win = false;
};

// How a shake is told from every other movement. A stroke is a run of the pointer one way along
// one axis, ended by a turn back; it counts when it is long (a share of the screen's extent along
// that axis, and some pixels at least), quick, and straight (it strays across less than a quarter of
// its length, which no circle or loop does). A shake is `turns` counted strokes in a row, within `windowMs`.
struct ShakeTuning {
  int32_t strokeShareOfScreen = 12;  // a stroke covers at least 1/12 of the screen along its axis
  int32_t shortestStroke = 60;       // and at least this many pixels
  int32_t turnSlack = 12;            // pixels back before a turn counts (hand tremor)
  uint32_t longestStrokeMs = 250;
  int32_t turns = 3;
  uint32_t windowMs = 900;
};

class ShakeDetector {
 public:
  explicit ShakeDetector(ShakeTuning tuning = ShakeTuning()) : tuning(tuning) {}

  // The pointer at (x, y) at `ms` on a screen of the given size. True when this sample ends a
  // counted stroke of a shake: the first time the shake is made, and at each stroke it goes on.
  bool OnMove(uint32_t ms, int32_t x, int32_t y, int32_t screenWidth, int32_t screenHeight);
  // A button went down or up: a drag is never a shake.
  void OnButton(bool down);
  void Reset();

 private:
  struct Axis {
    int32_t direction = 0;  // +1, -1, 0 before the first move
    int32_t start = 0;      // where the stroke began
    int32_t extreme = 0;    // the farthest it has gone
    uint32_t startMs = 0, extremeMs = 0;
    int32_t acrossLow = 0, acrossHigh = 0;  // the other axis while the stroke ran
    int32_t strokes = 0;    // counted strokes in a row
    uint32_t firstStrokeMs = 0;
  };
  bool Follow(Axis& axis, uint32_t ms, int32_t along, int32_t across, int32_t screenExtent);

  ShakeTuning tuning;
  Axis horizontal, vertical;
  bool started = false;
  bool buttonDown = false;
  uint32_t lastMs = 0;
};

// The enlarged pointer's size over time, in percent of its own side: up to kFullPercent over
// kGrowMs from the first stroke of a shake, held while the shake goes on, and back to 100 over
// kShrinkMs once kHoldMs have passed since its last stroke.
class Enlargement {
 public:
  static constexpr int32_t kFullPercent = 300;
  static constexpr uint32_t kGrowMs = 150;
  static constexpr uint32_t kHoldMs = 250;
  static constexpr uint32_t kShrinkMs = 200;
  static constexpr uint32_t kStepMs = 30;  // the animation's timer, which runs only while it animates

  // A stroke of a shake at `ms`.
  void OnShake(uint32_t ms);
  int32_t PercentAt(uint32_t ms) const;
  // True while the pointer is, or is about to be, larger than its own side.
  bool AnimatingAt(uint32_t ms) const;
  void Stop() { active = false; }

 private:
  bool active = false;
  uint32_t growFromMs = 0;
  int32_t growFromPercent = 100;
  uint32_t lastShakeMs = 0;
};

}  // namespace find_pointer
