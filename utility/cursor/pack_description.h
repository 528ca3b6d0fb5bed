// What a pack's describing file (an install .inf, a .theme) says: a file name for each of the
// seventeen roles and the scheme's name. Whatever path the file gives, only the file's own
// name is kept, to be looked up in the pack; nothing is ever read where a path points.
#pragma once
#include <cstddef>

#include "platform/zip_reader.h"
#include "utility/records/cursor_role_table.h"

// A file name or a path inside a pack, in UTF-8 with its terminator.
constexpr size_t kPackNameSize = zip::kPathSize;
// A scheme's name, in UTF-8 with its terminator.
constexpr size_t kSchemeNameSize = 128;

struct PackDescription {
  // A scheme line, a role's value or a cursors section was found.
  bool found = false;
  // As the file gives it; "" when it gives none. Cut to fit.
  char schemeName[kSchemeNameSize] = "";
  // Each role's file name, in the roles' order; "" leaves the role to the platform.
  char files[kRoleCount][kPackNameSize] = {};
  // The name was too long to keep whole: what is in `files` is only its start, never looked up.
  bool cut[kRoleCount] = {};
};

// The file's own name in `path`: what follows its last '\', '/' or ':' (directory ids,
// environment variables, drives, ".." and folders all fall away), trimmed of spaces. False,
// with `name` holding only its start, when it does not fit in `size` bytes.
bool ReduceToFileName(const char* path, char* name, size_t size);

// Copies `text` into `out` of `size` bytes, cut at a character boundary when it does not fit;
// false when it was cut.
bool CopyCut(const char* text, char* out, size_t size);

// Sets role `role` of `description` to the file named by `path`, reduced to its name.
void SetRoleFile(PackDescription* description, size_t role, const char* path);
