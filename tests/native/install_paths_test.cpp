#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "installer/copy_worker.h"
#include "installer/install_state.h"

namespace {

TEST(InstallState, StartsAsTheFirstPageExpects) {
  InstallState state;
  EXPECT_STREQ("", state.installerPath);
  EXPECT_STREQ("C:\\Pointrel", state.destinationPath);
  EXPECT_EQ(1, state.desktopShortcut);
  EXPECT_EQ(0, state.startAtBoot);
  EXPECT_EQ(0, state.stopRequested.Load());
  EXPECT_EQ(InstallFailure::None, state.failure);
  EXPECT_EQ(0, state.workerDone.Load());
  EXPECT_EQ(1, state.displayTaken.Load());
  EXPECT_EQ(4u, sizeof state.desktopShortcut);
  EXPECT_EQ(4u, sizeof state.failure);
  EXPECT_EQ(0, static_cast<int>(InstallFailure::None));
  EXPECT_EQ(1, static_cast<int>(InstallFailure::DestinationFolder));
  EXPECT_EQ(2, static_cast<int>(InstallFailure::Subfolders));
  EXPECT_EQ(3, static_cast<int>(InstallFailure::CopyFailed));
}

struct JoinCase {
  const char* folder;
  const char* name;
  const char* expected;
};

TEST(JoinPath, Table) {
  const JoinCase cases[] = {
      {"C:\\Pointrel\\", "NORMAL\\Inflated arrow.CUR", "C:\\Pointrel\\NORMAL\\Inflated arrow.CUR"},
      {"C:\\Pointrel", "Pointrel.EXE", "C:\\Pointrel\\Pointrel.EXE"},
      {"C:\\", "Pointrel.EXE", "C:\\Pointrel.EXE"},
      {"", "NORMAL", "\\NORMAL"},
      {"C:", "x", "C:\\x"},
      {"C:\\a\\\\", "x", "C:\\a\\\\x"},  // only a missing separator is supplied
      {"C:\\a", "", "C:\\a\\"},
  };
  for (const JoinCase& c : cases) {
    char out[kPathBuffer];
    ASSERT_TRUE(JoinPath(out, sizeof out, c.folder, c.name)) << c.folder << " + " << c.name;
    EXPECT_STREQ(c.expected, out) << c.folder << " + " << c.name;
  }
}

TEST(JoinPath, RefusesWhatDoesNotFit) {
  // 10 + 1 + 5 = 16 characters need 17 bytes.
  char out[17];
  EXPECT_TRUE(JoinPath(out, 17, "0123456789", "abcde"));
  EXPECT_STREQ("0123456789\\abcde", out);
  std::memset(out, 'x', sizeof out);
  EXPECT_FALSE(JoinPath(out, 16, "0123456789", "abcde"));
  EXPECT_STREQ("", out);
  EXPECT_TRUE(JoinPath(out, 16, "0123456789\\", "abcd"));
  EXPECT_FALSE(JoinPath(out, 0, "a", "b"));

  std::string folder(500, 'f');
  char path[kPathBuffer];
  EXPECT_TRUE(JoinPath(path, sizeof path, folder.c_str(), std::string(10, 'n').c_str()));
  EXPECT_EQ(511u, std::strlen(path));
  EXPECT_FALSE(JoinPath(path, sizeof path, folder.c_str(), std::string(11, 'n').c_str()));
}

TEST(CopyText, WholeOrNothing) {
  char out[4];
  EXPECT_TRUE(CopyText(out, sizeof out, "abc"));
  EXPECT_STREQ("abc", out);
  EXPECT_FALSE(CopyText(out, sizeof out, "abcd"));
  EXPECT_STREQ("", out);
}

TEST(ComposeSourcePath, TakesTheInstallersFolder) {
  const JoinCase cases[] = {
      {"A:\\WENDSET.EXE", "POINTREL.EXE", "A:\\POINTREL.EXE"},
      {"C:\\medium\\disk 1\\WENDSET.EXE", "HUGEI-~1.CUR", "C:\\medium\\disk 1\\HUGEI-~1.CUR"},
      {"WENDSET.EXE", "POINTREL.EXE", "\\POINTREL.EXE"},
      {"C:\\a\\", "X", "C:\\a\\X"},
  };
  for (const JoinCase& c : cases) {
    char out[kPathBuffer];
    ASSERT_TRUE(ComposeSourcePath(out, sizeof out, c.folder, c.name)) << c.folder;
    EXPECT_STREQ(c.expected, out) << c.folder;
  }
}

TEST(ComposeSourcePath, RefusesWhatDoesNotFit) {
  char path[kPathBuffer];
  EXPECT_FALSE(ComposeSourcePath(path, sizeof path, "", "POINTREL.EXE")) << "no installer path, no folder";
  char small[10];
  EXPECT_FALSE(ComposeSourcePath(small, sizeof small, "C:\\x\\W.EXE", "abcd.c"));  // 11 chars
  EXPECT_STREQ("", small);
  EXPECT_TRUE(ComposeSourcePath(small, sizeof small, "C:\\x\\W.EXE", "ab.c"));  // 9 chars
  EXPECT_STREQ("C:\\x\\ab.c", small);
}

TEST(ComposeLinkPath, Table) {
  const JoinCase cases[] = {
      {"C:\\WINDOWS", kDesktopFolder, "C:\\WINDOWS\\DESKTOP\\Pointrel.LNK"},
      {"C:\\WINDOWS\\", kDesktopFolder, "C:\\WINDOWS\\DESKTOP\\Pointrel.LNK"},
      {"C:\\windows", kStartupFolder, "C:\\windows\\Start Menu\\Programs\\StartUp\\Pointrel.LNK"},
      {"", kDesktopFolder, "\\DESKTOP\\Pointrel.LNK"},
  };
  for (const JoinCase& c : cases) {
    char out[kPathBuffer];
    ASSERT_TRUE(ComposeLinkPath(out, sizeof out, c.folder, c.name)) << c.folder;
    EXPECT_STREQ(c.expected, out) << c.folder;
  }
  char out[kPathBuffer];
  EXPECT_FALSE(ComposeLinkPath(out, sizeof out, std::string(490, 'w').c_str(), kStartupFolder));
}

TEST(StripTrailingBackslash, KeepsADriveRoot) {
  const JoinCase cases[] = {
      {"C:\\Pointrel\\", "", "C:\\Pointrel"},
      {"C:\\Pointrel", "", "C:\\Pointrel"},
      {"C:\\", "", "C:\\"},
      {"D:\\", "", "D:\\"},
      {"C:\\a\\", "", "C:\\a"},
      {"C:\\a\\\\", "", "C:\\a\\"},  // one only
  };
  for (const JoinCase& c : cases) {
    char path[kPathBuffer];
    std::strcpy(path, c.folder);
    StripTrailingBackslash(path);
    EXPECT_STREQ(c.expected, path) << c.folder;
  }
}

TEST(FailureMessage, OnePerFailure) {
  EXPECT_EQ(nullptr, FailureMessage(InstallFailure::None));
  EXPECT_STREQ("Unable to create destination directory", FailureMessage(InstallFailure::DestinationFolder));
  EXPECT_STREQ("Unable to create subdirectories", FailureMessage(InstallFailure::Subfolders));
  EXPECT_STREQ("Error copying application files", FailureMessage(InstallFailure::CopyFailed));
  EXPECT_STREQ("The installation is NOT complete", kNotCompleteMessage);
}

}  // namespace
