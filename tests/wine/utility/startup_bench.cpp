// Benchmark, run by hand under Wine (not a test): how long a program takes from its start to
// its window titled "Pointrel", for several builds side by side, alternating, in one run:
//   startup_bench [--starts N] EXE...
// e.g. bare_dialog_program.exe (the floor: the dialog alone), an older Pointrel.EXE and this
// one. Each start runs in a fresh folder holding a copy of the generated library and nothing
// else, and ends with Escape. Each build's median is also given as a multiple of the first's.
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
  int starts = 9;
  std::vector<std::string> builds;
  for (int i = 1; i < argc; ++i) {
    if (std::string(argv[i]) == "--starts" && i + 1 < argc) {
      starts = std::atoi(argv[++i]);
    } else {
      builds.push_back(argv[i]);
    }
  }
  if (builds.empty() || starts < 1) {
    std::fprintf(stderr, "usage: startup_bench [--starts N] EXE...\n");
    return 2;
  }
  std::vector<std::vector<double>> times(builds.size());
  for (int run = 0; run < starts; ++run) {
    for (size_t b = 0; b < builds.size(); ++b) {
      const std::string folder = wine_test::MakeTempFolder("pointrel-startup");
      if (library_copy::CopyGeneratedLibrary(folder) != library_copy::kLibraryFiles) {
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
  const double floor = Median(times[0]);
  for (size_t b = 0; b < builds.size(); ++b) {
    std::printf("%s: median %.1f ms (%.2f times the first), best %.1f ms, worst %.1f ms (%d starts)\n", builds[b].c_str(),
                Median(times[b]), Median(times[b]) / floor, *std::min_element(times[b].begin(), times[b].end()),
                *std::max_element(times[b].begin(), times[b].end()), starts);
  }
  return 0;
}
