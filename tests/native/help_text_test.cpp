// The help files' text format: title, topics and their texts, read from any bytes.
#include "platform/help_text.h"

#include <gtest/gtest.h>

#include <cstring>
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
      {"blank lines of spaces between texts kept as they stand", "# A\nx\n  \n\t\ny\n \n", true, "",
       {{"A", "x\r\n  \r\n\t\r\ny"}}},
      {"only line breaks", "\n\n\n# A\n\n\n\n", true, "", {{"A", ""}}},
      {"NUL around the title and in a topic line", std::string("\0T\0\n#\0B\n", 9), true, "T", {{"B", ""}}},
  };
  for (const ParseCase& c : cases) {
    platform::HelpDocument document;
    EXPECT_EQ(platform::ParseHelpText(c.content.data(), c.content.size(), &document), c.ok) << c.name;
    EXPECT_EQ(std::string(document.title()), c.title) << c.name;
    ASSERT_EQ(document.topicCount(), c.topics.size()) << c.name;
    for (size_t i = 0; i < c.topics.size(); ++i) {
      EXPECT_EQ(std::string(document.topic(i).title), c.topics[i].first) << c.name << " topic " << i;
      EXPECT_EQ(std::string(document.topic(i).text), c.topics[i].second) << c.name << " topic " << i;
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
  EXPECT_FALSE(platform::ParseHelpText(noise.data(), noise.size(), &document));
  EXPECT_EQ(document.topicCount(), 0u);
}

TEST(HelpText, ANewParseReplacesTheOldDocument) {
  platform::HelpDocument document;
  const std::string first = "One\n# A\na\n# B\nb\n", second = "# C\nc\n";
  ASSERT_TRUE(platform::ParseHelpText(first.data(), first.size(), &document));
  ASSERT_TRUE(platform::ParseHelpText(second.data(), second.size(), &document));
  EXPECT_STREQ(document.title(), "");
  ASSERT_EQ(document.topicCount(), 1u);
  EXPECT_STREQ(document.topic(0).text, "c");
  EXPECT_FALSE(platform::ParseHelpText(nullptr, 0, &document));
  EXPECT_EQ(document.topicCount(), 0u) << "a failed parse leaves an empty document";
}

TEST(HelpText, TopicsPastTheLastPlaceAreTextOfTheLast) {
  std::string content;
  for (size_t i = 0; i < platform::kMaxHelpTopics + 2; ++i) content += "# T" + std::to_string(i) + "\nx\n";
  platform::HelpDocument document;
  ASSERT_TRUE(platform::ParseHelpText(content.data(), content.size(), &document));
  ASSERT_EQ(document.topicCount(), platform::kMaxHelpTopics);
  const std::string last = std::to_string(platform::kMaxHelpTopics - 1);
  EXPECT_EQ(std::string(document.topic(platform::kMaxHelpTopics - 1).title), "T" + last);
  const std::string next = std::to_string(platform::kMaxHelpTopics);
  EXPECT_EQ(std::string(document.topic(platform::kMaxHelpTopics - 1).text),
            "x\r\n# T" + next + "\r\nx\r\n# T" + std::to_string(platform::kMaxHelpTopics + 1) + "\r\nx");
}

TEST(HelpText, TheLargestFileReadsAndALargerOneDoesNot) {
  // Every byte a line break: the worst case for the joined texts' storage.
  std::string content = "# A\nx";
  content.resize(platform::kMaxHelpFileSize - 1, '\n');
  content += "y";
  platform::HelpDocument document;
  ASSERT_TRUE(platform::ParseHelpText(content.data(), content.size(), &document));
  // "x", a line break and an empty line for each of the other line breaks but one, "y".
  EXPECT_EQ(std::strlen(document.topic(0).text), 1 + 2 * (platform::kMaxHelpFileSize - 7) + 2 + 1);
  content += "z";
  EXPECT_FALSE(platform::ParseHelpText(content.data(), content.size(), &document));
}

}  // namespace
