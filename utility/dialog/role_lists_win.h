// The controls that list one role's library folder: the four lists of the main dialog and the
// drop-downs of "More pointers...". Each shows the folder's usable files by their entries, then
// "<Default>" (and, for App Starting, "<Same as Normal>"); a stored name selects its entry.
#pragma once
#include <cstddef>

#include "platform/window.h"

void FillRoleList(const CListBox& list, const char* folder, bool sameAsNormal);
void FillRoleList(const CComboBox& box, const char* folder);

// The stored name of the selected entry, written into `storedName` of `size` characters. False,
// with `storedName` unchanged, when nothing is selected or the entry is not one this program
// wrote.
bool ReadSelectedStoredName(const CListBox& list, char* storedName, size_t size);
bool ReadSelectedStoredName(const CComboBox& box, char* storedName, size_t size);

// Selects the entry that `storedName` stands for: a fixed entry by its text ("<Same as Normal>"
// only where `sameAsNormal`), a file by the entry it describes as now. A name with no entry
// leaves the selection as it was.
void SelectStoredEntry(const CListBox& list, const char* folder, const char* storedName, bool sameAsNormal);
void SelectStoredEntry(const CComboBox& box, const char* folder, const char* storedName);
