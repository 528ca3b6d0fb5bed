#include "platform/cursor_file.h"

#include <cstring>

#include "platform/checked_reads.h"

namespace cursor_file {
namespace {

constexpr uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
constexpr size_t kDirectoryHeader = 6;
constexpr size_t kDirectoryEntry = 16;

// Span per row of a device-independent bitmap: whole 32-bit words. Sides and depths are
// checked first, so this stays far below any overflow.
uint64_t DibStride(uint64_t width, uint64_t bitsPerPixel) { return (width * bitsPerPixel + 31) / 32 * 4; }

bool SaneSide(int64_t side) { return side >= 1 && side <= kLargestSide; }

// The image's side (its width) when it is a well-formed PNG entry, else 0.
int32_t CheckPng(Span image) {
  // Signature, then the IHDR chunk: length 13, tag, 13 bytes of header, CRC.
  if (!image.Has(0, 8 + 8 + 13 + 4) || !image.StartsWith(kPngSignature, 8)) return 0;
  if (image.U32BigEndian(8) != 13 || !image.TagAt(12, "IHDR")) return 0;
  const uint32_t width = image.U32BigEndian(16);
  if (!SaneSide(width) || !SaneSide(image.U32BigEndian(20))) return 0;
  return static_cast<int32_t>(width);
}

// Where a well-formed DIB entry keeps its pixels: the colour (XOR) rows, then the AND rows,
// each from the bottom up.
struct DibLayout {
  int32_t width = 0;
  int32_t rows = 0;
  uint32_t bitCount = 0;
  size_t colourAt = 0;
  size_t colourStride = 0;
  size_t maskAt = 0;
  size_t maskStride = 0;
};

// Whether `image` is a well-formed DIB entry, with where its parts lie.
bool ReadDibLayout(Span image, DibLayout* layout) {
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
  const uint64_t colourAt = headerSize + masks + paletteCount * paletteEntry;
  const uint64_t colourStride = DibStride(width, bitCount), maskStride = DibStride(width, 1);
  const uint64_t needed = colourAt + colourStride * rows + maskStride * rows;
  if (needed > image.size) return false;
  *layout = {static_cast<int32_t>(width), static_cast<int32_t>(rows), bitCount,
             static_cast<size_t>(colourAt), static_cast<size_t>(colourStride),
             static_cast<size_t>(colourAt + colourStride * rows), static_cast<size_t>(maskStride)};
  return true;
}

// The image's side (its width) when it is a well-formed DIB entry, else 0.
int32_t CheckDib(Span image) {
  DibLayout layout;
  return ReadDibLayout(image, &layout) ? layout.width : 0;
}

// Told of every image a check accepts, with its directory entry (16 bytes) and the file's type.
struct ImageVisitor {
  bool (*visit)(void* context, Span entry, Span image, FileType type);
  void* context;
};

// Checks a static file's directory and every image in it; with `found`, records each image
// where it was found.
bool CheckStatic(Span file, CheckedFile* found, const ImageVisitor* visitor = nullptr) {
  if (!file.Has(0, kDirectoryHeader)) return false;
  const uint16_t type = file.U16(2);
  const uint16_t count = file.U16(4);
  if (file.U16(0) != 0 || (type != 1 && type != 2) || count == 0 || count > kMostImages) return false;
  if (!file.Has(kDirectoryHeader, static_cast<size_t>(count) * kDirectoryEntry)) return false;
  for (size_t i = 0; i < count; ++i) {
    const Span entry = file.Sub(kDirectoryHeader + i * kDirectoryEntry, kDirectoryEntry);
    const uint32_t length = entry.U32(8);
    const uint32_t offset = entry.U32(12);
    if (length == 0 || !file.Has(offset, length)) return false;
    const Span image = file.Sub(offset, length);
    const int32_t side = image.StartsWith(kPngSignature, 8) ? CheckPng(image) : CheckDib(image);
    if (side == 0) return false;
    if (found) found->images[i] = {image.data, image.size, side, entry.U16(4), entry.U16(6)};
    if (visitor && !visitor->visit(visitor->context, entry, image, static_cast<FileType>(type))) return false;
  }
  if (found) {
    found->type = static_cast<FileType>(type);
    found->imageCount = count;
  }
  return true;
}

// One chunk of a RIFF list: its tag and its data.
struct Chunk {
  Span tag;
  Span data;
  bool Is(const char* name) const { return tag.TagAt(0, name); }
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
    if (!visit(Chunk{list.Sub(at, 4), list.Sub(at + 8, length)})) return false;
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

bool IsFrameList(const Chunk& chunk) { return chunk.Is("LIST") && chunk.data.Has(0, 4) && chunk.data.TagAt(0, "fram"); }

bool CheckAnimated(Span file, CheckedFile* found, const ImageVisitor* visitor = nullptr) {
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
    if (IsFrameList(chunk)) return KeepOnce(chunk, &frames, &hasFrames);
    return true;  // INFO lists, short lists and anything unknown are skipped by their lengths
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
  Span first{nullptr, 0};
  const bool framesWalked = WalkChunks(frames.data.Sub(4, frames.data.size - 4), [&](const Chunk& chunk) {
    if (!chunk.Is("icon")) return true;
    if (++icons > frameCount) return false;
    // The first frame's images are the ones recorded.
    if (icons == 1) first = chunk.data;
    return CheckStatic(chunk.data, icons == 1 ? found : nullptr, visitor);
  });
  if (!framesWalked || icons != frameCount) return false;
  if (found) {
    found->frameCount = frameCount;
    found->firstFrame = first.data;
    found->firstFrameLength = first.size;
  }
  return true;
}

}  // namespace

Kind CheckCursorFile(const uint8_t* data, size_t size, CheckedFile* found) {
  if (found) *found = CheckedFile{};
  if (!data || size > kLargestFile) return Kind::Refused;
  const Span file{data, size};
  const bool riff = file.Has(0, 4) && file.TagAt(0, "RIFF");
  const Kind kind = riff ? (CheckAnimated(file, found) ? Kind::Animated : Kind::Refused)
                         : (CheckStatic(file, found) ? Kind::Static : Kind::Refused);
  if (found) {
    // A refused file leaves nothing half recorded.
    if (kind == Kind::Refused) *found = CheckedFile{};
    found->kind = kind;
  }
  return kind;
}

bool FirstImage(const CheckedFile& file, const uint8_t** image, size_t* length) {
  if (file.kind == Kind::Refused || file.imageCount == 0) return false;
  *image = file.images[0].bytes;
  *length = file.images[0].length;
  return true;
}

bool BestCursorImage(const CheckedFile& file, int32_t side, CursorImage* image) {
  if (file.kind != Kind::Static || file.type != FileType::Cursor || file.imageCount == 0) return false;
  size_t best = 0;
  for (size_t i = 1; i < file.imageCount; ++i) {
    const int32_t found = file.images[i].side, bestSide = file.images[best].side;
    const bool better = found <= side ? (bestSide > side || found > bestSide) : (bestSide > side && found < bestSide);
    if (better) best = i;
  }
  const CheckedImage& chosen = file.images[best];
  *image = {chosen.bytes, chosen.length, chosen.side, chosen.field1, chosen.field2};
  return true;
}

namespace {

// Every accepted image of the file told to `visitor`, in file order; false for a refused file or
// a visit that refused.
bool VisitImages(Span file, const ImageVisitor& visitor) {
  if (!file.data || file.size > kLargestFile) return false;
  const bool riff = file.Has(0, 4) && file.TagAt(0, "RIFF");
  return riff ? CheckAnimated(file, nullptr, &visitor) : CheckStatic(file, nullptr, &visitor);
}

bool RefusePng(void*, Span, Span image, FileType) { return !image.StartsWith(kPngSignature, 8); }

// Swaps pixels x and width - 1 - x of one row of `bitCount` bits per pixel, for every x.
void MirrorRow(uint8_t* row, int32_t width, uint32_t bitCount) {
  if (bitCount >= 8) {
    const size_t bytes = bitCount / 8;
    for (int32_t x = 0, y = width - 1; x < y; ++x, --y) {
      for (size_t b = 0; b < bytes; ++b) {
        const uint8_t kept = row[x * bytes + b];
        row[x * bytes + b] = row[y * bytes + b];
        row[y * bytes + b] = kept;
      }
    }
    return;
  }
  // 1 or 4 bits: the leftmost pixel in a byte's high bits.
  const uint32_t perByte = 8 / bitCount, valueMask = (1u << bitCount) - 1;
  const auto shift = [&](int32_t x) { return static_cast<uint32_t>((perByte - 1 - x % perByte) * bitCount); };
  const auto get = [&](int32_t x) { return (row[x / perByte] >> shift(x)) & valueMask; };
  const auto set = [&](int32_t x, uint32_t v) {
    uint8_t& byte = row[x / perByte];
    byte = static_cast<uint8_t>((byte & ~(valueMask << shift(x))) | (v << shift(x)));
  };
  for (int32_t x = 0, y = width - 1; x < y; ++x, --y) {
    const uint32_t kept = get(x);
    set(x, get(y));
    set(y, kept);
  }
}

struct MirrorTarget {
  const uint8_t* base;  // the bytes as the check reads them
  uint8_t* writable;    // the same bytes, to write
  uint8_t* At(Span span) const { return writable + (span.data - base); }
};

bool MirrorOneImage(void* context, Span entry, Span image, FileType type) {
  const MirrorTarget& target = *static_cast<const MirrorTarget*>(context);
  DibLayout layout;
  if (!ReadDibLayout(image, &layout)) return false;
  uint8_t* bytes = target.At(image);
  for (int32_t row = 0; row < layout.rows; ++row) {
    MirrorRow(bytes + layout.colourAt + row * layout.colourStride, layout.width, layout.bitCount);
    MirrorRow(bytes + layout.maskAt + row * layout.maskStride, layout.width, 1);
  }
  // A cursor's hotspot stays on its pixel; a column beyond the image counts as the last.
  if (type == FileType::Cursor) {
    const uint32_t x = entry.U16(4);
    const uint32_t last = static_cast<uint32_t>(layout.width - 1);
    Store16(target.At(entry) + 4, last - (x < last ? x : last));
  }
  return true;
}

}  // namespace

bool MirrorCursorFile(uint8_t* data, size_t size) {
  const Span file{data, size};
  // Everything is checked before a byte is written: a refused file, or one holding a PNG image,
  // is left as it was.
  if (!VisitImages(file, ImageVisitor{&RefusePng, nullptr})) return false;
  MirrorTarget target{data, data};
  return VisitImages(file, ImageVisitor{&MirrorOneImage, &target});
}

void Store16(uint8_t* at, uint32_t v) {
  at[0] = static_cast<uint8_t>(v);
  at[1] = static_cast<uint8_t>(v >> 8);
}

void Store32(uint8_t* at, uint32_t v) {
  Store16(at, v & 0xFFFF);
  Store16(at + 2, v >> 16);
}

namespace {

// Writes little-endian fields into a buffer already sized for them.
class Writer {
 public:
  explicit Writer(uint8_t* out) : out_(out) {}
  void U8(uint32_t v) { *out_++ = static_cast<uint8_t>(v); }
  void U16(uint32_t v) {
    Store16(out_, v);
    out_ += 2;
  }
  void U32(uint32_t v) {
    Store32(out_, v);
    out_ += 4;
  }
  // Rows from the bottom up, each padded to whole 32-bit words, as a DIB holds them; `value`
  // gives the pixel at (x, y).
  template <typename Value>
  void Rows(int width, int height, int bitsPerPixel, Value value) {
    const size_t stride = static_cast<size_t>(DibStride(static_cast<uint64_t>(width), static_cast<uint64_t>(bitsPerPixel)));
    for (int y = height - 1; y >= 0; --y) {
      uint8_t* row = out_;
      std::memset(row, 0, stride);
      for (int x = 0; x < width; ++x) {
        const uint32_t v = value(static_cast<size_t>(y) * width + x);
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
      out_ += stride;
    }
  }

 private:
  uint8_t* out_;
};

}  // namespace

namespace {

uint32_t ImageSize(const ImageView& image) {
  return static_cast<uint32_t>(40 + 4 * image.paletteSize + DibStride(image.width, image.bitsPerPixel) * image.height +
                               DibStride(image.width, 1) * image.height);
}

// Header with the doubled height, palette, colour (XOR) rows, AND rows.
void WriteImage(const ImageView& image, Writer& out) {
  const int w = image.width, h = image.height;
  const uint32_t xorSize = static_cast<uint32_t>(DibStride(w, image.bitsPerPixel) * h);
  const uint32_t andSize = static_cast<uint32_t>(DibStride(w, 1) * h);
  out.U32(40);
  out.U32(static_cast<uint32_t>(w));
  out.U32(static_cast<uint32_t>(2 * h));
  out.U16(1);
  out.U16(static_cast<uint32_t>(image.bitsPerPixel));
  out.U32(0);  // uncompressed
  out.U32(xorSize + andSize);
  out.U32(2835);  // 72 dots per inch
  out.U32(2835);
  out.U32(static_cast<uint32_t>(image.paletteSize));
  out.U32(0);
  for (size_t i = 0; i < image.paletteSize; ++i) out.U32(image.palette[i] & 0x00FFFFFF);
  out.Rows(w, h, image.bitsPerPixel, [&](size_t at) { return image.colour[at]; });
  out.Rows(w, h, 1, [&](size_t at) { return static_cast<uint32_t>(image.andMask[at]); });
}

}  // namespace

size_t StaticFileSize(const ImageView* images, size_t count) {
  size_t size = kDirectoryHeader + kDirectoryEntry * count;
  for (size_t i = 0; i < count; ++i) size += ImageSize(images[i]);
  return size;
}

void WriteStaticFile(FileType type, const ImageView* images, size_t count, uint8_t* file) {
  Writer out(file);
  out.U16(0);
  out.U16(static_cast<uint32_t>(type));
  out.U16(static_cast<uint32_t>(count));
  uint32_t offset = static_cast<uint32_t>(kDirectoryHeader + kDirectoryEntry * count);
  for (size_t i = 0; i < count; ++i) {
    const ImageView& image = images[i];
    out.U8(image.width >= 256 ? 0 : image.width);
    out.U8(image.height >= 256 ? 0 : image.height);
    out.U8(image.paletteSize < 256 ? image.paletteSize : 0);
    out.U8(0);
    out.U16(image.field1);
    out.U16(image.field2);
    out.U32(ImageSize(image));
    out.U32(offset);
    offset += ImageSize(image);
  }
  for (size_t i = 0; i < count; ++i) WriteImage(images[i], out);
}

}  // namespace cursor_file
