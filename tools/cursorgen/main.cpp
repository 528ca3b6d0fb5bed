// cursorgen OUTPUT-FOLDER: draws every cursor of the product into OUTPUT-FOLDER:
//   utility/PALETTE.CUR, utility/BLANK.CUR   the utility's resource cursors
#include <cstdio>
#include <string>

#include "tools/cursorgen/resource_cursors.h"
#include "tools/imagelib/formats.h"

namespace {

bool Write(const std::string& path, const imagelib::Bytes& bytes) {
  if (imagelib::WriteFile(path, bytes)) return true;
  std::fprintf(stderr, "cursorgen: cannot write %s\n", path.c_str());
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: cursorgen OUTPUT-FOLDER\n");
    return 2;
  }
  const std::string out = argv[1];
  using imagelib::CursorDepth;
  bool ok = imagelib::MakeFolders(out + "/utility");
  ok = ok && Write(out + "/utility/PALETTE.CUR", imagelib::EncodeCur(cursorgen::PaletteTemplate(), CursorDepth::kColour4));
  ok = ok && Write(out + "/utility/BLANK.CUR", imagelib::EncodeCur(cursorgen::Blank(), CursorDepth::kMonochrome));
  return ok ? 0 : 1;
}
