#include "tests/wine/support/handle_census.h"

#include <windows.h>

#include <set>

#include "tests/wine/support/import_hooks.h"

namespace handle_census {
namespace {

// The live handles of each kind; the stand-ins run on any thread.
struct Census {
  Census() { ::InitializeCriticalSection(&lock); }
  CRITICAL_SECTION lock;
  std::set<void*> bitmaps, cursors, copies;

  void Add(std::set<void*>& kind, void* handle) {
    if (!handle) return;
    ::EnterCriticalSection(&lock);
    kind.insert(handle);
    ::LeaveCriticalSection(&lock);
  }
  void Remove(std::set<void*>& kind, void* handle) {
    ::EnterCriticalSection(&lock);
    kind.erase(handle);
    ::LeaveCriticalSection(&lock);
  }
};

Census& TheCensus() {
  static Census* census = new Census;  // never destroyed: stand-ins may run while the process ends
  return *census;
}

// The platform's own functions, called on by the stand-ins.
struct Real {
  decltype(&::GetIconInfo) getIconInfo;
  decltype(&::CreateBitmap) createBitmap;
  decltype(&::DeleteObject) deleteObject;
  decltype(&::CreateIconIndirect) createIconIndirect;
  decltype(&::CreateIconFromResourceEx) createIconFromResourceEx;
  decltype(&::CreateCursor) createCursor;
  decltype(&::LoadCursorFromFileA) loadCursorFromFile;
  decltype(&::CopyImage) copyImage;
  decltype(&::DestroyCursor) destroyCursor;
  decltype(&::DestroyIcon) destroyIcon;
} real;

BOOL WINAPI CountedGetIconInfo(HICON icon, PICONINFO info) {
  const BOOL done = real.getIconInfo(icon, info);
  if (done) {
    TheCensus().Add(TheCensus().bitmaps, info->hbmMask);
    TheCensus().Add(TheCensus().bitmaps, info->hbmColor);
  }
  return done;
}

HBITMAP WINAPI CountedCreateBitmap(int width, int height, UINT planes, UINT bits, const void* data) {
  HBITMAP made = real.createBitmap(width, height, planes, bits, data);
  TheCensus().Add(TheCensus().bitmaps, made);
  return made;
}

BOOL WINAPI CountedDeleteObject(HGDIOBJ object) {
  const BOOL done = real.deleteObject(object);
  if (done) TheCensus().Remove(TheCensus().bitmaps, object);
  return done;
}

HICON WINAPI CountedCreateIconIndirect(PICONINFO info) {
  HICON made = real.createIconIndirect(info);
  TheCensus().Add(TheCensus().cursors, made);
  return made;
}

HICON WINAPI CountedCreateIconFromResourceEx(PBYTE bits, DWORD size, BOOL icon, DWORD version, int width, int height,
                                             UINT flags) {
  HICON made = real.createIconFromResourceEx(bits, size, icon, version, width, height, flags);
  TheCensus().Add(TheCensus().cursors, made);
  return made;
}

HCURSOR WINAPI CountedCreateCursor(HINSTANCE module, int x, int y, int width, int height, const void* andBits,
                                   const void* xorBits) {
  HCURSOR made = real.createCursor(module, x, y, width, height, andBits, xorBits);
  TheCensus().Add(TheCensus().cursors, made);
  return made;
}

HCURSOR WINAPI CountedLoadCursorFromFile(LPCSTR path) {
  HCURSOR made = real.loadCursorFromFile(path);
  TheCensus().Add(TheCensus().cursors, made);
  return made;
}

HANDLE WINAPI CountedCopyImage(HANDLE image, UINT type, int width, int height, UINT flags) {
  HANDLE made = real.copyImage(image, type, width, height, flags);
  if (type == IMAGE_CURSOR) TheCensus().Add(TheCensus().copies, made);
  return made;
}

void Forget(void* cursor) {
  TheCensus().Remove(TheCensus().cursors, cursor);
  TheCensus().Remove(TheCensus().copies, cursor);
}

BOOL WINAPI CountedDestroyCursor(HCURSOR cursor) {
  const BOOL done = real.destroyCursor(cursor);
  if (done) Forget(cursor);
  return done;
}

BOOL WINAPI CountedDestroyIcon(HICON icon) {
  const BOOL done = real.destroyIcon(icon);
  if (done) Forget(icon);
  return done;
}

template <typename Function>
void Watch(Function* slot, const char* dll, const char* name, Function replacement) {
  *slot = reinterpret_cast<Function>(import_hooks::PlatformFunction(dll, name));
  if (*slot) import_hooks::Redirect(reinterpret_cast<void*>(*slot), reinterpret_cast<void*>(replacement));
}

// Before main, so the first handle of the run is counted.
const bool watching = [] {
  TheCensus();
  Watch(&real.getIconInfo, "user32.dll", "GetIconInfo", &CountedGetIconInfo);
  Watch(&real.createBitmap, "gdi32.dll", "CreateBitmap", &CountedCreateBitmap);
  Watch(&real.deleteObject, "gdi32.dll", "DeleteObject", &CountedDeleteObject);
  Watch(&real.createIconIndirect, "user32.dll", "CreateIconIndirect", &CountedCreateIconIndirect);
  Watch(&real.createIconFromResourceEx, "user32.dll", "CreateIconFromResourceEx", &CountedCreateIconFromResourceEx);
  Watch(&real.createCursor, "user32.dll", "CreateCursor", &CountedCreateCursor);
  Watch(&real.loadCursorFromFile, "user32.dll", "LoadCursorFromFileA", &CountedLoadCursorFromFile);
  Watch(&real.copyImage, "user32.dll", "CopyImage", &CountedCopyImage);
  Watch(&real.destroyCursor, "user32.dll", "DestroyCursor", &CountedDestroyCursor);
  Watch(&real.destroyIcon, "user32.dll", "DestroyIcon", &CountedDestroyIcon);
  return true;
}();

}  // namespace

LiveHandleCounts CountLiveHandles() {
  Census& census = TheCensus();
  ::EnterCriticalSection(&census.lock);
  const LiveHandleCounts counts = {static_cast<long>(census.bitmaps.size()), static_cast<long>(census.cursors.size()),
                                   static_cast<long>(census.copies.size())};
  ::LeaveCriticalSection(&census.lock);
  return counts;
}

}  // namespace handle_census
