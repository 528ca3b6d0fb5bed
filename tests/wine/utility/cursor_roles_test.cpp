// The cursor roles on the generated library, driven through the real dialog in this process
// and checked against the system-cursor service's record: what each role installs, when the
// mirror options apply, "<Same as Normal>", the sizing arrows, files gone missing, the restore,
// and the handles that many rounds leave alive.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "tests/wine/support/handle_census.h"
#include "platform/gdi.h"
#include "platform/system_cursor.h"
#include "tests/wine/support/system_cursor_record.h"
#include "tests/wine/support/cursor_files.h"
#include "tests/wine/support/cursor_trace.h"
#include "tests/wine/support/wine_test_support.h"
#include "tests/wine/utility/library_copy.h"
#include "tests/wine/utility/main_dialog_driver.h"
#include "utility/records/cursor_settings.h"
#include "utility/cursor/cursor_roles_win.h"
#include "utility/cursor/cursor_slots_win.h"
#include "utility/cursor/library_entry.h"
#include "utility/cursor/transformer_win.h"
#include "utility/resources/resource.h"

using namespace wine_test;
using dialog_driver::ChooseEntry;
using dialog_driver::ClickControl;
using dialog_driver::ListTexts;
using dialog_driver::SelectedText;
using cursor_record::CursorPicture;
using cursor_record::InstalledSystemCursor;
using cursor_record::SystemCursorEvent;
using platform::SystemCursorEventKind;

namespace {

// These tests read the service's record, which the program keeps only when asked.
const bool kRecorded = (cursor_record::RecordSystemCursors(), true);

// The sizing arrows' rows, in the order they are installed.
const size_t kSizingRoles[4] = {kRoleSizeNWSE, kRoleSizeNESW, kRoleSizeWE, kRoleSizeNS};

constexpr uint32_t kRed = 0x00FF0000;

std::string CurrentFolder() {
  char folder[MAX_PATH];
  const DWORD length = ::GetCurrentDirectoryA(sizeof folder, folder);
  return std::string(folder, length);
}

InstalledSystemCursor Installed(DWORD id) {
  InstalledSystemCursor installed;
  cursor_record::GetInstalledSystemCursor(id, &installed);
  return installed;
}

// What the roles should install for a file or a default: the transformer applied as the roles
// apply it, read back as a picture.
struct Expected {
  CursorPicture picture;
  POINT hotspot = {0, 0};
};
Expected Transformed(HCURSOR source, bool recolour, bool mirror) {
  HCURSOR cursor = source;
  if (recolour) cursor = RecolourCursor(cursor);
  if (mirror) cursor = MirrorCursor(cursor);
  Expected expected;
  expected.picture = PictureOf(cursor, &expected.hotspot);
  platform::ReleaseCursor(cursor);
  return expected;
}
Expected FromFile(const std::string& path, bool recolour, bool mirror) {
  HCURSOR source = platform::LoadCheckedCursorFile(path.c_str());
  EXPECT_NE(source, nullptr) << path;
  return Transformed(source, recolour, mirror);
}
Expected FromDefault(DWORD id, bool mirror) {
  return Transformed(platform::LoadSharedCursor(nullptr, MAKEINTRESOURCEA(id)), true, mirror);
}

// RecolourCursor passes a colour cursor through unchanged; Wine's own defaults are colour
// cursors, so there the recoloured default is the kept default itself and its install is
// recorded as the default coming back.
bool DefaultIsColour(DWORD id) { return PictureOf(platform::LoadSharedCursor(nullptr, MAKEINTRESOURCEA(id))).colour; }
SystemCursorEventKind RecolouredDefaultKind(DWORD id) {
  return DefaultIsColour(id) ? SystemCursorEventKind::Default : SystemCursorEventKind::Install;
}

bool HasRed(const CursorPicture& picture) {
  if (!picture.colour) return false;
  for (size_t i = 0; i < picture.pixels.size(); ++i) {
    if (picture.andMask[i] == 0 && (picture.pixels[i] & 0xFFFFFF) == kRed) return true;
  }
  return false;
}

#define EXPECT_INSTALLED(id, expected)                                                      \
  do {                                                                                      \
    const InstalledSystemCursor now_ = Installed(id);                                       \
    EXPECT_FALSE(now_.animated) << "id " << (id);                                           \
    EXPECT_TRUE(now_.picture == (expected).picture) << "id " << (id) << ": another image";  \
    EXPECT_EQ(now_.hotspot.x, (expected).hotspot.x) << "id " << (id);                       \
    EXPECT_EQ(now_.hotspot.y, (expected).hotspot.y) << "id " << (id);                       \
  } while (0)

class CursorRoles : public ::testing::Test {
 protected:
  void SetUp() override {
    saved = CurrentFolder();
    root = MakeTempFolder("pointrel-roles");
    ASSERT_EQ(library_copy::CopyGeneratedLibrary(root), library_copy::kLibraryFiles) << "the generated library";
    ASSERT_TRUE(::SetCurrentDirectoryA(root.c_str()));
    dialog_driver::DefaultSettings();
    // A red black and a yellow white make every recoloured image differ from its source.
    current.BlkClr = 1;
    current.WhtClr = 6;
    std::memset(CursorSlotTable, 0, sizeof CursorSlotTable);
  }
  void TearDown() override { ::SetCurrentDirectoryA(saved.c_str()); }

