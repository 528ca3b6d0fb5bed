#include "platform/system_cursor.h"

#include <cstring>
#include <new>

#include "platform/cursor_capture.h"
#include "platform/cursor_file.h"
#include "platform/gdi.h"
#include "platform/lock.h"
#include "platform/text_buffers.h"

namespace platform {
namespace {

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
// plain copy is the fallback when the reload fails or (`compare`) does not give the same image.
HCURSOR KeepDefault(DWORD id, bool compare) {
  HCURSOR system = ::LoadCursorA(nullptr, MAKEINTRESOURCEA(id));
  if (!system) return nullptr;
  HCURSOR kept = CopyCursorImage(system, LR_COPYFROMRESOURCE);
  if (kept && compare) {
    CapturedCursor systemPicture, reloadedPicture;
    if (!systemPicture.Capture(system) || !reloadedPicture.Capture(kept) || !reloadedPicture.SameAs(systemPicture)) {
      ::DestroyCursor(kept);
      kept = nullptr;
    }
  }
  if (!kept) kept = CopyCursorImage(system, 0);
  return kept ? kept : system;
}

bool defaultsForRestoringOnly = false;
void (*beforeFirstInstall)() = nullptr;
// Where a late guard finds the pictures of the defaults its utility kept; empty otherwise.
char handedFolder[kTextBufferSize] = "";

// "<folder>\<id>.CUR", the handed picture of one id's default.
bool HandedPicturePath(const char* folder, DWORD id, char (&path)[kTextBufferSize]) {
  const size_t length = std::strlen(folder);
  if (length == 0 || length + 16 >= sizeof path) return false;
  ::wsprintfA(path, "%s\\%lu.CUR", folder, static_cast<unsigned long>(id));
  return true;
}

// A late guard's default for `id`: the picture its utility handed over, loaded through our own
// reader as a plain copy of the guard's; null where there is none.
HCURSOR KeepHandedDefault(DWORD id) {
  char path[kTextBufferSize];
  if (!HandedPicturePath(handedFolder, id, path)) return nullptr;
  HCURSOR loaded = LoadCheckedCursorFile(path);
  if (!loaded) return nullptr;
  HCURSOR kept = CopyCursorImage(loaded, 0);
  ReleaseCursor(loaded);
  return kept;
}

// A default kept as this process's service keeps them: handed over, else from the platform.
HCURSOR KeepDefaultOf(DWORD id) {
  if (handedFolder[0]) {
    if (HCURSOR handed = KeepHandedDefault(id)) return handed;
  }
  return KeepDefault(id, !defaultsForRestoringOnly);
}

// A static cursor file's bytes holding `picture`, in a buffer the caller releases with
// delete[]; null when it cannot be made.
uint8_t* EncodePicture(const CapturedCursor& picture, size_t* size) {
  const cursor_file::ImageView view = picture.View();
  *size = cursor_file::StaticFileSize(&view, 1);
  uint8_t* bytes = new (std::nothrow) uint8_t[*size];
  if (bytes) cursor_file::WriteStaticFile(cursor_file::FileType::Cursor, &view, 1, bytes);
  return bytes;
}

// Writes `size` bytes to the file at `path` (a picture of the trace, a handed default), opened
// with `disposition` and closed again: true only when every byte was written.
bool WriteToFile(const char* path, DWORD access, DWORD disposition, const void* bytes, size_t size) {
  HANDLE file = ::CreateFileA(path, access, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, disposition,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const bool whole = ::WriteFile(file, bytes, static_cast<DWORD>(size), &written, nullptr) && written == size;
  ::CloseHandle(file);
  return whole;
}

// The copies the platform did not take over, one per id, released when the next replaces it;
// with the handle each was made from.
struct HeldCopy {
  DWORD id;
  HCURSOR copy;
  HCURSOR source;
};
constexpr int kHeldCopyPlaces = 32;

// The true default of one id, kept before anything of this process was installed on it.
struct KeptDefault {
  DWORD id;
  HCURSOR cursor;  // null where the platform has no cursor of that id
};
constexpr int kKeptDefaultPlaces = 32;

class Service {
 public:
  Service() {
    FILETIME creation, exited, kernel, user;
    if (::GetProcessTimes(::GetCurrentProcess(), &creation, &exited, &kernel, &user)) {
      processStart = (static_cast<uint64_t>(creation.dwHighDateTime) << 32) | creation.dwLowDateTime;
    }
    char folder[kTextBufferSize];
    const DWORD length = ::GetEnvironmentVariableA("POINTREL_CURSOR_TRACE", folder, sizeof folder);
    // Room for the separator and a picture's name behind it.
    if (length > 0 && length + 1 + kCursorFileNameSize < sizeof traceFolder) {
      const DWORD attributes = ::GetFileAttributesA(folder);
      if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        std::memcpy(traceFolder, folder, length + 1);
        if (folder[length - 1] != '\\' && folder[length - 1] != '/') std::memcpy(traceFolder + length, "\\", 2);
      }
    }
  }

  // Keeps the defaults of `ids` now, where they are not kept yet; then, where tracing, says so.
  // Every traced process appends to the one file, so its order tells whose defaults were kept
  // before whose first install.
  void KeepNow(const uint32_t* ids, size_t count) {
    Locked locked(lock);
    for (size_t i = 0; i < count; ++i) KeptLocked(ids[i]);
    if (Tracing()) {
      char line[64];
      ::wsprintfA(line, "%lu kept %lu%s\r\n", MillisecondsSinceStart(), ::GetCurrentProcessId(),
                  handedFolder[0] ? " handed" : "");
      AppendLine(line);
    }
  }

  // The kept default of `id`, kept now when it was not (nothing of ours is on it then: every
  // install keeps its id's default first). Null where the platform has none.
  HCURSOR DefaultKeptNow(DWORD id) {
    Locked locked(lock);
    const KeptDefault* kept = KeptLocked(id);
    return kept ? kept->cursor : nullptr;
  }

  // Each kept default of `ids` as "<id>.CUR" in `folder`. Not under the lock while writing: a
  // kept default is never destroyed, and a show of the pointer must not wait for these files.
  bool WriteDefaults(const char* folder, const uint32_t* ids, size_t count) {
    bool all = true;
    for (size_t i = 0; i < count; ++i) {
      const DWORD id = ids[i];
      char path[kTextBufferSize];
      HCURSOR kept = DefaultKeptNow(id);
      // Where the platform has no cursor of the id there is nothing to hand over.
      if (!kept) continue;
      CapturedCursor picture;
      size_t size = 0;
      uint8_t* bytes = HandedPicturePath(folder, id, path) && picture.Capture(kept) ? EncodePicture(picture, &size) : nullptr;
      all &= bytes && WriteToFile(path, GENERIC_WRITE, CREATE_ALWAYS, bytes, size);
      delete[] bytes;
    }
    return all;
  }

  // The kept defaults made again at `side` from where they were loaded (the platform stretches
  // them where it cannot). The ones replaced stay alive: a slot or a held copy may name them.
  void ResizeDefaults(int side) {
    Locked locked(lock);
    for (int i = 0; i < keptCount; ++i) {
      HCURSOR& kept = keptDefaults[i].cursor;
      if (!kept || CursorSide(kept) == side) continue;
      if (HCURSOR resized = static_cast<HCURSOR>(::CopyImage(kept, IMAGE_CURSOR, side, side, LR_COPYFROMRESOURCE))) kept = resized;
    }
  }

  void Observe(SystemCursorObserver newObserver) {
    lock.Enter();
    observer = newObserver;
    lock.Leave();
  }

  // Told after the platform has answered, so a service made by this call keeps the reloaded
  // scheme as its defaults.
  void TellSchemeReload(bool reloaded) {
    lock.Enter();
    if (Tracing() || observer) {
      const SystemCursorChange change = {reloaded ? SystemCursorEventKind::SchemeReloaded : SystemCursorEventKind::SchemeRefused,
                                         0, nullptr, false, reloaded, nullptr, ""};
      Tell(change);
    }
    lock.Leave();
  }

  BOOL Install(HCURSOR cursor, DWORD id) {
    lock.Enter();
    const BOOL done = InstallLocked(cursor, id);
    lock.Leave();
    return done;
  }

 private:
  bool Tracing() const { return traceFolder[0] != '\0'; }

  const KeptDefault* FindKept(DWORD id) const {
    for (int i = 0; i < keptCount; ++i) {
      if (keptDefaults[i].id == id) return &keptDefaults[i];
    }
    return nullptr;
  }

  // Under the lock: the id's kept default, kept now where it was not; null when every place is
  // taken (an id beyond them is installed without a default to go back to).
  const KeptDefault* KeptLocked(DWORD id) {
    if (const KeptDefault* kept = FindKept(id)) return kept;
    if (keptCount == kKeptDefaultPlaces) return nullptr;
    keptDefaults[keptCount] = {id, KeepDefaultOf(id)};
    return &keptDefaults[keptCount++];
  }

  HCURSOR Default(DWORD id) const {
    const KeptDefault* kept = FindKept(id);
    return kept ? kept->cursor : nullptr;
  }

  BOOL InstallLocked(HCURSOR cursor, DWORD id) {
    const bool watched = Tracing() || observer;
    SystemCursorChange change = {SystemCursorEventKind::Refused, id, cursor, false, false, nullptr, ""};
    if (!cursor) {
      if (watched) Tell(change);
      return FALSE;
    }
    const KeptDefault* kept = KeptLocked(id);
    change.isDefault = kept && kept->cursor && cursor == kept->cursor;
    CursorFileOrigin origin;
    if (GetCursorFileOrigin(cursor, &origin)) change.animated = origin.animated;

    if (beforeFirstInstall) {
      void (*wait)() = beforeFirstInstall;
      beforeFirstInstall = nullptr;
      wait();
    }
    // The copy the platform gets: the file loaded afresh keeps an animation whole. A default
    // shown again where the platform keeps its hands off the copies is shown from the copy held
    // for it already (a kept default is never released, so its handle names nothing else).
    HCURSOR copy = nullptr;
    bool reused = false;
    if (platformKeepsCopies == 1 && change.isDefault) {
      if (HeldCopy* held = HeldFor(id); held && held->source == cursor) {
        copy = held->copy;
        reused = true;
      }
    }
    // Checked again: the file may have changed since the caller loaded it.
    if (!copy && change.animated && CheckCursorFile(origin.path, nullptr)) copy = LoadAnimatedCursorFile(origin.path, CursorSide(cursor));
    if (!copy && change.isDefault) copy = CopyCursorImage(cursor, LR_COPYFROMRESOURCE);
    if (!copy) copy = CopyCursorImage(cursor, 0);
    // The picture is taken from the copy before the platform may take it over: for the observer,
    // and for the trace where its line tells of the image (a default's names only the id).
    CapturedCursor picture;
    const bool pictured = observer || (Tracing() && !change.isDefault);
    const bool captured = pictured && copy && picture.Capture(copy);
    if (!copy || !::SetSystemCursor(copy, id)) {
      if (copy && !reused) ::DestroyCursor(copy);
      if (watched) Tell(change);
      return FALSE;
    }
    // Where the platform did not take the copy over, it stays ours until the next replaces it.
    // A platform either takes every copy over or none, and asking costs more than the install,
    // so the first install's answer stands.
    if (platformKeepsCopies < 0) platformKeepsCopies = IsLiveCursor(copy) ? 1 : 0;
    if (!reused) Hold(id, platformKeepsCopies ? copy : nullptr, cursor);
    if (!watched) return TRUE;

    change.kind = change.isDefault ? SystemCursorEventKind::Default : SystemCursorEventKind::Install;
    change.picture = captured ? &picture : nullptr;
    char file[kCursorFileNameSize] = "";
    if (Tracing() && captured && !change.isDefault && !change.animated) {
      WritePicture(picture, file);
      change.file = file;
    }
    Tell(change);
    return TRUE;
  }

  void Hold(DWORD id, HCURSOR copy, HCURSOR source) {
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
    if (place) *place = {id, copy, copy ? source : nullptr};
  }

  HeldCopy* HeldFor(DWORD id) {
    for (HeldCopy& held : heldCopies) {
      if (held.copy && held.id == id) return &held;
    }
    return nullptr;
  }

  // The picture as a cursor file in the trace folder, once per distinct image; `name` is left
  // empty when it cannot be encoded.
  void WritePicture(const CapturedCursor& picture, char (&name)[kCursorFileNameSize]) {
    size_t size = 0;
    uint8_t* bytes = EncodePicture(picture, &size);
    if (!bytes) return;
    CursorFileNameOf(bytes, size, name);
    char path[kTextBufferSize];
    TracePath(name, path);
    // A picture cut short (a full disk) is removed, and its line names no file: a reader of the
    // trace never takes a part of an image for the image.
    if (::GetFileAttributesA(path) == INVALID_FILE_ATTRIBUTES && !WriteToFile(path, GENERIC_WRITE, CREATE_NEW, bytes, size)) {
      ::DeleteFileA(path);
      name[0] = '\0';
    }
    delete[] bytes;
  }

  void Tell(const SystemCursorChange& change) {
    if (Tracing()) AppendTraceLine(change);
    if (observer) observer(change);
  }

  void AppendTraceLine(const SystemCursorChange& change) {
    char line[160];
    const unsigned long ms = MillisecondsSinceStart();
    const unsigned long id = change.id;
    switch (change.kind) {
      case SystemCursorEventKind::Install:
        if (change.animated) {
          ::wsprintfA(line, "%lu install %lu animated %d\r\n", ms, id, change.picture ? change.picture->width() : 0);
        } else {
          const POINT hotspot = change.picture ? change.picture->hotspot() : POINT{0, 0};
          ::wsprintfA(line, "%lu install %lu static %ld,%ld %.64s\r\n", ms, id, static_cast<long>(hotspot.x),
                      static_cast<long>(hotspot.y), change.file);
        }
        break;
      case SystemCursorEventKind::Refused:
        ::wsprintfA(line, "%lu refused %lu\r\n", ms, id);
        break;
      case SystemCursorEventKind::Default:
        ::wsprintfA(line, "%lu default %lu\r\n", ms, id);
        break;
      case SystemCursorEventKind::SchemeReloaded:
        ::wsprintfA(line, "%lu scheme reloaded\r\n", ms);
        break;
      case SystemCursorEventKind::SchemeRefused:
        ::wsprintfA(line, "%lu scheme refused\r\n", ms);
        break;
    }
    AppendLine(line);
  }

  // Each line goes straight to the file, appended whole (every traced process appends to it),
  // so it can be read while the process runs and is whole when the process is ended from
  // outside. The file stays open: a show of fourteen ids is timed by its lines. Under the lock.
  void AppendLine(const char* line) {
    if (traceFile == INVALID_HANDLE_VALUE) {
      char path[kTextBufferSize];
      TracePath("trace.txt", path);
      traceFile = ::CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
      if (traceFile == INVALID_HANDLE_VALUE) return;
    }
    DWORD written = 0;
    ::WriteFile(traceFile, line, static_cast<DWORD>(std::strlen(line)), &written, nullptr);
  }

  // A file of the trace folder, whose length leaves room for any name of the trace's.
  void TracePath(const char* name, char (&path)[kTextBufferSize]) const {
    std::memcpy(path, traceFolder, std::strlen(traceFolder) + 1);
    std::strcat(path, name);
  }

  unsigned long MillisecondsSinceStart() const {
    FILETIME now;
    ::GetSystemTimeAsFileTime(&now);
    const uint64_t ticks = (static_cast<uint64_t>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
    return ticks > processStart ? static_cast<unsigned long>((ticks - processStart) / 10000) : 0;
  }

  Lock lock;
  uint64_t processStart = 0;
  KeptDefault keptDefaults[kKeptDefaultPlaces] = {};  // in the order they were first kept
  int keptCount = 0;
  HeldCopy heldCopies[kHeldCopyPlaces] = {};
  int platformKeepsCopies = -1;  // unknown until the first install
  char traceFolder[kTextBufferSize] = "";  // with its trailing separator; empty when not tracing
  HANDLE traceFile = INVALID_HANDLE_VALUE;  // trace.txt there, once opened
  SystemCursorObserver observer = nullptr;
};

// Made at the first use, which is before the first install, so the defaults it keeps are the
// platform's own. The programs are built without thread-safe statics, and a crash filter may
// make the first use on any thread, so the one start is guarded by an interlocked flag: the
// first caller makes it, any other waits until it is made. Never destroyed: a thread may still
// restore cursors while the process ends.
alignas(Service) unsigned char serviceStorage[sizeof(Service)];
volatile LONG serviceState = 0;  // 0 not made, 1 being made, 2 made

Service& TheService() {
  if (::InterlockedCompareExchange(&serviceState, 2, 2) != 2) {
    if (::InterlockedCompareExchange(&serviceState, 1, 0) == 0) {
      new (serviceStorage) Service;
      ::InterlockedExchange(&serviceState, 2);
    } else {
      while (::InterlockedCompareExchange(&serviceState, 2, 2) != 2) ::Sleep(0);
    }
  }
  return *reinterpret_cast<Service*>(serviceStorage);
}

}  // namespace

BOOL InstallSystemCursor(HCURSOR cursor, DWORD id) { return TheService().Install(cursor, id); }

HCURSOR SystemDefaultCursor(DWORD id) { return TheService().DefaultKeptNow(id); }

void KeepDefaultsOf(const uint32_t* ids, size_t count) { TheService().KeepNow(ids, count); }

void ObserveSystemCursors(SystemCursorObserver observer) { TheService().Observe(observer); }

void RunBeforeFirstInstall(void (*wait)()) { beforeFirstInstall = wait; }

void KeepDefaultsForRestoringOnly() { defaultsForRestoringOnly = true; }

void KeepDefaultsHandedIn(const char* folder) {
  KeepDefaultsForRestoringOnly();
  ::lstrcpynA(handedFolder, folder, sizeof handedFolder);
}

bool WriteKeptDefaults(const char* folder, const uint32_t* ids, size_t count) {
  return TheService().WriteDefaults(folder, ids, count);
}

void RemoveWrittenDefaults(const char* folder, const uint32_t* ids, size_t count) {
  for (size_t i = 0; i < count; ++i) {
    char path[kTextBufferSize];
    if (HandedPicturePath(folder, ids[i], path)) ::DeleteFileA(path);
  }
  ::RemoveDirectoryA(folder);
}

void ResizeKeptDefaults(int side) {
  if (side > 0) TheService().ResizeDefaults(side);
}

bool ReloadUserCursorScheme() {
  const bool reloaded = ::SystemParametersInfoA(SPI_SETCURSORS, 0, nullptr, 0) != FALSE;
  TheService().TellSchemeReload(reloaded);
  return reloaded;
}

}  // namespace platform
