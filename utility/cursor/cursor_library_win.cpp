#include "utility/cursor/cursor_library_win.h"

#include "platform/gdi.h"
#include "utility/app/cursor_settings.h"
#include "utility/cursor/library_entry.h"
#include "utility/dialog/main_dialog_win.h"

void FillCursorList(const char* folder, const CListBox& list) {
  if (!::SetCurrentDirectoryA(folder)) return;
  WIN32_FIND_DATAA found;
  HANDLE search = ::FindFirstFileA("*.*", &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      if (IsDotOrDotDot(found.cFileName)) continue;
      // A sub-folder never loads as a cursor; it is not even tried.
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
      char fullPath[kLibraryBufferSize];
      char* fileName = nullptr;
      const DWORD length = ::GetFullPathNameA(found.cFileName, sizeof fullPath, fullPath, &fileName);
      // A path that does not fit is left out like a file that does not load.
      if (length == 0 || length >= sizeof fullPath || !fileName) continue;
      char entryText[kLibraryBufferSize];
      if (DescribeCursorFile(fullPath, fileName, entryText)) list.AddString(entryText);
    } while (::FindNextFileA(search, &found));
    ::FindClose(search);
  }
  ::SetCurrentDirectoryA("..");
}

bool DescribeCursorFile(const char* path, const char* fileName, char* entryText) {
  const CursorFileKind kind = ClassifyCursorFileName(fileName);
  if (kind == CursorFileKind::NotCursor) return false;
  HCURSOR cursor = platform::LoadCursorFromFileA(path);
  if (!cursor) return false;
  ICONINFO info = {};
  const bool described = platform::GetIconInfo(cursor, &info) != FALSE;
  const bool colour = described && info.hbmColor != nullptr;
  if (info.hbmColor) platform::DeleteObject(info.hbmColor);
  if (info.hbmMask) platform::DeleteObject(info.hbmMask);
  // Released on every path, the one where the platform cannot describe it included.
  platform::DestroyCursor(cursor);
  if (!described) return false;
  return BuildEntryText(kind == CursorFileKind::Animated, colour, fileName, entryText, kLibraryBufferSize);
}

void MainDialog::SelectStoredCursors() {
  struct Role {
    const CListBox& list;
    const char* folder;
    const char* storedName;
    bool sameAsNormalAllowed;
  };
  const Role roles[] = {
      {normalList, kNormalFolder, current.Normal, false},
      {appStartingList, kAppStartingFolder, current.Appstart, true},
      {busyList, kBusyFolder, current.Busy, false},
      {ibeamList, kIBeamFolder, current.Ibeam, false},
  };
  for (const Role& role : roles) {
    char path[kLibraryBufferSize];
    const bool composed = ComposeLibraryPath(role.folder, role.storedName, path, sizeof path);
    char searchText[kLibraryBufferSize];
    const char* search = nullptr;
    if (IsDefaultName(role.storedName) || (role.sameAsNormalAllowed && IsSameAsNormalName(role.storedName))) {
      search = role.storedName;
    } else if (composed && DescribeCursorFile(path, role.storedName, searchText)) {
      search = searchText;
    }
    if (search) role.list.SelectString(-1, search);
  }
}
