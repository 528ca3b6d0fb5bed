// The real Pointrel.EXE's endings: every way out restores the defaults once and writes
// nothing; a log-off, vetoed or not; the lists and stored choices on the library.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/wine/support/utility_fixture.h"
#include "utility/records/cursor_role_table.h"
#include "utility/resources/resource.h"

using namespace wine_test;

namespace {

struct WayOut {
  const char* name;
  void (*leave)(HWND dialog);
};

class WaysOut : public MainDialog, public ::testing::WithParamInterface<WayOut> {};

TEST_P(WaysOut, EndTheUtilityRestoringTheDefaultsOnceAndWriteNothing) {
  WriteSettings("WhtClr=4\r\n");
  const std::string settings = ReadFile(SettingsFilePath());
  Program program(UtilityIn(folder), folder, Traced());
  HWND dialog = Start(program);
  ASSERT_NE(dialog, nullptr);
  Click(dialog, IDC_WHITE_FIRST + 6);
  Click(dialog, IDC_HIDE_MINIMIZED);
  const size_t before = SettledTrace(traceFolder, 1).size();
  GetParam().leave(dialog);
  EXPECT_TRUE(program.WaitForExit()) << GetParam().name;
  EXPECT_EQ(ReadFile(SettingsFilePath()), settings);
  ExpectDefaultsRestored(ReadTrace(traceFolder), before);
}

INSTANTIATE_TEST_SUITE_P(
    All, WaysOut,
    ::testing::Values(WayOut{"Escape", [](HWND d) { PressKey(d, VK_ESCAPE); }},
                      WayOut{"ExitRestore", [](HWND d) { Click(d, IDC_EXIT_RESTORE); }},
                      WayOut{"CloseBox", [](HWND d) { ::PostMessageA(d, WM_SYSCOMMAND, SC_CLOSE, 0); }},
                      WayOut{"CloseMessage", [](HWND d) { ::PostMessageA(d, WM_CLOSE, 0, 0); }},
                      WayOut{"AltF4",
                             [](HWND d) {
                               GUITHREADINFO info{};
                               info.cbSize = sizeof info;
                               HWND focus = d;
                               if (::GetGUIThreadInfo(::GetWindowThreadProcessId(d, nullptr), &info) && info.hwndFocus)
                                 focus = info.hwndFocus;
                               ::PostMessageA(focus, WM_SYSKEYDOWN, VK_F4, 1 | (KF_ALTDOWN << 16));
                             }}),
    [](const ::testing::TestParamInfo<WayOut>& info) { return std::string(info.param.name); });


TEST_F(MainDialog, EndSessionRestoresTheDefaults) {
  Program program(UtilityIn(folder), folder, Traced());
  HWND dialog = Start(program);
  ASSERT_NE(dialog, nullptr);
  const size_t started = SettledTrace(traceFolder, 1).size();
  SendTo(dialog, WM_ENDSESSION, TRUE, 0);
  ExpectDefaultsRestored(SettledTrace(traceFolder, started + 9), started);
}

// A log-off vetoed after the query: the defaults went back at the query and the blinking stays
// stopped, although its radio stays selected and the utility goes on.
TEST_F(MainDialog, BlinkingStaysStoppedAfterAVetoedLogOff) {
  WriteSettings("Blink=1\r\n");
  ::SetCursorPos(3, 3);  // at rest, away from the dialog
  Program program(UtilityIn(folder), folder, Traced());
  HWND dialog = Start(program);
  ASSERT_NE(dialog, nullptr);
  const size_t started = SettledTrace(traceFolder, kRoleCount).size();
  // Rapid hides after eight still ticks of 200 ms, then alternates at every tick.
  ASSERT_TRUE(WaitFor([&] { return ReadTrace(traceFolder).size() >= started + 4; }, 6000)) << "no blinking";
  EXPECT_EQ(SendTo(dialog, WM_QUERYENDSESSION, 0, 0), TRUE);
  SendTo(dialog, WM_ENDSESSION, FALSE, 0);
  const std::vector<TraceLine> atQuery = ReadTrace(traceFolder);
  ASSERT_GE(atQuery.size(), EndingLineCount());
  const unsigned long lastRestored = ExpectedRestoreOrder().back();
  EXPECT_EQ(atQuery.back().event + " " + std::to_string(atQuery.back().id),
            ExpectedRestoreEvent(lastRestored) + " " + std::to_string(lastRestored))
      << "the defaults are the last thing installed";
  ::Sleep(2500);  // past a whole Rapid count
  EXPECT_EQ(ReadTrace(traceFolder).size(), atQuery.size()) << "a blink after the query";
  EXPECT_TRUE(IsChecked(dialog, IDC_BLINK_RAPID));
  EXPECT_FALSE(program.HasExited());
}

// On the generated library, with static monochrome choices for every role: a colour click
// re-installs every cursor at once in the new colour, and Cancel re-installs the saved ones.

TEST_F(MainDialogOnLibrary, QueryEndSessionRestoresTheDefaultsOnceAndTheUtilityGoesOn) {
  Program program(UtilityIn(folder), folder, Traced());
  HWND dialog = Start(program);
  ASSERT_NE(dialog, nullptr);
  const size_t started = SettledTrace(traceFolder, 1).size();
  EXPECT_EQ(SendTo(dialog, WM_QUERYENDSESSION, 0, 0), TRUE) << "the log-off may go on";
  std::vector<TraceLine> lines = SettledTrace(traceFolder, started + EndingLineCount());
  ExpectDefaultsRestored(lines, started);
  EXPECT_EQ(SendTo(dialog, WM_QUERYENDSESSION, 0, 0), TRUE) << "asked again, same answer";
  // A log-off vetoed elsewhere: the utility goes on; a choice made now installs again.
  SendTo(dialog, WM_ENDSESSION, FALSE, 0);
  EXPECT_FALSE(program.HasExited());
  Click(dialog, IDC_WHITE_FIRST + 1);
  EXPECT_TRUE(IsPushed(dialog, IDC_WHITE_FIRST + 1));
  lines = SettledTrace(traceFolder, started + EndingLineCount() + kRoleCount);
  ASSERT_EQ(lines.size(), started + EndingLineCount() + kRoleCount) << "every role installed again after the query";
  ExpectEveryRoleInstalled(lines, started + EndingLineCount(), true);
  // Leaving now puts nothing back: that happened once, at the query.
  const size_t beforeEnd = lines.size();
  PressKey(dialog, VK_ESCAPE);
  EXPECT_TRUE(program.WaitForExit());
  EXPECT_EQ(ReadTrace(traceFolder).size(), beforeEnd);
  EXPECT_EQ(ReadFile(SettingsFilePath()).find("WhtClr"), std::string::npos) << "nothing written";
}

TEST_F(MainDialogOnLibrary, ListsHoldTheLibraryAndShowTheStoredChoices) {
  Program program(UtilityIn(folder), folder);
  HWND dialog = Start(program);
  ASSERT_NE(dialog, nullptr);
  struct Expected {
    int list;
    const char* selected;
    int specials;
  } expected[] = {{IDC_LIST_NORMAL, "[sm]\tGiant white arrow", 1},
                  {IDC_LIST_APPSTART, "<Same as Normal>", 2},
                  {IDC_LIST_BUSY, "[sm]\tHamster on treadmill", 1},
                  {IDC_LIST_IBEAM, "[sm]\tHuge I-beam", 1}};
  for (const Expected& e : expected) {
    HWND list = ::GetDlgItem(dialog, e.list);
    const int selection = static_cast<int>(SendTo(list, LB_GETCURSEL));
    ASSERT_GE(selection, 0) << e.list;
    EXPECT_EQ(ListBoxText(list, selection), e.selected) << e.list;
    EXPECT_NE(SendTo(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("<Default>")), LB_ERR);
    EXPECT_EQ(SendTo(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("<Same as Normal>")) != LB_ERR,
              e.specials == 2);
  }
  EXPECT_TRUE(IsChecked(dialog, IDC_SIZING_LARGE));
  EXPECT_FALSE(IsChecked(dialog, IDC_SIZING_DEFAULT));
}

// The small window icon (136) shows at the left of the caption: the navy disc of its picture.

}  // namespace

