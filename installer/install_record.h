// The installer's own record of what it wrote into an installation folder: each file's path in
// the folder, its size and a hash of its contents, and each shortcut it made. The same record,
// at another stage, is the journal of a run that is still writing: it names the files the run
// stages and the folders it made, so that a run that was cut short is finished or undone.
//
// Kept as text in the folder (UTF-8, one fact a line, a check value last):
//   Pointrel installation record 1
//   stage=done                      staging, swapping, undoing or done
//   folder=C:\Pointrel              the folder it was written for
//   folder-made=1                   a journal's run made the folder itself (only then)
//   made=NORMAL                     a folder the run made, parents first (a journal only)
//   file=53248 0f1e2d3c4b5a6978 Pointrel.EXE      size, hash, path inside the folder
//   shortcut=desktop C:\Users\ann\Desktop\Pointrel.LNK
//   check=89abcdef01234567          the hash of every byte before this line
// Read back it is checked, never obeyed: one that is cut short, edited or damaged is refused
// whole, and every path it names must lie inside its folder.
#pragma once
#include <cstddef>
#include <cstdint>

#include "platform/text_buffers.h"

// The shortcuts the installer can make.
enum class ShortcutKind { Desktop = 0, StartMenu = 1, Startup = 2 };
constexpr int kShortcutKinds = 3;

// Done, a record, comes first: a record starts out all zero.
enum class RecordStage { Done, Staging, Swapping, Undoing };

// Contents as the record knows them: the size and a 64-bit FNV-1a hash of the bytes.
struct FileDigest {
  std::uint64_t size = 0;
  std::uint64_t hash = 0;
};
constexpr std::uint64_t kHashStart = 14695981039346656037ull;
std::uint64_t ContinueHash(std::uint64_t hash, const void* bytes, std::size_t count);
inline bool operator==(const FileDigest& a, const FileDigest& b) { return a.size == b.size && a.hash == b.hash; }

struct RecordedFile {
  char path[kTextBufferSize];  // inside the folder: "NORMAL\Apollo.CUR"
  FileDigest digest;           // all zero while a journal is staging
};

// The most a record holds; more makes it damaged.
constexpr int kMaxRecordFiles = 4096;
constexpr int kMaxRecordFolders = 1024;
constexpr std::size_t kMaxRecordBytes = 1024 * 1024;

class InstallRecord {
 public:
  InstallRecord() = default;
  ~InstallRecord();
  InstallRecord(const InstallRecord&) = delete;
  InstallRecord& operator=(const InstallRecord&) = delete;

  // Empties the record and makes room for this many files and made folders; false when the
  // memory cannot be had.
  bool Reserve(int files, int folders);
  // False when there is no room, or the path is not one inside a folder (IsInnerPath).
  bool AddFile(const char* path, FileDigest digest);
  bool AddMadeFolder(const char* path);
  // False for a link that does not fit.
  bool SetShortcut(ShortcutKind kind, const char* link);
  // The index of the file recorded under path (compared as the platform compares names), or -1.
  int FindFile(const char* path) const;

  RecordStage stage = RecordStage::Done;
  char folder[kTextBufferSize] = "";
  bool folderMade = false;
  int fileCount = 0;
  RecordedFile* files = nullptr;
  int madeFolderCount = 0;
  char (*madeFolders)[kTextBufferSize] = nullptr;
  char shortcuts[kShortcutKinds][kTextBufferSize] = {};  // "" for one not made

 private:
  int fileCapacity = 0;
  int folderCapacity = 0;
};

// The record's text into out (size bytes); returns the length it needs, terminator excluded, and
// writes only when that fits whole.
std::size_t ComposeRecord(const InstallRecord& record, char* out, std::size_t size);

// Why a text is not an intact record.
enum class RecordDamage { None, NotARecord, Damaged };
// Reads `size` bytes of text into record. None when it is a whole, intact record; otherwise the
// record is left empty and line says where the damage begins (0 when the check failed).
RecordDamage ParseRecord(const char* text, std::size_t size, InstallRecord& record, int& line);
