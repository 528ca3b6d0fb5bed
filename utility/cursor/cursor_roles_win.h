// The roles' cursors as system cursors: taken from the library, the scheme in force or the
// platform's defaults, prepared by the transformer, installed and kept in the slot table (one
// slot per row of the role table); and the defaults put back.
#pragma once
#include <windows.h>

#include <cstddef>
#include <cstdint>

#include "utility/cursor/cursor_slots_win.h"
#include "utility/cursor/schemes.h"

// The scheme the roles' "<Default>" stands for, until another is set: "<None>" at start.
void SetSchemeInForce(const Scheme& scheme);
const Scheme& SchemeInForce();

// A role's cursor on its way to the desktop: the caller owns `handle` (null when the file did
// not load) until InstallRoleCursor takes it.
struct RoleCursor {
  HCURSOR handle;
  bool animated;
  DWORD id;  // the system cursor it goes to
};

// The cursor role `role`'s stored name stands for: "<Default>" is the scheme's cursor for it,
// or the platform's where the scheme has none (or its file does not load); a file name loads
// the file from the role's library folder. The role's slot records whether it is animated.
RoleCursor TakeRoleCursor(size_t role, const char* storedName);
// App Starting as "<Same as Normal>": its own handle for Normal's choice `normalName` (never the
// Normal slot's handle), animated as Normal is.
RoleCursor TakeSameAsNormalCursor(const char* normalName);
// Recolours a static cursor, mirrors it (a static one, or an animation frame by frame) where
// MirrorsRole (utility/cursor/left_hand.h) says so for its role, current.LeftHanded and the
// role's own mirror box `ownMirror`, and installs it.
void InstallRoleCursor(const RoleCursor& cursor, bool ownMirror);

// The four sizing arrows: the scheme's (or the platform's), recoloured, or the library's large ones.
void InstallSizingArrows(bool large);

// Puts every role's platform default back in the restore order, once per run: `restoredFlag`
// records that it has. The mirrored animations' files are removed.
void RestoreSystemCursors(int32_t& restoredFlag);

// Installs `cursor` (null or not) as system cursor `id` and keeps it in the id's slot; the
// handle the slot held before is released unless it is this one. The slot owns what it holds.
// While finding the pointer has the pointer hidden (slotsCovered), only the slot changes.
void InstallCursor(HCURSOR cursor, DWORD id);
