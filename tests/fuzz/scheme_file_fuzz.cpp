// libFuzzer target of the scheme-file reader: whatever the bytes, each role's file is a plain
// file name or nothing, the name holds no control character, and what the writer makes of the
// result reads back the same.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "platform/file_names.h"
#include "utility/cursor/scheme_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static auto scheme = std::make_unique<SchemeFile>();
  static auto again = std::make_unique<SchemeFile>();
  static auto ignored = std::make_unique<SchemeFileIgnored>();
  ReadSchemeFile(data, size, scheme.get(), ignored.get());
  for (const unsigned char* at = reinterpret_cast<const unsigned char*>(scheme->name); *at; ++at) {
    if (*at < 0x20 || *at == 0x7F) std::abort();
  }
  size_t ignoredCount = 0;
  for (size_t role = 0; role < kRoleCount; ++role) {
    if (scheme->files[role][0] && !IsPlainFileName(scheme->files[role])) std::abort();
    if (ignored->role[role] && scheme->files[role][0]) std::abort();
    ignoredCount += ignored->role[role];
  }
  if (ignoredCount != ignored->count) std::abort();
  std::vector<char> text(kLargestSchemeFile);
  const size_t length = WriteSchemeFile(*scheme, text.data(), text.size());
  if (length == 0) std::abort();
  if (!ReadSchemeFile(reinterpret_cast<const uint8_t*>(text.data()), length, again.get(), ignored.get())) std::abort();
  if (std::strcmp(again->name, scheme->name) != 0 || ignored->count != 0) std::abort();
  for (size_t role = 0; role < kRoleCount; ++role) {
    if (std::strcmp(again->files[role], scheme->files[role]) != 0) std::abort();
  }
  return 0;
}
