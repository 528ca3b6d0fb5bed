// The real Pointrel.EXE on desktops of 100, 150 and 200 % (96, 144 and 192 dots per inch), where
// the platform hands out cursors of 32, 48 and 64 pixels: recolour and mirror act at that size.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "tests/wine/support/utility_fixture.h"
#include "utility/resources/resource.h"

using namespace wine_test;

namespace {

int DotsPerInch() {
  const char* dpi = std::getenv("POINTREL_WINE_DPI");
  return dpi ? std::atoi(dpi) : 96;
}

int ExpectedCursorSide() { return 32 * DotsPerInch() / 96; }

// Width and height of a traced cursor file's image as written, not as this process would load
// it (stretched to the desktop's size); 0 for a file too short to say.
TEST(TestBed, DesktopHandsOutCursorsOfItsScale) {
  EXPECT_EQ(::GetSystemMetrics(SM_CXCURSOR), ExpectedCursorSide()) << DotsPerInch() << " dots per inch";
}

// White red, Normal mirrored: the installed Normal is the desktop's size, red where it was
// white, its hotspot (the arrow's tip, top left) mirrored to the top right.
TEST_F(MainDialogOnLibrary, NormalIsRecolouredAndMirroredAtTheDesktopsCursorSize) {
  WriteLibrarySettings("WhtClr=1\r\nMirrorNormal=1\r\n");
  const int side = ExpectedCursorSide();
  Program program(UtilityIn(folder), folder, Traced());
  HWND dialog = Start(program);
  ASSERT_NE(dialog, nullptr);
  const std::vector<TraceLine> lines = SettledTrace(traceFolder, 8);
  const TraceLine* normal = nullptr;
  for (const TraceLine& line : lines) {
    if (line.event == "install" && line.id == 32512) normal = &line;
  }
  ASSERT_NE(normal, nullptr) << "Normal was installed";
  ASSERT_EQ(normal->kind, "static");
  const TracedSide written = TracedSideOf(traceFolder, *normal);
  EXPECT_EQ(written.width, side) << "the installed image's width";
  EXPECT_EQ(written.height, side) << "the installed image's height";
  EXPECT_EQ(normal->x, side - 1) << "the tip's column mirrored";
  EXPECT_EQ(normal->y, 0);
  const cursor_record::CursorPicture picture = TracedPicture(traceFolder, *normal);
  EXPECT_TRUE(picture.colour);
  EXPECT_TRUE(HasRed(picture)) << "white became red";

  // The colour probe still finds colour cursors: no notice, the colour buttons enabled.
  EXPECT_NE(Text(::GetDlgItem(dialog, IDC_STATUS)), kNoColourText);
  EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(dialog, IDC_WHITE_FIRST)));
  PressKey(dialog, VK_ESCAPE);
  EXPECT_TRUE(program.WaitForExit());
}

bool IsBlank(const cursor_record::CursorPicture& picture) {
  for (size_t i = 0; i < picture.andMask.size(); ++i) {
    if (!picture.andMask[i] || (i < picture.pixels.size() && (picture.pixels[i] & 0xFFFFFF))) return false;
  }
  return !picture.andMask.empty();
}

// A blink hides Normal behind a blank of Normal's own size, never a smaller hole.
TEST_F(MainDialogOnLibrary, BlinkHidesNormalBehindABlankOfItsSize) {
  WriteLibrarySettings("WhtClr=1\r\nBlink=1\r\n");
  const int side = ExpectedCursorSide();
  Program program(UtilityIn(folder), folder, Traced());
  HWND dialog = Start(program);
  ASSERT_NE(dialog, nullptr);
  ::SetCursorPos(300, 300);  // at rest, so the blink begins
  bool hidden = false;
  const DWORD start = ::GetTickCount();
  while (!hidden && ::GetTickCount() - start < 8000) {
    ::Sleep(200);
    for (const TraceLine& line : ReadTrace(traceFolder)) {
      if (line.event != "install" || line.id != 32512 || line.kind != "static") continue;
      const cursor_record::CursorPicture picture = TracedPicture(traceFolder, line);
      if (!IsBlank(picture)) continue;
      hidden = true;
      const TracedSide written = TracedSideOf(traceFolder, line);
      EXPECT_EQ(written.width, side) << "the blank's width";
      EXPECT_EQ(written.height, side) << "the blank's height";
      break;
    }
  }
  EXPECT_TRUE(hidden) << "Normal was hidden within eight seconds";
  PressKey(dialog, VK_ESCAPE);
  EXPECT_TRUE(program.WaitForExit());
}

