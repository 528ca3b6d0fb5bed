#include "platform/gdi.h"

#include <cstring>
#include <new>

#include "platform/cursor_file.h"
#include "platform/lock.h"
#include "platform/pointer_size.h"
#include "platform/system_cursor.h"

namespace platform {
namespace {

// The two tables below are used from the dialog's thread and from finding the pointer's, so
// every use holds this lock.
Lock tablesLock;
class TablesLocked : public Locked {
 public:
  TablesLocked() : Locked(tablesLock) {}
};

// The cursors made or loaded here, so that ReleaseCursor destroys only those: a shared cursor
// or a kept default handed to it stays valid.
class OwnedCursors {
 public:
  void Insert(HCURSOR cursor) {
    if (Contains(cursor)) return;
    for (HCURSOR& slot : slots_) {
      if (slot) continue;
      slot = cursor;
      return;
    }
  }
  bool Erase(HCURSOR cursor) {
    for (HCURSOR& slot : slots_) {
      if (slot != cursor) continue;
      slot = nullptr;
      return true;
    }
    return false;
  }

 private:
  bool Contains(HCURSOR cursor) const {
    for (HCURSOR slot : slots_) {
      if (slot == cursor) return true;
    }
    return false;
  }
  HCURSOR slots_[1024] = {};
};

OwnedCursors ownedCursors;

// The files of the live cursors that LoadCursorFromFileA handed out.
struct FileOrigin {
  HCURSOR cursor;
  CursorFileOrigin origin;
};
FileOrigin fileOrigins[256] = {};

FileOrigin* FindOrigin(HCURSOR cursor) {
  for (FileOrigin& entry : fileOrigins) {
    if (entry.cursor == cursor) return &entry;
  }
  return nullptr;
}

}  // namespace

HCURSOR CreateOwnedCursor(ICONINFO* info) {
  HICON icon = ::CreateIconIndirect(info);
  if (icon) {
    TablesLocked locked;
    ownedCursors.Insert(icon);
  }
  return icon;
}

namespace {
// Bytes of this call's own, released when it ends.
struct OwnedBytes {
  uint8_t* data = nullptr;
  size_t size = 0;
  OwnedBytes() = default;
  OwnedBytes(const OwnedBytes&) = delete;
  OwnedBytes& operator=(const OwnedBytes&) = delete;
  ~OwnedBytes() { delete[] data; }
  bool Allocate(size_t count) {
    data = new (std::nothrow) uint8_t[count ? count : 1];
    size = data ? count : 0;
    return data != nullptr;
  }
};

// The whole file, read once; false for a file that cannot be read or is larger than any cursor
// file, which is refused before a byte of it is read.
bool ReadCursorFileBytes(const char* path, OwnedBytes& bytes) {
  HANDLE file = ::CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD high = 0;
  const DWORD size = ::GetFileSize(file, &high);
  DWORD got = 0;
  const bool read = size != INVALID_FILE_SIZE && high == 0 && size <= cursor_file::kLargestFile &&
                    bytes.Allocate(size) && ::ReadFile(file, bytes.data, size, &got, nullptr) && got == size;
  ::CloseHandle(file);
  return read;
}

// The file read once and checked, with where the check found each part; Refused also for a
// file that cannot be read (`found`, fresh from the caller, then stays refused). Everything later
// reads the bytes only through `found`.
cursor_file::Kind ReadCheckedCursorFile(const char* path, OwnedBytes& bytes, cursor_file::CheckedFile& found) {
  if (!ReadCursorFileBytes(path, bytes)) return cursor_file::Kind::Refused;
  return cursor_file::CheckCursorFile(bytes.data, bytes.size, &found);
}
}  // namespace

bool CheckCursorFile(const char* path, bool* animated) {
  OwnedBytes bytes;
  cursor_file::CheckedFile found;
  const cursor_file::Kind kind = ReadCheckedCursorFile(path, bytes, found);
  if (animated) *animated = kind == cursor_file::Kind::Animated;
  return kind != cursor_file::Kind::Refused;
}

bool ProbeCursorFile(const char* path, bool* colour) {
  OwnedBytes bytes;
  cursor_file::CheckedFile found;
  const uint8_t* image = nullptr;
  size_t length = 0;
  ReadCheckedCursorFile(path, bytes, found);
  if (!cursor_file::FirstImage(found, &image, &length)) return false;
  // Made as an icon: the image bytes as they stand, no hotspot in front; only its kind is asked.
  HICON made = ::CreateIconFromResourceEx(const_cast<BYTE*>(image), static_cast<DWORD>(length), TRUE, 0x00030000, 0, 0,
                                          LR_DEFAULTCOLOR);
  if (!made) return false;
  ICONINFO info = {};
  const bool described = ::GetIconInfo(made, &info) != FALSE;
  if (colour) *colour = described && info.hbmColor != nullptr;
  if (info.hbmColor) ::DeleteObject(info.hbmColor);
  if (info.hbmMask) ::DeleteObject(info.hbmMask);
  ::DestroyIcon(made);
  return described;
}

namespace {
// A static cursor made from the bytes already checked, as the platform's loader makes it: the
// image that best fits the user's cursor size, scaled to that size. Null where the platform
// cannot make it from memory.
HCURSOR CursorFromCheckedFile(const cursor_file::CheckedFile& found, int side) {
  cursor_file::CursorImage image;
  if (!cursor_file::BestCursorImage(found, side, &image)) return nullptr;
  // A cursor resource is the image behind its hotspot.
  OwnedBytes resource;
  if (!resource.Allocate(4 + image.length)) return nullptr;
  cursor_file::Store16(resource.data, image.hotspotX);
  cursor_file::Store16(resource.data + 2, image.hotspotY);
  std::memcpy(resource.data + 4, image.bytes, image.length);
  return ::CreateIconFromResourceEx(resource.data, static_cast<DWORD>(resource.size), FALSE, 0x00030000, side, side,
                                    LR_DEFAULTCOLOR);
}
}  // namespace

HICON CheckedFilePicture(const cursor_file::CheckedFile& found, int side) {
  if (HCURSOR cursor = CursorFromCheckedFile(found, side)) return cursor;
  const uint8_t* image = nullptr;
  size_t length = 0;
  if (!cursor_file::FirstImage(found, &image, &length)) return nullptr;
  return ::CreateIconFromResourceEx(const_cast<BYTE*>(image), static_cast<DWORD>(length), TRUE, 0x00030000, side, side,
                                    LR_DEFAULTCOLOR);
}

int UserCursorSide() {
  DWORD base = 0;
  bool stored = false;
  HKEY key = nullptr;
  if (::RegOpenKeyExA(HKEY_CURRENT_USER, "Control Panel\\Cursors", 0, KEY_QUERY_VALUE, &key) == ERROR_SUCCESS) {
    DWORD type = 0, size = sizeof base;
    stored = ::RegQueryValueExA(key, "CursorBaseSize", nullptr, &type, reinterpret_cast<BYTE*>(&base), &size) ==
                 ERROR_SUCCESS &&
             type == REG_DWORD && size == sizeof base;
    ::RegCloseKey(key);
  }
  // The system's scale, which the cursors follow on every monitor (Windows 10 1607 and later
  // say so directly; before, the screen's).
  using DpiForSystem = UINT(WINAPI*)();
  const auto dpiForSystem =
      reinterpret_cast<DpiForSystem>(reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleA("user32.dll"), "GetDpiForSystem")));
  int dpi = dpiForSystem ? static_cast<int>(dpiForSystem()) : 0;
  if (dpi <= 0) {
    HDC screen = ::GetDC(nullptr);
    dpi = screen ? ::GetDeviceCaps(screen, LOGPIXELSY) : 96;
    if (screen) ::ReleaseDC(nullptr, screen);
  }
  return pointer_size::CursorSide(stored, base, dpi, ::GetSystemMetrics(SM_CXCURSOR));
}

