#include "utility/cursor/find_pointer.h"

namespace find_pointer {

namespace {

// Virtual-key codes the filter tells apart.
constexpr uint32_t kBackspace = 0x08, kEnter = 0x0D, kShift = 0x10, kCtrl = 0x11, kAlt = 0x12, kSpace = 0x20;
constexpr uint32_t kLeftWin = 0x5B, kRightWin = 0x5C;
constexpr uint32_t kLeftShift = 0xA0, kRightShift = 0xA1, kLeftCtrl = 0xA2, kRightCtrl = 0xA3, kLeftAlt = 0xA4,
                   kRightAlt = 0xA5;

bool IsCharacterKey(uint32_t key) {
  return key == kBackspace || key == kEnter || key == kSpace || (key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z') ||
         (key >= 0x60 && key <= 0x6F) ||  // the number pad's digits and operators
         (key >= 0xBA && key <= 0xC0) || (key >= 0xDB && key <= 0xDF) || key == 0xE2;  // punctuation
}

int32_t Abs(int32_t value) { return value < 0 ? -value : value; }

}  // namespace

bool TypingFilter::OnKey(uint32_t key, bool down) {
  switch (key) {
    case kLeftCtrl: leftCtrl = down; return false;
    case kCtrl: leftCtrl = down; return false;
    case kRightCtrl: rightCtrl = down; return false;
    case kLeftAlt: leftAlt = down; return false;
    case kAlt: leftAlt = down; return false;
    case kRightAlt: rightAlt = down; return false;
    case kLeftWin:
    case kRightWin: win = down; return false;
    case kShift:
    case kLeftShift:
    case kRightShift: return false;
    default: break;
  }
  if (!down || !IsCharacterKey(key)) return false;
  const bool altGr = rightAlt && leftCtrl && !rightCtrl && !leftAlt;
  if (altGr) return !win;
  return !leftCtrl && !rightCtrl && !leftAlt && !rightAlt && !win;
}

void ShakeDetector::Reset() {
  horizontal = Axis();
  vertical = Axis();
  started = false;
}

void ShakeDetector::OnButton(bool down) {
  buttonDown = down;
  Reset();
}

bool ShakeDetector::Follow(Axis& axis, uint32_t ms, int32_t along, int32_t across, int32_t screenExtent) {
  if (axis.direction == 0) {
    if (along == axis.extreme) return false;
    axis.direction = along > axis.extreme ? 1 : -1;
    axis.extreme = along;
    axis.extremeMs = ms;
    if (across < axis.acrossLow) axis.acrossLow = across;
    if (across > axis.acrossHigh) axis.acrossHigh = across;
    return false;
  }
  if ((along - axis.extreme) * axis.direction >= 0) {  // on the same way, or still
    if (along != axis.extreme) axis.extremeMs = ms;
    axis.extreme = along;
    if (across < axis.acrossLow) axis.acrossLow = across;
    if (across > axis.acrossHigh) axis.acrossHigh = across;
    return false;
  }
  if (Abs(along - axis.extreme) < tuning.turnSlack) return false;

  // A turn: the stroke from start to extreme is done.
  const int32_t length = Abs(axis.extreme - axis.start);
  const int32_t strayed = axis.acrossHigh - axis.acrossLow;
  const int32_t shortest = screenExtent / tuning.strokeShareOfScreen > tuning.shortestStroke
                               ? screenExtent / tuning.strokeShareOfScreen
                               : tuning.shortestStroke;
  const bool counts = length >= shortest && axis.extremeMs - axis.startMs <= tuning.longestStrokeMs && 4 * strayed < length;
  if (!counts) {
    axis.strokes = 0;
  } else {
    if (axis.strokes == 0) axis.firstStrokeMs = axis.startMs;
    ++axis.strokes;
  }
  // The turn begins the next stroke, from the extreme.
  axis.start = axis.extreme;
  axis.startMs = axis.extremeMs;
  axis.direction = -axis.direction;
  axis.extreme = along;
  axis.extremeMs = ms;
  axis.acrossLow = axis.acrossHigh = across;
  if (!counts) return false;
  if (axis.strokes > tuning.turns) return true;  // a shake going on
  if (axis.strokes == tuning.turns && ms - axis.firstStrokeMs <= tuning.windowMs) return true;
  if (axis.strokes == tuning.turns) axis.strokes = 0;  // too slow as a whole
  return false;
}

bool ShakeDetector::OnMove(uint32_t ms, int32_t x, int32_t y, int32_t screenWidth, int32_t screenHeight) {
  if (buttonDown) return false;
  // A pause, or the first sample: every stroke starts afresh here.
  if (!started || ms - lastMs > tuning.longestStrokeMs) {
    Reset();
    started = true;
    horizontal.start = horizontal.extreme = x;
    horizontal.acrossLow = horizontal.acrossHigh = y;
    vertical.start = vertical.extreme = y;
    vertical.acrossLow = vertical.acrossHigh = x;
    horizontal.startMs = horizontal.extremeMs = vertical.startMs = vertical.extremeMs = ms;
    lastMs = ms;
    return false;
  }
  lastMs = ms;
  const bool acrossScreen = Follow(horizontal, ms, x, y, screenWidth);
  const bool upAndDown = Follow(vertical, ms, y, x, screenHeight);
  return acrossScreen || upAndDown;
}

void Enlargement::OnShake(uint32_t ms) {
  if (!AnimatingAt(ms)) {
    growFromMs = ms;
    growFromPercent = 100;
  } else if (ms - lastShakeMs > kHoldMs) {
    // Shaken again while it shrinks: it grows again from where it is.
    growFromPercent = PercentAt(ms);
    growFromMs = ms;
  }
  active = true;
  lastShakeMs = ms;
}

int32_t Enlargement::PercentAt(uint32_t ms) const {
  if (!active) return 100;
  const uint32_t sinceGrow = ms - growFromMs;
  int32_t grown = kFullPercent;
  if (sinceGrow < kGrowMs) {
    grown = growFromPercent + static_cast<int32_t>((kFullPercent - growFromPercent) * static_cast<int64_t>(sinceGrow) / kGrowMs);
  }
  const uint32_t sinceShake = ms - lastShakeMs;
  int32_t cap = kFullPercent;
  if (sinceShake > kHoldMs) {
    const uint32_t shrinking = sinceShake - kHoldMs;
    cap = shrinking >= kShrinkMs ? 100
                                 : kFullPercent - static_cast<int32_t>((kFullPercent - 100) * static_cast<int64_t>(shrinking) / kShrinkMs);
  }
  const int32_t percent = grown < cap ? grown : cap;
  return percent < 100 ? 100 : percent;
}

bool Enlargement::AnimatingAt(uint32_t ms) const { return active && ms - lastShakeMs < kHoldMs + kShrinkMs; }

}  // namespace find_pointer
