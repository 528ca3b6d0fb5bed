#include "platform/system_cursor.h"

#include <cstdio>
#include <cstring>
#include <deque>
#include <map>
#include <unordered_set>

#include "platform/cursor_file.h"
#include "platform/gdi.h"

namespace platform {
namespace {

constexpr size_t kEventLimit = 100000;
constexpr int kLargestPicture = 1024;

// A lock that lives as long as the process, so readers on other threads never see a half
// written record.
class Lock {
 public:
  Lock() { ::InitializeCriticalSection(&section); }
  ~Lock() { ::DeleteCriticalSection(&section); }
  void Enter() { ::EnterCriticalSection(&section); }
  void Leave() { ::LeaveCriticalSection(&section); }

 private:
  CRITICAL_SECTION section;
};

bool IsReplaceable(DWORD id) {
  for (DWORD known : kReplaceableCursorIds) {
    if (known == id) return true;
  }
  return false;
}

// A cursor handle the platform still knows; after a SetSystemCursor that took it over it is gone.
bool IsLiveCursor(HCURSOR cursor) {
  ICONINFO info = {};
  if (!::GetIconInfo(cursor, &info)) return false;
  if (info.hbmMask) ::DeleteObject(info.hbmMask);
  if (info.hbmColor) ::DeleteObject(info.hbmColor);
  return true;
}

HCURSOR CopyCursorImage(HCURSOR cursor, UINT flags) {
  return static_cast<HCURSOR>(::CopyImage(cursor, IMAGE_CURSOR, 0, 0, flags));
}

// The platform's default for `id` as it stands now, copied so that later installs cannot
// change it. A reload from the cursor's own resource keeps an animated default animated; a
// plain copy is the fallback when the reload fails or does not give the same image.
HCURSOR KeepDefault(DWORD id) {
  HCURSOR system = ::LoadCursorA(nullptr, MAKEINTRESOURCEA(id));
  if (!system) return nullptr;
  CursorPicture systemPicture, reloadedPicture;
  POINT systemHotspot = {}, reloadedHotspot = {};
  const bool described = CaptureCursorPicture(system, &systemPicture, &systemHotspot);
  HCURSOR kept = CopyCursorImage(system, LR_COPYFROMRESOURCE);
  if (kept && (!described || !CaptureCursorPicture(kept, &reloadedPicture, &reloadedHotspot) ||
               reloadedPicture != systemPicture || reloadedHotspot.x != systemHotspot.x ||
               reloadedHotspot.y != systemHotspot.y)) {
    ::DestroyCursor(kept);
    kept = nullptr;
  }
  if (!kept) kept = CopyCursorImage(system, 0);
  return kept ? kept : system;
}

bool BitAt(const std::vector<uint8_t>& bits, size_t rowBytes, int row, int column) {
  return (bits[row * rowBytes + column / 8] >> (7 - column % 8)) & 1;
}

// The copies the platform did not take over, one per id, released when the next replaces it.
struct HeldCopy {
  DWORD id;
  HCURSOR copy;
};
constexpr int kHeldCopyPlaces = 16;

class Service {
 public:
  Service() {
    FILETIME creation, exited, kernel, user;
    if (::GetProcessTimes(::GetCurrentProcess(), &creation, &exited, &kernel, &user)) {
      processStart = (static_cast<uint64_t>(creation.dwHighDateTime) << 32) | creation.dwLowDateTime;
    }
    for (int i = 0; i < 8; ++i) defaults[i] = KeepDefault(kReplaceableCursorIds[i]);
    char folder[1024];
    const DWORD length = ::GetEnvironmentVariableA("POINTREL_CURSOR_TRACE", folder, sizeof folder);
    if (length > 0 && length < sizeof folder) {
      const DWORD attributes = ::GetFileAttributesA(folder);
      if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        traceFolder = folder;
        if (traceFolder.back() != '\\' && traceFolder.back() != '/') traceFolder += '\\';
        recording = true;
      }
    }
  }

  HCURSOR Default(DWORD id) const {
    for (int i = 0; i < 8; ++i) {
      if (kReplaceableCursorIds[i] == id) return defaults[i];
    }
    return nullptr;
  }

  void StartRecording() {
    lock.Enter();
    recording = true;
    lock.Leave();
  }

  BOOL Install(HCURSOR cursor, DWORD id) {
    lock.Enter();
    const BOOL done = InstallLocked(cursor, id);
    lock.Leave();
    return done;
  }

  bool Installed(DWORD id, InstalledSystemCursor* out) {
    lock.Enter();
    auto found = installed.find(id);
    const bool known = found != installed.end();
    if (known) *out = found->second;
    lock.Leave();
    return known;
  }

  std::vector<SystemCursorEvent> Events() {
    lock.Enter();
    std::vector<SystemCursorEvent> copy(events.begin(), events.end());
    lock.Leave();
    return copy;
  }

  void ClearEvents() {
    lock.Enter();
    events.clear();
    lock.Leave();
  }

  int HeldCopies() {
    lock.Enter();
    int count = 0;
    for (const HeldCopy& held : heldCopies) count += held.copy ? 1 : 0;
    lock.Leave();
    return count;
  }

