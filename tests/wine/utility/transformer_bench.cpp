// Microseconds per RecolourCursor and per MirrorCursor, whole calls on real cursors, at the
// display depth the session gives (POINTREL_WINE_DEPTH): transformer_bench [iterations]
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "platform/gdi.h"
#include "tests/bench_timing.h"
#include "tests/wine/utility/cursor_fixtures.h"
#include "utility/records/cursor_settings.h"
#include "utility/cursor/transformer_win.h"

int main(int argc, char** argv) {
  const int iterations = argc > 1 ? std::atoi(argv[1]) : 2000;
  if (iterations <= 0) return 2;
  using namespace cursor_fixtures;
  current.WhtClr = 6;
  current.BlkClr = 1;
  std::vector<HCURSOR> cursors(iterations);
  const Picture picture = OutlinedArrow();
  for (HCURSOR& c : cursors) c = MakeMonochromeCursor(picture, 0, 0);
  // Sources are made beforehand; each call consumes its argument.
  const double mirrorMono = MicrosecondsPerCall(iterations, [&](int i) { cursors[i] = MirrorCursor(cursors[i]); });
  const double recolour = MicrosecondsPerCall(iterations, [&](int i) { cursors[i] = RecolourCursor(cursors[i]); });
  const double mirrorColour = MicrosecondsPerCall(iterations, [&](int i) { cursors[i] = MirrorCursor(cursors[i]); });
  for (HCURSOR c : cursors) platform::ReleaseCursor(c);
  std::printf("display %d bits per pixel, %d calls each: RecolourCursor %.1f us, MirrorCursor %.1f us (colour), "
              "%.1f us (monochrome)\n",
              DisplayBitsPerPixel(), iterations, recolour, mirrorColour, mirrorMono);
  return 0;
}
