// The .inf reader against the shapes cursor packs come in: the scheme line found where the
// setup would find it, its files by position whatever the variables are called, role values
// filling its gaps, every encoding and syntax the format allows, and hostile paths reduced to
// bare names.
#include "utility/cursor/pack_inf.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "tests/common/pack_fixtures.h"

namespace {

using Bytes = std::vector<uint8_t>;
using pack_fixtures::FromText;
using pack_fixtures::Utf16;

// The classic pack: a scheme line of seventeen paths through variables whose names do not
// match their slots ("Hand" holds the handwriting file, "unavailiable" is misspelt), role values
// under [Wreg], copy sections the reader has no use for.
const char kClassic[] =
    "; Ocean Breeze cursors -- right-click this file and choose Install\r\n"
    "[Version]\r\n"
    "signature=\"$CHICAGO$\"\r\n"
    "\r\n"
    "[DefaultInstall]\r\n"
    "CopyFiles = Scheme.Cur, Scheme.Txt\r\n"
    "AddReg    = Scheme.Reg,Wreg\r\n"
    "\r\n"
    "[DestinationDirs]\r\n"
    "Scheme.Cur = 10,\"%CUR_DIR%\"\r\n"
    "\r\n"
    "[Scheme.Reg]\r\n"
    "HKCU,\"Control Panel\\Cursors\\Schemes\",\"%SCHEME_NAME%\",,\"%10%\\%CUR_DIR%\\%pointer%,%10%\\%CUR_DIR%\\%help%,"
    "%10%\\%CUR_DIR%\\%work%,%10%\\%CUR_DIR%\\%busy%,%10%\\%CUR_DIR%\\%cross%,%10%\\%CUR_DIR%\\%text%,"
    "%10%\\%CUR_DIR%\\%Hand%,%10%\\%CUR_DIR%\\%unavailiable%,%10%\\%CUR_DIR%\\%vert%,%10%\\%CUR_DIR%\\%horz%,"
    "%10%\\%CUR_DIR%\\%dgn1%,%10%\\%CUR_DIR%\\%dgn2%,%10%\\%CUR_DIR%\\%move%,%10%\\%CUR_DIR%\\%alternate%,"
    "%10%\\%CUR_DIR%\\%link%,%10%\\%CUR_DIR%\\%pin%,%10%\\%CUR_DIR%\\%person%\"\r\n"
    "\r\n"
    "[Wreg]\r\n"
    "HKCU,\"Control Panel\\Cursors\",,0x00020000,\"%SCHEME_NAME%\"\r\n"
    "HKCU,\"Control Panel\\Cursors\",Arrow,0x00020000,\"%10%\\%CUR_DIR%\\%pointer%\"\r\n"
    "HKCU,\"Control Panel\\Cursors\",Hand,0x00020000,\"%10%\\%CUR_DIR%\\%link%\"\r\n"
    "HKCU,\"Control Panel\\Cursors\",Scheme Source,0x00010001,2\r\n"
    "\r\n"
    "[Scheme.Cur]\r\n"
    "\"Normal Select.cur\"\r\n"
    "\r\n"
    "[Strings]\r\n"
    "CUR_DIR       = \"Cursors\\Ocean Breeze\"\r\n"
    "SCHEME_NAME   = \"Ocean Breeze\"\r\n"
    "pointer       = \"Normal Select.cur\"\r\n"
    "help          = \"Help Select.cur\"\r\n"
    "work          = \"Working in Background.ani\"\r\n"
    "busy          = \"Busy.ani\"\r\n"
    "cross         = \"Precision Select.cur\"\r\n"
    "text          = \"Text Select.cur\"\r\n"
    "Hand          = \"Handwriting.cur\"\r\n"
    "unavailiable  = \"Unavailable.cur\"\r\n"
    "vert          = \"Vertical Resize.cur\"\r\n"
    "horz          = \"Horizontal Resize.cur\"\r\n"
    "dgn1          = \"Diagonal Resize 1.cur\"\r\n"
    "dgn2          = \"Diagonal Resize 2.cur\"\r\n"
    "move          = \"Move.cur\"\r\n"
    "alternate     = \"Alternate Select.cur\"\r\n"
    "link          = \"Link Select.cur\"\r\n"
    "pin           = \"Location Select.cur\"\r\n"
    "person        = \"Person Select.cur\"\r\n";

const std::vector<std::string> kClassicFiles = {
    "Normal Select.cur",     "Help Select.cur",       "Working in Background.ani", "Busy.ani",
    "Precision Select.cur",  "Text Select.cur",       "Handwriting.cur",           "Unavailable.cur",
    "Vertical Resize.cur",   "Horizontal Resize.cur", "Diagonal Resize 1.cur",     "Diagonal Resize 2.cur",
    "Move.cur",              "Alternate Select.cur",  "Link Select.cur",           "Location Select.cur",
    "Person Select.cur"};

// An older pack of fifteen roles: no location or person, plain paths, no byte-order mark.
const char kFifteen[] =
    "[Version]\n"
    "Signature=\"$Windows NT$\"\n"
    "[DefaultInstall]\n"
    "AddReg=Scheme.Reg\n"
    "[Scheme.Reg]\n"
    "HKCU,\"Control Panel\\Cursors\\Schemes\",\"Retro 15\",,\"%10%\\Cursors\\Retro\\arrow.cur,%10%\\Cursors\\Retro\\help.cur,"
    "%10%\\Cursors\\Retro\\appstart.ani,%10%\\Cursors\\Retro\\wait.ani,%10%\\Cursors\\Retro\\cross.cur,"
    "%10%\\Cursors\\Retro\\beam.cur,%10%\\Cursors\\Retro\\pen.cur,%10%\\Cursors\\Retro\\no.cur,"
    "%10%\\Cursors\\Retro\\ns.cur,%10%\\Cursors\\Retro\\ew.cur,%10%\\Cursors\\Retro\\nwse.cur,"
    "%10%\\Cursors\\Retro\\nesw.cur,%10%\\Cursors\\Retro\\move.cur,%10%\\Cursors\\Retro\\up.cur,"
    "%10%\\Cursors\\Retro\\link.cur\"\n";

// Empty fields in the scheme line; [Wreg] fills two of them (and is ignored where the line
// has a file); one stays empty.
const char kEmptyFields[] =
    "[DefaultInstall.NT]\r\n"
    "AddReg = Scheme.Reg, Wreg\r\n"
    "[Scheme.Reg]\r\n"
    "HKCU,\"Control Panel\\Cursors\\Schemes\",\"%NAME%\",0x00020000,\"%CUR%\\a.cur,,%CUR%\\w.ani,%CUR%\\b.ani,,,,"
    "%CUR%\\no.cur\"\r\n"
    "[Wreg]\r\n"
    "HKCU,\"Control Panel\\Cursors\",Help,0x00020000,\"%CUR%\\help from wreg.cur\"\r\n"
    "HKCU,\"Control Panel\\Cursors\",arrow,0x00020000,\"%CUR%\\not this.cur\"\r\n"
    "HKCU,\"Control Panel\\Cursors\",Person,0x00020000,\"%CUR%\\person.cur\"\r\n"
    "HKCU,\"Control Panel\\Cursors\",Person,0x00020000,\"%CUR%\\second person.cur\"\r\n"
    "HKCU,\"Control Panel\\Cursors\",Crosshair,0x00020000,\"\"\r\n"
    "[Strings]\r\n"
    "CUR = \"%10%\\Cursors\\Gaps\"\r\n"
    "NAME = \"Gaps\"\r\n";

// Only the 64-bit install section leads to the scheme; the [Scheme.Reg] of an older version
// is left behind and must not win.
const char kPlatformSections[] =
    "[DefaultInstall.NTamd64]\n"
    "AddReg = \"%REGSECTION%\"\n"
    "[Scheme.Reg]\n"
    "HKCU,\"Control Panel\\Cursors\\Schemes\",\"Old\",,\"old.cur\"\n"
    "[Cursors Reg x64]\n"
    "HKEY_CURRENT_USER,\"control panel\\cursors\\schemes\",\"New\",,\"new.cur,new help.cur\"\n"
    "[Strings]\n"
    "REGSECTION = \"Cursors Reg x64\"\n";

// Continued lines (a final backslash, outside quotes, with a comment after it), quotes inside
// quotes, %% for a percent sign, sections repeated and merged.
const char kSyntax[] =
    "[DefaultInstall]\n"
    "AddReg = \\\n"
    "   Scheme.Reg ; continued\n"
    "[Scheme.Reg]\n"
    "HKCU,\"Control Panel\\Cursors\\Schemes\",\"%NAME% \"\"Deluxe\"\"\",,\"%D%\\100%% arrow.cur,\"\\ ; the help\n"
    "  \"%D%\\help;semi.cur,\" \\\n"
    "  %D%\\end.cur\n"
    "[Strings]\n"
    "NAME = Syntax ; unquoted, a comment after it\n"
    "[Strings]\n"
    "D = \"C:\\Cursors\\\"\n";

// Windows-1252 text (the "ANSI" of western Windows).
const char kAnsi[] =
    "[DefaultInstall]\r\nAddReg=Scheme.Reg\r\n[Scheme.Reg]\r\n"
    "HKCU,\"Control Panel\\Cursors\\Schemes\",\"Curseurs \xE9l\xE9gants\",,\"%10%\\Cursors\\Fl\xE8" "che.cur,Aide \x96 s\xE9lection.cur\"\r\n";

// Strings only in a language's section.
const char kLanguageStrings[] =
    "[DefaultInstall]\nAddReg=Scheme.Reg\n[Scheme.Reg]\n"
    "HKCU,\"Control Panel\\Cursors\\Schemes\",\"%NAME%\",,\"%ARROW%,%HILFE%\"\n"
    "[Strings.0407]\nNAME=\"Zeiger\"\nARROW=\"Normal.cur\"\nHILFE=\"Hilfe.cur\"\n";

// A value written without quotes: its commas split the line into fields.
const char kUnquoted[] =
    "[Scheme.Reg]\n"
    "HKCU,Control Panel\\Cursors\\Schemes,Plain,,arrow.cur , help.cur,  work.ani\n";

// More than seventeen files: the rest are no role.
const char kEighteen[] =
    "[Scheme.Reg]\n"
    "HKCU,\"Control Panel\\Cursors\\Schemes\",\"Long\",,\"1.cur,2.cur,3.cur,4.cur,5.cur,6.cur,7.cur,8.cur,9.cur,10.cur,"
    "11.cur,12.cur,13.cur,14.cur,15.cur,16.cur,17.cur,18.cur\"\n";

// Paths that point anywhere: each is only ever the file's own name.
const char kHostile[] =
    "[Scheme.Reg]\n"
    "HKCU,\"Control Panel\\Cursors\\Schemes\",\"..\\..\\Evil\",,\"..\\..\\windows\\win.ini,C:\\Windows\\System32\\drivers\\etc\\hosts,"
    "%10%\\..\\x,\\\\server\\share\\evil.cur,CON,NUL.cur,%24%\\boot.ini,/etc/passwd,x.cur:stream,C:relative.cur,"
    "%10%\\..,  spaced.cur  ,\"\n";

struct Shape {
  const char* name;
  Bytes bytes;
  bool found;
  std::string schemeName;
  std::vector<std::string> files;  // by role; missing ones are ""
};

std::vector<Shape> Shapes() {
  std::vector<std::string> emptyFields(kRoleCount);
  emptyFields[kRoleNormal] = "a.cur";
  emptyFields[kRoleHelp] = "help from wreg.cur";
  emptyFields[kRoleAppStarting] = "w.ani";
  emptyFields[kRoleBusy] = "b.ani";
  emptyFields[kRoleUnavailable] = "no.cur";
  emptyFields[kRolePerson] = "person.cur";
  std::vector<std::string> eighteen;
  for (int i = 1; i <= 17; ++i) eighteen.push_back(std::to_string(i) + ".cur");
  return {
      {"classic, UTF-16LE", Utf16(kClassic), true, "Ocean Breeze", kClassicFiles},
      {"classic, UTF-16BE", Utf16(kClassic, true), true, "Ocean Breeze", kClassicFiles},
      {"classic, UTF-8 with its mark", FromText(std::string("\xEF\xBB\xBF") + kClassic), true, "Ocean Breeze",
       kClassicFiles},
      {"fifteen roles", FromText(kFifteen), true, "Retro 15",
       {"arrow.cur", "help.cur", "appstart.ani", "wait.ani", "cross.cur", "beam.cur", "pen.cur", "no.cur", "ns.cur",
        "ew.cur", "nwse.cur", "nesw.cur", "move.cur", "up.cur", "link.cur"}},
      {"empty fields and [Wreg]", FromText(kEmptyFields), true, "Gaps", emptyFields},
      {"the 64-bit install section", FromText(kPlatformSections), true, "New", {"new.cur", "new help.cur"}},
      {"continued lines, quotes, percent signs", FromText(kSyntax), true, "Syntax \"Deluxe\"",
       {"100% arrow.cur", "help;semi.cur", "end.cur"}},
      {"Windows-1252", FromText(kAnsi), true, "Curseurs \xC3\xA9l\xC3\xA9gants",
       {"Fl\xC3\xA8" "che.cur", "Aide \xE2\x80\x93 s\xC3\xA9lection.cur"}},
      {"strings of a language", FromText(kLanguageStrings), true, "Zeiger", {"Normal.cur", "Hilfe.cur"}},
      {"a value without quotes", FromText(kUnquoted), true, "Plain", {"arrow.cur", "help.cur", "work.ani"}},
      {"eighteen files", FromText(kEighteen), true, "Long", eighteen},
      {"hostile paths", FromText(kHostile), true, "..\\..\\Evil",
       {"win.ini", "hosts", "x", "evil.cur", "CON", "NUL.cur", "boot.ini", "passwd", "stream", "relative.cur", "..",
        "spaced.cur", ""}},
  };
}

void ExpectShape(const Shape& shape) {
  auto read = std::make_unique<PackDescription>();
  EXPECT_EQ(ReadInf(shape.bytes.data(), shape.bytes.size(), read.get()), shape.found) << shape.name;
  EXPECT_EQ(read->found, shape.found) << shape.name;
  EXPECT_EQ(std::string(read->schemeName), shape.schemeName) << shape.name;
  for (size_t role = 0; role < kRoleCount; ++role) {
    const std::string expected = role < shape.files.size() ? shape.files[role] : "";
    EXPECT_EQ(std::string(read->files[role]), expected) << shape.name << ", role " << kCursorRoles[role].registryName;
    EXPECT_FALSE(read->cut[role]) << shape.name;
  }
}

TEST(PackInf, SchemeLinesOfRealWorldShapesGiveEachRoleItsFile) {
  for (const Shape& shape : Shapes()) {
    ExpectShape(shape);
    pack_fixtures::WriteSeed("pack_inf", shape.name, shape.bytes);
  }
}

TEST(PackInf, FilesWithoutASchemeDescribeNothing) {
  const Shape shapes[] = {
      {"a driver's .inf", FromText("[Version]\nClass=Mouse\n[DefaultInstall]\nCopyFiles=Drv\nAddReg=Drv.Reg\n"
                                   "[Drv.Reg]\nHKLM,\"SYSTEM\\CurrentControlSet\",Start,0x10001,3\n"),
       false, "", {}},
      {"the machine's schemes", FromText("[Scheme.Reg]\nHKLM,\"Control Panel\\Cursors\\Schemes\",\"M\",,\"a.cur\"\n"), false,
       "", {}},
      {"a section nothing leads to",
       FromText("[DefaultInstall]\nAddReg=Mine\n[Other]\nHKCU,\"Control Panel\\Cursors\\Schemes\",\"X\",,\"a.cur\"\n"),
       false, "", {}},
      {"a scheme line cut short", FromText("[Scheme.Reg]\nHKCU,\"Control Panel\\Cursors\\Schemes\",\"X\",\n"), false, "",
       {}},
      {"an empty file", {}, false, "", {}},
      {"UTF-16 noise", Bytes{0xFF, 0xFE, 0x00, 0xD8, 0x00, 0xDC, 0x5B, 0x00}, false, "", {}},
      {"a scheme line of no file", FromText("[Scheme.Reg]\nHKCU,\"Control Panel\\Cursors\\Schemes\",\"None\",,\"\"\n"),
       true, "None", {}},
  };
  for (const Shape& shape : shapes) {
    ExpectShape(shape);
    pack_fixtures::WriteSeed("pack_inf", shape.name, shape.bytes);
  }
}

TEST(PackInf, NamesTooLongToKeepAreMarkedCut) {
  const std::string longName(kPackNameSize + 10, 'n');
  const std::string inf = "[Scheme.Reg]\nHKCU,\"Control Panel\\Cursors\\Schemes\",\"L\",,\"a.cur," + longName +
                          ".cur,c.cur\"\n[Wreg]\nHKCU,\"Control Panel\\Cursors\",Person,,\"" + longName + "\"\n";
  auto read = std::make_unique<PackDescription>();
  ASSERT_TRUE(ReadInf(reinterpret_cast<const uint8_t*>(inf.data()), inf.size(), read.get()));
  EXPECT_FALSE(read->cut[kRoleNormal]);
  EXPECT_TRUE(read->cut[kRoleHelp]);
  EXPECT_FALSE(read->cut[kRoleAppStarting]);
  EXPECT_TRUE(read->cut[kRolePerson]);
  // A value past the platform's 4,096 characters is cut there: its last file is only a start.
  std::string many;
  for (int i = 0; i < 16; ++i) many += std::string(250, static_cast<char>('a' + i)) + ".cur,";
  many += std::string(300, 'z') + ".cur";
  const std::string wide = "[Scheme.Reg]\nHKCU,\"Control Panel\\Cursors\\Schemes\",\"W\",,\"" + many + "\"\n";
  ASSERT_TRUE(ReadInf(reinterpret_cast<const uint8_t*>(wide.data()), wide.size(), read.get()));
  EXPECT_FALSE(read->cut[15]);
  EXPECT_EQ(std::string(read->files[15]), std::string(250, 'p') + ".cur");
  EXPECT_TRUE(read->cut[16]);
}

}  // namespace