  // Runs the dialog with the settings as they stand and then `body`.
  void Run(const std::function<void(MainDialog&, HWND)>& body) {
    const bool ran = dialog_driver::RunMainDialog([&](MainDialog& dialog) {
      cursor_record::ClearSystemCursorEvents();
      body(dialog, dialog.GetSafeHwnd());
    });
    EXPECT_TRUE(ran);
  }

  // The entries of a list whose tag is `tag` ("[sm]", "[a" for any animated one...).
  static std::vector<std::string> EntriesTagged(HWND dialog, int listId, const char* tag) {
    std::vector<std::string> found;
    for (const std::string& text : ListTexts(::GetDlgItem(dialog, listId))) {
      if (text.compare(0, std::strlen(tag), tag) == 0) found.push_back(text);
    }
    return found;
  }

  static std::string PathOf(const char* folder, const std::string& entry) {
    char stored[kTextBufferSize];
    EntryToStoredName(entry.c_str(), stored, sizeof stored);
    return std::string(folder) + stored;
  }

  std::string saved;
  std::string root;
};

TEST_F(CursorRoles, AnimatedNormalDisablesTheMirrorAndAStaticOneBringsItBack) {
  current.MirrorNormal = 1;
  Run([&](MainDialog&, HWND dialog) {
    HWND mirror = ::GetDlgItem(dialog, IDC_MIRROR_NORMAL);
    EXPECT_TRUE(::IsWindowEnabled(mirror));
    EXPECT_TRUE(IsChecked(dialog, IDC_MIRROR_NORMAL));

    const std::vector<std::string> animated = EntriesTagged(dialog, IDC_LIST_NORMAL, "[a");
    ASSERT_FALSE(animated.empty());
    ASSERT_TRUE(ChooseEntry(dialog, IDC_LIST_NORMAL, animated[0]));
    EXPECT_FALSE(::IsWindowEnabled(mirror));
    EXPECT_FALSE(IsChecked(dialog, IDC_MIRROR_NORMAL));
    EXPECT_EQ(current.MirrorNormal, 1) << "the option itself is kept";
    char stored[kTextBufferSize];
    EntryToStoredName(animated[0].c_str(), stored, sizeof stored);
    EXPECT_STREQ(current.Normal, stored);
    const InstalledSystemCursor installed = Installed(kIdNormal);
    EXPECT_TRUE(installed.animated);
    EXPECT_EQ(installed.handle, CursorSlotTable[kRoleNormal].handle) << "the loaded animation itself";
    EXPECT_TRUE(CursorSlotTable[kRoleNormal].animated);
    platform::CursorFileOrigin origin;
    ASSERT_TRUE(platform::GetCursorFileOrigin(installed.handle, &origin)) << "untouched by the transformer";
    EXPECT_TRUE(origin.animated);
    EXPECT_NE(std::string(origin.path).find(stored), std::string::npos) << origin.path;

    const std::vector<std::string> plain = EntriesTagged(dialog, IDC_LIST_NORMAL, "[sm]");
    ASSERT_FALSE(plain.empty());
    ASSERT_TRUE(ChooseEntry(dialog, IDC_LIST_NORMAL, plain[0]));
    EXPECT_TRUE(::IsWindowEnabled(mirror));
    EXPECT_TRUE(IsChecked(dialog, IDC_MIRROR_NORMAL));
    EXPECT_FALSE(CursorSlotTable[kRoleNormal].animated);
    const Expected expected = FromFile(PathOf("NORMAL\\", plain[0]), true, true);
    EXPECT_INSTALLED(kIdNormal, expected);
    EXPECT_TRUE(HasRed(Installed(kIdNormal).picture)) << "recoloured";
    EXPECT_EQ(Installed(kIdNormal).handle, CursorSlotTable[kRoleNormal].handle);

    // Unticking the box re-applies Normal without the mirror and clears the option.
    ClickControl(dialog, IDC_MIRROR_NORMAL);
    EXPECT_EQ(current.MirrorNormal, 0);
    EXPECT_INSTALLED(kIdNormal, FromFile(PathOf("NORMAL\\", plain[0]), true, false));
  });
}

TEST_F(CursorRoles, StaticNormalIsMirroredWithItsHotspot) {
  current.MirrorNormal = 1;
  Run([&](MainDialog&, HWND dialog) {
    for (const std::string& entry : EntriesTagged(dialog, IDC_LIST_NORMAL, "[s")) {
      ASSERT_TRUE(ChooseEntry(dialog, IDC_LIST_NORMAL, entry));
      const Expected plain = FromFile(PathOf("NORMAL\\", entry), true, false);
      const Expected mirrored = FromFile(PathOf("NORMAL\\", entry), true, true);
      EXPECT_INSTALLED(kIdNormal, mirrored);
      EXPECT_EQ(Installed(kIdNormal).hotspot.x, plain.picture.width - 1 - plain.hotspot.x) << entry;
    }
  });
}

TEST_F(CursorRoles, SameAsNormalFollowsEveryNormalChangeWithItsOwnHandleAndMirror) {
  current.MirrorNormal = 1;
  current.MirrorAppstart = 0;
  std::strcpy(current.Appstart, "<Same as Normal>");
  Run([&](MainDialog&, HWND dialog) {
    EXPECT_EQ(SelectedText(::GetDlgItem(dialog, IDC_LIST_APPSTART)), "<Same as Normal>");
    const std::vector<std::string> plain = EntriesTagged(dialog, IDC_LIST_NORMAL, "[s");
    ASSERT_GE(plain.size(), 3u);
    for (size_t i = 0; i < 3; ++i) {
      cursor_record::ClearSystemCursorEvents();
      ASSERT_TRUE(ChooseEntry(dialog, IDC_LIST_NORMAL, plain[i]));
      EXPECT_INSTALLED(kIdAppStarting, FromFile(PathOf("NORMAL\\", plain[i]), true, false));
      EXPECT_INSTALLED(kIdNormal, FromFile(PathOf("NORMAL\\", plain[i]), true, true));
      EXPECT_NE(CursorSlotTable[kRoleAppStarting].handle, CursorSlotTable[kRoleNormal].handle);
      // App Starting follows from within Normal, so it is installed first.
      const std::vector<SystemCursorEvent> events = cursor_record::GetSystemCursorEvents();
      ASSERT_EQ(events.size(), 2u) << plain[i];
      EXPECT_EQ(events[0].id, kIdAppStarting);
      EXPECT_EQ(events[1].id, kIdNormal);
    }
    // Its own option mirrors it.
    ClickControl(dialog, IDC_MIRROR_APPSTART);
    EXPECT_EQ(current.MirrorAppstart, 1);
    EXPECT_INSTALLED(kIdAppStarting, FromFile(PathOf("NORMAL\\", plain[2]), true, true));

    // An animated Normal makes App Starting animated too, and its mirror box unusable.
    const std::vector<std::string> animated = EntriesTagged(dialog, IDC_LIST_NORMAL, "[a");
    ASSERT_FALSE(animated.empty());
    ASSERT_TRUE(ChooseEntry(dialog, IDC_LIST_NORMAL, animated[0]));
    EXPECT_TRUE(Installed(kIdAppStarting).animated);
    EXPECT_TRUE(CursorSlotTable[kRoleAppStarting].animated);
    EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(dialog, IDC_MIRROR_APPSTART)));
    EXPECT_FALSE(IsChecked(dialog, IDC_MIRROR_APPSTART));
    EXPECT_NE(CursorSlotTable[kRoleAppStarting].handle, CursorSlotTable[kRoleNormal].handle);
    EXPECT_STREQ(current.Appstart, "<Same as Normal>");
  });
}