 private:
  BOOL InstallLocked(HCURSOR cursor, DWORD id) {
    if (!cursor) {
      if (recording) Record({SystemCursorEventKind::Refused, id, nullptr, false, {0, 0}, ""});
      return FALSE;
    }
    const bool isDefault = cursor == Default(id);
    bool animated = false;
    CursorFileOrigin origin;
    if (GetCursorFileOrigin(cursor, &origin)) animated = origin.animated;

    // The copy the platform gets: the file loaded afresh keeps an animation whole.
    HCURSOR copy = nullptr;
    // Checked again: the file may have changed since the caller loaded it.
    if (animated && CheckCursorFile(origin.path, nullptr)) copy = ::LoadCursorFromFileA(origin.path);
    if (!copy && IsReplaceable(id) && isDefault) copy = CopyCursorImage(cursor, LR_COPYFROMRESOURCE);
    if (!copy) copy = CopyCursorImage(cursor, 0);
    InstalledSystemCursor now;
    // The picture is taken from the copy before the platform may take it over.
    if (recording && copy && !CaptureCursorPicture(copy, &now.picture, &now.hotspot)) now.picture = CursorPicture();
    if (!copy || !::SetSystemCursor(copy, id)) {
      if (copy) ::DestroyCursor(copy);
      if (recording) Record({SystemCursorEventKind::Refused, id, cursor, animated, {0, 0}, ""});
      return FALSE;
    }
    // Where the platform did not take the copy over, it stays ours until the next replaces it.
    // A platform either takes every copy over or none, and asking costs more than the install,
    // so the first install's answer stands.
    if (platformKeepsCopies < 0) platformKeepsCopies = IsLiveCursor(copy) ? 1 : 0;
    Hold(id, platformKeepsCopies ? copy : nullptr);
    if (!recording) return TRUE;

    now.handle = cursor;
    now.animated = animated;
    now.isDefault = isDefault;
    InstalledSystemCursor& entry = installed[id];
    now.installs = entry.installs + 1;
    entry = now;

    SystemCursorEvent event = {isDefault ? SystemCursorEventKind::Default : SystemCursorEventKind::Install,
                               id, cursor, animated, now.hotspot, ""};
    if (!isDefault && !animated && now.picture.width > 0 && !traceFolder.empty()) {
      const std::vector<uint8_t> file = EncodeCursorFile(now.picture, now.hotspot);
      event.file = CursorFileName(file);
      WritePictureOnce(event.file, file);
    }
    Record(event);
    return TRUE;
  }

  void Hold(DWORD id, HCURSOR copy) {
    HeldCopy* place = nullptr;
    for (HeldCopy& held : heldCopies) {
      if (held.copy && held.id == id) {
        ::DestroyCursor(held.copy);
        held.copy = nullptr;
        place = &held;
      }
      if (!place && !held.copy) place = &held;
    }
    // More ids than places would leave this copy to the platform alone.
    if (place) *place = {id, copy};
  }

  void Record(const SystemCursorEvent& event) {
    if (events.size() >= kEventLimit) events.pop_front();
    events.push_back(event);
    if (traceFolder.empty()) return;
    char line[160];
    const unsigned long ms = MillisecondsSinceStart();
    const unsigned long id = event.id;
    switch (event.kind) {
      case SystemCursorEventKind::Install:
        if (event.animated) {
          ::wsprintfA(line, "%lu install %lu animated\r\n", ms, id);
        } else {
          ::wsprintfA(line, "%lu install %lu static %ld,%ld %.64s\r\n", ms, id,
                        static_cast<long>(event.hotspot.x), static_cast<long>(event.hotspot.y), event.file.c_str());
        }
        break;
      case SystemCursorEventKind::Refused:
        ::wsprintfA(line, "%lu refused %lu\r\n", ms, id);
        break;
      case SystemCursorEventKind::Default:
        ::wsprintfA(line, "%lu default %lu\r\n", ms, id);
        break;
    }
    AppendToFile(traceFolder + "trace.txt", line, std::strlen(line));
  }

