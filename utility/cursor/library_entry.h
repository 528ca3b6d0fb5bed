// The texts of the cursor library lists, without any platform call: which file names are
// cursor files, the entry text "[" kind depth "]" tab name, the stored name an entry stands
// for, and the paths built from a folder and a stored name. Every text goes into a caller's
// buffer of known size; a text that does not fit is refused, never cut, so a shortened name
// can never load some other file.
#pragma once
#include <cstddef>

// Full paths, entry texts and stored names are built in buffers of kTextBufferSize characters.
#include "platform/text_buffers.h"

enum class CursorFileKind { NotCursor, Static, Animated };

// By the last four characters of the name (the whole name when shorter), in any letter case:
// ".ANI" is animated, ".CUR" static, anything else no cursor file.
CursorFileKind ClassifyCursorFileName(const char* fileName);

// The two folder entries a listing returns besides the files, compared byte by byte.
bool IsDotOrDotDot(const char* name);

// A role's cursor is animated when its stored name ends in ".ANI", in any letter case.
bool IsAnimatedName(const char* storedName);

// Writes "[", 'a' or 's', 'c' or 'm', "]", a tab and the file name less its last four
// characters into `entryText` (`size` characters with the terminator). Returns false and
// leaves `entryText` untouched when the text would not fit.
bool BuildEntryText(bool animated, bool colour, const char* fileName, char* entryText, size_t size);

// The stored name of a list entry: for a tagged entry the name after the tab with ".ANI" (kind
// 'a') or ".CUR" re-appended, otherwise (the special entries) the text itself. Returns false
// and writes an empty name when the result would not fit in `size` characters.
bool EntryToStoredName(const char* entryText, char* storedName, size_t size);

// `folder` followed by `storedName`. Returns false and writes an empty path when it does not
// fit or the name is not a plain file name (IsPlainFileName, platform/file_names.h): a stored
// name is a file inside its role's folder and nothing else, so such a name is treated like a
// file that does not load, and is never opened.
bool ComposeLibraryPath(const char* folder, const char* storedName, char* path, size_t size);
