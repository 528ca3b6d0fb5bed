// The artwork tools' cursor-file writers into growing byte vectors, over the programs' own
// writer (platform/cursor_file.h): kept apart so that no program links the vector code.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "platform/cursor_file.h"

namespace cursor_file {

using Bytes = std::vector<uint8_t>;

// Little-endian fields appended.
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
