// The real Pointrel.EXE's commands: Cancel, OK, Enter, minimising, About and Help.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/wine/support/utility_fixture.h"
#include "utility/resources/resource.h"

using namespace wine_test;

namespace {

constexpr char kAboutTitle[] = "About Pointrel";

TEST_F(MainDialog, CancelRevertsRadiosAndCheckBoxes) {
  WriteSettings("Blink=3\r\nMirrorNormal=1\r\n");
  Program program(UtilityIn(folder), folder);
  HWND dialog = Start(program);
  ASSERT_NE(dialog, nullptr);
  Click(dialog, IDC_BLINK_WOBBLE);
  Click(dialog, IDC_MIRROR_APPSTART);
  Click(dialog, IDC_START_MINIMIZED);
  Click(dialog, IDC_CANCEL);
  ASSERT_TRUE(WaitFor([&] { return ::IsIconic(dialog) != FALSE; }));
  EXPECT_TRUE(IsChecked(dialog, IDC_BLINK_1S_7525));
  EXPECT_FALSE(IsChecked(dialog, IDC_BLINK_WOBBLE));
  EXPECT_TRUE(IsChecked(dialog, IDC_MIRROR_NORMAL));
  EXPECT_FALSE(IsChecked(dialog, IDC_MIRROR_APPSTART));
  EXPECT_FALSE(IsChecked(dialog, IDC_START_MINIMIZED));
}

TEST_F(MainDialog, OkWithHideWhenMinimizedHidesAndASecondStartShowsTheWindow) {
  Program program(UtilityIn(folder), folder);
  HWND dialog = Start(program);
  ASSERT_NE(dialog, nullptr);
  Click(dialog, IDC_BLACK_FIRST + 7);
  Click(dialog, IDC_HIDE_MINIMIZED);
  Click(dialog, IDC_OK);
  ASSERT_TRUE(WaitFor([&] { return !::IsWindowVisible(dialog); }));
  EXPECT_FALSE(::IsIconic(dialog)) << "hidden, not minimised";
  const std::string content = ReadFile(SettingsFilePath());
  EXPECT_EQ(ValueInFile(content, "HideMinimized"), "1") << content;
  EXPECT_EQ(ValueInFile(content, "BlkClr"), "7") << content;
  Program second(UtilityIn(folder), folder);
  EXPECT_TRUE(second.WaitForExit());
  EXPECT_TRUE(WaitFor([&] { return ::IsWindowVisible(dialog) && !::IsIconic(dialog); }));
  EXPECT_EQ(PushedColourButtons(dialog), (std::vector<int>{IDC_WHITE_FIRST, IDC_BLACK_FIRST + 7}));
  EXPECT_FALSE(program.HasExited());
}

TEST_F(MainDialog, EnterInAListActsAsOk) {
  Program program(UtilityIn(folder), folder);
  HWND dialog = Start(program);
  ASSERT_NE(dialog, nullptr);
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  ASSERT_TRUE(::GetGUIThreadInfo(::GetWindowThreadProcessId(dialog, nullptr), &info));
  EXPECT_EQ(info.hwndFocus, ::GetDlgItem(dialog, IDC_SCHEME)) << "the first control has the focus";
  SendTo(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(::GetDlgItem(dialog, IDC_LIST_NORMAL)), TRUE);
  ASSERT_TRUE(::GetGUIThreadInfo(::GetWindowThreadProcessId(dialog, nullptr), &info));
  ASSERT_EQ(info.hwndFocus, ::GetDlgItem(dialog, IDC_LIST_NORMAL));
  PressKey(dialog, VK_RETURN);
  ASSERT_TRUE(WaitFor([&] { return ::IsIconic(dialog) != FALSE; }));
  EXPECT_EQ(ValueInFile(ReadFile(SettingsFilePath()), "StartMinimized"), "0");
  EXPECT_FALSE(program.HasExited());
}

// Every way out ends the utility without writing the settings file.

struct MinimiseCase {
  const char* name;
  const char* settings;
  bool hidden;
};

class MinimiseRule : public MainDialog, public ::testing::WithParamInterface<MinimiseCase> {};

TEST_P(MinimiseRule, SystemMinimiseHidesOrMinimises) {
  WriteSettings(GetParam().settings);
  Program program(UtilityIn(folder), folder);
  HWND dialog = Start(program);
  ASSERT_NE(dialog, nullptr);
  // The box shows the stored value; ticking it without OK changes nothing.
  Click(dialog, IDC_HIDE_MINIMIZED);
  ::PostMessageA(dialog, WM_SYSCOMMAND, SC_MINIMIZE, 0);
  if (GetParam().hidden) {
    EXPECT_TRUE(WaitFor([&] { return !::IsWindowVisible(dialog); }));
    EXPECT_FALSE(::IsIconic(dialog));
  } else {
    EXPECT_TRUE(WaitFor([&] { return ::IsIconic(dialog) != FALSE; }));
    EXPECT_TRUE(::IsWindowVisible(dialog));
  }
  EXPECT_FALSE(program.HasExited());
}

INSTANTIATE_TEST_SUITE_P(Cases, MinimiseRule,
                         ::testing::Values(MinimiseCase{"Minimises", "HideMinimized=0\r\n", false},
                                           MinimiseCase{"Hides", "HideMinimized=1\r\n", true}),
                         [](const ::testing::TestParamInfo<MinimiseCase>& info) { return std::string(info.param.name); });

// The utility's window as soon as it exists, shown or not (its start may not be done).
HWND WindowOnceMade(const Program& program) {
  HWND dialog = nullptr;
  WaitFor([&] {
    for (HWND window : FindTopLevelWindows(kUtilityTitle)) {
      if (WindowProcess(window) == program.id()) dialog = window;
    }
    return dialog != nullptr;
  });
  return dialog;
}

TEST_F(MainDialog, StartMinimizedWithHideComesUpWithoutAVisibleWindow) {
  WriteSettings("StartMinimized=1\r\nHideMinimized=1\r\n");
  Program program(UtilityIn(folder), folder);
  ASSERT_TRUE(program.started());
  HWND dialog = WindowOnceMade(program);
  ASSERT_NE(dialog, nullptr);
  // Minimised, then hidden once the dialog is up: hidden and minimised is where its start ends.
  EXPECT_TRUE(WaitFor([&] { return !::IsWindowVisible(dialog) && ::IsIconic(dialog); }));
  ::Sleep(500);
  EXPECT_FALSE(::IsWindowVisible(dialog)) << "stays hidden";
  Program second(UtilityIn(folder), folder);
  EXPECT_TRUE(second.WaitForExit());
  EXPECT_TRUE(WaitFor([&] { return ::IsWindowVisible(dialog) && !::IsIconic(dialog); }));
}

// A second start while the first is still starting (its window made, its start not done): the
// window comes up all the same and stays up.
TEST_F(MainDialog, ASecondStartWhileTheFirstStartsShowsItsWindow) {
  WriteSettings("StartMinimized=1\r\nHideMinimized=1\r\n");
  Program program(UtilityIn(folder), folder);
  ASSERT_TRUE(program.started());
  HWND dialog = WindowOnceMade(program);
  ASSERT_NE(dialog, nullptr);
  Program second(UtilityIn(folder), folder);
  EXPECT_TRUE(second.WaitForExit());
  EXPECT_TRUE(WaitFor([&] { return ::IsWindowVisible(dialog) && !::IsIconic(dialog); }));
  ::WaitForInputIdle(program.handle(), 5000);
  ::Sleep(500);
  EXPECT_TRUE(::IsWindowVisible(dialog) && !::IsIconic(dialog)) << "not hidden again by the start";
}

// Another window titled "Pointrel" (a folder of that name, another program) is not the utility's.
TEST_F(MainDialog, ASecondStartLeavesAnotherWindowOfTheSameTitleAlone) {
  WriteSettings("StartMinimized=1\r\nHideMinimized=1\r\n");
  Program program(UtilityIn(folder), folder);
  ASSERT_TRUE(program.started());
  HWND dialog = WindowOnceMade(program);
  ASSERT_NE(dialog, nullptr);
  ASSERT_TRUE(WaitFor([&] { return ::IsIconic(dialog) && !::IsWindowVisible(dialog); }));
  // Made after the utility's, so it comes first in the order windows are searched.
  HWND other = ::CreateWindowExA(0, "STATIC", kUtilityTitle, WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr,
                                 ::GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(other, nullptr);
  Program second(UtilityIn(folder), folder);
  // This thread answers what is done to its window meanwhile.
  const auto answering = [](auto condition) {
    return WaitFor([&] {
      MSG message;
      while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&message);
      return condition();
    });
  };
  EXPECT_TRUE(answering([&] { return second.HasExited(); }));
  EXPECT_TRUE(answering([&] { return ::IsWindowVisible(dialog) && !::IsIconic(dialog); }));
  EXPECT_FALSE(::IsWindowVisible(other)) << "the other window was shown";
  ::DestroyWindow(other);
}


struct AboutDoor {
  const char* name;
  void (*open)(HWND dialog);
};

class AboutBox : public MainDialog, public ::testing::WithParamInterface<AboutDoor> {};

TEST_P(AboutBox, OpensModalCentredAndClosesWithOk) {
  Program program(UtilityIn(folder), folder);
  HWND dialog = Start(program);
  ASSERT_NE(dialog, nullptr);
  GetParam().open(dialog);
  HWND about = WaitForOwnWindow(program, kAboutTitle);
  ASSERT_NE(about, nullptr);
  EXPECT_EQ(::GetWindow(about, GW_OWNER), dialog);
  EXPECT_TRUE(WaitFor([&] { return !::IsWindowEnabled(dialog); })) << "modal: the dialog waits";
  bool version = false;
  for (HWND child = ::GetWindow(about, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
    if (Text(child) == "Pointrel Version 2.0") version = (::GetWindowLongA(child, GWL_STYLE) & SS_SUNKEN) != 0;
  }
  EXPECT_TRUE(version) << "the version in its sunken frame";
  EXPECT_EQ(Text(::GetDlgItem(about, IDOK)), "OK");
  RECT outer, inner;
  ::GetWindowRect(dialog, &outer);
  ::GetWindowRect(about, &inner);
  EXPECT_NEAR((inner.left + inner.right) / 2, (outer.left + outer.right) / 2, 1);
  EXPECT_NEAR((inner.top + inner.bottom) / 2, (outer.top + outer.bottom) / 2, 1);
  Click(about, IDOK);
  EXPECT_TRUE(WaitFor([&] { return !::IsWindow(about); }));
  EXPECT_TRUE(WaitFor([&] { return ::IsWindowEnabled(dialog) != FALSE; }));
  EXPECT_FALSE(program.HasExited());
  EXPECT_TRUE(::IsWindowVisible(dialog));
  // Escape in the box closes only the box.
  GetParam().open(dialog);
  about = WaitForOwnWindow(program, kAboutTitle);
  ASSERT_NE(about, nullptr);
  PressKey(about, VK_ESCAPE);
  EXPECT_TRUE(WaitFor([&] { return !::IsWindow(about); }));
  ::Sleep(200);
  EXPECT_FALSE(program.HasExited());
}

INSTANTIATE_TEST_SUITE_P(
    Doors, AboutBox,
    ::testing::Values(AboutDoor{"Button", [](HWND d) { PostClick(d, IDC_ABOUT_BUTTON); }},
                      AboutDoor{"SystemMenuCommand", [](HWND d) { ::PostMessageA(d, WM_SYSCOMMAND, IDM_ABOUT, 0); }},
                      AboutDoor{"SystemMenuCommandLowBitsSet", [](HWND d) { ::PostMessageA(d, WM_SYSCOMMAND, IDM_ABOUT | 0x3, 0); }}),
    [](const ::testing::TestParamInfo<AboutDoor>& info) { return std::string(info.param.name); });


HWND WaitForHelpWindow(const Program& program) {
  HWND found = nullptr;
  WaitFor([&] {
    for (HWND window = ::FindWindowExA(nullptr, nullptr, "PointrelHelpWindow", nullptr); window;
         window = ::FindWindowExA(nullptr, window, "PointrelHelpWindow", nullptr)) {
      if (WindowProcess(window) == program.id() && ::IsWindowVisible(window)) found = window;
    }
    return found != nullptr;
  });
  return found;
}

TEST_F(MainDialog, HelpOpensTheHelpFileAtItsFirstTopic) {
  Program program(UtilityIn(folder), folder);
  HWND dialog = Start(program);
  ASSERT_NE(dialog, nullptr);
  Click(dialog, IDC_HELP_BUTTON);
  HWND help = WaitForHelpWindow(program);
  ASSERT_NE(help, nullptr);
  HWND topics = ::GetDlgItem(help, 100);
  EXPECT_EQ(SendTo(topics, LB_GETCURSEL), 0) << "context 0: the first topic";
  EXPECT_GT(SendTo(topics, LB_GETCOUNT), 1);
  EXPECT_FALSE(Text(::GetDlgItem(help, 101)).empty());
  // Pressing Help again brings the same window forward.
  Click(dialog, IDC_HELP_BUTTON);
  EXPECT_EQ(WaitForHelpWindow(program), help);
  EXPECT_FALSE(program.HasExited());
  Click(dialog, IDC_EXIT_RESTORE);
  EXPECT_TRUE(program.WaitForExit());
}

TEST_F(MainDialog, F1OpensTheHelpFile) {
  Program program(UtilityIn(folder), folder);
  HWND dialog = Start(program);
  ASSERT_NE(dialog, nullptr);
  PressKey(dialog, VK_F1);
  HWND help = WaitForHelpWindow(program);
  ASSERT_NE(help, nullptr);
  EXPECT_GT(SendTo(::GetDlgItem(help, 100), LB_GETCOUNT), 1);
  Click(dialog, IDC_EXIT_RESTORE);
  EXPECT_TRUE(program.WaitForExit());
  EXPECT_TRUE(WaitFor([&] { return !::IsWindow(help); }));
}

TEST_F(MainDialog, HelpWithoutItsFileSaysSoAndTheDialogStays) {
  // The program beside its library, its help file taken away. (The copy of the program may be
  // held a moment longer by the last test's guard; it is the same program.)
  const std::string copy = UtilityIn(folder);
  RemoveFile(folder + "\\Pointrel.HLP");
  ASSERT_FALSE(FileExists(folder + "\\Pointrel.HLP"));
  Program program(copy, folder);
  HWND dialog = Start(program);
  ASSERT_NE(dialog, nullptr);
  PostClick(dialog, IDC_HELP_BUTTON);
  HWND box = nullptr;
  ASSERT_TRUE(WaitFor([&] {
    for (HWND window = ::FindWindowExA(nullptr, nullptr, "#32770", nullptr); window;
         window = ::FindWindowExA(nullptr, window, "#32770", nullptr)) {
      if (window != dialog && WindowProcess(window) == program.id() && ::IsWindowVisible(window)) box = window;
    }
    return box != nullptr;
  }));
  bool said = false;
  for (HWND child = ::GetWindow(box, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
    said = said || Text(child) == "Failed to launch help.";
  }
  EXPECT_TRUE(said);
  EXPECT_EQ(::GetWindow(box, GW_OWNER), dialog);
  PostClick(box, IDOK);
  EXPECT_TRUE(WaitFor([&] { return !::IsWindow(box); }));
  EXPECT_FALSE(program.HasExited());
  EXPECT_TRUE(WaitFor([&] { return ::IsWindowEnabled(dialog) != FALSE; }));
  PressKey(dialog, VK_ESCAPE);
  EXPECT_TRUE(program.WaitForExit());
}

// The colour probe made to fail through the utility's test seam.

}  // namespace

// The two "Find the pointer" boxes: shown as stored (a hand-edited 7 is on), Cancel takes them
// back to what was kept, OK keeps them with the twelve older keys (their order in a fresh file is
// startup_test's).
TEST_F(MainDialog, FindThePointerBoxesFollowOkAndCancel) {
  WriteSettings("HideTyping=7\r\n");
  Program program(UtilityIn(folder), folder);
  HWND dialog = Start(program);
  ASSERT_NE(dialog, nullptr);
  EXPECT_TRUE(IsChecked(dialog, IDC_HIDE_TYPING));
  EXPECT_FALSE(IsChecked(dialog, IDC_SHAKE_ENLARGE));
  Click(dialog, IDC_HIDE_TYPING);
  Click(dialog, IDC_SHAKE_ENLARGE);
  Click(dialog, IDC_CANCEL);
  ASSERT_TRUE(WaitFor([&] { return ::IsIconic(dialog) != FALSE; }));
  EXPECT_TRUE(IsChecked(dialog, IDC_HIDE_TYPING)) << "Cancel goes back to the kept choice";
  EXPECT_FALSE(IsChecked(dialog, IDC_SHAKE_ENLARGE));
  EXPECT_EQ(ValueInFile(ReadFile(SettingsFilePath()), "ShakeEnlarge"), "(missing)") << "Cancel writes nothing";
  Click(dialog, IDC_SHAKE_ENLARGE);
  Click(dialog, IDC_OK);
  ASSERT_TRUE(WaitFor([&] { return ValueInFile(ReadFile(SettingsFilePath()), "ShakeEnlarge") == "1"; }));
  const std::string content = ReadFile(SettingsFilePath());
  EXPECT_EQ(ValueInFile(content, "HideTyping"), "1") << content;
  // The fourteen keys of old, the nine other roles and the scheme.
  EXPECT_EQ(KeysInFile(content).size(), 27u) << content;
}
