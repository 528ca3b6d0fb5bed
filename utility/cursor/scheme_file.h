// A scheme of the user's own: a folder of its own under the user's settings folder
// (%APPDATA%\Pointrel\Schemes\<folder>\) holding its cursor files and the text file
// "Scheme.INI":
//   [Scheme]
//   Name=<the scheme's name as shown>
//   Arrow=<file name>      one key per role, by its registry name
// A role's value is a bare file name in the scheme's own folder; a missing or empty one leaves
// the role to the platform. The file may be edited by hand: what is read back is checked, and
// a value that is anything but a plain file name is ignored, never followed.
#pragma once
#include <cstddef>
#include <cstdint>

#include "utility/cursor/pack_description.h"
#include "utility/records/cursor_role_table.h"

// The folder of the user's schemes, in the settings folder, and each scheme's own file.
constexpr char kSchemesFolder[] = "Schemes";
constexpr char kSchemeFileName[] = "Scheme.INI";
// Room enough for any scheme file the writer makes.
constexpr size_t kLargestSchemeFile = 16 * 1024;

struct SchemeFile {
  char name[kSchemeNameSize] = "";
  char files[kRoleCount][kPackNameSize] = {};  // "": the platform's
};

// The values a read ignored, by role, with the start of each for a message.
constexpr size_t kIgnoredValueSize = 96;
struct SchemeFileIgnored {
  bool role[kRoleCount] = {};
  char value[kRoleCount][kIgnoredValueSize] = {};
  size_t count = 0;
};

// Reads the bytes of a scheme file (UTF-8 with or without its mark, UTF-16 with its mark,
// ANSI). A value that is not a plain file name (a path, "..", a drive, a device, one too long)
// leaves its role to the platform and is named in `ignored`; the first of repeated keys counts.
// False when the bytes hold no key of a [Scheme] section.
bool ReadSchemeFile(const uint8_t* bytes, size_t size, SchemeFile* scheme, SchemeFileIgnored* ignored);

// The scheme file's text (UTF-8 with its mark, CR LF lines, every role's key, a name that is
// not plain written empty) into `out` of `size` bytes. Returns its length, or 0 when it does
// not fit.
size_t WriteSchemeFile(const SchemeFile& scheme, char* out, size_t size);

// `name` as a scheme's name into `out` (kSchemeNameSize bytes): control characters dropped,
// blanks trimmed, cut at a character boundary to fit.
void CleanSchemeName(const char* name, char* out);

// The name of the folder of a scheme named `name` into `out` (kSchemeNameSize bytes): the
// cleaned name with each character the platform refuses in names as '_', trailing dots and
// spaces dropped, and '_' before a device's name; "Scheme" when nothing is left. Always a
// plain file name.
void SchemeFolderName(const char* name, char* out);

// `wanted`, cleaned, or that name with " (2)", " (3)"... (cut to make room), the first whose
// folder name is none of the folder names of the `count` names in `existing` (in any letter
// case), into `out` (kSchemeNameSize bytes).
void UniqueSchemeName(const char* wanted, const char* const* existing, size_t count, char* out);
