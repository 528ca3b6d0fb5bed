// The cursor library: the role folders beside the program, and the lists that show them.
#pragma once
#include <windows.h>

#include <cstddef>

#include "platform/window.h"

// The folders of the library, relative to the current folder.
constexpr char kNormalFolder[] = "NORMAL\\";
constexpr char kAppStartingFolder[] = "APPSTART\\";
constexpr char kBusyFolder[] = "BUSY\\";
constexpr char kIBeamFolder[] = "IBEAM\\";
constexpr char kSizingFolder[] = "SIZING\\";

// Adds one entry per usable cursor file of `folder` to `list`. The current folder is changed
// while it runs and is the one it started in afterwards; a missing folder adds nothing.
void FillCursorList(const char* folder, const CListBox& list);
// The files of `folder`, then the fixed entries: "<Default>", and "<Same as Normal>" when
// `sameAsNormal` (App Starting).
void FillRoleList(const CListBox& list, const char* folder, bool sameAsNormal);

// True when `path` is a cursor file the platform can show and its name `fileName` has a cursor
// extension; then `entryText` (kTextBufferSize characters) holds its list entry, tagged colour
// when its first image has a colour bitmap. Otherwise false, and `entryText` is untouched.
bool DescribeCursorFile(const char* path, const char* fileName, char* entryText);

// The stored name of the list's selected entry, written into `storedName` of `size`
// characters. False, with `storedName` unchanged, when nothing is selected or the entry is not
// one this program wrote.
bool ReadSelectedStoredName(const CListBox& list, char* storedName, size_t size);
// Selects the entry that `storedName` stands for: a fixed entry by its text ("<Same as Normal>"
// only where `sameAsNormal`), a file by the entry it describes as now. A name with no entry
// leaves the list without a selection change.
void SelectStoredEntry(const CListBox& list, const char* folder, const char* storedName, bool sameAsNormal);
