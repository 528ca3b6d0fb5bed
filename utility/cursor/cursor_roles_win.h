// The roles' cursors as system cursors: taken from the library or the platform's defaults,
// prepared by the transformer, installed and kept in the slot table; and the defaults put back.
#pragma once
#include <windows.h>

#include <cstdint>

#include "utility/cursor/cursor_slots_win.h"

// The four roles with a library list, in slot order.
enum class ListRole { Normal, AppStarting, Busy, IBeam };

// The library folder of each list role, relative to the current folder.
const char* RoleFolder(ListRole role);

// The large sizing arrows, in slot order 4 to 7 (ids 32642 to 32645).
constexpr const char* kLargeSizingFiles[4] = {"BIG_NW.CUR", "BIG_NE.CUR", "BIG_EW.CUR", "BIG_NS.CUR"};

// A role's cursor on its way to the desktop: the caller owns `handle` (null when the file did
// not load) until InstallRoleCursor takes it.
struct RoleCursor {
  HCURSOR handle;
  bool animated;
  DWORD id;  // the system cursor it goes to
};

// The cursor a list role's `storedName` stands for: "<Default>" puts the platform default back
// under the role's id at once and hands out that default; a file name loads the file from the
// role's folder. The role's slot records whether it is animated.
RoleCursor TakeRoleCursor(ListRole role, const char* storedName);
// App Starting as "<Same as Normal>": its own handle for Normal's choice `normalName` (never the
// Normal slot's handle), animated as Normal is.
RoleCursor TakeSameAsNormalCursor(const char* normalName);
// Recolours a static cursor, mirrors it when `mirror` is asked and it is static, and installs it.
void InstallRoleCursor(const RoleCursor& cursor, bool mirror);

// The four sizing arrows: the recoloured platform defaults, or the library's large ones.
void InstallSizingArrows(bool large);

// Puts the eight platform defaults back in the restore order, once per run: `restoredFlag`
// records that it has.
void RestoreSystemCursors(int32_t& restoredFlag);

// The slot of one of the eight replaced ids, or -1.
int SlotOfCursorId(DWORD id);

// Installs `cursor` (null or not) as system cursor `id` and keeps it in the id's slot; the
// handle the slot held before is released unless it is this one. The slot owns what it holds.
// While finding the pointer has the pointer hidden (slotsCovered), only the slot changes.
void InstallCursor(HCURSOR cursor, DWORD id);
