// Which roles' cursors are mirrored left to right before they are installed: "Left-handed"
// mirrors every role the role table marks (a role marked MirrorUnlessSymmetric only where its
// shape is not its own mirror image), and the mirror boxes of Normal and App Starting mirror
// their role's static cursor whatever "Left-handed" says. Platform-free.
#pragma once
#include <cstddef>

// What is known of one role's cursor when it is installed.
struct MirrorQuestion {
  size_t role;          // a row of the role table
  bool leftHanded;      // the "Left-handed" setting
  bool ownMirrorAsked;  // the role's own mirror box is ticked (it is off for an animation)
  bool symmetric;       // the shape is its own mirror image
};

bool MirrorsRole(const MirrorQuestion& question);
