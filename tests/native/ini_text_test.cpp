// INI-style text: sections, keys and values as a person or another program writes them.
#include "platform/ini_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> Entries(const std::string& text) {
  platform::IniReader reader(text.c_str());
  platform::IniEntry entry;
  std::vector<std::string> out;
  while (reader.Next(&entry)) {
    out.push_back(std::string(entry.section) + "|" + entry.key + "|" + entry.value + (entry.valueCut ? "|cut" : ""));
  }
  return out;
}

TEST(IniText, LinesAreReadAsWritten) {
  struct Case {
    const char* name;
    std::string text;
    std::vector<std::string> entries;
  };
  const Case cases[] = {
      {"plain", "[Theme]\r\nDisplayName=Mine\r\n[Control Panel\\Cursors]\r\nArrow=a.cur\r\n",
       {"Theme|DisplayName|Mine", "Control Panel\\Cursors|Arrow|a.cur"}},
      {"blanks around", "  [ Scheme ]  \n\tName =  My pack \t\n", {"Scheme|Name|My pack"}},
      {"quotes around a value", "[S]\nA=\"quoted value\"\nB=\"\nC=\"a\"b\"\n", {"S|A|quoted value", "S|B|\"", "S|C|a\"b"}},
      {"comments and odd lines", "; comment\n[S]\n;A=1\nno equals sign\n=no key\nB=2 ; not a comment\n",
       {"S|B|2 ; not a comment"}},
      {"before any section", "A=1\n[S]\nB=2", {"|A|1", "S|B|2"}},
      {"an unclosed section", "[Open\nA=1\n", {"Open|A|1"}},
      {"an equals sign in the value", "[S]\nA=b=c\n", {"S|A|b=c"}},
      {"empty value", "[S]\nA=\n", {"S|A|"}},
      {"nothing", "", {}},
  };
  for (const Case& c : cases) EXPECT_EQ(Entries(c.text), c.entries) << c.name;
}

TEST(IniText, LongNamesAreSkippedAndLongValuesSaySo) {
  const std::string longKey(platform::kIniNameSize, 'k');
  const std::string longSection = "[" + std::string(platform::kIniNameSize, 's') + "]\nA=1\n[S]\n";
  EXPECT_EQ(Entries(longSection + longKey + "=1\nB=2\n"), std::vector<std::string>{"S|B|2"});
  const std::string value(platform::kIniValueSize, 'v');
  EXPECT_EQ(Entries("[S]\nA=" + value + "\n"),
            std::vector<std::string>{"S|A|" + value.substr(0, platform::kIniValueSize - 1) + "|cut"});
  const std::string fits(platform::kIniValueSize - 1, 'v');
  EXPECT_EQ(Entries("[S]\nA=" + fits + "\n"), std::vector<std::string>{"S|A|" + fits});
}

TEST(IniText, CaseIsIgnoredForAsciiLettersOnly) {
  EXPECT_TRUE(platform::SameTextIgnoringCase("Control Panel\\Cursors", "control panel\\CURSORS"));
  EXPECT_FALSE(platform::SameTextIgnoringCase("Arrow", "Arrows"));
  EXPECT_FALSE(platform::SameTextIgnoringCase("Arrows", "Arrow"));
  EXPECT_TRUE(platform::SameTextIgnoringCase("", ""));
  EXPECT_FALSE(platform::SameTextIgnoringCase("\xC3\x89", "\xC3\xA9"));  // not beyond ASCII
  EXPECT_FALSE(platform::SameTextIgnoringCase("[", "{"));
}

}  // namespace
