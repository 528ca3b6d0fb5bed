// The cursor library: the role folders beside the program, and the lists that show them.
#pragma once
#include <windows.h>

#include "platform/window.h"

// The folders of the library, relative to the current folder.
constexpr char kNormalFolder[] = "NORMAL\\";
constexpr char kAppStartingFolder[] = "APPSTART\\";
constexpr char kBusyFolder[] = "BUSY\\";
constexpr char kIBeamFolder[] = "IBEAM\\";
constexpr char kSizingFolder[] = "SIZING\\";

// The special entries, added after the files.
constexpr char kDefaultEntry[] = "<Default>";
constexpr char kSameAsNormalEntry[] = "<Same as Normal>";

// Adds one entry per usable cursor file of `folder` to `list`. The current folder is changed
// while it runs and is the one it started in afterwards; a missing folder adds nothing.
void FillCursorList(const char* folder, const CListBox& list);

// True when `path` loads as a cursor whose name `fileName` has a cursor extension; then
// `entryText` (kLibraryBufferSize characters) holds its list entry. Otherwise false, and
// `entryText` is untouched. The cursor is loaded and released again at once.
bool DescribeCursorFile(const char* path, const char* fileName, char* entryText);
