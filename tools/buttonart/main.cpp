// buttonart OUTPUT-FOLDER: draws the utility's picture buttons and icons into OUTPUT-FOLDER/utility:
//   <base name><U|D|F|X>.BMP   the 64 colour button bitmaps
//   POINTREL.ICO               icon 128, 32 x 32 and 16 x 16
//   SMALL.ICO                  icon 136, 16 x 16
//   colour_buttons.rc          the 64 bitmaps' resource lines, for the utility's .rc
//   colour_button_controls.rc  the two rows of buttons' template lines (ids 1020 to 1051)
//   buttons.png                a contact sheet of all of them, enlarged, for looking at
#include <cstdio>
#include <string>

#include "tools/buttonart/button_art.h"
#include "tools/imagelib/formats.h"
#include "utility/cursor/colour_palette.h"

namespace {

bool Write(const std::string& path, const imagelib::Bytes& bytes) {
  if (imagelib::WriteFile(path, bytes)) return true;
  std::fprintf(stderr, "buttonart: cannot write %s\n", path.c_str());
  return false;
}

bool WriteText(const std::string& path, const std::string& text) { return Write(path, imagelib::Bytes(text.begin(), text.end())); }

// "BMBREDD              BITMAP \"BMBREDD.BMP\"", one line per bitmap, colours in palette order.
std::string BitmapLines() {
  std::string lines = "// Written by tools/buttonart: the colour buttons' pictures.\n";
  for (int colour = 0; colour < kPaletteSize; ++colour) {
    for (buttonart::Look look : buttonart::kLooks) {
      const std::string name = buttonart::BitmapName(colour, look);
      char line[96];
      std::snprintf(line, sizeof line, "%-20s BITMAP \"%s.BMP\"\n", name.c_str(), name.c_str());
      lines += line;
    }
  }
  return lines;
}

// The two rows of owner-drawn buttons of template 102: captions in palette order, the k-th of
// a row at x 60 + 15k, the first of each row starting a group.
std::string ControlLines() {
  std::string lines = "// Written by tools/buttonart: the colour rows of template 102.\n";
  const int firstId[2] = {1020, 1036}, rowY[2] = {221, 241};
  for (int row = 0; row < 2; ++row) {
    for (int k = 0; k < kPaletteSize; ++k) {
      char line[160];
      std::snprintf(line, sizeof line, "    CONTROL         \"%s\", %d, \"Button\", BS_OWNERDRAW | %sWS_TABSTOP, %d, %d, 15, 15\n",
                    kColourPalette[k].buttonName, firstId[row] + k, k == 0 ? "WS_GROUP | " : "", 60 + 15 * k, rowY[row]);
      lines += line;
    }
  }
  return lines;
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
  for (int colour = 0; colour < kPaletteSize; ++colour) {
    for (int row = 0; row < 4; ++row) {
      const Look look = kLooks[row];
      const imagelib::Canvas button = DrawButton(colour, look);
      ok = ok && Write(out + "/" + BitmapName(colour, look) + ".BMP", imagelib::EncodeBmp4(button));
      sheet.Paste(button, 1 + colour * cell, 1 + row * cell);
    }
  }
  const imagelib::Canvas big = DrawIcon(32), small = DrawIcon(16);
  sheet.Paste(big, 16 * cell + 4, 1);
  sheet.Paste(small, 16 * cell + 4, 36);
  ok = ok && Write(out + "/POINTREL.ICO", imagelib::EncodeIco({big, small}));
  ok = ok && Write(out + "/SMALL.ICO", imagelib::EncodeIco({small}));
  ok = ok && WriteText(out + "/colour_buttons.rc", BitmapLines());
  ok = ok && WriteText(out + "/colour_button_controls.rc", ControlLines());
  ok = ok && Write(out + "/buttons.png", imagelib::EncodePng(sheet.Enlarged(4)));
  return ok ? 0 : 1;
}
