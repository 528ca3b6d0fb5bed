#include "utility/cursor/pack_plan.h"

#include <cstring>
#include <new>

#include "platform/file_names.h"
#include "platform/ini_text.h"
#include "platform/text_encoding.h"
#include "utility/cursor/library_entry.h"
#include "utility/cursor/pack_inf.h"
#include "utility/cursor/pack_names.h"
#include "utility/cursor/pack_theme.h"

namespace {

enum class DescriberKind { None, Inf, Theme };

bool EndsWithIgnoringCase(const char* text, const char* ending) {
  const size_t length = std::strlen(text), endingLength = std::strlen(ending);
  return length >= endingLength && platform::SameTextIgnoringCase(text + length - endingLength, ending);
}

DescriberKind KindOf(const char* path) {
  if (EndsWithIgnoringCase(path, ".inf")) return DescriberKind::Inf;
  if (EndsWithIgnoringCase(path, ".theme")) return DescriberKind::Theme;
  return DescriberKind::None;
}

bool IsCursorFile(const PackFile& file) { return ClassifyCursorFileName(PackFileName(file.path)) != CursorFileKind::NotCursor; }

// Reads the describing file `index` (an .inf unless it is a .theme) into `description`.
bool ReadDescriber(const PackListing& listing, PackReader& reader, size_t index, PackDescription* description) {
  *description = PackDescription{};
  const uint64_t size = listing[index].size;
  if (size > text::kLargestTextFile) return false;
  uint8_t* bytes = new (std::nothrow) uint8_t[size ? size : 1];
  if (!bytes) return false;
  bool read = reader.Read(index, bytes);
  if (read) {
    read = KindOf(listing[index].path) == DescriberKind::Theme ? ReadTheme(bytes, size, description)
                                                                : ReadInf(bytes, size, description);
  }
  delete[] bytes;
  return read;
}

// Why the name a pack gave a role cannot serve, before it is looked up.
RoleProblem NameProblem(const char* name, bool cut) {
  if (cut || !IsPlainFileName(name) || std::strlen(name) >= kPackNameSize) return RoleProblem::NotPlainName;
  if (ClassifyCursorFileName(name) == CursorFileKind::NotCursor) return RoleProblem::NotCursorName;
  return RoleProblem::None;
}

// How many of the described roles the pack holds a file for, looked up from `folder`.
size_t FilesFound(const PackListing& listing, const PackDescription& description, const char* folder) {
  size_t found = 0;
  for (size_t role = 0; role < kRoleCount; ++role) {
    const char* name = description.files[role];
    if (name[0] && NameProblem(name, description.cut[role]) == RoleProblem::None && listing.Find(name, folder) >= 0) ++found;
  }
  return found;
}

// The pack's .inf or .theme that holds most of its named files (see PlanImport), or -1.
int ChooseDescriber(const PackListing& listing, PackReader& reader, PackDescription* chosen) {
  int best = -1;
  size_t bestFound = 0;
  PackDescription description;
  for (size_t i = 0; i < listing.count(); ++i) {
    const DescriberKind kind = KindOf(listing[i].path);
    if (kind == DescriberKind::None || !ReadDescriber(listing, reader, i, &description)) continue;
    char folder[kPackNameSize];
    PackFolderOf(listing[i].path, folder);
    const size_t found = FilesFound(listing, description, folder);
    if (found == 0) continue;
    bool better = best < 0 || found > bestFound;
    if (!better && found == bestFound) {
      const DescriberKind bestKind = KindOf(listing[best].path);
      better = kind != bestKind ? kind == DescriberKind::Inf : PackDepth(listing[i].path) < PackDepth(listing[best].path);
    }
    if (!better) continue;
    best = static_cast<int>(i);
    bestFound = found;
    *chosen = description;
  }
  return best;
}

// The folder holding the most cursor files (the one in fewer folders, then the first listed,
// among equals) into `folder`; false when the pack holds none.
bool CursorFolder(const PackListing& listing, char* folder) {
  size_t bestCount = 0, bestDepth = 0;
  for (size_t i = 0; i < listing.count(); ++i) {
    if (!IsCursorFile(listing[i])) continue;
    char candidate[kPackNameSize], other[kPackNameSize];
    PackFolderOf(listing[i].path, candidate);
    size_t count = 0;
    for (size_t j = 0; j < listing.count(); ++j) {
      PackFolderOf(listing[j].path, other);
      count += IsCursorFile(listing[j]) && std::strcmp(candidate, other) == 0;
    }
    const size_t depth = PackDepth(listing[i].path);
    if (count > bestCount || (count == bestCount && depth < bestDepth)) {
      std::strcpy(folder, candidate);
      bestCount = count;
      bestDepth = depth;
    }
  }
  return bestCount > 0;
}

// Each file's check, read once however many roles it serves.
class FileChecks {
 public:
  FileChecks() {
    for (bool& done : done_) done = false;
  }
  RoleProblem Of(const PackListing& listing, PackReader& reader, size_t index) {
    if (!done_[index]) {
      PackCursor cursor;
      problems_[index] = cursor.Load(listing, reader, index);
      done_[index] = true;
    }
    return problems_[index];
  }

