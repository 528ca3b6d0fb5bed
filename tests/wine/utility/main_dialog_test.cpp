// The real Pointrel.EXE driven as a user drives it: the main dialog's controls, the stored
// choices it shows, the colour rows, its commands (OK, Cancel, About, Exit, Escape, Close,
// Alt+F4, Enter) and its lifecycle messages.
#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "tests/wine/support/cursor_files.h"
#include "tests/wine/support/cursor_trace.h"
#include "tests/wine/support/wine_test_support.h"
#include "tests/wine/utility/library_copy.h"
#include "tests/wine/utility/main_template_rows.h"
#include "utility/resources/resource.h"

using namespace wine_test;
using template_rows::ControlRow;
using template_rows::Kind;

namespace {

const char kTitle[] = "Pointrel";
const char kAboutTitle[] = "About Pointrel";
const char kNoColourText[] = "No display driver support for color/animated";
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

std::string Text(HWND window) {
  char text[256] = "";
  DWORD_PTR length = 0;
  ::SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_NORMAL, 5000, &length);
  return std::string(text, length);
}

std::string ClassName(HWND window) {
  char name[64] = "";
  ::GetClassNameA(window, name, sizeof name);
  return name;
}

// A control's rectangle in its dialog's client coordinates.
RECT ClientRect(HWND dialog, HWND control) {
  RECT rect;
  ::GetWindowRect(control, &rect);
  ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

std::string Describe(const RECT& r) {
  return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + ")-(" + std::to_string(r.right) + "," +
         std::to_string(r.bottom) + ")";
}

bool SameRect(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

bool IsPushed(HWND dialog, int id) {
  DWORD_PTR state = 0;
  ::SendMessageTimeoutA(::GetDlgItem(dialog, id), BM_GETSTATE, 0, 0, SMTO_NORMAL, 5000, &state);
  return (state & BST_PUSHED) != 0;
}

std::vector<int> PushedColourButtons(HWND dialog) {
  std::vector<int> pushed;
  for (int id = IDC_WHITE_FIRST; id <= IDC_BLACK_LAST; ++id) {
    if (IsPushed(dialog, id)) pushed.push_back(id);
  }
  return pushed;
}

// The screen colour of a control's top-left pixel: the colour buttons' pictures differ there
// (white edge up, black edge down, grey frame disabled).
COLORREF CornerColour(HWND control) {
  RECT rect;
  ::GetWindowRect(control, &rect);
  HDC screen = ::GetDC(nullptr);
  const COLORREF colour = ::GetPixel(screen, rect.left, rect.top);
  ::ReleaseDC(nullptr, screen);
  return colour;
}

// Presses a button without waiting for its handler, for buttons that open a modal box.
void PostClick(HWND dialog, int id) { ::PostMessageA(::GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

LRESULT SendTo(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
  DWORD_PTR result = 0;
  ::SendMessageTimeoutA(window, message, wParam, lParam, SMTO_NORMAL, 5000, &result);
  return static_cast<LRESULT>(result);
}

// The window titled `title` that belongs to `program`, once it is visible.
HWND WaitForOwnWindow(const Program& program, const char* title) {
  HWND found = nullptr;
  WaitFor([&] {
    for (HWND window : FindTopLevelWindows(title)) {
      if (WindowProcess(window) == program.id() && ::IsWindowVisible(window)) found = window;
    }
    return found != nullptr;
  });
  return found;
}

bool HasRed(const platform::CursorPicture& picture) {
  for (size_t i = 0; i < picture.pixels.size() && picture.colour; ++i) {
    if (picture.andMask[i] == 0 && (picture.pixels[i] & 0xFFFFFF) == 0xFF0000) return true;
  }
  return false;
}

class MainDialog : public ::testing::Test {
 protected:
  void SetUp() override {
    RemoveFile(SettingsFilePath());
    folder = MakeTempFolder("pointrel-dialog");
    traceFolder = MakeTempFolder("pointrel-dialog-trace");
  }

  // The environment that makes the utility trace every system cursor it changes.
  std::vector<std::string> Traced() const { return {"POINTREL_CURSOR_TRACE=" + traceFolder}; }
  void TearDown() override { RemoveFile(SettingsFilePath()); }

  void WriteSettings(const std::string& lines) { ASSERT_TRUE(WriteFile(SettingsFilePath(), "[Cursors]\r\n" + lines)); }

  HWND Start(Program& program) {
    EXPECT_TRUE(program.started());
    HWND dialog = program.WaitForWindow(kTitle);
    EXPECT_NE(dialog, nullptr) << "no window titled Pointrel";
    return dialog;
  }

  std::string folder;
  std::string traceFolder;
};

TEST_F(MainDialog, EveryControlOfTheTemplateInOrderWithIdCaptionAndRectangle) {
  TemplateUnits units;
  ASSERT_TRUE(units.ok());
  Program program(POINTREL_EXE, folder);
  HWND dialog = Start(program);
  ASSERT_NE(dialog, nullptr);

  const LONG style = ::GetWindowLongA(dialog, GWL_STYLE);
  EXPECT_EQ(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX), 0) << "no minimise or maximise box";
  EXPECT_TRUE(style & WS_SYSMENU);
  RECT client;
  ::GetClientRect(dialog, &client);
  const RECT expectedClient = units.Pixels(0, 0, 402, 261);
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
    EXPECT_EQ(Text(control), want.caption);
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

TEST_F(MainDialog, ColourRowsStandEdgeToEdgeWithTheStoredButtonsPressed) {
  WriteSettings("WhtClr=3\r\nBlkClr=12\r\n");
  Program program(POINTREL_EXE, folder);
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
  Program program(POINTREL_EXE, folder);
  HWND dialog = Start(program);
  ASSERT_NE(dialog, nullptr);
  const std::vector<int> pressed = {IDC_WHITE_FIRST, IDC_BLACK_LAST};
  EXPECT_EQ(PushedColourButtons(dialog), pressed);
}

// Hand-edited colours outside the palette: that row shows nothing pressed, and its first
// click presses exactly the button clicked.
TEST_F(MainDialog, ColourOutsideThePaletteShowsNoButtonPressedUntilAClick) {
  WriteSettings("WhtClr=16\r\nBlkClr=-1\r\n");
  Program program(POINTREL_EXE, folder);
  HWND dialog = Start(program);
  ASSERT_NE(dialog, nullptr);
  EXPECT_TRUE(PushedColourButtons(dialog).empty());
  Click(dialog, IDC_WHITE_FIRST + 5);
  Click(dialog, IDC_BLACK_FIRST + 2);
  const std::vector<int> pressed = {IDC_WHITE_FIRST + 5, IDC_BLACK_FIRST + 2};
  EXPECT_EQ(PushedColourButtons(dialog), pressed);
  EXPECT_FALSE(program.HasExited());
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
  Program program(POINTREL_EXE, folder);
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

TEST_F(MainDialog, ColourClicksMoveThePressedLookAndOkSavesThem) {
  Program program(POINTREL_EXE, folder);
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
  Program program(POINTREL_EXE, folder);
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

TEST_F(MainDialog, CancelRevertsRadiosAndCheckBoxes) {
  WriteSettings("Blink=3\r\nMirrorNormal=1\r\n");
  Program program(POINTREL_EXE, folder);
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
  Program program(POINTREL_EXE, folder);
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
  Program second(POINTREL_EXE, folder);
  EXPECT_TRUE(second.WaitForExit());
  EXPECT_TRUE(WaitFor([&] { return ::IsWindowVisible(dialog) && !::IsIconic(dialog); }));
  EXPECT_EQ(PushedColourButtons(dialog), (std::vector<int>{IDC_WHITE_FIRST, IDC_BLACK_FIRST + 7}));
  EXPECT_FALSE(program.HasExited());
}

TEST_F(MainDialog, EnterInAListActsAsOk) {
  Program program(POINTREL_EXE, folder);
  HWND dialog = Start(program);
  ASSERT_NE(dialog, nullptr);
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  ASSERT_TRUE(::GetGUIThreadInfo(::GetWindowThreadProcessId(dialog, nullptr), &info));
  EXPECT_EQ(info.hwndFocus, ::GetDlgItem(dialog, IDC_LIST_NORMAL)) << "the first control has the focus";
  PressKey(dialog, VK_RETURN);
  ASSERT_TRUE(WaitFor([&] { return ::IsIconic(dialog) != FALSE; }));
  EXPECT_EQ(ValueInFile(ReadFile(SettingsFilePath()), "StartMinimized"), "0");
  EXPECT_FALSE(program.HasExited());
}

// Every way out ends the utility without writing the settings file.
struct WayOut {
  const char* name;
  void (*leave)(HWND dialog);
};

class WaysOut : public MainDialog, public ::testing::WithParamInterface<WayOut> {};

TEST_P(WaysOut, EndTheUtilityRestoringTheDefaultsOnceAndWriteNothing) {
  WriteSettings("WhtClr=4\r\n");
  const std::string settings = ReadFile(SettingsFilePath());
  Program program(POINTREL_EXE, folder, Traced());
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

struct MinimiseCase {
  const char* name;
  const char* settings;
  bool hidden;
};

class MinimiseRule : public MainDialog, public ::testing::WithParamInterface<MinimiseCase> {};

TEST_P(MinimiseRule, SystemMinimiseHidesOrMinimises) {
  WriteSettings(GetParam().settings);
  Program program(POINTREL_EXE, folder);
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

TEST_F(MainDialog, StartMinimizedWithHideComesUpWithoutAVisibleWindow) {
  WriteSettings("StartMinimized=1\r\nHideMinimized=1\r\n");
  Program program(POINTREL_EXE, folder);
  ASSERT_TRUE(program.started());
  HWND dialog = nullptr;
  ASSERT_TRUE(WaitFor([&] {
    for (HWND window : FindTopLevelWindows(kTitle)) {
      if (WindowProcess(window) == program.id()) dialog = window;
    }
    return dialog != nullptr;
  }));
  EXPECT_TRUE(WaitFor([&] { return !::IsWindowVisible(dialog); }));
  ::Sleep(500);
  EXPECT_FALSE(::IsWindowVisible(dialog)) << "stays hidden";
  Program second(POINTREL_EXE, folder);
  EXPECT_TRUE(second.WaitForExit());
  EXPECT_TRUE(WaitFor([&] { return ::IsWindowVisible(dialog) && !::IsIconic(dialog); }));
}

TEST_F(MainDialog, EndSessionRestoresTheDefaults) {
  Program program(POINTREL_EXE, folder, Traced());
  HWND dialog = Start(program);
  ASSERT_NE(dialog, nullptr);
  const size_t started = SettledTrace(traceFolder, 1).size();
  SendTo(dialog, WM_ENDSESSION, TRUE, 0);
  ExpectDefaultsRestored(SettledTrace(traceFolder, started + 8), started);
}

// A log-off vetoed after the query: the defaults went back at the query and the blinking stays
// stopped, although its radio stays selected and the utility goes on.
TEST_F(MainDialog, BlinkingStaysStoppedAfterAVetoedLogOff) {
  WriteSettings("Blink=1\r\n");
  ::SetCursorPos(3, 3);  // at rest, away from the dialog
  Program program(POINTREL_EXE, folder, Traced());
  HWND dialog = Start(program);
  ASSERT_NE(dialog, nullptr);
  const size_t started = SettledTrace(traceFolder, 9).size();
  // Rapid hides after eight still ticks of 200 ms, then alternates at every tick.
  ASSERT_TRUE(WaitFor([&] { return ReadTrace(traceFolder).size() >= started + 4; }, 6000)) << "no blinking";
  EXPECT_EQ(SendTo(dialog, WM_QUERYENDSESSION, 0, 0), TRUE);
  SendTo(dialog, WM_ENDSESSION, FALSE, 0);
  const std::vector<TraceLine> atQuery = ReadTrace(traceFolder);
  ASSERT_GE(atQuery.size(), 8u);
  EXPECT_EQ(atQuery.back().event, "default") << "the defaults are the last thing installed";
  ::Sleep(2500);  // past a whole Rapid count
  EXPECT_EQ(ReadTrace(traceFolder).size(), atQuery.size()) << "a blink after the query";
  EXPECT_TRUE(IsChecked(dialog, IDC_BLINK_RAPID));
  EXPECT_FALSE(program.HasExited());
}

// On the generated library, with static monochrome choices for every role: a colour click
// re-installs every cursor at once in the new colour, and Cancel re-installs the saved ones.
class MainDialogOnLibrary : public MainDialog {
 protected:
  void SetUp() override {
    MainDialog::SetUp();
    ASSERT_EQ(library_copy::CopyGeneratedLibrary(folder), 50);
    WriteSettings(
        "Normal=Giant white arrow.CUR\r\nAppstart=<Same as Normal>\r\nBusy=Hamster on treadmill.CUR\r\n"
        "Ibeam=Huge I-beam.CUR\r\nSizing=1\r\n");
  }

  // Every role's id is installed, each as a static image, red or not as asked.
  void ExpectEveryRoleInstalled(const std::vector<TraceLine>& lines, size_t from, bool red) {
    std::vector<unsigned long> ids;
    for (size_t i = from; i < lines.size(); ++i) {
      SCOPED_TRACE("line " + std::to_string(i) + " id " + std::to_string(lines[i].id));
      EXPECT_EQ(lines[i].event, "install");
      EXPECT_EQ(lines[i].kind, "static");
      if (lines[i].kind == "static") {
        EXPECT_EQ(HasRed(TracedPicture(traceFolder, lines[i])), red);
      }
      ids.push_back(lines[i].id);
    }
    // App Starting follows Normal from within it and then comes in its own turn.
    const std::vector<unsigned long> expected = {32650, 32512, 32650, 32514, 32513, 32642, 32643, 32644, 32645};
    EXPECT_EQ(ids, expected);
  }
};

TEST_F(MainDialogOnLibrary, RedClickReinstallsEveryCursorInRedAndCancelPutsTheSavedOnesBack) {
  Program program(POINTREL_EXE, folder, Traced());
  HWND dialog = Start(program);
  ASSERT_NE(dialog, nullptr);
  std::vector<TraceLine> lines = SettledTrace(traceFolder, 9);
  ASSERT_EQ(lines.size(), 9u);
  ExpectEveryRoleInstalled(lines, 0, false);

  Click(dialog, IDC_WHITE_FIRST + 1);  // red for white
  lines = SettledTrace(traceFolder, 18);
  ASSERT_EQ(lines.size(), 18u);
  ExpectEveryRoleInstalled(lines, 9, true);

  Click(dialog, IDC_CANCEL);
  lines = SettledTrace(traceFolder, 27);
  ASSERT_EQ(lines.size(), 27u);
  ExpectEveryRoleInstalled(lines, 18, false);
  EXPECT_TRUE(WaitFor([&] { return ::IsIconic(dialog) != FALSE; }));
  EXPECT_EQ(PushedColourButtons(dialog), (std::vector<int>{IDC_WHITE_FIRST, IDC_BLACK_LAST}));

  ::ShowWindow(dialog, SW_RESTORE);
  Click(dialog, IDC_EXIT_RESTORE);
  EXPECT_TRUE(program.WaitForExit());
  ExpectDefaultsRestored(ReadTrace(traceFolder), 27);
}

TEST_F(MainDialogOnLibrary, QueryEndSessionRestoresTheDefaultsOnceAndTheUtilityGoesOn) {
  Program program(POINTREL_EXE, folder, Traced());
  HWND dialog = Start(program);
  ASSERT_NE(dialog, nullptr);
  const size_t started = SettledTrace(traceFolder, 1).size();
  EXPECT_EQ(SendTo(dialog, WM_QUERYENDSESSION, 0, 0), TRUE) << "the log-off may go on";
  std::vector<TraceLine> lines = SettledTrace(traceFolder, started + 8);
  ExpectDefaultsRestored(lines, started);
  EXPECT_EQ(SendTo(dialog, WM_QUERYENDSESSION, 0, 0), TRUE) << "asked again, same answer";
  // A log-off vetoed elsewhere: the utility goes on; a choice made now installs again.
  SendTo(dialog, WM_ENDSESSION, FALSE, 0);
  EXPECT_FALSE(program.HasExited());
  Click(dialog, IDC_WHITE_FIRST + 1);
  EXPECT_TRUE(IsPushed(dialog, IDC_WHITE_FIRST + 1));
  lines = SettledTrace(traceFolder, started + 17);
  ASSERT_EQ(lines.size(), started + 17) << "every role installed again after the query";
  ExpectEveryRoleInstalled(lines, started + 8, true);
  // Leaving now puts nothing back: that happened once, at the query.
  const size_t beforeEnd = lines.size();
  PressKey(dialog, VK_ESCAPE);
  EXPECT_TRUE(program.WaitForExit());
  EXPECT_EQ(ReadTrace(traceFolder).size(), beforeEnd);
  EXPECT_EQ(ReadFile(SettingsFilePath()).find("WhtClr"), std::string::npos) << "nothing written";
}

TEST_F(MainDialogOnLibrary, ListsHoldTheLibraryAndShowTheStoredChoices) {
  Program program(POINTREL_EXE, folder);
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
TEST_F(MainDialog, CaptionShowsTheSmallIcon) {
  Program program(POINTREL_EXE, folder);
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
struct AboutDoor {
  const char* name;
  void (*open)(HWND dialog);
};

class AboutBox : public MainDialog, public ::testing::WithParamInterface<AboutDoor> {};

TEST_P(AboutBox, OpensModalCentredAndClosesWithOk) {
  Program program(POINTREL_EXE, folder);
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

HCURSOR CursorShown() {
  CURSORINFO info{};
  info.cbSize = sizeof info;
  ::GetCursorInfo(&info);
  return info.hCursor;
}

// The pointer rests over the dialog's status line; `nudge` moves it one pixel, as a hand does,
// so the dialog is asked for its cursor again.
void PointAtDialog(HWND dialog, int nudge = 0) {
  RECT status;
  ::GetWindowRect(::GetDlgItem(dialog, IDC_STATUS), &status);
  ::SetCursorPos(status.left + 10 + nudge, status.top + 4);
}

struct TestButton {
  const char* name;
  int id;
};

class TestButtons : public MainDialog, public ::testing::WithParamInterface<TestButton> {};

TEST_P(TestButtons, ShowTheirCursorOverTheDialogForFourSeconds) {
  Program program(POINTREL_EXE, folder);
  HWND dialog = Start(program);
  ASSERT_NE(dialog, nullptr);
  PointAtDialog(dialog);
  ::Sleep(300);
  const HCURSOR usual = CursorShown();
  Click(dialog, GetParam().id);
  const DWORD pressed = ::GetTickCount();
  PointAtDialog(dialog, 1);
  EXPECT_TRUE(WaitFor([&] { return CursorShown() != usual; }, 1000)) << "the test's cursor shows";
  const HCURSOR testing = CursorShown();
  ::Sleep(3000 - (::GetTickCount() - pressed));
  PointAtDialog(dialog);
  ::Sleep(200);
  EXPECT_EQ(CursorShown(), testing) << "still after three seconds, though the pointer moved";
  EXPECT_TRUE(WaitFor(
      [&] {
        PointAtDialog(dialog, (::GetTickCount() / 50) % 2);
        return CursorShown() == usual;
      },
      3000));
  EXPECT_GE(::GetTickCount() - pressed, 3900u) << "four seconds";
  EXPECT_LE(::GetTickCount() - pressed, 5500u);
}

INSTANTIATE_TEST_SUITE_P(Both, TestButtons,
                         ::testing::Values(TestButton{"AppStarting", IDC_TEST_APPSTART}, TestButton{"Busy", IDC_TEST_BUSY}),
                         [](const ::testing::TestParamInfo<TestButton>& info) { return std::string(info.param.name); });

TEST_F(MainDialog, TheTwoTestsShowDifferentCursors) {
  Program program(POINTREL_EXE, folder);
  HWND dialog = Start(program);
  ASSERT_NE(dialog, nullptr);
  PointAtDialog(dialog);
  Click(dialog, IDC_TEST_BUSY);
  PointAtDialog(dialog, 1);
  ::Sleep(300);
  const HCURSOR busy = CursorShown();
  Click(dialog, IDC_TEST_APPSTART);
  PointAtDialog(dialog);
  ::Sleep(300);
  EXPECT_NE(CursorShown(), busy) << "App Starting's cursor takes over while both run";
}

// The stored blink mode starts with the dialog: Wobble moves the resting pointer one pixel at a
// time after two seconds; a value outside the modes starts nothing.
struct StartMode {
  const char* name;
  const char* settings;
  bool wobbles;
};

class StoredMode : public MainDialog, public ::testing::WithParamInterface<StartMode> {};

TEST_P(StoredMode, WobblesOrLeavesThePointerAlone) {
  WriteSettings(GetParam().settings);
  Program program(POINTREL_EXE, folder);
  HWND dialog = Start(program);
  ASSERT_NE(dialog, nullptr);
  POINT rest = {300, 300};
  // Set twice: a pointer position from before the first (the last program's wobble) can still
  // reach the display after it.
  ::SetCursorPos(rest.x, rest.y);
  ::Sleep(300);
  ::SetCursorPos(rest.x, rest.y);
  ASSERT_TRUE(WaitFor([&] {
    POINT now;
    ::GetCursorPos(&now);
    return now.x == rest.x && now.y == rest.y;
  }));
  std::vector<POINT> seen;
  const DWORD start = ::GetTickCount();
  while (::GetTickCount() - start < 3500) {
    POINT now;
    ::GetCursorPos(&now);
    if (seen.empty() || now.x != seen.back().x || now.y != seen.back().y) seen.push_back(now);
    ::Sleep(10);
  }
  for (const POINT& p : seen) {
    EXPECT_LE(std::abs(p.x - rest.x) + std::abs(p.y - rest.y), 2) << "within the one-pixel square";
    EXPECT_GE(p.x, rest.x);
    EXPECT_GE(p.y, rest.y);
  }
  if (GetParam().wobbles) {
    ASSERT_GE(seen.size(), 3u) << "the pointer made its first steps";
    EXPECT_EQ(seen[1].x, rest.x + 1) << "first step right";
    EXPECT_EQ(seen[1].y, rest.y);
    EXPECT_EQ(seen[2].x, rest.x + 1) << "then down";
    EXPECT_EQ(seen[2].y, rest.y + 1);
  } else {
    std::string path;
    for (const POINT& p : seen) path += " (" + std::to_string(p.x) + "," + std::to_string(p.y) + ")";
    EXPECT_EQ(seen.size(), 1u) << "the pointer stays where it was put:" << path;
  }
  PressKey(dialog, VK_ESCAPE);
  EXPECT_TRUE(program.WaitForExit());
}

INSTANTIATE_TEST_SUITE_P(Modes, StoredMode,
                         ::testing::Values(StartMode{"Wobble", "Blink=6\r\n", true}, StartMode{"None", "Blink=0\r\n", false},
                                           StartMode{"Nine", "Blink=9\r\n", false}),
                         [](const ::testing::TestParamInfo<StartMode>& info) { return std::string(info.param.name); });

// The help window of the utility's process, once it is visible.
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
  Program program(POINTREL_EXE, folder);
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
  Program program(POINTREL_EXE, folder);
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
  const std::string copy = folder + "\\Pointrel.EXE";
  ASSERT_TRUE(::CopyFileA(POINTREL_EXE, copy.c_str(), FALSE));
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
TEST_F(MainDialog, WithoutColourCursorsTheButtonsAreDisabledAndTheStatusSaysWhy) {
  WriteSettings("WhtClr=1\r\nBlkClr=2\r\n");
  Program program(POINTREL_EXE, folder, {"POINTREL_COLOUR_PROBE=fail"});
  HWND dialog = Start(program);
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(Text(::GetDlgItem(dialog, IDC_STATUS)), kNoColourText);
  for (int id = IDC_WHITE_FIRST; id <= IDC_BLACK_LAST; ++id) EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(dialog, id))) << id;
  EXPECT_TRUE(PushedColourButtons(dialog).empty());
  EXPECT_EQ(CornerColour(::GetDlgItem(dialog, IDC_WHITE_FIRST + 1)), RGB(128, 128, 128)) << "the disabled picture";
  // The lists, mirror boxes and radios stay usable.
  EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(dialog, IDC_LIST_NORMAL)));
  EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(dialog, IDC_BLINK_RAPID)));
  // The stored colours are kept and saved unchanged; Cancel presses nothing either.
  Click(dialog, IDC_CANCEL);
  ASSERT_TRUE(WaitFor([&] { return ::IsIconic(dialog) != FALSE; }));
  EXPECT_TRUE(PushedColourButtons(dialog).empty());
  ::ShowWindow(dialog, SW_RESTORE);
  Click(dialog, IDC_OK);
  ASSERT_TRUE(WaitFor([&] { return ::IsIconic(dialog) != FALSE; }));
  const std::string content = ReadFile(SettingsFilePath());
  EXPECT_EQ(ValueInFile(content, "WhtClr"), "1") << content;
  EXPECT_EQ(ValueInFile(content, "BlkClr"), "2") << content;
}

TEST_F(MainDialog, SeamValueOtherThanFailLeavesTheProbeAlone) {
  Program program(POINTREL_EXE, folder, {"POINTREL_COLOUR_PROBE=failing"});
  HWND dialog = Start(program);
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(Text(::GetDlgItem(dialog, IDC_STATUS)), "");
  EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(dialog, IDC_WHITE_FIRST)));
}

}  // namespace
