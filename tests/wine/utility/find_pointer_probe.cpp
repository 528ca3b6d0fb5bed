// A helper of find_pointer.sh, run in the session's prefix beside Pointrel and Wine's notepad:
//   find_pointer_probe keys COUNT
//       types COUNT keys into notepad and prints how long each took to arrive there (through
//       every low-level hook of the desktop): "keys <median> <slowest>" in milliseconds
//   find_pointer_probe stuck MS COUNT X Y
//       suspends the thread that owns the utility's "Pointrel" dialog, types COUNT keys as
//       above, moves the pointer to X,Y and prints "moved <ms>" on the clock of the utility's
//       trace, prints "shake" (the caller shakes now), and resumes the thread MS after it
//       stopped it
// Each line is flushed as it is printed, so the caller can act on it.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/wine/support/utility_fixture.h"

namespace {

double NowMs() {
  LARGE_INTEGER frequency, count;
  ::QueryPerformanceFrequency(&frequency);
  ::QueryPerformanceCounter(&count);
  return 1000.0 * static_cast<double>(count.QuadPart) / static_cast<double>(frequency.QuadPart);
}

void Say(const std::string& line) {
  std::printf("%s\n", line.c_str());
  std::fflush(stdout);
}

LRESULT TextLength(HWND edit) {
  DWORD_PTR length = 0;
  ::SendMessageTimeoutA(edit, WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL, 5000, &length);
  return static_cast<LRESULT>(length);
}

// Each key typed once the last has arrived; the milliseconds each took, or 5000 where it never
// did. A key slower than a second ends the run: the verdict is in, and the caller's time short.
std::vector<double> TypeIntoNotepad(int count) {
  std::vector<double> took;
  HWND notepad = ::FindWindowA("Notepad", nullptr);
  HWND edit = notepad ? ::FindWindowExA(notepad, nullptr, "Edit", nullptr) : nullptr;
  if (!edit) {
    Say("no notepad");
    return took;
  }
  ::SetForegroundWindow(notepad);
  for (int i = 0; i < count; ++i) {
    const LRESULT before = TextLength(edit);
    INPUT presses[2] = {};
    presses[0].type = presses[1].type = INPUT_KEYBOARD;
    presses[0].ki.wVk = presses[1].ki.wVk = 'K';
    presses[1].ki.dwFlags = KEYEVENTF_KEYUP;
    const double start = NowMs();
    ::SendInput(2, presses, sizeof(INPUT));
    double arrived = start + 5000;
    while (NowMs() < start + 5000) {
      if (TextLength(edit) != before) {
        arrived = NowMs();
        break;
      }
      ::Sleep(1);
    }
    took.push_back(arrived - start);
    if (took.back() > 1000) break;
  }
  return took;
}

std::string Figures(std::vector<double> took) {
  if (took.empty()) return "keys none";
  std::sort(took.begin(), took.end());
  char line[64];
  std::snprintf(line, sizeof line, "keys %.1f %.1f", took[took.size() / 2], took.back());
  return line;
}

// The thread that owns the utility's dialog, and the utility's process.
DWORD DialogThread(DWORD* process) {
  for (HWND window : wine_test::FindTopLevelWindows("Pointrel")) {
    if (wine_test::ClassName(window) == "#32770") return ::GetWindowThreadProcessId(window, process);
  }
  return 0;
}

void MoveTo(int x, int y) {
  INPUT move = {};
  move.type = INPUT_MOUSE;
  move.mi.dx = x * 65535 / (::GetSystemMetrics(SM_CXSCREEN) - 1);
  move.mi.dy = y * 65535 / (::GetSystemMetrics(SM_CYSCREEN) - 1);
  move.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  ::SendInput(1, &move, sizeof(INPUT));
}

int Stuck(DWORD ms, int count, int x, int y) {
  DWORD process = 0;
  const DWORD id = DialogThread(&process);
  HANDLE thread = id ? ::OpenThread(THREAD_SUSPEND_RESUME, FALSE, id) : nullptr;
  if (!thread || ::SuspendThread(thread) == static_cast<DWORD>(-1)) {
    Say("cannot suspend the dialog's thread");
    return 1;
  }
  const DWORD stopped = ::GetTickCount();
  Say("suspended " + std::to_string(wine_test::TraceClockOf(process)));
  Say(Figures(TypeIntoNotepad(count)));
  const unsigned long moved = wine_test::TraceClockOf(process);
  MoveTo(x, y);
  Say("moved " + std::to_string(moved));
  Say("shake");
  wine_test::SleepUntilElapsed(stopped, ms);
  ::ResumeThread(thread);
  ::CloseHandle(thread);
  Say("resumed " + std::to_string(wine_test::TraceClockOf(process)));
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string command = argc > 1 ? argv[1] : "";
  if (command == "keys" && argc == 3) {
    const std::vector<double> took = TypeIntoNotepad(std::atoi(argv[2]));
    Say(Figures(took));
    return took.empty() ? 1 : 0;
  }
  if (command == "stuck" && argc == 6) {
    return Stuck(static_cast<DWORD>(std::atoi(argv[2])), std::atoi(argv[3]), std::atoi(argv[4]), std::atoi(argv[5]));
  }
  std::fprintf(stderr, "usage: %s keys COUNT | stuck MS COUNT X Y\n", argv[0]);
  return 2;
}
