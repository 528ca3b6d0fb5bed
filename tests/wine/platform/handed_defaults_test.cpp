// The defaults a guard started late keeps: by then the platform may show Pointrel's own cursors
// for every id, so it keeps the pictures of the true defaults its utility handed it, never what
// the platform shows; an id whose picture is missing or damaged falls back to the platform. And
// what it keeps it can hand on as the same pictures. A program of its own, so that nothing has
// made the service before and the platform's answer can be stood in for.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/system_cursor.h"
#include "platform/system_cursor_ids.h"
#include "tests/wine/support/cursor_files.h"
#include "tests/wine/support/import_hooks.h"
#include "tests/wine/support/wine_test_support.h"

using namespace wine_test;

namespace {

// What the platform shows for every system cursor id: a red arrow, as if Pointrel's own.
HCURSOR shownNow = nullptr;
using LoadCursorFunction = HCURSOR(WINAPI*)(HINSTANCE, LPCSTR);
LoadCursorFunction platformLoadCursor = nullptr;

HCURSOR WINAPI ShownNow(HINSTANCE module, LPCSTR name) {
  if (!module && IS_INTRESOURCE(name)) return shownNow;
  return platformLoadCursor(module, name);
}

std::string PicturePath(const std::string& folder, uint32_t id) { return folder + "\\" + std::to_string(id) + ".CUR"; }

// The ids a utility hands over: those of a pointer scheme, Pin and Person among them.
constexpr uint32_t kIds[] = {kIdNormal, kIdHelp,   kIdAppStarting, kIdBusy,    kIdCross, kIdIBeam,
                             kIdPen,    kIdNo,     kIdSizeNS,      kIdSizeWE,  kIdSizeNWSE, kIdSizeNESW,
                             kIdSizeAll, kIdUp,    kIdHand,        kIdPin,     kIdPerson};
constexpr size_t kIdCount = sizeof kIds / sizeof kIds[0];

TEST(HandedDefaults, ALateGuardKeepsThePicturesHandedToItNeverWhatThePlatformShows) {
  const std::string folder = MakeTempFolder("pointrel-handed");
  // The utility's pictures: green, each id's hotspot its own; the last missing, one damaged.
  std::vector<uint32_t> handed;
  for (size_t i = 0; i < kIdCount; ++i) {
    const uint32_t id = kIds[i];
    if (i + 1 == kIdCount) continue;
    std::vector<uint8_t> bytes = StaticCursorFile(ColourPicture(static_cast<int>(i), 0x00C000), {static_cast<LONG>(i), 2});
    if (i == 3) bytes.resize(bytes.size() / 2);
    ASSERT_TRUE(WriteBytes(PicturePath(folder, id), bytes));
    if (i != 3) handed.push_back(id);
  }
  POINT redHotspot = {0, 0};
  const cursor_record::CursorPicture red = ColourPicture(0, 0xFF0000);
  const std::vector<uint8_t> redFile = StaticCursorFile(red, redHotspot);
  ASSERT_TRUE(WriteBytes(folder + "\\red.cur", redFile));
  shownNow = ::LoadCursorFromFileA((folder + "\\red.cur").c_str());
  ASSERT_NE(shownNow, nullptr);
  const cursor_record::CursorPicture shown = PictureOf(shownNow);
  platformLoadCursor = reinterpret_cast<LoadCursorFunction>(import_hooks::CurrentImport("LoadCursorA"));
  ASSERT_NE(platformLoadCursor, nullptr);
  ASSERT_GT(import_hooks::Redirect(reinterpret_cast<void*>(platformLoadCursor), reinterpret_cast<void*>(&ShownNow)), 0);

  platform::KeepDefaultsHandedIn(folder.c_str());
  for (size_t i = 0; i < kIdCount; ++i) {
    const uint32_t id = kIds[i];
    POINT hotspot = {};
    const cursor_record::CursorPicture kept = PictureOf(platform::SystemDefaultCursor(id), &hotspot);
    const bool wasHanded = std::find(handed.begin(), handed.end(), id) != handed.end();
    if (wasHanded) {
      HCURSOR file = ::LoadCursorFromFileA(PicturePath(folder, id).c_str());
      EXPECT_EQ(kept, PictureOf(file)) << id << ": the picture handed over";
      ::DestroyCursor(file);
      EXPECT_NE(kept, shown) << id;
      EXPECT_EQ(hotspot.x, static_cast<LONG>(i)) << id;
      EXPECT_EQ(hotspot.y, 2) << id;
    } else {
      EXPECT_EQ(kept, shown) << id << ": without a good picture, the platform's";
    }
  }

  // Handed on again: the same pictures, and nothing left once removed.
  const std::string again = MakeTempFolder("pointrel-handed-again");
  ASSERT_TRUE(platform::WriteKeptDefaults(again.c_str(), kIds, kIdCount));
  for (size_t i = 0; i < kIdCount; ++i) {
    const uint32_t id = kIds[i];
    HCURSOR file = ::LoadCursorFromFileA(PicturePath(again, id).c_str());
    ASSERT_NE(file, nullptr) << id;
    EXPECT_EQ(PictureOf(file), PictureOf(platform::SystemDefaultCursor(id))) << id;
    ::DestroyCursor(file);
  }
  platform::RemoveWrittenDefaults(again.c_str(), kIds, kIdCount);
  EXPECT_EQ(::GetFileAttributesA(again.c_str()), INVALID_FILE_ATTRIBUTES) << again << " is left";
  import_hooks::Redirect(reinterpret_cast<void*>(&ShownNow), reinterpret_cast<void*>(platformLoadCursor));
}

}  // namespace
