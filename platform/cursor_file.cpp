#include "platform/cursor_file.h"

#include <cstring>

namespace cursor_file {
namespace {

// A run of bytes that every read is checked against. Offsets and lengths are compared with
// what is left, never added to a pointer first, so no sum can wrap.
struct Span {
  const uint8_t* data;
  size_t size;

  bool Has(size_t at, size_t length) const { return at <= size && length <= size - at; }
  uint16_t U16(size_t at) const { return static_cast<uint16_t>(data[at] | data[at + 1] << 8); }
  uint32_t U32(size_t at) const {
    return static_cast<uint32_t>(data[at]) | static_cast<uint32_t>(data[at + 1]) << 8 |
           static_cast<uint32_t>(data[at + 2]) << 16 | static_cast<uint32_t>(data[at + 3]) << 24;
  }
  uint32_t U32BigEndian(size_t at) const {
    return static_cast<uint32_t>(data[at]) << 24 | static_cast<uint32_t>(data[at + 1]) << 16 |
           static_cast<uint32_t>(data[at + 2]) << 8 | static_cast<uint32_t>(data[at + 3]);
  }
  bool TagAt(size_t at, const char* tag) const { return std::memcmp(data + at, tag, 4) == 0; }
  Span Sub(size_t at, size_t length) const { return {data + at, length}; }
};

constexpr uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
constexpr size_t kDirectoryHeader = 6;
constexpr size_t kDirectoryEntry = 16;

// Span per row of a device-independent bitmap: whole 32-bit words. Sides and depths are
// checked first, so this stays far below any overflow.
uint64_t DibStride(uint64_t width, uint64_t bitsPerPixel) { return (width * bitsPerPixel + 31) / 32 * 4; }

bool SaneSide(int64_t side) { return side >= 1 && side <= kLargestSide; }

bool IsWellFormedPng(Span image) {
  // Signature, then the IHDR chunk: length 13, tag, 13 bytes of header, CRC.
  if (!image.Has(0, 8 + 8 + 13 + 4) || std::memcmp(image.data, kPngSignature, 8) != 0) return false;
  if (image.U32BigEndian(8) != 13 || !image.TagAt(12, "IHDR")) return false;
  return SaneSide(image.U32BigEndian(16)) && SaneSide(image.U32BigEndian(20));
}

bool IsWellFormedDib(Span image) {
  if (!image.Has(0, 4)) return false;
  const uint32_t headerSize = image.U32(0);
  int64_t width, height;
  uint32_t planes, bitCount, compression = 0, coloursUsed = 0;
  size_t paletteEntry = 4, masks = 0;
  if (headerSize == 12) {  // BITMAPCOREHEADER
    if (!image.Has(0, 12)) return false;
    width = image.U16(4);
    height = image.U16(6);
    planes = image.U16(8);
    bitCount = image.U16(10);
    paletteEntry = 3;
  } else if (headerSize == 40 || headerSize == 52 || headerSize == 56 || headerSize == 108 || headerSize == 124) {
    if (!image.Has(0, headerSize)) return false;
    width = static_cast<int32_t>(image.U32(4));
    height = static_cast<int32_t>(image.U32(8));
    planes = image.U16(12);
    bitCount = image.U16(14);
    compression = image.U32(16);
    coloursUsed = image.U32(32);
    // BI_BITFIELDS: three masks after a bare info header, inside the larger ones.
    if (compression == 3 && headerSize == 40) masks = 12;
  } else {
    return false;
  }
  // The height covers the colour (XOR) rows and the AND rows.
  const int64_t rows = height / 2;
  if (!SaneSide(width) || height < 2 || !SaneSide(rows) || planes > 1) return false;
  if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 16 && bitCount != 24 && bitCount != 32) return false;
  if (compression != 0 && !(compression == 3 && (bitCount == 16 || bitCount == 32))) return false;
  uint64_t paletteCount = bitCount <= 8 ? (1u << bitCount) : 0;
  if (coloursUsed != 0) {
    if (coloursUsed > 256 || (bitCount <= 8 && coloursUsed > paletteCount)) return false;
    paletteCount = coloursUsed;
  }
  const uint64_t needed = headerSize + masks + paletteCount * paletteEntry +
                          DibStride(width, bitCount) * rows + DibStride(width, 1) * rows;
  return needed <= image.size;
}

bool IsWellFormedStatic(Span file) {
  if (!file.Has(0, kDirectoryHeader)) return false;
  const uint16_t type = file.U16(2);
  const uint16_t count = file.U16(4);
  if (file.U16(0) != 0 || (type != 1 && type != 2) || count == 0) return false;
  if (!file.Has(kDirectoryHeader, static_cast<size_t>(count) * kDirectoryEntry)) return false;
  for (size_t i = 0; i < count; ++i) {
    const size_t entry = kDirectoryHeader + i * kDirectoryEntry;
    const uint32_t length = file.U32(entry + 8);
    const uint32_t offset = file.U32(entry + 12);
    if (length == 0 || !file.Has(offset, length)) return false;
    const Span image = file.Sub(offset, length);
    const bool png = image.Has(0, 8) && std::memcmp(image.data, kPngSignature, 8) == 0;
    if (!(png ? IsWellFormedPng(image) : IsWellFormedDib(image))) return false;
  }
  return true;
}

// One chunk of a RIFF list: its tag and its data.
struct Chunk {
  const uint8_t* tag;
  Span data;
  bool Is(const char* name) const { return std::memcmp(tag, name, 4) == 0; }
};

// Walks the chunks of `list` in order, calling `visit(chunk)` until it returns false. False when
// a chunk runs past the list or a visit refused; an odd length is followed by a pad byte, which
// the last chunk may lack.
template <typename Visit>
bool WalkChunks(Span list, Visit visit) {
  size_t at = 0;
  while (at < list.size) {
    if (!list.Has(at, 8)) return false;
    const uint32_t length = list.U32(at + 4);
    if (!list.Has(at + 8, length)) return false;
    if (!visit(Chunk{list.data + at, list.Sub(at + 8, length)})) return false;
    at += 8 + size_t{length};
    if (length % 2 != 0 && at < list.size) ++at;
  }
  return true;
}

// Keeps the first chunk of a kind; a second one is refused.
bool KeepOnce(const Chunk& chunk, Chunk* slot, bool* seen) {
  if (*seen) return false;
  *slot = chunk;
  *seen = true;
  return true;
}

bool IsWellFormedAnimated(Span file) {
  if (!file.Has(0, 12) || !file.TagAt(0, "RIFF") || !file.TagAt(8, "ACON")) return false;
  const uint32_t riffLength = file.U32(4);
  if (riffLength < 4 || !file.Has(8, riffLength)) return false;

  // The first pass finds the chunks that matter; the second checks them against the header,
  // wherever in the file they stood.
  Chunk header{}, frames{}, sequence{}, rates{};
  bool hasHeader = false, hasFrames = false, hasSequence = false, hasRates = false;
  const bool walked = WalkChunks(file.Sub(12, riffLength - 4), [&](const Chunk& chunk) {
    if (chunk.Is("anih")) return KeepOnce(chunk, &header, &hasHeader);
    if (chunk.Is("seq ")) return KeepOnce(chunk, &sequence, &hasSequence);
    if (chunk.Is("rate")) return KeepOnce(chunk, &rates, &hasRates);
    if (chunk.Is("LIST") && chunk.data.Has(0, 4) && chunk.data.TagAt(0, "fram")) {
      return KeepOnce(chunk, &frames, &hasFrames);
    }
    return true;  // INFO lists and anything unknown are skipped by their lengths
  });
  if (!walked || !hasHeader || !hasFrames) return false;

  // "anih": its own size, then frames, steps, four display fields, rate, flags.
  const Span anih = header.data;
  if (anih.size != 36 || anih.U32(0) != 36) return false;
  const uint32_t frameCount = anih.U32(4);
  const uint32_t stepCount = anih.U32(8);
  const uint32_t flags = anih.U32(32);
  if (frameCount == 0 || frameCount > kMostFrames || stepCount == 0 || stepCount > kMostSteps) return false;
  // Frames stored as raw bitmaps rather than icons are not loaded by the platform either.
  if ((flags & 1) == 0) return false;

  if (hasSequence) {
    if (sequence.data.size != 4 * size_t{stepCount}) return false;
    for (uint32_t step = 0; step < stepCount; ++step) {
      if (sequence.data.U32(4 * step) >= frameCount) return false;
    }
  } else if (stepCount > frameCount) {
    return false;  // without a sequence, step n shows frame n
  }
  if (hasRates && rates.data.size != 4 * size_t{stepCount}) return false;

  uint32_t icons = 0;
  const bool framesWalked = WalkChunks(frames.data.Sub(4, frames.data.size - 4), [&](const Chunk& chunk) {
    if (!chunk.Is("icon")) return true;
    return ++icons <= frameCount && IsWellFormedStatic(chunk.data);
  });
  return framesWalked && icons == frameCount;
}

}  // namespace

