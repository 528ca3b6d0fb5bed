#include "installer/destination.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <random>
#include <string>

namespace {

struct NormalizeCase {
  const char* typed;
  const char* expected;  // nullptr: refused
};

const NormalizeCase kCases[] = {
    {"C:\\Pointrel", "C:\\Pointrel\\"},
    {"C:\\Pointrel\\", "C:\\Pointrel\\"},
    {"Pointrel", "C:\\Pointrel\\"},
    {"\\Pointrel", "C:\\Pointrel\\"},
    {"D:", "D:\\"},
    {"D:\\", "D:\\"},
    {"D:Tools", "D:\\Tools\\"},
    {"\\", "C:\\"},
    {"", nullptr},
    {"C:\\Tools:2", nullptr},
    {":Tools", nullptr},
    // More than one trailing backslash: one goes, the next stays.
    {"C:\\Pointrel\\\\", "C:\\Pointrel\\"},
    {"C:\\\\", "C:\\"},
    {"\\\\", "C:\\"},
    {"x", "C:\\x\\"},
    {"C:", "C:\\"},
    {":", nullptr},
    {"C::", nullptr},
    {"CC:\\", nullptr},
    // No check of the drive letter or of forward slashes: the file system says later.
    {"1:x", "1:\\x\\"},
    {"C:/Tools", "C:\\/Tools\\"},
    {"a\\b\\", "C:\\a\\b\\"},
};

TEST(NormalizeDestination, Table) {
  for (const NormalizeCase& c : kCases) {
    char buffer[kTextBufferSize];
    std::strcpy(buffer, c.typed);
    bool ok = NormalizeDestination(buffer);
    if (c.expected == nullptr) {
      EXPECT_FALSE(ok) << "typed \"" << c.typed << "\" gave \"" << buffer << "\"";
      EXPECT_STREQ(c.typed, buffer) << "a refused text is left as typed";
    } else {
      EXPECT_TRUE(ok) << "typed \"" << c.typed << "\"";
      EXPECT_STREQ(c.expected, buffer) << "typed \"" << c.typed << "\"";
    }
  }
}

TEST(NormalizeDestination, IsIdempotent) {
  for (const NormalizeCase& c : kCases) {
    if (c.expected == nullptr) continue;
    char buffer[kTextBufferSize];
    std::strcpy(buffer, c.expected);
    ASSERT_TRUE(NormalizeDestination(buffer)) << c.expected;
    EXPECT_STREQ(c.expected, buffer);
  }
}

// The longest texts: the result must fit the buffer, or the text is refused unchanged.
TEST(NormalizeDestination, LengthLimit) {
  struct LengthCase {
    std::string typed;
    std::size_t expectedLength;  // 0: refused
  };
  const std::size_t k = kTextBufferSize;  // room for k - 1 characters
  const LengthCase cases[] = {
      {"C:\\" + std::string(k - 5, 'a') + "\\", k - 1},  // k - 1 typed, already normal
      {"C:\\" + std::string(k - 4, 'a'), 0},               // would need a final "\": k
      {"C:\\" + std::string(k - 5, 'a'), k - 1},           // k - 2 typed, one "\" added
      {std::string(k - 5, 'a'), k - 1},                      // "C:" + "\" + final "\"
      {std::string(k - 4, 'a'), 0},
      {std::string(k - 1, 'a'), 0},
      {"C:" + std::string(k - 4, 'a'), 0},                   // "\" inserted and appended: k
      {"C:" + std::string(k - 5, 'a'), k - 1},
  };
  for (const LengthCase& c : cases) {
    char buffer[kTextBufferSize];
    std::strcpy(buffer, c.typed.c_str());
    bool ok = NormalizeDestination(buffer);
    EXPECT_EQ(c.expectedLength != 0, ok) << "typed length " << c.typed.size();
    if (ok) {
      EXPECT_EQ(c.expectedLength, std::strlen(buffer)) << "typed length " << c.typed.size();
    } else {
      EXPECT_EQ(c.typed, buffer) << "typed length " << c.typed.size();
    }
  }
}

TEST(NormalizeDestination, BufferWithoutTerminatorIsRefused) {
  auto buffer = std::make_unique<char[]>(kTextBufferSize);
  std::memset(buffer.get(), 'a', kTextBufferSize);
  EXPECT_FALSE(NormalizeDestination(buffer.get()));
}

// Random texts that fill up to the whole buffer, from an alphabet rich in colons and
// backslashes, each in a heap buffer of exactly kTextBufferSize bytes so that AddressSanitizer
// sees any write past it.
TEST(NormalizeDestination, RandomTextsKeepTheForm) {
  const char alphabet[] = "::\\\\\\/aZ. 9~";
  std::mt19937 random(20240611);
  int accepted = 0;
  for (int run = 0; run < 200000; ++run) {
    std::size_t length = run % 4 == 0 ? random() % (kTextBufferSize) : random() % 16;
    std::string typed;
    for (std::size_t i = 0; i < length; ++i) typed += alphabet[random() % (sizeof alphabet - 1)];
    auto buffer = std::make_unique<char[]>(kTextBufferSize);
    std::memcpy(buffer.get(), typed.c_str(), typed.size() + 1);
    char* text = buffer.get();
    if (!NormalizeDestination(text)) {
      ASSERT_EQ(typed, std::string(text)) << "refused text changed";
      continue;
    }
    ++accepted;
    std::size_t n = strnlen(text, kTextBufferSize);
    ASSERT_LT(n, kTextBufferSize) << typed;
    ASSERT_GE(n, 3u) << typed;
    // The drive is whatever precedes the colon; there is no check of it, but it is never
    // empty, a colon or the terminator.
    ASSERT_NE(':', text[0]) << typed;
    ASSERT_EQ(':', text[1]) << typed;
    ASSERT_EQ('\\', text[2]) << typed;
    ASSERT_EQ('\\', text[n - 1]) << typed;
    ASSERT_EQ(nullptr, std::strchr(text + 2, ':')) << typed;
    if (typed.size() >= 2 && typed[1] == ':') {
      ASSERT_EQ(typed[0], text[0]) << typed;
    }
    // The normal form is a fixed point, unless it ends in two backslashes (only one is
    // removed per pass).
    std::string once = text;
    ASSERT_TRUE(NormalizeDestination(text)) << once;
    if (once[n - 2] != '\\') {
      ASSERT_EQ(once, std::string(text));
    }
  }
  EXPECT_GT(accepted, 10000);
}

}  // namespace
