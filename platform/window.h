// Windows, dialogs from numbered templates, controls bound by id, and static message maps.
#pragma once
#include <windows.h>

// A non-owning wrapper of a window handle; each operation sends one message or makes one call.
class CWnd {
 public:
  CWnd() = default;
  virtual ~CWnd() = default;
  CWnd(const CWnd&) = delete;
  CWnd& operator=(const CWnd&) = delete;

  HWND GetSafeHwnd() const { return m_hWnd; }
  LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
    return ::SendMessageA(m_hWnd, message, wParam, lParam);
  }
  BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
    return ::PostMessageA(m_hWnd, message, wParam, lParam);
  }
  BOOL ShowWindow(int command) const { return ::ShowWindow(m_hWnd, command); }
  BOOL EnableWindow(BOOL enable = TRUE) const { return ::EnableWindow(m_hWnd, enable); }
  BOOL IsIconic() const { return ::IsIconic(m_hWnd); }
  void SetWindowText(const char* text) const { ::SetWindowTextA(m_hWnd, text); }
  int GetWindowText(char* buffer, int size) const { return ::GetWindowTextA(m_hWnd, buffer, size); }
  void GetWindowRect(RECT* rect) const { ::GetWindowRect(m_hWnd, rect); }
  void GetClientRect(RECT* rect) const { ::GetClientRect(m_hWnd, rect); }
  void ScreenToClient(RECT* rect) const;
  void MoveWindow(const RECT& rect, BOOL repaint = TRUE) const {
    ::MoveWindow(m_hWnd, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, repaint);
  }
  HWND GetDlgItem(int id) const { return ::GetDlgItem(m_hWnd, id); }
  HWND SetFocus() const { return ::SetFocus(m_hWnd); }
  UINT_PTR SetTimer(UINT_PTR id, UINT period) const { return ::SetTimer(m_hWnd, id, period, nullptr); }
  BOOL KillTimer(UINT_PTR id) const { return ::KillTimer(m_hWnd, id); }
  HMENU GetSystemMenu(BOOL revert) const { return ::GetSystemMenu(m_hWnd, revert); }
  HICON SetIcon(HICON icon, BOOL big) const {
    return reinterpret_cast<HICON>(SendMessage(WM_SETICON, big ? ICON_BIG : ICON_SMALL, reinterpret_cast<LPARAM>(icon)));
  }
  int MessageBox(const char* text, const char* caption, UINT type) const {
    return ::MessageBoxA(m_hWnd, text, caption, type);
  }

  // Binds this wrapper to a control of a dialog, so the dialog hands it the control's owner-draw
  // messages. The wrapper must outlive the dialog window.
  BOOL SubclassDlgItem(UINT id, CWnd* parent);
  // Owner-draw controls override this; the dialog calls it for WM_DRAWITEM.
  virtual void DrawItem(const DRAWITEMSTRUCT&) {}

  HWND m_hWnd = nullptr;
};

// Where a minimised window's icon goes: centred in `client`, each half-difference truncated
// toward zero, so a client smaller than the icon still centres it.
POINT MinimisedIconOrigin(const RECT& client, int iconWidth, int iconHeight);
// While `window` is minimised, paints it as its icon: the icon background, then `icon` centred.
// False when it is not minimised; the caller then lets the platform paint.
bool PaintMinimisedIcon(const CWnd& window, HICON icon);

// The dots per inch the platform lays `window` out at: its monitor's where the platform says so
// (Windows 10 1607 and later), else the screen's; 96 when neither answers.
UINT WindowDpi(HWND window);
// Sent when a window moves to a monitor of another scale (WM_DPICHANGED, newer than the
// headers' target version); wParam holds the new dots per inch in each half.
constexpr UINT kDpiChangedMessage = 0x02E0;

// The session's lock and unlock (WM_WTSSESSION_CHANGE) sent to `window` from now on, where the
// platform offers them (its session library is looked up at run time). Stopped before the
// window goes.
bool WatchSessionChanges(HWND window);
void StopWatchingSessionChanges(HWND window);

