// Cursor and bitmap operations under their platform names. Every bitmap and cursor handed out
// through here is counted until it is taken back, so tests can see a leak that Wine's
// GetGuiResources (always 0) would hide.
#pragma once
#include <windows.h>

namespace platform {

// Bitmaps: GetIconInfo hands out one or two; the caller deletes them with DeleteObject.
BOOL GetIconInfo(HICON icon, ICONINFO* info);
int GetObjectA(HGDIOBJ object, int size, void* buffer);
LONG GetBitmapBits(HBITMAP bitmap, LONG size, void* bits);
LONG SetBitmapBits(HBITMAP bitmap, DWORD size, const void* bits);
BOOL DeleteObject(HGDIOBJ object);
// A new bitmap of the given shape, its bits undefined until SetBitmapBits.
HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel);

// Cursors: a cursor created or loaded from a file belongs to the caller until DestroyCursor.
// Resource and shared platform cursors (LoadCursorA) are not counted; DestroyCursor ignores them.
HICON CreateIconIndirect(ICONINFO* info);
// The platform's loader trusts the sizes in a file, so a file is read and checked by our own
// reader (platform/cursor_file.h) first; one it refuses loads as a missing file would: null.
HCURSOR LoadCursorFromFileA(const char* path);
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
HCURSOR LoadCursorA(HINSTANCE module, const char* name);
BOOL DestroyCursor(HCURSOR cursor);
// A cursor resource of `module` at `side` pixels square, whatever the desktop's cursor size.
// Like a shared resource cursor it is not counted: callers keep it for the process's life.
HCURSOR LoadResourceCursorAtSize(HINSTANCE module, const char* name, int side);
// The width of a cursor's image in pixels; 0 when the platform cannot say.
int CursorSide(HCURSOR cursor);

// Where a live cursor of LoadCursorFromFileA came from: the file's full path, and whether the
// file is an animated cursor (RIFF "ACON"). False for every other handle.
struct CursorFileOrigin {
  char path[MAX_PATH] = {};
  bool animated = false;
};
bool GetCursorFileOrigin(HCURSOR cursor, CursorFileOrigin* origin);

struct LiveHandleCounts {
  long bitmaps;
  long cursors;
};
LiveHandleCounts GetLiveHandleCounts();

}  // namespace platform
