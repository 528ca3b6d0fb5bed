// The record the installer's pages and its copy worker share, and the one rule by which the
// installer joins a folder and a name.
#pragma once
#include <atomic>
#include <cstddef>
#include <cstdint>

#include "platform/text_buffers.h"  // kTextBufferSize: every text field and composed path

constexpr std::size_t kMaxPath = 260;     // the platform's file calls, terminator included

enum class InstallFailure : std::int32_t {
  None = 0,
  DestinationFolder = 1,  // the destination folder cannot be created
  Subfolders = 2,         // a library sub-folder cannot be created
  CopyFailed = 3,         // a file cannot be copied beside its place
  PlaceFailed = 4,        // the copies could not be put in place; what was there before is back
  Interrupted = 5,        // a run cut short in the folder could not be finished or undone
  Cancelled = 6,          // stopped by the page's Cancel; what this run wrote is gone
};

// A flag the two threads share: one whole 32-bit word, published with release stores and read
// with acquire loads, so the values written before it are seen by whoever sees it.
class SharedFlag {
 public:
  constexpr explicit SharedFlag(std::int32_t initial) : value(initial) {}
  std::int32_t Load() const { return value.load(std::memory_order_acquire); }
  void Store(std::int32_t v) { value.store(v, std::memory_order_release); }

 private:
  std::atomic<std::int32_t> value;
  static_assert(std::atomic<std::int32_t>::is_always_lock_free, "flags must be plain words");
};
static_assert(sizeof(SharedFlag) == 4, "flags are whole 32-bit words");

// The page thread writes the fields before stopRequested before the worker starts; after that
// the worker owns them. The other fields follow the protocol in copy_worker.h.
struct InstallState {
  char installerPath[kTextBufferSize] = "";
  char destinationPath[kTextBufferSize] = "C:\\Pointrel";  // in its canonical form (destination.h)
  std::int32_t desktopShortcut = 1;
  std::int32_t startAtBoot = 0;
  // An installation in another folder, removed by its own record once this one is complete.
  char previousFolder[kTextBufferSize] = "";
  // 0 where no page takes the display (the quiet install): the worker then never waits for it.
  std::int32_t showProgress = 1;
  // A Pointrel that ran when the copy began was ended for it, and is started again after it:
  // from the destination once the installation is complete, else from where it ran.
  std::int32_t restartUtility = 0;
  char restartFrom[kTextBufferSize] = "";
  SharedFlag stopRequested{0};
  InstallFailure failure = InstallFailure::None;  // read only after workerDone is seen
  SharedFlag workerDone{0};
  SharedFlag displayTaken{1};
  char shownSource[kTextBufferSize] = "";       // written only while displayTaken is 1
  char shownDestination[kTextBufferSize] = "";  // read only while displayTaken is 0
  // The rest is written by the worker before workerDone and read after it.
  // The shortcuts that could not be made or removed, one link path (or folder name) per line.
  char failedShortcuts[3 * kTextBufferSize] = "";
  // A failure: the file or folder it stopped at and the platform's error (0 for a path that did
  // not fit).
  char failedPath[kTextBufferSize] = "";
  std::uint32_t failedError = 0;
  // The entry in the list of installed programs that could not be written: the platform's error.
  std::uint32_t entryError = 0;
  // After a move: what became of the previous installation, in the user's words, where anything
  // of it is left ("" when its folder went); previousIncomplete when some of what was Pointrel's
  // stayed.
  char previousLeft[4 * kTextBufferSize] = "";
  std::int32_t previousIncomplete = 0;
};

// The installer's one instance, for the whole process.
extern InstallState& installState;

// folder, then "\" unless it already ends in one ("\" alone for an empty folder), then name,
// into out (size bytes). Returns false, leaving out empty, when the result would not fit.
// out must not overlap folder or name.
bool JoinPath(char* out, std::size_t size, const char* folder, const char* name);

// Copies text into out when it fits whole; otherwise leaves out empty and returns false.
bool CopyText(char* out, std::size_t size, const char* text);
