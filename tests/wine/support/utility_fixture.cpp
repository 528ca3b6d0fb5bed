#include "tests/wine/support/utility_fixture.h"

#include "tests/wine/utility/library_copy.h"
#include "utility/resources/resource.h"

namespace wine_test {

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

LRESULT SendTo(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
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

std::string MessageBoxText(HWND box) {
  std::string text;
  for (HWND child = ::GetWindow(box, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) text += Text(child) + "\n";
  return text;
}

bool CloseMessageBox(HWND box) {
  ::PostMessageA(box, WM_COMMAND, IDOK, 0);
  return WaitFor([&] { return !::IsWindow(box); });
}

bool HasRed(const cursor_record::CursorPicture& picture) {
  for (size_t i = 0; i < picture.pixels.size() && picture.colour; ++i) {
    if (picture.andMask[i] == 0 && (picture.pixels[i] & 0xFFFFFF) == 0xFF0000) return true;
  }
  return false;
}

unsigned long TraceClockOf(DWORD processId) {
  HANDLE process = ::OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, processId);
  FILETIME creation = {}, exited, kernel, user, now;
  const bool known = process && ::GetProcessTimes(process, &creation, &exited, &kernel, &user);
  if (process) ::CloseHandle(process);
  ::GetSystemTimeAsFileTime(&now);
  const auto ticks = [](const FILETIME& time) {
    return (static_cast<unsigned long long>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
  };
  return known && ticks(now) > ticks(creation) ? static_cast<unsigned long>((ticks(now) - ticks(creation)) / 10000) : 0;
}

void MainDialog::SetUp() {
  RemoveFile(SettingsFilePath());
  RemoveFile(RunMarkerPath());  // a test that killed the utility leaves it
  folder = MakeTempFolder("pointrel-dialog");
  traceFolder = MakeTempFolder("pointrel-dialog-trace");
}

void MainDialog::TearDown() { RemoveFile(SettingsFilePath()); }

void MainDialog::WriteSettings(const std::string& lines) {
  ASSERT_TRUE(WriteFile(SettingsFilePath(), "[Cursors]\r\n" + lines));
}

HWND MainDialog::Start(Program& program) {
  EXPECT_TRUE(program.started());
  HWND dialog = program.WaitForWindow(kUtilityTitle);
  EXPECT_NE(dialog, nullptr) << "no window titled Pointrel";
  return dialog;
}

void MainDialogOnLibrary::SetUp() {
  MainDialog::SetUp();
  ASSERT_EQ(library_copy::CopyGeneratedLibrary(folder), library_copy::kLibraryFiles);
  WriteLibrarySettings("");
}

void MainDialogOnLibrary::WriteLibrarySettings(const std::string& more) {
  WriteSettings(
      "Normal=Giant white arrow.CUR\r\nAppstart=<Same as Normal>\r\nBusy=Hamster on treadmill.CUR\r\n"
      "Ibeam=Huge I-beam.CUR\r\nSizing=1\r\n" + more);
}

void MainDialogOnLibrary::ExpectEveryRoleInstalled(const std::vector<TraceLine>& lines, size_t from, bool red) {
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
  // Each role once: App Starting, which follows Normal, in its own turn only.
  const std::vector<unsigned long> expected = {32512, 32650, 32514, 32513, 32642, 32643, 32644, 32645};
  EXPECT_EQ(ids, expected);
}

}  // namespace wine_test
