// Benchmark, run by hand under Wine (not a test): what a left-handed (mirrored) animation costs
// against the same animation unmirrored, side by side in one run:
//   mirrored_animation_bench [--seconds N] [--rounds R] [FILE.ANI]
// (default: the generated library's "Pointrel app starting.ANI"). It times the making (once per
// choice, then the reuse of the file made), and at rest: each animation shown as the pointer over
// a window of its own for N seconds, alternating R rounds, with the process's processor time per
// second, and the animation's steps and frame rates. It fails (exit 1) where the animation could
// not be mirrored or its steps or rates differ from the original's; CTest runs it once, short,
// among the timing tests.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/gdi.h"
#include "tests/wine/support/wine_test_support.h"
#include "tests/wine/utility/bench_clock.h"
#include "tests/wine/utility/library_copy.h"
#include "utility/cursor/mirrored_animations_win.h"
#include "utility/records/cursor_role_table.h"

namespace {

using bench_clock::Median;
using bench_clock::Now;

HCURSOR shown = nullptr;

LRESULT CALLBACK ShowingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_SETCURSOR && shown) {
    ::SetCursor(shown);
    return TRUE;
  }
  return ::DefWindowProcA(window, message, wParam, lParam);
}

double ProcessorMs() {
  FILETIME creation, exited, kernel, user;
  ::GetProcessTimes(::GetCurrentProcess(), &creation, &exited, &kernel, &user);
  const auto ms = [](const FILETIME& t) {
    return static_cast<double>((static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 10000.0;
  };
  return ms(kernel) + ms(user);
}

// `cursor` as the pointer over a window of this process for `seconds`, messages pumped.
// Processor milliseconds per second of it.
double ShowAtRest(HCURSOR cursor, double seconds) {
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = ShowingProc;
  windowClass.hInstance = ::GetModuleHandleA(nullptr);
  windowClass.lpszClassName = "PointrelMirrorBench";
  ::RegisterClassA(&windowClass);
  HWND window = ::CreateWindowA("PointrelMirrorBench", "bench", WS_POPUP | WS_VISIBLE, 0, 0, 200, 200, nullptr, nullptr,
                                windowClass.hInstance, nullptr);
  shown = cursor;
  ::SetCursorPos(100, 100);
  ::SetCursor(cursor);
  const double startWall = Now(), startProcessor = ProcessorMs();
  MSG message;
  while (Now() - startWall < seconds * 1000) {
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&message);
  }
  const double perSecond = (ProcessorMs() - startProcessor) / seconds;
  shown = nullptr;
  ::DestroyWindow(window);
  return perSecond;
}

// Steps and the sum of their rates (jiffies), as the platform tells them.
using FrameInfo = HCURSOR(WINAPI*)(HCURSOR, DWORD, DWORD, DWORD*, DWORD*);
void DescribeSteps(HCURSOR animation, DWORD* steps, DWORD* jiffies) {
  const auto frameInfo = reinterpret_cast<FrameInfo>(
      reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleA("user32.dll"), "GetCursorFrameInfo")));
  *steps = 0;
  *jiffies = 0;
  DWORD count = 1;
  for (DWORD step = 0; frameInfo && step < count && step < 4096; ++step) {
    DWORD rate = 0;
    if (!frameInfo(animation, 0, step, &rate, &count)) break;
    ++*steps;
    *jiffies += rate;
  }
}

}  // namespace

int main(int argc, char** argv) {
  double seconds = 3;
  int rounds = 3;
  std::string file;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--seconds" && i + 1 < argc) {
      seconds = std::atof(argv[++i]);
    } else if (arg == "--rounds" && i + 1 < argc) {
      rounds = std::atoi(argv[++i]);
    } else {
      file = arg;
    }
  }
  if (seconds <= 0 || rounds < 1) return 2;
  const std::string folder = wine_test::MakeTempFolder("pointrel-mirror-bench");
  if (file.empty()) {
    library_copy::CopyGeneratedFolder("APPSTART", folder + "\\APPSTART");
    file = folder + "\\APPSTART\\Pointrel app starting.ANI";
  }
  HCURSOR original = platform::LoadCheckedCursorFile(file.c_str());
  if (!original) {
    std::fprintf(stderr, "%s: no animation to mirror\n", file.c_str());
    return 1;
  }
  // Made once per choice: the first call writes the mirrored file, the next ones load it again.
  double start = Now();
  HCURSOR mirrored = MirroredAnimation(kRoleAppStarting, platform::LoadCheckedCursorFile(file.c_str()));
  const double makeMs = Now() - start;
  start = Now();
  HCURSOR again = MirroredAnimation(kRoleAppStarting, platform::LoadCheckedCursorFile(file.c_str()));
  const double reuseMs = Now() - start;
  start = Now();
  HCURSOR plainLoad = platform::LoadCheckedCursorFile(file.c_str());
  const double loadMs = Now() - start;
  platform::ReleaseCursor(again);
  platform::ReleaseCursor(plainLoad);
  platform::CursorFileOrigin origin;
  if (!platform::GetCursorFileOrigin(mirrored, &origin) || std::string(origin.path) == file) {
    std::fprintf(stderr, "%s: not mirrored\n", file.c_str());
    return 1;
  }

  std::printf("%s\n", file.c_str());
  std::printf("making: the original loaded %.2f ms; mirrored the first time %.2f ms, again (the original and the file"
              " made, loaded) %.2f ms\n",
              loadMs, makeMs, reuseMs);
  DWORD steps[2], jiffies[2];
  DescribeSteps(original, &steps[0], &jiffies[0]);
  DescribeSteps(mirrored, &steps[1], &jiffies[1]);
  std::vector<double> processor[2];
  for (int round = 0; round < rounds; ++round) {
    for (int which = 0; which < 2; ++which) processor[which].push_back(ShowAtRest(which == 0 ? original : mirrored, seconds));
  }
  std::printf("at rest, shown as the pointer %d x %.1f s each, alternating (median of the rounds):\n", rounds, seconds);
  std::printf("%-11s %6s %12s %20s\n", "", "steps", "jiffies/loop", "processor ms per s");
  const char* names[2] = {"unmirrored", "mirrored"};
  for (int which = 0; which < 2; ++which) {
    std::printf("%-11s %6lu %12lu %20.2f\n", names[which], steps[which], jiffies[which], Median(processor[which]));
  }
  platform::ReleaseCursor(original);
  platform::ReleaseCursor(mirrored);
  RemoveMirroredAnimations();
  if (steps[0] < 2 || steps[1] != steps[0] || jiffies[1] != jiffies[0]) {
    std::fprintf(stderr, "the mirrored animation's steps or rates differ from the original's\n");
    return 1;
  }
  return 0;
}
