// Installing the roles' cursors as system cursors. The MainDialog members that read the
// controls (ApplyNormal and its siblings) are defined in cursor_roles_win.cpp.
#pragma once
#include <windows.h>

#include "utility/cursor/cursor_slots_win.h"

// The large sizing arrows, in slot order 4 to 7 (ids 32642 to 32645).
constexpr const char* kLargeSizingFiles[4] = {"BIG_NW.CUR", "BIG_NE.CUR", "BIG_EW.CUR", "BIG_NS.CUR"};
constexpr DWORD kSizingIds[4] = {kIdSizeNWSE, kIdSizeNESW, kIdSizeWE, kIdSizeNS};

// The slot of one of the eight replaced ids, or -1.
int SlotOfCursorId(DWORD id);

// Installs `cursor` (null or not) as system cursor `id` and keeps it in the id's slot; the
// handle the slot held before is released unless it is this one. The slot owns what it holds.
void InstallCursor(HCURSOR cursor, DWORD id);
