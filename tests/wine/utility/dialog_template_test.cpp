// The real Pointrel.EXE's window as it comes up: every control of template 102 in its
// place, the stored choices on its radios and check boxes, and its icons.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/wine/utility/main_template_rows.h"
#include "tests/wine/support/utility_fixture.h"
#include "utility/resources/resource.h"

using namespace wine_test;

namespace {

using template_rows::ControlRow;
using template_rows::Kind;

constexpr int kButtonPixels = 18;  // the colour button bitmaps

INT_PTR CALLBACK NothingHandled(HWND, UINT, WPARAM, LPARAM) { return FALSE; }


// Pixel rectangles of the template's dialog units, from a hidden copy of template 102 made in
// this process with the same font: the conversion the utility's own dialog went through.
class TemplateUnits {
 public:
  TemplateUnits() {
    HMODULE module = ::GetModuleHandleA(nullptr);
    HRSRC found = ::FindResourceA(module, MAKEINTRESOURCEA(IDD_MAIN), RT_DIALOG);
    if (!found) return;
    const auto* bytes = static_cast<const char*>(::LockResource(::LoadResource(module, found)));
    std::vector<char> copy(bytes, bytes + ::SizeofResource(module, found));
    DWORD style;
    memcpy(&style, copy.data(), sizeof style);
    style &= ~WS_VISIBLE;
    memcpy(copy.data(), &style, sizeof style);
    window = ::CreateDialogIndirectParamA(module, reinterpret_cast<DLGTEMPLATE*>(copy.data()), nullptr,
                                          &NothingHandled, 0);
  }
  ~TemplateUnits() {
    if (window) ::DestroyWindow(window);
  }
  bool ok() const { return window != nullptr; }
  // Position and size are converted each on its own, as dialog creation does.
  RECT Pixels(int x, int y, int cx, int cy) const {
    RECT units = {x, y, cx, cy};
    ::MapDialogRect(window, &units);
    return {units.left, units.top, units.left + units.right, units.top + units.bottom};
  }

 private:
  HWND window = nullptr;
};


TEST_F(MainDialog, EveryControlOfTheTemplateInOrderWithIdCaptionAndRectangle) {
  TemplateUnits units;
  ASSERT_TRUE(units.ok());
  Program program(UtilityIn(folder), folder);
  HWND dialog = Start(program);
  ASSERT_NE(dialog, nullptr);

  const LONG style = ::GetWindowLongA(dialog, GWL_STYLE);
  EXPECT_EQ(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX), 0) << "no minimise or maximise box";
  EXPECT_TRUE(style & WS_SYSMENU);
  RECT client;
  ::GetClientRect(dialog, &client);
  const RECT expectedClient = units.Pixels(0, 0, 402, 322);
  EXPECT_EQ(client.right, expectedClient.right);
  EXPECT_EQ(client.bottom, expectedClient.bottom);

