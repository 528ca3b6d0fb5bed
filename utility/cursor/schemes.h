// Pointer schemes as the roles use them: a scheme names a cursor file for each of the seventeen
// roles (or none: the platform's own). A role whose stored choice is "<Default>" shows its
// scheme's cursor; a choice that differs from the scheme makes the whole a "<Custom>" one.
// Platform-free.
#pragma once
#include <cstddef>
#include <cstdint>

#include "platform/text_buffers.h"
#include "utility/cursor/pack_description.h"
#include "utility/cursor/scheme_file.h"
#include "utility/records/cursor_role_table.h"
#include "utility/records/cursor_settings.h"

// What the scheme box shows while a choice differs from the scheme.
constexpr char kCustomSchemeName[] = "<Custom>";

struct Scheme {
  char name[kSchemeNameSize] = "";
  // One of the user's own: its files lie in `folder`. Else a scheme that ships: each file lies
  // in its role's library folder.
  bool own = false;
  char folder[kTextBufferSize] = "";           // own: with its trailing backslash
  char files[kRoleCount][kPackNameSize] = {};  // per role; "": the platform's
};

// "<None>": every role the platform's.
void NoScheme(Scheme* scheme);
// The shipped scheme named `name` (in any letter case); false, with `scheme` left alone, when
// none is.
bool FindShippedScheme(const char* name, Scheme* scheme);
// The user's scheme read from its file in `folder` (which ends in a backslash). False, with
// `scheme` left alone, when the folder does not fit.
bool OwnScheme(const SchemeFile& file, const char* folder, Scheme* scheme);

// The path of `role`'s cursor: its library folder, or the user's scheme folder, and the file's
// name. False, with `path` empty, when the scheme leaves the role to the platform or the path
// does not fit; a name that is no plain file name is never composed.
bool SchemeCursorPath(const Scheme& scheme, size_t role, char* path, size_t size);

// Whether a role's stored choice (a list's or "More pointers..."'s) shows something else than
// the scheme: anything but "<Default>" and the scheme's own file in a shipped scheme's folder.
bool ChoiceDiffersFromScheme(const Scheme& scheme, size_t role, const char* storedName);
// Whether the sizing radios' choice shows something else than the scheme's four arrows: "Large"
// unless the scheme's arrows are the large ones.
bool SizingDiffersFromScheme(const Scheme& scheme, int32_t sizing);
// Whether any role of `settings` differs from the scheme: the scheme box then shows "<Custom>".
bool SettingsDifferFromScheme(const Scheme& scheme, const CursorSettings& settings);
