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

// Square rows of characters: '.' transparent, 'W' opaque white, 'B' opaque black, 'I' inverting.
using Picture = std::vector<std::string>;

inline int SideOf(const Picture& p) { return static_cast<int>(p.size()); }

// A white arrow with a black outline at the top left, an inverting patch at the bottom right,
// and single marks in the corners so left/right and AND/XOR mix-ups show.
inline Picture OutlinedArrow(int side = kSize) {
  Picture p(side, std::string(side, '.'));
  const int arrow = side * 20 / 32;
  for (int y = 0; y < arrow; ++y)
    for (int x = 0; x <= y / 2 + 1 && x < side * 14 / 32; ++x) {
      const bool edge = x == 0 || x == y / 2 + 1 || y == arrow - 1;
      p[y][x] = edge ? 'B' : 'W';
    }
  for (int y = side * 22 / 32; y < side * 30 / 32; ++y)
    for (int x = side * 20 / 32; x < side * 30 / 32; ++x) p[y][x] = 'I';
  p[0][side - 1] = 'W';
  p[side - 1][0] = 'B';
  p[side - 2][side - 1] = 'I';
  return p;
}

inline Picture Mirrored(const Picture& p) {
  Picture out = p;
  for (std::string& row : out) row.assign(row.rbegin(), row.rend());
  return out;
}

// Mask bits of the picture as a monochrome cursor holds them: AND half over XOR half, each row
// padded to whole 16-bit words.
inline std::vector<uint8_t> MonochromeMaskBits(const Picture& p) {
  const int side = SideOf(p), rowBytes = (side + 15) / 16 * 2;
  std::vector<uint8_t> bits(static_cast<size_t>(2 * side) * rowBytes, 0);
  for (int y = 0; y < side; ++y)
    for (int x = 0; x < side; ++x) {
      const char c = p[y][x];
      const uint8_t bit = static_cast<uint8_t>(0x80 >> (x % 8));
      if (c == '.' || c == 'I') bits[y * rowBytes + x / 8] |= bit;
      if (c == 'W' || c == 'I') bits[(side + y) * rowBytes + x / 8] |= bit;
    }
  return bits;
}

// A monochrome cursor of the picture; counted, so the caller releases it with
// platform::ReleaseCursor unless a transformer has consumed it.
inline HCURSOR MakeMonochromeCursor(const Picture& p, DWORD hotX, DWORD hotY) {
  const std::vector<uint8_t> bits = MonochromeMaskBits(p);
  HBITMAP mask = CreateBitmap(SideOf(p), 2 * SideOf(p), 1, 1, bits.data());
  ICONINFO info{FALSE, hotX, hotY, mask, nullptr};
  HCURSOR cursor = platform::CreateOwnedCursor(&info);
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
  HCURSOR cursor = platform::CreateOwnedCursor(&info);
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
  HCURSOR cursor = platform::CreateOwnedCursor(&info);
  DeleteObject(mask);
  DeleteObject(colour);
  return cursor;
}

// A background whose colour changes from pixel to pixel (every pixel of a 32-pixel square
// differs), so that showing it, inverting it and covering it can be told apart.
inline uint32_t Background(int x, int y) {
  return static_cast<uint32_t>(((40 + 6 * x) & 0xFF) << 16 | ((200 - 5 * y) & 0xFF) << 8 | ((90 + 3 * (x ^ y)) & 0xFF));
}

// What the cursor shows over Background, drawn `side` pixels square, as 0xRRGGBB per pixel,
// rows from the top.
inline std::vector<uint32_t> Render(HCURSOR cursor, int side = kSize) {
  BITMAPINFO bmi{};
  bmi.bmiHeader.biSize = sizeof bmi.bmiHeader;
  bmi.bmiHeader.biWidth = side;
  bmi.bmiHeader.biHeight = -side;
  bmi.bmiHeader.biPlanes = 1;
  bmi.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP dib = CreateDIBSection(dc, &bmi, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(dc, dib);
  uint32_t* pixels = static_cast<uint32_t*>(bits);
  for (int y = 0; y < side; ++y)
    for (int x = 0; x < side; ++x) pixels[y * side + x] = Background(x, y);
  DrawIconEx(dc, 0, 0, cursor, side, side, 0, nullptr, DI_NORMAL);
  GdiFlush();
  std::vector<uint32_t> out(pixels, pixels + side * side);
  for (uint32_t& p : out) p &= 0xFFFFFF;
  SelectObject(dc, old);
  DeleteObject(dib);
  DeleteDC(dc);
  return out;
}

// What the picture should show over Background with white and black painted as given.
inline std::vector<uint32_t> Expected(const Picture& p, uint32_t white = 0xFFFFFF, uint32_t black = 0x000000) {
  const int side = SideOf(p);
  std::vector<uint32_t> out(static_cast<size_t>(side) * side);
  for (int y = 0; y < side; ++y)
    for (int x = 0; x < side; ++x) {
      const char c = p[y][x];
      out[y * side + x] = c == 'W' ? white : c == 'B' ? black : c == 'I' ? (~Background(x, y) & 0xFFFFFF) : Background(x, y);
    }
  return out;
}

// First differing pixel as text, or empty when the images agree.
inline std::string FirstDifference(const std::vector<uint32_t>& got, const std::vector<uint32_t>& want) {
  if (got.size() != want.size()) return "the images differ in size";
  int side = 1;
  while (side * side < static_cast<int>(want.size())) ++side;
  for (size_t i = 0; i < want.size(); ++i)
    if (got[i] != want[i]) {
      char text[96];
      wsprintfA(text, "pixel %d,%d is %06lX, expected %06lX", static_cast<int>(i) % side, static_cast<int>(i) / side, static_cast<unsigned long>(got[i]),
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
