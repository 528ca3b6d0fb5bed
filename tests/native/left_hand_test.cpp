// Which roles "Left-handed" and the two mirror boxes mirror.
#include "utility/cursor/left_hand.h"

#include <gtest/gtest.h>

#include "utility/records/cursor_role_table.h"

namespace {

// The roles whose pointer points or leans; every other role reads the same mirrored.
bool PointsOrLeans(size_t role) {
  switch (role) {
    case kRoleNormal: case kRoleHelp: case kRoleAppStarting: case kRoleHandwriting: case kRoleAlternate:
    case kRoleLink: case kRoleLocation: case kRolePerson:
      return true;
    default:
      return false;
  }
}

TEST(MirrorsRole, LeftHandedMirrorsThePointingRolesAndUnavailableOnlyWhenLopsided) {
  for (size_t role = 0; role < kRoleCount; ++role) {
    for (bool symmetric : {false, true}) {
      SCOPED_TRACE(std::string(kCursorRoles[role].caption) + (symmetric ? " symmetric" : " lopsided"));
      const bool expected = PointsOrLeans(role) || (role == kRoleUnavailable && !symmetric);
      EXPECT_EQ(MirrorsRole({role, true, false, symmetric}), expected);
      EXPECT_FALSE(MirrorsRole({role, false, false, symmetric})) << "nothing mirrored while it is off";
    }
  }
}

TEST(MirrorsRole, AnOwnMirrorBoxMirrorsWhateverLeftHandedSays) {
  for (size_t role : {size_t{kRoleNormal}, size_t{kRoleAppStarting}}) {
    for (bool leftHanded : {false, true}) {
      EXPECT_TRUE(MirrorsRole({role, leftHanded, true, false})) << kCursorRoles[role].caption << " " << leftHanded;
      EXPECT_TRUE(MirrorsRole({role, leftHanded, true, true})) << "the box mirrors even a symmetric shape";
    }
  }
}

TEST(MirrorsRole, ARowBeyondTheTableIsNeverMirroredByLeftHanded) {
  EXPECT_FALSE(MirrorsRole({kRoleCount, true, false, false}));
  EXPECT_FALSE(MirrorsRole({size_t(-1), true, false, false}));
}

}  // namespace