  const std::vector<ControlRow> rows = template_rows::AllRows();
  std::vector<HWND> children;
  for (HWND child = ::GetWindow(dialog, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) children.push_back(child);
  ASSERT_EQ(children.size(), rows.size());
  for (size_t i = 0; i < rows.size(); ++i) {
    const ControlRow& want = rows[i];
    HWND control = children[i];
    SCOPED_TRACE("control " + std::to_string(i) + " \"" + want.caption + "\" (" + template_rows::KindName(want.kind) + ")");
    EXPECT_EQ(static_cast<WORD>(::GetDlgCtrlID(control)), static_cast<WORD>(want.id));
    // A drop-down list's text is its choice ("<None>" here), not a caption of the template.
    if (want.kind != Kind::ComboBox) {
      EXPECT_EQ(Text(control), want.caption);
    }
    const DWORD controlStyle = static_cast<DWORD>(::GetWindowLongA(control, GWL_STYLE));
    const DWORD exStyle = static_cast<DWORD>(::GetWindowLongA(control, GWL_EXSTYLE));
    EXPECT_TRUE(template_rows::HasKind(ClassName(control).c_str(), controlStyle, want.kind, exStyle))
        << ClassName(control) << " style " << std::hex << controlStyle;
    EXPECT_TRUE(::IsWindowVisible(control));
    const RECT got = ClientRect(dialog, control);
    if (want.kind == Kind::ListBox) {
      // A list box shows whole lines only, so the platform trims its height to a multiple of
      // the line height; everything else is the template's.
      RECT expected = units.Pixels(want.x, want.y, want.cx, want.cy);
      const int lineHeight = static_cast<int>(SendTo(control, LB_GETITEMHEIGHT, 0));
      EXPECT_GT(lineHeight, 0);
      EXPECT_LE(got.bottom, expected.bottom);
      EXPECT_GT(got.bottom, expected.bottom - lineHeight);
      expected.bottom = got.bottom;
      EXPECT_TRUE(SameRect(got, expected)) << Describe(got) << " instead of " << Describe(expected);
    } else if (want.kind == Kind::ComboBox) {
      // Closed, a drop-down list is as tall as its font makes it; the template's height is
      // the height of the list it drops.
      const RECT expected = units.Pixels(want.x, want.y, want.cx, want.cy);
      EXPECT_EQ(got.left, expected.left);
      EXPECT_EQ(got.top, expected.top);
      EXPECT_EQ(got.right, expected.right);
      EXPECT_LT(got.bottom, expected.bottom);
      EXPECT_EQ(Text(control), "<None>");
    } else if (want.kind != Kind::OwnerDraw) {
      const RECT expected = units.Pixels(want.x, want.y, want.cx, want.cy);
      EXPECT_TRUE(SameRect(got, expected)) << Describe(got) << " instead of " << Describe(expected);
    } else {
      // Sized to their pictures; the rows' first buttons stay where the template puts them.
      EXPECT_EQ(got.right - got.left, kButtonPixels);
      EXPECT_EQ(got.bottom - got.top, kButtonPixels);
      const RECT anchor = units.Pixels(want.x, want.y, want.cx, want.cy);
      EXPECT_EQ(got.top, anchor.top);
      if (want.startsGroup) {
        EXPECT_EQ(got.left, anchor.left);
      }
    }
  }
  EXPECT_EQ(Text(::GetDlgItem(dialog, IDC_STATUS)), "") << "the display shows colour cursors";
  PressKey(dialog, VK_ESCAPE);
  EXPECT_TRUE(program.WaitForExit());
}


struct StoredCase {
  const char* name;
  const char* settings;
  int checkedBlinkRadio;  // 0: none
  bool mirrorNormal, mirrorAppStarting, hideMinimized;
};

class StoredChoices : public MainDialog, public ::testing::WithParamInterface<StoredCase> {};

TEST_P(StoredChoices, RadiosAndCheckBoxesShowTheStoredSettings) {
  const StoredCase& c = GetParam();
  WriteSettings(c.settings);
  Program program(UtilityIn(folder), folder);
  HWND dialog = Start(program);
  ASSERT_NE(dialog, nullptr);
  const int radios[7] = {IDC_BLINK_NONE, IDC_BLINK_RAPID, IDC_BLINK_1S_5050, IDC_BLINK_1S_7525,
                         IDC_BLINK_2S,   IDC_BLINK_4S,    IDC_BLINK_WOBBLE};
  for (int id : radios) EXPECT_EQ(IsChecked(dialog, id), id == c.checkedBlinkRadio) << "radio " << id;
  EXPECT_EQ(IsChecked(dialog, IDC_MIRROR_NORMAL), c.mirrorNormal);
  EXPECT_EQ(IsChecked(dialog, IDC_MIRROR_APPSTART), c.mirrorAppStarting);
  EXPECT_EQ(IsChecked(dialog, IDC_HIDE_MINIMIZED), c.hideMinimized);
  EXPECT_FALSE(IsChecked(dialog, IDC_START_MINIMIZED));
  PressKey(dialog, VK_ESCAPE);
  EXPECT_TRUE(program.WaitForExit());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, StoredChoices,
    ::testing::Values(StoredCase{"Defaults", "", IDC_BLINK_NONE, false, false, false},
                      StoredCase{"Rapid", "Blink=1\r\nMirrorNormal=1\r\n", IDC_BLINK_RAPID, true, false, false},
                      StoredCase{"FourSecond", "Blink=5\r\nMirrorAppstart=1\r\n", IDC_BLINK_4S, false, true, false},
                      StoredCase{"Wobble", "Blink=6\r\nHideMinimized=1\r\n", IDC_BLINK_WOBBLE, false, false, true},
                      StoredCase{"BlinkNine", "Blink=9\r\nMirrorNormal=7\r\n", 0, true, false, false},
                      StoredCase{"BlinkNegative", "Blink=-1\r\n", 0, false, false, false}),
    [](const ::testing::TestParamInfo<StoredCase>& info) { return std::string(info.param.name); });


TEST_F(MainDialog, CaptionShowsTheSmallIcon) {
  Program program(UtilityIn(folder), folder);
  HWND dialog = Start(program);
  ASSERT_NE(dialog, nullptr);
  RECT window, client;
  ::GetWindowRect(dialog, &window);
  ::GetClientRect(dialog, &client);
  POINT clientTop = {0, 0};
  ::ClientToScreen(dialog, &clientTop);
  int navy = 0;
  HDC screen = ::GetDC(nullptr);
  for (int y = window.top; y < clientTop.y; ++y) {
    for (int x = window.left; x < window.left + 30; ++x) navy += ::GetPixel(screen, x, y) == RGB(0, 0, 128);
  }
  ::ReleaseDC(nullptr, screen);
  EXPECT_GT(navy, 20);
}

// The About box, from whichever door, is modal over the dialog, centred on it and closed by OK.

}  // namespace
