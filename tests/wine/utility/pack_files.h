// Cursor packs as people download them, written by the tests: text in UTF-16 with its mark,
// and .zip archives whose files are deflated (fixed Huffman codes, literals only: a stream any
// inflater takes) with their CRC-32, laid out as the format's application note says.
#pragma once
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace pack_files {

using Bytes = std::vector<uint8_t>;

inline Bytes FromText(const std::string& text) { return Bytes(text.begin(), text.end()); }

// ASCII text as UTF-16 little-endian with its byte-order mark.
inline Bytes Utf16(const std::string& ascii) {
  Bytes out = {0xFF, 0xFE};
  for (char c : ascii) {
    out.push_back(static_cast<uint8_t>(c));
    out.push_back(0);
  }
  return out;
}

inline uint32_t Crc32(const Bytes& data) {
  uint32_t crc = 0xFFFFFFFFu;
  for (uint8_t byte : data) {
    crc ^= byte;
    for (int bit = 0; bit < 8; ++bit) crc = crc & 1 ? (crc >> 1) ^ 0xEDB88320u : crc >> 1;
  }
  return ~crc;
}

// One final block of fixed Huffman codes holding every byte as a literal.
inline Bytes Deflate(const Bytes& data) {
  Bytes out;
  uint32_t buffer = 0;
  int count = 0;
  auto bits = [&](uint32_t value, int length) {  // low bit first
    buffer |= value << count;
    count += length;
    while (count >= 8) {
      out.push_back(static_cast<uint8_t>(buffer));
      buffer >>= 8;
      count -= 8;
    }
  };
  auto code = [&](uint32_t value, int length) {  // Huffman codes go highest bit first
    for (int i = length - 1; i >= 0; --i) bits((value >> i) & 1, 1);
  };
  bits(1, 1);  // the final block
  bits(1, 2);  // fixed codes
  for (uint8_t byte : data) {
    if (byte < 144) {
      code(0x30 + byte, 8);
    } else {
      code(0x190 + (byte - 144), 9);
    }
  }
  code(0, 7);  // end of block
  if (count > 0) out.push_back(static_cast<uint8_t>(buffer));
  return out;
}

inline void Put16(Bytes& out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}
inline void Put32(Bytes& out, uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

// An archive of the files (name, unpacked bytes), each deflated.
inline Bytes Zip(const std::vector<std::pair<std::string, Bytes>>& files) {
  Bytes out, directory;
  for (const auto& file : files) {
    const Bytes packed = Deflate(file.second);
    const uint32_t crc = Crc32(file.second), offset = static_cast<uint32_t>(out.size());
    const uint32_t nameLength = static_cast<uint32_t>(file.first.size());
    Put32(out, 0x04034B50);
    Put16(out, 20), Put16(out, 0), Put16(out, 8), Put16(out, 0), Put16(out, 0x21);
    Put32(out, crc), Put32(out, static_cast<uint32_t>(packed.size())), Put32(out, static_cast<uint32_t>(file.second.size()));
    Put16(out, nameLength), Put16(out, 0);
    out.insert(out.end(), file.first.begin(), file.first.end());
    out.insert(out.end(), packed.begin(), packed.end());
    Put32(directory, 0x02014B50);
    Put16(directory, 20), Put16(directory, 20), Put16(directory, 0), Put16(directory, 8), Put16(directory, 0),
        Put16(directory, 0x21);
    Put32(directory, crc), Put32(directory, static_cast<uint32_t>(packed.size())),
        Put32(directory, static_cast<uint32_t>(file.second.size()));
    Put16(directory, nameLength), Put16(directory, 0), Put16(directory, 0), Put16(directory, 0), Put16(directory, 0);
    Put32(directory, 0), Put32(directory, offset);
    directory.insert(directory.end(), file.first.begin(), file.first.end());
  }
  const uint32_t directoryOffset = static_cast<uint32_t>(out.size());
  out.insert(out.end(), directory.begin(), directory.end());
  Put32(out, 0x06054B50);
  Put16(out, 0), Put16(out, 0), Put16(out, static_cast<uint32_t>(files.size())), Put16(out, static_cast<uint32_t>(files.size()));
  Put32(out, static_cast<uint32_t>(directory.size())), Put32(out, directoryOffset), Put16(out, 0);
  return out;
}

}  // namespace pack_files
