// "Left-handed" on the shipped "Pointrel" scheme, driven through the real dialog in this process
// and checked against the system-cursor service's record: every pointing role shows its file
// mirrored (compared pixel by pixel, hotspot on its pixel), the animated App Starting mirrored
// frame by frame with the same steps and rates, Unavailable mirrored only when lopsided, and the
// other roles exactly as the files have them; unticked, everything comes back.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "platform/gdi.h"
#include "tests/wine/support/cursor_files.h"
#include "tests/wine/support/system_cursor_record.h"
#include "tests/wine/support/wine_test_support.h"
#include "tests/wine/utility/library_copy.h"
#include "tests/wine/utility/main_dialog_driver.h"
#include "utility/cursor/cursor_slots_win.h"
#include "utility/cursor/library_entry.h"
#include "utility/cursor/schemes.h"
#include "utility/cursor/transformer_win.h"
#include "utility/records/cursor_settings.h"
#include "utility/resources/resource.h"

using namespace wine_test;
using cursor_record::CursorPicture;
using cursor_record::InstalledSystemCursor;
using dialog_driver::ClickControl;

namespace {

const bool kRecorded = (cursor_record::RecordSystemCursors(), true);

// The roles whose pointer points or leans, as the user reads them; Unavailable is asked apart.
bool PointsOrLeans(size_t role) {
  for (size_t pointing : {kRoleNormal, kRoleHelp, kRoleAppStarting, kRoleHandwriting, kRoleAlternate, kRoleLink,
                          kRoleLocation, kRolePerson}) {
    if (role == pointing) return true;
  }
  return false;
}

InstalledSystemCursor Installed(size_t role) {
  InstalledSystemCursor installed;
  cursor_record::GetInstalledSystemCursor(kCursorRoles[role].id, &installed);
  return installed;
}

CursorPicture Flipped(CursorPicture picture) {
  for (int y = 0; y < picture.height; ++y) {
    for (int x = 0, r = picture.width - 1; x < r; ++x, --r) {
      std::swap(picture.pixels[y * picture.width + x], picture.pixels[y * picture.width + r]);
      std::swap(picture.andMask[y * picture.width + x], picture.andMask[y * picture.width + r]);
    }
  }
  return picture;
}

struct Expected {
  CursorPicture picture;
  POINT hotspot = {0, 0};
};
// A static file as the roles install it: recoloured, then flipped and its hotspot mirrored when
// asked (the flip done here, by the picture, not by the transformer under test).
Expected FromFile(const std::string& path, bool mirrored) {
  HCURSOR cursor = RecolourCursor(platform::LoadCheckedCursorFile(path.c_str()));
  Expected expected;
  expected.picture = PictureOf(cursor, &expected.hotspot);
  platform::ReleaseCursor(cursor);
  EXPECT_GT(expected.picture.width, 0) << path;
  if (mirrored) {
    expected.picture = Flipped(expected.picture);
    expected.hotspot.x = expected.picture.width - 1 - expected.hotspot.x;
  }
  return expected;
}

// One step of an animation as the platform shows it.
struct Step {
  CursorPicture picture;
  POINT hotspot;
  DWORD jiffies;
};
using FrameInfo = HCURSOR(WINAPI*)(HCURSOR, DWORD, DWORD, DWORD*, DWORD*);
std::vector<Step> StepsOf(HCURSOR animation) {
  const auto frameInfo = reinterpret_cast<FrameInfo>(
      reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleA("user32.dll"), "GetCursorFrameInfo")));
  std::vector<Step> steps;
  if (!frameInfo) {
    ADD_FAILURE() << "the platform tells nothing of an animation's steps";
    return steps;
  }
  DWORD count = 1;
  for (DWORD step = 0; step < count && step < 1024; ++step) {
    Step s{};
    HCURSOR frame = frameInfo(animation, 0, step, &s.jiffies, &count);
    if (!frame) break;
    s.picture = PictureOf(frame, &s.hotspot);
    steps.push_back(s);
  }
  return steps;
}

class LeftHanded : public ::testing::Test {
 protected:
  void SetUp() override {
    char folder[MAX_PATH];
    saved.assign(folder, ::GetCurrentDirectoryA(sizeof folder, folder));
    root = MakeTempFolder("pointrel-left-handed");
    ASSERT_EQ(library_copy::CopyGeneratedLibrary(root), library_copy::kLibraryFiles);
    ASSERT_TRUE(::SetCurrentDirectoryA(root.c_str()));
    dialog_driver::DefaultSettings();
    current.BlkClr = 1;  // red and yellow: recoloured monochrome art differs from its file
    current.WhtClr = 6;
    std::strcpy(current.Scheme, "Pointrel");
    ASSERT_TRUE(FindShippedScheme("Pointrel", &scheme));
    std::memset(CursorSlotTable, 0, sizeof CursorSlotTable);
    // Unavailable from files of this test: a shape that is its own mirror image, and one that is not.
    CursorPicture plus;
    plus.width = plus.height = 32;
    plus.colour = true;
    for (int y = 0; y < 32; ++y) {
      for (int x = 0; x < 32; ++x) {
        const bool painted = (x >= 9 && x <= 20 && y >= 14 && y <= 15) || (y >= 9 && y <= 20 && x >= 14 && x <= 15);
        plus.andMask.push_back(painted ? 0 : 1);
        plus.pixels.push_back(painted ? 0xFF0000FF : 0);
      }
    }
    ASSERT_TRUE(WriteBytes(root + "\\NO\\Plus.CUR", StaticCursorFile(plus, {14, 14})));
    ASSERT_TRUE(WriteBytes(root + "\\NO\\Leaning.CUR", StaticCursorFile(ColourPicture(1, 0xFF00FF00), {3, 2})));
  }
  void TearDown() override { ::SetCurrentDirectoryA(saved.c_str()); }

