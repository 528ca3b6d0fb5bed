// The destination's rules: every typed folder put into its one canonical full form or refused
// with the reason and the name at fault; paths inside a folder as a record may name them; and
// how canonical paths compare.
#include "installer/destination.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <random>
#include <string>

namespace {

struct Case {
  const char* typed;
  const char* canonical;  // "" when refused
  PathProblem problem;
  const char* part;  // the name at fault
};

const Case kCases[] = {
    {"C:\\Pointrel", "C:\\Pointrel", PathProblem::None, ""},
    {"C:\\Pointrel\\", "C:\\Pointrel", PathProblem::None, ""},
    {"c:\\pointrel", "C:\\pointrel", PathProblem::None, ""},
    {"Pointrel", "C:\\Pointrel", PathProblem::None, ""},
    {"\\Pointrel", "C:\\Pointrel", PathProblem::None, ""},
    {"D:", "D:\\", PathProblem::None, ""},
    {"D:\\", "D:\\", PathProblem::None, ""},
    {"d:Tools", "D:\\Tools", PathProblem::None, ""},
    {"\\", "C:\\", PathProblem::None, ""},
    {"C:/Fwd", "C:\\Fwd", PathProblem::None, ""},
    {"C:/Fwd/", "C:\\Fwd", PathProblem::None, ""},
    {"C:\\a\\\\b\\\\\\", "C:\\a\\b", PathProblem::None, ""},
    {"C:\\a\\.\\b\\.", "C:\\a\\b", PathProblem::None, ""},
    {"C:\\a\\..\\b", "C:\\b", PathProblem::None, ""},
    {"C:\\a\\b\\..\\..", "C:\\", PathProblem::None, ""},
    {"C:\\Программы\\Pointrel", "C:\\Программы\\Pointrel", PathProblem::None, ""},
    {"C:\\ leading space", "C:\\ leading space", PathProblem::None, ""},
    {"C:\\CONSOLE", "C:\\CONSOLE", PathProblem::None, ""},
    {"C:\\COM10", "C:\\COM10", PathProblem::None, ""},
    {"C:\\a.b.c", "C:\\a.b.c", PathProblem::None, ""},
    {"", "", PathProblem::Empty, ""},
    {"\\\\server\\share", "", PathProblem::NetworkPath, ""},
    {"//server/share", "", PathProblem::NetworkPath, ""},
    {"\\\\?\\C:\\Pointrel", "", PathProblem::NetworkPath, ""},
    {":Tools", "", PathProblem::BadDrive, ""},
    {"1:x", "", PathProblem::BadDrive, "1:"},
    {"Ä:x", "", PathProblem::BadCharacter, "Ä:x"},
    {"C:\\Tools:2", "", PathProblem::BadCharacter, "Tools:2"},
    {"CC:\\", "", PathProblem::BadCharacter, "CC:"},
    {"C:\\a<b", "", PathProblem::BadCharacter, "a<b"},
    {"C:\\what?", "", PathProblem::BadCharacter, "what?"},
    {"C:\\tab\there", "", PathProblem::BadCharacter, "tab\there"},
    {"C:\\Dot.", "", PathProblem::TrailingDotOrSpace, "Dot."},
    {"C:\\Trail   ", "", PathProblem::TrailingDotOrSpace, "Trail   "},
    {"C:\\Trail \\inner", "", PathProblem::TrailingDotOrSpace, "Trail "},
    {"C:\\...", "", PathProblem::TrailingDotOrSpace, "..."},
    {"   ", "", PathProblem::TrailingDotOrSpace, "   "},
    {"CON", "", PathProblem::DeviceName, "CON"},
    {"C:\\CON", "", PathProblem::DeviceName, "CON"},
    {"C:\\con.txt", "", PathProblem::DeviceName, "con.txt"},
    {"C:\\Nul \\x", "", PathProblem::TrailingDotOrSpace, "Nul "},
    {"C:\\Tools\\aux", "", PathProblem::DeviceName, "aux"},
    {"C:\\lpt1", "", PathProblem::DeviceName, "lpt1"},
    {"C:\\COM9.log", "", PathProblem::DeviceName, "COM9.log"},
    {"C:\\CONOUT$", "", PathProblem::DeviceName, "CONOUT$"},
    {"C:\\..", "", PathProblem::AboveRoot, ""},
    {"C:\\a\\..\\..\\b", "", PathProblem::AboveRoot, ""},
};

TEST(CanonicalFolder, Table) {
  for (const Case& c : kCases) {
    char out[kTextBufferSize];
    char part[kTextBufferSize];
    std::strcpy(out, "junk");
    const PathProblem problem = CanonicalFolder(c.typed, 0, out, sizeof out, part, sizeof part);
    EXPECT_EQ(c.problem, problem) << "typed \"" << c.typed << "\"";
    EXPECT_STREQ(c.canonical, out) << "typed \"" << c.typed << "\"";
    EXPECT_STREQ(c.part, part) << "typed \"" << c.typed << "\"";
    // The canonical form is its own canonical form.
    if (problem == PathProblem::None) {
      EXPECT_TRUE(IsCanonicalFolder(out)) << out;
    }
  }
}

// Each problem has words of its own, naming the name at fault where there is one.
TEST(CanonicalFolder, ReasonsNameTheFault) {
  char reason[512];
  DescribePathProblem(PathProblem::DeviceName, "CON", reason, sizeof reason);
  EXPECT_STREQ("\"CON\" is the name of a device, not of a folder.", reason);
  DescribePathProblem(PathProblem::TrailingDotOrSpace, "Dot.", reason, sizeof reason);
  EXPECT_STREQ("The name \"Dot.\" ends in a dot or a space, which Windows drops from folder names.", reason);
  DescribePathProblem(PathProblem::None, "", reason, sizeof reason);
  EXPECT_STREQ("", reason);
  for (PathProblem problem : {PathProblem::Empty, PathProblem::NetworkPath, PathProblem::BadDrive, PathProblem::BadCharacter,
                              PathProblem::AboveRoot, PathProblem::TooLong}) {
    DescribePathProblem(problem, "x", reason, sizeof reason);
    EXPECT_GT(std::strlen(reason), 20u) << static_cast<int>(problem);
  }
  char tiny[8] = "?";
  DescribePathProblem(PathProblem::DeviceName, "CON", tiny, sizeof tiny);
  EXPECT_STREQ("", tiny) << "a reason that does not fit is left out whole";
}

// The folder must leave room below it for the installation's longest path, counted in the
// platform's wide characters.
TEST(CanonicalFolder, RoomForTheLongestPath) {
  const std::size_t room = 50;
  char out[kTextBufferSize];
  char part[8];
  // "C:\" + n letters + "\" + room must stay below 260.
  const std::size_t fits = kMaxPath - 1 - room - 4;
  EXPECT_EQ(PathProblem::None, CanonicalFolder(("C:\\" + std::string(fits, 'a')).c_str(), room, out, sizeof out, part, sizeof part));
  EXPECT_EQ(PathProblem::TooLong,
            CanonicalFolder(("C:\\" + std::string(fits + 1, 'a')).c_str(), room, out, sizeof out, part, sizeof part));
  EXPECT_STREQ("", out);
  // Two-byte letters count once each.
  std::string cyrillic = "C:\\";
  for (std::size_t i = 0; i < fits; ++i) cyrillic += "ж";
  EXPECT_EQ(PathProblem::None, CanonicalFolder(cyrillic.c_str(), room, out, sizeof out, part, sizeof part));
  EXPECT_EQ(PathProblem::TooLong, CanonicalFolder((cyrillic + "ж").c_str(), room, out, sizeof out, part, sizeof part));
  // A root needs no separator of its own.
  EXPECT_EQ(PathProblem::None, CanonicalFolder("D:", kMaxPath - 4, out, sizeof out, part, sizeof part));
  EXPECT_EQ(PathProblem::TooLong, CanonicalFolder("D:", kMaxPath - 3, out, sizeof out, part, sizeof part));
  // Texts that fill the buffer, and a buffer without a terminator.
  EXPECT_EQ(PathProblem::TooLong, CanonicalFolder(std::string(kTextBufferSize - 1, 'a').c_str(), 0, out, sizeof out, part, sizeof part));
  auto unterminated = std::make_unique<char[]>(kTextBufferSize);
  std::memset(unterminated.get(), 'a', kTextBufferSize);
  EXPECT_EQ(PathProblem::TooLong, CanonicalFolder(unterminated.get(), 0, out, sizeof out, part, sizeof part));
  char small[6];
  EXPECT_EQ(PathProblem::TooLong, CanonicalFolder("C:\\Pointrel", 0, small, sizeof small, part, sizeof part));
}

// Random texts rich in separators, dots, colons and spaces, each in a heap buffer of exactly
// its size: the result is canonical and a fixed point, or refused with nothing written.
TEST(CanonicalFolder, RandomTextsKeepTheForm) {
  const char alphabet[] = "::\\\\\\//aZ. .9~<ж";
  std::mt19937 random(20240611);
  int accepted = 0;
  for (int run = 0; run < 100000; ++run) {
    const std::size_t length = run % 4 == 0 ? random() % 300 : random() % 16;
    std::string typed;
    for (std::size_t i = 0; i < length; ++i) typed += alphabet[random() % (sizeof alphabet - 1)];
    auto text = std::make_unique<char[]>(typed.size() + 1);
    std::memcpy(text.get(), typed.c_str(), typed.size() + 1);
    char out[kTextBufferSize];
    char part[kTextBufferSize];
    if (CanonicalFolder(text.get(), 0, out, sizeof out, part, sizeof part) != PathProblem::None) {
      ASSERT_STREQ("", out) << typed;
      continue;
    }
    ++accepted;
    const std::size_t n = std::strlen(out);
    ASSERT_GE(n, 3u) << typed;
    ASSERT_TRUE(out[0] >= 'A' && out[0] <= 'Z' && out[1] == ':' && out[2] == '\\') << typed << " -> " << out;
    ASSERT_TRUE(n == 3 || out[n - 1] != '\\') << out;
    ASSERT_EQ(nullptr, std::strstr(out, "\\\\")) << out;
    ASSERT_EQ(nullptr, std::strchr(out, '/')) << out;
    ASSERT_EQ(nullptr, std::strchr(out + 2, ':')) << out;
    ASSERT_TRUE(IsCanonicalFolder(out)) << typed << " -> " << out;
  }
  EXPECT_GT(accepted, 10000);
}

TEST(InnerPath, OnlyNamesBelowAFolder) {
  for (const char* inside : {"Pointrel.EXE", "NORMAL\\Apollo.CUR", "BUSY\\There is nothing wrong....ANI", "a\\b\\c\\d",
                             "Schemes\\Ocean\\Курсор.cur", " x"}) {
    EXPECT_TRUE(IsInnerPath(inside)) << inside;
  }
  for (const char* outside : {"", "\\x", "C:\\x", "C:x", "..", "..\\x", "a\\..\\..\\x", ".\\x", "a\\\\b", "a\\", "a/b",
                              "CON", "a\\AUX.txt", "x.", "x ", "a:b", "a\"b", "a|b", "\x01"}) {
    EXPECT_FALSE(IsInnerPath(outside)) << outside;
  }
  EXPECT_FALSE(IsInnerPath(std::string(kMaxPath, 'a').c_str())) << "longer than the platform allows";
}

TEST(CanonicalPaths, CompareAsThePlatformDoes) {
  EXPECT_TRUE(SamePath("C:\\Pointrel", "c:\\POINTREL"));
  EXPECT_FALSE(SamePath("C:\\Pointrel", "C:\\Pointrel2"));
  EXPECT_FALSE(SamePath("C:\\Pointrel", "C:\\Pointre"));
  struct Inside {
    const char* path;
    const char* folder;
    bool inside;
  };
  const Inside cases[] = {
      {"C:\\Pointrel\\NORMAL", "C:\\Pointrel", true},
      {"c:\\pointrel\\normal\\x", "C:\\Pointrel", true},
      {"C:\\Pointrel", "C:\\Pointrel", false},
      {"C:\\Pointrel2", "C:\\Pointrel", false},
      {"C:\\Pointrel2\\x", "C:\\Pointrel", false},
      {"C:\\x", "C:\\", true},
      {"C:\\", "C:\\", false},
      {"D:\\x", "C:\\", false},
      {"C:\\Pointrel\\x", "", false},
  };
  for (const Inside& c : cases) EXPECT_EQ(c.inside, IsInsideFolder(c.path, c.folder)) << c.path << " in " << c.folder;
}

}  // namespace
