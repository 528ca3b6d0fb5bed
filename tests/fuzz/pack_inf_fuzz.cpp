// libFuzzer target of the .inf reader: whatever the bytes, it ends, reads nothing outside them,
// and hands back only bare names (pack_description_check.h).
#include <cstdint>
#include <memory>

#include "tests/fuzz/pack_description_check.h"
#include "utility/cursor/pack_inf.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static auto description = std::make_unique<PackDescription>();
  CheckDescription(*description, ReadInf(data, size, description.get()));
  return 0;
}
