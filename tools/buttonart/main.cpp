// buttonart OUTPUT-FOLDER: draws the utility's picture buttons and icons into OUTPUT-FOLDER/utility:
//   <base name><U|D|F|X>.BMP   the 64 colour button bitmaps
//   POINTREL.ICO               icon 128, 32 x 32 and 16 x 16
//   SMALL.ICO                  icon 136, 16 x 16
//   buttons.png                a contact sheet of all of them, enlarged, for looking at
#include <cstdio>
#include <string>

#include "tools/buttonart/button_art.h"
#include "tools/imagelib/formats.h"

namespace {

bool Write(const std::string& path, const imagelib::Bytes& bytes) {
  if (imagelib::WriteFile(path, bytes)) return true;
  std::fprintf(stderr, "buttonart: cannot write %s\n", path.c_str());
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: buttonart OUTPUT-FOLDER\n");
    return 2;
  }
  using namespace buttonart;
  const std::string out = std::string(argv[1]) + "/utility";
  bool ok = imagelib::MakeFolders(out);
  const int cell = kButtonSize + 2;
  imagelib::Canvas sheet(16 * cell + 40, 4 * cell + 2, imagelib::Opaque(255, 255, 255));
  for (int colour = 0; colour < 16; ++colour) {
    for (int row = 0; row < 4; ++row) {
      const Look look = kLooks[row];
      const imagelib::Canvas button = DrawButton(kButtonColours[colour].spot, look);
      ok = ok && Write(out + "/" + BitmapName(colour, look) + ".BMP", imagelib::EncodeBmp4(button));
      sheet.Paste(button, 1 + colour * cell, 1 + row * cell);
    }
  }
  const imagelib::Canvas big = DrawIcon(32), small = DrawIcon(16);
  sheet.Paste(big, 16 * cell + 4, 1);
  sheet.Paste(small, 16 * cell + 4, 36);
  ok = ok && Write(out + "/POINTREL.ICO", imagelib::EncodeIco({big, small}));
  ok = ok && Write(out + "/SMALL.ICO", imagelib::EncodeIco({small}));
  ok = ok && Write(out + "/buttons.png", imagelib::EncodePng(sheet.Enlarged(4)));
  return ok ? 0 : 1;
}
