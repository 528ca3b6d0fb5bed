#include "platform/window.h"

#include <cstring>

#include "platform/app.h"

namespace {
// The wrapper bound to a control, kept on the control itself so no table outlives a dialog.
const char kWrapperProperty[] = "Pointrel.Wrapper";

// Messages whose dialog-procedure result is the answer itself, not a handled flag.
bool ReturnsResultDirectly(UINT message) {
  switch (message) {
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_QUERYDRAGICON:
    case WM_INITDIALOG:
      return true;
    default:
      return false;
  }
}

bool Matches(const MessageMapEntry& entry, UINT message, WPARAM wParam) {
  if (entry.message != message) return false;
  if (message != WM_COMMAND) return true;
  const UINT id = LOWORD(wParam);
  return HIWORD(wParam) == entry.code && id >= entry.firstId && id <= entry.lastId;
}
}  // namespace

UINT WindowDpi(HWND window) {
  using DpiForWindow = UINT(WINAPI*)(HWND);
  static const auto dpiForWindow =
      reinterpret_cast<DpiForWindow>(reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleA("user32.dll"), "GetDpiForWindow")));
  if (dpiForWindow && window) {
    const UINT dpi = dpiForWindow(window);
    if (dpi) return dpi;
  }
  HDC screen = ::GetDC(nullptr);
  const int dpi = screen ? ::GetDeviceCaps(screen, LOGPIXELSX) : 0;
  if (screen) ::ReleaseDC(nullptr, screen);
  return dpi > 0 ? static_cast<UINT>(dpi) : 96;
}

void CWnd::ScreenToClient(RECT* rect) const {
  ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(rect), 2);
}

POINT MinimisedIconOrigin(const RECT& client, int iconWidth, int iconHeight) {
  return {(client.right - client.left - iconWidth + 1) / 2, (client.bottom - client.top - iconHeight + 1) / 2};
}

bool PaintMinimisedIcon(const CWnd& window, HICON icon) {
  if (!window.IsIconic()) return false;
  PAINTSTRUCT paint;
  HDC dc = ::BeginPaint(window.m_hWnd, &paint);
  window.SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc));
  RECT client;
  window.GetClientRect(&client);
  const POINT origin = MinimisedIconOrigin(client, ::GetSystemMetrics(SM_CXICON), ::GetSystemMetrics(SM_CYICON));
  ::DrawIcon(dc, origin.x, origin.y, icon);
  ::EndPaint(window.m_hWnd, &paint);
  return true;
}

BOOL CWnd::SubclassDlgItem(UINT id, CWnd* parent) {
  m_hWnd = parent->GetDlgItem(id);
  if (!m_hWnd) return FALSE;
  return ::SetPropA(m_hWnd, kWrapperProperty, this);
}

void DDX_Control(CDataExchange* exchange, int id, CWnd& control) {
  if (!control.m_hWnd) control.m_hWnd = exchange->m_pDlgWnd->GetDlgItem(id);
}

INT_PTR CDialog::DoModal() {
  HWND owner = parent ? parent->m_hWnd : nullptr;
  modalRunning = true;
  modalResult = -1;
  HWND window = ::CreateDialogParamA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(templateId), owner,
                                     &CDialog::DialogProc, reinterpret_cast<LPARAM>(this));
  if (!window) return -1;
  const bool ownerWasEnabled = owner && ::IsWindowEnabled(owner);
  if (ownerWasEnabled) ::EnableWindow(owner, FALSE);
  bool showWhenIdle = !(::GetWindowLongA(window, GWL_STYLE) & WS_VISIBLE);
  MSG message;
  while (modalRunning && ::IsWindow(window)) {
    if (showWhenIdle && !::PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE)) {
      ::ShowWindow(window, SW_SHOWNORMAL);
      ::UpdateWindow(window);
      showWhenIdle = false;
    }
    const BOOL got = ::GetMessageA(&message, nullptr, 0, 0);
    if (got <= 0) {
      if (got == 0) ::PostQuitMessage(static_cast<int>(message.wParam));
      break;
    }
    if (PreTranslateMessage(message)) continue;
    if (message.message == WM_KEYDOWN && message.wParam == VK_F1 &&
        (message.hwnd == window || ::IsChild(window, message.hwnd))) {
      // F1 is the framework's Help command, in every dialog of the program.
      HELPINFO help = {sizeof help, HELPINFO_WINDOW, ::GetDlgCtrlID(message.hwnd), message.hwnd, 0, message.pt};
      ::SendMessageA(window, WM_HELP, 0, reinterpret_cast<LPARAM>(&help));
      continue;
    }
    if (!::IsDialogMessageA(window, &message)) {
      ::TranslateMessage(&message);
      ::DispatchMessageA(&message);
    }
  }
  if (ownerWasEnabled) ::EnableWindow(owner, TRUE);
  if (::IsWindow(window)) {
    // Hide first, so activation passes to the owner before the window goes.
    ::SetWindowPos(window, nullptr, 0, 0, 0, 0,
                   SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
    if (owner) ::SetActiveWindow(owner);
    ::DestroyWindow(window);
  }
  modalRunning = false;
  return modalResult;
}