class CButton : public CWnd {
 public:
  int GetCheck() const { return static_cast<int>(SendMessage(BM_GETCHECK)); }
  void SetCheck(int check) const { SendMessage(BM_SETCHECK, check); }
  void SetState(BOOL pushed) const { SendMessage(BM_SETSTATE, pushed); }
};

class CListBox : public CWnd {
 public:
  int AddString(const char* text) const { return static_cast<int>(SendMessage(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text))); }
  int GetCurSel() const { return static_cast<int>(SendMessage(LB_GETCURSEL)); }
  int GetTextLen(int index) const { return static_cast<int>(SendMessage(LB_GETTEXTLEN, index)); }
  // `buffer` must hold GetTextLen(index) + 1 characters.
  int GetText(int index, char* buffer) const {
    return static_cast<int>(SendMessage(LB_GETTEXT, index, reinterpret_cast<LPARAM>(buffer)));
  }
  int SelectString(int startAfter, const char* prefix) const {
    return static_cast<int>(SendMessage(LB_SELECTSTRING, startAfter, reinterpret_cast<LPARAM>(prefix)));
  }
  BOOL SetTabStops(int stop) const { return static_cast<BOOL>(SendMessage(LB_SETTABSTOPS, 1, reinterpret_cast<LPARAM>(&stop))); }
};

// A drop-down list (CBS_DROPDOWNLIST).
class CComboBox : public CWnd {
 public:
  int AddString(const char* text) const { return static_cast<int>(SendMessage(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text))); }
  int GetCount() const { return static_cast<int>(SendMessage(CB_GETCOUNT)); }
  int GetCurSel() const { return static_cast<int>(SendMessage(CB_GETCURSEL)); }
  int SetCurSel(int index) const { return static_cast<int>(SendMessage(CB_SETCURSEL, index)); }
  int GetLBTextLen(int index) const { return static_cast<int>(SendMessage(CB_GETLBTEXTLEN, index)); }
  // `buffer` must hold GetLBTextLen(index) + 1 characters.
  int GetLBText(int index, char* buffer) const {
    return static_cast<int>(SendMessage(CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(buffer)));
  }
  int FindStringExact(int startAfter, const char* text) const {
    return static_cast<int>(SendMessage(CB_FINDSTRINGEXACT, startAfter, reinterpret_cast<LPARAM>(text)));
  }
  int SelectString(int startAfter, const char* prefix) const {
    return static_cast<int>(SendMessage(CB_SELECTSTRING, startAfter, reinterpret_cast<LPARAM>(prefix)));
  }
  int DeleteString(int index) const { return static_cast<int>(SendMessage(CB_DELETESTRING, index)); }
  void ResetContent() const { SendMessage(CB_RESETCONTENT); }
};

class CStatic : public CWnd {};

class CEdit : public CWnd {};

// Data exchange binds controls of the template to member wrappers.
struct CDataExchange {
  BOOL m_bSaveAndValidate;
  CWnd* m_pDlgWnd;
};
void DDX_Control(CDataExchange* exchange, int id, CWnd& control);

// A message map is a static table of entries; each entry's thunk unpacks WPARAM and LPARAM once
// and calls a member handler with typed arguments.
using MessageThunk = LRESULT (*)(CWnd& self, WPARAM wParam, LPARAM lParam);
struct MessageMapEntry {
  UINT message;     // WM_COMMAND for button clicks and list notifications
  UINT code;        // notification code of a command (BN_CLICKED, LBN_SELCHANGE)
  UINT firstId;     // command ids firstId..lastId
  UINT lastId;
  MessageThunk thunk;
};
struct MessageMap {
  const MessageMapEntry* entries;
  int count;
};
template <size_t N>
constexpr MessageMap MakeMessageMap(const MessageMapEntry (&entries)[N]) {
  return {entries, static_cast<int>(N)};
}

