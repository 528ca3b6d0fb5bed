// The list texts of the cursor library: classification by extension, entry texts, stored names
// and composed paths, with the buffer limits at and around their edges.
#include "utility/cursor/library_entry.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/file_names.h"

namespace {

struct KindCase {
  const char* name;
  CursorFileKind kind;
};

TEST(LibraryEntry, ClassifiesByTheLastFourCharactersInAnyCase) {
  const KindCase cases[] = {
      {"Inflated arrow.CUR", CursorFileKind::Static},
      {"lower.cur", CursorFileKind::Static},
      {"Mixed.CuR", CursorFileKind::Static},
      {"spin.ANI", CursorFileKind::Animated},
      {"spin.ani", CursorFileKind::Animated},
      {".CUR", CursorFileKind::Static},
      {".ani", CursorFileKind::Animated},
      {"ANI", CursorFileKind::NotCursor},
      {"CUR", CursorFileKind::NotCursor},
      {"xANI", CursorFileKind::NotCursor},
      {"readme.txt", CursorFileKind::NotCursor},
      {"almost.CURS", CursorFileKind::NotCursor},
      {"almost.CU", CursorFileKind::NotCursor},
      {"cursor.CUR.bak", CursorFileKind::NotCursor},
      {"x_CUR", CursorFileKind::NotCursor},
      {"", CursorFileKind::NotCursor},
      {"a.CUR ", CursorFileKind::NotCursor},
  };
  for (const KindCase& c : cases) {
    EXPECT_EQ(ClassifyCursorFileName(c.name), c.kind) << '"' << c.name << '"';
  }
}

TEST(LibraryEntry, OnlyDotAndDotDotAreFolderEntries) {
  EXPECT_TRUE(IsDotOrDotDot("."));
  EXPECT_TRUE(IsDotOrDotDot(".."));
  const char* others[] = {"...", ".CUR", "", "..a", " .", "a"};
  for (const char* name : others) EXPECT_FALSE(IsDotOrDotDot(name)) << '"' << name << '"';
}

TEST(LibraryEntry, AnimatedNamesEndInAniInAnyCase) {
  EXPECT_TRUE(IsAnimatedName("spin.ANI"));
  EXPECT_TRUE(IsAnimatedName("spin.aNi"));
  EXPECT_TRUE(IsAnimatedName(".ANI"));
  EXPECT_FALSE(IsAnimatedName("ANI"));
  EXPECT_FALSE(IsAnimatedName("spin.CUR"));
  EXPECT_FALSE(IsAnimatedName("<Default>"));
  EXPECT_FALSE(IsAnimatedName("<Same as Normal>"));
  EXPECT_FALSE(IsAnimatedName(""));
}

struct EntryCase {
  bool animated;
  bool colour;
  const char* fileName;
  const char* entry;
};

TEST(LibraryEntry, EntryTextIsTagTabAndNameLessExtension) {
  const EntryCase cases[] = {
      {false, true, "Inflated arrow.CUR", "[sc]\tInflated arrow"},
      {false, false, "plain.cur", "[sm]\tplain"},
      {true, true, "Spinning globe.ANI", "[ac]\tSpinning globe"},
      {true, false, "hourglass.ani", "[am]\thourglass"},
      {false, false, ".CUR", "[sm]\t"},
      {false, false, "x.CUR", "[sm]\tx"},
      {true, false, "x.ANI", "[am]\tx"},
      {false, true, "[sc]\tfake.CUR", "[sc]\t[sc]\tfake"},
  };
  for (const EntryCase& c : cases) {
    char entry[kTextBufferSize];
    ASSERT_TRUE(BuildEntryText(c.animated, c.colour, c.fileName, entry, sizeof entry)) << c.fileName;
    EXPECT_STREQ(entry, c.entry) << c.fileName;
  }
}

struct StoredCase {
  const char* entry;
  const char* stored;
};

TEST(LibraryEntry, StoredNameReappendsTheExtensionInCapitals) {
  const StoredCase cases[] = {
      {"[sc]\tInflated arrow", "Inflated arrow.CUR"},
      {"[sm]\tplain", "plain.CUR"},
      {"[ac]\tSpinning globe", "Spinning globe.ANI"},
      {"[am]\tx", "x.ANI"},
      {"[sm]\t", ".CUR"},
      {"[am]\t", ".ANI"},
      {"[sc]", ".CUR"},  // a tag with nothing after it does not read past its end
      {"<Default>", "<Default>"},
      {"<Same as Normal>", "<Same as Normal>"},
      {"<default>", "<default>"},
      {"", ""},
      {"[s]x", "[s]x"},  // fourth character is not "]": taken as it stands
      {"[xx]\tname", "name.CUR"},  // any kind letter other than "a" is static
  };
  for (const StoredCase& c : cases) {
    char stored[kTextBufferSize];
    ASSERT_TRUE(EntryToStoredName(c.entry, stored, sizeof stored)) << c.entry;
    EXPECT_STREQ(stored, c.stored) << c.entry;
  }
}

TEST(LibraryEntry, EveryFileNameSurvivesTheRoundTripUpToTheExtensionCase) {
  const char* names[] = {"Inflated arrow.CUR", "lower.cur", "spin.ani", ".CUR", "x.ANI", "a.b.c.Cur", "[am]\tx.ANI"};
  for (const char* name : names) {
    const CursorFileKind kind = ClassifyCursorFileName(name);
    ASSERT_NE(kind, CursorFileKind::NotCursor) << name;
    char entry[kTextBufferSize];
    char stored[kTextBufferSize];
    ASSERT_TRUE(BuildEntryText(kind == CursorFileKind::Animated, false, name, entry, sizeof entry));
    ASSERT_TRUE(EntryToStoredName(entry, stored, sizeof stored));
    std::string expected(name, std::strlen(name) - 4);
    expected += kind == CursorFileKind::Animated ? ".ANI" : ".CUR";
    EXPECT_EQ(stored, expected) << name;
  }
}

TEST(LibraryEntry, EntryTextThatDoesNotFitLeavesTheBufferUntouched) {
  // 5 tag characters + name + terminator: a name of n characters (plus ".CUR") needs n + 6.
  char entry[16];
  std::memset(entry, '#', sizeof entry);
  EXPECT_TRUE(BuildEntryText(false, false, "0123456789.CUR", entry, sizeof entry));  // 5 + 10 + 1 = 16
  EXPECT_STREQ(entry, "[sm]\t0123456789");
  std::memset(entry, '#', sizeof entry);
  EXPECT_FALSE(BuildEntryText(false, false, "0123456789A.CUR", entry, sizeof entry));
  for (char c : entry) EXPECT_EQ(c, '#');

  // The library's own limit: the longest name whose entry fits in 512 characters.
  std::string longest(kTextBufferSize - 6, 'n');
  char big[kTextBufferSize + 8];
  std::memset(big, '#', sizeof big);
  EXPECT_TRUE(BuildEntryText(true, true, (longest + ".ANI").c_str(), big, kTextBufferSize));
  EXPECT_EQ(std::strlen(big), kTextBufferSize - 1);
  for (size_t i = kTextBufferSize; i < sizeof big; ++i) EXPECT_EQ(big[i], '#') << i;
  EXPECT_FALSE(BuildEntryText(true, true, (longest + "n.ANI").c_str(), big, kTextBufferSize));
}

TEST(LibraryEntry, StoredNameThatDoesNotFitIsRefusedNotCut) {
  char stored[10];
  std::memset(stored, '#', sizeof stored);
  EXPECT_TRUE(EntryToStoredName("[sm]\tabcde", stored, sizeof stored));  // "abcde.CUR" is 9 + 1
  EXPECT_STREQ(stored, "abcde.CUR");
  std::memset(stored, '#', sizeof stored);
  EXPECT_FALSE(EntryToStoredName("[sm]\tabcdef", stored, sizeof stored));
  EXPECT_STREQ(stored, "");
  for (size_t i = 1; i < sizeof stored; ++i) EXPECT_EQ(stored[i], '#') << i;
  EXPECT_FALSE(EntryToStoredName("<Same as Normal>", stored, sizeof stored));
  EXPECT_FALSE(EntryToStoredName("x", stored, 0));
}

TEST(LibraryEntry, AStoredNameIsAFileInItsRolesFolderAndNothingElse) {
  struct Case {
    const char* name;
    bool plain;
  };
  const Case cases[] = {
      {"Inflated arrow.CUR", true},
      {"Stop Watch.ANI", true},
      {"my..arrow.CUR", true},         // dots inside a name go nowhere
      {".hidden.CUR", true},
      {"Pfeil \xC3\xBC.CUR", true},     // UTF-8 letters
      {"CONSOLE.CUR", true},           // a device's name inside a longer one
      {"COM10.CUR", true},
      {"LPT.CUR", true},
      {"NULL.CUR", true},
      {"", false},
      {".", false},
      {"..", false},
      {"...", false},
      {". .", false},
      {"..\\..\\windows\\system32\\x.cur", false},
      {"sub\\x.CUR", false},
      {"sub/x.CUR", false},
      {"C:x.CUR", false},
      {"C:\\x.CUR", false},
      {"\\\\server\\share\\x.CUR", false},
      {"\\\\?\\C:\\x.CUR", false},
      {"x.CUR:stream", false},
      {"*.CUR", false},
      {"x?.CUR", false},
      {"a<b.CUR", false},
      {"a>b.CUR", false},
      {"a|b.CUR", false},
      {"a\"b.CUR", false},
      {"tab\there.CUR", false},
      {"CON", false},
      {"con.CUR", false},
      {"Nul.ani", false},
      {"PRN.CUR", false},
      {"AUX", false},
      {"COM1.CUR", false},
      {"com9", false},
      {"LPT0.CUR", false},
      {"lpt7.cur", false},
      {"COM\xC2\xB9.CUR", false},        // COM with a superscript one
      {"LPT\xC2\xB3", false},
      {"CON .CUR", false},             // blanks before the dot are dropped
      {"CONIN$.CUR", false},
      {"conout$", false},
      {"CLOCK$", false},
      {"NUL.tar.gz", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(IsPlainFileName(c.name), c.plain) << c.name;
    char path[kTextBufferSize] = "#";
    EXPECT_EQ(ComposeLibraryPath("NORMAL\\", c.name, path, sizeof path), c.plain) << c.name;
    if (!c.plain) {
      EXPECT_STREQ(path, "") << c.name;
    }
  }
}

TEST(LibraryEntry, ComposedPathIsFolderAndNameOrNothing) {
  char path[kTextBufferSize];
  ASSERT_TRUE(ComposeLibraryPath("NORMAL\\", "Inflated arrow.CUR", path, sizeof path));
  EXPECT_STREQ(path, "NORMAL\\Inflated arrow.CUR");
  ASSERT_TRUE(ComposeLibraryPath("SIZING\\", "BIG_NW.CUR", path, sizeof path));
  EXPECT_STREQ(path, "SIZING\\BIG_NW.CUR");

  // The longest name a folder holds (255 units) after a folder that leaves it just room.
  const std::string fits(255, 'f');
  const std::string folder = std::string(kTextBufferSize - 2 - fits.size(), 'd') + "\\";
  ASSERT_TRUE(ComposeLibraryPath(folder.c_str(), fits.c_str(), path, sizeof path));
  EXPECT_EQ(std::strlen(path), kTextBufferSize - 1);
  // A name from a hand-edited settings file may be as long as the settings buffer.
  const std::string tooLong(4095, 'g');
  EXPECT_FALSE(ComposeLibraryPath(folder.c_str(), (fits + "g").c_str(), path, sizeof path));
  EXPECT_STREQ(path, "");
  EXPECT_FALSE(ComposeLibraryPath(folder.c_str(), tooLong.c_str(), path, sizeof path));
  EXPECT_STREQ(path, "");
}

}  // namespace
