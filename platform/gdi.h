// Cursor operations that do more than the platform call of the same kind: files are checked by
// our own reader before the platform sees them, and the cursors made here are the caller's
// until ReleaseCursor, which leaves shared cursors alone as the platform expects.
#pragma once
#include <windows.h>

#include "platform/cursor_file.h"
#include "platform/text_buffers.h"

namespace platform {

// A cursor of the caller's, made from `info` (CreateIconIndirect); released with ReleaseCursor.
HCURSOR CreateOwnedCursor(ICONINFO* info);
// The platform's loader trusts the sizes in a file, so a file is read and checked by our own
// reader (platform/cursor_file.h) first; one it refuses loads as a missing file would: null.
HCURSOR LoadCheckedCursorFile(const char* path);
// Reads `path` once (up to the reader's size limit) and checks it: true when it is a
// well-formed cursor file, with `animated` (may be null) telling which kind.
bool CheckCursorFile(const char* path, bool* animated);
// Reads and checks `path` once, and has the platform make the file's first image (of its first
// frame) from those same bytes, never opening the file again: true when it can, with `colour`
// (may be null) telling whether that image has a colour bitmap. Nothing is left to release.
bool ProbeCursorFile(const char* path, bool* colour);
// With no module and one of the eight replaceable system cursor ids this is the platform's
// true default for the id, kept by the system-cursor service from before its first install
// (platform/system_cursor.h), so it stays the default whatever has been installed since.
// Otherwise the platform's shared cursor (LoadCursorA). Never released.
HCURSOR LoadSharedCursor(HINSTANCE module, const char* name);
// Destroys a cursor made or loaded here; shared cursors and the kept defaults are left alone.
BOOL ReleaseCursor(HCURSOR cursor);
// A cursor resource of `module` at `side` pixels square, whatever the desktop's cursor size.
// Callers keep it for the process's life.
HCURSOR LoadResourceCursorAtSize(HINSTANCE module, const char* name, int side);
// The width of a cursor's image in pixels; 0 when the platform cannot say.
int CursorSide(HCURSOR cursor);
// The side every cursor of a file is made at: the user's pointer size at the display's scale
// (platform/pointer_size.h), read afresh at each call.
int UserCursorSide();

// The picture of a file the reader has accepted, made from its checked bytes at `side` pixels:
// the image a static cursor shows at that size, or an animation's first frame. For drawing
// only; the caller destroys it (DestroyIcon). Null where the platform cannot make it.
HICON CheckedFilePicture(const cursor_file::CheckedFile& found, int side);

// Reads and checks `source` once, mirrors it left to right (cursor_file::MirrorCursorFile: every
// image of every frame, hotspots on their pixels, steps and rates kept) and writes the result to
// `target`, replacing what was there. False, with `target` removed, when the file is refused,
// holds an image that cannot be mirrored, or could not be written whole.
bool WriteMirroredCursorFile(const char* source, const char* target);

// An animated cursor file the reader has accepted, loaded by the platform at `side` pixels.
HCURSOR LoadAnimatedCursorFile(const char* path, int side);

// Where a live cursor of LoadCheckedCursorFile came from: the file's full path, and whether the
// file is an animated cursor (RIFF "ACON"). False for every other handle.
struct CursorFileOrigin {
  char path[kTextBufferSize] = {};
  bool animated = false;
};
bool GetCursorFileOrigin(HCURSOR cursor, CursorFileOrigin* origin);
}  // namespace platform
