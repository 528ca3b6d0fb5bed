#include "utility/cursor/left_hand.h"

#include "utility/records/cursor_role_table.h"

bool MirrorsRole(const MirrorQuestion& question) {
  if (question.ownMirrorAsked) return true;
  if (!question.leftHanded || question.role >= kRoleCount) return false;
  switch (kCursorRoles[question.role].leftHand) {
    case LeftHand::Mirror: return true;
    case LeftHand::MirrorUnlessSymmetric: return !question.symmetric;
    case LeftHand::Keep: return false;
  }
  return false;
}
