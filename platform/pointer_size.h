// The side the platform draws every cursor at: the user's pointer size (Settings, Accessibility,
// Mouse pointer; stored as CursorBaseSize under HKCU\Control Panel\Cursors, 32 to 256 pixels at
// 100 %) times the display scale, or, where no size is stored, the side the platform reports
// (SM_CXCURSOR, which follows the display scale alone).
#pragma once
#include <cstdint>

namespace pointer_size {

constexpr uint32_t kSmallestBase = 32;
constexpr uint32_t kLargestBase = 256;
// The largest side a cursor file holds, and the largest the transforms take.
constexpr int kLargestSide = 256;

// `base` as read (`stored` false when there is none), the system's dots per inch and the side
// the platform reports. A stored size outside 32 to 256 (hand-edited) is not one the platform
// draws, and is ignored as the platform ignores it. Never more than kLargestSide.
int CursorSide(bool stored, uint32_t base, int systemDpi, int reportedSide);

}  // namespace pointer_size
