// The pages in this process, built from the resources linked into the test: each page's frame,
// icons and pictures, inspected while it runs modally.
#include <gtest/gtest.h>

#include <thread>

#include "installer/pages_win.h"
#include "installer/resources/resource.h"
#include "tests/wine/support/wine_test_support.h"

namespace {

struct Frame {
  bool found = false;
  char caption[64] = "";
  LRESULT bigIcon = 0, smallIcon = 0;
};

// Runs `page` modally; meanwhile another thread reads its frame and cancels it.
Frame Inspect(CDialog& page) {
  Frame frame;
  DWORD self = ::GetCurrentThreadId();
  std::thread inspector([&] {
    HWND window = nullptr;
    wine_test::WaitFor([&] {
      window = ::FindWindowA("#32770", "Pointrel Installation");
      return window && ::GetWindowThreadProcessId(window, nullptr) == self && ::IsWindowVisible(window);
    });
    if (!window) return;
    frame.found = true;
    ::GetWindowTextA(window, frame.caption, sizeof frame.caption);
    frame.bigIcon = ::SendMessageA(window, WM_GETICON, ICON_BIG, 0);
    frame.smallIcon = ::SendMessageA(window, WM_GETICON, ICON_SMALL, 0);
    ::PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
  });
  page.DoModal();
  inspector.join();
  return frame;
}

// Icons 128 and 134 as the big and the small icon, and the caption, on every page. (The copy
// page shares the same frame and starts the copy when it opens; it is run under Wine by
// installer_test.)
TEST(Pages, CaptionAndIcons) {
  HMODULE module = ::GetModuleHandleA(nullptr);
  HICON big = ::LoadIconA(module, MAKEINTRESOURCEA(IDI_WENDSET));
  HICON small = ::LoadIconA(module, MAKEINTRESOURCEA(IDI_WENDSET_SMALL));
  ASSERT_NE(nullptr, big);
  ASSERT_NE(nullptr, small);
  ASSERT_NE(big, small);
  WelcomePage welcome;
  DestinationPage destination;
  FinishPage finish;
  struct Case {
    const char* name;
    CDialog* page;
  } cases[] = {{"WelcomePage", &welcome}, {"DestinationPage", &destination}, {"FinishPage", &finish}};
  for (const Case& c : cases) {
    Frame frame = Inspect(*c.page);
    ASSERT_TRUE(frame.found) << c.name;
    EXPECT_STREQ("Pointrel Installation", frame.caption) << c.name;
    EXPECT_EQ(reinterpret_cast<LRESULT>(big), frame.bigIcon) << c.name;
    EXPECT_EQ(reinterpret_cast<LRESULT>(small), frame.smallIcon) << c.name;
  }
}

}  // namespace
