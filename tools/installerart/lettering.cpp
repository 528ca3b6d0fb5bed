#include "tools/installerart/lettering.h"

#include <sys/stat.h>

#include <cstdio>
#include <vector>

namespace installerart {

namespace {

// The font file when it is where Debian puts it, else ImageMagick's own name for it.
std::string FontArgument() {
  const char* file = "/usr/share/fonts/truetype/dejavu/DejaVuSerif-Bold.ttf";
  struct stat info;
  return stat(file, &info) == 0 ? file : "DejaVu-Serif-Bold";
}

// Reads a binary PGM (P5, maxval < 256) from `in`.
bool ReadPgm(FILE* in, int& width, int& height, std::vector<unsigned char>& pixels) {
  int maxValue = 0;
  if (std::fscanf(in, "P5 %d %d %d", &width, &height, &maxValue) != 3) return false;
  if (width <= 0 || height <= 0 || width > 4096 || height > 4096 || maxValue <= 0 || maxValue > 255) return false;
  std::fgetc(in);  // the single white-space byte after the header
  pixels.resize(static_cast<size_t>(width) * height);
  return std::fread(pixels.data(), 1, pixels.size(), in) == pixels.size();
}

}  // namespace

imagelib::Canvas RenderLettering(const std::string& text, int pointSize, imagelib::Rgba colour) {
  // The texts are our own and hold no quote.
  std::string command = std::string("'") + IMAGEMAGICK_CONVERT + "' -background black -fill white +antialias -font '" + FontArgument() +
                        "' -pointsize " + std::to_string(pointSize) + " 'label:" + text +
                        "' -trim +repage -colorspace Gray -depth 8 pgm:-";
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return {};
  int width = 0, height = 0;
  std::vector<unsigned char> pixels;
  bool ok = ReadPgm(pipe, width, height, pixels);
  if (pclose(pipe) != 0 || !ok) return {};
  imagelib::Canvas canvas(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      if (pixels[static_cast<size_t>(y) * width + x] >= 128) canvas.Set(x, y, colour);
    }
  }
  return canvas;
}

}  // namespace installerart
