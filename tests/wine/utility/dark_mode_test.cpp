// The real Pointrel.EXE following Windows' app mode, seen through its trace: with "Switch with
// dark mode" ticked, AppsUseLightTheme 0 and the WM_SETTINGCHANGE "ImmersiveColorSet" that Windows
// broadcasts put the dark scheme's cursors on all seventeen ids within a second, 1 brings the
// light scheme's back, each static picture pixel for pixel its file's; unticked, a switch changes
// nothing.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/gdi.h"
#include "tests/wine/support/cursor_files.h"
#include "tests/wine/support/cursor_trace.h"
#include "tests/wine/support/utility_fixture.h"
#include "utility/cursor/app_mode.h"
#include "utility/cursor/library_entry.h"
#include "utility/cursor/schemes.h"
#include "utility/cursor/transformer_win.h"
#include "utility/records/cursor_settings.h"
#include "utility/resources/resource.h"

using namespace wine_test;

namespace {

// Windows' app mode in the user's registry, as Settings writes it, for as long as this lives.
class AppsUseLightTheme {
 public:
  AppsUseLightTheme() {
    if (::RegCreateKeyExA(HKEY_CURRENT_USER, kPersonalizeKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS) {
      key = nullptr;
    }
  }
  ~AppsUseLightTheme() {
    if (!key) return;
    ::RegDeleteValueA(key, kAppsUseLightTheme);
    ::RegCloseKey(key);
  }
  // A value of another type, as a program other than Windows might leave it.
  bool SetText(const char* text) {
    return key && ::RegSetValueExA(key, kAppsUseLightTheme, 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                                   static_cast<DWORD>(std::strlen(text) + 1)) == ERROR_SUCCESS;
  }
  bool Set(DWORD light) {
    return key && ::RegSetValueExA(key, kAppsUseLightTheme, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&light),
                                   sizeof light) == ERROR_SUCCESS;
  }

 private:
  HKEY key = nullptr;
};

// What Windows sends every top-level window once the mode has changed, waiting for each.
void BroadcastModeChange() {
  DWORD_PTR result = 0;
  ::SendMessageTimeoutA(HWND_BROADCAST, WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>(kImmersiveColorSet),
                        SMTO_ABORTIFHUNG, 5000, &result);
}

class DarkMode : public MainDialogOnLibrary {
 protected:
  void SetUp() override {
    MainDialogOnLibrary::SetUp();
    WriteSettings("Scheme=Pointrel\r\nDarkScheme=Pointrel High Visibility\r\nFollowDarkMode=1\r\n");
    ASSERT_TRUE(FindShippedScheme("Pointrel", &light));
    ASSERT_TRUE(FindShippedScheme("Pointrel High Visibility", &dark));
    current.BlkClr = 15;  // the colours a file without them has
    current.WhtClr = 0;
  }

  // The lines from `from` on are the seventeen ids, each once, each the scheme's file: static
  // ones recoloured as the roles do and compared pixel by pixel, animated ones animated.
  void ExpectScheme(const std::vector<TraceLine>& lines, size_t from, const Scheme& scheme) {
    ASSERT_EQ(lines.size(), from + kRoleCount) << "every id once";
    std::vector<bool> seen(kRoleCount, false);
    for (size_t i = from; i < lines.size(); ++i) {
      const int role = RoleOfCursorId(lines[i].id);
      ASSERT_GE(role, 0) << lines[i].id;
      SCOPED_TRACE(std::string(scheme.name) + ": " + kCursorRoles[role].caption);
      EXPECT_FALSE(seen[role]) << "installed twice";
      seen[role] = true;
      EXPECT_EQ(lines[i].event, "install");
      if (IsAnimatedName(scheme.files[role])) {
        EXPECT_EQ(lines[i].kind, "animated");
        continue;
      }
      ASSERT_EQ(lines[i].kind, "static");
      char path[kTextBufferSize];
      ASSERT_TRUE(SchemeCursorPath(scheme, static_cast<size_t>(role), path, sizeof path));
      HCURSOR expected = RecolourCursor(platform::LoadCheckedCursorFile((folder + "\\" + path).c_str()));
      POINT hotspot;
      const cursor_record::CursorPicture picture = PictureOf(expected, &hotspot);
      platform::ReleaseCursor(expected);
      EXPECT_TRUE(TracedPicture(traceFolder, lines[i]) == picture) << path;
      EXPECT_EQ(lines[i].x, hotspot.x) << path;
      EXPECT_EQ(lines[i].y, hotspot.y) << path;
    }
  }