bool WriteMirroredCursorFile(const char* source, const char* target) {
  OwnedBytes bytes;
  bool written = ReadCursorFileBytes(source, bytes) && cursor_file::MirrorCursorFile(bytes.data, bytes.size);
  if (written) {
    HANDLE file = ::CreateFileA(target, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD count = 0;
    written = file != INVALID_HANDLE_VALUE && ::WriteFile(file, bytes.data, static_cast<DWORD>(bytes.size), &count, nullptr) &&
              count == bytes.size;
    if (file != INVALID_HANDLE_VALUE) ::CloseHandle(file);
  }
  if (!written) ::DeleteFileA(target);
  return written;
}

HCURSOR LoadAnimatedCursorFile(const char* path, int side) {
  return static_cast<HCURSOR>(::LoadImageA(nullptr, path, IMAGE_CURSOR, side, side, LR_LOADFROMFILE));
}

HCURSOR LoadCheckedCursorFile(const char* path) {
  OwnedBytes bytes;
  cursor_file::CheckedFile found;
  const cursor_file::Kind kind = ReadCheckedCursorFile(path, bytes, found);
  if (kind == cursor_file::Kind::Refused) return nullptr;
  CursorFileOrigin origin;
  origin.animated = kind == cursor_file::Kind::Animated;
  // Animations and icon files go to the platform's loader, which has seen nothing but what
  // the reader accepted; each at the user's size.
  const int side = UserCursorSide();
  HCURSOR cursor = origin.animated ? LoadAnimatedCursorFile(path, side) : CursorFromCheckedFile(found, side);
  if (!cursor) cursor = ::LoadCursorFromFileA(path);
  if (!cursor) return nullptr;
  // The full path, so the file can be found again after the current folder has changed.
  // A path that does not fit is not kept at all: cut short it could name another file. Such a
  // cursor, like one beyond the places, is simply not reloaded from its file.
  const DWORD length = ::GetFullPathNameA(path, sizeof origin.path, origin.path, nullptr);
  TablesLocked locked;
  ownedCursors.Insert(cursor);
  if (length == 0 || length >= sizeof origin.path) return cursor;
  if (FileOrigin* place = FindOrigin(nullptr)) *place = {cursor, origin};
  return cursor;
}

HCURSOR LoadSharedCursor(HINSTANCE module, const char* name) {
  if (!module && IS_INTRESOURCE(name)) {
    if (HCURSOR kept = SystemDefaultCursor(static_cast<DWORD>(reinterpret_cast<ULONG_PTR>(name)))) return kept;
  }
  return ::LoadCursorA(module, name);
}

// Shared cursors (resources, the platform's defaults) are ignored, as the platform does.
BOOL ReleaseCursor(HCURSOR cursor) {
  if (!cursor) return FALSE;
  {
    TablesLocked locked;
    if (!ownedCursors.Erase(cursor)) return FALSE;
    if (FileOrigin* entry = FindOrigin(cursor)) *entry = {};
  }
  return ::DestroyCursor(cursor);
}

HCURSOR LoadResourceCursorAtSize(HINSTANCE module, const char* name, int side) {
  return static_cast<HCURSOR>(::LoadImageA(module, name, IMAGE_CURSOR, side, side, 0));
}

int CursorSide(HCURSOR cursor) {
  ICONINFO info = {};
  if (!cursor || !::GetIconInfo(cursor, &info)) return 0;
  BITMAP mask = {};
  const bool described = ::GetObjectA(info.hbmMask, sizeof mask, &mask) == sizeof mask;
  if (info.hbmColor) ::DeleteObject(info.hbmColor);
  if (info.hbmMask) ::DeleteObject(info.hbmMask);
  return described ? mask.bmWidth : 0;
}

bool GetCursorFileOrigin(HCURSOR cursor, CursorFileOrigin* origin) {
  TablesLocked locked;
  const FileOrigin* found = cursor ? FindOrigin(cursor) : nullptr;
  if (!found) return false;
  *origin = found->origin;
  return true;
}

}  // namespace platform
