// The main dialog run inside this test process, on a thread of its own, for what another
// process cannot ask of it: its system menu and the icons behind its handles.
#include <gtest/gtest.h>

#include "platform/app.h"
#include "platform/help_viewer.h"
#include "tests/wine/support/import_hooks.h"
#include "tests/wine/support/system_cursor_record.h"
#include "tests/wine/support/utility_fixture.h"
#include "tests/wine/support/wine_test_support.h"
#include "utility/records/app_profile_store_win.h"
#include "utility/records/cursor_settings.h"
#include "utility/cursor/transformer_win.h"
#include "utility/dialog/main_dialog_win.h"
#include "utility/resources/resource.h"

using namespace wine_test;

namespace {

class InProcessDialog : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    app.Attach(::GetModuleHandleA(nullptr));
    // The application's help file is named after its program: this test's.
    ::CopyFileA((wine_test::BinaryDir() + "/bin/Pointrel.HLP").c_str(), app.helpFilePath, FALSE);
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
    ::MainDialog window;
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

// Painting while minimised paints the icon's background through WM_ICONERASEBKGND to the
// window itself, with the paint device context, before drawing the icon; the platform's own
// painting of a dialog (no class icon) never sends it.
WNDPROC originalProc = nullptr;
int iconBackgrounds = 0;
bool iconBackgroundHadContext = false;
LRESULT CALLBACK CountIconBackgrounds(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_ICONERASEBKGND) {
    ++iconBackgrounds;
    iconBackgroundHadContext = wParam != 0;
  }
  return ::CallWindowProcA(originalProc, window, message, wParam, lParam);
}

TEST_F(InProcessDialog, PaintsItsIconWhileMinimised) {
  ::PostMessageA(dialog, WM_SYSCOMMAND, SC_MINIMIZE, 0);
  ASSERT_TRUE(WaitFor([&] { return ::IsIconic(dialog) != FALSE; }));
  originalProc = reinterpret_cast<WNDPROC>(
      ::SetWindowLongPtrA(dialog, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CountIconBackgrounds)));
  ASSERT_NE(originalProc, nullptr);
  iconBackgrounds = 0;
  ::RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  ::SendMessageA(dialog, WM_PAINT, 0, 0);
  ::SetWindowLongPtrA(dialog, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(originalProc));
  EXPECT_GE(iconBackgrounds, 1) << "no icon painted while minimised";
  EXPECT_TRUE(iconBackgroundHadContext);
  ::ShowWindow(dialog, SW_RESTORE);
  ASSERT_TRUE(WaitFor([&] { return !::IsIconic(dialog); }));
  // Restored, it paints as a dialog again.
  ::SetWindowLongPtrA(dialog, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CountIconBackgrounds));
  iconBackgrounds = 0;
  ::RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  ::SetWindowLongPtrA(dialog, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(originalProc));
  EXPECT_EQ(iconBackgrounds, 0);
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

// The side of each colour button, once all 32 agree and each row stands edge to edge; 0 before.
int SettledColourSide(HWND dialog) {
  int side = 0;
  for (int first : {IDC_WHITE_FIRST, IDC_BLACK_FIRST}) {
    const RECT anchor = ClientRect(dialog, ::GetDlgItem(dialog, first));
    if (side == 0) side = anchor.right - anchor.left;
    for (int k = 0; k < 16; ++k) {
      const RECT r = ClientRect(dialog, ::GetDlgItem(dialog, first + k));
      if (r.right - r.left != side || r.bottom - r.top != side || r.left != anchor.left + k * side || r.top != anchor.top) return 0;
    }
  }
  return side;
}