TEST_F(CursorRoles, SameAsNormalWithNormalDefaultShowsThePlatformArrow) {
  std::strcpy(current.Appstart, "<Same as Normal>");
  Run([&](MainDialog&, HWND dialog) {
    ASSERT_TRUE(ChooseEntry(dialog, IDC_LIST_NORMAL, "<Default>"));
    const Expected arrow = FromDefault(kIdNormal, false);
    EXPECT_INSTALLED(kIdAppStarting, arrow);
    EXPECT_INSTALLED(kIdNormal, arrow);
    // The recoloured arrow under 32650, then under 32512: each once, no bare default before.
    HCURSOR keptArrow = platform::LoadSharedCursor(nullptr, MAKEINTRESOURCEA(kIdNormal));
    const std::vector<SystemCursorEvent> events = cursor_record::GetSystemCursorEvents();
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0].id, kIdAppStarting);
    EXPECT_EQ(events[0].handle == keptArrow, DefaultIsColour(kIdNormal)) << "the arrow passed through RecolourCursor";
    EXPECT_EQ(events[1].id, kIdNormal);
    EXPECT_EQ(events[1].kind, RecolouredDefaultKind(kIdNormal));
    if (!DefaultIsColour(kIdNormal)) {
      EXPECT_TRUE(HasRed(Installed(kIdNormal).picture));
    }
  });
}

