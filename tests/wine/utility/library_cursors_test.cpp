// Every library cursor loads with the platform's file loader, under its long name in the
// library tree and its short name on the medium, with a colour bitmap exactly when its kind
// says so (for an animation, that of its first frame).
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "installer/file_manifest.h"
#include "tests/wine/support/handle_census.h"
#include "tests/wine/support/wine_test_support.h"
#include "platform/gdi.h"

namespace {

const std::string kGenerated = wine_test::BinaryDir() + "/generated";

// One line of the generator's cursor-kinds.txt: list tag, 8.3 name, destination name.
struct Kind {
  std::string tag, source, destination;
};

std::vector<Kind> ReadKinds() {
  std::vector<Kind> kinds;
  FILE* file = std::fopen((kGenerated + "/cursor-kinds.txt").c_str(), "r");
  if (!file) return kinds;
  char line[600];
  while (std::fgets(line, sizeof line, file)) {
    std::string text(line);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
    const size_t tab = text.find('\t'), second = text.find('\t', tab + 1);
    if (second != std::string::npos)
      kinds.push_back({text.substr(0, tab), text.substr(tab + 1, second - tab - 1), text.substr(second + 1)});
  }
  std::fclose(file);
  return kinds;
}

struct Loaded {
  bool loaded = false, colour = false;
  int width = 0, height = 0;
  DWORD hotX = 0, hotY = 0;
};

Loaded Load(const std::string& path) {
  Loaded l;
  HCURSOR cursor = platform::LoadCheckedCursorFile(path.c_str());
  if (!cursor) return l;
  ICONINFO info{};
  if (::GetIconInfo(cursor, &info)) {
    l.loaded = true;
    l.colour = info.hbmColor != nullptr;
    l.hotX = info.xHotspot;
    l.hotY = info.yHotspot;
    BITMAP mask{};
    ::GetObjectA(info.hbmMask, sizeof mask, &mask);
    l.width = mask.bmWidth;
    l.height = l.colour ? mask.bmHeight : mask.bmHeight / 2;
    if (info.hbmColor) ::DeleteObject(info.hbmColor);
    ::DeleteObject(info.hbmMask);
  }
  platform::ReleaseCursor(cursor);
  return l;
}

TEST(LibraryCursors, EveryFileLoadsWithTheColourItsKindSays) {
  const std::vector<Kind> kinds = ReadKinds();
  ASSERT_EQ(kinds.size(), static_cast<size_t>(kManifestRows - kFirstCursorRow)) << "cursor-kinds.txt";
  const handle_census::LiveHandleCounts start = handle_census::CountLiveHandles();
  int colour = 0, animated = 0;
  for (const Kind& k : kinds) {
    const std::string& source = k.source;
    const bool wantColour = k.tag == "[sc]" || k.tag == "[ac]";
    colour += wantColour;
    animated += k.tag[1] == 'a';
    const Loaded longName = Load(kGenerated + "/library/" + k.destination);
    const Loaded shortName = Load(kGenerated + "/medium/" + source);
    ASSERT_TRUE(longName.loaded) << k.destination;
    ASSERT_TRUE(shortName.loaded) << source;
    EXPECT_EQ(longName.colour, wantColour) << k.tag << " " << k.destination;
    EXPECT_EQ(longName.width, 32) << k.destination;
    EXPECT_EQ(longName.height, 32) << k.destination;
    EXPECT_LT(longName.hotX, 32u) << k.destination;
    EXPECT_LT(longName.hotY, 32u) << k.destination;
    EXPECT_EQ(shortName.colour, longName.colour) << source;
    EXPECT_EQ(shortName.hotX, longName.hotX) << source;
    EXPECT_EQ(shortName.hotY, longName.hotY) << source;
  }
  EXPECT_GT(colour, 0);
  EXPECT_LT(colour, static_cast<int>(kinds.size()) / 2);
  EXPECT_GT(animated, 0);
  EXPECT_EQ(handle_census::CountLiveHandles().bitmaps, start.bitmaps);
  EXPECT_EQ(handle_census::CountLiveHandles().cursors, start.cursors);
}

TEST(LibraryCursors, ResourceCursorsLoadFromTheirFiles) {
  const Loaded palette = Load(kGenerated + "/utility/PALETTE.CUR");
  ASSERT_TRUE(palette.loaded);
  EXPECT_TRUE(palette.colour);
  EXPECT_EQ(palette.hotX, 0u);
  const Loaded blank = Load(kGenerated + "/utility/BLANK.CUR");
  ASSERT_TRUE(blank.loaded);
  EXPECT_FALSE(blank.colour);
  EXPECT_EQ(blank.width, 32);
}

TEST(LibraryCursors, MissingFileDoesNotLoad) { EXPECT_FALSE(Load(kGenerated + "/library/NORMAL/No such cursor.CUR").loaded); }

}  // namespace
