#include "utility/cursor/transformer_win.h"

#include <climits>
#include <memory>
#include <new>

#include "platform/gdi.h"
#include "utility/app/cursor_settings.h"
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
    if (info.hbmColor) platform::DeleteObject(info.hbmColor);
    if (info.hbmMask) platform::DeleteObject(info.hbmMask);
  }
  bool Query(HCURSOR cursor) { return cursor && platform::GetIconInfo(cursor, &info); }
};

// One bitmap's bits, in a buffer of this call sized from the bitmap's own record.
struct FetchedBits {
  cursor_bits::BitmapBits view;
  std::unique_ptr<uint8_t[]> buffer;

  bool Fetch(HBITMAP bitmap) {
    BITMAP record{};
    if (!bitmap || platform::GetObjectA(bitmap, sizeof record, &record) != sizeof record) return false;
    view.geometry = {record.bmWidth, record.bmHeight, record.bmWidthBytes, record.bmPlanes, record.bmBitsPixel};
    const size_t size = cursor_bits::BitsBufferSize(view.geometry);
    if (size == 0 || size > LONG_MAX) return false;
    buffer.reset(new (std::nothrow) uint8_t[size]);
    if (!buffer) return false;
    view.bits = buffer.get();
    view.size = size;
    return platform::GetBitmapBits(bitmap, static_cast<LONG>(size), view.bits) == static_cast<LONG>(size);
  }

  bool Store(HBITMAP bitmap) const {
    return platform::SetBitmapBits(bitmap, static_cast<DWORD>(view.size), view.bits) == static_cast<LONG>(view.size);
  }
};

// Hands back the new cursor and releases the source; when creation fails the source is kept
// and returned, so the caller never loses a cursor it still had.
HCURSOR Replace(HCURSOR source, ICONINFO& info, transformer_detail::CreateCursorFunction create) {
  HCURSOR created = create(&info);
  if (!created) return source;
  platform::DestroyCursor(source);
  return created;
}

}  // namespace

namespace transformer_detail {

HCURSOR LoadPaletteTemplate() {
  // A shared resource cursor: the platform hands out the same handle on every load, so the
  // first is kept. Its bitmaps come out in the display's format as it is when they are asked for.
  static HCURSOR shared = nullptr;
  if (!shared) shared = platform::LoadCursorA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDC_PALETTE_TEMPLATE));
  return shared;
}

namespace {
PaletteTemplateSource paletteTemplateSource = &LoadPaletteTemplate;
}  // namespace

void SetPaletteTemplateSource(PaletteTemplateSource source) {
  paletteTemplateSource = source ? source : &LoadPaletteTemplate;
}

HCURSOR RecolourWithTemplate(HCURSOR source, HCURSOR paletteTemplate, int whtClr, int blkClr,
                             CreateCursorFunction create) {
  IconBitmaps sourceIcon;
  if (!sourceIcon.Query(source)) return source;
  if (sourceIcon.info.hbmColor) return source;  // already in colour
  IconBitmaps templateIcon;
  if (!templateIcon.Query(paletteTemplate)) return source;
  if (!templateIcon.info.hbmColor) return source;  // the display shows no colour cursors

  FetchedBits sourceMask, templateMask, templateColour;
  if (!sourceMask.Fetch(sourceIcon.info.hbmMask) || !templateMask.Fetch(templateIcon.info.hbmMask) ||
      !templateColour.Fetch(templateIcon.info.hbmColor))
    return source;
  cursor_bits::PalettePixelTable palette;
  if (!cursor_bits::ReadPalettePixels(templateColour.view, palette) ||
      !cursor_bits::RecolourMonochrome(sourceMask.view, palette, whtClr, blkClr, templateMask.view,
                                       templateColour.view))
    return source;
  if (!templateMask.Store(templateIcon.info.hbmMask) || !templateColour.Store(templateIcon.info.hbmColor))
    return source;

  ICONINFO result = templateIcon.info;
  result.fIcon = FALSE;
  result.xHotspot = sourceIcon.info.xHotspot;
  result.yHotspot = sourceIcon.info.yHotspot;
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
  HCURSOR paletteTemplate = transformer_detail::paletteTemplateSource();
  return transformer_detail::RecolourWithTemplate(source, paletteTemplate, current.WhtClr, current.BlkClr,
                                                  platform::CreateIconIndirect);
}

HCURSOR MirrorCursor(HCURSOR source) { return transformer_detail::MirrorWith(source, platform::CreateIconIndirect); }

bool ProbeColourCursors() {
  // The bitmaps handed out are deleted here; the template is shared.
  HCURSOR probe = transformer_detail::paletteTemplateSource();
  ICONINFO info = {};
  if (!probe || !platform::GetIconInfo(probe, &info)) return false;
  const bool colour = info.hbmColor != nullptr;
  if (info.hbmColor) platform::DeleteObject(info.hbmColor);
  if (info.hbmMask) platform::DeleteObject(info.hbmMask);
  return colour;
}
