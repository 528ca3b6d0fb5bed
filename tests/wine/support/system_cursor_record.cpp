// The record a test program keeps of the system-cursor service.
#include "tests/wine/support/system_cursor_record.h"

#include <deque>
#include <map>

#include "platform/cursor_capture.h"
#include "platform/cursor_file.h"
#include "utility/records/cursor_role_table.h"

namespace cursor_record {
namespace {

using platform::CapturedCursor;
using platform::SystemCursorChange;

constexpr size_t kEventLimit = 100000;

CursorPicture PictureOf(const CapturedCursor& captured) {
  CursorPicture picture;
  picture.width = captured.width();
  picture.height = captured.height();
  picture.colour = captured.colour();
  const size_t count = static_cast<size_t>(picture.width) * picture.height;
  picture.andMask.assign(captured.andMask(), captured.andMask() + count);
  picture.pixels.assign(captured.pixels(), captured.pixels() + count);
  return picture;
}

// Kept from the first RecordSystemCursors on; readers on other threads take the lock.
struct Record {
  Record() { ::InitializeCriticalSection(&lock); }
  CRITICAL_SECTION lock;
  std::map<DWORD, InstalledSystemCursor> installed;
  std::deque<SystemCursorEvent> events;
};

Record& TheRecord() {
  static Record* record = new Record;  // never destroyed: other threads may read it at exit
  return *record;
}

void Keep(const SystemCursorChange& change) {
  Record& record = TheRecord();
  ::EnterCriticalSection(&record.lock);
  const POINT hotspot = change.picture ? change.picture->hotspot() : POINT{0, 0};
  if (change.kind == SystemCursorEventKind::SchemeReloaded) {
    // Every id shows the user's scheme again, as a default does.
    for (const CursorRoleInfo& role : kCursorRoles) {
      const DWORD id = role.id;
      InstalledSystemCursor& entry = record.installed[id];
      entry.handle = nullptr;
      entry.animated = false;
      entry.isDefault = true;
      entry.picture = CursorPicture();
      ++entry.installs;
    }
  } else if (change.kind != SystemCursorEventKind::Refused && change.kind != SystemCursorEventKind::SchemeRefused) {
    InstalledSystemCursor& entry = record.installed[change.id];
    entry.handle = change.handle;
    entry.animated = change.animated;
    entry.isDefault = change.isDefault;
    entry.hotspot = hotspot;
    entry.picture = change.picture ? PictureOf(*change.picture) : CursorPicture();
    ++entry.installs;
  }
  if (record.events.size() >= kEventLimit) record.events.pop_front();
  record.events.push_back({change.kind, change.id, change.handle, change.animated, hotspot, change.file});
  ::LeaveCriticalSection(&record.lock);
}

}  // namespace

void RecordSystemCursors() {
  TheRecord();
  platform::ObserveSystemCursors(&Keep);
}

bool GetInstalledSystemCursor(DWORD id, InstalledSystemCursor* installed) {
  Record& record = TheRecord();
  ::EnterCriticalSection(&record.lock);
  auto found = record.installed.find(id);
  const bool known = found != record.installed.end();
  if (known) *installed = found->second;
  ::LeaveCriticalSection(&record.lock);
  return known;
}

std::vector<SystemCursorEvent> GetSystemCursorEvents() {
  Record& record = TheRecord();
  ::EnterCriticalSection(&record.lock);
  std::vector<SystemCursorEvent> copy(record.events.begin(), record.events.end());
  ::LeaveCriticalSection(&record.lock);
  return copy;
}

void ClearSystemCursorEvents() {
  Record& record = TheRecord();
  ::EnterCriticalSection(&record.lock);
  record.events.clear();
  ::LeaveCriticalSection(&record.lock);
}

bool CaptureCursorPicture(HCURSOR cursor, CursorPicture* picture, POINT* hotspot) {
  CapturedCursor captured;
  if (!captured.Capture(cursor)) return false;
  *picture = PictureOf(captured);
  *hotspot = captured.hotspot();
  return true;
}

std::vector<uint8_t> EncodeCursorFile(const CursorPicture& picture, POINT hotspot) {
  const cursor_file::ImageView view =
      platform::PictureView(picture.width, picture.height, picture.colour, picture.andMask.data(), picture.pixels.data(), hotspot);
  std::vector<uint8_t> file(cursor_file::StaticFileSize(&view, 1));
  cursor_file::WriteStaticFile(cursor_file::FileType::Cursor, &view, 1, file.data());
  return file;
}

std::string CursorFileName(const std::vector<uint8_t>& fileBytes) {
  char name[platform::kCursorFileNameSize];
  platform::CursorFileNameOf(fileBytes.data(), fileBytes.size(), name);
  return name;
}

}  // namespace cursor_record