TEST_F(CursorRoles, DefaultNormalIsTheRecolouredArrowAndMirroredWhenAsked) {
  current.MirrorNormal = 1;
  std::strcpy(current.Normal, "Inflated arrow.CUR");
  Run([&](MainDialog&, HWND dialog) {
    ASSERT_TRUE(ChooseEntry(dialog, IDC_LIST_NORMAL, "<Default>"));
    EXPECT_INSTALLED(kIdNormal, FromDefault(kIdNormal, true));
    const std::vector<SystemCursorEvent> events = cursor_record::GetSystemCursorEvents();
    ASSERT_EQ(events.size(), 1u) << "installed once";
    EXPECT_EQ(events[0].kind, SystemCursorEventKind::Install) << "mirrored, so never the default itself";
    EXPECT_TRUE(IsChecked(dialog, IDC_MIRROR_NORMAL));
  });
}

TEST_F(CursorRoles, BusyAndIBeamAreRecolouredButNeverMirrored) {
  current.MirrorNormal = 1;
  current.MirrorAppstart = 1;
  Run([&](MainDialog&, HWND dialog) {
    struct Role {
      int list;
      const char* folder;
      DWORD id;
      int slot;
    };
    const Role roles[] = {{IDC_LIST_BUSY, "BUSY\\", kIdBusy, kRoleBusy}, {IDC_LIST_IBEAM, "IBEAM\\", kIdIBeam, kRoleIBeam}};
    for (const Role& role : roles) {
      for (const std::string& entry : EntriesTagged(dialog, role.list, "[s")) {
        cursor_record::ClearSystemCursorEvents();
        ASSERT_TRUE(ChooseEntry(dialog, role.list, entry));
        EXPECT_INSTALLED(role.id, FromFile(PathOf(role.folder, entry), true, false));
        EXPECT_FALSE(CursorSlotTable[role.slot].animated);
        EXPECT_EQ(cursor_record::GetSystemCursorEvents().size(), 1u) << "no other role follows " << entry;
      }
      const std::vector<std::string> animated = EntriesTagged(dialog, role.list, "[a");
      ASSERT_FALSE(animated.empty());
      ASSERT_TRUE(ChooseEntry(dialog, role.list, animated[0]));
      EXPECT_TRUE(Installed(role.id).animated);
      EXPECT_TRUE(CursorSlotTable[role.slot].animated);
      ASSERT_TRUE(ChooseEntry(dialog, role.list, "<Default>"));
      EXPECT_INSTALLED(role.id, FromDefault(role.id, false));
      EXPECT_FALSE(CursorSlotTable[role.slot].animated);
    }
  });
}

