// Names read from outside that must name a file directly inside a known folder.
#include "platform/file_names.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct Case {
  std::string name;
  bool plain;
};

TEST(FileNames, OnlyBareNamesInsideTheFolderPass) {
  const Case cases[] = {
      {"Arrow.CUR", true},
      {"Pulsating I-beam.ANI", true},
      {".CUR", true},  // a name the library has always listed
      {"a", true},
      {"There is nothing wrong....ANI", true},
      {"Стрелка.cur", true},
      {"", false},
      {".", false},
      {"..", false},
      {"..\\..\\windows\\win.ini", false},
      {"../x.cur", false},
      {"sub\\x.cur", false},
      {"C:x.cur", false},
      {"C:\\Windows\\x.cur", false},
      {"\\\\server\\share\\x.cur", false},
      {"x.cur:stream", false},
      {"x.cur.", false},
      {"x.cur ", false},
      {"a<b.cur", false},
      {"a|b.cur", false},
      {"a?.cur", false},
      {"a*.cur", false},
      {"a\"b.cur", false},
      {std::string("a\tb.cur"), false},
      {std::string("a\x01.cur"), false},
  };
  for (const Case& c : cases) EXPECT_EQ(IsPlainFileName(c.name.c_str()), c.plain) << '"' << c.name << '"';
  EXPECT_FALSE(IsPlainFileName(nullptr));
}

TEST(FileNames, DevicesAreNeverFiles) {
  const Case cases[] = {
      {"CON", false},     {"con", false},      {"Con.cur", false},    {"NUL.ANI", false},   {"PRN", false},
      {"AUX.txt", false}, {"COM1", false},     {"com9.cur", false},   {"LPT1.CUR", false},  {"lpt9", false},
      {"CONIN$", false},  {"conout$.cur", false}, {"CON .cur", false}, {"CLOCK$.cur", false},
      {"COM0", false},    {"LPT\xC2\xB9.cur", false}, {"COM\xC2\xB3", false},
      {"COM\xC2\xB4.cur", true}, {"COM10.cur", true}, {"CONSOLE.cur", true}, {"NULL.cur", true},   {"LPT.cur", true},
      {"ACON.cur", true}, {"CON_1.cur", true},
  };
  for (const Case& c : cases) EXPECT_EQ(IsPlainFileName(c.name.c_str()), c.plain) << '"' << c.name << '"';
}

TEST(FileNames, LengthIsCountedInUtf16Units) {
  EXPECT_TRUE(IsPlainFileName(std::string(255, 'a').c_str()));
  EXPECT_FALSE(IsPlainFileName(std::string(256, 'a').c_str()));
  std::string cyrillic;
  for (int i = 0; i < 255; ++i) cyrillic += "\xD0\xB6";  // two bytes, one unit each
  EXPECT_TRUE(IsPlainFileName(cyrillic.c_str()));
  EXPECT_FALSE(IsPlainFileName((cyrillic + "\xD0\xB6").c_str()));
  std::string emoji;
  for (int i = 0; i < 128; ++i) emoji += "\xF0\x9F\x98\x80";  // four bytes, two units each
  EXPECT_FALSE(IsPlainFileName(emoji.c_str()));
  emoji.resize(127 * 4);
  EXPECT_TRUE(IsPlainFileName(emoji.c_str()));
}

}  // namespace
