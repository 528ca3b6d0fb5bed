#include "utility/cursor/pack_listing.h"

#include <cstring>

#include "platform/ini_text.h"

const char* PackFileName(const char* path) {
  const char* slash = std::strrchr(path, '/');
  return slash ? slash + 1 : path;
}

void PackFolderOf(const char* path, char* folder) {
  const size_t length = static_cast<size_t>(PackFileName(path) - path);
  const size_t kept = length ? length - 1 : 0;  // without the slash
  std::memcpy(folder, path, kept);
  folder[kept] = '\0';
}

size_t PackDepth(const char* path) {
  size_t depth = 0;
  for (; *path; ++path) depth += *path == '/';
  return depth;
}

bool PackListing::Add(const char* path, uint64_t size) {
  if (count_ == kMostPackFiles) {
    tooManyFiles_ = true;
    return false;
  }
  const size_t length = std::strlen(path);
  if (length >= kPackNameSize) return false;
  PackFile& file = files_[count_++];
  for (size_t i = 0; i <= length; ++i) file.path[i] = path[i] == '\\' ? '/' : path[i];
  file.size = size;
  totalSize_ += size;
  return true;
}

int PackListing::Find(const char* name, const char* folder) const {
  int best = -1;
  for (size_t i = 0; i < count_; ++i) {
    const char* path = files_[i].path;
    if (!platform::SameTextIgnoringCase(PackFileName(path), name)) continue;
    char at[kPackNameSize];
    PackFolderOf(path, at);
    if (platform::SameTextIgnoringCase(at, folder)) return static_cast<int>(i);
    if (best < 0 || PackDepth(path) < PackDepth(files_[best].path)) best = static_cast<int>(i);
  }
  return best;
}

void ZipPack::List(PackListing* listing) const {
  listing->Clear();
  for (size_t i = 0; i < archive_.count; ++i) listing->Add(archive_.entries[i].path, archive_.entries[i].size);
}

bool ZipPack::Read(size_t index, uint8_t* out) {
  return index < archive_.count && zip::Unpack(archive_.entries[index], out) == zip::Problem::None;
}