 private:
  bool done_[kMostPackFiles];
  RoleProblem problems_[kMostPackFiles];
};

// Sets `role` to file `index` of the pack, or to the platform's with the reason it cannot serve.
void SetRole(const PackListing& listing, PackReader& reader, FileChecks& checks, int index, PlannedRole* role) {
  role->file = -1;
  role->problem = RoleProblem::None;
  role->target[0] = '\0';
  if (index < 0) return;
  const char* name = PackFileName(listing[static_cast<size_t>(index)].path);
  CopyCut(name, role->named, sizeof role->named);
  role->problem = NameProblem(name, false);
  if (role->problem == RoleProblem::None) role->problem = checks.Of(listing, reader, static_cast<size_t>(index));
  if (role->problem == RoleProblem::None) role->file = index;
}

// `name` with " (number)" before its extension, cut to stay a plain name, into `target`.
void NumberedName(const char* name, uint32_t number, char* target) {
  char suffix[16] = " (";
  size_t at = 2;
  char digits[11];
  size_t count = 0;
  for (uint32_t n = number; n; n /= 10) digits[count++] = static_cast<char>('0' + n % 10);
  while (count) suffix[at++] = digits[--count];
  suffix[at++] = ')';
  suffix[at] = '\0';
  const char* dot = std::strrchr(name, '.');
  const char* extension = dot ? dot : name + std::strlen(name);
  // 255 bytes are at most 255 UTF-16 units: the longest name the platform takes.
  size_t stem = static_cast<size_t>(extension - name);
  const size_t room = 255 - std::strlen(suffix) - std::strlen(extension);
  if (stem > room) {
    stem = room;
    while (stem > 0 && (static_cast<unsigned char>(name[stem]) & 0xC0) == 0x80) --stem;
  }
  std::memcpy(target, name, stem);
  target[stem] = '\0';
  std::strcat(target, suffix);
  std::strcat(target, extension);
}

// Each file keeps its own name in the scheme's folder; two different files of one name (from
// two folders of the pack) are told apart by a number.
void AssignTargets(const PackListing& listing, ImportPlan* plan) {
  for (size_t role = 0; role < kRoleCount; ++role) {
    PlannedRole& planned = plan->roles[role];
    planned.target[0] = '\0';
    if (planned.file < 0) continue;
    const char* name = PackFileName(listing[static_cast<size_t>(planned.file)].path);
    std::strcpy(planned.target, name);
    for (uint32_t number = 2;; ++number) {
      bool taken = false, same = false;
      for (size_t earlier = 0; earlier < role && !taken; ++earlier) {
        const PlannedRole& other = plan->roles[earlier];
        if (other.file < 0 || !platform::SameTextIgnoringCase(other.target, planned.target)) continue;
        same = other.file == planned.file;
        taken = true;
      }
      if (!taken || same) break;
      NumberedName(name, number, planned.target);
    }
  }
}

// Empties the plan field by field: an assignment from ImportPlan{} would keep a whole plan's
// image in the program for a few fields that are not zero.
void ResetPlan(ImportPlan* plan) {
  plan->refusal = PackRefusal::None;
  plan->source = PackSource::Names;
  plan->describer = -1;
  plan->folder[0] = '\0';
  plan->schemeName[0] = '\0';
  for (PlannedRole& role : plan->roles) {
    role.file = -1;
    role.named[0] = '\0';
    role.problem = RoleProblem::None;
    role.target[0] = '\0';
  }
}

}  // namespace

