// The cursor library: the role folders beside the program (kCursorRoles' folders), what each
// usable file of a folder is called in a list, and the user's own schemes.
#pragma once
#include <windows.h>

#include <cstddef>

#include "utility/cursor/schemes.h"

// Hands `add` the list entry of each usable cursor file of `folder` (relative to the current
// folder), in the order the platform lists them. The current folder is changed while it runs
// and is the one it started in afterwards; a missing folder hands nothing.
void ForEachLibraryEntry(const char* folder, void (*add)(void* context, const char* entryText), void* context);

// True when `path` is a cursor file the platform can show and its name `fileName` has a cursor
// extension; then `entryText` (kTextBufferSize characters) holds its list entry, tagged colour
// when its first image has a colour bitmap. Otherwise false, and `entryText` is untouched.
bool DescribeCursorFile(const char* path, const char* fileName, char* entryText);
// The entry the stored name `storedName` of a file in `folder` has in its list; false where the
// name is no plain file name or the file no usable cursor.
bool DescribeStoredName(const char* folder, const char* storedName, char* entryText);

// The user's own schemes: each a folder of its own under the settings folder's "Schemes".
struct OwnSchemeEntry {
  char name[kSchemeNameSize];    // as its scheme file names it
  char folder[kSchemeNameSize];  // its folder's name
};
constexpr size_t kMostOwnSchemes = 64;
// The user's schemes into `entries` (at most `most`), the first kept of any name that repeats;
// how many. A folder without a readable scheme file is left out.
size_t ListOwnSchemes(OwnSchemeEntry* entries, size_t most);
// The scheme named `name`: "<None>", one that ships, else one of the user's. False, with
// `scheme` left alone, when there is none of that name.
bool LoadSchemeNamed(const char* name, Scheme* scheme);
// "<application data>\Pointrel\Schemes\" into `out`; false when the shell gives no such folder
// or it does not fit.
bool OwnSchemesFolder(char* out, size_t size);
