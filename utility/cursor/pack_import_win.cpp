#include "utility/cursor/pack_import_win.h"

#include <cstring>
#include <new>

#include "platform/file_names.h"
#include "platform/ini_text.h"
#include "platform/text_buffers.h"
#include "utility/cursor/cursor_library_win.h"
#include "utility/cursor/library_entry.h"
#include "utility/cursor/shipped_schemes.h"

namespace {

// Folders of a pack deeper than this are not listed: packs nest one or two.
constexpr size_t kDeepestPackFolder = 4;
// Folder names under the user's schemes read to keep a new scheme's name apart.
constexpr size_t kMostSchemeFolders = 128;

constexpr char kTooLongText[] = "The path is too long.";
constexpr char kNotFoundText[] = "The pack could not be opened.";
constexpr char kCopyFailedText[] = "The scheme could not be written to the user's schemes folder.";

// `a` + `b` + `c` into `out`; false when it does not fit.
bool Join(char (&out)[kTextBufferSize], const char* a, const char* b, const char* c = "") {
  const size_t la = std::strlen(a), lb = std::strlen(b), lc = std::strlen(c);
  if (la + lb + lc >= sizeof out) return false;
  std::memcpy(out, a, la);
  std::memcpy(out + la, b, lb);
  std::memcpy(out + la + lb, c, lc + 1);
  return true;
}

bool EndsWithIgnoringCase(const char* text, const char* ending) {
  const size_t length = std::strlen(text), endingLength = std::strlen(ending);
  return length >= endingLength && platform::SameTextIgnoringCase(text + length - endingLength, ending);
}

// Reads exactly `size` bytes of the file at `path` into `out`; false when it holds another
// number of bytes or cannot be read.
bool ReadWholeFile(const char* path, uint64_t size, uint8_t* out) {
  HANDLE file = ::CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD high = 0;
  const DWORD low = ::GetFileSize(file, &high);
  DWORD read = 0;
  const bool whole = low != INVALID_FILE_SIZE && high == 0 && low == size &&
                     (size == 0 || (::ReadFile(file, out, low, &read, nullptr) && read == low));
  ::CloseHandle(file);
  return whole;
}

bool WriteWholeFile(const char* path, const void* bytes, size_t size) {
  HANDLE file = ::CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const bool whole = ::WriteFile(file, bytes, static_cast<DWORD>(size), &written, nullptr) && written == size;
  ::CloseHandle(file);
  if (!whole) ::DeleteFileA(path);
  return whole;
}

// A folder's files as a pack: paths relative to its root, read by the listing's own paths.
class FolderPack : public PackReader {
 public:
  FolderPack(const char* root, const PackListing& listing) : listing_(listing) { std::strcpy(root_, root); }
  bool Read(size_t index, uint8_t* out) override {
    if (index >= listing_.count()) return false;
    char path[kTextBufferSize];
    if (!Join(path, root_, listing_[index].path)) return false;
    for (char* at = path + std::strlen(root_); *at; ++at) {
      if (*at == '/') *at = '\\';
    }
    return ReadWholeFile(path, listing_[index].size, out);
  }

 private:
  char root_[kTextBufferSize];
  const PackListing& listing_;
};

// Lists the files of `root` + `relative` (each ending in a backslash, or `relative` empty) and
// of its folders into `listing`, until it is full.
void ListFolder(const char* root, const char* relative, size_t depth, PackListing* listing) {
  char pattern[kTextBufferSize];
  if (!Join(pattern, root, relative, "*")) return;
  WIN32_FIND_DATAA found;
  HANDLE search = ::FindFirstFileA(pattern, &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    // A link to elsewhere, file or folder, is not followed: nothing is read outside the pack.
    if (IsDotOrDotDot(found.cFileName) || (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) continue;
    char path[kTextBufferSize];
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      if (depth < kDeepestPackFolder && Join(path, relative, found.cFileName, "\\")) {
        ListFolder(root, path, depth + 1, listing);
      }
      continue;
    }
    if (!Join(path, relative, found.cFileName)) continue;
    const uint64_t size = static_cast<uint64_t>(found.nFileSizeHigh) << 32 | found.nFileSizeLow;
    if (!listing->Add(path, size) && listing->tooManyFiles()) break;
  } while (::FindNextFileA(search, &found));
  ::FindClose(search);
}

// The last element of `path` (a folder's, when it ends in a backslash) without its extension
// into `name` (kSchemeNameSize bytes).
void NameOf(const char* path, bool dropExtension, char* name) {
  char copy[kTextBufferSize];
  ::lstrcpynA(copy, path, sizeof copy);
  size_t length = std::strlen(copy);
  while (length > 0 && (copy[length - 1] == '\\' || copy[length - 1] == '/')) copy[--length] = '\0';
  const char* start = copy;
  for (const char* at = copy; *at; ++at) {
    if (*at == '\\' || *at == '/' || *at == ':') start = at + 1;
  }
  char* dot = dropExtension ? std::strrchr(copy, '.') : nullptr;
  if (dot && dot >= start) *dot = '\0';
  CopyCut(start, name, kSchemeNameSize);
}

}  // namespace

