// The role table's invariants: every code path that loops over it relies on them.
#include "utility/records/cursor_role_table.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

#include "platform/system_cursor_ids.h"

namespace {

TEST(CursorRoleTable, IdsNamesAndKeysAreUniqueAndFoldersWellFormed) {
  std::set<uint32_t> ids;
  std::set<std::string> names, captions, keys;
  int sizingRows = 0;
  for (size_t row = 0; row < kRoleCount; ++row) {
    const CursorRoleInfo& role = kCursorRoles[row];
    SCOPED_TRACE(role.registryName);
    EXPECT_TRUE(ids.insert(role.id).second) << "id " << role.id << " twice";
    EXPECT_TRUE(names.insert(role.registryName).second);
    EXPECT_TRUE(captions.insert(role.caption).second);
    const size_t length = std::strlen(role.folder);
    ASSERT_GT(length, 1u);
    EXPECT_EQ(role.folder[length - 1], '\\');
    EXPECT_EQ(std::strchr(role.folder, '\\'), role.folder + length - 1) << "one folder deep";
    if (role.choice == RoleChoice::Sizing) {
      ++sizingRows;
      EXPECT_STREQ(role.settingsKey, "Sizing");
      EXPECT_STREQ(role.folder, "SIZING\\");
      ASSERT_NE(role.largeFile, nullptr);
    } else {
      EXPECT_TRUE(keys.insert(role.settingsKey).second) << role.settingsKey << " twice";
      EXPECT_EQ(role.largeFile, nullptr);
    }
  }
  EXPECT_EQ(sizingRows, 4);
}

TEST(CursorRoleTable, EveryRoleIsInstalledOnceAndRestoredOnce) {
  for (auto rank : {&CursorRoleInfo::installRank, &CursorRoleInfo::restoreRank}) {
    std::set<int> ranks;
    for (const CursorRoleInfo& role : kCursorRoles) ranks.insert(role.*rank);
    EXPECT_EQ(ranks.size(), kRoleCount);
    EXPECT_EQ(*ranks.begin(), 0);
    EXPECT_EQ(*ranks.rbegin(), static_cast<int>(kRoleCount) - 1);
  }
  uint8_t install[kRoleCount], restore[kRoleCount];
  RolesInInstallOrder(install);
  RolesInRestoreOrder(restore);
  std::set<int> installed(install, install + kRoleCount), restored(restore, restore + kRoleCount);
  EXPECT_EQ(installed.size(), kRoleCount);
  EXPECT_EQ(restored.size(), kRoleCount);
}

// The eight ids the first Pointrel replaced keep their places at the head of both orders, so
// what it installed and put back, and in which order, is what the table gives first.
TEST(CursorRoleTable, TheFirstEightKeepTheirOrder) {
  const uint32_t installed[8] = {kIdNormal, kIdAppStarting, kIdBusy, kIdIBeam, kIdSizeNWSE, kIdSizeNESW, kIdSizeWE, kIdSizeNS};
  const uint32_t restored[8] = {kIdNormal, kIdBusy, kIdAppStarting, kIdIBeam, kIdSizeNWSE, kIdSizeNESW, kIdSizeWE, kIdSizeNS};
  uint8_t install[kRoleCount], restore[kRoleCount];
  RolesInInstallOrder(install);
  RolesInRestoreOrder(restore);
  for (size_t rank = 0; rank < 8; ++rank) {
    EXPECT_EQ(kCursorRoles[install[rank]].id, installed[rank]) << "install rank " << rank;
    EXPECT_EQ(kCursorRoles[restore[rank]].id, restored[rank]) << "restore rank " << rank;
  }
  uint32_t ids[kRoleCount];
  CursorIdsOfRoles(ids);
  for (size_t row = 0; row < kRoleCount; ++row) EXPECT_EQ(ids[row], kCursorRoles[row].id) << row;
}

TEST(CursorRoleTable, TheWindowsSchemeOrder) {
  const char* const order[kRoleCount] = {"Arrow",  "Help",   "AppStarting", "Wait",     "Crosshair", "IBeam",
                                         "NWPen",  "No",     "SizeNS",      "SizeWE",   "SizeNWSE",  "SizeNESW",
                                         "SizeAll", "UpArrow", "Hand",      "Pin",      "Person"};
  for (size_t row = 0; row < kRoleCount; ++row) EXPECT_STREQ(kCursorRoles[row].registryName, order[row]);
  EXPECT_EQ(kCursorRoles[kRoleNormal].id, kIdNormal);
  EXPECT_EQ(kCursorRoles[kRoleAppStarting].id, kIdAppStarting);
  EXPECT_EQ(kCursorRoles[kRoleBusy].id, kIdBusy);
  EXPECT_EQ(kCursorRoles[kRoleIBeam].id, kIdIBeam);
  EXPECT_EQ(kCursorRoles[kRolePerson].id, 32672u);
}

TEST(CursorRoleTable, LookUps) {
  struct Case {
    const char* name;
    int row;
  };
  const Case cases[] = {{"Arrow", kRoleNormal}, {"arrow", kRoleNormal}, {"NWPEN", kRoleHandwriting},
                        {"Person", kRolePerson}, {"Arrows", -1},        {"", -1},
                        {"Arro", -1},            {nullptr, -1}};
  for (const Case& c : cases) EXPECT_EQ(RoleOfRegistryName(c.name), c.row) << (c.name ? c.name : "(null)");
  for (size_t row = 0; row < kRoleCount; ++row) EXPECT_EQ(RoleOfCursorId(kCursorRoles[row].id), static_cast<int>(row));
  EXPECT_EQ(RoleOfCursorId(0), -1);
  EXPECT_EQ(RoleOfCursorId(32640), -1);  // OCR_SIZE, gone from today's schemes
}

}  // namespace
