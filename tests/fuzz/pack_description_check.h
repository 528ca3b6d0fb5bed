// What the .inf and .theme fuzz targets require of any description a reader hands back: every
// text ends inside its buffer, every role's file is a bare name (no folder, drive or stream
// part), and a file that describes nothing leaves nothing behind.
#pragma once
#include <cstdlib>
#include <cstring>

#include "utility/cursor/pack_description.h"

inline void CheckDescription(const PackDescription& description, bool found) {
  if (found != description.found) std::abort();
  if (std::memchr(description.schemeName, '\0', kSchemeNameSize) == nullptr) std::abort();
  for (size_t role = 0; role < kRoleCount; ++role) {
    const char* name = description.files[role];
    if (std::memchr(name, '\0', kPackNameSize) == nullptr) std::abort();
    if (std::strpbrk(name, "\\/:")) std::abort();
    if (!found && (name[0] || description.cut[role])) std::abort();
  }
}
