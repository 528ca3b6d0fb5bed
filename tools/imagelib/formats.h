// Writers for the Windows picture formats the two programs carry (BMP, ICO, CUR, ANI) and
// PNG for contact sheets, from canvases. Each Encode* returns the whole file as bytes; WriteFile
// stores them. ICO, CUR and ANI bytes come from the programs' own writer (platform/cursor_file.h).
//
// How canvas pixels are written:
// - 4-bit formats use the standard palette (kWindowsPalette); each pixel becomes its
//   nearest palette colour.
// - In ICO and CUR, a pixel with alpha 255 is opaque (AND 0, XOR its colour); any other
//   pixel is transparent (AND 1, XOR black) except kScreenInvert (AND 1, XOR white).
// - A monochrome cursor has only black and white: an opaque pixel is white when its
//   brightness is at least half, else black.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "tools/imagelib/canvas.h"

namespace imagelib {

using Bytes = std::vector<uint8_t>;

// Device-independent bitmap files. Alpha is ignored.
Bytes EncodeBmp4(const Canvas& image);
Bytes EncodeBmp24(const Canvas& image);

// Icon file with one image per canvas (each up to 256 x 256), 4 bits per pixel + AND mask.
Bytes EncodeIco(const std::vector<Canvas>& images);

// How a cursor's colour bitmap is stored. kMonochrome gives a cursor without colour
// bitmap when the platform loads it; the others give a colour cursor.
// kColour4 maps every colour to the standard 16-colour palette; kIndexed keeps every colour with
// a palette of the image's own, at 4 bits per pixel for up to 16 colours, at 8 for up to 256,
// else the colours themselves at 24.
enum class CursorDepth { kMonochrome = 1, kColour4 = 4, kIndexed = 8, kColour24 = 24 };

struct Cursor {
  Canvas image;  // up to 256 x 256; the library uses 32 x 32
  int hotspotX = 0, hotspotY = 0;
};

// Cursor file with one image.
Bytes EncodeCur(const Cursor& cursor, CursorDepth depth);
// Cursor file with one image per size of the same cursor, in the order given.
Bytes EncodeCur(const std::vector<Cursor>& sizes, CursorDepth depth);

struct AniFrame {
  Cursor cursor;
  CursorDepth depth = CursorDepth::kMonochrome;
};

// One step of an animation: which frame, for how long (jiffies of 1/60 s).
struct AniStep {
  int frame = 0;
  int jiffies = 10;
};

// Animated cursor (RIFF "ACON": optional INFO title and artist, "anih", optional "rate" and
// "seq ", the frames as cursor files in LIST "fram"). The platform plays it in a loop.
struct Animation {
  std::vector<AniFrame> frames;
  // Empty: each frame once, in order, for `defaultJiffies`. Otherwise the steps in order; a
  // "seq " chunk is written when the steps are not simply the frames in order, a "rate"
  // chunk when their durations differ.
  std::vector<AniStep> steps;
  int defaultJiffies = 10;
  std::string title, artist;
};
// `frameSizes`, when given, holds for each frame the images its file carries, one per size, in
// place of the frame's own cursor.
Bytes EncodeAni(const Animation& animation, const std::vector<std::vector<Cursor>>& frameSizes = {});

// 8-bit RGBA PNG (stored, uncompressed zlib blocks).
Bytes EncodePng(const Canvas& image);

// Writes the bytes to `path`, replacing the file; false on any failure.
bool WriteFile(const std::string& path, const Bytes& bytes);
// Creates the folder and its missing parents; true when it exists afterwards.
bool MakeFolders(const std::string& path);

}  // namespace imagelib
