// libFuzzer target of the .theme reader: whatever the bytes, it hands back only bare names
// (pack_description_check.h).
#include <cstdint>
#include <memory>

#include "tests/fuzz/pack_description_check.h"
#include "utility/cursor/pack_theme.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static auto description = std::make_unique<PackDescription>();
  CheckDescription(*description, ReadTheme(data, size, description.get()));
  return 0;
}
