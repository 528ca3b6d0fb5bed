// Microseconds per recolour (palette read included) and per mirror of the bit-level
// transforms, at each colour depth: transform_bits_bench [iterations]
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "utility/cursor/transform_bits.h"
#include "tests/bench_timing.h"

namespace {

using cursor_bits::BitmapBits;
using cursor_bits::BitmapGeometry;

struct Buffer {
  std::vector<uint8_t> bytes;
  BitmapBits view;
  explicit Buffer(BitmapGeometry g) : bytes(cursor_bits::BitsBufferSize(g)) {
    for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<uint8_t>(i * 37 + 11);
    view.geometry = g;
    view.bits = bytes.data();
    view.size = bytes.size();
  }
};

}  // namespace

int main(int argc, char** argv) {
  const int iterations = argc > 1 ? std::atoi(argv[1]) : 20000;
  if (iterations <= 0) return 2;
  Buffer source({32, 64, 4, 1, 1});
  Buffer monoMask({32, 64, 4, 1, 1});
  std::printf("bit-level transforms, %d calls each (microseconds per call)\n", iterations);
  std::printf("%6s %10s %10s %12s\n", "depth", "recolour", "mirror", "mirror mono");
  unsigned sink = 0;
  for (int depth : {4, 8, 16, 24, 32}) {
    Buffer mask({32, 32, 4, 1, 1});
    Buffer colour({32, 32, 32 * depth / 8, 1, static_cast<uint16_t>(depth)});
    const Buffer templateColour = colour;
    cursor_bits::PalettePixelTable palette;
    const double recolour = MicrosecondsPerCall(iterations, [&](int i) {
      cursor_bits::ReadPalettePixels(templateColour.view, palette);
      cursor_bits::RecolourMonochrome(source.view, palette, i % 16, 15 - i % 16, mask.view, colour.view);
      sink += colour.bytes[i % colour.bytes.size()];
    });
    const double mirror = MicrosecondsPerCall(iterations, [&](int i) {
      cursor_bits::MirrorImage(mask.view, &colour.view);
      sink += colour.bytes[i % colour.bytes.size()];
    });
    const double mirrorMono = MicrosecondsPerCall(iterations, [&](int i) {
      cursor_bits::MirrorImage(monoMask.view, nullptr);
      sink += monoMask.bytes[i % monoMask.bytes.size()];
    });
    std::printf("%6d %10.2f %10.2f %12.2f\n", depth, recolour, mirror, mirrorMono);
  }
  return sink == 0xFFFFFFFFu ? 1 : 0;
}