RoleProblem PackCursor::Load(const PackListing& listing, PackReader& reader, size_t index) {
  delete[] bytes_;
  bytes_ = nullptr;
  size_ = 0;
  checked_ = cursor_file::CheckedFile{};
  const uint64_t size = listing[index].size;
  if (size > cursor_file::kLargestFile) return RoleProblem::TooLarge;
  uint8_t* bytes = new (std::nothrow) uint8_t[size ? size : 1];
  if (!bytes) return RoleProblem::Unreadable;
  if (!reader.Read(index, bytes)) {
    delete[] bytes;
    return RoleProblem::Unreadable;
  }
  if (cursor_file::CheckCursorFile(bytes, size, &checked_) == cursor_file::Kind::Refused) {
    delete[] bytes;
    return RoleProblem::Damaged;
  }
  bytes_ = bytes;
  size_ = size;
  return RoleProblem::None;
}

bool PlanImport(const PackListing& listing, PackReader& reader, int describer, const char* packName,
                SchemeNames existing, ImportPlan* plan) {
  ResetPlan(plan);
  if (listing.tooManyFiles() || listing.count() > kMostPackFiles) {
    plan->refusal = PackRefusal::TooManyFiles;
  } else if (listing.totalSize() > kMostPackBytes) {
    plan->refusal = PackRefusal::TooLarge;
  } else {
    bool anyCursor = false;
    for (size_t i = 0; i < listing.count(); ++i) anyCursor = anyCursor || IsCursorFile(listing[i]);
    if (!anyCursor) plan->refusal = PackRefusal::NoCursorFiles;
  }
  if (plan->refusal != PackRefusal::None) return false;

  // The file the user named counts when it describes a scheme; else the pack is looked through.
  PackDescription description;
  if (describer < 0 || static_cast<size_t>(describer) >= listing.count() ||
      !ReadDescriber(listing, reader, static_cast<size_t>(describer), &description)) {
    describer = ChooseDescriber(listing, reader, &description);
  }
  FileChecks checks;
  if (describer >= 0) {
    plan->describer = describer;
    plan->source = KindOf(listing[describer].path) == DescriberKind::Theme ? PackSource::Theme : PackSource::Inf;
    PackFolderOf(listing[describer].path, plan->folder);
    for (size_t role = 0; role < kRoleCount; ++role) {
      PlannedRole& planned = plan->roles[role];
      const char* name = description.files[role];
      if (!name[0]) continue;
      CopyCut(name, planned.named, sizeof planned.named);
      planned.problem = NameProblem(name, description.cut[role]);
      if (planned.problem != RoleProblem::None) continue;
      const int index = listing.Find(name, plan->folder);
      if (index < 0) {
        planned.problem = RoleProblem::Missing;
      } else {
        SetRole(listing, reader, checks, index, &planned);
      }
    }
  } else {
    plan->source = PackSource::Names;
    CursorFolder(listing, plan->folder);
    const char* names[kMostPackFiles];
    int indices[kMostPackFiles];
    size_t count = 0;
    for (size_t i = 0; i < listing.count(); ++i) {
      char folder[kPackNameSize];
      PackFolderOf(listing[i].path, folder);
      if (!IsCursorFile(listing[i]) || std::strcmp(folder, plan->folder) != 0) continue;
      names[count] = PackFileName(listing[i].path);
      indices[count++] = static_cast<int>(i);
    }
    int fileOfRole[kRoleCount];
    MatchRolesByName(names, count, fileOfRole);
    for (size_t role = 0; role < kRoleCount; ++role) {
      if (fileOfRole[role] >= 0) SetRole(listing, reader, checks, indices[fileOfRole[role]], &plan->roles[role]);
    }
  }
  UniqueSchemeName(description.schemeName[0] ? description.schemeName : (packName ? packName : ""), existing.names, existing.count,
                   plan->schemeName);
  AssignTargets(listing, plan);
  return true;
}

