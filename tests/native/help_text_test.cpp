// The help files' text format: title, topics and their texts, read from any bytes.
#include "platform/help_text.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

struct ParseCase {
  const char* name;
  std::string content;
  bool ok;
  std::string title;
  std::vector<std::pair<std::string, std::string>> topics;
};

TEST(HelpText, ParsesTitleTopicsAndText) {
  const ParseCase cases[] = {
      {"two topics, LF and CR LF",
       "My Help\n\n# One\nline a\nline b\n\n# Two\r\nx\r\n",
       true,
       "My Help",
       {{"One", "line a\r\nline b"}, {"Two", "x"}}},
      {"blank lines around the text are dropped, inner ones kept",
       "\n\n  Title  \n# T\n\n\nfirst\n\nsecond\n\n\n",
       true,
       "Title",
       {{"T", "first\r\n\r\nsecond"}}},
      {"topic without text", "# Only\n", true, "", {{"Only", ""}}},
      {"title is trimmed, topic title too", "\t Help \n#   Spaced out   \nbody", true, "Help", {{"Spaced out", "body"}}},
      {"a hash without a space is text", "T\n# A\n#hashtag\n# \n#", true, "T", {{"A", "#hashtag\r\n# \r\n#"}}},
      {"NUL reads as a space", std::string("T\n# A\nx\0y", 9), true, "T", {{"A", "x y"}}},
      {"no topic", "Title\njust text\n#notatopic\n", false, "Title", {}},
      {"empty", "", false, "", {}},
      {"only a CR", "\r", false, "", {}},
      {"no final newline", "# Last\nend", true, "", {{"Last", "end"}}},
  };
  for (const ParseCase& c : cases) {
    platform::HelpDocument document;
    EXPECT_EQ(platform::ParseHelpText(c.content, &document), c.ok) << c.name;
    EXPECT_EQ(document.title, c.title) << c.name;
    ASSERT_EQ(document.topics.size(), c.topics.size()) << c.name;
    for (size_t i = 0; i < c.topics.size(); ++i) {
      EXPECT_EQ(document.topics[i].title, c.topics[i].first) << c.name << " topic " << i;
      EXPECT_EQ(document.topics[i].text, c.topics[i].second) << c.name << " topic " << i;
    }
  }
}

TEST(HelpText, BinaryGarbageIsNotAHelpFile) {
  std::string noise;
  unsigned state = 12345;
  for (int i = 0; i < 100000; ++i) {
    state = state * 1103515245u + 12345u;
    char c = static_cast<char>(state >> 16);
    noise += c == '#' ? '.' : c;  // no topic can start
  }
  platform::HelpDocument document;
  EXPECT_FALSE(platform::ParseHelpText(noise, &document));
  EXPECT_TRUE(document.topics.empty());
}

}  // namespace
