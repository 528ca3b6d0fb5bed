#include "utility/cursor/input_hooks_win.h"

#include "utility/cursor/find_pointer.h"

namespace {

// Thread messages of the hooks' own thread.
constexpr UINT kWatchMessage = WM_APP + 1;      // wParam: 1 install, 0 remove
constexpr UINT kReinstallMessage = WM_APP + 2;

constexpr DWORD kInjectedMouse = 0x01;  // LLMHF_INJECTED

HWND session = nullptr;
DWORD hooksThread = 0;
// Read by the hook procedures, written by the session's thread: plain words, read whole.
volatile LONG movesWanted = 0;
volatile LONG lastSeenMs = 0;
volatile LONG installed = 0;

// Only the hooks' own thread touches these.
HHOOK keyboardHook = nullptr;
HHOOK mouseHook = nullptr;
find_pointer::TypingFilter typing;

void Seen() { ::InterlockedExchange(&lastSeenMs, static_cast<LONG>(::GetTickCount())); }

LRESULT CALLBACK KeyboardHook(int code, WPARAM message, LPARAM data) {
  if (code == HC_ACTION) {
    Seen();
    const auto* key = reinterpret_cast<const KBDLLHOOKSTRUCT*>(data);
    const bool down = message == WM_KEYDOWN || message == WM_SYSKEYDOWN;
    // Only whether it is typing leaves this procedure; the key itself is forgotten here.
    if (typing.OnKey(key->vkCode, down)) ::PostMessageA(session, kTypingMessage, 0, 0);
  }
  return ::CallNextHookEx(nullptr, code, message, data);
}

WPARAM MouseInputOf(WPARAM message) {
  switch (message) {
    case WM_MOUSEMOVE: return kMouseMove;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_XBUTTONDOWN: return kMouseButtonDown;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
    case WM_XBUTTONUP: return kMouseButtonUp;
    default: return kMouseWheel;
  }
}

LRESULT CALLBACK MouseHook(int code, WPARAM message, LPARAM data) {
  if (code == HC_ACTION) {
    Seen();
    const auto* mouse = reinterpret_cast<const MSLLHOOKSTRUCT*>(data);
    const WPARAM input = MouseInputOf(message);
    if (input != kMouseMove || movesWanted) {
      const WPARAM injected = (mouse->flags & kInjectedMouse) ? kInjectedInput : 0;
      ::PostMessageA(session, kMouseMessage, input | injected,
                     MAKELPARAM(static_cast<WORD>(mouse->pt.x), static_cast<WORD>(mouse->pt.y)));
    }
  }
  return ::CallNextHookEx(nullptr, code, message, data);
}

void Remove() {
  if (keyboardHook) ::UnhookWindowsHookEx(keyboardHook);
  if (mouseHook) ::UnhookWindowsHookEx(mouseHook);
  keyboardHook = mouseHook = nullptr;
  ::InterlockedExchange(&installed, 0);
}

// Both or neither: a hook that could not be installed is tried again by the session's watch.
// The new hooks go in before the old come out, so no input slips between them.
void Install() {
  HINSTANCE module = ::GetModuleHandleA(nullptr);
  HHOOK keyboard = ::SetWindowsHookExA(WH_KEYBOARD_LL, &KeyboardHook, module, 0);
  HHOOK mouse = ::SetWindowsHookExA(WH_MOUSE_LL, &MouseHook, module, 0);
  Remove();
  if (!keyboard || !mouse) {
    if (keyboard) ::UnhookWindowsHookEx(keyboard);
    if (mouse) ::UnhookWindowsHookEx(mouse);
    return;
  }
  keyboardHook = keyboard;
  mouseHook = mouse;
  ::InterlockedExchange(&installed, 1);
}

DWORD WINAPI HooksThread(void* ready) {
  MSG message;
  // The thread's queue exists before anyone posts to it.
  ::PeekMessageA(&message, nullptr, WM_USER, WM_USER, PM_NOREMOVE);
  ::SetEvent(static_cast<HANDLE>(ready));
  while (::GetMessageA(&message, nullptr, 0, 0) > 0) {
    if (!message.hwnd && message.message == kWatchMessage) {
      if (message.wParam) {
        if (!installed) Install();
      } else {
        Remove();
      }
    } else if (!message.hwnd && message.message == kReinstallMessage) {
      Install();
    }
    ::DispatchMessageA(&message);
  }
  Remove();
  return 0;
}

}  // namespace

bool StartInputHooks(HWND target) {
  if (hooksThread) return true;
  session = target;
  HANDLE ready = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
  if (!ready) return false;
  HANDLE thread = ::CreateThread(nullptr, 0, &HooksThread, ready, 0, &hooksThread);
  if (thread) {
    ::WaitForSingleObject(ready, INFINITE);
    ::CloseHandle(thread);
  } else {
    hooksThread = 0;
  }
  ::CloseHandle(ready);
  return hooksThread != 0;
}

void WatchInput(bool input, bool moves) {
  ::InterlockedExchange(&movesWanted, moves ? 1 : 0);
  if (hooksThread) ::PostThreadMessageA(hooksThread, kWatchMessage, input ? 1 : 0, 0);
}

void ReinstallInputHooks() {
  if (hooksThread) ::PostThreadMessageA(hooksThread, kReinstallMessage, 0, 0);
}

bool InputHooksInstalled() { return installed != 0; }

uint32_t LastHookedInputMs() { return static_cast<uint32_t>(lastSeenMs); }
