// CreateShortcut writes a shortcut that the platform's shell-link component reads back.
#include <gtest/gtest.h>
#include <objbase.h>

#include <string>

#include "platform/shell_link.h"
#include "tests/wine/support/shortcut_reader.h"
#include "tests/wine/support/wine_test_support.h"

using namespace wine_test;

namespace {

class ShellLink : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = MakeTempFolder("wendset-links");
    target = folder + "\\Target.EXE";
    ASSERT_TRUE(WriteFile(target, "MZ"));
  }
  std::string folder, target;
};

TEST_F(ShellLink, RoundTrip) {
  const std::string link = folder + "\\Pointrel.LNK";
  HRESULT result = platform::CreateShortcut(target.c_str(), link.c_str(), folder.c_str(), "Pointrel version 2.0");
  ASSERT_EQ(S_OK, result);
  ASSERT_TRUE(FileExists(link));
  ShortcutContents read = ReadShortcut(link);
  ASSERT_EQ(S_OK, read.loaded);
  EXPECT_STRCASEEQ(target.c_str(), read.target.c_str());
  EXPECT_STRCASEEQ(folder.c_str(), read.workingFolder.c_str());
  EXPECT_EQ("Pointrel version 2.0", read.description);
}

TEST_F(ShellLink, OverwritesAnEarlierLink) {
  const std::string link = folder + "\\Again.LNK";
  ASSERT_EQ(S_OK, platform::CreateShortcut(target.c_str(), link.c_str(), "C:\\", "first"));
  ASSERT_EQ(S_OK, platform::CreateShortcut(target.c_str(), link.c_str(), folder.c_str(), "second"));
  EXPECT_EQ("second", ReadShortcut(link).description);
}

// The target as stored is read back, also once it no longer exists; a file that is no shortcut
// has none.
TEST_F(ShellLink, TheTargetIsReadBack) {
  const std::string link = folder + "\\Read.LNK";
  ASSERT_EQ(S_OK, platform::CreateShortcut(target.c_str(), link.c_str(), folder.c_str(), "x"));
  char read[MAX_PATH] = "";
  ASSERT_TRUE(platform::ReadShortcutTarget(link.c_str(), read, sizeof read));
  EXPECT_STRCASEEQ(target.c_str(), read);
  RemoveFile(target);
  ASSERT_TRUE(platform::ReadShortcutTarget(link.c_str(), read, sizeof read));
  EXPECT_STRCASEEQ(target.c_str(), read);
  char tiny[8];
  EXPECT_FALSE(platform::ReadShortcutTarget(link.c_str(), tiny, sizeof tiny)) << "does not fit";
  const std::string plain = folder + "\\Plain.LNK";
  ASSERT_TRUE(WriteFile(plain, "[InternetShortcut]\r\nURL=x\r\n"));
  for (const std::string& notALink : {plain, folder + "\\Missing.LNK"}) {
    EXPECT_FALSE(platform::ReadShortcutTarget(notALink.c_str(), read, sizeof read)) << notALink;
  }
}

// Failures come back as results and leave nothing behind.
TEST_F(ShellLink, FailuresAreResults) {
  const std::string missingFolder = folder + "\\no such folder\\Pointrel.LNK";
  EXPECT_TRUE(FAILED(platform::CreateShortcut(target.c_str(), missingFolder.c_str(), folder.c_str(), "x")));
  EXPECT_FALSE(FileExists(missingFolder));

  std::string overlong = folder + "\\" + std::string(300, 'l') + ".LNK";
  EXPECT_TRUE(FAILED(platform::CreateShortcut(target.c_str(), overlong.c_str(), folder.c_str(), "x")));
  // Nothing saved under the first MAX_PATH characters of the name either.
  WIN32_FIND_DATAA found;
  HANDLE search = ::FindFirstFileA((folder + "\\l*").c_str(), &found);
  EXPECT_EQ(INVALID_HANDLE_VALUE, search);
  if (search != INVALID_HANDLE_VALUE) ::FindClose(search);
}

// The component object library is closed again after each call: the thread can go on to use
// another apartment model.
TEST_F(ShellLink, LeavesTheThreadAsItWas) {
  const std::string link = folder + "\\Thread.LNK";
  ASSERT_EQ(S_OK, platform::CreateShortcut(target.c_str(), link.c_str(), folder.c_str(), "x"));
  HRESULT again = ::CoInitializeEx(nullptr, COINIT_MULTITHREADED);
  EXPECT_EQ(S_OK, again) << "an apartment was left open";
  if (SUCCEEDED(again)) ::CoUninitialize();
}

}  // namespace
