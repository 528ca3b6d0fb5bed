// libFuzzer target of every entry that takes cursor-file bytes: the check, then each step that
// reads through what it found (the first image, the best image at the sizes a desktop asks
// for). Whatever the bytes, nothing is read outside them (the reader asserts every read in this
// build), an accepted file says the kind its first bytes promise, and every part handed back
// lies inside the file.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <initializer_list>

#include "platform/cursor_file.h"

namespace {

void RequireInside(const uint8_t* data, size_t size, const uint8_t* part, size_t length) {
  if (part < data || length > size || static_cast<size_t>(part - data) > size - length) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  cursor_file::CheckedFile found;
  const cursor_file::Kind kind = cursor_file::CheckCursorFile(data, size, &found);
  const bool riff = size >= 4 && std::memcmp(data, "RIFF", 4) == 0;
  if (kind == cursor_file::Kind::Animated && !riff) std::abort();
  if (kind == cursor_file::Kind::Static && riff) std::abort();
  if (kind != found.kind) std::abort();

  const uint8_t* image = nullptr;
  size_t length = 0;
  if (cursor_file::FirstImage(found, &image, &length) != (kind != cursor_file::Kind::Refused)) std::abort();
  if (image) RequireInside(data, size, image, length);
  for (int32_t side : {16, 32, 48, 64, 96, 128, 256}) {
    cursor_file::CursorImage best;
    if (!cursor_file::BestCursorImage(found, side, &best)) continue;
    if (kind != cursor_file::Kind::Static || best.side < 1 || best.side > cursor_file::kLargestSide) std::abort();
    RequireInside(data, size, best.bytes, best.length);
  }
  return 0;
}