OpenedPack::~OpenedPack() {
  delete reader_;
  delete listing_;
  delete archive_;
  delete[] archiveBytes_;
}

bool OpenedPack::Open(const char* path, const char** problem) {
  *problem = kNotFoundText;
  listing_ = new (std::nothrow) PackListing;
  if (!listing_) return false;
  char full[kTextBufferSize];
  char* fileName = nullptr;
  const DWORD length = ::GetFullPathNameA(path, sizeof full, full, &fileName);
  if (length == 0 || length >= sizeof full) {
    *problem = kTooLongText;
    return false;
  }
  const DWORD attributes = ::GetFileAttributesA(full);
  if (attributes == INVALID_FILE_ATTRIBUTES) return false;

  if (!(attributes & FILE_ATTRIBUTE_DIRECTORY) && EndsWithIgnoringCase(full, ".zip")) {
    NameOf(full, true, name_);
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!::GetFileAttributesExA(full, GetFileExInfoStandard, &data)) return false;
    if (data.nFileSizeHigh != 0 || data.nFileSizeLow > kMostPackBytes) {
      *problem = PackRefusalText(PackRefusal::TooLarge);
      return false;
    }
    const size_t size = data.nFileSizeLow;
    archiveBytes_ = new (std::nothrow) uint8_t[size ? size : 1];
    archive_ = new (std::nothrow) zip::Archive;
    if (!archiveBytes_ || !archive_ || !ReadWholeFile(full, size, archiveBytes_)) return false;
    const zip::Problem opened = zip::OpenZip(archiveBytes_, size, archive_);
    if (opened != zip::Problem::None) {
      *problem = ZipProblemText(opened);
      return false;
    }
    ZipPack* zipPack = new (std::nothrow) ZipPack(*archive_);
    if (!zipPack) return false;
    reader_ = zipPack;
    zipPack->List(listing_);
    *problem = nullptr;
    return true;
  }

  // A folder, or the folder of the file named.
  char root[kTextBufferSize];
  const bool folder = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  if (folder) {
    const size_t end = std::strlen(full);
    if (!Join(root, full, end > 0 && full[end - 1] == '\\' ? "" : "\\")) {
      *problem = kTooLongText;
      return false;
    }
  } else {
    if (!fileName) return false;
    const size_t kept = static_cast<size_t>(fileName - full);
    std::memcpy(root, full, kept);
    root[kept] = '\0';
  }
  NameOf(root, false, name_);
  reader_ = new (std::nothrow) FolderPack(root, *listing_);
  if (!reader_) return false;
  ListFolder(root, "", 0, listing_);
  if (!folder && (EndsWithIgnoringCase(fileName, ".inf") || EndsWithIgnoringCase(fileName, ".theme"))) {
    for (size_t i = 0; i < listing_->count(); ++i) {
      if (platform::SameTextIgnoringCase((*listing_)[i].path, fileName)) describer_ = static_cast<int>(i);
    }
  }
  *problem = nullptr;
  return true;
}

void NewSchemeName(const char* wanted, char* out) {
  constexpr size_t kFixed = 2 + kShippedSchemeCount;
  constexpr size_t kMost = kFixed + kMostOwnSchemes + kMostSchemeFolders;
  struct Names {
    char text[kMost][kSchemeNameSize];
    const char* pointers[kMost];
    size_t count = 0;
    void Add(const char* name) {
      if (count == kMost) return;
      CopyCut(name, text[count], kSchemeNameSize);
      pointers[count] = text[count];
      ++count;
    }
  };
  Names* names = new (std::nothrow) Names;
  OwnSchemeEntry* own = new (std::nothrow) OwnSchemeEntry[kMostOwnSchemes];
  if (names && own) {
    names->Add(kNoSchemeName);
    names->Add(kCustomSchemeName);
    for (const ShippedScheme& shipped : kShippedSchemes) names->Add(shipped.name);
    const size_t count = ListOwnSchemes(own, kMostOwnSchemes);
    for (size_t i = 0; i < count; ++i) names->Add(own[i].name);
    // Folders without a readable scheme file are kept too: a new scheme never writes into one.
    char schemes[kTextBufferSize], pattern[kTextBufferSize];
    WIN32_FIND_DATAA found;
    HANDLE search = INVALID_HANDLE_VALUE;
    if (OwnSchemesFolder(schemes, sizeof schemes) && Join(pattern, schemes, "*")) search = ::FindFirstFileA(pattern, &found);
    if (search != INVALID_HANDLE_VALUE) {
      do {
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && !IsDotOrDotDot(found.cFileName)) names->Add(found.cFileName);
      } while (names->count < kMost && ::FindNextFileA(search, &found));
      ::FindClose(search);
    }
    UniqueSchemeName(wanted, names->pointers, names->count, out);
  } else {
    UniqueSchemeName(wanted, nullptr, 0, out);
  }
  delete[] own;
  delete names;
}

