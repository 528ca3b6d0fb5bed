// The cursor file formats, read and written from bytes alone (no platform calls): a static
// cursor or icon file (".CUR", ".ICO": a directory of DIB or PNG images) and an animated cursor
// (".ANI": RIFF "ACON" whose frames are static files). The platform's own loader trusts the
// sizes in a file; nothing is handed to it before CheckCursorFile has accepted the file. The
// artwork tools and the system-cursor trace write their files with the writer here, into a
// buffer sized for them; the tools' writers into growing vectors are theirs
// (tools/imagelib/cursor_encode.h).
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

enum class FileType : uint16_t { Icon = 1, Cursor = 2 };

// More images in one directory than any real cursor or icon carries; such a file is refused.
constexpr size_t kMostImages = 64;

// One image of a checked static file: where its bytes lie inside the file, a DIB or a PNG as
// the directory gives them, its side from its own header, and its directory entry's two fields
// (a cursor's hotspot x and y, an icon's planes and bit count).
struct CheckedImage {
  const uint8_t* bytes = nullptr;
  size_t length = 0;
  int32_t side = 0;
  uint16_t field1 = 0;
  uint16_t field2 = 0;
};

// What CheckCursorFile found, and where. Every later step reads the file only through this
// record, never by a walk of its own, so nothing is read that the check did not accept.
struct CheckedFile {
  Kind kind = Kind::Refused;
  // The static file's directory, or the first frame's for an animation.
  FileType type = FileType::Cursor;
  size_t imageCount = 0;
  CheckedImage images[kMostImages];
  // Animations: the frame count, and the first frame's own static file (its "icon" chunk).
  uint32_t frameCount = 0;
  const uint8_t* firstFrame = nullptr;
  size_t firstFrameLength = 0;
};

// Whether `size` bytes at `data` are a well-formed cursor file, and which kind: every offset
// and length is checked against the bytes it lies in before it is used. With `found`, also
// where each part lies (its kind is Refused for a refused file, with nothing else filled in).
Kind CheckCursorFile(const uint8_t* data, size_t size, CheckedFile* found = nullptr);

// The first image of a checked file (of its first frame, for an animation). False for a
// refused file.
bool FirstImage(const CheckedFile& file, const uint8_t** image, size_t* length);

// The image of a checked static cursor file (directory type 2) that the platform's loader
// takes for a cursor `side` pixels square: that side, else the largest smaller one, else the
// smallest larger one; the first in the directory among equals. The hotspot is the
// directory's. False for an animation, an icon file or a refused file.
struct CursorImage {
  const uint8_t* bytes = nullptr;
  size_t length = 0;
  int32_t side = 0;  // the image's own width
  uint16_t hotspotX = 0;
  uint16_t hotspotY = 0;
};
bool BestCursorImage(const CheckedFile& file, int32_t side, CursorImage* image);

// Mirrors a cursor file left to right in place, the `size` bytes at `data`: every image of a
// static file, or of every frame of an animation, row by row (colour and AND mask), and a
// cursor's hotspot column so it stays on its pixel (a column beyond the image counts as the
// last). An animation keeps its header, steps, rates and order. The file is checked first; false,
// with nothing written, for a file CheckCursorFile refuses or one holding a PNG image.
bool MirrorCursorFile(uint8_t* data, size_t size);

// Little-endian fields, as every Windows picture format stores them, at a place already there.
void Store16(uint8_t* at, uint32_t value);
void Store32(uint8_t* at, uint32_t value);

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

}  // namespace cursor_file
