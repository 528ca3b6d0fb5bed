#include "platform/cursor_file.h"

#include <cstring>

namespace cursor_file {
namespace {

// A run of bytes that every read is checked against. Offsets and lengths are compared with
// what is left, never added to a pointer first, so no sum can wrap.
struct Bytes {
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
  Bytes Sub(size_t at, size_t length) const { return {data + at, length}; }
};

constexpr uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
constexpr size_t kDirectoryHeader = 6;
constexpr size_t kDirectoryEntry = 16;

// Bytes per row of a device-independent bitmap: whole 32-bit words. Sides and depths are
// checked first, so this stays far below any overflow.
uint64_t DibStride(uint64_t width, uint64_t bitsPerPixel) { return (width * bitsPerPixel + 31) / 32 * 4; }

bool SaneSide(int64_t side) { return side >= 1 && side <= kLargestSide; }

bool IsWellFormedPng(Bytes image) {
  // Signature, then the IHDR chunk: length 13, tag, 13 bytes of header, CRC.
  if (!image.Has(0, 8 + 8 + 13 + 4) || std::memcmp(image.data, kPngSignature, 8) != 0) return false;
  if (image.U32BigEndian(8) != 13 || !image.TagAt(12, "IHDR")) return false;
  return SaneSide(image.U32BigEndian(16)) && SaneSide(image.U32BigEndian(20));
}

bool IsWellFormedDib(Bytes image) {
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

bool IsWellFormedStatic(Bytes file) {
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
    const Bytes image = file.Sub(offset, length);
    const bool png = image.Has(0, 8) && std::memcmp(image.data, kPngSignature, 8) == 0;
    if (!(png ? IsWellFormedPng(image) : IsWellFormedDib(image))) return false;
  }
  return true;
}

// One chunk of a RIFF list: its tag and its data.
struct Chunk {
  const uint8_t* tag;
  Bytes data;
  bool Is(const char* name) const { return std::memcmp(tag, name, 4) == 0; }
};

// Walks the chunks of `list` in order, calling `visit(chunk)` until it returns false. False when
// a chunk runs past the list or a visit refused; an odd length is followed by a pad byte, which
// the last chunk may lack.
template <typename Visit>
bool WalkChunks(Bytes list, Visit visit) {
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

bool IsWellFormedAnimated(Bytes file) {
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
  const Bytes anih = header.data;
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

bool IsWellFormedStatic(const uint8_t* data, size_t size) { return data && IsWellFormedStatic(Bytes{data, size}); }

Kind CheckCursorFile(const uint8_t* data, size_t size) {
  if (!data || size > kLargestFile) return Kind::Refused;
  const Bytes file{data, size};
  if (file.Has(0, 4) && file.TagAt(0, "RIFF")) return IsWellFormedAnimated(file) ? Kind::Animated : Kind::Refused;
  return IsWellFormedStatic(file) ? Kind::Static : Kind::Refused;
}

}  // namespace cursor_file