  std::string PathOf(size_t role) const {
    char path[kTextBufferSize];
    EXPECT_TRUE(SchemeCursorPath(scheme, role, path, sizeof path)) << kCursorRoles[role].caption;
    return root + "\\" + path;
  }

  // Runs the dialog with the settings as they stand and then `body`.
  void Run(const std::function<void(MainDialog&, HWND)>& body) {
    EXPECT_TRUE(dialog_driver::RunMainDialog([&](MainDialog& dialog) { body(dialog, dialog.GetSafeHwnd()); }));
  }

  // Every role but `apart` as the scheme's file shows it, mirrored where `mirrored(role)` says.
  template <typename Mirrored>
  void ExpectEveryRoleBut(size_t apart, Mirrored mirrored) {
    for (size_t role = 0; role < kRoleCount; ++role) {
      if (role == apart) continue;
      SCOPED_TRACE(kCursorRoles[role].caption);
      const InstalledSystemCursor installed = Installed(role);
      ASSERT_NE(installed.handle, nullptr);
      EXPECT_EQ(installed.handle, CursorSlotTable[role].handle);
      if (IsAnimatedName(scheme.files[role])) {
        EXPECT_TRUE(installed.animated);
        ExpectAnimation(role, installed.handle, mirrored(role));
        continue;
      }
      const Expected expected = FromFile(PathOf(role), mirrored(role));
      EXPECT_FALSE(installed.animated);
      EXPECT_TRUE(installed.picture == expected.picture) << "another image";
      EXPECT_EQ(installed.hotspot.x, expected.hotspot.x);
      EXPECT_EQ(installed.hotspot.y, expected.hotspot.y);
    }
  }

  void ExpectUnavailable(const char* file, bool mirrored) {
    SCOPED_TRACE(std::string(file) + (mirrored ? " mirrored" : " as it is"));
    const Expected expected = FromFile(root + "\\NO\\" + file, mirrored);
    const InstalledSystemCursor installed = Installed(kRoleUnavailable);
    EXPECT_TRUE(installed.picture == expected.picture) << "another image";
    EXPECT_EQ(installed.hotspot.x, expected.hotspot.x);
    EXPECT_EQ(installed.hotspot.y, expected.hotspot.y);
  }

  // The installed animation against its file's: as many steps, each as long, each frame the
  // file's (flipped when mirrored) with its hotspot.
  void ExpectAnimation(size_t role, HCURSOR installed, bool mirrored) {
    HCURSOR original = platform::LoadCheckedCursorFile(PathOf(role).c_str());
    ASSERT_NE(original, nullptr);
    const std::vector<Step> want = StepsOf(original), got = StepsOf(installed);
    platform::ReleaseCursor(original);
    ASSERT_GT(want.size(), 1u) << "an animation";
    ASSERT_EQ(got.size(), want.size()) << "steps";
    for (size_t i = 0; i < want.size(); ++i) {
      SCOPED_TRACE("step " + std::to_string(i));
      EXPECT_EQ(got[i].jiffies, want[i].jiffies) << "rate";
      const CursorPicture picture = mirrored ? Flipped(want[i].picture) : want[i].picture;
      EXPECT_TRUE(got[i].picture == picture) << "frame";
      EXPECT_EQ(got[i].hotspot.x, mirrored ? want[i].picture.width - 1 - want[i].hotspot.x : want[i].hotspot.x);
      EXPECT_EQ(got[i].hotspot.y, want[i].hotspot.y);
    }
    if (mirrored) {
      EXPECT_TRUE(got[0].picture != want[0].picture) << "a frame that reads the same mirrored proves nothing";
    }
  }

  std::string saved;
  std::string root;
  Scheme scheme;
};

TEST_F(LeftHanded, MirrorsThePointingRolesStaticAndAnimatedAndLeavesTheOthers) {
  std::strcpy(current.No, "Plus.CUR");
  Run([&](MainDialog& main, HWND dialog) {
    EXPECT_FALSE(IsChecked(dialog, IDC_LEFT_HANDED));
    ClickControl(dialog, IDC_LEFT_HANDED);
    EXPECT_EQ(current.LeftHanded, 1);
    ExpectEveryRoleBut(kRoleUnavailable, [](size_t role) { return PointsOrLeans(role); });
    ExpectUnavailable("Plus.CUR", false);

    std::strcpy(current.No, "Leaning.CUR");
    main.ApplyChosenRole(kRoleUnavailable);
    ExpectUnavailable("Leaning.CUR", true);

    ClickControl(dialog, IDC_LEFT_HANDED);
    EXPECT_EQ(current.LeftHanded, 0);
    ExpectEveryRoleBut(kRoleUnavailable, [](size_t) { return false; });
    ExpectUnavailable("Leaning.CUR", false);
  });
}

}  // namespace
