#include "platform/gdi.h"

#include <cstdio>
#include <cstring>
#include <unordered_map>
#include <unordered_set>

#include "platform/system_cursor.h"

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
// The files of the live cursors that LoadCursorFromFileA handed out. Whether a file is
// animated is read when first asked: the library lists load every file only to describe it.
struct KnownOrigin {
  CursorFileOrigin origin;
  bool kindKnown = false;
};
std::unordered_map<HCURSOR, KnownOrigin>& FileOrigins() {
  static std::unordered_map<HCURSOR, KnownOrigin> origins;
  return origins;
}

// An animated cursor file is a RIFF file of form "ACON"; anything else the loader reads is a
// static cursor.
bool IsAnimatedCursorFile(const char* path) {
  unsigned char head[12] = {};
  FILE* file = std::fopen(path, "rb");
  if (!file) return false;
  const size_t got = std::fread(head, 1, sizeof head, file);
  std::fclose(file);
  return got == sizeof head && std::memcmp(head, "RIFF", 4) == 0 && std::memcmp(head + 8, "ACON", 4) == 0;
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
  if (!cursor) return nullptr;
  OwnedCursors().insert(cursor);
  // The full path, so the file can be found again after the current folder has changed.
  KnownOrigin known;
  char full[MAX_PATH];
  const DWORD length = ::GetFullPathNameA(path, sizeof full, full, nullptr);
  known.origin.path = (length > 0 && length < sizeof full) ? full : path;
  FileOrigins()[cursor] = known;
  return cursor;
}

HCURSOR LoadCursorA(HINSTANCE module, const char* name) {
  if (!module && IS_INTRESOURCE(name)) {
    if (HCURSOR kept = SystemDefaultCursor(static_cast<DWORD>(reinterpret_cast<ULONG_PTR>(name)))) return kept;
  }
  return ::LoadCursorA(module, name);
}

// Shared cursors (resources, the platform's defaults) are ignored, as the platform does.
BOOL DestroyCursor(HCURSOR cursor) {
  if (OwnedCursors().erase(cursor) == 0) return FALSE;
  FileOrigins().erase(cursor);
  return ::DestroyCursor(cursor);
}

bool GetCursorFileOrigin(HCURSOR cursor, CursorFileOrigin* origin) {
  auto found = FileOrigins().find(cursor);
  if (found == FileOrigins().end()) return false;
  KnownOrigin& known = found->second;
  if (!known.kindKnown) {
    known.origin.animated = IsAnimatedCursorFile(known.origin.path.c_str());
    known.kindKnown = true;
  }
  *origin = known.origin;
  return true;
}

LiveHandleCounts GetLiveHandleCounts() {
  return {static_cast<long>(OwnedBitmaps().size()), static_cast<long>(OwnedCursors().size())};
}

}  // namespace platform
