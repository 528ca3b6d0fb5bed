// The cursor file formats, read from their bytes alone (no platform calls): a static cursor or
// icon file (".CUR", ".ICO": a directory of DIB or PNG images) and an animated cursor (".ANI":
// RIFF "ACON" whose frames are static files). The platform's own loader trusts the sizes in a
// file; nothing is handed to it before CheckCursorFile has accepted the file.
#pragma once
#include <cstddef>
#include <cstdint>

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

// The static rule alone (also the rule for each frame of an animation).
bool IsWellFormedStatic(const uint8_t* data, size_t size);

}  // namespace cursor_file