// Moved to a monitor of 200 % and back: the buttons are drawn and laid out again at each scale.
TEST_F(InProcessDialog, AMoveToAnotherScaleRedrawsAndRelaysTheColourRows) {
  const int dpi = static_cast<int>(WindowDpi(dialog));
  ASSERT_EQ(SettledColourSide(dialog), 18 * dpi / 96);
  RECT suggested;
  ::GetWindowRect(dialog, &suggested);
  ::SendMessageA(dialog, kDpiChangedMessage, MAKEWPARAM(2 * dpi, 2 * dpi), reinterpret_cast<LPARAM>(&suggested));
  EXPECT_TRUE(WaitFor([&] { return SettledColourSide(dialog) == 36 * dpi / 96; }, 3000)) << SettledColourSide(dialog);
  // Red, not pressed, at the new size: its edges two pixels wide. (Wine does not enlarge the
  // dialog as Windows does, so the lower row hides the bottom of the upper one: look at the right.)
  HWND red = ::GetDlgItem(dialog, IDC_WHITE_FIRST + 1);
  ::RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  RECT r;
  ::GetWindowRect(red, &r);
  HDC screen = ::GetDC(nullptr);
  const int high = r.top + 6;
  EXPECT_EQ(::GetPixel(screen, r.right - 1, high), RGB(0, 0, 0));
  EXPECT_EQ(::GetPixel(screen, r.right - 2, high), RGB(0, 0, 0)) << "a second column of the dark edge";
  EXPECT_EQ(::GetPixel(screen, r.right - 3, high), RGB(128, 128, 128)) << "then the inner edge";
  EXPECT_EQ(::GetPixel(screen, r.left + 17, r.top + 17), RGB(255, 0, 0)) << "the spot's middle";
  ::ReleaseDC(nullptr, screen);
  ::SendMessageA(dialog, kDpiChangedMessage, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
  EXPECT_TRUE(WaitFor([&] { return SettledColourSide(dialog) == 18 * dpi / 96; }, 3000)) << SettledColourSide(dialog);
}

// A platform that reloads the user's scheme (Windows does; Wine refuses).
decltype(&::SystemParametersInfoA) realSystemParametersInfo = nullptr;
int schemeReloads = 0;
BOOL WINAPI SchemeReloadingParameters(UINT action, UINT uiParam, PVOID pvParam, UINT winIni) {
  if (action == SPI_SETCURSORS) {
    ++schemeReloads;
    return TRUE;
  }
  return realSystemParametersInfo(action, uiParam, pvParam, winIni);
}

// Where the platform reloads the user's scheme, an ending asks for it once and puts none of the
// start-up copies back; the ending stays a one-time thing.
TEST_F(InProcessDialog, AnEndingWhereThePlatformReloadsTheSchemeInstallsNoCopies) {
  cursor_record::RecordSystemCursors();
  realSystemParametersInfo = reinterpret_cast<decltype(&::SystemParametersInfoA)>(import_hooks::CurrentImport("SystemParametersInfoA"));
  ASSERT_NE(realSystemParametersInfo, nullptr);
  ASSERT_GT(import_hooks::Redirect(reinterpret_cast<void*>(realSystemParametersInfo),
                                   reinterpret_cast<void*>(&SchemeReloadingParameters)), 0);
  schemeReloads = 0;
  cursor_record::ClearSystemCursorEvents();
  ::SendMessageA(::GetDlgItem(dialog, IDC_EXIT_RESTORE), BM_CLICK, 0, 0);
  dialog = nullptr;
  EndDialog();
  import_hooks::Redirect(reinterpret_cast<void*>(&SchemeReloadingParameters), reinterpret_cast<void*>(realSystemParametersInfo));
  EXPECT_EQ(schemeReloads, 1);
  const std::vector<cursor_record::SystemCursorEvent> events = cursor_record::GetSystemCursorEvents();
  ASSERT_EQ(events.size(), 1u) << "the reload and nothing else";
  EXPECT_EQ(events[0].kind, platform::SystemCursorEventKind::SchemeReloaded);
  cursor_record::InstalledSystemCursor normal;
  ASSERT_TRUE(cursor_record::GetInstalledSystemCursor(32512, &normal));
  EXPECT_TRUE(normal.isDefault) << "the user's own Normal is back";
}

// A display without colour cursors, as the palette template tells it: a monochrome template.
HCURSOR MonochromeTemplate() {
  static HCURSOR made = [] {
    BYTE andBits[32 * 4], xorBits[32 * 4];
    memset(andBits, 0xFF, sizeof andBits);
    memset(xorBits, 0x00, sizeof xorBits);
    return ::CreateCursor(::GetModuleHandleA(nullptr), 0, 0, 32, 32, andBits, xorBits);
  }();
  return made;
}

// Seen from outside the code under test: the platform describes the palette template as the
// monochrome one, as a display without colour cursors does.
decltype(&::GetIconInfo) realGetIconInfo = nullptr;
BOOL WINAPI MonochromeTemplateInfo(HICON icon, PICONINFO info) {
  if (icon == transformer_detail::LoadPaletteTemplate()) icon = MonochromeTemplate();
  return realGetIconInfo(icon, info);
}

class InProcessDialogWithoutColour : public InProcessDialog {
 protected:
  void SetUp() override {
    realGetIconInfo = reinterpret_cast<decltype(&::GetIconInfo)>(import_hooks::CurrentImport("GetIconInfo"));
    ASSERT_GT(import_hooks::Redirect(reinterpret_cast<void*>(realGetIconInfo), reinterpret_cast<void*>(&MonochromeTemplateInfo)), 0);
    ForgetDisplayFormat();  // the template's table is read again, through the stand-in
    ColourCursorsSupported = 0;  // never cleared by the program itself
    current.WhtClr = 1;
    current.BlkClr = 2;
    saved = current;
    InProcessDialog::SetUp();
  }
  void TearDown() override {
    InProcessDialog::TearDown();
    import_hooks::Redirect(reinterpret_cast<void*>(&MonochromeTemplateInfo), reinterpret_cast<void*>(realGetIconInfo));
    ForgetDisplayFormat();
    RemoveFile(WindowsFolder() + "\\" + app.profileName);
  }
};

TEST_F(InProcessDialogWithoutColour, ButtonsAreDisabledTheStatusSaysWhyAndTheColoursAreKept) {
  EXPECT_EQ(Text(::GetDlgItem(dialog, IDC_STATUS)), kNoColourText);
  for (int id = IDC_WHITE_FIRST; id <= IDC_BLACK_LAST; ++id) EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(dialog, id))) << id;
  EXPECT_TRUE(PushedColourButtons(dialog).empty());
  HWND red = ::GetDlgItem(dialog, IDC_WHITE_FIRST + 1);
  EXPECT_TRUE(WaitFor([&] { return CornerColour(red) == RGB(128, 128, 128); }, 3000))
      << "the disabled picture; the corner shows " << std::hex << CornerColour(red);
  // The lists, mirror boxes and radios stay usable.
  EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(dialog, IDC_LIST_NORMAL)));
  EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(dialog, IDC_BLINK_RAPID)));
  // The stored colours are kept and saved unchanged; Cancel presses nothing either.
  ::SendMessageA(::GetDlgItem(dialog, IDC_CANCEL), BM_CLICK, 0, 0);
  ASSERT_TRUE(WaitFor([&] { return ::IsIconic(dialog) != FALSE; }));
  EXPECT_TRUE(PushedColourButtons(dialog).empty());
  ::ShowWindow(dialog, SW_RESTORE);
  ::SendMessageA(::GetDlgItem(dialog, IDC_OK), BM_CLICK, 0, 0);
  ASSERT_TRUE(WaitFor([&] { return ::IsIconic(dialog) != FALSE; }));
  const std::string content = ReadFile(WindowsFolder() + "\\" + app.profileName);
  EXPECT_EQ(ValueInFile(content, "WhtClr"), "1") << content;
  EXPECT_EQ(ValueInFile(content, "BlkClr"), "2") << content;
}

}  // namespace