TEST_F(CursorRoles, LargeInstallsTheFourFilesInSlotOrderAndDefaultTheRecolouredArrows) {
  Run([&](MainDialog&, HWND dialog) {
    ClickControl(dialog, IDC_SIZING_LARGE);
    EXPECT_EQ(current.Sizing, 1);
    std::vector<SystemCursorEvent> events = cursor_record::GetSystemCursorEvents();
    ASSERT_EQ(events.size(), 4u);
    for (int arrow = 0; arrow < 4; ++arrow) {
      EXPECT_EQ(events[arrow].kind, SystemCursorEventKind::Install);
      EXPECT_EQ(events[arrow].id, kCursorRoles[kSizingRoles[arrow]].id);
      EXPECT_EQ(events[arrow].handle, CursorSlotTable[kSizingRoles[arrow]].handle);
      EXPECT_INSTALLED(kCursorRoles[kSizingRoles[arrow]].id, FromFile(std::string(kCursorRoles[kSizingRoles[arrow]].folder) + kCursorRoles[kSizingRoles[arrow]].largeFile, true, false));
      EXPECT_TRUE(HasRed(Installed(kCursorRoles[kSizingRoles[arrow]].id).picture));
    }

    cursor_record::ClearSystemCursorEvents();
    ClickControl(dialog, IDC_SIZING_DEFAULT);
    EXPECT_EQ(current.Sizing, 0);
    events = cursor_record::GetSystemCursorEvents();
    ASSERT_EQ(events.size(), 4u) << "each arrow once";
    for (int arrow = 0; arrow < 4; ++arrow) {
      EXPECT_EQ(events[arrow].kind, RecolouredDefaultKind(kCursorRoles[kSizingRoles[arrow]].id));
      EXPECT_EQ(events[arrow].id, kCursorRoles[kSizingRoles[arrow]].id);
      EXPECT_INSTALLED(kCursorRoles[kSizingRoles[arrow]].id, FromDefault(kCursorRoles[kSizingRoles[arrow]].id, false));
      EXPECT_FALSE(CursorSlotTable[kSizingRoles[arrow]].animated);
    }
  });
}

