// cursorgen OUTPUT-FOLDER: draws every cursor of the product into OUTPUT-FOLDER:
//   utility/PALETTE.CUR, utility/BLANK.CUR   the utility's resource cursors
//   library/<sub-folder>/<long name>        the library files, as the installed tree has them:
//                                           each image and frame drawn at 32, 48, 64, 96 and
//                                           128 pixels (100 to 400 %, or a larger pointer)
//   medium/<8.3 name>                       the same files under their distribution names
//   cursor-kinds.txt                        one line per library file: its list tag, its 8.3 name
//                                           and its destination name, tab-separated (what the
//                                           tests expect of it)
//   cursor-sheet.png                        a contact sheet of them all
//   scheme-sheet.png                        the shipped schemes side by side, each role at 32
//                                           and 64 pixels on a light and a dark background
// It refuses (exit 1) when a manifest row has no drawing, a drawing no row, or a shipped scheme
// names a file it does not draw.
#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include "installer/file_manifest.h"
#include "tools/cursorgen/library.h"
#include "tools/cursorgen/resource_cursors.h"
#include "tools/cursorgen/shapes.h"
#include "tools/cursorgen/sheet.h"
#include "tools/imagelib/formats.h"
#include "utility/cursor/shipped_schemes.h"

namespace {

using imagelib::CursorDepth;

bool Write(const std::string& path, const imagelib::Bytes& bytes) {
  if (imagelib::WriteFile(path, bytes)) return true;
  std::fprintf(stderr, "cursorgen: cannot write %s\n", path.c_str());
  return false;
}

bool EndsWith(const std::string& text, const std::string& tail) {
  return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

std::string WithSlashes(std::string path) {
  for (char& c : path)
    if (c == '\\') c = '/';
  return path;
}

// Pixels per design unit of each image of a static file and of each frame, in the order
// written: 32, 48, 64, 96 and 128 pixels, for 100 to 400 % or a larger pointer.
constexpr double kScales[] = {1.0, 1.5, 2.0, 3.0, 4.0};

// The static cursor drawn afresh at each scale.
imagelib::Bytes EncodeStatic(const cursorgen::LibraryEntry& entry, CursorDepth depth) {
  std::vector<imagelib::Cursor> sizes;
  for (double scale : kScales) {
    cursorgen::SetDrawingScale(scale);
    sizes.push_back(entry.draw().still.cursor);
  }
  cursorgen::SetDrawingScale(1);
  return imagelib::EncodeCur(sizes, depth);
}

// The animation drawn afresh at each scale, each frame carrying its images of every size.
imagelib::Bytes EncodeAnimated(const cursorgen::LibraryEntry& entry) {
  std::vector<imagelib::Animation> drawn;
  for (double scale : kScales) {
    cursorgen::SetDrawingScale(scale);
    drawn.push_back(entry.draw().animation);
  }
  cursorgen::SetDrawingScale(1);
  std::vector<std::vector<imagelib::Cursor>> frameSizes(drawn.front().frames.size());
  for (size_t frame = 0; frame < frameSizes.size(); ++frame) {
    for (const imagelib::Animation& scaled : drawn) frameSizes[frame].push_back(scaled.frames[frame].cursor);
  }
  return imagelib::EncodeAni(drawn.front(), frameSizes);
}

const cursorgen::LibraryEntry* FindArt(const std::string& destinationName) {
  for (const cursorgen::LibraryEntry& e : cursorgen::LibraryArt())
    if (e.destinationName == destinationName) return &e;
  return nullptr;
}

// The first frame of a drawing at `scale`.
imagelib::AniFrame FirstFrameAt(const cursorgen::LibraryEntry& entry, double scale) {
  cursorgen::SetDrawingScale(scale);
  const cursorgen::Art art = entry.draw();
  cursorgen::SetDrawingScale(1);
  return art.animated ? art.animation.frames.front() : art.still;
}

// Every shipped scheme's cursors, found among the drawings; false (and says which) when a
// scheme names a file that nothing draws.
bool ShowSchemes(std::vector<cursorgen::SchemeShown>& shown) {
  for (const ShippedScheme& scheme : kShippedSchemes) {
    cursorgen::SchemeShown column{scheme.name, {}};
    for (size_t role = 0; role < kRoleCount; ++role) {
      if (!scheme.files[role]) {
        column.roles.push_back({});
        continue;
      }
      const std::string destination = std::string(kCursorRoles[role].folder) + scheme.files[role];
      const cursorgen::LibraryEntry* entry = FindArt(destination);
      if (!entry) {
        std::fprintf(stderr, "cursorgen: scheme \"%s\" names %s, which nothing draws\n", scheme.name, destination.c_str());
        return false;
      }
      column.roles.push_back({FirstFrameAt(*entry, 1), FirstFrameAt(*entry, 2)});
    }
    shown.push_back(column);
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: cursorgen OUTPUT-FOLDER\n");
    return 2;
  }
  const std::string out = argv[1];
  std::vector<cursorgen::SheetEntry> sheet;
  bool ok = imagelib::MakeFolders(out + "/utility") && imagelib::MakeFolders(out + "/medium");

  const imagelib::Cursor palette = cursorgen::PaletteTemplate(), blank = cursorgen::Blank();
  ok = ok && Write(out + "/utility/PALETTE.CUR", imagelib::EncodeCur(palette, CursorDepth::kColour4));
  ok = ok && Write(out + "/utility/BLANK.CUR", imagelib::EncodeCur(blank, CursorDepth::kMonochrome));
  sheet.push_back({"PALETTE.CUR (resource 129)", {{palette, CursorDepth::kColour4}}, false, 0});
  sheet.push_back({"BLANK.CUR (resource 130)", {{blank, CursorDepth::kMonochrome}}, false, 0});

  std::string kinds;
  std::set<std::string> used;
  for (int row = kFirstCursorRow; row < kManifestRows && ok; ++row) {
    const std::string destination = FileManifest[row].destinationName;
    const cursorgen::LibraryEntry* entry = FindArt(destination);
    if (!entry) {
      std::fprintf(stderr, "cursorgen: nothing draws %s\n", destination.c_str());
      return 1;
    }
    used.insert(destination);
    const cursorgen::Art art = entry->draw();
    if (art.animated != EndsWith(destination, ".ANI")) {
      std::fprintf(stderr, "cursorgen: %s is drawn as the wrong kind\n", destination.c_str());
      return 1;
    }
    const imagelib::Bytes bytes = art.animated ? EncodeAnimated(*entry) : EncodeStatic(*entry, art.still.depth);
    const std::string path = out + "/library/" + WithSlashes(destination);
    ok = imagelib::MakeFolders(path.substr(0, path.rfind('/'))) && Write(path, bytes) &&
         Write(out + "/medium/" + FileManifest[row].sourceName, bytes);

    const imagelib::AniFrame& first = art.animated ? art.animation.frames.front() : art.still;
    const bool colour = first.depth != CursorDepth::kMonochrome;
    kinds += std::string("[") + (art.animated ? 'a' : 's') + (colour ? 'c' : 'm') + "]\t" + FileManifest[row].sourceName + "\t" +
             destination + "\n";

    cursorgen::SheetEntry shown{destination.substr(destination.find('\\') + 1), {}, art.animated, 0};
    if (art.animated) {
      shown.frames = art.animation.frames;
      shown.jiffies = art.animation.steps.empty() ? art.animation.defaultJiffies : art.animation.steps.front().jiffies;
    } else {
      shown.frames = {art.still};
    }
    sheet.push_back(shown);
  }
  if (ok && used.size() != cursorgen::LibraryArt().size()) {
    std::fprintf(stderr, "cursorgen: the library draws cursors the manifest does not list\n");
    return 1;
  }
  ok = ok && Write(out + "/cursor-kinds.txt", imagelib::Bytes(kinds.begin(), kinds.end()));
  ok = ok && Write(out + "/cursor-sheet.png", imagelib::EncodePng(cursorgen::ContactSheet(sheet)));

  std::vector<cursorgen::SchemeShown> schemes;
  if (ok && !ShowSchemes(schemes)) return 1;
  std::vector<std::string> captions;
  for (const CursorRoleInfo& role : kCursorRoles) captions.push_back(role.caption);
  ok = ok && Write(out + "/scheme-sheet.png", imagelib::EncodePng(cursorgen::SchemeSheet(captions, schemes)));
  return ok ? 0 : 1;
}
