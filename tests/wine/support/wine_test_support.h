// Shared help for the tests under Wine: starting the real programs, finding their windows,
// pressing their controls, and the files they leave in the private prefix.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

namespace wine_test {

// The Windows folder of the prefix, without a trailing backslash ("C:\windows").
std::string WindowsFolder();
// The utility's settings folder in the user's application-data folder (made if missing), and
// its settings file there.
std::string SettingsFolder();
std::string SettingsFilePath();
// Where an older Pointrel kept the file: the Windows folder.
std::string OlderSettingsFilePath();
// The marker a run leaves beside the settings until it has put the cursors back.
std::string RunMarkerPath();
// The keys of a profile file's text, in file order (every line with an equals sign).
std::vector<std::string> KeysInFile(const std::string& content);
// The value of `key` in a profile file's text, or "(missing)".
std::string ValueInFile(const std::string& content, const std::string& key);
std::string ReadFile(const std::string& path);
bool WriteFile(const std::string& path, const std::string& content);
bool FileExists(const std::string& path);
void RemoveFile(const std::string& path);
// A fresh empty folder under the prefix's temp folder.
std::string MakeTempFolder(const char* name);

// Polls `condition` every 20 ms until it holds or `timeoutMs` pass.
template <class Condition>
bool WaitFor(Condition condition, DWORD timeoutMs = 10000) {
  const DWORD start = ::GetTickCount();
  for (;;) {
    if (condition()) return true;
    if (::GetTickCount() - start > timeoutMs) return false;
    ::Sleep(20);
  }
}

// Sleeps until `ms` have passed since `start` (a GetTickCount reading); at once when they
// already have, never the wrapped-around difference.
inline void SleepUntilElapsed(DWORD start, DWORD ms) {
  const DWORD elapsed = ::GetTickCount() - start;
  if (elapsed < ms) ::Sleep(ms - elapsed);
}

// The folders of the build under test, Windows paths without a trailing separator, as the
// emulator hands them over (POINTREL_TEST_BINARY_DIR, POINTREL_TEST_SOURCE_DIR): not compiled in,
// so the test objects are the same wherever the tree lies. A test started without them stops.
const std::string& BinaryDir();
const std::string& SourceDir();
// The Pointrel.EXE this build made.
std::string BuiltUtility();

// The utility as installed: Pointrel.EXE and its help file copied into `folder` (kept when a
// running copy holds them), so that it finds the library there. Its path.
std::string UtilityIn(const std::string& folder);

// Paths in UTF-8, for the wide calls that take any path.
std::wstring WideFromUtf8(const std::string& text);
std::string Utf8FromWide(const std::wstring& text);

// A program this test started; ended by its own process handle only.
class Program {
 public:
  // Starts `exe` in `workingFolder` (or the test's own folder when empty), both in UTF-8 (ASCII
  // paths as they are). Extra environment
  // entries "NAME=value" are added to the test's own.
  // `arguments` follow the quoted program name on its command line.
  Program(const std::string& exe, const std::string& workingFolder = "",
          const std::vector<std::string>& environment = {}, const std::string& arguments = "");
  ~Program();
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  bool started() const { return process != nullptr; }
  DWORD id() const { return processId; }
  HANDLE handle() const { return process; }
  // The visible top-level window of this process titled `title`, once the process waits for
  // input; waits up to `timeoutMs`.
  HWND WaitForWindow(const char* title, DWORD timeoutMs = 10000) const;
  bool WaitForExit(DWORD timeoutMs = 10000) const;
  bool HasExited() const;
  DWORD ExitCode() const;
  // Ends the process if it still runs.
  void Kill();

 private:
  HANDLE process = nullptr;
  DWORD processId = 0;
};

// The ids of running processes whose program file is named `exeName` (no folder), in any case.
std::vector<DWORD> ProcessesNamed(const char* exeName);

// All top-level windows titled `title`, visible or not.
std::vector<HWND> FindTopLevelWindows(const char* title);
// The visible top-level windows of process `processId`, whatever their titles.
std::vector<HWND> VisibleTopLevelWindowsOf(DWORD processId);
DWORD WindowProcess(HWND window);

// Presses a button of a dialog as a click does (BM_CLICK), and waits until it was handled.
void Click(HWND dialog, int id);
// Sends a key to the focused control of the dialog's thread, as the keyboard does.
void PressKey(HWND dialog, UINT virtualKey);
bool IsChecked(HWND dialog, int id);
// The entries of a list box of another process, top to bottom. Asked for in wide characters:
// Wine hands an ANSI request across processes back in the list's own (wide) form.
std::string ListBoxText(HWND list, int index);
std::vector<std::string> ListBoxTexts(HWND list);

}  // namespace wine_test
