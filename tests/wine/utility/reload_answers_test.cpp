// The real Pointrel.EXE answering another program that reloads the system cursors: a program
// reloading every 100 ms for 10 s gets ten answers at most, then one message that names what
// happened; after the user's next choice a reload is answered again, every replaced role made
// at the pointer size in force then, within half a second.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/wine/support/cursor_trace.h"
#include "tests/wine/support/utility_fixture.h"
#include "utility/records/cursor_role_table.h"
#include "utility/resources/resource.h"

using namespace wine_test;

namespace {

constexpr UINT kSetCursors = 0x0057;  // SPI_SETCURSORS

// What a program sends after SystemParametersInfo(SPI_SETCURSORS, ..., SPIF_SENDCHANGE), to
// every top-level window, waiting for each (Wine refuses the reload itself, so it is sent here).
void BroadcastCursorReload() {
  DWORD_PTR result = 0;
  ::SendMessageTimeoutA(HWND_BROADCAST, WM_SETTINGCHANGE, kSetCursors, 0, SMTO_ABORTIFHUNG, 5000, &result);
}

size_t InstallsOf(const std::vector<TraceLine>& lines, size_t from, unsigned long id) {
  size_t count = 0;
  for (size_t i = from; i < lines.size(); ++i) count += lines[i].event == "install" && lines[i].id == id;
  return count;
}

TEST_F(MainDialogOnLibrary, AReloadingProgramGetsTenAnswersThenOneMessageAndAChoiceAnswersAgain) {
  Program program(UtilityIn(folder), folder, Traced());
  HWND dialog = Start(program);
  ASSERT_NE(dialog, nullptr);
  const size_t started = SettledTrace(traceFolder, kRoleCount).size();

  // Ten seconds of reloads, one every 100 ms.
  const DWORD floodStart = ::GetTickCount();
  for (DWORD slot = 0; slot < 100; ++slot) {
    SleepUntilElapsed(floodStart, slot * 100);
    BroadcastCursorReload();
  }
  HWND message = WaitForOwnWindow(program, "Pointrel Cursors");
  ASSERT_NE(message, nullptr) << "no message after the reloads";
  std::vector<TraceLine> lines = SettledTrace(traceFolder);
  const size_t answers = InstallsOf(lines, started, 32512);
  std::printf("%zu answers to 100 reloads in %lu ms, then the message\n", answers,
              static_cast<unsigned long>(::GetTickCount() - floodStart));
  EXPECT_GE(answers, 1u);
  EXPECT_LE(answers, 10u);
  EXPECT_EQ(InstallsOf(lines, started, 32645), answers) << "each answer installs every role";
  std::string said = MessageBoxText(message);
  for (char& c : said) c = c == '\n' ? ' ' : c;
  EXPECT_NE(said.find("ten times within a minute"), std::string::npos) << said;
  EXPECT_NE(said.find("pointer settings"), std::string::npos) << "names what happened: " << said;

  // Stopped: more reloads are not answered, and the message is not said twice.
  for (int i = 0; i < 3; ++i) BroadcastCursorReload();
  ::Sleep(1500);
  lines = SettledTrace(traceFolder);
  EXPECT_EQ(InstallsOf(lines, started, 32512), answers);
  size_t shown = 0;
  for (HWND window : FindTopLevelWindows("Pointrel Cursors")) shown += WindowProcess(window) == program.id();
  EXPECT_EQ(shown, 1u);
  ASSERT_TRUE(CloseMessageBox(message));

  // The user's choice: the next reload is answered, at the pointer size set meanwhile.
  Click(dialog, IDC_SIZING_LARGE);
  PointerSize larger(48);
  ASSERT_TRUE(larger.set);
  const size_t beforeReload = SettledTrace(traceFolder).size();
  const unsigned long sent = TraceClockOf(program.id());
  BroadcastCursorReload();
  lines = SettledTrace(traceFolder, beforeReload + kRoleCount);
  ASSERT_EQ(lines.size(), beforeReload + kRoleCount) << "every replaced role once";
  ExpectEveryRoleInstalled(lines, beforeReload, false);
  for (size_t i = beforeReload; i < lines.size(); ++i) {
    EXPECT_LE(lines[i].ms, sent + 500) << lines[i].id << " installed " << (lines[i].ms - sent) << " ms after the reload";
    if (lines[i].event == "install") {
      EXPECT_EQ(TracedSideOf(traceFolder, lines[i]).width, 48) << lines[i].id;
    }
  }
  std::printf("every role again at 48 pixels, the last %lu ms after the reload\n", lines.back().ms - sent);
  PressKey(dialog, VK_ESCAPE);
  EXPECT_TRUE(program.WaitForExit());
}

}  // namespace
