#include "tools/imagelib/formats.h"

#include "tools/imagelib/cursor_encode.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <system_error>

namespace imagelib {
namespace {

using cursor_file::Put16;
using cursor_file::Put32;
void Put32BigEndian(Bytes& out, uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<uint8_t>(v >> shift));
}
void PutTag(Bytes& out, const char* tag) { out.insert(out.end(), tag, tag + 4); }

// Bytes per row of a device-independent bitmap: whole 32-bit words.
uint32_t DibStride(int width, int bitsPerPixel) {
  return ((static_cast<uint32_t>(width) * bitsPerPixel + 31) / 32) * 4;
}

void PutInfoHeader(Bytes& out, int width, int height, int bitsPerPixel, uint32_t imageSize, uint32_t coloursUsed) {
  Put32(out, 40);
  Put32(out, static_cast<uint32_t>(width));
  Put32(out, static_cast<uint32_t>(height));
  Put16(out, 1);
  Put16(out, static_cast<uint32_t>(bitsPerPixel));
  Put32(out, 0);  // uncompressed
  Put32(out, imageSize);
  Put32(out, 2835);  // 72 dots per inch
  Put32(out, 2835);
  Put32(out, coloursUsed);
  Put32(out, 0);
}

void PutStandardPalette(Bytes& out) {
  for (const Rgba& c : kWindowsPalette) {
    out.push_back(c.b);
    out.push_back(c.g);
    out.push_back(c.r);
    out.push_back(0);
  }
}

// Colour bits of a device-independent bitmap, rows from the bottom up. `colourOf` gives the
// colour to store for a pixel (already resolved for masks and monochrome).
template <typename ColourOf>
void PutColourRows(Bytes& out, int width, int height, int bitsPerPixel, ColourOf colourOf) {
  const uint32_t stride = DibStride(width, bitsPerPixel);
  for (int y = height - 1; y >= 0; --y) {
    Bytes row(stride, 0);
    for (int x = 0; x < width; ++x) {
      const Rgba c = colourOf(x, y);
      switch (bitsPerPixel) {
        case 1:
          if (c.r + c.g + c.b >= 3 * 128) row[x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
          break;
        case 4:
          row[x / 2] |= static_cast<uint8_t>(NearestPaletteIndex(c) << (x % 2 == 0 ? 4 : 0));
          break;
        default:  // 24
          row[3 * x] = c.b;
          row[3 * x + 1] = c.g;
          row[3 * x + 2] = c.r;
          break;
      }
    }
    out.insert(out.end(), row.begin(), row.end());
  }
}

Bytes EncodeBmp(const Canvas& image, int bitsPerPixel) {
  const uint32_t paletteBytes = bitsPerPixel == 4 ? 64 : 0;
  const uint32_t imageSize = DibStride(image.width(), bitsPerPixel) * image.height();
  const uint32_t offset = 14 + 40 + paletteBytes;
  Bytes out;
  out.push_back('B');
  out.push_back('M');
  Put32(out, offset + imageSize);
  Put32(out, 0);
  Put32(out, offset);
  PutInfoHeader(out, image.width(), image.height(), bitsPerPixel, imageSize, bitsPerPixel == 4 ? 16 : 0);
  if (bitsPerPixel == 4) PutStandardPalette(out);
  PutColourRows(out, image.width(), image.height(), bitsPerPixel, [&](int x, int y) { return image.Get(x, y); });
  return out;
}

bool IsOpaque(Rgba p) { return p.a == 255; }

uint32_t Rgb(Rgba c) { return static_cast<uint32_t>(c.r) << 16 | static_cast<uint32_t>(c.g) << 8 | c.b; }

// The image of an icon or cursor for the file writer: opaque pixels take their colour (the
// nearest palette entry at 4 bits, black or white by brightness at 1), the others are
// transparent over black, or inverting over white.
cursor_file::Image IconImage(const Canvas& canvas, int bitsPerPixel, uint16_t field1, uint16_t field2) {
  cursor_file::Image image;
  image.width = canvas.width();
  image.height = canvas.height();
  image.bitsPerPixel = bitsPerPixel;
  image.field1 = field1;
  image.field2 = field2;
  if (bitsPerPixel == 1) image.palette = {0x000000, 0xFFFFFF};
  if (bitsPerPixel == 4) {
    for (const Rgba& c : kWindowsPalette) image.palette.push_back(Rgb(c));
  }
  const Rgba black = Opaque(0, 0, 0), white = Opaque(255, 255, 255);
  const auto shownAt = [&](int x, int y) {
    const Rgba p = canvas.Get(x, y);
    return p == kScreenInvert ? white : IsOpaque(p) ? p : black;
  };
  if (bitsPerPixel == 8) {
    std::vector<uint32_t> colours;
    for (int y = 0; y < canvas.height(); ++y)
      for (int x = 0; x < canvas.width(); ++x) {
        const uint32_t c = Rgb(shownAt(x, y));
        if (std::find(colours.begin(), colours.end(), c) == colours.end()) colours.push_back(c);
      }
    if (colours.size() > 256) return IconImage(canvas, 24, field1, field2);
    std::sort(colours.begin(), colours.end());
    image.bitsPerPixel = colours.size() <= 16 ? 4 : 8;
    image.palette = colours;
    for (int y = 0; y < canvas.height(); ++y)
      for (int x = 0; x < canvas.width(); ++x) {
        const uint32_t c = Rgb(shownAt(x, y));
        image.colour.push_back(static_cast<uint32_t>(std::find(colours.begin(), colours.end(), c) - colours.begin()));
        image.andMask.push_back(IsOpaque(canvas.Get(x, y)) ? 0 : 1);
      }
    return image;
  }
  for (int y = 0; y < canvas.height(); ++y) {
    for (int x = 0; x < canvas.width(); ++x) {
      const Rgba p = canvas.Get(x, y);
      const Rgba shown = p == kScreenInvert ? white : IsOpaque(p) ? p : black;
      uint32_t value = Rgb(shown);
      if (bitsPerPixel == 1) value = shown.r + shown.g + shown.b >= 3 * 128 ? 1 : 0;
      if (bitsPerPixel == 4) value = static_cast<uint32_t>(NearestPaletteIndex(shown));
      image.colour.push_back(value);
      image.andMask.push_back(IsOpaque(p) ? 0 : 1);
    }
  }
  return image;
}

uint32_t Crc32(const uint8_t* data, size_t size, uint32_t crc = 0) {
  crc = ~crc;
  for (size_t i = 0; i < size; ++i) {
    crc ^= data[i];
    for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
  }
  return ~crc;
}

void PutPngChunk(Bytes& out, const char* tag, const Bytes& data) {
  Put32BigEndian(out, static_cast<uint32_t>(data.size()));
  const size_t start = out.size();
  PutTag(out, tag);
  out.insert(out.end(), data.begin(), data.end());
  Put32BigEndian(out, Crc32(out.data() + start, out.size() - start));
}

}  // namespace

Bytes EncodeBmp4(const Canvas& image) { return EncodeBmp(image, 4); }
Bytes EncodeBmp24(const Canvas& image) { return EncodeBmp(image, 24); }

Bytes EncodeIco(const std::vector<Canvas>& images) {
  std::vector<cursor_file::Image> entries;
  for (const Canvas& image : images) entries.push_back(IconImage(image, 4, 1, 4));
  return cursor_file::EncodeStaticFile(cursor_file::FileType::Icon, entries);
}

Bytes EncodeCur(const Cursor& cursor, CursorDepth depth) { return EncodeCur(std::vector<Cursor>{cursor}, depth); }

Bytes EncodeCur(const std::vector<Cursor>& sizes, CursorDepth depth) {
  const auto clampSpot = [](int v, int size) { return static_cast<uint16_t>(std::clamp(v, 0, std::max(size - 1, 0))); };
  std::vector<cursor_file::Image> images;
  for (const Cursor& cursor : sizes) {
    const int w = cursor.image.width(), h = cursor.image.height();
    images.push_back(
        IconImage(cursor.image, static_cast<int>(depth), clampSpot(cursor.hotspotX, w), clampSpot(cursor.hotspotY, h)));
  }
  return cursor_file::EncodeStaticFile(cursor_file::FileType::Cursor, images);
}

Bytes EncodeAni(const Animation& animation, const std::vector<std::vector<Cursor>>& frameSizes) {
  cursor_file::Animation file;
  for (size_t i = 0; i < animation.frames.size(); ++i) {
    const AniFrame& frame = animation.frames[i];
    file.frames.push_back(i < frameSizes.size() ? EncodeCur(frameSizes[i], frame.depth) : EncodeCur(frame.cursor, frame.depth));
  }
  for (const AniStep& step : animation.steps) {
    file.steps.push_back({static_cast<uint32_t>(step.frame), static_cast<uint32_t>(step.jiffies)});
  }
  file.defaultJiffies = static_cast<uint32_t>(animation.defaultJiffies);
  file.title = animation.title;
  file.artist = animation.artist;
  return cursor_file::EncodeAnimatedFile(file);
}

Bytes EncodePng(const Canvas& image) {
  const int w = image.width(), h = image.height();
  Bytes raw;
  raw.reserve(static_cast<size_t>(h) * (1 + 4 * static_cast<size_t>(w)));
  for (int y = 0; y < h; ++y) {
    raw.push_back(0);  // no filter
    for (int x = 0; x < w; ++x) {
      const Rgba p = image.Get(x, y);
      raw.insert(raw.end(), {p.r, p.g, p.b, p.a});
    }
  }
  Bytes zlib = {0x78, 0x01};
  size_t at = 0;
  do {
    const size_t block = std::min<size_t>(raw.size() - at, 65535);
    const bool last = at + block == raw.size();
    zlib.push_back(last ? 1 : 0);
    Put16(zlib, static_cast<uint32_t>(block));
    Put16(zlib, static_cast<uint32_t>(~block & 0xFFFF));
    zlib.insert(zlib.end(), raw.begin() + at, raw.begin() + at + block);
    at += block;
  } while (at < raw.size());
  uint32_t a = 1, b = 0;
  for (uint8_t byte : raw) {
    a = (a + byte) % 65521;
    b = (b + a) % 65521;
  }
  Put32BigEndian(zlib, (b << 16) | a);

  Bytes out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  Bytes header;
  Put32BigEndian(header, static_cast<uint32_t>(w));
  Put32BigEndian(header, static_cast<uint32_t>(h));
  header.insert(header.end(), {8, 6, 0, 0, 0});  // 8 bits, RGBA, deflate, no filter set, not interlaced
  PutPngChunk(out, "IHDR", header);
  PutPngChunk(out, "IDAT", zlib);
  PutPngChunk(out, "IEND", {});
  return out;
}

bool WriteFile(const std::string& path, const Bytes& bytes) {
  FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return false;
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  return std::fclose(file) == 0 && written;
}

bool MakeFolders(const std::string& path) {
  std::error_code error;
  std::filesystem::create_directories(path, error);
  return std::filesystem::is_directory(path, error);
}

}  // namespace imagelib
