// The system cursor ids that the utility replaces. Platform-free, so the logic halves and the
// tools name them the same way.
#pragma once
#include <cstddef>
#include <cstdint>

// The length of a table, so code over the tables below never spells their lengths out.
template <class T, size_t N>
constexpr size_t CountOf(const T (&)[N]) {
  return N;
}

constexpr uint32_t kIdNormal = 32512;       // OCR_NORMAL
constexpr uint32_t kIdIBeam = 32513;        // OCR_IBEAM
constexpr uint32_t kIdBusy = 32514;         // OCR_WAIT
constexpr uint32_t kIdSizeNWSE = 32642;     // OCR_SIZENWSE
constexpr uint32_t kIdSizeNESW = 32643;     // OCR_SIZENESW
constexpr uint32_t kIdSizeWE = 32644;       // OCR_SIZEWE
constexpr uint32_t kIdSizeNS = 32645;       // OCR_SIZENS
constexpr uint32_t kIdAppStarting = 32650;  // OCR_APPSTARTING

// The eight, in the order the roles handle them: Normal, App Starting, Busy, I-Beam, the arrows.
constexpr uint32_t kReplaceableCursorIds[8] = {kIdNormal,   kIdAppStarting, kIdBusy,   kIdIBeam,
                                               kIdSizeNWSE, kIdSizeNESW,    kIdSizeWE, kIdSizeNS};
// The order in which the platform's defaults are put back at the end.
constexpr uint32_t kRestoreOrder[8] = {kIdNormal,   kIdBusy,     kIdAppStarting, kIdIBeam,
                                       kIdSizeNWSE, kIdSizeNESW, kIdSizeWE,      kIdSizeNS};

// The other system cursors a program may replace, which only hiding the pointer while the user
// types touches: cross, up arrow, size-all, no, hand, help.
constexpr uint32_t kHideOnlyCursorIds[6] = {32515, 32516, 32646, 32648, 32649, 32651};

constexpr size_t kReplaceableCount = CountOf(kReplaceableCursorIds);
constexpr size_t kHideOnlyCount = CountOf(kHideOnlyCursorIds);
static_assert(CountOf(kRestoreOrder) == kReplaceableCount, "every replaceable id is put back once");

// Every system cursor a program may replace: the eight, then the six others.
constexpr size_t kAnyReplaceableCount = kReplaceableCount + kHideOnlyCount;
constexpr uint32_t AnyReplaceableId(size_t index) {
  return index < kReplaceableCount ? kReplaceableCursorIds[index] : kHideOnlyCursorIds[index - kReplaceableCount];
}
