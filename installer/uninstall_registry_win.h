// The entry in the current user's list of installed programs, in the registry.
#pragma once
#include <windows.h>

#include "installer/uninstall_entry.h"

// Writes every value of the entry (replacing an older one). Returns 0, or the platform's error.
DWORD WriteEntryToRegistry(const UninstallEntry& entry);
// The folder the entry names (as read: a hint, never trusted) into folder ("" when it has none);
// false when there is no entry.
bool ReadEntryLocation(char* folder, DWORD size);
DWORD RemoveEntryFromRegistry();
