// The real Pointrel.EXE under test: the fixture that starts it in a fresh folder with its own
// settings and trace, and the looks of its window's controls as another process reads them.
#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/system_cursor.h"
#include "tests/wine/support/system_cursor_record.h"
#include "tests/wine/support/cursor_trace.h"
#include "tests/wine/support/wine_test_support.h"

namespace wine_test {

constexpr char kUtilityTitle[] = "Pointrel";
constexpr char kNoColourText[] = "No display driver support for color/animated";

std::string Text(HWND window);
std::string ClassName(HWND window);
// A control's rectangle in its dialog's client coordinates.
RECT ClientRect(HWND dialog, HWND control);
std::string Describe(const RECT& r);
bool SameRect(const RECT& a, const RECT& b);
bool IsPushed(HWND dialog, int id);
std::vector<int> PushedColourButtons(HWND dialog);
// The screen colour of a control's top-left pixel: the colour buttons' pictures differ there
// (white edge up, black edge down, grey frame disabled).
COLORREF CornerColour(HWND control);
// Presses a button without waiting for its handler, for buttons that open a modal box.
void PostClick(HWND dialog, int id);
LRESULT SendTo(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
// The window titled `title` that belongs to `program`, once it is visible.
HWND WaitForOwnWindow(const Program& program, const char* title);
// What a message box of another process says: its controls' texts, one a line.
std::string MessageBoxText(HWND box);
// Answers a message box with OK; true once it has gone.
bool CloseMessageBox(HWND box);
bool HasRed(const cursor_record::CursorPicture& picture);

// The user's pointer size, as Settings stores it, for as long as this lives.
class PointerSize {
 public:
  explicit PointerSize(DWORD base) {
    if (::RegCreateKeyExA(HKEY_CURRENT_USER, "Control Panel\\Cursors", 0, nullptr, 0, KEY_QUERY_VALUE | KEY_SET_VALUE,
                          nullptr, &key, nullptr) != ERROR_SUCCESS) {
      key = nullptr;
      return;
    }
    DWORD size = sizeof before;
    hadValue = ::RegQueryValueExA(key, "CursorBaseSize", nullptr, nullptr, reinterpret_cast<BYTE*>(&before), &size) == ERROR_SUCCESS;
    set = ::RegSetValueExA(key, "CursorBaseSize", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&base), sizeof base) == ERROR_SUCCESS;
  }
  ~PointerSize() {
    if (!key) return;
    if (hadValue) {
      ::RegSetValueExA(key, "CursorBaseSize", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&before), sizeof before);
    } else {
      ::RegDeleteValueA(key, "CursorBaseSize");
    }
    ::RegCloseKey(key);
  }
  bool set = false;

 private:
  HKEY key = nullptr;
  DWORD before = 0;
  bool hadValue = false;
};

// Now, on the clock of the trace of process `processId`: milliseconds since it started.
unsigned long TraceClockOf(DWORD processId);

// A fresh working folder, trace folder and settings file for each test.
class MainDialog : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  // The environment that makes the utility trace every system cursor it changes.
  std::vector<std::string> Traced() const { return {"POINTREL_CURSOR_TRACE=" + traceFolder}; }
  void WriteSettings(const std::string& lines);
  // The utility's window once it is up.
  HWND Start(Program& program);

  std::string folder;
  std::string traceFolder;
};

// The same on a copy of the generated library, with a static choice for every role.
class MainDialogOnLibrary : public MainDialog {
 protected:
  void SetUp() override;
  // The static choice for every role, then `more` settings lines.
  void WriteLibrarySettings(const std::string& more);
  // Every role's id is installed once from line `from` to the end, the library's static images
  // and the platform's two-coloured ones red or not as asked.
  void ExpectEveryRoleInstalled(const std::vector<TraceLine>& lines, size_t from, bool red);
};

}  // namespace wine_test
