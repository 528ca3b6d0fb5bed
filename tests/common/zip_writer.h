// Zip archives for the tests, written as the format's application note lays them out: each
// file's local header and data, the central directory, the end record. Files are stored or
// deflated with zlib (raw deflate, any level and strategy). Damaged archives are good ones with
// a field patched: the layout says where each header starts.
#pragma once
#include <zlib.h>

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace zip_writer {

using Bytes = std::vector<uint8_t>;

inline void Put16(Bytes& out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}
inline void Put32(Bytes& out, uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}
inline void Patch16(Bytes& out, size_t at, uint32_t v) {
  out.at(at) = static_cast<uint8_t>(v);
  out.at(at + 1) = static_cast<uint8_t>(v >> 8);
}
inline void Patch32(Bytes& out, size_t at, uint32_t v) {
  Patch16(out, at, v & 0xFFFF);
  Patch16(out, at + 2, v >> 16);
}

inline Bytes FromText(const std::string& text) { return Bytes(text.begin(), text.end()); }

// A raw deflate stream of `data` (no zlib header), at `level` with `strategy`.
inline Bytes Deflate(const Bytes& data, int level = Z_DEFAULT_COMPRESSION, int strategy = Z_DEFAULT_STRATEGY) {
  z_stream stream{};
  if (deflateInit2(&stream, level, Z_DEFLATED, -15, 8, strategy) != Z_OK) throw std::runtime_error("deflateInit2");
  Bytes out(deflateBound(&stream, static_cast<uLong>(data.size())) + 16);
  stream.next_in = const_cast<Bytef*>(data.data());
  stream.avail_in = static_cast<uInt>(data.size());
  stream.next_out = out.data();
  stream.avail_out = static_cast<uInt>(out.size());
  const int result = deflate(&stream, Z_FINISH);
  deflateEnd(&stream);
  if (result != Z_STREAM_END) throw std::runtime_error("deflate");
  out.resize(stream.total_out);
  return out;
}

inline uint32_t Crc(const Bytes& data) {
  return static_cast<uint32_t>(crc32(0, data.data(), static_cast<uInt>(data.size())));
}

struct Member {
  std::string name;  // stored as these bytes; a name ending in '/' is a folder
  Bytes data;        // unpacked
  uint16_t method = 8;
  uint16_t flags = 0;           // general purpose flags; bit 11 says the name is UTF-8
  bool descriptor = false;      // sizes and CRC after the data, zeros in the local header
  Bytes extra;                  // extra fields, in both headers
  int level = Z_DEFAULT_COMPRESSION;
  int strategy = Z_DEFAULT_STRATEGY;
};

inline Member File(const std::string& name, const Bytes& data, uint16_t method = 8) {
  Member member;
  member.name = name;
  member.data = data;
  member.method = method;
  return member;
}

struct Layout {
  Bytes bytes;
  std::vector<size_t> local;    // where each member's local header starts
  std::vector<size_t> central;  // where each member's directory entry starts
  size_t directory = 0;
  size_t end = 0;               // the end record
};

// Offsets of fields, from the start of a local header, a directory entry, the end record.
namespace local {
constexpr size_t kFlags = 6, kMethod = 8, kCrc = 14, kPacked = 18, kSize = 22, kNameLength = 26;
}
namespace central {
constexpr size_t kFlags = 8, kMethod = 10, kCrc = 16, kPacked = 20, kSize = 24, kNameLength = 28, kExtraLength = 30,
                 kDisk = 34, kOffset = 42;
}
namespace end {
constexpr size_t kThisDisk = 4, kDirectoryDisk = 6, kEntriesHere = 8, kEntries = 10, kDirectorySize = 12,
                 kDirectoryAt = 16, kCommentLength = 20;
}

inline Layout Write(const std::vector<Member>& members, const std::string& comment = "") {
  Layout layout;
  Bytes& out = layout.bytes;
  std::vector<Bytes> packed;
  for (const Member& m : members) {
    const bool folder = !m.name.empty() && m.name.back() == '/';
    packed.push_back(folder || m.method == 0 ? m.data : m.method == 8 ? Deflate(m.data, m.level, m.strategy) : m.data);
  }
  for (size_t i = 0; i < members.size(); ++i) {
    const Member& m = members[i];
    const uint16_t flags = static_cast<uint16_t>(m.flags | (m.descriptor ? 8 : 0));
    layout.local.push_back(out.size());
    Put32(out, 0x04034B50);
    Put16(out, 20);
    Put16(out, flags);
    Put16(out, m.method);
    Put16(out, 0);
    Put16(out, 0x21);
    Put32(out, m.descriptor ? 0 : Crc(m.data));
    Put32(out, m.descriptor ? 0 : static_cast<uint32_t>(packed[i].size()));
    Put32(out, m.descriptor ? 0 : static_cast<uint32_t>(m.data.size()));
    Put16(out, static_cast<uint32_t>(m.name.size()));
    Put16(out, static_cast<uint32_t>(m.extra.size()));
    out.insert(out.end(), m.name.begin(), m.name.end());
    out.insert(out.end(), m.extra.begin(), m.extra.end());
    out.insert(out.end(), packed[i].begin(), packed[i].end());
    if (m.descriptor) {
      Put32(out, 0x08074B50);
      Put32(out, Crc(m.data));
      Put32(out, static_cast<uint32_t>(packed[i].size()));
      Put32(out, static_cast<uint32_t>(m.data.size()));
    }
  }
  layout.directory = out.size();
  for (size_t i = 0; i < members.size(); ++i) {
    const Member& m = members[i];
    layout.central.push_back(out.size());
    Put32(out, 0x02014B50);
    Put16(out, 20);
    Put16(out, 20);
    Put16(out, static_cast<uint32_t>(m.flags | (m.descriptor ? 8 : 0)));
    Put16(out, m.method);
    Put16(out, 0);
    Put16(out, 0x21);
    Put32(out, Crc(m.data));
    Put32(out, static_cast<uint32_t>(packed[i].size()));
    Put32(out, static_cast<uint32_t>(m.data.size()));
    Put16(out, static_cast<uint32_t>(m.name.size()));
    Put16(out, static_cast<uint32_t>(m.extra.size()));
    Put16(out, 0);
    Put16(out, 0);
    Put16(out, 0);
    Put32(out, 0);
    Put32(out, static_cast<uint32_t>(layout.local[i]));
    out.insert(out.end(), m.name.begin(), m.name.end());
    out.insert(out.end(), m.extra.begin(), m.extra.end());
  }
  layout.end = out.size();
  Put32(out, 0x06054B50);
  Put16(out, 0);
  Put16(out, 0);
  Put16(out, static_cast<uint32_t>(members.size()));
  Put16(out, static_cast<uint32_t>(members.size()));
  Put32(out, static_cast<uint32_t>(layout.end - layout.directory));
  Put32(out, static_cast<uint32_t>(layout.directory));
  Put16(out, static_cast<uint32_t>(comment.size()));
  out.insert(out.end(), comment.begin(), comment.end());
  return layout;
}

}  // namespace zip_writer
