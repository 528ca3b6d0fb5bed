// The record of what is installed under each replaced system cursor id. Written only by the
// cursor roles; the animator reads slots 0, 1 and 3.
#pragma once
#include <windows.h>

#include <cstdint>

struct CursorSlot {
  HCURSOR handle;    // last installed under the slot's id by InstallCursor; null at start
  int32_t animated;  // the role's cursor is animated (slots 0 to 3; 4 to 7 stay 0)
};

enum CursorSlotIndex {
  kSlotNormal = 0,
  kSlotAppStarting = 1,
  kSlotBusy = 2,
  kSlotIBeam = 3,
  kSlotSizeNWSE = 4,
  kSlotSizeNESW = 5,
  kSlotSizeWE = 6,
  kSlotSizeNS = 7,
  kSlotCount = 8
};

extern CursorSlot CursorSlotTable[kSlotCount];

// The system cursor ids of the roles
constexpr DWORD kIdNormal = 32512;       // OCR_NORMAL
constexpr DWORD kIdIBeam = 32513;        // OCR_IBEAM
constexpr DWORD kIdBusy = 32514;         // OCR_WAIT
constexpr DWORD kIdAppStarting = 32650;  // OCR_APPSTARTING
constexpr DWORD kIdSizeNWSE = 32642;
constexpr DWORD kIdSizeNESW = 32643;
constexpr DWORD kIdSizeWE = 32644;
constexpr DWORD kIdSizeNS = 32645;