  unsigned long MillisecondsSinceStart() const {
    FILETIME now;
    ::GetSystemTimeAsFileTime(&now);
    const uint64_t ticks = (static_cast<uint64_t>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
    return ticks > processStart ? static_cast<unsigned long>((ticks - processStart) / 10000) : 0;
  }

  void WritePictureOnce(const std::string& name, const std::vector<uint8_t>& bytes) {
    if (!writtenPictures.insert(name).second) return;
    const std::string path = traceFolder + name;
    if (::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES) return;
    HANDLE file = ::CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    ::CloseHandle(file);
  }

  // Opened and closed per line, so the trace can be read while the process runs and is whole
  // even when the process is ended from outside.
  static void AppendToFile(const std::string& path, const char* text, size_t length) {
    HANDLE file = ::CreateFileA(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    ::WriteFile(file, text, static_cast<DWORD>(length), &written, nullptr);
    ::CloseHandle(file);
  }

  Lock lock;
  uint64_t processStart = 0;
  HCURSOR defaults[8] = {};  // in kReplaceableCursorIds order
  HeldCopy heldCopies[kHeldCopyPlaces] = {};
  bool recording = false;
  int platformKeepsCopies = -1;  // unknown until the first install
  // The record, kept only while recording.
  std::map<DWORD, InstalledSystemCursor> installed;
  std::deque<SystemCursorEvent> events;
  std::string traceFolder;  // with its trailing separator; empty when not tracing
  std::unordered_set<std::string> writtenPictures;
};

// Created at the first use, which is before the first install, so the defaults it keeps are
// the platform's own.
Service& TheService() {
  static Service service;
  return service;
}

}  // namespace

BOOL SetSystemCursor(HCURSOR cursor, DWORD id) { return TheService().Install(cursor, id); }

HCURSOR SystemDefaultCursor(DWORD id) { return TheService().Default(id); }

bool GetInstalledSystemCursor(DWORD id, InstalledSystemCursor* installed) { return TheService().Installed(id, installed); }

std::vector<SystemCursorEvent> GetSystemCursorEvents() { return TheService().Events(); }

void ClearSystemCursorEvents() { TheService().ClearEvents(); }

int GetHeldSystemCursorCopies() { return TheService().HeldCopies(); }

void RecordSystemCursors() { TheService().StartRecording(); }

bool CaptureCursorPicture(HCURSOR cursor, CursorPicture* picture, POINT* hotspot) {
  ICONINFO info = {};
  if (!cursor || !::GetIconInfo(cursor, &info)) return false;
  bool done = false;
  BITMAP mask = {};
  if (info.hbmMask && ::GetObjectA(info.hbmMask, sizeof mask, &mask) == sizeof mask && mask.bmBitsPixel == 1 &&
      mask.bmPlanes == 1 && mask.bmWidth > 0 && mask.bmWidth <= kLargestPicture && mask.bmHeight > 0 &&
      mask.bmHeight <= 2 * kLargestPicture) {
    CursorPicture result;
    result.width = mask.bmWidth;
    result.colour = info.hbmColor != nullptr;
    result.height = result.colour ? mask.bmHeight : mask.bmHeight / 2;
    const size_t rowBytes = mask.bmWidthBytes;
    std::vector<uint8_t> bits(rowBytes * mask.bmHeight);
    const size_t pixelCount = static_cast<size_t>(result.width) * result.height;
    if (result.height > 0 && ::GetBitmapBits(info.hbmMask, static_cast<LONG>(bits.size()), bits.data()) ==
                                 static_cast<LONG>(bits.size())) {
      result.andMask.resize(pixelCount);
      result.pixels.resize(pixelCount);
      for (int y = 0; y < result.height; ++y) {
        for (int x = 0; x < result.width; ++x) {
          result.andMask[y * result.width + x] = BitAt(bits, rowBytes, y, x);
          if (!result.colour) result.pixels[y * result.width + x] = BitAt(bits, rowBytes, y + result.height, x);
        }
      }
      done = true;
      if (result.colour) {
        BITMAPINFO format = {};
        format.bmiHeader.biSize = sizeof format.bmiHeader;
        format.bmiHeader.biWidth = result.width;
        format.bmiHeader.biHeight = -result.height;  // top row first
        format.bmiHeader.biPlanes = 1;
        format.bmiHeader.biBitCount = 32;
        format.bmiHeader.biCompression = BI_RGB;
        HDC screen = ::GetDC(nullptr);
        done = ::GetDIBits(screen, info.hbmColor, 0, result.height, result.pixels.data(), &format, DIB_RGB_COLORS) ==
               result.height;
        ::ReleaseDC(nullptr, screen);
      }
      if (done) {
        *picture = std::move(result);
        hotspot->x = static_cast<LONG>(info.xHotspot);
        hotspot->y = static_cast<LONG>(info.yHotspot);
      }
    }
  }
  if (info.hbmMask) ::DeleteObject(info.hbmMask);
  if (info.hbmColor) ::DeleteObject(info.hbmColor);
  return done;
}

std::vector<uint8_t> EncodeCursorFile(const CursorPicture& picture, POINT hotspot) {
  cursor_file::Image image;
  image.width = picture.width;
  image.height = picture.height;
  image.bitsPerPixel = picture.colour ? 32 : 1;
  if (!picture.colour) image.palette = {0x000000, 0xFFFFFF};
  image.colour = picture.pixels;
  image.andMask = picture.andMask;
  image.field1 = static_cast<uint16_t>(hotspot.x);
  image.field2 = static_cast<uint16_t>(hotspot.y);
  return cursor_file::EncodeStaticFile(cursor_file::FileType::Cursor, {image});
}

std::string CursorFileName(const std::vector<uint8_t>& fileBytes) {
  uint64_t hash = 14695981039346656037ull;  // FNV-1a
  for (uint8_t byte : fileBytes) {
    hash ^= byte;
    hash *= 1099511628211ull;
  }
  static const char kHex[] = "0123456789abcdef";
  std::string name(16, '0');
  for (int i = 15; i >= 0; --i, hash >>= 4) name[i] = kHex[hash & 15];
  return name + ".cur";
}

}  // namespace platform
