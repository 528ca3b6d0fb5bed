#include "platform/help_viewer.h"

#include <cstring>
#include <new>

#include "platform/text_buffers.h"


namespace platform {
namespace {

const char kHelpClassName[] = "PointrelHelpWindow";

// The one help window of the process and what it shows.
struct HelpViewer {
  HWND window = nullptr;
  HWND list = nullptr;
  HWND text = nullptr;
  HFONT textFont = nullptr;  // ours; deleted with the window
  char file[kTextBufferSize] = {};
  HelpDocument document;
};
HelpViewer viewer;

void ShowTopic(size_t index) {
  if (index >= viewer.document.topicCount()) index = 0;
  ::SendMessageA(viewer.list, LB_SETCURSEL, index, 0);
  ::SetWindowTextA(viewer.text, viewer.document.topic(index).text);
}

void Layout(int width, int height) {
  const int margin = 6;
  int listWidth = width / 4;
  if (listWidth < 200) listWidth = 200;
  if (listWidth > width - 3 * margin) listWidth = width - 3 * margin;
  if (listWidth < 0) listWidth = 0;
  const int inner = height - 2 * margin > 0 ? height - 2 * margin : 0;
  ::MoveWindow(viewer.list, margin, margin, listWidth, inner, TRUE);
  const int textLeft = 2 * margin + listWidth;
  const int textWidth = width - textLeft - margin > 0 ? width - textLeft - margin : 0;
  ::MoveWindow(viewer.text, textLeft, margin, textWidth, inner, TRUE);
}

LRESULT CALLBACK HelpWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE: {
      HINSTANCE module = ::GetModuleHandleA(nullptr);
      viewer.list = ::CreateWindowExA(WS_EX_CLIENTEDGE, "LISTBOX", "",
                                      WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | LBS_NOTIFY |
                                          LBS_NOINTEGRALHEIGHT | LBS_WANTKEYBOARDINPUT,
                                      0, 0, 0, 0, window, reinterpret_cast<HMENU>(kHelpTopicListId), module, nullptr);
      viewer.text = ::CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", "",
                                      WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | WS_TABSTOP | ES_MULTILINE |
                                          ES_READONLY | ES_AUTOVSCROLL | ES_AUTOHSCROLL,
                                      0, 0, 0, 0, window, reinterpret_cast<HMENU>(kHelpTextId), module, nullptr);
      if (!viewer.list || !viewer.text) return -1;
      // The topics line up in columns, so the text is set in a fixed-pitch face and not rewrapped.
      viewer.textFont = ::CreateFontA(-13, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                                      CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FIXED_PITCH | FF_MODERN, "Courier New");
      ::SendMessageA(viewer.list, WM_SETFONT, reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT)), FALSE);
      ::SendMessageA(viewer.text, WM_SETFONT,
                     reinterpret_cast<WPARAM>(viewer.textFont ? viewer.textFont : ::GetStockObject(ANSI_FIXED_FONT)),
                     FALSE);
      ::SendMessageA(viewer.text, EM_SETLIMITTEXT, kMaxHelpFileSize, 0);
      return 0;
    }
    case WM_SIZE:
      Layout(LOWORD(lParam), HIWORD(lParam));
      return 0;
    case WM_SETFOCUS:
      ::SetFocus(viewer.list);
      return 0;
    case WM_COMMAND:
      if (LOWORD(wParam) == kHelpTopicListId && HIWORD(wParam) == LBN_SELCHANGE) {
        const LRESULT selected = ::SendMessageA(viewer.list, LB_GETCURSEL, 0, 0);
        if (selected >= 0) ShowTopic(static_cast<size_t>(selected));
        return 0;
      }
      break;
    case WM_VKEYTOITEM:  // keys in the topic list: Escape closes, Tab goes to the text
      if (LOWORD(wParam) == VK_ESCAPE) {
        ::PostMessageA(window, WM_CLOSE, 0, 0);
        return -2;
      }
      if (LOWORD(wParam) == VK_TAB) {
        ::SetFocus(viewer.text);
        return -2;
      }
      return -1;
    case WM_CTLCOLORSTATIC:  // the read-only text reads as a page, not as a disabled field
      if (reinterpret_cast<HWND>(lParam) == viewer.text) {
        ::SetBkColor(reinterpret_cast<HDC>(wParam), ::GetSysColor(COLOR_WINDOW));
        ::SetTextColor(reinterpret_cast<HDC>(wParam), ::GetSysColor(COLOR_WINDOWTEXT));
        return reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_WINDOW));
      }
      break;
    case WM_DESTROY:
      if (viewer.textFont) ::DeleteObject(viewer.textFont);
      viewer.window = viewer.list = viewer.text = nullptr;
      viewer.textFont = nullptr;
      viewer.file[0] = '\0';
      {
        HelpDocument none;
        viewer.document.Swap(none);  // the old document goes with `none`
      }
      return 0;
  }
  return ::DefWindowProcA(window, message, wParam, lParam);
}

