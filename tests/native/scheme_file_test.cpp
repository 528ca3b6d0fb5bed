// The user's scheme file: what is written reads back the same; damaged and hand-edited files
// give only plain names of the scheme's own folder; scheme names become safe folder names and
// take a number when one is taken.
#include "utility/cursor/scheme_file.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/file_names.h"
#include "tests/common/pack_fixtures.h"

namespace {

using Bytes = std::vector<uint8_t>;

struct Read {
  bool found;
  std::unique_ptr<SchemeFile> scheme = std::make_unique<SchemeFile>();
  std::unique_ptr<SchemeFileIgnored> ignored = std::make_unique<SchemeFileIgnored>();
};

Read ReadBytes(const Bytes& bytes) {
  Read read;
  read.found = ReadSchemeFile(bytes.data(), bytes.size(), read.scheme.get(), read.ignored.get());
  return read;
}

Bytes Written(const SchemeFile& scheme) {
  std::vector<char> out(kLargestSchemeFile);
  const size_t length = WriteSchemeFile(scheme, out.data(), out.size());
  EXPECT_GT(length, 0u);
  return Bytes(out.begin(), out.begin() + static_cast<long>(length));
}

TEST(SchemeFile, WhatIsWrittenReadsBackTheSame) {
  auto scheme = std::make_unique<SchemeFile>();
  std::strcpy(scheme->name, "\"Ocean Breeze\" \xE2\x80\x93 \xE6\xB5\xB7 \"2\"");
  const char* files[] = {"Normal Select.cur", "", "Working in Background.ani", "  busy.ani", "", "Text (2).cur",
                         "", "", "", "", "", "", "", "", "", "", "\xE4\xBA\xBA.cur"};
  for (size_t role = 0; role < kRoleCount; ++role) std::strcpy(scheme->files[role], files[role]);
  const Bytes bytes = Written(*scheme);
  const Read read = ReadBytes(bytes);
  ASSERT_TRUE(read.found);
  EXPECT_STREQ(read.scheme->name, scheme->name);
  for (size_t role = 0; role < kRoleCount; ++role) EXPECT_STREQ(read.scheme->files[role], files[role]) << role;
  EXPECT_EQ(read.ignored->count, 0u);
  // As a person would see it in an editor.
  const std::string text(bytes.begin(), bytes.end());
  EXPECT_EQ(text.substr(0, 3), "\xEF\xBB\xBF");
  EXPECT_NE(text.find("[Scheme]\r\nName=\"\"Ocean Breeze\""), std::string::npos);
  EXPECT_NE(text.find("\r\nWait=\"  busy.ani\"\r\n"), std::string::npos);
  EXPECT_NE(text.find("\r\nArrow=Normal Select.cur\r\nHelp=\r\nAppStarting="), std::string::npos);
  EXPECT_NE(text.find("\r\nPerson=\xE4\xBA\xBA.cur\r\n"), std::string::npos);
  pack_fixtures::WriteSeed("scheme_file", "written", bytes);
  // Too small a buffer writes nothing.
  std::vector<char> small(text.size());
  EXPECT_EQ(WriteSchemeFile(*scheme, small.data(), small.size()), 0u);
  EXPECT_EQ(small[0], '\0');
}

TEST(SchemeFile, TheWriterWritesOnlyPlainNamesAndOneLineOfName) {
  auto scheme = std::make_unique<SchemeFile>();
  std::strcpy(scheme->name, "Two\r\nArrow=..\\evil.cur");
  std::strcpy(scheme->files[kRoleNormal], "..\\win.ini");
  std::strcpy(scheme->files[kRoleHelp], "help.cur\r\nWait=C:\\x.cur");
  const Read read = ReadBytes(Written(*scheme));
  EXPECT_STREQ(read.scheme->name, "TwoArrow=..\\evil.cur");
  for (size_t role = 0; role < kRoleCount; ++role) EXPECT_STREQ(read.scheme->files[role], "") << role;
}

struct Edited {
  const char* name;
  Bytes bytes;
  bool found;
  std::string schemeName;
  std::vector<std::pair<RoleIndex, std::string>> files;    // the rest are ""
  std::vector<std::pair<RoleIndex, std::string>> ignored;  // with the start of their values
};

TEST(SchemeFile, HandEditedAndDamagedFilesGiveOnlyPlainNames) {
  using pack_fixtures::FromText;
  const Edited cases[] = {
      {"paths of every kind",
       FromText("[Scheme]\nName=Mine\nArrow=..\\..\\windows\\win.ini\nHelp=C:\\Windows\\Cursors\\help.cur\n"
                "Wait=\\\\server\\share\\busy.ani\nIBeam=sub/text.cur\nNo=CON\nPin=nul.cur\nHand=link.cur.\n"
                "Person=ok.cur\nCrosshair=x.cur:stream\nUpArrow=..\n"),
       true, "Mine", {{kRolePerson, "ok.cur"}},
       {{kRoleNormal, "..\\..\\windows\\win.ini"}, {kRoleHelp, "C:\\Windows\\Cursors\\help.cur"},
        {kRoleBusy, "\\\\server\\share\\busy.ani"}, {kRolePrecision, "x.cur:stream"}, {kRoleIBeam, "sub/text.cur"},
        {kRoleUnavailable, "CON"}, {kRoleAlternate, ".."}, {kRoleLink, "link.cur."}, {kRoleLocation, "nul.cur"}}},
      {"edited by hand",
       FromText("; my scheme\r\n[scheme]\r\n  name =  Edited  \r\nARROW = \"arrow with spaces.cur\"\r\n"
                "arrow=second.cur\r\nUnknown=x.cur\r\nWait=\r\n[Other]\r\nHelp=help.cur\r\n"),
       true, "Edited", {{kRoleNormal, "arrow with spaces.cur"}}, {}},
      {"saved by an editor as UTF-16", pack_fixtures::Utf16("[Scheme]\r\nName=\xE6\xB5\xB7\r\nHand=\xE9\x93\xBE.cur\r\n"), true,
       "\xE6\xB5\xB7", {{kRoleLink, "\xE9\x93\xBE.cur"}}, {}},
      {"saved as ANSI", FromText("[Scheme]\nName=Fl\xE8" "ches\nArrow=Fl\xE8" "che.cur\n"), true, "Fl\xC3\xA8" "ches",
       {{kRoleNormal, "Fl\xC3\xA8" "che.cur"}}, {}},
      {"a name with control characters", FromText("[Scheme]\nName=\x01" "Bell\x07 \x7F\nArrow=a\tb.cur\n"), true, "Bell",
       {}, {{kRoleNormal, "a\tb.cur"}}},
      {"a value too long", FromText("[Scheme]\nArrow=" + std::string(300, 'a') + ".cur\n"), true, "", {},
       {{kRoleNormal, std::string(kIgnoredValueSize - 1, 'a')}}},
      {"no [Scheme] section", FromText("[Cursors]\nArrow=a.cur\n"), false, "", {}, {}},
      {"binary noise", Bytes{0, 1, 2, 0xFF, 0xFE, '[', 0x80, ']', '\n', '='}, false, "", {}, {}},
      {"cut off mid-line", FromText("[Scheme]\nName=Cut\nArrow=arr"), true, "Cut", {{kRoleNormal, "arr"}}, {}},
      {"nothing", {}, false, "", {}, {}},
  };
  for (const Edited& c : cases) {
    const Read read = ReadBytes(c.bytes);
    EXPECT_EQ(read.found, c.found) << c.name;
    EXPECT_EQ(std::string(read.scheme->name), c.schemeName) << c.name;
    std::vector<std::string> files(kRoleCount), ignored(kRoleCount);
    for (const auto& file : c.files) files[file.first] = file.second;
    for (const auto& value : c.ignored) ignored[value.first] = value.second;
    for (size_t role = 0; role < kRoleCount; ++role) {
      EXPECT_EQ(std::string(read.scheme->files[role]), files[role]) << c.name << ", " << kCursorRoles[role].registryName;
      EXPECT_EQ(read.ignored->role[role], !ignored[role].empty()) << c.name << ", " << kCursorRoles[role].registryName;
      EXPECT_EQ(std::string(read.ignored->value[role]), ignored[role]) << c.name;
      if (read.scheme->files[role][0]) {
        EXPECT_TRUE(IsPlainFileName(read.scheme->files[role])) << c.name;
      }
    }
    EXPECT_EQ(read.ignored->count, c.ignored.size()) << c.name;
    pack_fixtures::WriteSeed("scheme_file", c.name, c.bytes);
  }
}

std::string Cleaned(const std::string& name) {
  char out[kSchemeNameSize];
  CleanSchemeName(name.c_str(), out);
  return out;
}

std::string Folder(const std::string& name) {
  char out[kSchemeNameSize];
  SchemeFolderName(name.c_str(), out);
  EXPECT_TRUE(IsPlainFileName(out)) << name;
  return out;
}

TEST(SchemeFile, NamesAreCleanedAndFoldersArePlain) {
  EXPECT_EQ(Cleaned("  Ocean\tBreeze \r\n"), "OceanBreeze");
  EXPECT_EQ(Cleaned("\x01 \x02 Ocean"), "Ocean");  // blanks that only control characters kept from the start
  EXPECT_EQ(Cleaned(std::string(200, 'x')), std::string(kSchemeNameSize - 1, 'x'));
  // A cut never leaves half a character: 42 three-byte characters and one more byte of room.
  std::string wide;
  for (int i = 0; i < 60; ++i) wide += "\xE6\xB5\xB7";
  EXPECT_EQ(Cleaned(wide), wide.substr(0, 42 * 3));
  struct Case {
    std::string name;
    std::string folder;
  };
  const Case cases[] = {
      {"Ocean Breeze", "Ocean Breeze"},
      {"..\\..\\Evil", ".._.._Evil"},
      {"A/B:C*D?E\"F<G>H|I", "A_B_C_D_E_F_G_H_I"},
      {"Trailing dots...", "Trailing dots"},
      {"CON", "_CON"},
      {"nul.cur", "_nul.cur"},
      {"..", "Scheme"},
      {"", "Scheme"},
      {"\x01\x02", "Scheme"},
      {std::string(kSchemeNameSize - 1, 'c'), std::string(kSchemeNameSize - 1, 'c')},
  };
  for (const Case& c : cases) EXPECT_EQ(Folder(c.name), c.folder) << c.name;
}

std::string Unique(const std::string& wanted, const std::vector<std::string>& existing) {
  std::vector<const char*> names;
  for (const std::string& name : existing) names.push_back(name.c_str());
  char out[kSchemeNameSize];
  UniqueSchemeName(wanted.c_str(), names.data(), names.size(), out);
  return out;
}

TEST(SchemeFile, ATakenNameGetsANumber) {
  EXPECT_EQ(Unique("Ocean", {}), "Ocean");
  EXPECT_EQ(Unique("Ocean", {"Pointrel", "Other"}), "Ocean");
  EXPECT_EQ(Unique("Ocean", {"ocean"}), "Ocean (2)");
  EXPECT_EQ(Unique("Ocean", {"Ocean", "Ocean (2)"}), "Ocean (3)");
  EXPECT_EQ(Unique("Ocean", {"Ocean (2)"}), "Ocean");
  // Names that differ only where the folder's name cannot: "A:B" and "A_B" share a folder.
  EXPECT_EQ(Unique("A:B", {"A_B"}), "A:B (2)");
  EXPECT_EQ(Unique("", {"Scheme"}), "Scheme (2)");
  // A long name is cut to make room for its number.
  const std::string longName(kSchemeNameSize - 1, 'L');
  const std::string numbered = Unique(longName, {longName});
  EXPECT_EQ(numbered.size(), kSchemeNameSize - 1);
  EXPECT_EQ(numbered.substr(numbered.size() - 4), " (2)");
  std::vector<std::string> many = {"P"};
  for (int i = 2; i <= 12; ++i) many.push_back("P (" + std::to_string(i) + ")");
  EXPECT_EQ(Unique("P", many), "P (13)");
}

}  // namespace
