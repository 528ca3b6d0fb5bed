#include "platform/zip_reader.h"

#include <cstring>

#include "platform/checked_reads.h"
#include "platform/inflate.h"
#include "platform/text_encoding.h"

namespace zip {
namespace {

constexpr uint32_t kLocalSignature = 0x04034B50;
constexpr uint32_t kCentralSignature = 0x02014B50;
constexpr uint32_t kEndSignature = 0x06054B50;
constexpr uint32_t kZip64LocatorSignature = 0x07064B50;
constexpr size_t kLocalHeader = 30;
constexpr size_t kCentralHeader = 46;
constexpr size_t kEndRecord = 22;
constexpr size_t kZip64Locator = 20;
constexpr size_t kLongestComment = 0xFFFF;

constexpr uint16_t kFlagEncrypted = 1 << 0;
constexpr uint16_t kFlagDescriptor = 1 << 3;  // sizes and CRC follow the data, not in the local header
constexpr uint16_t kFlagStrongEncryption = 1 << 6;
constexpr uint16_t kFlagUtf8 = 1 << 11;
constexpr uint16_t kStored = 0;
constexpr uint16_t kDeflated = 8;
constexpr uint16_t kAesEncrypted = 99;
constexpr uint16_t kZip64Extra = 0x0001;
constexpr uint32_t kEscape32 = 0xFFFFFFFF;  // a 32-bit field whose value is in the ZIP64 record
constexpr uint16_t kEscape16 = 0xFFFF;

// The end record: the last signature whose comment reaches exactly to the end of the archive.
bool FindEnd(Span archive, size_t* at) {
  if (archive.size < kEndRecord) return false;
  const size_t last = archive.size - kEndRecord;
  const size_t first = last > kLongestComment ? last - kLongestComment : 0;
  for (size_t candidate = last + 1; candidate-- > first;) {
    if (archive.U32(candidate) == kEndSignature && archive.U16(candidate + 20) == last - candidate) {
      *at = candidate;
      return true;
    }
  }
  return false;
}

// Whether the extra fields hold a ZIP64 record.
bool HasZip64Extra(Span extra) {
  for (size_t at = 0; extra.Has(at, 4);) {
    if (extra.U16(at) == kZip64Extra) return true;
    at += 4 + size_t{extra.U16(at + 2)};
  }
  return false;
}

// The name's bytes as UTF-8 with '/' between folders: as they stand when the UTF-8 flag is
// set (and they are well-formed), else read as code page 437.
Problem ConvertName(const uint8_t* bytes, size_t length, bool utf8, char (&path)[kPathSize]) {
  if (length == 0 || (utf8 && !text::IsUtf8(bytes, length))) return Problem::Damaged;
  size_t out = 0;
  for (size_t at = 0; at < length; ++at) {
    if (bytes[at] == 0) return Problem::Damaged;
    char encoded[4];
    size_t count = 1;
    encoded[0] = static_cast<char>(bytes[at]);
    if (!utf8 && bytes[at] >= 0x80) count = text::EncodeUtf8(text::Cp437CodePoint(bytes[at]), encoded);
    if (count >= kPathSize - out) return Problem::LongName;
    for (size_t i = 0; i < count; ++i) path[out++] = encoded[i] == '\\' ? '/' : encoded[i];
  }
  path[out] = '\0';
  return Problem::None;
}

// Where a file's bytes lie, from its local header to the end of its packed data.
struct Extent {
  size_t begin;
  size_t end;
};

bool Overlapping(Extent* extents, size_t count) {
  for (size_t i = 1; i < count; ++i) {  // insertion sort by start: at most kMostFiles
    for (size_t j = i; j > 0 && extents[j].begin < extents[j - 1].begin; --j) {
      const Extent swap = extents[j];
      extents[j] = extents[j - 1];
      extents[j - 1] = swap;
    }
  }
  for (size_t i = 1; i < count; ++i) {
    if (extents[i].begin < extents[i - 1].end) return true;
  }
  return false;
}

// Checks the local header of a file that the directory puts at `offset` against the fields the
// directory gave, and finds where its packed data lies; both lie before the directory, which
// starts at `directoryAt`.
Problem CheckLocal(Span whole, size_t directoryAt, Span central, size_t offset, Entry* entry, Extent* extent) {
  const Span archive{whole.data, directoryAt};
  if (!archive.Has(offset, kLocalHeader) || archive.U32(offset) != kLocalSignature) return Problem::Damaged;
  const uint16_t flags = archive.U16(offset + 6);
  const uint16_t nameLength = archive.U16(offset + 26);
  const uint16_t extraLength = archive.U16(offset + 28);
  if ((flags & kFlagEncrypted) != (central.U16(8) & kFlagEncrypted)) return Problem::Encrypted;
  if (archive.U16(offset + 8) != entry->method) return Problem::SizesDisagree;
  const uint16_t centralNameLength = central.U16(28);
  if (nameLength != centralNameLength || !archive.Has(offset + kLocalHeader, nameLength) ||
      std::memcmp(archive.data + offset + kLocalHeader, central.data + kCentralHeader, nameLength) != 0) {
    return Problem::Damaged;
  }
  if ((flags & kFlagDescriptor) == 0 && (archive.U32(offset + 14) != entry->crc ||
                                          archive.U32(offset + 18) != entry->packedSize ||
                                          archive.U32(offset + 22) != entry->size)) {
    return Problem::SizesDisagree;
  }
  const size_t dataAt = offset + kLocalHeader + nameLength + extraLength;  // no wrap: offset is inside the archive
  if (!archive.Has(dataAt, entry->packedSize)) return Problem::Damaged;
  entry->packed = archive.data + dataAt;
  *extent = {offset, dataAt + entry->packedSize};
  return Problem::None;
}

// One directory entry at `at` (inside `directory`): listed in `archive` when it is a file. Its
// length in the directory goes to `length`.
Problem ReadCentral(Span whole, size_t directoryAt, Span directory, size_t at, Archive* archive,
                    Extent* extents, size_t* length) {
  if (!directory.Has(at, kCentralHeader) || directory.U32(at) != kCentralSignature) return Problem::Damaged;
  const Span central{directory.data + at, directory.size - at};
  const uint16_t flags = central.U16(8);
  const uint16_t method = central.U16(10);
  const uint32_t packedSize = central.U32(20);
  const uint32_t size = central.U32(24);
  const uint16_t nameLength = central.U16(28);
  const uint16_t extraLength = central.U16(30);
  const uint16_t commentLength = central.U16(32);
  const uint16_t disk = central.U16(34);
  const uint32_t offset = central.U32(42);
  *length = kCentralHeader + nameLength + extraLength + commentLength;
  if (!central.Has(0, *length)) return Problem::Damaged;

  if ((flags & (kFlagEncrypted | kFlagStrongEncryption)) || method == kAesEncrypted) return Problem::Encrypted;
  if (packedSize == kEscape32 || size == kEscape32 || offset == kEscape32 || disk == kEscape16 ||
      HasZip64Extra({central.data + kCentralHeader + nameLength, extraLength})) {
    return Problem::Zip64;
  }
  if (disk != 0) return Problem::Spanned;

  char path[kPathSize];
  const Problem name = ConvertName(central.data + kCentralHeader, nameLength, (flags & kFlagUtf8) != 0, path);
  if (name != Problem::None) return name;
  if (path[std::strlen(path) - 1] == '/') return Problem::None;  // a folder: nothing to unpack

  if (method != kStored && method != kDeflated) return Problem::Method;
  if (method == kStored && packedSize != size) return Problem::SizesDisagree;
  if (archive->count == kMostFiles) return Problem::TooManyFiles;
  archive->totalSize += size;
  if (archive->totalSize > kMostBytes) return Problem::TooLarge;

  Entry& entry = archive->entries[archive->count];
  entry.method = method;
  entry.crc = central.U32(16);
  entry.size = size;
  entry.packedSize = packedSize;
  const Problem local = CheckLocal(whole, directoryAt, central, offset, &entry, &extents[archive->count]);
  if (local != Problem::None) return local;
  std::memcpy(entry.path, path, sizeof path);
  ++archive->count;
  return Problem::None;
}

Problem Walk(Span whole, Archive* archive) {
  if (whole.size > kMostBytes) return Problem::TooLarge;
  size_t end = 0;
  if (!FindEnd(whole, &end)) return Problem::NotZip;
  if (end >= kZip64Locator && whole.U32(end - kZip64Locator) == kZip64LocatorSignature) return Problem::Zip64;
  const uint16_t thisDisk = whole.U16(end + 4);
  const uint16_t directoryDisk = whole.U16(end + 6);
  const uint16_t entriesHere = whole.U16(end + 8);
  const uint16_t entries = whole.U16(end + 10);
  const uint32_t directorySize = whole.U32(end + 12);
  const uint32_t directoryAt = whole.U32(end + 16);
  if (entries == kEscape16 || entriesHere == kEscape16 || directorySize == kEscape32 || directoryAt == kEscape32) {
    return Problem::Zip64;
  }
  if (thisDisk != 0 || directoryDisk != 0 || entriesHere != entries) return Problem::Spanned;
  if (directoryAt > end || directorySize > end - directoryAt) return Problem::Damaged;

  const Span directory{whole.data + directoryAt, directorySize};
  Extent extents[kMostFiles];
  size_t at = 0;
  for (uint32_t i = 0; i < entries; ++i) {
    size_t length = 0;
    const Problem problem = ReadCentral(whole, directoryAt, directory, at, archive, extents, &length);
    if (problem != Problem::None) return problem;
    at += length;
  }
  return Overlapping(extents, archive->count) ? Problem::Overlap : Problem::None;
}

uint32_t Crc32(const uint8_t* data, size_t size) {
  uint32_t table[256];
  for (uint32_t n = 0; n < 256; ++n) {
    uint32_t c = n;
    for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
    table[n] = c;
  }
  uint32_t crc = 0xFFFFFFFFu;
  for (size_t i = 0; i < size; ++i) crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
  return crc ^ 0xFFFFFFFFu;
}

}  // namespace

Problem OpenZip(const uint8_t* data, size_t size, Archive* archive) {
  archive->count = 0;
  archive->totalSize = 0;
  const Problem problem = data ? Walk({data, size}, archive) : Problem::NotZip;
  if (problem != Problem::None) {
    archive->count = 0;
    archive->totalSize = 0;
  }
  return problem;
}

Problem Unpack(const Entry& entry, uint8_t* out) {
  if (entry.method == kStored) {
    if (entry.packedSize != entry.size) return Problem::SizesDisagree;
    if (entry.size) std::memcpy(out, entry.packed, entry.size);
  } else {
    size_t written = 0;
    const raw_deflate::Result result = raw_deflate::Inflate(entry.packed, entry.packedSize, out, entry.size, &written);
    if (result == raw_deflate::Result::Damaged) return Problem::Damaged;
    if (result == raw_deflate::Result::TooLong || written != entry.size) return Problem::SizesDisagree;
  }
  return Crc32(out, entry.size) == entry.crc ? Problem::None : Problem::CrcMismatch;
}

}  // namespace zip
