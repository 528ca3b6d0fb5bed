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

// Cursors: a cursor created or loaded from a file belongs to the caller until DestroyCursor.
// Resource and shared platform cursors (LoadCursorA) are not counted; DestroyCursor ignores them.
HICON CreateIconIndirect(ICONINFO* info);
HCURSOR LoadCursorFromFileA(const char* path);
HCURSOR LoadCursorA(HINSTANCE module, const char* name);
BOOL DestroyCursor(HCURSOR cursor);

struct LiveHandleCounts {
  long bitmaps;
  long cursors;
};
LiveHandleCounts GetLiveHandleCounts();

}  // namespace platform