namespace {

// The user's scheme asked for before the run's first install: true when the first line of the
// run's trace (from line `from`) is that request, and it is the run's only one.
bool SchemeAskedFirst(const std::vector<TraceLine>& lines, size_t from) {
  if (lines.size() <= from || lines[from].event != "scheme" || lines[from].kind != "refused") return false;
  for (size_t i = from + 1; i < lines.size(); ++i) {
    if (lines[i].event == "scheme") return false;
  }
  return true;
}

// A run that ended without putting the cursors back leaves its marker: the next start asks for
// the user's own scheme before it keeps or installs anything; a clean ending takes the marker.
TEST_F(MainDialog, AStartAfterAnUncleanEndAsksForTheUsersSchemeFirst) {
  ASSERT_TRUE(WriteFile(RunMarkerPath(), ""));
  Program program(UtilityIn(folder), folder, Traced());
  HWND dialog = Start(program);
  ASSERT_NE(dialog, nullptr);
  const std::vector<TraceLine> lines = SettledTrace(traceFolder, 2);
  EXPECT_TRUE(SchemeAskedFirst(lines, 0)) << (lines.empty() ? "no trace" : lines[0].event + " " + lines[0].kind);
  EXPECT_TRUE(FileExists(RunMarkerPath())) << "this run's own marker";
  PressKey(dialog, VK_ESCAPE);
  EXPECT_TRUE(program.WaitForExit());
  EXPECT_FALSE(FileExists(RunMarkerPath())) << "gone with the clean ending";
}

// A clean start asks for nothing before its installs; killed, it leaves its marker (its guard
// puts the cursors back, the marker stays), and the next start asks once more.
TEST_F(MainDialog, AKilledRunLeavesItsMarkerForTheNextStart) {
  {
    Program program(UtilityIn(folder), folder, Traced());
    HWND dialog = Start(program);
    ASSERT_NE(dialog, nullptr);
    const std::vector<TraceLine> lines = SettledTrace(traceFolder, 2);
    ASSERT_FALSE(lines.empty());
    EXPECT_NE(lines[0].event, "scheme") << "a clean start asks for no scheme";
    program.Kill();
  }
  EXPECT_TRUE(FileExists(RunMarkerPath()));
  const size_t before = SettledTrace(traceFolder, 0).size();  // the guard's ending included
  Program again(UtilityIn(folder), folder, Traced());
  HWND dialog = Start(again);
  ASSERT_NE(dialog, nullptr);
  const std::vector<TraceLine> lines = SettledTrace(traceFolder, before + 2);
  EXPECT_TRUE(SchemeAskedFirst(lines, before));
  PressKey(dialog, VK_ESCAPE);
  EXPECT_TRUE(again.WaitForExit());
}

}  // namespace
