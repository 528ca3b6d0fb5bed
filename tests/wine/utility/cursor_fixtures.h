// Test cursors drawn from character pictures, and a way to see what a cursor shows on a known
// background, for the transformer tests under Wine.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/gdi.h"

namespace cursor_fixtures {

constexpr int kSize = 32;

// 32 rows of 32 characters: '.' transparent, 'W' opaque white, 'B' opaque black, 'I' inverting.
using Picture = std::vector<std::string>;

// A white arrow with a black outline at the top left, an inverting patch at the bottom right,
// and single marks in the corners so left/right and AND/XOR mix-ups show.
inline Picture OutlinedArrow() {
  Picture p(kSize, std::string(kSize, '.'));
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x <= y / 2 + 1 && x < 14; ++x) {
      const bool edge = x == 0 || x == y / 2 + 1 || y == 19;
      p[y][x] = edge ? 'B' : 'W';
    }
  for (int y = 22; y < 30; ++y)
    for (int x = 20; x < 30; ++x) p[y][x] = 'I';
  p[0][31] = 'W';
  p[31][0] = 'B';
  p[30][31] = 'I';
  return p;
}

inline Picture Mirrored(const Picture& p) {
  Picture out = p;
  for (std::string& row : out) row.assign(row.rbegin(), row.rend());
  return out;
}

// Mask bits of the picture as a monochrome cursor holds them: AND half over XOR half.
inline std::vector<uint8_t> MonochromeMaskBits(const Picture& p) {
  std::vector<uint8_t> bits(2 * kSize * 4, 0);
  for (int y = 0; y < kSize; ++y)
    for (int x = 0; x < kSize; ++x) {
      const char c = p[y][x];
      const uint8_t bit = static_cast<uint8_t>(0x80 >> (x % 8));
      if (c == '.' || c == 'I') bits[y * 4 + x / 8] |= bit;
      if (c == 'W' || c == 'I') bits[(kSize + y) * 4 + x / 8] |= bit;
    }
  return bits;
}

// A monochrome cursor of the picture; counted, so the caller releases it with
// platform::DestroyCursor unless a transformer has consumed it.
inline HCURSOR MakeMonochromeCursor(const Picture& p, DWORD hotX, DWORD hotY) {
  const std::vector<uint8_t> bits = MonochromeMaskBits(p);
  HBITMAP mask = CreateBitmap(kSize, 2 * kSize, 1, 1, bits.data());
  ICONINFO info{FALSE, hotX, hotY, mask, nullptr};
  HCURSOR cursor = platform::CreateIconIndirect(&info);
  DeleteObject(mask);
  return cursor;
}

// A monochrome cursor of another size (all transparent but one black pixel); counted.
inline HCURSOR MakeMonochromeCursorOfSize(int width, int height) {
  const int rowBytes = ((width + 15) / 16) * 2;
  std::vector<uint8_t> bits(static_cast<size_t>(rowBytes) * 2 * height, 0);
  for (int y = 0; y < height; ++y)
    for (int i = 0; i < rowBytes; ++i) bits[y * rowBytes + i] = 0xFF;
  bits[0] = 0x7F;
  HBITMAP mask = CreateBitmap(width, 2 * height, 1, 1, bits.data());
  ICONINFO info{FALSE, 0, 0, mask, nullptr};
  HCURSOR cursor = platform::CreateIconIndirect(&info);
  DeleteObject(mask);
  return cursor;
}

// A colour cursor in the display's format: opaque green square on transparent; counted.
inline HCURSOR MakeColourCursor() {
  HDC screen = GetDC(nullptr);
  HBITMAP colour = CreateCompatibleBitmap(screen, kSize, kSize);
  HDC dc = CreateCompatibleDC(screen);
  HGDIOBJ old = SelectObject(dc, colour);
  RECT all{0, 0, kSize, kSize}, square{4, 4, 20, 20};
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  HBRUSH green = CreateSolidBrush(RGB(0, 255, 0));
  FillRect(dc, &square, green);
  DeleteObject(green);
  SelectObject(dc, old);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
  std::vector<uint8_t> maskBits(kSize * 4, 0xFF);
  for (int y = 4; y < 20; ++y)
    for (int x = 4; x < 20; ++x) maskBits[y * 4 + x / 8] &= static_cast<uint8_t>(~(0x80 >> (x % 8)));
  HBITMAP mask = CreateBitmap(kSize, kSize, 1, 1, maskBits.data());
  ICONINFO info{FALSE, 3, 5, mask, colour};
  HCURSOR cursor = platform::CreateIconIndirect(&info);
  DeleteObject(mask);
  DeleteObject(colour);
  return cursor;
}

