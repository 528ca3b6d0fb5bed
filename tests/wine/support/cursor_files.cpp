#include "tests/wine/support/cursor_files.h"

#include <cstdio>
#include <cstring>

namespace wine_test {
namespace {

constexpr int kSize = 32;

void Append32(std::vector<uint8_t>& out, uint32_t value) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

void AppendChunk(std::vector<uint8_t>& out, const char* fourcc, const std::vector<uint8_t>& data) {
  out.insert(out.end(), fourcc, fourcc + 4);
  Append32(out, static_cast<uint32_t>(data.size()));
  out.insert(out.end(), data.begin(), data.end());
  if (data.size() % 2) out.push_back(0);
}

// 0 transparent, 1 black edge, 2 inside, 3 inverting.
int Shape(int variant, int x, int y) {
  const int reach = 8 + (variant * 5) % 24;  // where the triangle ends
  if (x < 2 && y < 2) return 3;
  if (y >= reach || x > y) return 0;
  if (x == 0 || x == y || y == reach - 1) return 1;
  return 2;
}

}  // namespace

cursor_record::CursorPicture MonochromePicture(int variant) {
  cursor_record::CursorPicture picture;
  picture.width = picture.height = kSize;
  picture.andMask.resize(kSize * kSize);
  picture.pixels.resize(kSize * kSize);
  for (int y = 0; y < kSize; ++y) {
    for (int x = 0; x < kSize; ++x) {
      const int part = Shape(variant, x, y);
      picture.andMask[y * kSize + x] = (part == 0 || part == 3) ? 1 : 0;
      picture.pixels[y * kSize + x] = (part == 2 || part == 3) ? 1 : 0;
    }
  }
  return picture;
}

cursor_record::CursorPicture ColourPicture(int variant, uint32_t rgb) {
  cursor_record::CursorPicture picture = MonochromePicture(variant);
  picture.colour = true;
  for (size_t i = 0; i < picture.pixels.size(); ++i) {
    const bool inside = picture.pixels[i] != 0 && picture.andMask[i] == 0;
    const bool inverting = picture.pixels[i] != 0 && picture.andMask[i] != 0;
    picture.pixels[i] = inside ? rgb : inverting ? 0xFFFFFF : 0;
  }
  return picture;
}

std::vector<uint8_t> StaticCursorFile(const cursor_record::CursorPicture& picture, POINT hotspot) {
  return cursor_record::EncodeCursorFile(picture, hotspot);
}

std::vector<uint8_t> AnimatedCursorFile(const std::vector<std::vector<uint8_t>>& frames, int jiffies) {
  std::vector<uint8_t> header;
  const uint32_t fields[9] = {36, static_cast<uint32_t>(frames.size()), static_cast<uint32_t>(frames.size()),
                              0, 0, 0, 0, static_cast<uint32_t>(jiffies), 1 /* frames are cursor files */};
  for (uint32_t field : fields) Append32(header, field);
  std::vector<uint8_t> list = {'f', 'r', 'a', 'm'};
  for (const std::vector<uint8_t>& frame : frames) AppendChunk(list, "icon", frame);
  std::vector<uint8_t> body = {'A', 'C', 'O', 'N'};
  AppendChunk(body, "anih", header);
  AppendChunk(body, "LIST", list);
  std::vector<uint8_t> file;
  AppendChunk(file, "RIFF", body);
  return file;
}

bool WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return false;
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  return std::fclose(file) == 0 && written;
}

cursor_record::CursorPicture PictureOf(HCURSOR cursor, POINT* hotspot) {
  cursor_record::CursorPicture picture;
  POINT spot = {0, 0};
  if (!cursor_record::CaptureCursorPicture(cursor, &picture, &spot)) picture = cursor_record::CursorPicture();
  if (hotspot) *hotspot = spot;
  return picture;
}

}  // namespace wine_test
