// A .zip archive held in memory, read without any platform call: its end record (with or
// without a comment), the central directory, each file's local header checked against its
// directory entry, and stored or deflated files unpacked with their CRC-32 checked. Nothing of
// an archive is trusted: OpenZip checks every header and records where it found each file's
// bytes, and Unpack reads only through that record.
#pragma once
#include <cstddef>
#include <cstdint>

namespace zip {

// The limits of a pack: more files, or more bytes in all once unpacked, are refused before
// anything is unpacked. The archive itself is refused above the same size.
constexpr size_t kMostFiles = 64;
constexpr uint64_t kMostBytes = 20u * 1024 * 1024;
// A path inside the archive, in UTF-8 with its terminator; longer ones are refused.
constexpr size_t kPathSize = 512;

enum class Problem : uint8_t {
  None,
  NotZip,          // no end record
  Damaged,         // a header or an offset that does not hold, a name that is no text, a damaged deflate stream
  Zip64,           // the 64-bit extensions (archives beyond 4 GB or 65,535 entries)
  Spanned,         // parts on several disks
  Encrypted,
  Method,          // packed other than stored or deflated
  SizesDisagree,   // the headers disagree, or the unpacked size is not the one declared
  Overlap,         // two files share bytes
  TooManyFiles,    // more than kMostFiles
  TooLarge,        // more than kMostBytes unpacked in all, or an archive larger than that
  LongName,        // a path of kPathSize bytes or more
  CrcMismatch,     // unpacked bytes that are not the ones packed
};

// One file of the archive, as the checking walk found it. Folders are not listed.
struct Entry {
  char path[kPathSize];      // UTF-8, folders separated by '/' (an archive's '\' is read as '/')
  uint16_t method = 0;       // 0 stored, 8 deflated
  uint32_t crc = 0;
  uint32_t size = 0;         // unpacked
  const uint8_t* packed = nullptr;  // the packed bytes, inside the archive
  uint32_t packedSize = 0;
};

struct Archive {
  size_t count = 0;
  Entry entries[kMostFiles];
  uint64_t totalSize = 0;  // unpacked, of all files
};

// Checks the archive of `size` bytes at `data` and lists its files in directory order into
// `archive` (emptied first; left empty when refused). The bytes must outlive the record.
Problem OpenZip(const uint8_t* data, size_t size, Archive* archive);

// Unpacks `entry` of an open archive into `out`, which holds entry.size bytes; never writes
// past them. Damaged, SizesDisagree or CrcMismatch when the bytes are not what the headers say.
Problem Unpack(const Entry& entry, uint8_t* out);

}  // namespace zip