TEST_F(CursorRoles, AMissingLargeArrowLeavesItsIdAsItWasAndTheOthersInstalled) {
  Run([&](MainDialog&, HWND dialog) {
    ASSERT_TRUE(::DeleteFileA("SIZING\\BIG_EW.CUR"));
    const InstalledSystemCursor before = Installed(kIdSizeWE);
    ClickControl(dialog, IDC_SIZING_LARGE);
    const std::vector<SystemCursorEvent> events = cursor_record::GetSystemCursorEvents();
    ASSERT_EQ(events.size(), 4u);
    EXPECT_EQ(events[2].kind, SystemCursorEventKind::Refused);
    EXPECT_EQ(events[2].id, kIdSizeWE);
    EXPECT_EQ(CursorSlotTable[kRoleSizeWE].handle, nullptr);
    const InstalledSystemCursor after = Installed(kIdSizeWE);
    EXPECT_EQ(after.installs, before.installs);
    EXPECT_TRUE(after.picture == before.picture);
    EXPECT_EQ(events[3].kind, SystemCursorEventKind::Install);
  });
}

TEST_F(CursorRoles, AFileRemovedAfterFillingLeavesTheCursorAndEmptiesTheSlot) {
  Run([&](MainDialog&, HWND dialog) {
    const std::vector<std::string> plain = EntriesTagged(dialog, IDC_LIST_NORMAL, "[s");
    ASSERT_GE(plain.size(), 2u);
    ASSERT_TRUE(ChooseEntry(dialog, IDC_LIST_NORMAL, plain[0]));
    const InstalledSystemCursor before = Installed(kIdNormal);
    ASSERT_NE(CursorSlotTable[kRoleNormal].handle, nullptr);
    const long liveBefore = handle_census::CountLiveHandles().cursors;
    ASSERT_TRUE(::DeleteFileA(PathOf("NORMAL\\", plain[1]).c_str()));
    cursor_record::ClearSystemCursorEvents();
    ASSERT_TRUE(ChooseEntry(dialog, IDC_LIST_NORMAL, plain[1]));
    const InstalledSystemCursor after = Installed(kIdNormal);
    EXPECT_EQ(after.installs, before.installs) << "the system cursor stays as it was";
    EXPECT_EQ(after.handle, before.handle);
    EXPECT_TRUE(after.picture == before.picture);
    EXPECT_EQ(CursorSlotTable[kRoleNormal].handle, nullptr);
    EXPECT_EQ(handle_census::CountLiveHandles().cursors, liveBefore - 1) << "the slot's old handle is released";
    const std::vector<SystemCursorEvent> events = cursor_record::GetSystemCursorEvents();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].kind, SystemCursorEventKind::Refused);
    EXPECT_EQ(events[0].id, kIdNormal);
    char stored[kTextBufferSize];
    EntryToStoredName(plain[1].c_str(), stored, sizeof stored);
    EXPECT_STREQ(current.Normal, stored) << "the choice is recorded all the same";
  });
}

TEST_F(CursorRoles, RestoreRunsOnceInItsOrder) {
  Run([&](MainDialog& dialog, HWND) {
    EXPECT_EQ(dialog.RestoredFlag(), 0);
    HCURSOR slotsBefore[kRoleCount];
    for (size_t slot = 0; slot < kRoleCount; ++slot) slotsBefore[slot] = CursorSlotTable[slot].handle;
    dialog.RestoreSystemCursors();
    dialog.RestoreSystemCursors();
    EXPECT_EQ(dialog.RestoredFlag(), 1);
    const std::vector<unsigned long> order = ExpectedRestoreOrder();
    const std::vector<SystemCursorEvent> events = cursor_record::GetSystemCursorEvents();
    // The user's scheme asked for first; where the platform refuses it (Wine), the kept defaults
    // of every role, once each.
    ASSERT_EQ(events.size(), 1 + order.size());
    EXPECT_EQ(events[0].kind, SystemCursorEventKind::SchemeRefused);
    for (size_t i = 0; i < order.size(); ++i) {
      const bool kept = ExpectedRestoreEvent(order[i]) == "default";
      EXPECT_EQ(events[1 + i].kind, kept ? SystemCursorEventKind::Default : SystemCursorEventKind::Refused) << i;
      EXPECT_EQ(events[1 + i].id, order[i]) << i;
      if (kept) {
        EXPECT_TRUE(Installed(order[i]).isDefault);
      }
    }
    for (size_t slot = 0; slot < kRoleCount; ++slot) EXPECT_EQ(CursorSlotTable[slot].handle, slotsBefore[slot]) << slot;
  });
}

