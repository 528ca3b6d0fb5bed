// Benchmark, run by hand under Wine (not a test): how long Pointrel.EXE takes from its start
// to its window, for two builds side by side, alternating, in one run:
//   startup_bench OLD.EXE NEW.EXE [starts]
// Each start runs in a fresh folder holding a copy of the generated library and nothing else,
// and ends with Escape.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/wine/support/wine_test_support.h"
#include "tests/wine/utility/bench_clock.h"
#include "tests/wine/utility/library_copy.h"

namespace {

using bench_clock::Median;
using bench_clock::Now;

// Milliseconds to the window, or a negative number when it did not come.
double TimeOneStart(const std::string& exe, const std::string& folder) {
  const std::string copy = folder + "\\Pointrel.EXE";
  ::CopyFileA(exe.c_str(), copy.c_str(), FALSE);
  const double start = Now();
  wine_test::Program program(copy, folder);
  HWND window = program.WaitForWindow("Pointrel", 20000);
  const double elapsed = Now() - start;
  if (!window) return -1;
  wine_test::PressKey(window, VK_ESCAPE);
  if (!program.WaitForExit()) program.Kill();
  return elapsed;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: startup_bench OLD.EXE NEW.EXE [starts]\n");
    return 2;
  }
  const int starts = argc > 3 ? std::atoi(argv[3]) : 10;
  const std::string builds[2] = {argv[1], argv[2]};
  std::vector<double> times[2];
  for (int run = 0; run < starts; ++run) {
    for (int b = 0; b < 2; ++b) {
      const std::string folder = wine_test::MakeTempFolder("pointrel-startup");
      if (library_copy::CopyGeneratedLibrary(folder) != 50) {
        std::fprintf(stderr, "the generated library is missing\n");
        return 1;
      }
      const double ms = TimeOneStart(builds[b], folder);
      if (ms < 0) {
        std::fprintf(stderr, "%s showed no window\n", builds[b].c_str());
        return 1;
      }
      times[b].push_back(ms);
    }
  }
  for (int b = 0; b < 2; ++b) {
    std::printf("%s: median %.1f ms, best %.1f ms, worst %.1f ms (%d starts)\n", builds[b].c_str(), Median(times[b]),
                *std::min_element(times[b].begin(), times[b].end()), *std::max_element(times[b].begin(), times[b].end()),
                starts);
  }
  return 0;
}
