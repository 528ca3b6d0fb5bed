#include "platform/bitmap_button.h"

#include <initializer_list>

namespace {
HBITMAP LoadNamedBitmap(const char* caption, char suffix) {
  char name[128];
  ::lstrcpynA(name, caption, sizeof name - 1);  // room for the suffix
  const int length = ::lstrlenA(name);
  name[length] = suffix;
  name[length + 1] = '\0';
  return ::LoadBitmapA(::GetModuleHandleA(nullptr), name);
}
}  // namespace

CBitmapButton::~CBitmapButton() {
  for (HBITMAP bitmap : {up, down, focused, disabled}) {
    if (bitmap) ::DeleteObject(bitmap);
  }
}

BOOL CBitmapButton::AutoLoad(UINT id, CWnd* parent) {
  if (!SubclassDlgItem(id, parent)) return FALSE;
  char caption[96];
  GetWindowText(caption, sizeof caption);
  up = LoadNamedBitmap(caption, 'U');
  down = LoadNamedBitmap(caption, 'D');
  focused = LoadNamedBitmap(caption, 'F');
  disabled = LoadNamedBitmap(caption, 'X');
  if (!up) return FALSE;
  SizeToContent();
  return TRUE;
}

void CBitmapButton::SizeToContent() {
  BITMAP info;
  if (!up || !::GetObjectA(up, sizeof info, &info)) return;
  ::SetWindowPos(m_hWnd, nullptr, 0, 0, info.bmWidth, info.bmHeight, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CBitmapButton::DrawItem(const DRAWITEMSTRUCT& item) {
  HBITMAP picture = up;
  if ((item.itemState & ODS_SELECTED) && down) {
    picture = down;
  } else if ((item.itemState & ODS_FOCUS) && focused) {
    picture = focused;
  } else if ((item.itemState & ODS_DISABLED) && disabled) {
    picture = disabled;
  }
  if (!picture) return;
  HDC memory = ::CreateCompatibleDC(item.hDC);
  HGDIOBJ previous = ::SelectObject(memory, picture);
  const RECT& r = item.rcItem;
  ::BitBlt(item.hDC, r.left, r.top, r.right - r.left, r.bottom - r.top, memory, 0, 0, SRCCOPY);
  ::SelectObject(memory, previous);
  ::DeleteDC(memory);
}
