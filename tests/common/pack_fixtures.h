// What the cursor-pack tests share: small good cursor files, text in the encodings packs come
// in, a pack held in memory that records what was read of it, and the place the tests leave
// their inputs for the fuzzers to start from.
#pragma once
#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "platform/cursor_file.h"
#include "utility/cursor/pack_listing.h"

namespace pack_fixtures {

using Bytes = std::vector<uint8_t>;

// A good 16 x 16 monochrome cursor whose pattern depends on `seed`, so files differ.
inline Bytes SmallCursor(uint32_t seed = 1) {
  const uint32_t palette[2] = {0x000000, 0xFFFFFF};
  uint32_t colour[256];
  uint8_t mask[256];
  for (uint32_t i = 0; i < 256; ++i) {
    colour[i] = ((i * (seed + 1)) >> 3) & 1;
    mask[i] = (i + seed) % 7 == 0;
  }
  cursor_file::ImageView image;
  image.width = image.height = 16;
  image.bitsPerPixel = 1;
  image.palette = palette;
  image.paletteSize = 2;
  image.colour = colour;
  image.andMask = mask;
  image.field1 = 1;
  image.field2 = 1;
  Bytes file(cursor_file::StaticFileSize(&image, 1));
  cursor_file::WriteStaticFile(cursor_file::FileType::Cursor, &image, 1, file.data());
  return file;
}

inline Bytes FromText(const std::string& text) { return Bytes(text.begin(), text.end()); }

// UTF-8 text as UTF-16 with a byte-order mark (little- or big-endian).
inline Bytes Utf16(const std::string& utf8, bool bigEndian = false) {
  Bytes out;
  auto unit = [&](uint32_t u) {
    const uint8_t high = static_cast<uint8_t>(u >> 8), low = static_cast<uint8_t>(u);
    out.push_back(bigEndian ? high : low);
    out.push_back(bigEndian ? low : high);
  };
  unit(0xFEFF);
  for (size_t i = 0; i < utf8.size();) {
    const uint8_t lead = static_cast<uint8_t>(utf8[i]);
    const size_t count = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    uint32_t c = count == 1 ? lead : lead & (0x3F >> (count - 1));
    for (size_t k = 1; k < count; ++k) c = c << 6 | (static_cast<uint8_t>(utf8[i + k]) & 0x3F);
    i += count;
    if (c >= 0x10000) {
      unit(0xD800 + ((c - 0x10000) >> 10));
      unit(0xDC00 + ((c - 0x10000) & 0x3FF));
    } else {
      unit(c);
    }
  }
  return out;
}

// A pack held in memory: its files by path, the order they were added in, and every read.
class MemoryPack : public PackReader {
 public:
  void Add(const std::string& path, const Bytes& bytes) { files_.emplace_back(path, bytes); }
  void List(PackListing* listing) const {
    listing->Clear();
    for (const auto& file : files_) listing->Add(file.first.c_str(), file.second.size());
  }
  bool Read(size_t index, uint8_t* out) override {
    reads.push_back(index);
    if (index >= files_.size()) return false;
    if (!files_[index].second.empty()) std::memcpy(out, files_[index].second.data(), files_[index].second.size());
    return true;
  }
  const std::string& path(size_t index) const { return files_[index].first; }
  std::vector<size_t> reads;

 private:
  std::vector<std::pair<std::string, Bytes>> files_;
};

// The tests' inputs go where the fuzzer of `target` takes its seeds from (POINTREL_PACK_SEEDS,
// set by CTest), one file each; large ones would only slow it down.
inline void WriteSeed(const char* target, const std::string& name, const Bytes& bytes) {
  const char* seeds = std::getenv("POINTREL_PACK_SEEDS");
  if (!seeds || !*seeds || bytes.size() > (1u << 18)) return;
  const std::filesystem::path folder = std::filesystem::path(seeds) / target;
  std::filesystem::create_directories(folder);
  std::string file;
  for (char c : name) file += (std::isalnum(static_cast<unsigned char>(c)) ? c : '_');
  std::ofstream(folder / file, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                       static_cast<std::streamsize>(bytes.size()));
}

}  // namespace pack_fixtures
