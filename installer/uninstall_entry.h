// Pointrel's entry in the current user's list of installed programs, and the file names the
// installer and its uninstaller agree on. Platform-free: the values are composed here and
// written or read by the platform's registry calls.
#pragma once
#include <cstddef>
#include <cstdint>

#include "platform/text_buffers.h"

// The entry's key below HKEY_CURRENT_USER; needs no elevation.
extern const char kUninstallKey[];  // "Software\Microsoft\Windows\CurrentVersion\Uninstall\Pointrel"
extern const char kUninstallerName[];       // "Uninstall.EXE", beside the program
extern const char kUninstallArgument[];     // "/uninstall"
extern const char kQuietArgument[];         // "/quiet"
extern const char kDisplayName[];           // "Pointrel"
extern const char kDisplayVersion[];        // "2.0"
extern const char kPublisher[];             // "Pointrel"

// Plain data, made empty by value-initialisation (UninstallEntry entry{}).
struct UninstallEntry {
  char installLocation[kTextBufferSize];  // the folder, without a trailing "\" (a root keeps it)
  char displayIcon[kTextBufferSize];      // the program
  char uninstallString[kTextBufferSize];
  char quietUninstallString[kTextBufferSize];
  char installDate[9];                    // YYYYMMDD
  std::uint32_t estimatedSizeKb;
};

// Fills entry for an installation in `folder` (in its canonical form)
// on `date` (YYYYMMDD) of `installedBytes`. False when a value would not fit whole.
bool ComposeUninstallEntry(UninstallEntry& entry, const char* folder, const char* date, std::uint64_t installedBytes);

// Kilobytes as the list of installed programs shows them: whole ones, rounded up.
std::uint32_t KilobytesFor(std::uint64_t bytes);

// "YYYYMMDD" for the given date into out (9 bytes); false for a date out of range.
bool FormatInstallDate(int year, int month, int day, char (&out)[9]);
