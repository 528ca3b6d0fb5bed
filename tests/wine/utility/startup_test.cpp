// The real Pointrel.EXE started as a user starts it: single instance, settings file, OK,
// Cancel and Escape.
#include <gtest/gtest.h>

#include <string>

#include "tests/wine/support/wine_test_support.h"
#include "utility/resources/resource.h"

using namespace wine_test;

namespace {

const char kTitle[] = "Pointrel";

class Startup : public ::testing::Test {
 protected:
  void SetUp() override {
    RemoveFile(SettingsFilePath());
    folder = MakeTempFolder("pointrel-startup");
  }
  void TearDown() override { RemoveFile(SettingsFilePath()); }

  // Starts a copy and waits for its dialog.
  HWND Start(Program& program) {
    EXPECT_TRUE(program.started());
    HWND dialog = program.WaitForWindow(kTitle);
    EXPECT_NE(dialog, nullptr) << "no window titled Pointrel";
    return dialog;
  }

  std::string folder;
};

TEST_F(Startup, FirstStartShowsDefaultsAndEscapeWritesNothing) {
  Program program(UtilityIn(folder), folder);
  HWND dialog = Start(program);
  ASSERT_NE(dialog, nullptr);
  EXPECT_TRUE(::IsWindowVisible(dialog));
  EXPECT_FALSE(::IsIconic(dialog));
  EXPECT_FALSE(IsChecked(dialog, IDC_HIDE_MINIMIZED));
  EXPECT_FALSE(IsChecked(dialog, IDC_START_MINIMIZED));
  PressKey(dialog, VK_ESCAPE);
  EXPECT_TRUE(program.WaitForExit());
  EXPECT_FALSE(FileExists(SettingsFilePath()));
}

TEST_F(Startup, OkWritesEveryKeyInOrderAndMinimises) {
  Program program(UtilityIn(folder), folder);
  HWND dialog = Start(program);
  ASSERT_NE(dialog, nullptr);
  Click(dialog, IDC_START_MINIMIZED);
  Click(dialog, IDC_OK);
  EXPECT_TRUE(WaitFor([&] { return ::IsIconic(dialog) != FALSE; }));
  EXPECT_FALSE(program.HasExited()) << "OK must not end the utility";
  const std::string content = ReadFile(SettingsFilePath());
  const std::vector<std::string> expected = {"Normal", "Appstart", "Busy", "Ibeam", "Sizing", "Blink",
                                             "BlkClr", "WhtClr", "MirrorNormal", "MirrorAppstart",
                                             "HideMinimized", "StartMinimized", "HideTyping", "ShakeEnlarge",
                                             "Help", "Cross", "Pen", "No", "SizeAll", "UpArrow", "Hand", "Pin", "Person",
                                             "Scheme", "DarkScheme", "FollowDarkMode", "LeftHanded"};
  EXPECT_EQ(KeysInFile(content), expected) << content;
  EXPECT_NE(content.find("[Cursors]"), std::string::npos);
  EXPECT_EQ(ValueInFile(content, "Normal"), "<Default>");
  EXPECT_EQ(ValueInFile(content, "BlkClr"), "15");
  EXPECT_EQ(ValueInFile(content, "StartMinimized"), "1");
  EXPECT_EQ(ValueInFile(content, "HideMinimized"), "0");
}

TEST_F(Startup, EscapeAfterChangesKeepsTheLastOk) {
  {
    Program program(UtilityIn(folder), folder);
    HWND dialog = Start(program);
    ASSERT_NE(dialog, nullptr);
    Click(dialog, IDC_START_MINIMIZED);
    Click(dialog, IDC_OK);
    ASSERT_TRUE(WaitFor([&] { return ::IsIconic(dialog) != FALSE; }));
    const std::string afterOk = ReadFile(SettingsFilePath());
    ::ShowWindow(dialog, SW_RESTORE);
    Click(dialog, IDC_START_MINIMIZED);
    Click(dialog, IDC_HIDE_MINIMIZED);
    PressKey(dialog, VK_ESCAPE);
    ASSERT_TRUE(program.WaitForExit());
    EXPECT_EQ(ReadFile(SettingsFilePath()), afterOk) << "leaving must not write the settings";
  }
  Program again(UtilityIn(folder), folder);
  HWND dialog = Start(again);
  ASSERT_NE(dialog, nullptr);
  EXPECT_TRUE(WaitFor([&] { return ::IsIconic(dialog) != FALSE; })) << "Minimize at startup was saved";
  EXPECT_TRUE(IsChecked(dialog, IDC_START_MINIMIZED));
  EXPECT_FALSE(IsChecked(dialog, IDC_HIDE_MINIMIZED));
}

TEST_F(Startup, CancelRevertsTheCheckBoxesAndMinimisesInsteadOfHiding) {
  Program program(UtilityIn(folder), folder);
  HWND dialog = Start(program);
  ASSERT_NE(dialog, nullptr);
  Click(dialog, IDC_HIDE_MINIMIZED);
  Click(dialog, IDC_CANCEL);
  EXPECT_TRUE(WaitFor([&] { return ::IsIconic(dialog) != FALSE; }));
  EXPECT_TRUE(::IsWindowVisible(dialog)) << "the reverted HideMinimized is 0, so the window minimises";
  EXPECT_FALSE(IsChecked(dialog, IDC_HIDE_MINIMIZED));
  EXPECT_FALSE(program.HasExited());
  EXPECT_FALSE(FileExists(SettingsFilePath()));
}

TEST_F(Startup, SecondStartRestoresAHiddenCopyAndEndsWithoutAWindow) {
  Program first(UtilityIn(folder), folder);
  HWND dialog = Start(first);
  ASSERT_NE(dialog, nullptr);
  Click(dialog, IDC_HIDE_MINIMIZED);
  Click(dialog, IDC_OK);
  ASSERT_TRUE(WaitFor([&] { return !::IsWindowVisible(dialog); })) << "OK with Hide when minimized hides";

  Program second(UtilityIn(folder), folder);
  ASSERT_TRUE(second.started());
  // Watched while it runs: once it has ended its windows would be gone anyway.
  std::vector<HWND> secondWindows;
  WaitFor([&] {
    for (HWND window : VisibleTopLevelWindowsOf(second.id())) secondWindows.push_back(window);
    return second.HasExited();
  });
  EXPECT_TRUE(second.HasExited());
  EXPECT_TRUE(secondWindows.empty()) << "the second start showed " << secondWindows.size() << " windows";
  EXPECT_TRUE(WaitFor([&] { return ::IsWindowVisible(dialog) && !::IsIconic(dialog); }));
  EXPECT_FALSE(first.HasExited());
}

TEST_F(Startup, SecondStartRestoresAMinimisedCopy) {
  Program first(UtilityIn(folder), folder);
  HWND dialog = Start(first);
  ASSERT_NE(dialog, nullptr);
  Click(dialog, IDC_OK);
  ASSERT_TRUE(WaitFor([&] { return ::IsIconic(dialog) != FALSE; }));
  Program second(UtilityIn(folder), folder);
  EXPECT_TRUE(second.WaitForExit());
  EXPECT_TRUE(WaitFor([&] { return !::IsIconic(dialog); }));
  EXPECT_FALSE(first.HasExited());
}

TEST_F(Startup, HandEditedValuesLoadAndAreWrittenBackUnchanged) {
  const std::string longName(600, 'q');
  ASSERT_TRUE(WriteFile(SettingsFilePath(),
                        "[Cursors]\r\nNormal=<DEFAULT>\r\nBusy=" + longName + ".CUR\r\nBlink=9\r\nBlkClr=99\r\n"));
  Program program(UtilityIn(folder), folder);
  HWND dialog = Start(program);
  ASSERT_NE(dialog, nullptr);
  Click(dialog, IDC_OK);
  ASSERT_TRUE(WaitFor([&] { return ::IsIconic(dialog) != FALSE; }));
  const std::string content = ReadFile(SettingsFilePath());
  // "<DEFAULT>" selects the "<Default>" entry, and applying Normal at start records the entry.
  EXPECT_EQ(ValueInFile(content, "Normal"), "<Default>");
  EXPECT_EQ(ValueInFile(content, "Busy"), longName + ".CUR");
  EXPECT_EQ(ValueInFile(content, "Blink"), "9");
  EXPECT_EQ(ValueInFile(content, "BlkClr"), "99");
  EXPECT_EQ(KeysInFile(content).size(), 27u);
}

}  // namespace
