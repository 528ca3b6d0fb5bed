// A cursor pack's install .inf, read as the platform's setup reads one, without any platform
// call and without obeying it: sections (merged when a name repeats), ';' comments outside
// quotes, lines continued by a final '\' outside quotes, quoted fields ("" for a quote),
// %name% from [Strings] (then from any [Strings.*]), %% for a percent sign; ANSI, UTF-8 and
// UTF-16 files.
//
// The scheme is the first line under HKCU "Control Panel\Cursors\Schemes" in the sections the
// AddReg of [DefaultInstall.NTamd64], [DefaultInstall.NTx86], [DefaultInstall.NT] or
// [DefaultInstall] names (in that order), then in [Scheme.Reg] and [Wreg]. Its value lists the
// files by position in the roles' order, whatever names the pack gave its variables; a shorter
// list or an empty field leaves the role to the platform. Lines under HKCU "Control
// Panel\Cursors" with a role's registry name as the value's name fill the roles the scheme line
// leaves empty. Every path (directory ids such as %10%, CUR_DIR, drives, "..") is reduced to
// the file's own name.
#pragma once
#include <cstddef>
#include <cstdint>

#include "utility/cursor/pack_description.h"

// Reads an .inf's bytes into `out`; false when it holds neither a scheme line nor a role's
// value.
bool ReadInf(const uint8_t* bytes, size_t size, PackDescription* out);
