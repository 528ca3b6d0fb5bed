// The destination page's check of the typed folder.
#pragma once
#include "installer/install_state.h"

// Rewrites text (a kTextBufferSize-byte buffer) in place into the form "X:\...\": a drive colon in
// second place, "\" third and last. Returns false, leaving text unchanged, for an empty text,
// a colon anywhere but in second place, a buffer with no terminator, or a result that would not
// fit the buffer.
bool NormalizeDestination(char* text);
