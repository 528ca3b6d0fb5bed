// The files of a cursor pack, wherever they come from: the entries of an archive, or the files
// of a folder (and its subfolders) that the Win32 shell lists. Paths are relative to the pack,
// in UTF-8 with '/' between folders. Files are read only through a PackReader, by their index
// in the listing, never by a name or path that a pack's own file gave.
#pragma once
#include <cstddef>
#include <cstdint>

#include "platform/zip_reader.h"
#include "utility/cursor/pack_description.h"

// The limits of a pack: more files or more bytes in all are refused.
constexpr size_t kMostPackFiles = zip::kMostFiles;
constexpr uint64_t kMostPackBytes = zip::kMostBytes;

struct PackFile {
  char path[kPackNameSize];
  uint64_t size;
};

class PackListing {
 public:
  // Adds a file by its path inside the pack ('\' is read as '/') and its size. False when the
  // pack already holds kMostPackFiles files (it is then too large: tooManyFiles()) or when the
  // path does not fit (the file is left out).
  bool Add(const char* path, uint64_t size);
  void Clear() { count_ = 0, tooManyFiles_ = false, totalSize_ = 0; }

  size_t count() const { return count_; }
  const PackFile& operator[](size_t index) const { return files_[index]; }
  bool tooManyFiles() const { return tooManyFiles_; }
  uint64_t totalSize() const { return totalSize_; }

  // The file whose own name is `name` (ASCII letters in any case): the one in `folder` first,
  // else the one in the fewest folders, the first listed among equals. -1 when none is.
  int Find(const char* name, const char* folder) const;

 private:
  PackFile files_[kMostPackFiles];
  size_t count_ = 0;
  bool tooManyFiles_ = false;
  uint64_t totalSize_ = 0;
};

// The file's own name: what follows the last '/' of `path`.
const char* PackFileName(const char* path);
// The folder of `path` (what precedes its last '/', "" at the top) into `folder` of
// kPackNameSize bytes.
void PackFolderOf(const char* path, char* folder);
// How many folders deep `path` lies.
size_t PackDepth(const char* path);

// Reads the pack's files by their index in its listing.
class PackReader {
 public:
  virtual ~PackReader() = default;
  // Reads file `index` whole into `out`, which holds exactly its listed size. False when it
  // cannot be read as listed (a damaged archive entry, a file changed or gone since).
  virtual bool Read(size_t index, uint8_t* out) = 0;
};

// An open archive as a pack: its files listed in directory order, read by unpacking.
class ZipPack : public PackReader {
 public:
  explicit ZipPack(const zip::Archive& archive) : archive_(archive) {}
  // Lists every file of the archive into `listing` (emptied first), each at its index in the
  // archive: both hold the same number of files with paths of the same size.
  void List(PackListing* listing) const;
  bool Read(size_t index, uint8_t* out) override;

 private:
  const zip::Archive& archive_;
};
