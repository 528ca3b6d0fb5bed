#include "utility/cursor/cursor_library_win.h"

#include <shlobj.h>

#include <cstring>
#include <new>

#include "platform/gdi.h"
#include "platform/ini_text.h"
#include "platform/shell_link.h"
#include "utility/cursor/library_entry.h"
#include "utility/records/settings_location.h"

void ForEachLibraryEntry(const char* folder, void (*add)(void* context, const char* entryText), void* context) {
  if (!::SetCurrentDirectoryA(folder)) return;
  WIN32_FIND_DATAA found;
  HANDLE search = ::FindFirstFileA("*.*", &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      if (IsDotOrDotDot(found.cFileName)) continue;
      // A sub-folder never loads as a cursor; it is not even tried.
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
      char fullPath[kTextBufferSize];
      char* fileName = nullptr;
      const DWORD length = ::GetFullPathNameA(found.cFileName, sizeof fullPath, fullPath, &fileName);
      // A path that does not fit is left out like a file that does not load.
      if (length == 0 || length >= sizeof fullPath || !fileName) continue;
      char entryText[kTextBufferSize];
      if (DescribeCursorFile(fullPath, fileName, entryText)) add(context, entryText);
    } while (::FindNextFileA(search, &found));
    ::FindClose(search);
  }
  ::SetCurrentDirectoryA("..");
}

bool DescribeCursorFile(const char* path, const char* fileName, char* entryText) {
  const CursorFileKind kind = ClassifyCursorFileName(fileName);
  if (kind == CursorFileKind::NotCursor) return false;
  // The file is read and checked once and its first image made from those bytes: opening the
  // file a second time for the platform's file loader would cost more than all the rest.
  bool colour = false;
  if (!platform::ProbeCursorFile(path, &colour)) return false;
  return BuildEntryText(kind == CursorFileKind::Animated, colour, fileName, entryText, kTextBufferSize);
}

bool DescribeStoredName(const char* folder, const char* storedName, char* entryText) {
  char path[kTextBufferSize];
  return ComposeLibraryPath(folder, storedName, path, sizeof path) && DescribeCursorFile(path, storedName, entryText);
}

bool OwnSchemesFolder(char* out, size_t size) {
  char appData[kTextBufferSize], settings[kTextBufferSize];
  if (!platform::GetUserShellFolder(CSIDL_APPDATA, appData, sizeof appData) ||
      !ComposeSettingsFolder(appData, settings, sizeof settings)) {
    return false;
  }
  const size_t length = std::strlen(settings), name = std::strlen(kSchemesFolder);
  if (length + 1 + name + 2 > size) return false;
  std::memcpy(out, settings, length);
  out[length] = '\\';
  std::memcpy(out + length + 1, kSchemesFolder, name);
  std::memcpy(out + length + 1 + name, "\\", 2);
  return true;
}

namespace {

// `folder` + `name` (+ `tail`) into `out`; false when it does not fit.
bool Join(const char* folder, const char* name, const char* tail, char (&out)[kTextBufferSize]) {
  const size_t a = std::strlen(folder), b = std::strlen(name), c = std::strlen(tail);
  if (a + b + c >= sizeof out) return false;
  std::memcpy(out, folder, a);
  std::memcpy(out + a, name, b);
  std::memcpy(out + a + b, tail, c + 1);
  return true;
}

// The scheme file in `schemeFolder` (with its trailing backslash), read whole within the size
// any scheme file of ours has; false when it is missing, larger or says nothing.
bool ReadOwnScheme(const char* schemeFolder, SchemeFile* file) {
  char path[kTextBufferSize];
  if (!Join(schemeFolder, kSchemeFileName, "", path)) return false;
  HANDLE handle = ::CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return false;
  uint8_t* bytes = new (std::nothrow) uint8_t[kLargestSchemeFile];
  DWORD read = 0;
  const DWORD size = ::GetFileSize(handle, nullptr);
  const bool whole = bytes && size != INVALID_FILE_SIZE && size <= kLargestSchemeFile &&
                     ::ReadFile(handle, bytes, size, &read, nullptr) && read == size;
  ::CloseHandle(handle);
  SchemeFileIgnored ignored;
  const bool readable = whole && ReadSchemeFile(bytes, read, file, &ignored);
  delete[] bytes;
  return readable;
}

// Calls `visit` with each scheme folder of the user's (with its trailing backslash) and its
// file, until it returns false.
template <class Visit>
void ForEachOwnScheme(Visit visit) {
  char schemes[kTextBufferSize], pattern[kTextBufferSize];
  if (!OwnSchemesFolder(schemes, sizeof schemes) || !Join(schemes, "*", "", pattern)) return;
  WIN32_FIND_DATAA found;
  HANDLE search = ::FindFirstFileA(pattern, &found);
  if (search == INVALID_HANDLE_VALUE) return;
  SchemeFile* file = new (std::nothrow) SchemeFile;
  do {
    if (!file || !(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || IsDotOrDotDot(found.cFileName)) continue;
    char folder[kTextBufferSize];
    if (!Join(schemes, found.cFileName, "\\", folder) || !ReadOwnScheme(folder, file) || !file->name[0]) continue;
    if (!visit(found.cFileName, folder, *file)) break;
  } while (::FindNextFileA(search, &found));
  ::FindClose(search);
  delete file;
}

}  // namespace

size_t ListOwnSchemes(OwnSchemeEntry* entries, size_t most) {
  size_t count = 0;
  ForEachOwnScheme([&](const char* folderName, const char*, const SchemeFile& file) {
    if (count == most) return false;
    for (size_t i = 0; i < count; ++i) {
      if (platform::SameTextIgnoringCase(entries[i].name, file.name)) return true;
    }
    if (std::strlen(folderName) >= sizeof entries[count].folder) return true;
    CopyCut(file.name, entries[count].name, sizeof entries[count].name);
    std::memcpy(entries[count].folder, folderName, std::strlen(folderName) + 1);
    ++count;
    return true;
  });
  return count;
}

bool LoadSchemeNamed(const char* name, Scheme* scheme) {
  if (platform::SameTextIgnoringCase(name, kNoSchemeName)) {
    NoScheme(scheme);
    return true;
  }
  if (FindShippedScheme(name, scheme)) return true;
  bool loaded = false;
  ForEachOwnScheme([&](const char*, const char* folder, const SchemeFile& file) {
    if (!platform::SameTextIgnoringCase(file.name, name)) return true;
    loaded = OwnScheme(file, folder, scheme);
    return false;
  });
  return loaded;
}
