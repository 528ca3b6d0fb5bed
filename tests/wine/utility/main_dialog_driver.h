// Runs the real MainDialog in the test's own process and thread: DoModal with a thread timer
// whose first tick runs the test's body while the dialog is up, then ends the dialog. Every
// handler therefore runs on this thread, as in the program, and the slots and the service's
// record can be read directly.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/app.h"
#include "utility/cursor/cursor_slots_win.h"
#include "utility/dialog/main_dialog_win.h"
#include "utility/records/cursor_settings.h"

namespace dialog_driver {

// `current` as a first start has it: every key its default, as a store with none gives them.
inline void DefaultSettings() {
  class NoKeys : public ProfileStore {
    void GetProfileString(const char*, const char*, const char* fallback, char* buffer, int size) override {
      ::lstrcpynA(buffer, fallback, size);
    }
    int32_t GetProfileInt(const char*, const char*, int32_t fallback) override { return fallback; }
    bool WriteProfileString(const char*, const char*, const char*) override { return false; }
    bool WriteProfileInt(const char*, const char*, int32_t) override { return false; }
  } none;
  LoadSettings(none);
}

// The program's application object, as the framework expects one to exist.
inline CWinApp& TestApplication() {
  static CWinApp app;
  static bool attached = false;
  if (!attached) {
    app.Attach(::GetModuleHandleA(nullptr));
    attached = true;
  }
  return app;
}

struct Run {
  MainDialog* dialog = nullptr;
  const std::function<void(MainDialog&)>* body = nullptr;
};
inline Run& CurrentRun() {
  static Run run;
  return run;
}

inline void CALLBACK FirstTick(HWND, UINT, UINT_PTR timer, DWORD) {
  ::KillTimer(nullptr, timer);
  Run& run = CurrentRun();
  if (!run.dialog || !run.body) return;
  (*run.body)(*run.dialog);
  run.body = nullptr;
  run.dialog->EndDialog(IDCANCEL);
}

// Creates the dialog in the current folder (where the library folders must lie), runs `body`
// once it is up, then ends it. Returns false when the dialog could not be created.
inline bool RunMainDialog(const std::function<void(MainDialog&)>& body) {
  TestApplication();
  MainDialog dialog;
  Run& run = CurrentRun();
  run.dialog = &dialog;
  run.body = &body;
  const UINT_PTR timer = ::SetTimer(nullptr, 0, 1, &FirstTick);
  const INT_PTR result = dialog.DoModal();
  ::KillTimer(nullptr, timer);
  const bool ran = run.body == nullptr;
  run = Run();
  return result != -1 && ran;
}

// The texts of a list box, top to bottom.
inline std::vector<std::string> ListTexts(HWND list) {
  std::vector<std::string> texts;
  const int count = static_cast<int>(::SendMessageA(list, LB_GETCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    std::string text(static_cast<size_t>(::SendMessageA(list, LB_GETTEXTLEN, i, 0)) + 1, '\0');
    const LRESULT length = ::SendMessageA(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(&text[0]));
    text.resize(length < 0 ? 0 : static_cast<size_t>(length));
    texts.push_back(text);
  }
  return texts;
}

// The selected entry's text, or "(none)".
inline std::string SelectedText(HWND list) {
  const LRESULT selection = ::SendMessageA(list, LB_GETCURSEL, 0, 0);
  if (selection < 0) return "(none)";
  return ListTexts(list)[static_cast<size_t>(selection)];
}

// Selects entry `text` as a click does: the selection, then the notification to the dialog.
inline bool ChooseEntry(HWND dialog, int listId, const std::string& text) {
  HWND list = ::GetDlgItem(dialog, listId);
  const LRESULT index = ::SendMessageA(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text.c_str()));
  if (index < 0) return false;
  ::SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
  ::SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(listId, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
  return true;
}

// Clicks a button or check box as the user does.
inline void ClickControl(HWND dialog, int id) { ::SendMessageA(::GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

}  // namespace dialog_driver
