#include "platform/pointer_size.h"

namespace pointer_size {

int CursorSide(bool stored, uint32_t base, int systemDpi, int reportedSide) {
  const int fallback = reportedSide > 0 ? reportedSide : 32;
  if (!stored || base < kSmallestBase || base > kLargestBase) return fallback;
  // Beyond 10 times 100 % no display goes; such a figure is not the scale.
  if (systemDpi <= 0 || systemDpi > 960) return fallback;
  const int side = static_cast<int>((base * static_cast<uint32_t>(systemDpi) + 48) / 96);
  return side < kLargestSide ? side : kLargestSide;
}

}  // namespace pointer_size
