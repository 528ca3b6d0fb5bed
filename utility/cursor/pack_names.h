// Roles for the cursor files of a pack that has no .inf or .theme, by the words of their names:
// "Normal Select.cur", "aero_helpsel.cur", "diagonal_resize_1.ani", "LinkSelect.cur".
//
// A name's words are its runs of letters and digits (separated by anything else), each also
// split where a lower-case letter meets a capital or a letter meets a digit; letters compare
// without case, and a number without its leading zeros. A word matches only a whole word:
// "no" is not in "normal", nor "up" in "pickup". Each role has words of weight 2 (a phrase of
// two words, such as "diagonal 1", weighs 4) and the general ones "arrow" and "pointer" weigh
// 1 for Normal; a name scores for a role the weights of the role's words it holds.
//
// Roles and files are then paired best first: the highest score, then the shorter name, then
// the name first in byte order, then the role first in the roles' order. Each file goes to one
// role at most and each role gets one file at most.
#pragma once
#include <cstddef>

#include "utility/records/cursor_role_table.h"

// The score of file name `name` (its extension, after the last '.', is not read) for `role`; 0
// when it holds none of the role's words.
int RoleNameScore(const char* name, size_t role);

// For the `count` file names of `names`, the file each role gets: its index, or -1 for none.
void MatchRolesByName(const char* const* names, size_t count, int (&fileOfRole)[kRoleCount]);