void ChooseRoleFile(const PackListing& listing, PackReader& reader, size_t role, int file, ImportPlan* plan) {
  if (role >= kRoleCount) return;
  PlannedRole& planned = plan->roles[role];
  planned.named[0] = '\0';
  FileChecks checks;
  SetRole(listing, reader, checks, file >= 0 && static_cast<size_t>(file) < listing.count() ? file : -1, &planned);
  AssignTargets(listing, plan);
}

void PlannedSchemeFile(const ImportPlan& plan, SchemeFile* scheme) {
  *scheme = SchemeFile{};
  std::strcpy(scheme->name, plan.schemeName);
  for (size_t role = 0; role < kRoleCount; ++role) {
    if (plan.roles[role].file >= 0) std::strcpy(scheme->files[role], plan.roles[role].target);
  }
}

const char* PackRefusalText(PackRefusal refusal) {
  switch (refusal) {
    case PackRefusal::None: return "";
    case PackRefusal::TooManyFiles: return "The pack holds more than 64 files.";
    case PackRefusal::TooLarge: return "The pack holds more than 20 MB.";
    case PackRefusal::NoCursorFiles: return "The pack holds no cursor file (.cur or .ani).";
  }
  return "";
}

const char* RoleProblemText(RoleProblem problem) {
  switch (problem) {
    case RoleProblem::None: return "";
    case RoleProblem::Missing: return "The pack does not hold this file.";
    case RoleProblem::NotPlainName: return "This is not a plain file name.";
    case RoleProblem::NotCursorName: return "This is not a cursor file (.cur or .ani).";
    case RoleProblem::TooLarge: return "This file is larger than any cursor file (4 MB).";
    case RoleProblem::Unreadable: return "This file could not be read.";
    case RoleProblem::Damaged: return "This file is damaged: it is no well-formed cursor file.";
  }
  return "";
}

const char* ZipProblemText(zip::Problem problem) {
  switch (problem) {
    case zip::Problem::None: return "";
    case zip::Problem::NotZip: return "This is not a .zip archive.";
    case zip::Problem::Damaged: return "The archive is damaged.";
    case zip::Problem::Zip64: return "The archive uses ZIP64 extensions, which cursor packs never need.";
    case zip::Problem::Spanned: return "The archive is split into several parts.";
    case zip::Problem::Encrypted: return "The archive holds encrypted files.";
    case zip::Problem::Method: return "The archive holds files packed other than by deflate.";
    case zip::Problem::SizesDisagree: return "The archive's sizes disagree with each other.";
    case zip::Problem::Overlap: return "Files of the archive overlap each other.";
    case zip::Problem::TooManyFiles: return PackRefusalText(PackRefusal::TooManyFiles);
    case zip::Problem::TooLarge: return PackRefusalText(PackRefusal::TooLarge);
    case zip::Problem::LongName: return "The archive holds a name too long for a file.";
    case zip::Problem::CrcMismatch: return "A file of the archive is damaged (its checksum does not match).";
  }
  return "";
}
