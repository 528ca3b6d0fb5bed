#include "utility/cursor/cursor_library_win.h"

#include <cstring>

#include "platform/gdi.h"
#include "utility/records/cursor_settings.h"
#include "utility/cursor/library_entry.h"

void FillCursorList(const char* folder, const CListBox& list) {
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
      if (DescribeCursorFile(fullPath, fileName, entryText)) list.AddString(entryText);
    } while (::FindNextFileA(search, &found));
    ::FindClose(search);
  }
  ::SetCurrentDirectoryA("..");
}

void FillRoleList(const CListBox& list, const char* folder, bool sameAsNormal) {
  FillCursorList(folder, list);
  list.AddString(kDefaultName);
  if (sameAsNormal) list.AddString(kSameAsNormalName);
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

bool ReadSelectedStoredName(const CListBox& list, char* storedName, size_t size) {
  const int selection = list.GetCurSel();
  if (selection < 0) return false;
  // Every entry was built in a buffer of this size; anything longer is not one of ours.
  const int length = list.GetTextLen(selection);
  if (length < 0 || static_cast<size_t>(length) >= kTextBufferSize) return false;
  char entryText[kTextBufferSize];
  if (list.GetText(selection, entryText) != length) return false;
  char name[kTextBufferSize];
  if (!EntryToStoredName(entryText, name, sizeof name) || std::strlen(name) >= size) return false;
  std::memcpy(storedName, name, std::strlen(name) + 1);
  return true;
}

void SelectStoredEntry(const CListBox& list, const char* folder, const char* storedName, bool sameAsNormal) {
  if (IsDefaultName(storedName) || (sameAsNormal && IsSameAsNormalName(storedName))) {
    list.SelectString(-1, storedName);
    return;
  }
  char path[kTextBufferSize];
  char entryText[kTextBufferSize];
  if (ComposeLibraryPath(folder, storedName, path, sizeof path) && DescribeCursorFile(path, storedName, entryText)) {
    list.SelectString(-1, entryText);
  }
}