  // Switches the mode and waits for the seventeen installs; each within a second of the switch.
  std::vector<TraceLine> Switch(AppsUseLightTheme& mode, DWORD light, const Program& program, size_t* from) {
    *from = SettledTrace(traceFolder).size();
    EXPECT_TRUE(mode.Set(light));
    const unsigned long sent = TraceClockOf(program.id());
    BroadcastModeChange();
    std::vector<TraceLine> lines = SettledTrace(traceFolder, *from + kRoleCount);
    for (size_t i = *from; i < lines.size(); ++i) {
      EXPECT_LE(lines[i].ms, sent + 1000) << lines[i].id << " installed " << (lines[i].ms - sent) << " ms after the switch";
    }
    if (lines.size() > *from) {
      std::printf("AppsUseLightTheme %lu: %zu installs, the last %ld ms after the switch\n", light, lines.size() - *from,
                  static_cast<long>(lines.back().ms - sent));
    }
    return lines;
  }

  Scheme light, dark;
};

TEST_F(DarkMode, TheDarkSchemeComesWithDarkAppsAndGoesWithLightOnesUnlessUnticked) {
  AppsUseLightTheme mode;
  ASSERT_TRUE(mode.Set(1));
  Program program(UtilityIn(folder), folder, Traced());
  HWND dialog = Start(program);
  ASSERT_NE(dialog, nullptr);
  EXPECT_TRUE(IsChecked(dialog, IDC_FOLLOW_DARK_MODE));
  EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(dialog, IDC_DARK_SCHEME)));
  EXPECT_EQ(Text(::GetDlgItem(dialog, IDC_DARK_SCHEME)), "Pointrel High Visibility");
  ExpectScheme(SettledTrace(traceFolder, kRoleCount), 0, light);

  size_t from = 0;
  std::vector<TraceLine> lines = Switch(mode, 0, program, &from);
  ExpectScheme(lines, from, dark);
  EXPECT_EQ(Text(::GetDlgItem(dialog, IDC_SCHEME)), "Pointrel") << "the box keeps the light scheme";

  lines = Switch(mode, 1, program, &from);
  ExpectScheme(lines, from, light);

  // Unticked: the light scheme stays whatever the mode.
  Click(dialog, IDC_FOLLOW_DARK_MODE);
  EXPECT_FALSE(IsChecked(dialog, IDC_FOLLOW_DARK_MODE));
  EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(dialog, IDC_DARK_SCHEME)));
  const size_t unticked = SettledTrace(traceFolder).size();
  EXPECT_EQ(unticked, lines.size()) << "unticking in light mode changes no cursor";
  ASSERT_TRUE(mode.Set(0));
  BroadcastModeChange();
  EXPECT_EQ(SettledTrace(traceFolder).size(), unticked) << "a switch while unticked changes nothing";

  // Ticked again while dark: the dark scheme at once.
  Click(dialog, IDC_FOLLOW_DARK_MODE);
  lines = SettledTrace(traceFolder, unticked + kRoleCount);
  ExpectScheme(lines, unticked, dark);

  Click(dialog, IDC_EXIT_RESTORE);
  EXPECT_TRUE(program.WaitForExit());
  ExpectDefaultsRestored(SettledTrace(traceFolder), unticked + kRoleCount);
}

}  // namespace

namespace {

// Dark when it starts: the dark scheme from the first install; a value of another type that
// reads "0" is no dark mode, so the light scheme comes back.
TEST_F(DarkMode, ADarkStartShowsTheDarkSchemeAndAnOddValueReadsAsLight) {
  AppsUseLightTheme mode;
  ASSERT_TRUE(mode.Set(0));
  Program program(UtilityIn(folder), folder, Traced());
  HWND dialog = Start(program);
  ASSERT_NE(dialog, nullptr);
  ExpectScheme(SettledTrace(traceFolder, kRoleCount), 0, dark);
  EXPECT_EQ(Text(::GetDlgItem(dialog, IDC_SCHEME)), "Pointrel") << "the box keeps the light scheme";

  const size_t from = SettledTrace(traceFolder).size();
  ASSERT_TRUE(mode.SetText("0"));
  BroadcastModeChange();
  ExpectScheme(SettledTrace(traceFolder, from + kRoleCount), from, light);
  Click(dialog, IDC_EXIT_RESTORE);
  EXPECT_TRUE(program.WaitForExit());
}

}  // namespace
