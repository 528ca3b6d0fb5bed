// The platform's system cursor ids (its OCR_ constants), by name. Platform-free, so the logic
// halves and the tools name them the same way. Which of them Pointrel replaces, and in which
// order, is the role table's (utility/records/cursor_role_table.h).
#pragma once
#include <cstddef>
#include <cstdint>

// The length of a table, so code over a table never spells its length out.
template <class T, size_t N>
constexpr size_t CountOf(const T (&)[N]) {
  return N;
}

constexpr uint32_t kIdNormal = 32512;       // OCR_NORMAL
constexpr uint32_t kIdIBeam = 32513;        // OCR_IBEAM
constexpr uint32_t kIdBusy = 32514;         // OCR_WAIT
constexpr uint32_t kIdCross = 32515;        // OCR_CROSS
constexpr uint32_t kIdUp = 32516;           // OCR_UP
constexpr uint32_t kIdPen = 32631;          // the handwriting pen (not in every header)
constexpr uint32_t kIdSizeNWSE = 32642;     // OCR_SIZENWSE
constexpr uint32_t kIdSizeNESW = 32643;     // OCR_SIZENESW
constexpr uint32_t kIdSizeWE = 32644;       // OCR_SIZEWE
constexpr uint32_t kIdSizeNS = 32645;       // OCR_SIZENS
constexpr uint32_t kIdSizeAll = 32646;      // OCR_SIZEALL
constexpr uint32_t kIdNo = 32648;           // OCR_NO
constexpr uint32_t kIdHand = 32649;         // OCR_HAND
constexpr uint32_t kIdAppStarting = 32650;  // OCR_APPSTARTING
constexpr uint32_t kIdHelp = 32651;         // OCR_HELP
constexpr uint32_t kIdPin = 32671;          // the location pin (Windows 10 1803 and later)
constexpr uint32_t kIdPerson = 32672;       // the person (Windows 10 1803 and later)