namespace {

// The first image of a static file already found well formed.
Span FirstStaticImage(Span file) { return file.Sub(file.U32(kDirectoryHeader + 12), file.U32(kDirectoryHeader + 8)); }

// The first "icon" chunk of the first "fram" list of an animation already found well formed.
Span FirstFrame(Span file) {
  Span frame{nullptr, 0};
  WalkChunks(file.Sub(12, file.U32(4) - 4), [&](const Chunk& chunk) {
    if (!chunk.Is("LIST") || !chunk.data.TagAt(0, "fram")) return true;
    WalkChunks(chunk.data.Sub(4, chunk.data.size - 4), [&](const Chunk& icon) {
      if (!icon.Is("icon")) return true;
      frame = icon.data;
      return false;
    });
    return false;
  });
  return frame;
}

// The width of a well-formed image, from its own header.
int32_t ImageSide(Span image) {
  if (image.Has(0, 8) && std::memcmp(image.data, kPngSignature, 8) == 0) return static_cast<int32_t>(image.U32BigEndian(16));
  return image.U32(0) == 12 ? image.U16(4) : static_cast<int32_t>(image.U32(4));
}

}  // namespace

bool BestCursorImage(const uint8_t* data, size_t size, int32_t side, CursorImage* image) {
  if (CheckCursorFile(data, size) != Kind::Static) return false;
  const Span file{data, size};
  if (file.U16(2) != 2) return false;
  const uint16_t count = file.U16(4);
  int best = -1, bestSide = 0;
  for (int i = 0; i < count; ++i) {
    const size_t entry = kDirectoryHeader + i * kDirectoryEntry;
    const int32_t found = ImageSide(file.Sub(file.U32(entry + 12), file.U32(entry + 8)));
    const bool fits = found <= side;
    const bool better = best < 0 || (fits ? (bestSide > side || found > bestSide) : (bestSide > side && found < bestSide));
    if (better) {
      best = i;
      bestSide = found;
    }
  }
  const size_t entry = kDirectoryHeader + best * kDirectoryEntry;
  image->bytes = data + file.U32(entry + 12);
  image->length = file.U32(entry + 8);
  image->side = bestSide;
  image->hotspotX = file.U16(entry + 4);
  image->hotspotY = file.U16(entry + 6);
  return true;
}

