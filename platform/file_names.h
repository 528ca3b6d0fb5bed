// Whether a name read from outside (a settings value, a scheme file, a cursor pack) names a file
// directly inside a known folder and nothing else. Platform-free.
#pragma once

// True for a bare file name in UTF-8: not empty, at most 255 UTF-16 units, no folder separator,
// drive or stream colon, control character or character the platform refuses in names
// (<>"|?*), not "." or "..", no trailing dot or space (the platform drops them, so the name
// would open another file), and not a device (CON, PRN, AUX, NUL, COM0 to COM9, LPT0 to LPT9 and
// their superscript forms, CONIN$, CONOUT$, CLOCK$, with or without an extension, in any case).
bool IsPlainFileName(const char* name);
