#include "tools/cursorgen/sheet.h"

#include <algorithm>
#include <cstdio>

#include "tools/imagelib/font.h"

namespace cursorgen {
namespace {

using imagelib::Canvas;
using imagelib::Opaque;
using imagelib::Rgba;

constexpr int kColumns = 5;
constexpr int kBig = 3;  // enlargement of the main picture
constexpr int kCellWidth = 214, kCellHeight = 96 + 34;
constexpr Rgba kSheetBackground = Opaque(255, 255, 255);
constexpr Rgba kHotspotMark = Opaque(255, 0, 0);
constexpr Rgba kText = Opaque(0, 0, 0);

Rgba Checker(int x, int y) { return ((x / 8) + (y / 8)) % 2 ? Opaque(168, 190, 214) : Opaque(112, 134, 158); }

// One frame as it shows on a background (the checkers unless given), each pixel `scale` x `scale`.
void DrawFrame(Canvas& sheet, int left, int top, const imagelib::AniFrame& frame, int scale, bool markHotspot,
               Rgba (*background)(int x, int y) = Checker) {
  const Canvas& image = frame.cursor.image;
  const bool monochrome = frame.depth == imagelib::CursorDepth::kMonochrome;
  for (int y = 0; y < image.height() * scale; ++y)
    for (int x = 0; x < image.width() * scale; ++x) {
      const Rgba back = background(x, y);
      Rgba p = image.Get(x / scale, y / scale);
      if (p == imagelib::kScreenInvert) {
        p = Opaque(255 - back.r, 255 - back.g, 255 - back.b);
      } else if (p.a != 255) {
        p = back;
      } else if (monochrome) {
        p = p.r + p.g + p.b >= 3 * 128 ? Opaque(255, 255, 255) : Opaque(0, 0, 0);
      }
      sheet.Set(left + x, top + y, p);
    }
  if (markHotspot) {
    const int hx = left + frame.cursor.hotspotX * scale, hy = top + frame.cursor.hotspotY * scale;
    sheet.DrawRect(hx - 2, hy - 2, scale + 4, scale + 4, kHotspotMark);
    sheet.DrawRect(hx - 1, hy - 1, scale + 2, scale + 2, Opaque(255, 255, 0));
  }
}

constexpr Rgba kLight = Opaque(236, 236, 236), kDark = Opaque(36, 40, 48);
Rgba Light(int, int) { return kLight; }
Rgba Dark(int, int) { return kDark; }

}  // namespace

Canvas ContactSheet(const std::vector<SheetEntry>& entries) {
  const int rows = (static_cast<int>(entries.size()) + kColumns - 1) / kColumns;
  Canvas sheet(kColumns * kCellWidth + 8, rows * kCellHeight + 8, kSheetBackground);
  for (size_t i = 0; i < entries.size(); ++i) {
    const SheetEntry& e = entries[i];
    const int left = 8 + static_cast<int>(i % kColumns) * kCellWidth;
    const int top = 8 + static_cast<int>(i / kColumns) * kCellHeight;
    if (e.frames.empty()) continue;
    DrawFrame(sheet, left, top, e.frames[0], kBig, true);
    // Further frames of an animation at their own size, three to a row.
    for (size_t f = 1; f < e.frames.size() && f <= 9; ++f) {
      const int col = static_cast<int>((f - 1) % 3), row = static_cast<int>((f - 1) / 3);
      DrawFrame(sheet, left + 96 + 4 + col * 34, top + row * 33, e.frames[f], 1, false);
    }
    std::string name = e.name;
    const size_t fits = (kCellWidth - 6) / imagelib::kGlyphCellWidth;
    if (name.size() > fits) name = name.substr(0, fits - 2) + "..";
    imagelib::DrawText(sheet, left, top + 96 + 4, name, kText);
    const imagelib::AniFrame& first = e.frames[0];
    char info[96];
    const bool colour = first.depth != imagelib::CursorDepth::kMonochrome;
    if (e.animated)
      std::snprintf(info, sizeof info, "[a%c] hot %d,%d  %zu frames, %d/60 s", colour ? 'c' : 'm',
                    first.cursor.hotspotX, first.cursor.hotspotY, e.frames.size(), e.jiffies);
    else
      std::snprintf(info, sizeof info, "[s%c] hot %d,%d  %d bpp", colour ? 'c' : 'm', first.cursor.hotspotX,
                    first.cursor.hotspotY, static_cast<int>(first.depth));
    imagelib::DrawText(sheet, left, top + 96 + 15, info, Opaque(64, 64, 64));
  }
  return sheet;
}

Canvas SchemeSheet(const std::vector<std::string>& roles, const std::vector<SchemeShown>& schemes) {
  constexpr int kCaption = 130, kCell = 72, kRow = 72, kHeader = 30;
  constexpr int kSchemeWidth = 4 * kCell + 12;
  Canvas sheet(kCaption + static_cast<int>(schemes.size()) * kSchemeWidth, kHeader + static_cast<int>(roles.size()) * kRow,
               kSheetBackground);
  for (size_t s = 0; s < schemes.size(); ++s) {
    const int left = kCaption + static_cast<int>(s) * kSchemeWidth;
    imagelib::DrawText(sheet, left, 4, schemes[s].name, kText);
    imagelib::DrawText(sheet, left, 16, "32 light, dark; 64 light, dark", Opaque(64, 64, 64));
    for (size_t r = 0; r < roles.size() && r < schemes[s].roles.size(); ++r) {
      const int top = kHeader + static_cast<int>(r) * kRow;
      int x = left;
      for (const imagelib::AniFrame* frame : {&schemes[s].roles[r].first, &schemes[s].roles[r].second}) {
        for (Rgba (*back)(int, int) : {Light, Dark}) {
          sheet.FillRect(x, top, kCell - 4, kRow - 4, back(0, 0));
          DrawFrame(sheet, x + 2, top + 2, *frame, 1, false, back);
          x += kCell;
        }
      }
    }
  }
  for (size_t r = 0; r < roles.size(); ++r) imagelib::DrawText(sheet, 4, kHeader + static_cast<int>(r) * kRow + 4, roles[r], kText);
  return sheet;
}

}  // namespace cursorgen
