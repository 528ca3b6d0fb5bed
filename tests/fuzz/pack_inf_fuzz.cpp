// libFuzzer target of the .inf reader: whatever the bytes, it ends, reads nothing outside them,
// and every role's file is a bare name (no folder, drive or stream part) within its buffer.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "utility/cursor/pack_inf.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static auto description = std::make_unique<PackDescription>();
  const bool found = ReadInf(data, size, description.get());
  if (found != description->found) std::abort();
  if (std::memchr(description->schemeName, '\0', kSchemeNameSize) == nullptr) std::abort();
  for (size_t role = 0; role < kRoleCount; ++role) {
    const char* name = description->files[role];
    if (std::memchr(name, '\0', kPackNameSize) == nullptr) std::abort();
    if (std::strpbrk(name, "\\/:")) std::abort();
    if (!found && (name[0] || description->cut[role])) std::abort();
  }
  return 0;
}
