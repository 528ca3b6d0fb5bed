// The cursor file formats, read and written from bytes alone (no platform calls): a static
// cursor or icon file (".CUR", ".ICO": a directory of DIB or PNG images) and an animated cursor
// (".ANI": RIFF "ACON" whose frames are static files). The platform's own loader trusts the
// sizes in a file; nothing is handed to it before CheckCursorFile has accepted the file. The
// artwork tools and the system-cursor trace write their files with the writers here: the
// trace with WriteStaticFile into a buffer it sizes (cursor_file.cpp, with the reader), the
// tools and tests with the Encode functions into growing byte vectors (cursor_file_encode.cpp).
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace cursor_file {

// Larger files are refused without being read whole.
constexpr size_t kLargestFile = 4 * 1024 * 1024;
// An image side beyond this is no cursor (the directory's byte for it tops out at 256).
constexpr int32_t kLargestSide = 256;
// Frames and steps of an animation; real ones have a few dozen.
constexpr uint32_t kMostFrames = 1024;
constexpr uint32_t kMostSteps = 4096;

enum class Kind { Refused, Static, Animated };

// Whether `size` bytes at `data` are a well-formed cursor file, and which kind: every offset
// and length is checked against the bytes it lies in before it is used.
Kind CheckCursorFile(const uint8_t* data, size_t size);

// Where the first image of an accepted file lies (of its first frame, for an animation): its
// bytes, a DIB or a PNG as the directory gives them. False for a file CheckCursorFile refuses.
bool FirstImage(const uint8_t* data, size_t size, const uint8_t** image, size_t* length);

// The image of an accepted static cursor file (directory type 2) that the platform's loader
// takes for a cursor `side` pixels square: that side, else the largest smaller one, else the
// smallest larger one; the first in the directory among equals. The hotspot is the
// directory's. False for an animation, an icon file or a file CheckCursorFile refuses.
struct CursorImage {
  const uint8_t* bytes = nullptr;
  size_t length = 0;
  int32_t side = 0;  // the image's own width
  uint16_t hotspotX = 0;
  uint16_t hotspotY = 0;
};
bool BestCursorImage(const uint8_t* data, size_t size, int32_t side, CursorImage* image);

using Bytes = std::vector<uint8_t>;

// Little-endian fields, as every Windows picture format stores them: at a place already there,
// or appended.
void Store16(uint8_t* at, uint32_t value);
void Store32(uint8_t* at, uint32_t value);
void Put16(Bytes& out, uint32_t value);
void Put32(Bytes& out, uint32_t value);

// One image of a static file, every pixel given from the top row down: its colour bits (the XOR
// bits) and its AND bit (1: transparent, or inverting where the colour is white).
struct Image {
  int width = 0;
  int height = 0;
  int bitsPerPixel = 1;            // 1 or 4 (palette indices), 24 or 32 (the colours themselves)
  std::vector<uint32_t> palette;   // 0x00RRGGBB per entry, for 1 and 4 bits per pixel
  std::vector<uint32_t> colour;    // per pixel: palette index, 0x00RRGGBB, or 0xAARRGGBB at 32
  std::vector<uint8_t> andMask;    // per pixel: 0 or 1
  // The directory entry's two fields: a cursor's hotspot x and y, an icon's planes and bit count.
  uint16_t field1 = 0;
  uint16_t field2 = 0;
};

enum class FileType : uint16_t { Icon = 1, Cursor = 2 };

// The writer's own view of one image, by pointers (an Image, or pixels held elsewhere): the
// same fields, `palette` of `paletteSize` entries, `colour` and `andMask` one per pixel.
struct ImageView {
  int width = 0;
  int height = 0;
  int bitsPerPixel = 1;
  const uint32_t* palette = nullptr;
  size_t paletteSize = 0;
  const uint32_t* colour = nullptr;
  const uint8_t* andMask = nullptr;
  uint16_t field1 = 0;
  uint16_t field2 = 0;
};

// The size of a static file of `count` images, and the file written into `out`, which holds at
// least that many bytes. The images must be consistent with their sizes.
size_t StaticFileSize(const ImageView* images, size_t count);
void WriteStaticFile(FileType type, const ImageView* images, size_t count, uint8_t* out);

// A static file of the images, in order. Images must be consistent (sizes of the vectors).
Bytes EncodeStaticFile(FileType type, const std::vector<Image>& images);

// One step of an animation: which frame, for how long (jiffies of 1/60 s).
struct AnimationStep {
  uint32_t frame = 0;
  uint32_t jiffies = 10;
};

struct Animation {
  std::vector<Bytes> frames;  // static cursor files
  // Empty: each frame once, in order, for `defaultJiffies`. Otherwise the steps in order; a
  // "seq " chunk is written when the steps are not simply the frames in order, a "rate" chunk
  // when their durations differ.
  std::vector<AnimationStep> steps;
  uint32_t defaultJiffies = 10;
  std::string title, artist;  // an INFO list when either is given
};

// RIFF "ACON": optional INFO, "anih", optional "rate" and "seq ", the frames in LIST "fram".
Bytes EncodeAnimatedFile(const Animation& animation);

}  // namespace cursor_file