bool RegisterHelpClass(HINSTANCE module) {
  WNDCLASSA existing;
  if (::GetClassInfoA(module, kHelpClassName, &existing)) return true;
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = &HelpWindowProc;
  windowClass.hInstance = module;
  windowClass.hCursor = ::LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = kHelpClassName;
  windowClass.hIcon = ::LoadIconA(nullptr, MAKEINTRESOURCEA(32514));  // IDI_QUESTION
  return ::RegisterClassA(&windowClass) != 0;
}

BOOL OpenHelp(const char* helpFile, size_t topic) {
  if (viewer.window && ::lstrcmpiA(viewer.file, helpFile) == 0) {
    ShowTopic(topic);
  } else {
    HelpDocument document;
    // A path cut to fit could name another file.
    if (static_cast<size_t>(::lstrlenA(helpFile)) >= sizeof viewer.file) return FALSE;
    if (!LoadHelpFile(helpFile, &document)) return FALSE;
    HINSTANCE module = ::GetModuleHandleA(nullptr);
    if (!viewer.window) {
      if (!RegisterHelpClass(module)) return FALSE;
      HWND window = ::CreateWindowExA(0, kHelpClassName, "", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, 900,
                                      540, nullptr, nullptr, module, nullptr);
      if (!window) return FALSE;
      viewer.window = window;
    }
    ::lstrcpynA(viewer.file, helpFile, sizeof viewer.file);
    viewer.document.Swap(document);
    const char* title = viewer.document.title();
    ::SetWindowTextA(viewer.window, *title ? title : "Help");
    ::SendMessageA(viewer.list, LB_RESETCONTENT, 0, 0);
    for (size_t i = 0; i < viewer.document.topicCount(); ++i) {
      ::SendMessageA(viewer.list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(viewer.document.topic(i).title));
    }
    ShowTopic(topic);
  }
  ::ShowWindow(viewer.window, ::IsIconic(viewer.window) ? SW_RESTORE : SW_SHOW);
  ::SetForegroundWindow(viewer.window);
  ::SetFocus(viewer.list);
  return TRUE;
}

}  // namespace

bool LoadHelpFile(const char* path, HelpDocument* document) {
  if (!path || !*path) return false;
  HANDLE file = ::CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD high = 0;
  const DWORD size = ::GetFileSize(file, &high);
  bool ok = size != INVALID_FILE_SIZE && high == 0 && size <= kMaxHelpFileSize;
  char* content = ok ? new (std::nothrow) char[size ? size : 1] : nullptr;
  DWORD read = 0;
  ok = content && (size == 0 || (::ReadFile(file, content, size, &read, nullptr) && read == size));
  ::CloseHandle(file);
  ok = ok && ParseHelpText(content, size, document);
  delete[] content;
  return ok;
}

BOOL WinHelpA(HWND, const char* helpFile, UINT command, ULONG_PTR data) {
  switch (command) {
    case HELP_CONTEXT:
      return OpenHelp(helpFile, data);
    case HELP_CONTENTS:
    case HELP_FINDER:
      return OpenHelp(helpFile, 0);
    case HELP_QUIT:
      if (viewer.window) ::DestroyWindow(viewer.window);
      return TRUE;
    default:
      return FALSE;
  }
}

HWND GetHelpWindow() { return viewer.window; }

}  // namespace platform

