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

namespace platform {
HBITMAP CreateSixteenColourBitmap(int side, const uint32_t* pixels) {
  // The standard palette in its own order, as the colour buttons' resource bitmaps carry it.
  static const uint32_t kPalette[16] = {0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080,
                                        0x008080, 0xC0C0C0, 0x808080, 0xFF0000, 0x00FF00, 0xFFFF00,
                                        0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};
  if (side <= 0 || side > 1024 || !pixels) return nullptr;
  struct {
    BITMAPINFOHEADER header;
    RGBQUAD colours[16];
  } format = {};
  format.header.biSize = sizeof format.header;
  format.header.biWidth = side;
  format.header.biHeight = -side;  // rows from the top
  format.header.biPlanes = 1;
  format.header.biBitCount = 4;
  format.header.biCompression = BI_RGB;
  for (int i = 0; i < 16; ++i) {
    format.colours[i] = {static_cast<BYTE>(kPalette[i] & 0xFF), static_cast<BYTE>((kPalette[i] >> 8) & 0xFF),
                         static_cast<BYTE>(kPalette[i] >> 16), 0};
  }
  void* bits = nullptr;
  HBITMAP bitmap = ::CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&format), DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!bitmap || !bits) {
    if (bitmap) ::DeleteObject(bitmap);
    return nullptr;
  }
  const int stride = ((side * 4 + 31) / 32) * 4;
  auto* rows = static_cast<BYTE*>(bits);
  for (int y = 0; y < side; ++y) {
    BYTE* row = rows + y * stride;
    for (int x = 0; x < side; ++x) {
      BYTE index = 0;
      for (BYTE i = 0; i < 16; ++i) {
        if (kPalette[i] == pixels[y * side + x]) index = i;
      }
      row[x / 2] = static_cast<BYTE>(x % 2 == 0 ? (row[x / 2] & 0x0F) | (index << 4) : (row[x / 2] & 0xF0) | index);
    }
  }
  ::GdiFlush();
  return bitmap;
}
}  // namespace platform

CBitmapButton::~CBitmapButton() {
  for (HBITMAP bitmap : {up, down, focused, disabled}) {
    if (bitmap) ::DeleteObject(bitmap);
  }
}

void CBitmapButton::SetPictures(HBITMAP upPicture, HBITMAP downPicture, HBITMAP focusedPicture, HBITMAP disabledPicture) {
  for (HBITMAP bitmap : {up, down, focused, disabled}) {
    if (bitmap) ::DeleteObject(bitmap);
  }
  up = upPicture;
  down = downPicture;
  focused = focusedPicture;
  disabled = disabledPicture;
  SizeToContent();
  ::InvalidateRect(m_hWnd, nullptr, FALSE);
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
