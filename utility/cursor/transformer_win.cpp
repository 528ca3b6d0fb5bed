#include "utility/cursor/transformer_win.h"

#include <climits>
#include <memory>
#include <new>

#include "platform/gdi.h"
#include "utility/records/cursor_settings.h"
#include "utility/cursor/transform_bits.h"
#include "utility/resources/resource.h"

namespace {

// The bitmaps GetIconInfo hands out belong to this call: deleted when it ends, on every path.
struct IconBitmaps {
  ICONINFO info{};
  IconBitmaps() = default;
  IconBitmaps(const IconBitmaps&) = delete;
  IconBitmaps& operator=(const IconBitmaps&) = delete;
  ~IconBitmaps() {
    if (info.hbmColor) ::DeleteObject(info.hbmColor);
    if (info.hbmMask) ::DeleteObject(info.hbmMask);
  }
  bool Query(HCURSOR cursor) { return cursor && ::GetIconInfo(cursor, &info); }
};

// One bitmap's bits, in a buffer of this call sized from the bitmap's own record.
struct FetchedBits {
  cursor_bits::BitmapBits view;
  std::unique_ptr<uint8_t[]> buffer;

  // A buffer for the bitmap's bits, left unread.
  bool Allocate(HBITMAP bitmap) {
    BITMAP record{};
    if (!bitmap || ::GetObjectA(bitmap, sizeof record, &record) != sizeof record) return false;
    view.geometry = {record.bmWidth, record.bmHeight, record.bmWidthBytes, record.bmPlanes, record.bmBitsPixel};
    const size_t size = cursor_bits::BitsBufferSize(view.geometry);
    if (size == 0 || size > LONG_MAX) return false;
    buffer.reset(new (std::nothrow) uint8_t[size]);
    if (!buffer) return false;
    view.bits = buffer.get();
    view.size = size;
    return true;
  }

  bool Fetch(HBITMAP bitmap) {
    return Allocate(bitmap) &&
           ::GetBitmapBits(bitmap, static_cast<LONG>(view.size), view.bits) == static_cast<LONG>(view.size);
  }

  bool Store(HBITMAP bitmap) const {
    return ::SetBitmapBits(bitmap, static_cast<DWORD>(view.size), view.bits) == static_cast<LONG>(view.size);
  }
};

// A bitmap this call made, deleted when it ends.
struct OwnedBitmap {
  HBITMAP handle;
  explicit OwnedBitmap(HBITMAP bitmap) : handle(bitmap) {}
  OwnedBitmap(const OwnedBitmap&) = delete;
  OwnedBitmap& operator=(const OwnedBitmap&) = delete;
  ~OwnedBitmap() {
    if (handle) ::DeleteObject(handle);
  }
};

// The template's palette pixels and the format they are in: the display's, when they were read.
struct TemplatePalette {
  cursor_bits::PalettePixelTable table;
  UINT planes = 0;
  UINT bitsPerPixel = 0;
};

// The template whose pixels `palette` holds; null when none are held.
HCURSOR paletteReadFrom = nullptr;

// Reading the template costs as much as recolouring a cursor, so its table is kept until the
// template or the display's format changes. Null when the template has no colour bitmap (the
// display shows no colour cursors) or no table can be read from it.
const TemplatePalette* PaletteOf(HCURSOR paletteTemplate) {
  static TemplatePalette palette;
  if (paletteTemplate && paletteReadFrom == paletteTemplate) return &palette;
  paletteReadFrom = nullptr;
  IconBitmaps icon;
  FetchedBits colour;
  if (!icon.Query(paletteTemplate) || !icon.info.hbmColor || !colour.Fetch(icon.info.hbmColor) ||
      !cursor_bits::ReadPalettePixels(colour.view, palette.table))
    return nullptr;
  palette.planes = colour.view.geometry.planes;
  palette.bitsPerPixel = colour.view.geometry.bitsPerPixel;
  paletteReadFrom = paletteTemplate;
  return &palette;
}

// Hands back the new cursor and releases the source; when creation fails the source is kept
// and returned, so the caller never loses a cursor it still had.
HCURSOR Replace(HCURSOR source, ICONINFO& info, transformer_detail::CreateCursorFunction create) {
  HCURSOR created = create(&info);
  if (!created) return source;
  platform::ReleaseCursor(source);
  return created;
}

}  // namespace

