#include "platform/gdi.h"

#include <unordered_set>

namespace platform {
namespace {
// Handles handed out and not yet taken back. Only the user-interface thread calls these.
std::unordered_set<HGDIOBJ>& OwnedBitmaps() {
  static std::unordered_set<HGDIOBJ> set;
  return set;
}
std::unordered_set<HCURSOR>& OwnedCursors() {
  static std::unordered_set<HCURSOR> set;
  return set;
}
}  // namespace

BOOL GetIconInfo(HICON icon, ICONINFO* info) {
  if (!::GetIconInfo(icon, info)) return FALSE;
  if (info->hbmMask) OwnedBitmaps().insert(info->hbmMask);
  if (info->hbmColor) OwnedBitmaps().insert(info->hbmColor);
  return TRUE;
}

int GetObjectA(HGDIOBJ object, int size, void* buffer) { return ::GetObjectA(object, size, buffer); }

LONG GetBitmapBits(HBITMAP bitmap, LONG size, void* bits) { return ::GetBitmapBits(bitmap, size, bits); }

LONG SetBitmapBits(HBITMAP bitmap, DWORD size, const void* bits) { return ::SetBitmapBits(bitmap, size, bits); }

BOOL DeleteObject(HGDIOBJ object) {
  const BOOL done = ::DeleteObject(object);
  if (done) OwnedBitmaps().erase(object);
  return done;
}

HICON CreateIconIndirect(ICONINFO* info) {
  HICON icon = ::CreateIconIndirect(info);
  if (icon) OwnedCursors().insert(icon);
  return icon;
}

HCURSOR LoadCursorFromFileA(const char* path) {
  HCURSOR cursor = ::LoadCursorFromFileA(path);
  if (cursor) OwnedCursors().insert(cursor);
  return cursor;
}

HCURSOR LoadCursorA(HINSTANCE module, const char* name) { return ::LoadCursorA(module, name); }

// Shared cursors (resources, the platform's defaults) are ignored, as the platform does.
BOOL DestroyCursor(HCURSOR cursor) {
  if (OwnedCursors().erase(cursor) == 0) return FALSE;
  return ::DestroyCursor(cursor);
}

LiveHandleCounts GetLiveHandleCounts() {
  return {static_cast<long>(OwnedBitmaps().size()), static_cast<long>(OwnedCursors().size())};
}

}  // namespace platform