TEST_F(CursorRoles, StartInstallsEveryStoredChoice) {
  std::strcpy(current.Normal, "Inflated arrow.CUR");
  std::strcpy(current.Appstart, "<Same as Normal>");
  std::strcpy(current.Busy, "Stop Watch.ANI");
  std::strcpy(current.Ibeam, "Large I-beam.CUR");
  current.Sizing = 7;  // hand-edited: anything but 0 is Large
  current.MirrorNormal = 1;
  const std::vector<SystemCursorEvent>* seen = nullptr;
  std::vector<SystemCursorEvent> atStart;
  // The events of the start itself, before the body clears them.
  // Checked while the dialog is up: its destruction puts the defaults back.
  const bool ran = dialog_driver::RunMainDialog([&](MainDialog&) {
    atStart = cursor_record::GetSystemCursorEvents();
    EXPECT_INSTALLED(kIdNormal, FromFile("NORMAL\\Inflated arrow.CUR", true, true));
    EXPECT_TRUE(Installed(kIdBusy).animated);
    EXPECT_INSTALLED(kIdIBeam, FromFile("IBEAM\\Large I-beam.CUR", true, false));
    EXPECT_INSTALLED(kIdSizeNS, FromFile("SIZING\\BIG_NS.CUR", true, false));
  });
  ASSERT_TRUE(ran);
  seen = &atStart;
  std::vector<DWORD> ids;
  for (const SystemCursorEvent& event : *seen) ids.push_back(event.id);
  // Each role once: Normal, App Starting (which follows it), Busy, I-Beam, the four arrows,
  // then the nine others.
  std::vector<DWORD> expected;
  for (unsigned long id : ExpectedInstallOrder()) expected.push_back(id);
  // The record holds the earlier tests' events too: the start's are the last ones.
  ASSERT_GE(ids.size(), expected.size());
  EXPECT_EQ(std::vector<DWORD>(ids.end() - expected.size(), ids.end()), expected);
  if (ids.size() > expected.size()) {
    EXPECT_NE(ids[ids.size() - expected.size() - 1], 32650u) << "App Starting not installed before Normal too";
  }
}

TEST_F(CursorRoles, AThousandRoundsLeaveTheLiveHandlesWhereTheFirstLeftThem) {
  std::strcpy(current.Normal, "Inflated arrow.CUR");
  std::strcpy(current.Appstart, "<Same as Normal>");
  std::strcpy(current.Busy, "Stop Watch.ANI");
  std::strcpy(current.Ibeam, "Large I-beam.CUR");
  current.Sizing = 1;
  current.MirrorNormal = 1;
  current.MirrorAppstart = 1;
  Run([&](MainDialog& dialog, HWND) {
    dialog.ApplyAllCursors();
    const handle_census::LiveHandleCounts first = handle_census::CountLiveHandles();
    for (int round = 1; round < 1000; ++round) {
      dialog.ApplyAllCursors();
      cursor_record::ClearSystemCursorEvents();
    }
    const handle_census::LiveHandleCounts last = handle_census::CountLiveHandles();
    EXPECT_EQ(last.cursors, first.cursors);
    EXPECT_EQ(last.bitmaps, first.bitmaps);
    EXPECT_EQ(last.bitmaps, 0) << "every bitmap handed out is deleted";
    EXPECT_LE(handle_census::CountLiveHandles().copies, 2 * kRoleCount) << "the kept defaults and at most one held copy per id";
    // Every slot holds a cursor but those the platform has no default for.
    for (size_t slot = 0; slot < kRoleCount; ++slot) {
      if (ExpectedRestoreEvent(kCursorRoles[slot].id) == "default") {
        EXPECT_NE(CursorSlotTable[slot].handle, nullptr) << slot;
      }
    }
  });
}

}  // namespace