// The dialog, scaled with the desktop's font, fits the screen and every control lies inside it.
TEST_F(MainDialog, EveryControlLiesInsideTheDialogOnTheScreen) {
  Program program(UtilityIn(folder), folder);
  HWND dialog = Start(program);
  ASSERT_NE(dialog, nullptr);
  RECT window, client, screen;
  ::GetWindowRect(dialog, &window);
  ::GetClientRect(dialog, &client);
  ::GetWindowRect(::GetDesktopWindow(), &screen);
  EXPECT_LE(window.right - window.left, screen.right - screen.left) << Describe(window);
  EXPECT_LE(window.bottom - window.top, screen.bottom - screen.top) << Describe(window);
  int controls = 0;
  for (HWND child = ::GetWindow(dialog, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
    if (!::IsWindowVisible(child)) continue;
    const RECT r = ClientRect(dialog, child);
    EXPECT_TRUE(r.left >= 0 && r.top >= 0 && r.right <= client.right && r.bottom <= client.bottom)
        << ::GetDlgCtrlID(child) << " \"" << Text(child) << "\" at " << Describe(r) << " in " << Describe(client);
    ++controls;
  }
  EXPECT_GT(controls, 40);
  PressKey(dialog, VK_ESCAPE);
  EXPECT_TRUE(program.WaitForExit());
}

// A pointer of size 2 (48 pixels at 100 %): every replacement is made at 48 times the scale,
// the static Normal and the animated Busy alike, although the platform reports its own side.
TEST_F(MainDialogOnLibrary, ReplacementsFollowTheUsersPointerSize) {
  PointerSize larger(48);
  ASSERT_TRUE(larger.set);
  WriteSettings("Normal=Giant white arrow.CUR\r\nAppstart=<Same as Normal>\r\nBusy=Stop Watch.ANI\r\n"
                "Ibeam=Huge I-beam.CUR\r\nSizing=1\r\nMirrorNormal=1\r\n");
  const int side = (48 * DotsPerInch() + 48) / 96;
  Program program(UtilityIn(folder), folder, Traced());
  HWND dialog = Start(program);
  ASSERT_NE(dialog, nullptr);
  const TraceLine* normal = nullptr;
  const TraceLine* busy = nullptr;
  const std::vector<TraceLine> lines = SettledTrace(traceFolder, 8);
  for (const TraceLine& line : lines) {
    if (line.event == "install" && line.id == 32512) normal = &line;
    if (line.event == "install" && line.id == 32514) busy = &line;
  }
  ASSERT_NE(normal, nullptr);
  ASSERT_EQ(normal->kind, "static");
  const TracedSide written = TracedSideOf(traceFolder, *normal);
  EXPECT_EQ(written.width, side) << "the mirrored Normal";
  EXPECT_EQ(written.height, side);
  EXPECT_EQ(normal->x, side - 1) << "the tip mirrored at that size";
  ASSERT_NE(busy, nullptr);
  EXPECT_EQ(busy->kind, "animated");
  // The library draws 32, 48, 64, 96 and 128; between them Wine makes an animation's frames at
  // the drawn size below (Windows scales them), so only a drawn side is asked exactly.
  int drawnBelow = 32;
  for (int drawn : {32, 48, 64, 96, 128}) {
    if (drawn <= side) drawnBelow = drawn;
  }
  if (drawnBelow == side) {
    EXPECT_EQ(busy->side, side) << "the animation's frames";
  } else {
    EXPECT_TRUE(busy->side == side || busy->side == drawnBelow) << busy->side;
  }
  PressKey(dialog, VK_ESCAPE);
  EXPECT_TRUE(program.WaitForExit());
}

// What a button of the 96-dots run measured, for the runs at other scales to compare with.
const std::string kShareFile = wine_test::BinaryDir() + "/colour-button-share.txt";

// Each colour button is as large a share of the dialog's width as at 96 dots per inch, and its
// picture fills it: edges as wide as the scale is whole, the spot in the middle.
TEST_F(MainDialog, ColourButtonsAreTheSameShareOfTheDialogAtEveryScale) {
  Program program(UtilityIn(folder), folder);
  HWND dialog = Start(program);
  ASSERT_NE(dialog, nullptr);
  RECT client;
  ::GetClientRect(dialog, &client);
  const RECT first = ClientRect(dialog, ::GetDlgItem(dialog, IDC_WHITE_FIRST));
  const int side = first.right - first.left;
  EXPECT_EQ(first.bottom - first.top, side) << "square";
  for (int id = IDC_WHITE_FIRST; id <= IDC_BLACK_LAST; ++id) {
    const RECT r = ClientRect(dialog, ::GetDlgItem(dialog, id));
    EXPECT_EQ(r.right - r.left, side) << id;
    EXPECT_EQ(r.bottom - r.top, side) << id;
  }
  const double share = double(side) / client.right;
  if (DotsPerInch() == 96) {
    std::ofstream(kShareFile) << share;
  } else {
    double reference = 0;
    std::ifstream(kShareFile) >> reference;
    ASSERT_GT(reference, 0) << "the run at 96 dots per inch wrote " << kShareFile;
    EXPECT_NEAR(share / reference, 1.0, 0.10) << side << " of " << client.right << " pixels";
  }

  // Red, not pressed: white top edge, black bottom edge as many pixels wide as the scale is
  // whole, then the dark grey inner edge; a red spot in the middle.
  RECT red;
  ::GetWindowRect(::GetDlgItem(dialog, IDC_WHITE_FIRST + 1), &red);
  const int edge = std::max(1, (side + 9) / 18);
  HDC screen = ::GetDC(nullptr);
  const int middle = red.left + side / 2;
  for (int i = 0; i < edge; ++i) {
    EXPECT_EQ(::GetPixel(screen, middle, red.top + i), RGB(255, 255, 255)) << "top edge row " << i;
    EXPECT_EQ(::GetPixel(screen, middle, red.bottom - 1 - i), RGB(0, 0, 0)) << "bottom edge row " << i;
  }
  EXPECT_EQ(::GetPixel(screen, middle, red.bottom - 1 - edge), RGB(128, 128, 128)) << "inner edge";
  int redAcross = 0;
  for (int x = red.left; x < red.right; ++x) redAcross += ::GetPixel(screen, x, red.top + side * 17 / 36) == RGB(255, 0, 0);
  ::ReleaseDC(nullptr, screen);
  EXPECT_NEAR(redAcross, 9.0 * side / 18, 2.0) << "the spot's width across its middle";
  PressKey(dialog, VK_ESCAPE);
  EXPECT_TRUE(program.WaitForExit());
}

// Every label, box and button shows its whole text in the dialog's font at this scale.
TEST_F(MainDialog, NoTextIsClipped) {
  Program program(UtilityIn(folder), folder);
  HWND dialog = Start(program);
  ASSERT_NE(dialog, nullptr);
  const int dpi = DotsPerInch();
  HFONT font = ::CreateFontA(-::MulDiv(8, dpi, 72), 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "MS Sans Serif");
  HDC dc = ::CreateCompatibleDC(nullptr);
  HGDIOBJ previous = ::SelectObject(dc, font);
  int checked = 0;
  for (HWND child = ::GetWindow(dialog, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
    const std::string text = Text(child), kind = ClassName(child);
    if (text.empty() || !::IsWindowVisible(child)) continue;
    const LONG style = ::GetWindowLongA(child, GWL_STYLE);
    RECT r;
    ::GetClientRect(child, &r);
    RECT need = {0, 0, r.right, 0};
    SCOPED_TRACE("\"" + text + "\" in " + Describe(r));
    if (kind == "Static") {
      ::DrawTextA(dc, text.c_str(), -1, &need, DT_CALCRECT | DT_WORDBREAK);
      EXPECT_LE(need.bottom, r.bottom) << "wrapped lines fit";
      EXPECT_LE(need.right, r.right);
    } else if (kind == "Button") {
      const LONG type = style & BS_TYPEMASK;
      if (type == BS_OWNERDRAW) continue;
      ::DrawTextA(dc, text.c_str(), -1, &need, DT_CALCRECT | DT_SINGLELINE);
      int room = r.right;
      if (type == BS_AUTOCHECKBOX || type == BS_AUTORADIOBUTTON) room -= ::MulDiv(13 + 4, dpi, 96);  // the box and its gap
      if (type == BS_GROUPBOX) room -= ::MulDiv(2 * 4, dpi, 96);
      if (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON) room -= 2 * ::GetSystemMetrics(SM_CXEDGE);
      EXPECT_LE(need.right, room) << "type " << type;
      EXPECT_LE(need.bottom, r.bottom);
    } else {
      continue;
    }
    ++checked;
  }
  EXPECT_GT(checked, 25);
  ::SelectObject(dc, previous);
  ::DeleteDC(dc);
  ::DeleteObject(font);
  PressKey(dialog, VK_ESCAPE);
  EXPECT_TRUE(program.WaitForExit());
}

}  // namespace