bool FirstImage(const uint8_t* data, size_t size, const uint8_t** image, size_t* length) {
  const Kind kind = CheckCursorFile(data, size);
  if (kind == Kind::Refused) return false;
  const Span file{data, size};
  const Span found = FirstStaticImage(kind == Kind::Animated ? FirstFrame(file) : file);
  *image = found.data;
  *length = found.size;
  return true;
}

Kind CheckCursorFile(const uint8_t* data, size_t size) {
  if (!data || size > kLargestFile) return Kind::Refused;
  const Span file{data, size};
  if (file.Has(0, 4) && file.TagAt(0, "RIFF")) return IsWellFormedAnimated(file) ? Kind::Animated : Kind::Refused;
  return IsWellFormedStatic(file) ? Kind::Static : Kind::Refused;
}

void Put16(Bytes& out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}

void Put32(Bytes& out, uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

namespace {

void PutTag(Bytes& out, const char* tag) { out.insert(out.end(), tag, tag + 4); }
void PutChunk(Bytes& out, const char* tag, const Bytes& data) {
  PutTag(out, tag);
  Put32(out, static_cast<uint32_t>(data.size()));
  out.insert(out.end(), data.begin(), data.end());
  if (data.size() % 2) out.push_back(0);
}

// Rows from the bottom up, each padded to whole 32-bit words, as a DIB holds them.
void PutRows(Bytes& out, int width, int height, int bitsPerPixel, const std::vector<uint32_t>& values) {
  const size_t stride = static_cast<size_t>(DibStride(static_cast<uint64_t>(width), static_cast<uint64_t>(bitsPerPixel)));
  for (int y = height - 1; y >= 0; --y) {
    Bytes row(stride, 0);
    for (int x = 0; x < width; ++x) {
      const uint32_t v = values[static_cast<size_t>(y) * width + x];
      switch (bitsPerPixel) {
        case 1:
          if (v) row[x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
          break;
        case 4:
          row[x / 2] |= static_cast<uint8_t>((v & 15) << (x % 2 == 0 ? 4 : 0));
          break;
        default:  // 24 or 32: blue, green, red (, alpha)
          for (int byte = 0; byte < bitsPerPixel / 8; ++byte) row[x * (bitsPerPixel / 8) + byte] = static_cast<uint8_t>(v >> (8 * byte));
          break;
      }
    }
    out.insert(out.end(), row.begin(), row.end());
  }
}

// Header with the doubled height, palette, colour (XOR) rows, AND rows.
Bytes EncodeImage(const Image& image) {
  const int w = image.width, h = image.height;
  const uint32_t xorSize = static_cast<uint32_t>(DibStride(w, image.bitsPerPixel) * h);
  const uint32_t andSize = static_cast<uint32_t>(DibStride(w, 1) * h);
  Bytes out;
  Put32(out, 40);
  Put32(out, static_cast<uint32_t>(w));
  Put32(out, static_cast<uint32_t>(2 * h));
  Put16(out, 1);
  Put16(out, static_cast<uint32_t>(image.bitsPerPixel));
  Put32(out, 0);  // uncompressed
  Put32(out, xorSize + andSize);
  Put32(out, 2835);  // 72 dots per inch
  Put32(out, 2835);
  Put32(out, static_cast<uint32_t>(image.palette.size()));
  Put32(out, 0);
  for (uint32_t entry : image.palette) Put32(out, entry & 0x00FFFFFF);
  PutRows(out, w, h, image.bitsPerPixel, image.colour);
  const std::vector<uint32_t> mask(image.andMask.begin(), image.andMask.end());
  PutRows(out, w, h, 1, mask);
  return out;
}

}  // namespace

Bytes EncodeStaticFile(FileType type, const std::vector<Image>& images) {
  std::vector<Bytes> encoded;
  for (const Image& image : images) encoded.push_back(EncodeImage(image));
  Bytes out;
  Put16(out, 0);
  Put16(out, static_cast<uint32_t>(type));
  Put16(out, static_cast<uint32_t>(images.size()));
  uint32_t offset = static_cast<uint32_t>(kDirectoryHeader + kDirectoryEntry * images.size());
  for (size_t i = 0; i < images.size(); ++i) {
    const Image& image = images[i];
    out.push_back(static_cast<uint8_t>(image.width >= 256 ? 0 : image.width));
    out.push_back(static_cast<uint8_t>(image.height >= 256 ? 0 : image.height));
    out.push_back(static_cast<uint8_t>(image.palette.size() < 256 ? image.palette.size() : 0));
    out.push_back(0);
    Put16(out, image.field1);
    Put16(out, image.field2);
    Put32(out, static_cast<uint32_t>(encoded[i].size()));
    Put32(out, offset);
    offset += static_cast<uint32_t>(encoded[i].size());
  }
  for (const Bytes& image : encoded) out.insert(out.end(), image.begin(), image.end());
  return out;
}

Bytes EncodeAnimatedFile(const Animation& animation) {
  std::vector<AnimationStep> steps = animation.steps;
  if (steps.empty()) {
    for (uint32_t i = 0; i < animation.frames.size(); ++i) steps.push_back({i, animation.defaultJiffies});
  }
  bool inOrder = steps.size() == animation.frames.size();
  bool sameRate = true;
  for (size_t i = 0; i < steps.size(); ++i) {
    inOrder = inOrder && steps[i].frame == i;
    sameRate = sameRate && steps[i].jiffies == steps[0].jiffies;
  }
  const uint32_t displayRate = steps.empty() ? animation.defaultJiffies : steps[0].jiffies;

  Bytes out;
  PutTag(out, "RIFF");
  Put32(out, 0);  // the length, once known
  PutTag(out, "ACON");
  if (!animation.title.empty() || !animation.artist.empty()) {
    Bytes info;
    PutTag(info, "INFO");
    const auto text = [](const std::string& s) { return Bytes(s.c_str(), s.c_str() + s.size() + 1); };
    if (!animation.title.empty()) PutChunk(info, "INAM", text(animation.title));
    if (!animation.artist.empty()) PutChunk(info, "IART", text(animation.artist));
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
    for (const AnimationStep& step : steps) Put32(rates, step.jiffies);
    PutChunk(out, "rate", rates);
  }
  if (!inOrder) {
    Bytes sequence;
    for (const AnimationStep& step : steps) Put32(sequence, step.frame);
    PutChunk(out, "seq ", sequence);
  }
  Bytes frames;
  PutTag(frames, "fram");
  for (const Bytes& frame : animation.frames) PutChunk(frames, "icon", frame);
  PutChunk(out, "LIST", frames);
  const uint32_t length = static_cast<uint32_t>(out.size() - 8);
  for (int i = 0; i < 4; ++i) out[4 + i] = static_cast<uint8_t>(length >> (8 * i));
  return out;
}

}  // namespace cursor_file
