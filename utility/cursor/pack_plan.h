// What importing a cursor pack would do, decided before anything is copied: which file
// describes the pack, where the pack's folder is inside it, a file of the pack (or none) for
// each of the seventeen roles with the reason when a named file cannot serve, each chosen
// file's bytes checked as a cursor, the scheme's name, and the names the files take in the
// scheme's folder.
//
// The Win32 shell lists the pack (PackListing; a ZipPack for an archive), calls PlanImport,
// shows the plan, lets the user change a role (ChooseRoleFile) or the name (UniqueSchemeName),
// then copies each planned file's checked bytes (PackCursor) under its target name into the
// scheme's folder and writes the scheme file (PlannedSchemeFile, WriteSchemeFile).
#pragma once
#include <cstddef>
#include <cstdint>

#include "platform/cursor_file.h"
#include "platform/zip_reader.h"
#include "utility/cursor/pack_description.h"
#include "utility/cursor/pack_listing.h"
#include "utility/cursor/scheme_file.h"

enum class PackRefusal : uint8_t {
  None,
  TooManyFiles,   // more than kMostPackFiles
  TooLarge,       // more than kMostPackBytes in all
  NoCursorFiles,  // not one .cur or .ani
};

// Where the roles' files came from.
enum class PackSource : uint8_t { Inf, Theme, Names };

// Why a role's file cannot serve; the role is then the platform's.
enum class RoleProblem : uint8_t {
  None,
  Missing,        // the describing file names a file the pack does not hold
  NotPlainName,   // a name that is no plain file name (a device, one too long)
  NotCursorName,  // not a .cur or .ani
  TooLarge,       // larger than any cursor file the reader takes
  Unreadable,     // it could not be read (a damaged archive entry, a file gone)
  Damaged,        // the cursor-file check refused it
};

struct PlannedRole {
  int file = -1;                     // index in the listing, or -1: the platform's
  char named[kPackNameSize] = "";    // the name the pack gave it (a file's own name), for messages
  RoleProblem problem = RoleProblem::None;
  char target[kPackNameSize] = "";   // the file's name in the scheme's folder, when there is a file
};

struct ImportPlan {
  PackRefusal refusal = PackRefusal::None;
  PackSource source = PackSource::Names;
  int describer = -1;                   // the .inf or .theme read, by index in the listing
  char folder[kPackNameSize] = "";      // the pack's folder inside it ("" for its top)
  char schemeName[kSchemeNameSize] = "";
  PlannedRole roles[kRoleCount];
};

// Names of the schemes already there (shipped ones and the user's), for a new one to differ.
struct SchemeNames {
  const char* const* names;
  size_t count;
};

// Plans the import of the listed pack. `describer` is the index of the .inf or .theme the
// user named, or -1 to choose: of the pack's .inf and .theme files, the one whose named files
// the pack holds most of (an .inf before a .theme, then the one in fewer folders, then the
// first listed), when it holds at least one; else the files of the folder with the most cursor
// files, by the words of their names. Names are looked up in the describing file's folder
// first. The scheme's name is the one the describing file gives, else `packName`, numbered
// when a scheme of that name exists. False, with `refusal` set, when the pack is refused.
bool PlanImport(const PackListing& listing, PackReader& reader, int describer, const char* packName,
                SchemeNames existing, ImportPlan* plan);

// The user's choice of file `file` of the pack (-1: none) for `role`, checked as the plan
// checks its own, and every target name made again.
void ChooseRoleFile(const PackListing& listing, PackReader& reader, size_t role, int file, ImportPlan* plan);

// The scheme file an import of `plan` writes: its name and each role's target name.
void PlannedSchemeFile(const ImportPlan& plan, SchemeFile* scheme);

// One file of a pack read whole and checked as a cursor, for the preview and the copy: only
// bytes the check accepted are ever handed on.
class PackCursor {
 public:
  PackCursor() = default;
  ~PackCursor() { delete[] bytes_; }
  PackCursor(const PackCursor&) = delete;
  PackCursor& operator=(const PackCursor&) = delete;

  // Reads and checks file `index`; None when it is a cursor file the reader accepts.
  RoleProblem Load(const PackListing& listing, PackReader& reader, size_t index);
  const uint8_t* bytes() const { return bytes_; }
  size_t size() const { return size_; }
  const cursor_file::CheckedFile& checked() const { return checked_; }

 private:
  uint8_t* bytes_ = nullptr;
  size_t size_ = 0;
  cursor_file::CheckedFile checked_;
};

// One sentence for the user about each refusal and problem.
const char* PackRefusalText(PackRefusal refusal);
const char* RoleProblemText(RoleProblem problem);
const char* ZipProblemText(zip::Problem problem);