bool PlanPackImport(OpenedPack& pack, ImportPlan* plan, const char** problem) {
  *problem = nullptr;
  if (!PlanImport(pack.listing(), pack.reader(), pack.describer(), pack.name(), SchemeNames{nullptr, 0}, plan)) {
    *problem = PackRefusalText(plan->refusal);
    return false;
  }
  char name[kSchemeNameSize];
  NewSchemeName(plan->schemeName, name);
  std::strcpy(plan->schemeName, name);
  return true;
}

bool CopyPlannedScheme(OpenedPack& pack, const ImportPlan& plan, const char** problem) {
  *problem = kCopyFailedText;
  char schemes[kTextBufferSize], folderName[kSchemeNameSize], folder[kTextBufferSize];
  if (!OwnSchemesFolder(schemes, sizeof schemes)) return false;
  SchemeFolderName(plan.schemeName, folderName);
  if (!Join(folder, schemes, folderName, "\\")) return false;
  // The settings folder and its "Schemes" may not be there yet; the scheme's own folder is new.
  char parent[kTextBufferSize];
  std::strcpy(parent, schemes);
  parent[std::strlen(parent) - 1] = '\0';
  char* last = std::strrchr(parent, '\\');
  if (last) {
    *last = '\0';
    ::CreateDirectoryA(parent, nullptr);
  }
  ::CreateDirectoryA(schemes, nullptr);
  if (!::CreateDirectoryA(folder, nullptr)) return false;

  SchemeFile* scheme = new (std::nothrow) SchemeFile;
  char* text = new (std::nothrow) char[kLargestSchemeFile];
  PackCursor* cursor = new (std::nothrow) PackCursor;
  bool written = scheme && text && cursor;
  if (written) PlannedSchemeFile(plan, scheme);
  for (size_t role = 0; written && role < kRoleCount; ++role) {
    const PlannedRole& planned = plan.roles[role];
    if (planned.file < 0) continue;
    bool earlier = false;
    for (size_t other = 0; other < role; ++other) earlier = earlier || (scheme->files[other][0] && plan.roles[other].file == planned.file);
    if (earlier) continue;
    char path[kTextBufferSize];
    // A file that no longer passes the check (changed since the plan) leaves its role to the platform.
    if (cursor->Load(pack.listing(), pack.reader(), static_cast<size_t>(planned.file)) != RoleProblem::None) {
      for (size_t other = role; other < kRoleCount; ++other) {
        if (plan.roles[other].file == planned.file) scheme->files[other][0] = '\0';
      }
      continue;
    }
    written = IsPlainFileName(planned.target) && Join(path, folder, planned.target) &&
              WriteWholeFile(path, cursor->bytes(), cursor->size());
  }
  char path[kTextBufferSize];
  const size_t length = written ? WriteSchemeFile(*scheme, text, kLargestSchemeFile) : 0;
  written = length > 0 && Join(path, folder, kSchemeFileName) && WriteWholeFile(path, text, length);
  delete cursor;
  delete[] text;
  delete scheme;
  if (!written) {
    RemoveOwnScheme(folderName);
    return false;
  }
  *problem = nullptr;
  return true;
}

bool RemoveOwnScheme(const char* folderName) {
  char schemes[kTextBufferSize], folder[kTextBufferSize], pattern[kTextBufferSize];
  if (!IsPlainFileName(folderName) || !OwnSchemesFolder(schemes, sizeof schemes) || !Join(folder, schemes, folderName, "\\") ||
      !Join(pattern, folder, "*")) {
    return false;
  }
  WIN32_FIND_DATAA found;
  HANDLE search = ::FindFirstFileA(pattern, &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      char path[kTextBufferSize];
      if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && Join(path, folder, found.cFileName)) ::DeleteFileA(path);
    } while (::FindNextFileA(search, &found));
    ::FindClose(search);
  }
  return ::RemoveDirectoryA(folder) != FALSE;
}
