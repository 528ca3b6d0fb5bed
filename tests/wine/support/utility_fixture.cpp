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
  // The guard of the last test's utility ends after it, from the file this test replaces.
  WaitFor([] { return ProcessesNamed("Pointrel.EXE").empty(); }, 5000);
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
  // Each role once, in the install order: App Starting, which follows Normal, in its own turn
  // only; the five roles' library files first, then the nine others at the platform's cursor.
  const std::vector<unsigned long> expected = ExpectedInstallOrder();
  ASSERT_EQ(lines.size() - from, expected.size());
  for (size_t i = 0; i < expected.size(); ++i) {
    const TraceLine& line = lines[from + i];
    SCOPED_TRACE("line " + std::to_string(from + i) + " id " + std::to_string(line.id));
    EXPECT_EQ(line.id, expected[i]);
    const bool library = i < 8;
    EXPECT_EQ(line.event, library ? "install" : ExpectedDefaultInstallEvent(expected[i], red));
    if (line.event != "install") continue;
    if (library) {
      EXPECT_EQ(line.kind, "static");
    }
    if (line.kind == "static") {
      EXPECT_EQ(HasRed(TracedPicture(traceFolder, line)), red && (library || PlatformCursorIsMonochrome(line.id)));
    }
  }
}

}  // namespace wine_test
