// The 52 files of the distribution medium and where they go in the installed tree. The
// artwork generator writes the library cursors from this same table, under both names.
#pragma once

struct ManifestRow {
  const char* sourceName;       // 8.3 name on the distribution medium
  const char* destinationName;  // long name, relative to the destination folder
};

constexpr int kManifestRows = 52;
extern const ManifestRow FileManifest[kManifestRows];

// Rows 0 and 1 are the program and its help file; rows 2 to 51 are the library cursors.
constexpr int kFirstCursorRow = 2;
