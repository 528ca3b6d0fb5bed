// No stuck cursors: the real Pointrel.EXE ended from outside, crashed, or ended as usual, with
// its guard putting the defaults back only when the utility itself did not.
#include <windows.h>

#include <gtest/gtest.h>
#include <windows.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "tests/wine/support/cursor_trace.h"
#include "tests/wine/support/utility_fixture.h"
#include "utility/records/cursor_role_table.h"
#include "tests/wine/utility/library_copy.h"
#include "utility/resources/resource.h"

using namespace wine_test;

namespace {

// The running Pointrel.EXE processes other than `utility`: its guard, once the starter has gone.
std::vector<DWORD> OtherPointrelProcesses(DWORD utility) {
  std::vector<DWORD> found = ProcessesNamed("Pointrel.EXE");
  found.erase(std::remove(found.begin(), found.end(), utility), found.end());
  return found;
}

// Suspends (or resumes) every thread of process `id`; the count of threads it reached.
int SetThreadsSuspended(DWORD id, bool suspend) {
  HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return 0;
  int reached = 0;
  THREADENTRY32 entry = {};
  entry.dwSize = sizeof entry;
  for (BOOL more = ::Thread32First(snapshot, &entry); more; more = ::Thread32Next(snapshot, &entry)) {
    if (entry.th32OwnerProcessID != id) continue;
    if (HANDLE thread = ::OpenThread(THREAD_SUSPEND_RESUME, FALSE, entry.th32ThreadID)) {
      reached += (suspend ? ::SuspendThread(thread) : ::ResumeThread(thread)) != static_cast<DWORD>(-1);
      ::CloseHandle(thread);
    }
  }
  ::CloseHandle(snapshot);
  return reached;
}

// The lines since `from`, once they hold at least `count` or a second has passed.
std::vector<TraceLine> LinesWithin(const std::string& folder, size_t from, size_t count, DWORD ms) {
  std::vector<TraceLine> lines;
  WaitFor([&] {
    lines = ReadTrace(folder);
    return lines.size() >= from + count;
  }, ms);
  return std::vector<TraceLine>(lines.begin() + static_cast<long>(std::min(from, lines.size())), lines.end());
}

// The user's scheme asked for (and refused, as Wine refuses it), then every role's default.
void ExpectDefaultsInOrder(const std::vector<TraceLine>& lines) { ExpectDefaultsRestored(lines, 0); }

class Guard : public MainDialogOnLibrary {
 protected:
  // The utility up, its guard running, and its start-up installs in the trace.
  HWND StartGuarded(Program& program) {
    HWND dialog = Start(program);
    EXPECT_NE(dialog, nullptr);
    EXPECT_TRUE(WaitFor([&] { return OtherPointrelProcesses(program.id()).size() == 1; }))
        << OtherPointrelProcesses(program.id()).size() << " other Pointrel processes";
    SettledTrace(traceFolder, kRoleCount);
    return dialog;
  }

  // A static install of an image that draws nothing: the blank of a hidden phase.
  bool IsBlank(const TraceLine& line) const {
    if (line.event != "install" || line.kind != "static") return false;
    const cursor_record::CursorPicture picture = TracedPicture(traceFolder, line);
    return !picture.andMask.empty() &&
           std::all_of(picture.andMask.begin(), picture.andMask.end(), [](uint8_t bit) { return bit == 1; }) &&
           std::all_of(picture.pixels.begin(), picture.pixels.end(), [](uint32_t pixel) { return (pixel & 0xFFFFFF) == 0; });
  }

