// Where the settings file lives and the older places it is taken over from.
#include "utility/app/settings_location.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(SettingsLocation, ComposesTheFolderAndFileWithOneSeparator) {
  char out[260];
  ASSERT_TRUE(ComposeSettingsFolder("C:\\users\\ann\\AppData\\Roaming", out, sizeof out));
  EXPECT_STREQ(out, "C:\\users\\ann\\AppData\\Roaming\\Pointrel");
  ASSERT_TRUE(ComposeSettingsFolder("D:\\", out, sizeof out));
  EXPECT_STREQ(out, "D:\\Pointrel");
  ASSERT_TRUE(ComposeSettingsFile("D:\\Pointrel", "Pointrel.INI", out, sizeof out));
  EXPECT_STREQ(out, "D:\\Pointrel\\Pointrel.INI");
  // UTF-8 bytes pass through as they are.
  ASSERT_TRUE(ComposeSettingsFolder("C:\\users\\\xC5\x81ukasz\\AppData\\Roaming", out, sizeof out));
  EXPECT_STREQ(out, "C:\\users\\\xC5\x81ukasz\\AppData\\Roaming\\Pointrel");
}

TEST(SettingsLocation, NeverCutsAPath) {
  // Exactly fitting, and one byte short: refused and emptied, never a shorter path.
  const std::string folder(260 - 1 - 1 - 12, 'a');
  char out[260];
  ASSERT_TRUE(ComposeSettingsFile(folder.c_str(), "Pointrel.INI", out, sizeof out));
  EXPECT_EQ(std::string(out).size(), 259u);
  const std::string longer = folder + "b";
  EXPECT_FALSE(ComposeSettingsFile(longer.c_str(), "Pointrel.INI", out, sizeof out));
  EXPECT_STREQ(out, "");
  EXPECT_FALSE(ComposeSettingsFolder("", out, sizeof out)) << "the shell gave no folder";
  EXPECT_FALSE(ComposeSettingsFile("C:\\x", "", out, sizeof out));
  EXPECT_FALSE(ComposeSettingsFile("C:\\x", "a", out, 0));
}

TEST(SettingsLocation, TheVirtualStoreMirrorsTheWindowsFolderBelowItsDrive) {
  char out[260];
  ASSERT_TRUE(ComposeVirtualStoreFile("C:\\users\\ann\\AppData\\Local", "C:\\Windows", "Pointrel.INI", out, sizeof out));
  EXPECT_STREQ(out, "C:\\users\\ann\\AppData\\Local\\VirtualStore\\Windows\\Pointrel.INI");
  ASSERT_TRUE(ComposeVirtualStoreFile("C:\\L\\", "E:\\WINNT\\", "Pointrel.INI", out, sizeof out));
  EXPECT_STREQ(out, "C:\\L\\VirtualStore\\WINNT\\Pointrel.INI");
  for (const char* odd : {"", "C:", "C:\\", "\\\\server\\share", "Windows"}) {
    EXPECT_FALSE(ComposeVirtualStoreFile("C:\\L", odd, "Pointrel.INI", out, sizeof out)) << odd;
    EXPECT_STREQ(out, "") << odd;
  }
}

}  // namespace
