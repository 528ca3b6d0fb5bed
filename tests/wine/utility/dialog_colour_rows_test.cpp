// The real Pointrel.EXE's two colour rows: which buttons look pressed, what a click
// installs and saves, and Cancel.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/wine/support/utility_fixture.h"
#include "utility/records/cursor_role_table.h"
#include "utility/resources/resource.h"

using namespace wine_test;

namespace {

TEST_F(MainDialog, ColourRowsStandEdgeToEdgeWithTheStoredButtonsPressed) {
  WriteSettings("WhtClr=3\r\nBlkClr=12\r\n");
  Program program(UtilityIn(folder), folder);
  HWND dialog = Start(program);
  ASSERT_NE(dialog, nullptr);
  for (int first : {IDC_WHITE_FIRST, IDC_BLACK_FIRST}) {
    const RECT anchor = ClientRect(dialog, ::GetDlgItem(dialog, first));
    for (int k = 1; k < 16; ++k) {
      SCOPED_TRACE("button " + std::to_string(first + k));
      const RECT previous = ClientRect(dialog, ::GetDlgItem(dialog, first + k - 1));
      const RECT got = ClientRect(dialog, ::GetDlgItem(dialog, first + k));
      EXPECT_EQ(got.left, previous.right) << "no gap, no overlap";
      EXPECT_EQ(got.left - anchor.left, k * (anchor.right - anchor.left));
      EXPECT_EQ(got.top, anchor.top);
      EXPECT_EQ(got.right - got.left, anchor.right - anchor.left);
      EXPECT_EQ(got.bottom - got.top, anchor.bottom - anchor.top);
    }
  }
  const std::vector<int> pressed = {IDC_WHITE_FIRST + 3, IDC_BLACK_FIRST + 12};
  EXPECT_EQ(PushedColourButtons(dialog), pressed);
  // The pictures follow the state: down has a black corner, up a white one.
  EXPECT_EQ(CornerColour(::GetDlgItem(dialog, IDC_WHITE_FIRST + 3)), RGB(0, 0, 0));
  EXPECT_EQ(CornerColour(::GetDlgItem(dialog, IDC_WHITE_FIRST)), RGB(255, 255, 255));
  EXPECT_EQ(CornerColour(::GetDlgItem(dialog, IDC_BLACK_FIRST + 12)), RGB(0, 0, 0));
  EXPECT_EQ(CornerColour(::GetDlgItem(dialog, IDC_BLACK_LAST)), RGB(255, 255, 255));
  PressKey(dialog, VK_ESCAPE);
  EXPECT_TRUE(program.WaitForExit());
}

TEST_F(MainDialog, DefaultsPressWhiteAboveAndBlackBelow) {
  Program program(UtilityIn(folder), folder);
  HWND dialog = Start(program);
  ASSERT_NE(dialog, nullptr);
  const std::vector<int> pressed = {IDC_WHITE_FIRST, IDC_BLACK_LAST};
  EXPECT_EQ(PushedColourButtons(dialog), pressed);
}

// Hand-edited colours outside the palette: that row shows nothing pressed, and its first
// click presses exactly the button clicked.
TEST_F(MainDialog, ColourOutsideThePaletteShowsNoButtonPressedUntilAClick) {
  WriteSettings("WhtClr=16\r\nBlkClr=-1\r\n");
  Program program(UtilityIn(folder), folder);
  HWND dialog = Start(program);
  ASSERT_NE(dialog, nullptr);
  EXPECT_TRUE(PushedColourButtons(dialog).empty());
  Click(dialog, IDC_WHITE_FIRST + 5);
  Click(dialog, IDC_BLACK_FIRST + 2);
  const std::vector<int> pressed = {IDC_WHITE_FIRST + 5, IDC_BLACK_FIRST + 2};
  EXPECT_EQ(PushedColourButtons(dialog), pressed);
  EXPECT_FALSE(program.HasExited());
}


TEST_F(MainDialog, ColourClicksMoveThePressedLookAndOkSavesThem) {
  Program program(UtilityIn(folder), folder);
  HWND dialog = Start(program);
  ASSERT_NE(dialog, nullptr);
  Click(dialog, IDC_WHITE_FIRST + 1);  // red in the upper row
  std::vector<int> pressed = {IDC_WHITE_FIRST + 1, IDC_BLACK_LAST};
  EXPECT_EQ(PushedColourButtons(dialog), pressed);
  EXPECT_EQ(CornerColour(::GetDlgItem(dialog, IDC_WHITE_FIRST + 1)), RGB(0, 0, 0));
  EXPECT_EQ(CornerColour(::GetDlgItem(dialog, IDC_WHITE_FIRST)), RGB(255, 255, 255));
  Click(dialog, IDC_WHITE_FIRST + 1);  // the same again: stays pressed
  EXPECT_EQ(PushedColourButtons(dialog), pressed);
  // Swap: black above, white below.
  Click(dialog, IDC_WHITE_LAST);
  Click(dialog, IDC_BLACK_FIRST);
  pressed = {IDC_WHITE_LAST, IDC_BLACK_FIRST};
  EXPECT_EQ(PushedColourButtons(dialog), pressed);
  EXPECT_FALSE(FileExists(SettingsFilePath())) << "a click alone writes nothing";
  Click(dialog, IDC_OK);
  ASSERT_TRUE(WaitFor([&] { return ::IsIconic(dialog) != FALSE; }));
  const std::string content = ReadFile(SettingsFilePath());
  EXPECT_EQ(ValueInFile(content, "WhtClr"), "15") << content;
  EXPECT_EQ(ValueInFile(content, "BlkClr"), "0") << content;
}

TEST_F(MainDialog, CancelShowsTheSavedColoursAgainAndMinimises) {
  WriteSettings("WhtClr=2\r\n");
  Program program(UtilityIn(folder), folder);
  HWND dialog = Start(program);
  ASSERT_NE(dialog, nullptr);
  Click(dialog, IDC_WHITE_FIRST + 9);
  Click(dialog, IDC_BLACK_FIRST + 4);
  Click(dialog, IDC_CANCEL);
  EXPECT_TRUE(WaitFor([&] { return ::IsIconic(dialog) != FALSE; }));
  const std::vector<int> pressed = {IDC_WHITE_FIRST + 2, IDC_BLACK_LAST};
  EXPECT_EQ(PushedColourButtons(dialog), pressed);
  EXPECT_EQ(ReadFile(SettingsFilePath()), "[Cursors]\r\nWhtClr=2\r\n") << "Cancel writes nothing";
  EXPECT_FALSE(program.HasExited());
}


TEST_F(MainDialogOnLibrary, RedClickReinstallsEveryCursorInRedAndCancelPutsTheSavedOnesBack) {
  Program program(UtilityIn(folder), folder, Traced());
  HWND dialog = Start(program);
  ASSERT_NE(dialog, nullptr);
  std::vector<TraceLine> lines = SettledTrace(traceFolder, kRoleCount);
  ExpectEveryRoleInstalled(lines, 0, false);

  Click(dialog, IDC_WHITE_FIRST + 1);  // red for white
  lines = SettledTrace(traceFolder, 2 * kRoleCount);
  ExpectEveryRoleInstalled(lines, kRoleCount, true);

  Click(dialog, IDC_CANCEL);
  lines = SettledTrace(traceFolder, 3 * kRoleCount);
  ExpectEveryRoleInstalled(lines, 2 * kRoleCount, false);
  EXPECT_TRUE(WaitFor([&] { return ::IsIconic(dialog) != FALSE; }));
  EXPECT_EQ(PushedColourButtons(dialog), (std::vector<int>{IDC_WHITE_FIRST, IDC_BLACK_LAST}));

  ::ShowWindow(dialog, SW_RESTORE);
  Click(dialog, IDC_EXIT_RESTORE);
  EXPECT_TRUE(program.WaitForExit());
  ExpectDefaultsRestored(ReadTrace(traceFolder), 3 * kRoleCount);
}

}  // namespace
