// Importing a cursor pack from disk: the pack a path names opened as a listing and a reader
// (an archive, or a folder of files), its plan made with a name no scheme has, and the planned
// files copied into a scheme folder of the user's own (cursor_library_win.h).
#pragma once
#include <windows.h>

#include "utility/cursor/pack_plan.h"

// A pack opened from a path: its files listed, and read only by their index in the listing.
class OpenedPack {
 public:
  OpenedPack() = default;
  ~OpenedPack();
  OpenedPack(const OpenedPack&) = delete;
  OpenedPack& operator=(const OpenedPack&) = delete;

  // Opens `path`: a .zip (read whole within the pack's limits and checked), an .inf or .theme
  // (the pack is its folder, and the file the one that describes it), any other file (the pack
  // is its folder) or a folder. False, with a sentence for the user in `problem`, when it
  // cannot be opened.
  bool Open(const char* path, const char** problem);

  const PackListing& listing() const { return *listing_; }
  PackReader& reader() { return *reader_; }
  // The file the path named, by its index, when it may describe the pack; else -1.
  int describer() const { return describer_; }
  // The archive's or the folder's name, without its extension: the scheme's name when the
  // pack gives none.
  const char* name() const { return name_; }

 private:
  PackListing* listing_ = nullptr;
  PackReader* reader_ = nullptr;
  zip::Archive* archive_ = nullptr;
  uint8_t* archiveBytes_ = nullptr;
  int describer_ = -1;
  char name_[kSchemeNameSize] = "";
};

// `wanted` as the name of a new scheme: cleaned, and numbered when a scheme (one that ships,
// one of the user's, any folder under the user's schemes) has its folder name; into `out` of
// kSchemeNameSize bytes.
void NewSchemeName(const char* wanted, char* out);

// Plans the import of `pack` (PlanImport) under a new scheme name. False, with a sentence for
// the user in `problem`, when the pack is refused.
bool PlanPackImport(OpenedPack& pack, ImportPlan* plan, const char** problem);

// Makes the scheme of `plan`: a new folder under the user's schemes, each planned file's bytes
// read and checked again and only then written, and the scheme file last. False, with a
// sentence in `problem` and nothing left behind, when it cannot.
bool CopyPlannedScheme(OpenedPack& pack, const ImportPlan& plan, const char** problem);

// Removes the user's scheme in the folder named `folder` under the user's schemes: its files,
// then the folder. False when the name is no plain file name or the folder stays.
bool RemoveOwnScheme(const char* folder);
