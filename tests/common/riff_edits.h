// Edits of animated cursor files for the reader's tests, native and under Wine: short chunks
// placed before, inside and after the frame list, with the lengths of their parents grown.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace riff_edits {

using Bytes = std::vector<uint8_t>;

inline uint32_t Read32(const Bytes& file, size_t at) {
  return static_cast<uint32_t>(file[at] | file[at + 1] << 8 | file[at + 2] << 16) | static_cast<uint32_t>(file[at + 3]) << 24;
}

inline void Write32(Bytes& file, size_t at, uint32_t value) {
  for (int i = 0; i < 4; ++i) file[at + i] = static_cast<uint8_t>(value >> (8 * i));
}

// Offset of the first `tag` at or after `from`; the file's size when there is none.
inline size_t FindTag(const Bytes& file, const char* tag, size_t from = 0) {
  for (size_t at = from; at + 4 <= file.size(); ++at) {
    if (std::memcmp(file.data() + at, tag, 4) == 0) return at;
  }
  return file.size();
}

// A chunk of `length` (0 to 3) bytes: the first bytes of `fill`, padded to an even length with
// the next one.
inline Bytes ShortChunk(const char* tag, size_t length, const char* fill) {
  Bytes chunk(tag, tag + 4);
  chunk.resize(8);
  Write32(chunk, 4, static_cast<uint32_t>(length));
  chunk.insert(chunk.end(), fill, fill + length);
  if (length % 2) chunk.push_back(static_cast<uint8_t>(fill[length]));
  return chunk;
}

// `chunk` inserted at `at`, the RIFF grown and, when `list` is not 0, the list there too.
inline Bytes Inserted(Bytes file, size_t at, const Bytes& chunk, size_t list = 0) {
  file.insert(file.begin() + static_cast<long>(at), chunk.begin(), chunk.end());
  if (list) Write32(file, list + 4, Read32(file, list + 4) + static_cast<uint32_t>(chunk.size()));
  Write32(file, 4, static_cast<uint32_t>(file.size() - 8));
  return file;
}

// One short chunk placed around the frame list of a good animation, and whether a loader
// takes the result: a short "icon" inside the list is a damaged frame, anything else is skipped.
struct ShortChunkFile {
  std::string name;
  Bytes file;
  bool acceptable;
};

// Every tag of "LIST", "icon" and "fram", every length from 0 to 3, in four places: before the
// frame list, first and last inside it, after it. Among them the file that once crashed the
// utility: a "LIST" of three bytes "fra" padded with "m" before the real list.
inline std::vector<ShortChunkFile> ShortChunkFiles(const Bytes& good) {
  const size_t list = FindTag(good, "fram") - 8;
  const size_t listEnd = list + 8 + Read32(good, list + 4);
  std::vector<ShortChunkFile> files;
  for (const char* tag : {"LIST", "icon", "fram"}) {
    for (size_t length = 0; length <= 3; ++length) {
      const Bytes chunk = ShortChunk(tag, length, "fram");
      const bool frame = std::strcmp(tag, "icon") == 0;
      const std::string name = std::string(tag) + " " + std::to_string(length);
      files.push_back({name + " before", Inserted(good, list, chunk), true});
      files.push_back({name + " first inside", Inserted(good, list + 12, chunk, list), !frame});
      files.push_back({name + " last inside", Inserted(good, listEnd, chunk, list), !frame});
      files.push_back({name + " after", Inserted(good, listEnd, chunk), true});
    }
  }
  return files;
}

}  // namespace riff_edits