namespace messages {
template <typename>
struct ClassOf;
template <class T, class R, class... A>
struct ClassOf<R (T::*)(A...)> {
  using type = T;
};
template <auto Fn>
using Owner = typename ClassOf<decltype(Fn)>::type;

template <auto Fn>
LRESULT CallVoid(CWnd& self, WPARAM, LPARAM) {
  (static_cast<Owner<Fn>&>(self).*Fn)();
  return 0;
}
template <auto Fn>
LRESULT CallWithId(CWnd& self, WPARAM wParam, LPARAM) {
  (static_cast<Owner<Fn>&>(self).*Fn)(LOWORD(wParam));
  return 0;
}
template <auto Fn>
LRESULT CallSysCommand(CWnd& self, WPARAM wParam, LPARAM lParam) {
  (static_cast<Owner<Fn>&>(self).*Fn)(static_cast<UINT>(wParam), lParam);
  return 0;
}
template <auto Fn>
LRESULT CallWithParams(CWnd& self, WPARAM wParam, LPARAM lParam) {
  (static_cast<Owner<Fn>&>(self).*Fn)(wParam, lParam);
  return 0;
}
template <auto Fn>
LRESULT CallTimer(CWnd& self, WPARAM wParam, LPARAM) {
  (static_cast<Owner<Fn>&>(self).*Fn)(static_cast<UINT_PTR>(wParam));
  return 0;
}
template <auto Fn>
LRESULT CallQueryDragIcon(CWnd& self, WPARAM, LPARAM) {
  return reinterpret_cast<LRESULT>((static_cast<Owner<Fn>&>(self).*Fn)());
}
template <auto Fn>
LRESULT CallSetCursor(CWnd& self, WPARAM wParam, LPARAM lParam) {
  return (static_cast<Owner<Fn>&>(self).*Fn)(reinterpret_cast<HWND>(wParam), LOWORD(lParam), HIWORD(lParam));
}
template <auto Fn>
LRESULT CallBoolResult(CWnd& self, WPARAM, LPARAM) {
  return (static_cast<Owner<Fn>&>(self).*Fn)();
}
template <auto Fn>
LRESULT CallEndSession(CWnd& self, WPARAM wParam, LPARAM) {
  (static_cast<Owner<Fn>&>(self).*Fn)(static_cast<BOOL>(wParam));
  return 0;
}
template <auto Fn>
LRESULT CallCopyData(CWnd& self, WPARAM, LPARAM lParam) {
  return (static_cast<Owner<Fn>&>(self).*Fn)(*reinterpret_cast<const COPYDATASTRUCT*>(lParam));
}
}  // namespace messages

