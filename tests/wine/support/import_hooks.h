// Watching a test program's calls into the platform from outside the code under test: every
// import slot of this program that holds a function is pointed at a stand-in, which calls on.
#pragma once
#include <windows.h>

namespace import_hooks {

// Points every import slot of this program that holds `current` at `replacement`; returns how
// many it changed. Called again with the two swapped, it puts them back.
int Redirect(void* current, void* replacement);

// What this program's import slot for the function `name` holds now: the platform's function,
// or a stand-in another watch put there. Null when the program does not import it.
void* CurrentImport(const char* name);

// The function `name` of the loaded `dll` itself.
void* PlatformFunction(const char* dll, const char* name);

}  // namespace import_hooks
