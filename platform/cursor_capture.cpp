#include "platform/cursor_capture.h"

#include <cstring>
#include <new>

namespace platform {
namespace {

// A picture side beyond this is no cursor the platform hands out.
constexpr int kLargestPicture = 1024;
const uint32_t kMonochromePalette[2] = {0x000000, 0xFFFFFF};

bool BitAt(const uint8_t* bits, size_t rowBytes, int row, int column) {
  return (bits[row * rowBytes + column / 8] >> (7 - column % 8)) & 1;
}

}  // namespace

void CapturedCursor::Release() {
  delete[] andMask_;
  delete[] pixels_;
  andMask_ = nullptr;
  pixels_ = nullptr;
  width_ = height_ = 0;
  colour_ = false;
  hotspot_ = {0, 0};
}

bool CapturedCursor::Capture(HCURSOR cursor) {
  Release();
  ICONINFO info = {};
  if (!cursor || !::GetIconInfo(cursor, &info)) return false;
  bool done = false;
  BITMAP mask = {};
  if (info.hbmMask && ::GetObjectA(info.hbmMask, sizeof mask, &mask) == sizeof mask && mask.bmBitsPixel == 1 &&
      mask.bmPlanes == 1 && mask.bmWidth > 0 && mask.bmWidth <= kLargestPicture && mask.bmHeight > 0 &&
      mask.bmHeight <= 2 * kLargestPicture) {
    const bool colour = info.hbmColor != nullptr;
    const int width = mask.bmWidth, height = colour ? mask.bmHeight : mask.bmHeight / 2;
    const size_t rowBytes = mask.bmWidthBytes;
    const size_t bitsSize = rowBytes * mask.bmHeight;
    const size_t pixelCount = static_cast<size_t>(width) * height;
    uint8_t* bits = new (std::nothrow) uint8_t[bitsSize];
    andMask_ = new (std::nothrow) uint8_t[pixelCount ? pixelCount : 1];
    pixels_ = new (std::nothrow) uint32_t[pixelCount ? pixelCount : 1];
    if (height > 0 && bits && andMask_ && pixels_ &&
        ::GetBitmapBits(info.hbmMask, static_cast<LONG>(bitsSize), bits) == static_cast<LONG>(bitsSize)) {
      for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
          andMask_[y * width + x] = BitAt(bits, rowBytes, y, x);
          pixels_[y * width + x] = colour ? 0 : BitAt(bits, rowBytes, y + height, x);
        }
      }
      done = true;
      if (colour) {
        BITMAPINFO format = {};
        format.bmiHeader.biSize = sizeof format.bmiHeader;
        format.bmiHeader.biWidth = width;
        format.bmiHeader.biHeight = -height;  // top row first
        format.bmiHeader.biPlanes = 1;
        format.bmiHeader.biBitCount = 32;
        format.bmiHeader.biCompression = BI_RGB;
        HDC screen = ::GetDC(nullptr);
        done = ::GetDIBits(screen, info.hbmColor, 0, height, pixels_, &format, DIB_RGB_COLORS) == height;
        ::ReleaseDC(nullptr, screen);
      }
    }
    delete[] bits;
    if (done) {
      width_ = width;
      height_ = height;
      colour_ = colour;
      hotspot_ = {static_cast<LONG>(info.xHotspot), static_cast<LONG>(info.yHotspot)};
    } else {
      Release();
    }
  }
  if (info.hbmMask) ::DeleteObject(info.hbmMask);
  if (info.hbmColor) ::DeleteObject(info.hbmColor);
  return done;
}

bool CapturedCursor::SameAs(const CapturedCursor& other) const {
  if (width_ != other.width_ || height_ != other.height_ || colour_ != other.colour_ ||
      hotspot_.x != other.hotspot_.x || hotspot_.y != other.hotspot_.y)
    return false;
  const size_t count = static_cast<size_t>(width_) * height_;
  return count == 0 || (std::memcmp(andMask_, other.andMask_, count) == 0 &&
                        std::memcmp(pixels_, other.pixels_, count * sizeof *pixels_) == 0);
}

cursor_file::ImageView PictureView(int width, int height, bool colour, const uint8_t* andMask, const uint32_t* pixels,
                                   POINT hotspot) {
  cursor_file::ImageView view;
  view.width = width;
  view.height = height;
  view.bitsPerPixel = colour ? 32 : 1;
  view.palette = colour ? nullptr : kMonochromePalette;
  view.paletteSize = colour ? 0 : 2;
  view.colour = pixels;
  view.andMask = andMask;
  view.field1 = static_cast<uint16_t>(hotspot.x);
  view.field2 = static_cast<uint16_t>(hotspot.y);
  return view;
}

void CursorFileNameOf(const uint8_t* bytes, size_t size, char (&name)[kCursorFileNameSize]) {
  uint64_t hash = 14695981039346656037ull;  // FNV-1a
  for (size_t i = 0; i < size; ++i) {
    hash ^= bytes[i];
    hash *= 1099511628211ull;
  }
  static const char kHex[] = "0123456789abcdef";
  for (int i = 15; i >= 0; --i, hash >>= 4) name[i] = kHex[hash & 15];
  std::memcpy(name + 16, ".cur", 5);
}

}  // namespace platform