// Entry makers, one per handler shape.
template <auto Fn>  // void Fn()
constexpr MessageMapEntry MapClicked(UINT id) { return {WM_COMMAND, BN_CLICKED, id, id, &messages::CallVoid<Fn>}; }
template <auto Fn>  // void Fn(UINT id)
constexpr MessageMapEntry MapClickedRange(UINT firstId, UINT lastId) {
  return {WM_COMMAND, BN_CLICKED, firstId, lastId, &messages::CallWithId<Fn>};
}
template <auto Fn>  // void Fn()
constexpr MessageMapEntry MapSelChange(UINT id) { return {WM_COMMAND, LBN_SELCHANGE, id, id, &messages::CallVoid<Fn>}; }
template <auto Fn>  // void Fn(UINT id)
constexpr MessageMapEntry MapSelChangeRange(UINT firstId, UINT lastId) {
  return {WM_COMMAND, LBN_SELCHANGE, firstId, lastId, &messages::CallWithId<Fn>};
}
template <auto Fn>  // void Fn()
constexpr MessageMapEntry MapMessage(UINT message) { return {message, 0, 0, 0, &messages::CallVoid<Fn>}; }
template <auto Fn>  // void Fn(WPARAM, LPARAM): a platform notification whose parameters say what happened
constexpr MessageMapEntry MapNotification(UINT message) { return {message, 0, 0, 0, &messages::CallWithParams<Fn>}; }
template <auto Fn>  // void Fn(UINT what): a message of our own, its low word of wParam
constexpr MessageMapEntry MapPosted(UINT message) { return {message, 0, 0, 0, &messages::CallWithId<Fn>}; }
template <auto Fn>  // void Fn(UINT dpi)
constexpr MessageMapEntry MapDpiChanged() { return {kDpiChangedMessage, 0, 0, 0, &messages::CallWithId<Fn>}; }
template <auto Fn>  // void Fn(UINT command, LPARAM)
constexpr MessageMapEntry MapSysCommand() { return {WM_SYSCOMMAND, 0, 0, 0, &messages::CallSysCommand<Fn>}; }
template <auto Fn>  // void Fn(UINT_PTR id)
constexpr MessageMapEntry MapTimer() { return {WM_TIMER, 0, 0, 0, &messages::CallTimer<Fn>}; }
template <auto Fn>  // HICON Fn()
constexpr MessageMapEntry MapQueryDragIcon() { return {WM_QUERYDRAGICON, 0, 0, 0, &messages::CallQueryDragIcon<Fn>}; }
template <auto Fn>  // BOOL Fn(HWND window, UINT hitTest, UINT message)
constexpr MessageMapEntry MapSetCursor() { return {WM_SETCURSOR, 0, 0, 0, &messages::CallSetCursor<Fn>}; }
template <auto Fn>  // BOOL Fn()
constexpr MessageMapEntry MapQueryEndSession() { return {WM_QUERYENDSESSION, 0, 0, 0, &messages::CallBoolResult<Fn>}; }
template <auto Fn>  // LRESULT Fn(const COPYDATASTRUCT&): what another process handed over; the result goes back to it
constexpr MessageMapEntry MapCopyData() { return {WM_COPYDATA, 0, 0, 0, &messages::CallCopyData<Fn>}; }
template <auto Fn>  // void Fn(BOOL ending)
constexpr MessageMapEntry MapEndSession() { return {WM_ENDSESSION, 0, 0, 0, &messages::CallEndSession<Fn>}; }

// A dialog from a numbered template of the program's resources, run modally.
class CDialog : public CWnd {
 public:
  explicit CDialog(UINT templateId, CWnd* parent = nullptr) : templateId(templateId), parent(parent) {}

  // Runs the dialog in a modal loop of its own, as the framework does: the window is shown when
  // the queue first goes empty only if initialisation left it invisible, so a dialog that
  // minimises or hides itself at start stays so.
  INT_PTR DoModal();
  // Ends the modal loop with `result`; the window is destroyed when DoModal returns.
  void EndDialog(int result);
  // Centres over the owner when it is visible, else on the screen's work area.
  BOOL CenterWindow(CWnd* alternateOwner = nullptr) const;
  BOOL UpdateData(BOOL saveAndValidate = TRUE);

  // The message being handled goes on to the platform's default processing; the handler's own
  // result is then not used.
  LRESULT Default() {
    defaultRequested = true;
    return 0;
  }

 protected:
  virtual BOOL OnInitDialog();
  virtual void DoDataExchange(CDataExchange*) {}
  // The framework's standard commands 1 and 2.
  virtual void OnOK();
  virtual void OnCancel();
  virtual MessageMap GetMessageMap() const { return {nullptr, 0}; }
  // Sees every message the modal loop takes before the dialog does; TRUE drops it.
  virtual BOOL PreTranslateMessage(const MSG&) { return FALSE; }

 private:
  static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  INT_PTR Dispatch(UINT message, WPARAM wParam, LPARAM lParam);

  UINT templateId;
  CWnd* parent;
  bool defaultRequested = false;
  bool modalRunning = false;
  INT_PTR modalResult = -1;
};
