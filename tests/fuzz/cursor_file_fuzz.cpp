// libFuzzer target of the cursor-file reader: whatever the bytes, it answers without reading
// outside them, and an accepted file says the kind its first bytes promise.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "platform/cursor_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const cursor_file::Kind kind = cursor_file::CheckCursorFile(data, size);
  const bool riff = size >= 4 && std::memcmp(data, "RIFF", 4) == 0;
  if (kind == cursor_file::Kind::Animated && !riff) std::abort();
  if (kind == cursor_file::Kind::Static && riff) std::abort();
  return 0;
}