void CDialog::EndDialog(int result) {
  modalResult = result;
  modalRunning = false;
  // Wakes the modal loop when nothing else is queued.
  ::PostMessageA(m_hWnd, WM_NULL, 0, 0);
}

INT_PTR CALLBACK CDialog::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    auto* self = reinterpret_cast<CDialog*>(lParam);
    ::SetWindowLongPtrA(window, DWLP_USER, lParam);
    self->m_hWnd = window;
    return self->OnInitDialog();
  }
  auto* self = reinterpret_cast<CDialog*>(::GetWindowLongPtrA(window, DWLP_USER));
  if (!self) return FALSE;
  const INT_PTR result = self->Dispatch(message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    ::SetWindowLongPtrA(window, DWLP_USER, 0);
    self->m_hWnd = nullptr;
  }
  return result;
}

INT_PTR CDialog::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) {
    // Controls bound with SubclassDlgItem drop their wrapper before they go, whether or not
    // the dialog handles WM_DESTROY itself.
    for (HWND child = ::GetWindow(m_hWnd, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
      ::RemovePropA(child, kWrapperProperty);
    }
  }
  const MessageMap map = GetMessageMap();
  for (int i = 0; i < map.count; ++i) {
    if (!Matches(map.entries[i], message, wParam)) continue;
    // A handler may cause messages that are handled (and ask for default processing) before
    // it returns; each level keeps its own request.
    const bool outerRequest = defaultRequested;
    defaultRequested = false;
    const LRESULT result = map.entries[i].thunk(*this, wParam, lParam);
    const bool wantsDefault = defaultRequested;
    defaultRequested = outerRequest;
    if (wantsDefault) return FALSE;
    if (ReturnsResultDirectly(message)) return result;
    ::SetWindowLongPtrA(m_hWnd, DWLP_MSGRESULT, result);
    return TRUE;
  }
  if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
    if (LOWORD(wParam) == IDOK) {
      OnOK();
      return TRUE;
    }
    if (LOWORD(wParam) == IDCANCEL) {
      OnCancel();
      return TRUE;
    }
  }
  if (message == WM_HELP) {
    CWinApp* app = AfxGetApp();
    if (app && app->OnHelpCommand(m_hWnd)) return TRUE;
  }
  if (message == WM_DRAWITEM) {
    const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
    if (auto* control = static_cast<CWnd*>(::GetPropA(item->hwndItem, kWrapperProperty))) {
      control->DrawItem(*item);
      ::SetWindowLongPtrA(m_hWnd, DWLP_MSGRESULT, TRUE);
      return TRUE;
    }
  }
  return FALSE;
}

BOOL CDialog::OnInitDialog() {
  UpdateData(FALSE);
  return TRUE;
}

BOOL CDialog::UpdateData(BOOL saveAndValidate) {
  CDataExchange exchange = {saveAndValidate, this};
  DoDataExchange(&exchange);
  return TRUE;
}

void CDialog::OnOK() {
  UpdateData(TRUE);
  EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

BOOL CDialog::CenterWindow(CWnd* alternateOwner) const {
  HWND owner = alternateOwner ? alternateOwner->m_hWnd : ::GetWindow(m_hWnd, GW_OWNER);
  RECT area;
  if (owner && ::IsWindowVisible(owner) && !::IsIconic(owner)) {
    ::GetWindowRect(owner, &area);
  } else {
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
  }
  RECT self;
  ::GetWindowRect(m_hWnd, &self);
  const int width = self.right - self.left, height = self.bottom - self.top;
  int left = area.left + (area.right - area.left - width) / 2;
  int top = area.top + (area.bottom - area.top - height) / 2;
  RECT screen;
  ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &screen, 0);
  if (left + width > screen.right) left = screen.right - width;
  if (top + height > screen.bottom) top = screen.bottom - height;
  if (left < screen.left) left = screen.left;
  if (top < screen.top) top = screen.top;
  return ::SetWindowPos(m_hWnd, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

namespace {
// The platform's session library, from the system folder only; null where it has none.
HMODULE SessionLibrary() {
  char path[MAX_PATH + 16];
  const UINT length = ::GetSystemDirectoryA(path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return nullptr;
  std::strcpy(path + length, "\\wtsapi32.dll");
  return ::LoadLibraryA(path);
}

template <class Function>
Function SessionFunction(const char* name) {
  HMODULE library = SessionLibrary();  // kept loaded for the program's life
  return library ? reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(library, name))) : nullptr;
}
}  // namespace

bool WatchSessionChanges(HWND window) {
  using Register = BOOL(WINAPI*)(HWND, DWORD);
  const auto watch = SessionFunction<Register>("WTSRegisterSessionNotification");
  return watch && watch(window, 0 /* NOTIFY_FOR_THIS_SESSION */);
}

void StopWatchingSessionChanges(HWND window) {
  using Unregister = BOOL(WINAPI*)(HWND);
  if (const auto stop = SessionFunction<Unregister>("WTSUnRegisterSessionNotification")) stop(window);
}
