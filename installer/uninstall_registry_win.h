// The entry in the current user's list of installed programs, in the registry.
#pragma once
#include <windows.h>

#include "installer/removal.h"
#include "installer/uninstall_entry.h"

// Writes every value of the entry (replacing an older one). Returns 0, or the platform's error.
DWORD WriteEntryToRegistry(const UninstallEntry& entry);
// Reads the folder and the recorded shortcuts into plan; false when there is no entry.
bool ReadEntryFromRegistry(RemovalPlan& plan);
DWORD RemoveEntryFromRegistry();
