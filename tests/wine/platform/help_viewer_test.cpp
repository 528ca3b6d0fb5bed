// The help viewer in place of the old one: the help window opened at its
// first topic and closed by HELP_QUIT, the framework's failure message, and the help file that
// the build ships beside the program.
#include "platform/help_viewer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <thread>
#include <vector>

#include "platform/app.h"
#include "tests/wine/support/wine_test_support.h"

using namespace wine_test;

namespace {

CWinApp testApp;  // AfxGetApp() for the framework's help call

std::string TextOf(HWND window) {
  char buffer[8192] = "";
  ::GetWindowTextA(window, buffer, sizeof buffer);
  return buffer;
}

std::string ListEntry(HWND list, int index) {
  char buffer[512] = "";
  if (::SendMessageA(list, LB_GETTEXTLEN, index, 0) < static_cast<LRESULT>(sizeof buffer)) {
    ::SendMessageA(list, LB_GETTEXT, index, reinterpret_cast<LPARAM>(buffer));
  }
  return buffer;
}

void PumpMessages() {
  MSG message;
  while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    ::TranslateMessage(&message);
    ::DispatchMessageA(&message);
  }
}

// ---- The text format -----------------------------------------------------------------------

class HelpFiles : public ::testing::Test {
 protected:
  void SetUp() override { folder = MakeTempFolder("pointrel-help"); }
  void TearDown() override {
    platform::WinHelpA(nullptr, "", HELP_QUIT, 0);
    PumpMessages();
  }
  std::string Write(const char* name, const std::string& content) {
    const std::string path = folder + "\\" + name;
    EXPECT_TRUE(WriteFile(path, content));
    return path;
  }
  std::string folder;
};

TEST_F(HelpFiles, LoadRefusesWhatCannotBeShown) {
  platform::HelpDocument document;
  EXPECT_FALSE(platform::LoadHelpFile((folder + "\\missing.HLP").c_str(), &document));
  EXPECT_FALSE(platform::LoadHelpFile(Write("empty.HLP", "").c_str(), &document));
  EXPECT_FALSE(platform::LoadHelpFile(Write("plain.HLP", "no topics here\n").c_str(), &document));
  EXPECT_FALSE(platform::LoadHelpFile(folder.c_str(), &document)) << "a folder";
  EXPECT_FALSE(platform::LoadHelpFile("", &document));
  EXPECT_FALSE(platform::LoadHelpFile(nullptr, &document));
  std::string big = "# Big\n" + std::string(platform::kMaxHelpFileSize, 'x');
  EXPECT_FALSE(platform::LoadHelpFile(Write("big.HLP", big).c_str(), &document)) << "over the size limit";
  EXPECT_TRUE(platform::LoadHelpFile(Write("fits.HLP", big.substr(0, platform::kMaxHelpFileSize)).c_str(), &document));
  ASSERT_EQ(document.topicCount(), 1u);
  EXPECT_EQ(std::string(document.topic(0).text).size(), platform::kMaxHelpFileSize - 6);
}

// ---- The help window -----------------------------------------------------------------------

const char kThreeTopics[] =
    "Test Help\r\n"
    "# First topic\r\nThe first page.\r\nSecond line.\r\n"
    "# Second topic\r\nThe second page.\r\n"
    "# Third topic\r\nThe third page.\r\n";

