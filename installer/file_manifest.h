// The 78 files of the distribution medium and where they go in the installed tree. The
// artwork generator writes the library cursors from this same table, under both names.
#pragma once

struct ManifestRow {
  const char* sourceName;       // 8.3 name on the distribution medium
  const char* destinationName;  // long name, relative to the destination folder
};

constexpr int kManifestRows = 78;
extern const ManifestRow FileManifest[kManifestRows];

// Rows 0 and 1 are the program and its help file; rows 2 to 77 are the library cursors: the 50
// of the first library, then from row 52 the shipped schemes' own 26.
constexpr int kFirstCursorRow = 2;
constexpr int kFirstSchemeRow = 52;