namespace transformer_detail {

HCURSOR LoadPaletteTemplate() {
  // Read at its own size: a desktop with larger cursors would hand it out stretched, and its
  // rows would no longer carry one palette entry each. Kept for the process's life.
  static HCURSOR kept = nullptr;
  if (!kept) {
    kept = platform::LoadResourceCursorAtSize(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDC_PALETTE_TEMPLATE),
                                              cursor_bits::kPaletteTemplateSize);
  }
  return kept;
}

HCURSOR RecolourWithTemplate(HCURSOR source, HCURSOR paletteTemplate, int whtClr, int blkClr,
                             CreateCursorFunction create) {
  IconBitmaps sourceIcon;
  if (!sourceIcon.Query(source)) return source;
  if (sourceIcon.info.hbmColor) return source;  // already in colour
  FetchedBits sourceMask;
  if (!sourceMask.Fetch(sourceIcon.info.hbmMask)) return source;
  const int32_t side = sourceMask.view.geometry.width;
  if (!cursor_bits::IsConvertibleSize(side, sourceMask.view.geometry.height / 2)) return source;
  const TemplatePalette* palette = PaletteOf(paletteTemplate);
  if (!palette) return source;

  // New bitmaps of the cursor's own size, the colour one in the template's (the display's) format.
  OwnedBitmap mask(::CreateBitmap(side, side, 1, 1, nullptr));
  OwnedBitmap colour(::CreateBitmap(side, side, palette->planes, palette->bitsPerPixel, nullptr));
  FetchedBits maskBits, colourBits;
  if (!maskBits.Allocate(mask.handle) || !colourBits.Allocate(colour.handle)) return source;
  if (!cursor_bits::RecolourMonochrome(sourceMask.view, palette->table, whtClr, blkClr, maskBits.view,
                                       colourBits.view))
    return source;
  if (!maskBits.Store(mask.handle) || !colourBits.Store(colour.handle)) return source;

  ICONINFO result = {};
  result.fIcon = FALSE;
  result.xHotspot = sourceIcon.info.xHotspot;
  result.yHotspot = sourceIcon.info.yHotspot;
  result.hbmMask = mask.handle;
  result.hbmColor = colour.handle;
  return Replace(source, result, create);
}

HCURSOR MirrorWith(HCURSOR source, CreateCursorFunction create) {
  IconBitmaps icon;
  if (!icon.Query(source)) return source;
  const bool hasColour = icon.info.hbmColor != nullptr;
  FetchedBits mask, colour;
  if (!mask.Fetch(icon.info.hbmMask) || (hasColour && !colour.Fetch(icon.info.hbmColor))) return source;
  if (!cursor_bits::MirrorImage(mask.view, hasColour ? &colour.view : nullptr)) return source;
  if (!mask.Store(icon.info.hbmMask) || (hasColour && !colour.Store(icon.info.hbmColor))) return source;

  ICONINFO result = icon.info;  // fIcon kept
  result.xHotspot = cursor_bits::MirroredHotspotX(result.xHotspot, mask.view.geometry.width);
  return Replace(source, result, create);
}

}  // namespace transformer_detail

HCURSOR RecolourCursor(HCURSOR source) {
  HCURSOR paletteTemplate = transformer_detail::LoadPaletteTemplate();
  return transformer_detail::RecolourWithTemplate(source, paletteTemplate, current.WhtClr, current.BlkClr,
                                                  platform::CreateOwnedCursor);
}

HCURSOR MirrorCursor(HCURSOR source) { return transformer_detail::MirrorWith(source, platform::CreateOwnedCursor); }

