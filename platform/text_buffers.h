// The fixed text buffers of both programs: paths and list texts, and profile values.
#pragma once
#include <cstddef>

// Paths, list entries and the installer's text fields.
constexpr size_t kTextBufferSize = 512;
// A profile value is read through a buffer of this many characters (at most one less is seen).
constexpr int kProfileTextSize = 4096;
