// Left-handed animations: a role's animation mirrored once per choice, frame by frame, into a
// file of the user's temporary folder and loaded from there as any animation is, so the
// platform animates it as it does the original (same frames, steps and rates, at the user's
// size) and the system-cursor service can load it afresh.
#pragma once
#include <windows.h>

#include <cstddef>

// `animation` (the caller's, loaded from its file) mirrored for role `role`: a new cursor, the
// argument then released, or the argument itself where it cannot be mirrored (not loaded from a
// file, a PNG frame, no temporary folder). The file is made again only when the role's source
// file, its size or its time of writing has changed.
HCURSOR MirroredAnimation(size_t role, HCURSOR animation);

// Removes the files made, at the end of a run.
void RemoveMirroredAnimations();
