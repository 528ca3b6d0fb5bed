// The pointer schemes that ship with Pointrel: each names, for every role of kCursorRoles and in
// that order, the file of its cursor as a bare name inside that role's library folder, or null
// where the scheme leaves the role to the platform. The installer copies the files (they are
// rows of the file manifest); the artwork generator draws them.
#pragma once
#include <cstddef>

#include "utility/records/cursor_role_table.h"

struct ShippedScheme {
  const char* name;                // as the "Scheme" box lists it and the settings store it
  const char* files[kRoleCount];   // per role, in kCursorRoles order; null: the platform's own
};

constexpr size_t kShippedSchemeCount = 2;
extern const ShippedScheme kShippedSchemes[kShippedSchemeCount];
