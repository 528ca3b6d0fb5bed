// Windows' app mode read back from the registry value, and the scheme in force for it.
#include "utility/cursor/app_mode.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

constexpr uint32_t kString = 1, kBinary = 3, kBigEndianDword = 5, kQword = 11;

struct ValueCase {
  const char* what;
  bool found;
  uint32_t type;
  std::vector<uint8_t> bytes;
  AppMode mode;
};

TEST(AppModeOfValue, OnlyAFourByteDwordOfZeroIsDark) {
  const ValueCase cases[] = {
      {"dword 0", true, kRegistryDword, {0, 0, 0, 0}, AppMode::Dark},
      {"dword 1", true, kRegistryDword, {1, 0, 0, 0}, AppMode::Light},
      {"dword 2, no mode of Windows", true, kRegistryDword, {2, 0, 0, 0}, AppMode::Light},
      {"dword 0x100, a high byte set", true, kRegistryDword, {0, 1, 0, 0}, AppMode::Light},
      {"dword 0x01000000", true, kRegistryDword, {0, 0, 0, 1}, AppMode::Light},
      {"dword of all ones", true, kRegistryDword, {0xFF, 0xFF, 0xFF, 0xFF}, AppMode::Light},
      {"absent", false, kRegistryDword, {0, 0, 0, 0}, AppMode::Light},
      {"string \"0\"", true, kString, {'0', 0, 0, 0}, AppMode::Light},
      {"binary zeros", true, kBinary, {0, 0, 0, 0}, AppMode::Light},
      {"big-endian dword 0", true, kBigEndianDword, {0, 0, 0, 0}, AppMode::Light},
      {"qword 0", true, kQword, {0, 0, 0, 0, 0, 0, 0, 0}, AppMode::Light},
      {"dword of two bytes", true, kRegistryDword, {0, 0}, AppMode::Light},
      {"dword of eight bytes", true, kRegistryDword, {0, 0, 0, 0, 0, 0, 0, 0}, AppMode::Light},
      {"dword of no bytes", true, kRegistryDword, {}, AppMode::Light},
  };
  for (const ValueCase& c : cases) {
    EXPECT_EQ(AppModeOfValue(c.found, c.type, c.bytes.empty() ? nullptr : c.bytes.data(), c.bytes.size()), c.mode)
        << c.what;
  }
  const uint8_t zero[4] = {};
  EXPECT_EQ(AppModeOfValue(true, kRegistryDword, nullptr, 4), AppMode::Light) << "no bytes handed over";
  EXPECT_EQ(AppModeOfValue(true, kRegistryDword, zero, 4), AppMode::Dark);
}

TEST(IsAppModeChange, OnlyTheImmersiveColourSection) {
  EXPECT_TRUE(IsAppModeChange("ImmersiveColorSet"));
  for (const char* other : {"immersivecolorset", "ImmersiveColorSetX", "ImmersiveColor", "", "Policy", "intl"}) {
    EXPECT_FALSE(IsAppModeChange(other)) << other;
  }
  EXPECT_FALSE(IsAppModeChange(nullptr));
}

TEST(SchemeNameInForce, TheDarkSchemeOnlyWhileFollowingADarkMode) {
  CursorSettings settings = {};
  std::strcpy(settings.Scheme, "Daylight");
  std::strcpy(settings.DarkScheme, "Night");
  struct Case {
    int32_t follow;
    AppMode mode;
    const char* expected;
  } cases[] = {
      {0, AppMode::Light, "Daylight"}, {0, AppMode::Dark, "Daylight"},  {1, AppMode::Light, "Daylight"},
      {1, AppMode::Dark, "Night"},     {-7, AppMode::Dark, "Night"},    {-7, AppMode::Light, "Daylight"},
  };
  for (const Case& c : cases) {
    settings.FollowDarkMode = c.follow;
    EXPECT_STREQ(SchemeNameInForce(settings, c.mode), c.expected)
        << "follow " << c.follow << (c.mode == AppMode::Dark ? " dark" : " light");
  }
}

}  // namespace
