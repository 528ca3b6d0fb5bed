// Shell shortcuts through the platform's shell-link component.
#pragma once
#include <windows.h>

namespace platform {

// Writes a shortcut file at `link` that starts `target` in `workingFolder`, with `description`.
// Returns the result of the last step attempted (creating the link object, asking it for its
// file interface, or saving). Opens and closes the component object library on the calling
// thread. A link path that does not fit MAX_PATH wide characters is not saved.
HRESULT CreateShortcut(const char* target, const char* link, const char* workingFolder, const char* description);

// The target path stored in the shortcut file at `link` into `out` (`size` bytes); false for a
// file that is no shortcut or a target that does not fit. Opens and closes the component object
// library on the calling thread.
bool ReadShortcutTarget(const char* link, char* out, size_t size);

// The current user's folder of the shell with id `csidl` (CSIDL_DESKTOPDIRECTORY, CSIDL_STARTUP)
// into `out` of `size` characters, without creating it. Looked up in the shell at run time, so
// a program that calls it still starts where the shell lacks the call; false then, and when the
// shell has no such folder or it does not fit.
bool GetUserShellFolder(int csidl, char* out, size_t size);

}  // namespace platform