  bool GuardGoneWithin(DWORD utility, DWORD ms) {
    return WaitFor([&] { return OtherPointrelProcesses(utility).empty(); }, ms);
  }
};

TEST_F(Guard, TerminatedUtilityGetsTheDefaultsBackWithinASecond) {
  Program program(UtilityIn(folder), folder, Traced());
  ASSERT_NE(StartGuarded(program), nullptr);
  const size_t before = ReadTrace(traceFolder).size();
  const DWORD utility = program.id();
  const DWORD killed = ::GetTickCount();
  program.Kill();
  const std::vector<TraceLine> after = LinesWithin(traceFolder, before, EndingLineCount(), 1000);
  std::printf("the last default %lu ms after the kill\n", static_cast<unsigned long>(::GetTickCount() - killed));
  ExpectDefaultsInOrder(after);
  EXPECT_TRUE(GuardGoneWithin(utility, 1000)) << "no guard is left";
}

// The guard's start overlaps the dialog's, yet it has kept the true defaults before the first
// install: killed right at that install, the utility's defaults come back from the guard.
TEST_F(Guard, KilledAtItsFirstInstallTheDefaultsComeBackFromTheGuardThatKeptThemFirst) {
  Program program(UtilityIn(folder), folder, Traced());
  ASSERT_TRUE(program.started());
  const DWORD utility = program.id();
  // The guard held up at its start for a second and a half: the utility must wait for it.
  std::vector<DWORD> guard;
  ASSERT_TRUE(WaitFor([&] {
    guard = OtherPointrelProcesses(utility);
    return !guard.empty();
  }, 5000)) << "no guard started";
  ASSERT_GT(SetThreadsSuspended(guard.front(), true), 0);
  ::Sleep(1500);
  SetThreadsSuspended(guard.front(), false);
  std::vector<TraceLine> whole;
  const auto firstInstall = [&] {
    for (size_t i = 0; i < whole.size(); ++i) {
      if (whole[i].event == "install" || whole[i].event == "default") return static_cast<long>(i);
    }
    return -1L;
  };
  ASSERT_TRUE(WaitFor([&] {
    whole = ReadWholeTrace(traceFolder);
    return firstInstall() >= 0;
  }, 10000)) << "no install";
  program.Kill();
  const long first = firstInstall();
  bool guardKeptBefore = false;
  for (long i = 0; i < first; ++i) {
    guardKeptBefore = guardKeptBefore || (whole[i].event == "kept" && whole[i].id != utility);
  }
  EXPECT_TRUE(guardKeptBefore) << "the guard had kept the defaults before the utility's first install";
  // An install begun before the kill may still land: the trace holds still first.
  const std::vector<TraceLine> settled = SettledTrace(traceFolder, ReadTrace(traceFolder).size());
  std::vector<TraceLine> ending;
  for (size_t i = 0; i < settled.size(); ++i) {
    if (settled[i].event == "scheme") ending.assign(settled.begin() + static_cast<long>(i), settled.end());
  }
  ExpectDefaultsInOrder(ending);
  EXPECT_TRUE(GuardGoneWithin(utility, 1000));
}

TEST_F(Guard, TerminatedWhileHiddenBringsThePointerBack) {
  WriteSettings("Normal=Giant white arrow.CUR\r\nIbeam=Huge I-beam.CUR\r\nBlink=1\r\n");
  Program program(UtilityIn(folder), folder, Traced());
  ASSERT_NE(StartGuarded(program), nullptr);
  // Rapid blinking hides Normal and I-Beam once the pointer has rested: the blank installed for both.
  std::vector<TraceLine> lines;
  ASSERT_TRUE(WaitFor([&] {
    lines = ReadTrace(traceFolder);
    return lines.size() >= 2 && lines[lines.size() - 2].id == 32512 && lines.back().id == 32513 &&
           IsBlank(lines[lines.size() - 2]) && IsBlank(lines.back());
  }, 8000)) << "no hidden phase seen";
  const DWORD utility = program.id();
  const size_t before = lines.size();
  program.Kill();
  ExpectDefaultsInOrder(LinesWithin(traceFolder, before, EndingLineCount(), 1000));
  EXPECT_TRUE(GuardGoneWithin(utility, 1000));
}

struct NormalEnding {
  const char* name;
  void (*end)(HWND dialog);
};

class GuardNormalEnding : public Guard, public ::testing::WithParamInterface<NormalEnding> {};

TEST_P(GuardNormalEnding, TheUtilitysOwnDefaultsAndNothingAfter) {
  Program program(UtilityIn(folder), folder, Traced());
  HWND dialog = StartGuarded(program);
  ASSERT_NE(dialog, nullptr);
  const size_t before = ReadTrace(traceFolder).size();
  const DWORD utility = program.id();
  GetParam().end(dialog);
  ASSERT_TRUE(program.WaitForExit());
  EXPECT_TRUE(GuardGoneWithin(utility, 1000)) << "the guard ends with the utility";
  ::Sleep(300);
  ExpectDefaultsInOrder(LinesWithin(traceFolder, before, EndingLineCount(), 300));
}

INSTANTIATE_TEST_SUITE_P(
    Endings, GuardNormalEnding,
    ::testing::Values(NormalEnding{"Escape", [](HWND d) { PressKey(d, VK_ESCAPE); }},
                      NormalEnding{"ExitRestore", [](HWND d) { Click(d, IDC_EXIT_RESTORE); }}),
    [](const ::testing::TestParamInfo<NormalEnding>& info) { return std::string(info.param.name); });

// A thread started inside the utility at an address that faults: nothing of the program's own
// exists for this, the crash comes from outside. The guard is held still first, so the defaults
// can only come from the utility itself.
TEST_F(Guard, CrashInsideTheUtilityRestoresTheDefaultsBeforeItDies) {
  Program program(UtilityIn(folder), folder, Traced());
  ASSERT_NE(StartGuarded(program), nullptr);
  const std::vector<DWORD> guards = OtherPointrelProcesses(program.id());
  ASSERT_EQ(guards.size(), 1u);
  ASSERT_GT(SetThreadsSuspended(guards[0], true), 0);
  const size_t before = ReadTrace(traceFolder).size();
  HANDLE process = ::OpenProcess(PROCESS_CREATE_THREAD | PROCESS_QUERY_INFORMATION | PROCESS_VM_OPERATION |
                                     PROCESS_VM_WRITE | PROCESS_VM_READ | SYNCHRONIZE,
                                 FALSE, program.id());
  ASSERT_NE(process, nullptr);
  HANDLE thread = ::CreateRemoteThread(process, nullptr, 0, reinterpret_cast<LPTHREAD_START_ROUTINE>(0x10), nullptr, 0,
                                       nullptr);
  ASSERT_NE(thread, nullptr);
  ::CloseHandle(thread);
  EXPECT_EQ(::WaitForSingleObject(process, 10000), WAIT_OBJECT_0) << "the crash ends the utility";
  ::CloseHandle(process);
  const std::vector<TraceLine> after = SettledTrace(traceFolder, before + EndingLineCount());
  ExpectDefaultsInOrder(std::vector<TraceLine>(after.begin() + static_cast<long>(before), after.end()));
  // Let go, the guard finds the defaults restored and ends without a change.
  SetThreadsSuspended(guards[0], false);
  EXPECT_TRUE(GuardGoneWithin(program.id(), 2000));
  EXPECT_EQ(ReadTrace(traceFolder).size(), after.size());
}

// Types a key as the keyboard does (the platform marks it injected; typing it is all the same).
void TypeKey(WORD key) {
  INPUT presses[2] = {};
  presses[0].type = presses[1].type = INPUT_KEYBOARD;
  presses[0].ki.wVk = presses[1].ki.wVk = key;
  presses[1].ki.dwFlags = KEYEVENTF_KEYUP;
  ::SendInput(2, presses, sizeof(INPUT));
}

bool TraceSays(const std::string& folder, const std::string& text) {
  return ReadFile(folder + "\\trace.txt").find(text) != std::string::npos;
}

// The guard killed: the utility starts a late one within a second, which keeps the pictures of
// the true defaults the utility hands it (by then the platform may show Pointrel's own cursors)
// and puts back all fourteen when the utility is killed with the pointer hidden.
TEST_F(Guard, AKilledGuardIsStartedAgainAndPutsBackEveryDefaultWhenTheUtilityDiesHidden) {
  WriteLibrarySettings("HideTyping=1\r\n");
  Program program(UtilityIn(folder), folder, Traced());
  ASSERT_NE(StartGuarded(program), nullptr);
  const DWORD utility = program.id();
  const std::vector<DWORD> first = OtherPointrelProcesses(utility);
  ASSERT_EQ(first.size(), 1u);
  HANDLE guard = ::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, first[0]);
  ASSERT_NE(guard, nullptr);
  const DWORD killed = ::GetTickCount();
  ::TerminateProcess(guard, 1);
  ::WaitForSingleObject(guard, 5000);
  ::CloseHandle(guard);
  std::vector<DWORD> late;
  ASSERT_TRUE(WaitFor([&] {
    late = OtherPointrelProcesses(utility);
    return late.size() == 1 && late[0] != first[0];
  }, 5000)) << "no guard started again";
  const DWORD restartMs = ::GetTickCount() - killed;
  std::printf("a new guard %lu ms after the kill\n", static_cast<unsigned long>(restartMs));
  EXPECT_LE(restartMs, 1000u);
  EXPECT_TRUE(WaitFor([&] { return TraceSays(traceFolder, " kept " + std::to_string(late[0]) + " handed"); }, 5000))
      << "the late guard kept the pictures its utility handed it";
  char temporary[MAX_PATH] = "";
  ::GetTempPathA(sizeof temporary, temporary);
  const std::string handed = std::string(temporary) + "Pointrel defaults " + std::to_string(utility);
  EXPECT_TRUE(WaitFor([&] { return ::GetFileAttributesA(handed.c_str()) == INVALID_FILE_ATTRIBUTES; }, 5000))
      << handed << " is left";

