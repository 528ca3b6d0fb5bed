// The file and folder operations the installer and its uninstaller need, so that the whole of
// their logic runs natively over a fake file system too. Every operation that can fail returns
// 0 or the platform's error code.
#pragma once
#include <cstddef>
#include <cstdint>

#include "installer/install_record.h"

class FileSystem {
 public:
  // Creates one folder level.
  virtual std::uint32_t CreateFolder(const char* path) = 0;
  virtual bool IsFolder(const char* path) = 0;
  virtual bool FileExists(const char* path) = 0;
  // Copies source over destination, replacing an existing file.
  virtual std::uint32_t CopyFileOver(const char* source, const char* destination) = 0;
  // Renames a file within its drive; fails where `to` exists.
  virtual std::uint32_t MoveFile(const char* from, const char* to) = 0;
  // Renames a file within its drive in one step, replacing `to` where it exists.
  virtual std::uint32_t ReplaceFile(const char* from, const char* to) = 0;
  // Removes a file, read-only or not.
  virtual std::uint32_t RemoveFile(const char* path) = 0;
  // Removes a folder that is empty; one that is not, or is missing, stays as it is.
  virtual void RemoveEmptyFolder(const char* path) = 0;
  // 0 when the file could be removed now (no program holds it open).
  virtual std::uint32_t CheckRemovable(const char* path) = 0;
  // The size and hash of a file's contents.
  virtual std::uint32_t DigestFile(const char* path, FileDigest& digest) = 0;
  // A whole file of at most `limit` bytes into a block from new[] (the caller deletes it).
  virtual std::uint32_t ReadWholeFile(const char* path, std::size_t limit, char*& bytes, std::size_t& size) = 0;
  // Writes a new file (replacing one there), through to the disk before it returns.
  virtual std::uint32_t WriteWholeFile(const char* path, const char* bytes, std::size_t size) = 0;
  // visit(path relative to folder, whether it is a folder, context) for everything below folder,
  // a folder before what it holds, until visit returns false.
  using Visit = bool (*)(const char* relative, bool isFolder, void* context);
  virtual void ForEachEntry(const char* folder, Visit visit, void* context) = 0;

 protected:
  ~FileSystem() = default;
};