bool IsMirrorSymmetric(HCURSOR cursor) {
  IconBitmaps icon;
  if (!icon.Query(cursor)) return false;
  const bool hasColour = icon.info.hbmColor != nullptr;
  FetchedBits mask, colour;
  if (!mask.Fetch(icon.info.hbmMask) || (hasColour && !colour.Fetch(icon.info.hbmColor))) return false;
  const cursor_bits::MirrorReport report = cursor_bits::MirrorSymmetry(mask.view, hasColour ? &colour.view : nullptr);
  return report.readable && report.symmetric;
}

namespace {

// src's whole bitmap drawn over dst's, pixel for pixel stretched: no blending, so masks stay masks.
bool StretchWhole(HDC from, HDC to, HBITMAP src, int srcWidth, int srcHeight, HBITMAP dst, int width, int height) {
  HGDIOBJ oldFrom = ::SelectObject(from, src);
  HGDIOBJ oldTo = ::SelectObject(to, dst);
  ::SetStretchBltMode(to, COLORONCOLOR);
  const bool drawn = ::StretchBlt(to, 0, 0, width, height, from, 0, 0, srcWidth, srcHeight, SRCCOPY) != FALSE;
  ::SelectObject(from, oldFrom);
  ::SelectObject(to, oldTo);
  return drawn;
}

}  // namespace

HCURSOR EnlargeCursor(HCURSOR source, int newSide) {
  IconBitmaps icon;
  if (!icon.Query(source)) return nullptr;
  BITMAP mask = {};
  if (!::GetObjectA(icon.info.hbmMask, sizeof mask, &mask)) return nullptr;
  const bool colour = icon.info.hbmColor != nullptr;
  const int side = mask.bmWidth;
  if (side <= 0 || newSide < side || newSide > cursor_bits::kLargestCursor) return nullptr;
  // A monochrome cursor's mask holds the AND half over the XOR half.
  const int maskHeight = colour ? mask.bmHeight : mask.bmHeight * newSide / side;
  HDC screen = ::GetDC(nullptr);
  HDC from = ::CreateCompatibleDC(screen), to = ::CreateCompatibleDC(screen);
  OwnedBitmap newMask(::CreateBitmap(newSide, maskHeight, 1, 1, nullptr));
  OwnedBitmap newColour(colour ? ::CreateCompatibleBitmap(screen, newSide, newSide) : nullptr);
  bool drawn = from && to && newMask.handle && (!colour || newColour.handle) &&
               StretchWhole(from, to, icon.info.hbmMask, side, mask.bmHeight, newMask.handle, newSide, maskHeight);
  if (drawn && colour) {
    BITMAP colourInfo = {};
    drawn = ::GetObjectA(icon.info.hbmColor, sizeof colourInfo, &colourInfo) &&
            StretchWhole(from, to, icon.info.hbmColor, colourInfo.bmWidth, colourInfo.bmHeight, newColour.handle, newSide,
                         newSide);
  }
  if (from) ::DeleteDC(from);
  if (to) ::DeleteDC(to);
  ::ReleaseDC(nullptr, screen);
  if (!drawn) return nullptr;
  ICONINFO result = {};
  result.fIcon = FALSE;
  result.xHotspot = static_cast<DWORD>(cursor_bits::ScaledHotspot(static_cast<int32_t>(icon.info.xHotspot), side, newSide));
  result.yHotspot = static_cast<DWORD>(cursor_bits::ScaledHotspot(static_cast<int32_t>(icon.info.yHotspot), side, newSide));
  result.hbmMask = newMask.handle;
  result.hbmColor = newColour.handle;
  return platform::CreateOwnedCursor(&result);
}

void ForgetDisplayFormat() { paletteReadFrom = nullptr; }

bool ProbeColourCursors() {
  // The bitmaps handed out are deleted here; the template is kept.
  HCURSOR probe = transformer_detail::LoadPaletteTemplate();
  ICONINFO info = {};
  if (!probe || !::GetIconInfo(probe, &info)) return false;
  const bool colour = info.hbmColor != nullptr;
  if (info.hbmColor) ::DeleteObject(info.hbmColor);
  if (info.hbmMask) ::DeleteObject(info.hbmMask);
  return colour;
}