// A background with a different colour at every pixel, so that showing it, inverting it and
// covering it can be told apart.
inline uint32_t Background(int x, int y) {
  return static_cast<uint32_t>((40 + 6 * x) << 16 | (200 - 5 * y) << 8 | (90 + 3 * (x ^ y)));
}

// What the cursor shows over Background, as 0xRRGGBB per pixel, rows from the top.
inline std::vector<uint32_t> Render(HCURSOR cursor) {
  BITMAPINFO bmi{};
  bmi.bmiHeader.biSize = sizeof bmi.bmiHeader;
  bmi.bmiHeader.biWidth = kSize;
  bmi.bmiHeader.biHeight = -kSize;
  bmi.bmiHeader.biPlanes = 1;
  bmi.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP dib = CreateDIBSection(dc, &bmi, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(dc, dib);
  uint32_t* pixels = static_cast<uint32_t*>(bits);
  for (int y = 0; y < kSize; ++y)
    for (int x = 0; x < kSize; ++x) pixels[y * kSize + x] = Background(x, y);
  DrawIconEx(dc, 0, 0, cursor, kSize, kSize, 0, nullptr, DI_NORMAL);
  GdiFlush();
  std::vector<uint32_t> out(pixels, pixels + kSize * kSize);
  for (uint32_t& p : out) p &= 0xFFFFFF;
  SelectObject(dc, old);
  DeleteObject(dib);
  DeleteDC(dc);
  return out;
}

// What the picture should show over Background with white and black painted as given.
inline std::vector<uint32_t> Expected(const Picture& p, uint32_t white = 0xFFFFFF, uint32_t black = 0x000000) {
  std::vector<uint32_t> out(kSize * kSize);
  for (int y = 0; y < kSize; ++y)
    for (int x = 0; x < kSize; ++x) {
      const char c = p[y][x];
      out[y * kSize + x] = c == 'W' ? white : c == 'B' ? black : c == 'I' ? (~Background(x, y) & 0xFFFFFF) : Background(x, y);
    }
  return out;
}

// First differing pixel as text, or empty when the images agree.
inline std::string FirstDifference(const std::vector<uint32_t>& got, const std::vector<uint32_t>& want) {
  for (int i = 0; i < kSize * kSize; ++i)
    if (got[i] != want[i]) {
      char text[96];
      wsprintfA(text, "pixel %d,%d is %06lX, expected %06lX", i % kSize, i / kSize, static_cast<unsigned long>(got[i]),
                static_cast<unsigned long>(want[i]));
      return text;
    }
  return {};
}

// Hotspot, size and kind of a cursor, read with the raw platform call (not counted).
struct Description {
  bool valid = false;
  bool colour = false;
  BOOL fIcon = TRUE;
  DWORD hotX = 0, hotY = 0;
  int width = 0, maskHeight = 0, colourBits = 0;
  std::vector<uint8_t> maskBits;
};
inline Description Describe(HCURSOR cursor) {
  Description d;
  ICONINFO info{};
  if (!cursor || !GetIconInfo(cursor, &info)) return d;
  d.valid = true;
  d.fIcon = info.fIcon;
  d.hotX = info.xHotspot;
  d.hotY = info.yHotspot;
  BITMAP mask{};
  GetObjectA(info.hbmMask, sizeof mask, &mask);
  d.width = mask.bmWidth;
  d.maskHeight = mask.bmHeight;
  d.maskBits.resize(static_cast<size_t>(mask.bmWidthBytes) * mask.bmHeight);
  GetBitmapBits(info.hbmMask, static_cast<LONG>(d.maskBits.size()), d.maskBits.data());
  if (info.hbmColor) {
    BITMAP colour{};
    GetObjectA(info.hbmColor, sizeof colour, &colour);
    d.colour = true;
    d.colourBits = colour.bmBitsPixel;
    DeleteObject(info.hbmColor);
  }
  DeleteObject(info.hbmMask);
  return d;
}

inline int DisplayBitsPerPixel() {
  HDC screen = GetDC(nullptr);
  const int bits = GetDeviceCaps(screen, BITSPIXEL);
  ReleaseDC(nullptr, screen);
  return bits;
}

}  // namespace cursor_fixtures