  // Hidden by typing, then the utility killed: the late guard puts every default back.
  const size_t before = ReadTrace(traceFolder).size();
  TypeKey(VK_BACK);
  const std::vector<TraceLine> hidden = LinesWithin(traceFolder, before, kRoleCount, 5000);
  ASSERT_EQ(hidden.size(), kRoleCount) << "typing hid the pointer";
  for (const TraceLine& line : hidden) EXPECT_TRUE(IsBlank(line)) << line.id;
  ::Sleep(300);
  const size_t killedAt = ReadTrace(traceFolder).size();
  program.Kill();
  const std::vector<TraceLine> ending = LinesWithin(traceFolder, killedAt, EndingLineCount(), 2000);
  ExpectDefaultsInOrder(ending);
  EXPECT_TRUE(GuardGoneWithin(utility, 2000));
}

TEST_F(Guard, HandOverStartsNoSecondGuardAndAGuardKilledAloneChangesNothing) {
  Program program(UtilityIn(folder), folder, Traced());
  HWND dialog = StartGuarded(program);
  ASSERT_NE(dialog, nullptr);
  Program second(UtilityIn(folder), folder);
  ASSERT_TRUE(second.WaitForExit());
  ::Sleep(500);
  const std::vector<DWORD> guards = OtherPointrelProcesses(program.id());
  ASSERT_EQ(guards.size(), 1u) << "exactly one guard";

  const size_t before = ReadTrace(traceFolder).size();
  HANDLE guard = ::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, guards[0]);
  ASSERT_NE(guard, nullptr);
  ::TerminateProcess(guard, 1);
  EXPECT_EQ(::WaitForSingleObject(guard, 5000), WAIT_OBJECT_0);
  ::CloseHandle(guard);
  ::Sleep(500);
  EXPECT_EQ(ReadTrace(traceFolder).size(), before) << "no cursor changed";
  EXPECT_FALSE(program.HasExited());
  // Still working: a choice installs its cursor.
  Click(dialog, IDC_SIZING_DEFAULT);
  EXPECT_GT(SettledTrace(traceFolder, before + 1).size(), before);
  PressKey(dialog, VK_ESCAPE);
  EXPECT_TRUE(program.WaitForExit());
}

}  // namespace
