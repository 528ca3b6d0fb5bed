// installerart OUTPUT-FOLDER: draws the installer's artwork into OUTPUT-FOLDER/installer:
//   WELCOME.BMP, FINISH.BMP   bitmaps 129 and 133 (320 x 200, 4 bits per pixel)
//   WENDSET.ICO, WENDSMAL.ICO icons 128 (32 x 32) and 134 (16 x 16), 16 colours
//   *.PNG                     the same for looking at
#include <cstdio>
#include <string>

#include "tools/imagelib/formats.h"
#include "tools/installerart/artwork.h"

namespace {

bool Write(const std::string& path, const imagelib::Bytes& bytes) {
  if (imagelib::WriteFile(path, bytes)) return true;
  std::fprintf(stderr, "installerart: cannot write %s\n", path.c_str());
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: installerart OUTPUT-FOLDER\n");
    return 2;
  }
  const std::string out = std::string(argv[1]) + "/installer";
  if (!imagelib::MakeFolders(out)) {
    std::fprintf(stderr, "installerart: cannot make %s\n", out.c_str());
    return 1;
  }
  imagelib::Canvas welcome = installerart::Picture(installerart::WelcomeLines());
  imagelib::Canvas finish = installerart::Picture(installerart::FinishLines());
  if (welcome.width() == 0 || finish.width() == 0) {
    std::fprintf(stderr, "installerart: cannot render the lettering (is ImageMagick's convert installed?)\n");
    return 1;
  }
  imagelib::Canvas big = installerart::InstallerIcon(32);
  imagelib::Canvas small = installerart::InstallerIcon(16);
  bool ok = Write(out + "/WELCOME.BMP", imagelib::EncodeBmp4(welcome));
  ok = Write(out + "/FINISH.BMP", imagelib::EncodeBmp4(finish)) && ok;
  ok = Write(out + "/WENDSET.ICO", imagelib::EncodeIco({big})) && ok;
  ok = Write(out + "/WENDSMAL.ICO", imagelib::EncodeIco({small})) && ok;
  ok = Write(out + "/WELCOME.PNG", imagelib::EncodePng(welcome)) && ok;
  ok = Write(out + "/FINISH.PNG", imagelib::EncodePng(finish)) && ok;
  ok = Write(out + "/ICONS.PNG", imagelib::EncodePng(big.Enlarged(4))) && ok;
  ok = Write(out + "/ICONSMAL.PNG", imagelib::EncodePng(small.Enlarged(8))) && ok;
  return ok ? 0 : 1;
}
