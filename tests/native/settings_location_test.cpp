// Where the settings file lives and the older places it is taken over from.
#include "utility/records/settings_location.h"

#include <gtest/gtest.h>

#include <cstring>
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

TEST(SettingsLocation, TheRunMarkerTakesTheSettingsNameWithItsOwnExtension) {
  char out[64];
  struct Case {
    const char* settings;
    const char* marker;
  };
  const Case cases[] = {
      {"C:\\Users\\Ł\\AppData\\Roaming\\Pointrel\\Pointrel.INI", "C:\\Users\\Ł\\AppData\\Roaming\\Pointrel\\Pointrel.RUN"},
      {"C:\\WINDOWS\\POINTREL.INI", "C:\\WINDOWS\\POINTREL.RUN"},
      {"C:\\a.b\\Pointrel", "C:\\a.b\\Pointrel.RUN"},  // a dot in a folder is not the extension
      {"C:\\x\\.INI", "C:\\x\\.INI.RUN"},               // a name that is all extension keeps it
      {"Pointrel.INI", "Pointrel.RUN"},
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(ComposeRunMarker(c.settings, out, sizeof out)) << c.settings;
    EXPECT_STREQ(out, c.marker);
  }
  std::memset(out, 'x', sizeof out);
  EXPECT_FALSE(ComposeRunMarker("C:\\x\\", out, sizeof out)) << "no name";
  EXPECT_STREQ(out, "");
  EXPECT_FALSE(ComposeRunMarker("", out, sizeof out));
  // Exactly full, and one short: never cut.
  const std::string stem = "C:\\" + std::string(sizeof out - 8, 'f');
  EXPECT_TRUE(ComposeRunMarker((stem + ".INI").c_str(), out, sizeof out));
  EXPECT_EQ(std::strlen(out), sizeof out - 1);
  EXPECT_FALSE(ComposeRunMarker((stem + "f.INI").c_str(), out, sizeof out));
  EXPECT_STREQ(out, "");
}

TEST(SettingsLocation, AFailedSaveSaysWhereAndWhyWhenKnown) {
  char out[512];
  ASSERT_TRUE(ComposeSaveFailureMessage("C:\\A\\Pointrel\\Pointrel.INI", nullptr, out, sizeof out));
  EXPECT_STREQ(out,
               "Your settings could not be saved in\nC:\\A\\Pointrel\\Pointrel.INI\n\n"
               "Pointrel keeps running with them until it ends.");
  ASSERT_TRUE(ComposeSaveFailureMessage("C:\\A\\Pointrel\\Pointrel.INI", "C:\\A\\Pointrel", out, sizeof out));
  EXPECT_STREQ(out,
               "Your settings could not be saved in\nC:\\A\\Pointrel\\Pointrel.INI\n\n"
               "C:\\A\\Pointrel is a file, not a folder.\n\nPointrel keeps running with them until it ends.");
  const size_t length = std::strlen(out);
  std::string exact(length + 1, '#');
  EXPECT_TRUE(ComposeSaveFailureMessage("C:\\A\\Pointrel\\Pointrel.INI", "C:\\A\\Pointrel", exact.data(), exact.size()));
  std::string shorter(length, '#');
  EXPECT_FALSE(ComposeSaveFailureMessage("C:\\A\\Pointrel\\Pointrel.INI", "C:\\A\\Pointrel", shorter.data(), shorter.size()));
  EXPECT_EQ(shorter[0], '\0');
}
