// A .theme file's cursors: its [Control Panel\Cursors] section, one key per role by the role's
// registry name ("Arrow=%SystemRoot%\cursors\aero_arrow.cur"), each path reduced to its file's
// name. "DefaultValue" is the scheme's name, as the platform keeps it in the default value of
// that key; "Scheme Source" and unknown keys are ignored.
#pragma once
#include <cstddef>
#include <cstdint>

#include "utility/cursor/pack_description.h"

// Reads a .theme's bytes (ANSI, UTF-8 or UTF-16 with its mark) into `out`; false when the
// section names no role.
bool ReadTheme(const uint8_t* bytes, size_t size, PackDescription* out);
