// libFuzzer target of the zip reader and the deflate decoder under it, and of the import plan
// over what an archive lists. An input starting with 'D' is a raw deflate stream decoded into a
// buffer with guard bytes after it; any other is an archive: opened, each file unpacked (those
// of up to a megabyte), then planned as a pack. Every read is asserted inside its bytes (this
// build), nothing is written past an output, and every part of the record lies inside the
// archive.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "platform/inflate.h"
#include "platform/zip_reader.h"
#include "utility/cursor/pack_plan.h"

namespace {

constexpr uint8_t kGuard = 0xA5;

void Inflate(const uint8_t* data, size_t size) {
  const size_t limit = 1 << 16;
  std::vector<uint8_t> out(limit + 64, kGuard);
  size_t written = 0, consumed = 0;
  raw_deflate::Inflate(data, size, out.data(), limit, &written, &consumed);
  if (written > limit || consumed > size) std::abort();
  for (size_t i = limit; i < out.size(); ++i) {
    if (out[i] != kGuard) std::abort();
  }
}

void Archive(const uint8_t* data, size_t size) {
  static auto archive = std::make_unique<zip::Archive>();
  if (zip::OpenZip(data, size, archive.get()) != zip::Problem::None) {
    if (archive->count != 0) std::abort();
    return;
  }
  uint64_t total = 0;
  for (size_t i = 0; i < archive->count; ++i) {
    const zip::Entry& entry = archive->entries[i];
    total += entry.size;
    if (entry.packed < data || entry.packedSize > size || static_cast<size_t>(entry.packed - data) > size - entry.packedSize) {
      std::abort();
    }
    const size_t length = std::strlen(entry.path);
    if (length == 0 || length >= zip::kPathSize || entry.path[length - 1] == '/' || std::strchr(entry.path, '\\')) {
      std::abort();
    }
    if (entry.size > (1u << 20)) continue;
    std::vector<uint8_t> out(entry.size + 64, kGuard);
    zip::Unpack(entry, out.data());
    for (size_t k = entry.size; k < out.size(); ++k) {
      if (out[k] != kGuard) std::abort();
    }
  }
  if (total != archive->totalSize || total > zip::kMostBytes) std::abort();

  static auto listing = std::make_unique<PackListing>();
  static auto plan = std::make_unique<ImportPlan>();
  ZipPack pack(*archive);
  pack.List(listing.get());
  if (listing->count() != archive->count) std::abort();
  const char* existing[] = {"Pointrel", "Pointrel High Visibility"};
  if (!PlanImport(*listing, pack, -1, "fuzz", {existing, 2}, plan.get())) return;
  for (const PlannedRole& role : plan->roles) {
    if (role.file >= static_cast<int>(listing->count())) std::abort();
    if (role.file >= 0 && (role.problem != RoleProblem::None || !role.target[0])) std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 0 && data[0] == 'D') {
    Inflate(data + 1, size - 1);
  } else {
    Archive(data, size);
  }
  return 0;
}
