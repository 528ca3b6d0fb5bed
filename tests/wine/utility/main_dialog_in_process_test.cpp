// The main dialog run inside this test process, on a thread of its own, for what another
// process cannot ask of it: its system menu and the icons behind its handles.
#include <gtest/gtest.h>

#include "platform/app.h"
#include "platform/help_viewer.h"
#include "tests/wine/support/wine_test_support.h"
#include "utility/app/app_profile_store_win.h"
#include "utility/app/cursor_settings.h"
#include "utility/dialog/main_dialog_win.h"
#include "utility/resources/resource.h"

using namespace wine_test;

namespace {

class InProcessDialog : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    app.Attach(::GetModuleHandleA(nullptr));
    // The application's help file is named after its program: this test's.
    ::CopyFileA(TEST_BINARY_DIR "/bin/Pointrel.HLP", app.helpFilePath, FALSE);
    RemoveFile(WindowsFolder() + "\\\\" + app.profileName);
    AppProfileStore store(app);
    LoadSettings(store);
  }

  void SetUp() override {
    folder = MakeTempFolder("pointrel-in-process");
    ::SetCurrentDirectoryA(folder.c_str());
    thread = ::CreateThread(nullptr, 0, &Run, nullptr, 0, nullptr);
    ASSERT_NE(thread, nullptr);
    ASSERT_TRUE(WaitFor([&] {
      for (HWND window : FindTopLevelWindows("Pointrel")) {
        if (WindowProcess(window) == ::GetCurrentProcessId() && ::IsWindowVisible(window)) dialog = window;
      }
      return dialog != nullptr;
    }));
  }

  void TearDown() override { EndDialog(); }

  // Ends the dialog with the framework's cancel command (Escape, the Close box).
  void EndDialog() {
    if (dialog) ::PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    dialog = nullptr;
    if (thread) {
      EXPECT_EQ(::WaitForSingleObject(thread, 10000), WAIT_OBJECT_0);
      ::CloseHandle(thread);
      thread = nullptr;
    }
  }

  static DWORD WINAPI Run(void*) {
    MainDialog window;
    window.DoModal();
    // Checked here: the thread's end would take any window of its own with it.
    helpWindowAfterModal = platform::GetHelpWindow();
    return 0;
  }

  static HWND helpWindowAfterModal;

  static CWinApp app;
  std::string folder;
  HANDLE thread = nullptr;
  HWND dialog = nullptr;
};

CWinApp InProcessDialog::app;
HWND InProcessDialog::helpWindowAfterModal = nullptr;

TEST_F(InProcessDialog, SystemMenuEndsWithASeparatorAndTheAboutItem) {
  HMENU menu = ::GetSystemMenu(dialog, FALSE);
  ASSERT_NE(menu, nullptr);
  const int count = ::GetMenuItemCount(menu);
  ASSERT_GE(count, 2);
  MENUITEMINFOA separator{};
  separator.cbSize = sizeof separator;
  separator.fMask = MIIM_FTYPE;
  ASSERT_TRUE(::GetMenuItemInfoA(menu, count - 2, TRUE, &separator));
  EXPECT_TRUE(separator.fType & MFT_SEPARATOR);
  char text[64] = "";
  MENUITEMINFOA about{};
  about.cbSize = sizeof about;
  about.fMask = MIIM_ID | MIIM_STRING | MIIM_FTYPE;
  about.dwTypeData = text;
  about.cch = sizeof text;
  ASSERT_TRUE(::GetMenuItemInfoA(menu, count - 1, TRUE, &about));
  EXPECT_EQ(about.wID, UINT(IDM_ABOUT));
  EXPECT_STREQ(text, "&About Pointrel...");
  EXPECT_FALSE(about.fType & MFT_SEPARATOR);
}

TEST_F(InProcessDialog, WindowAndDragIconsAreTheResourceIcons) {
  HICON main = ::LoadIconA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_MAIN));
  ASSERT_NE(main, nullptr);
  EXPECT_EQ(reinterpret_cast<HICON>(::SendMessageA(dialog, WM_QUERYDRAGICON, 0, 0)), main);
  EXPECT_EQ(reinterpret_cast<HICON>(::SendMessageA(dialog, WM_GETICON, ICON_BIG, 0)), main);
  HICON small = reinterpret_cast<HICON>(::SendMessageA(dialog, WM_GETICON, ICON_SMALL, 0));
  ASSERT_NE(small, nullptr);
  EXPECT_NE(small, main);
  ICONINFO info = {};
  ASSERT_TRUE(::GetIconInfo(small, &info));
  BITMAP bitmap = {};
  ::GetObjectA(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bitmap, &bitmap);
  EXPECT_EQ(bitmap.bmWidth, ::GetSystemMetrics(SM_CXSMICON));
  if (info.hbmColor) ::DeleteObject(info.hbmColor);
  ::DeleteObject(info.hbmMask);
}

// Painting while minimised draws the icon and keeps the window alive; an empty client area
// (the platform shows minimised windows as bare title bars) leaves nothing to see.
TEST_F(InProcessDialog, PaintsWhileMinimised) {
  ::PostMessageA(dialog, WM_SYSCOMMAND, SC_MINIMIZE, 0);
  ASSERT_TRUE(WaitFor([&] { return ::IsIconic(dialog) != FALSE; }));
  ::RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
  ::SendMessageA(dialog, WM_PAINT, 0, 0);
  EXPECT_TRUE(::IsWindow(dialog));
  ::ShowWindow(dialog, SW_RESTORE);
  EXPECT_TRUE(WaitFor([&] { return !::IsIconic(dialog); }));
}

TEST_F(InProcessDialog, HelpOpensOnTheDialogsThreadAndClosesWithTheDialog) {
  ::SendMessageA(::GetDlgItem(dialog, IDC_HELP_BUTTON), BM_CLICK, 0, 0);
  HWND help = platform::GetHelpWindow();
  ASSERT_NE(help, nullptr) << "the help file opened";
  EXPECT_TRUE(::IsWindowVisible(help));
  EXPECT_EQ(::GetWindowThreadProcessId(help, nullptr), ::GetWindowThreadProcessId(dialog, nullptr));
  EndDialog();
  EXPECT_EQ(helpWindowAfterModal, nullptr) << "the help window was still open when the dialog had gone";
}

}  // namespace
