#include "tools/imagelib/formats.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <system_error>

namespace imagelib {
namespace {

void Put16(Bytes& out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}
void Put32(Bytes& out, uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}
void Put32BigEndian(Bytes& out, uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<uint8_t>(v >> shift));
}
void PutTag(Bytes& out, const char* tag) { out.insert(out.end(), tag, tag + 4); }
void Patch32(Bytes& out, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) out[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

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

// The image of an icon or cursor: header with doubled height, palette, XOR bits, AND bits.
Bytes EncodeIconImage(const Canvas& image, int bitsPerPixel) {
  const int w = image.width(), h = image.height();
  const uint32_t xorSize = DibStride(w, bitsPerPixel) * h;
  const uint32_t andSize = DibStride(w, 1) * h;
  Bytes out;
  const uint32_t coloursUsed = bitsPerPixel == 1 ? 2 : bitsPerPixel == 4 ? 16 : 0;
  PutInfoHeader(out, w, 2 * h, bitsPerPixel, xorSize + andSize, coloursUsed);
  if (bitsPerPixel == 1) {
    Put32(out, 0x00000000);
    Put32(out, 0x00FFFFFF);
  } else if (bitsPerPixel == 4) {
    PutStandardPalette(out);
  }
  const Rgba black = Opaque(0, 0, 0), white = Opaque(255, 255, 255);
  PutColourRows(out, w, h, bitsPerPixel, [&](int x, int y) {
    const Rgba p = image.Get(x, y);
    if (p == kScreenInvert) return white;
    if (!IsOpaque(p)) return black;
    return p;
  });
  PutColourRows(out, w, h, 1, [&](int x, int y) { return IsOpaque(image.Get(x, y)) ? black : white; });
  return out;
}

struct DirectoryEntry {
  Bytes image;
  int width, height, colourCount;
  uint16_t field1, field2;  // planes and bit count (icons) or hotspot x and y (cursors)
};

Bytes EncodeIconDirectory(uint16_t type, const std::vector<DirectoryEntry>& entries) {
  Bytes out;
  Put16(out, 0);
  Put16(out, type);
  Put16(out, static_cast<uint32_t>(entries.size()));
  uint32_t offset = 6 + 16 * static_cast<uint32_t>(entries.size());
  for (const DirectoryEntry& e : entries) {
    out.push_back(static_cast<uint8_t>(e.width >= 256 ? 0 : e.width));
    out.push_back(static_cast<uint8_t>(e.height >= 256 ? 0 : e.height));
    out.push_back(static_cast<uint8_t>(e.colourCount));
    out.push_back(0);
    Put16(out, e.field1);
    Put16(out, e.field2);
    Put32(out, static_cast<uint32_t>(e.image.size()));
    Put32(out, offset);
    offset += static_cast<uint32_t>(e.image.size());
  }
  for (const DirectoryEntry& e : entries) out.insert(out.end(), e.image.begin(), e.image.end());
  return out;
}

void PutChunk(Bytes& out, const char* tag, const Bytes& data) {
  PutTag(out, tag);
  Put32(out, static_cast<uint32_t>(data.size()));
  out.insert(out.end(), data.begin(), data.end());
  if (data.size() % 2) out.push_back(0);
}

Bytes ZeroTerminated(const std::string& text) {
  Bytes b(text.begin(), text.end());
  b.push_back(0);
  return b;
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
  std::vector<DirectoryEntry> entries;
  for (const Canvas& image : images)
    entries.push_back({EncodeIconImage(image, 4), image.width(), image.height(), 16, 1, 4});
  return EncodeIconDirectory(1, entries);
}

Bytes EncodeCur(const Cursor& cursor, CursorDepth depth) {
  const int bits = static_cast<int>(depth);
  const int w = cursor.image.width(), h = cursor.image.height();
  const auto clampSpot = [](int v, int size) { return static_cast<uint16_t>(std::clamp(v, 0, std::max(size - 1, 0))); };
  const DirectoryEntry entry{EncodeIconImage(cursor.image, bits), w, h, bits == 1 ? 2 : bits == 4 ? 16 : 0,
                             clampSpot(cursor.hotspotX, w), clampSpot(cursor.hotspotY, h)};
  return EncodeIconDirectory(2, {entry});
}

Bytes EncodeAni(const Animation& animation) {
  std::vector<AniStep> steps = animation.steps;
  if (steps.empty())
    for (int i = 0; i < static_cast<int>(animation.frames.size()); ++i) steps.push_back({i, animation.defaultJiffies});
  bool inOrder = steps.size() == animation.frames.size();
  bool sameRate = true;
  for (size_t i = 0; i < steps.size(); ++i) {
    inOrder = inOrder && steps[i].frame == static_cast<int>(i);
    sameRate = sameRate && steps[i].jiffies == steps[0].jiffies;
  }
  const uint32_t displayRate = steps.empty() ? static_cast<uint32_t>(animation.defaultJiffies) : steps[0].jiffies;

  Bytes out;
  PutTag(out, "RIFF");
  Put32(out, 0);  // patched below
  PutTag(out, "ACON");
  if (!animation.title.empty() || !animation.artist.empty()) {
    Bytes info;
    PutTag(info, "INFO");
    if (!animation.title.empty()) PutChunk(info, "INAM", ZeroTerminated(animation.title));
    if (!animation.artist.empty()) PutChunk(info, "IART", ZeroTerminated(animation.artist));
    PutChunk(out, "LIST", info);
  }
  Bytes header;
  Put32(header, 36);
  Put32(header, static_cast<uint32_t>(animation.frames.size()));
  Put32(header, static_cast<uint32_t>(steps.size()));
  for (int i = 0; i < 4; ++i) Put32(header, 0);  // size, bit count, planes: taken from the frames
  Put32(header, displayRate);
  Put32(header, 1u | (inOrder ? 0u : 2u));  // frames are cursor files; sequence present
  PutChunk(out, "anih", header);
  if (!sameRate) {
    Bytes rates;
    for (const AniStep& s : steps) Put32(rates, static_cast<uint32_t>(s.jiffies));
    PutChunk(out, "rate", rates);
  }
  if (!inOrder) {
    Bytes sequence;
    for (const AniStep& s : steps) Put32(sequence, static_cast<uint32_t>(s.frame));
    PutChunk(out, "seq ", sequence);
  }
  Bytes frames;
  PutTag(frames, "fram");
  for (const AniFrame& f : animation.frames) PutChunk(frames, "icon", EncodeCur(f.cursor, f.depth));
  PutChunk(out, "LIST", frames);
  Patch32(out, 4, static_cast<uint32_t>(out.size() - 8));
  return out;
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