TEST_F(HelpFiles, ContextOpensTheWindowAtTheFirstTopicAndQuitClosesIt) {
  const std::string path = Write("three.HLP", kThreeTopics);
  EXPECT_EQ(platform::GetHelpWindow(), nullptr);
  ASSERT_TRUE(platform::WinHelpA(nullptr, path.c_str(), HELP_CONTEXT, 0));
  PumpMessages();
  HWND window = platform::GetHelpWindow();
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(::IsWindowVisible(window));
  EXPECT_EQ(TextOf(window), "Test Help");
  HWND list = ::GetDlgItem(window, platform::kHelpTopicListId);
  HWND text = ::GetDlgItem(window, platform::kHelpTextId);
  ASSERT_NE(list, nullptr);
  ASSERT_NE(text, nullptr);
  ASSERT_EQ(::SendMessageA(list, LB_GETCOUNT, 0, 0), 3);
  EXPECT_EQ(ListEntry(list, 0), "First topic");
  EXPECT_EQ(ListEntry(list, 2), "Third topic");
  EXPECT_EQ(::SendMessageA(list, LB_GETCURSEL, 0, 0), 0);
  EXPECT_EQ(TextOf(text), "The first page.\r\nSecond line.");
  EXPECT_TRUE(::GetWindowLongA(text, GWL_STYLE) & ES_READONLY);

  // Picking a topic in the list shows it.
  ::SendMessageA(list, LB_SETCURSEL, 2, 0);
  ::SendMessageA(window, WM_COMMAND, MAKEWPARAM(platform::kHelpTopicListId, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
  EXPECT_EQ(TextOf(text), "The third page.");

  // Asking again reuses the window; a topic number it lacks gives the first topic.
  EXPECT_TRUE(platform::WinHelpA(nullptr, path.c_str(), HELP_CONTEXT, 1));
  EXPECT_EQ(platform::GetHelpWindow(), window);
  EXPECT_EQ(TextOf(text), "The second page.");
  EXPECT_TRUE(platform::WinHelpA(nullptr, path.c_str(), HELP_CONTEXT, 99));
  EXPECT_EQ(::SendMessageA(list, LB_GETCURSEL, 0, 0), 0);
  EXPECT_TRUE(platform::WinHelpA(nullptr, path.c_str(), HELP_CONTENTS, 0));
  EXPECT_EQ(::SendMessageA(list, LB_GETCOUNT, 0, 0), 3) << "the topics are not added twice";

  EXPECT_TRUE(platform::WinHelpA(nullptr, path.c_str(), HELP_QUIT, 0));
  EXPECT_FALSE(::IsWindow(window));
  EXPECT_EQ(platform::GetHelpWindow(), nullptr);
  EXPECT_TRUE(platform::WinHelpA(nullptr, path.c_str(), HELP_QUIT, 0)) << "nothing open: still fine";
}

TEST_F(HelpFiles, AnotherFileReplacesTheShownOne) {
  const std::string first = Write("three.HLP", kThreeTopics);
  const std::string second = Write("other.HLP", "Other Help\n# Alone\nOnly page.\n");
  ASSERT_TRUE(platform::WinHelpA(nullptr, first.c_str(), HELP_CONTEXT, 0));
  HWND window = platform::GetHelpWindow();
  ASSERT_TRUE(platform::WinHelpA(nullptr, second.c_str(), HELP_CONTEXT, 0));
  EXPECT_EQ(platform::GetHelpWindow(), window);
  EXPECT_EQ(TextOf(window), "Other Help");
  HWND list = ::GetDlgItem(window, platform::kHelpTopicListId);
  EXPECT_EQ(::SendMessageA(list, LB_GETCOUNT, 0, 0), 1);
  EXPECT_EQ(TextOf(::GetDlgItem(window, platform::kHelpTextId)), "Only page.");
  // A file that cannot be shown leaves the open one as it is.
  EXPECT_FALSE(platform::WinHelpA(nullptr, (folder + "\\missing.HLP").c_str(), HELP_CONTEXT, 0));
  EXPECT_EQ(platform::GetHelpWindow(), window);
  EXPECT_EQ(TextOf(window), "Other Help");
}

TEST_F(HelpFiles, EscapeInTheTopicListClosesTheWindow) {
  ASSERT_TRUE(platform::WinHelpA(nullptr, Write("three.HLP", kThreeTopics).c_str(), HELP_CONTEXT, 0));
  HWND window = platform::GetHelpWindow();
  HWND list = ::GetDlgItem(window, platform::kHelpTopicListId);
  ::SendMessageA(list, WM_KEYDOWN, VK_ESCAPE, 1);
  PumpMessages();
  EXPECT_FALSE(::IsWindow(window));
  EXPECT_EQ(platform::GetHelpWindow(), nullptr);
}

TEST_F(HelpFiles, FilesThatCannotBeShownOpenNoWindow) {
  const std::string plain = Write("plain.HLP", "no topics\n");
  for (const std::string& path : {folder + "\\missing.HLP", plain, std::string()}) {
    EXPECT_FALSE(platform::WinHelpA(nullptr, path.c_str(), HELP_CONTEXT, 0)) << path;
    EXPECT_EQ(platform::GetHelpWindow(), nullptr) << path;
  }
  EXPECT_FALSE(platform::WinHelpA(nullptr, Write("ok.HLP", kThreeTopics).c_str(), 0x1234, 0)) << "unknown command";
  EXPECT_EQ(platform::GetHelpWindow(), nullptr);
}

// ---- The framework's help call -------------------------------------------------------------

struct BoxSeen {
  bool found = false;
  std::string caption;
  std::vector<std::string> texts;  // of the box's controls
  int buttons = 0;
};

BOOL CALLBACK CollectChild(HWND child, LPARAM param) {
  auto* seen = reinterpret_cast<BoxSeen*>(param);
  char className[64] = "";
  ::GetClassNameA(child, className, sizeof className);
  seen->texts.push_back(TextOf(child));
  if (::lstrcmpiA(className, "Button") == 0) ++seen->buttons;
  return TRUE;
}

// Finds the message box of this process, notes what it says and presses its OK button.
void AnswerMessageBox(BoxSeen* seen) {
  HWND box = nullptr;
  WaitFor([&] {
    for (HWND window : FindTopLevelWindows("Pointrel Help")) {
      char className[64] = "";
      ::GetClassNameA(window, className, sizeof className);
      if (WindowProcess(window) == ::GetCurrentProcessId() && std::string(className) == "#32770") box = window;
    }
    return box != nullptr;
  });
  if (!box) {  // never leave the test hanging in a box of another caption
    box = ::FindWindowA("#32770", nullptr);
    if (box && WindowProcess(box) == ::GetCurrentProcessId()) ::PostMessageA(box, WM_COMMAND, IDOK, 0);
    return;
  }
  seen->found = true;
  seen->caption = TextOf(box);
  ::EnumChildWindows(box, &CollectChild, reinterpret_cast<LPARAM>(seen));
  ::PostMessageA(box, WM_COMMAND, IDOK, 0);
}

TEST_F(HelpFiles, FrameworkHelpShowsFailedToLaunchHelp) {
  testApp.Attach(::GetModuleHandleA(nullptr));
  const std::string missing = folder + "\\Pointrel.HLP";
  lstrcpynA(testApp.helpFilePath, missing.c_str(), sizeof testApp.helpFilePath);
  BoxSeen seen;
  std::thread watcher(AnswerMessageBox, &seen);
  AfxWinHelp(nullptr, 0, HELP_CONTEXT);
  watcher.join();
  ASSERT_TRUE(seen.found) << "no message box captioned \"Pointrel Help\"";
  EXPECT_EQ(seen.caption, "Pointrel Help");
  bool hasText = false;
  for (const std::string& text : seen.texts) hasText = hasText || text == "Failed to launch help.";
  EXPECT_TRUE(hasText);
  EXPECT_EQ(seen.buttons, 1) << "an OK button only";
  EXPECT_EQ(platform::GetHelpWindow(), nullptr);
}

TEST_F(HelpFiles, FrameworkHelpOpensTheApplicationsHelpFileAndQuitClosesIt) {
  testApp.Attach(::GetModuleHandleA(nullptr));
  const std::string path = Write("Pointrel.HLP", kThreeTopics);
  lstrcpynA(testApp.helpFilePath, path.c_str(), sizeof testApp.helpFilePath);
  AfxWinHelp(nullptr, 0, HELP_CONTEXT);
  HWND window = platform::GetHelpWindow();
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(TextOf(::GetDlgItem(window, platform::kHelpTextId)), "The first page.\r\nSecond line.");
  AfxWinHelp(nullptr, 0, HELP_QUIT);
  EXPECT_FALSE(::IsWindow(window));
}

// ---- The shipped help file -----------------------------------------------------------------

TEST(ShippedHelpFile, SitsBesideTheProgramAndCoversTheDialog) {
  const std::string path = wine_test::BinaryDir() + "/bin/Pointrel.HLP";
  platform::HelpDocument document;
  ASSERT_TRUE(platform::LoadHelpFile(path.c_str(), &document)) << path;
  EXPECT_STREQ(document.title(), "Pointrel Help");
  ASSERT_GE(document.topicCount(), 10u);
  std::string all;
  std::vector<std::string> titles;
  for (size_t i = 0; i < document.topicCount(); ++i) {
    const platform::HelpTopic& topic = document.topic(i);
    EXPECT_NE(topic.text[0], '\0') << topic.title;
    titles.push_back(topic.title);
    all += std::string(topic.title) + "\r\n" + topic.text + "\r\n";
  }
  // Every control of the main dialog, and the texts the program can show.
  const char* const mentioned[] = {
      "Normal", "App Starting", "Busy", "I-Beam", "Mirror Image \"Normal\"", "Mirror Image \"App Starting\"",
      "Test", "Test I-Beam here:", "Sizing Arrows", "Default", "Large", "New \"white\"", "New \"black\"",
      "Blinking", "None", "Rapid", "1 second, 50:50", "1 second, 75:25", "2 second flicker", "4 second flicker",
      "Wobble", "Non-animated only", "All cursors", "Hide when minimized", "Minimize at startup", "OK", "Cancel",
      "Help", "About...", "Exit + Restore System Defaults", "<Default>", "<Same as Normal>", "[sc]", "[am]",
      "No display driver support for color/animated", "About Pointrel...",
      // the rhythms: first hide and phases
      "1.6 seconds", "2 seconds", "2.25 seconds", "3.6 seconds", "7.6 seconds", "0.2 seconds", "1.8 seconds",
      "3.8 seconds",
      // getting the window back, and what ending does
      "start Pointrel again", "standard Windows cursors back", "Pointrel.INI", "Pointrel.HLP"};
  for (const char* text : mentioned) EXPECT_NE(all.find(text), std::string::npos) << "not mentioned: " << text;
  // The About box sends readers to "Ordering".
  EXPECT_NE(std::find(titles.begin(), titles.end(), "Ordering"), titles.end());
  EXPECT_NE(std::find(titles.begin(), titles.end(), "Getting a hidden window back"), titles.end());
  EXPECT_NE(std::find(titles.begin(), titles.end(), "Ending Pointrel"), titles.end());
}

}  // namespace
