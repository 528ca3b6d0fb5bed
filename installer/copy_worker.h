// The copy worker and the progress page's side of its protocol. Both sides work on an
// InstallState through whole 32-bit flags; the worker reaches the platform only through
// InstallServices, so the protocol runs natively over a fake file system too.
//
// The protocol:
//  - The page resets the flags (BeginCopy) before the worker thread exists.
//  - shownSource/shownDestination pass from worker to page by displayTaken: the worker writes
//    them only while displayTaken is 1 and then clears it; the page reads them only while it
//    is 0 and then sets it (TakeDisplay).
//  - The worker writes failure, then sets workerDone as its very last act; the page reads
//    failure only after it has seen workerDone (WorkerFinished).
//  - stopRequested is set by the worker on a failure and by the page's Cancel, never cleared
//    while the worker runs; the worker tests it before every step and in every wait.
#pragma once
#include <cstdint>

#include "installer/failure_reason.h"
#include "installer/install_state.h"
#include "installer/uninstall_entry.h"

// What the worker needs from the platform.
// The folders a shortcut goes into, as the shell keeps them for the current user.
enum class ShellFolder { Desktop, Programs, Startup };

class InstallServices {
 public:
  // Creates one folder level. Returns 0, or the platform's error code.
  virtual std::uint32_t CreateFolder(const char* path) = 0;
  // Copies source over destination, replacing an existing file. Returns 0, or the platform's
  // error code.
  virtual std::uint32_t CopyFileOver(const char* source, const char* destination) = 0;
  // Removes what a failed copy left at destination.
  virtual void RemoveFile(const char* path) = 0;
  // The size of a file in bytes; 0 when it cannot be read.
  virtual std::uint64_t FileSize(const char* path) = 0;
  virtual void Sleep(unsigned milliseconds) = 0;
  // The Windows folder into buffer (size bytes); empty when unknown or too long.
  virtual void GetWindowsFolder(char* buffer, std::size_t size) = 0;
  // The current user's folder that the shell shows as `folder` into buffer; false where the
  // shell cannot say, and the Windows-folder rule applies.
  virtual bool GetShellFolder(ShellFolder folder, char* buffer, std::size_t size) = 0;
  // Writes one shortcut file; the platform's result, negative when it failed.
  virtual std::int32_t CreateShortcut(const char* target, const char* link, const char* workingFolder,
                                      const char* description) = 0;
  // Writes the entry in the list of installed programs. Returns 0, or the platform's error code.
  virtual std::uint32_t WriteUninstallEntry(const UninstallEntry& entry) = 0;
  // Today's date as YYYYMMDD.
  virtual void Today(char (&date)[9]) = 0;

 protected:
  ~InstallServices() = default;
};

// Platform errors that mean "already there": ERROR_ALREADY_EXISTS and ERROR_FILE_EXISTS.
constexpr std::uint32_t kErrorAlreadyExists = 183;
constexpr std::uint32_t kErrorFileExists = 80;

constexpr int kSubfolderCount = 14;
extern const char* const kLibrarySubfolders[kSubfolderCount];  // in creation order

constexpr unsigned kWorkerPollMs = 100;
constexpr unsigned kCancelPollMs = 500;

// Shortcut literals.
extern const char kDesktopFolder[];   // "DESKTOP\"
extern const char kStartupFolder[];   // "Start Menu\Programs\StartUp\"
extern const char kProgramsFolder[];  // "Start Menu\Programs\"
extern const char kShortcutName[];    // "Pointrel.LNK"
extern const char kTargetName[];      // "Pointrel.EXE"
extern const char kShortcutDescription[];

// Runs the whole copy: destination folder, sub-folders, the manifest rows, the uninstaller (this
// installer's own file), blank display, shortcuts, the entry in the list of installed programs,
// then workerDone. Returns once workerDone is set, in every case.
void CopyWorker(InstallState& state, InstallServices& services);

// Shortcut path rules, as the worker applies them.
// The link path: windowsFolder ("\" when empty), "\" unless already there, subfolder, name.
bool ComposeLinkPath(char* out, std::size_t size, const char* windowsFolder, const char* subfolder);
// Removes one trailing "\" from a path longer than 3 characters; a drive root keeps its own.
void StripTrailingBackslash(char* path);
// The source of a manifest row: the installer's folder (its path cut at the last "\"), "\",
// the name. False for an empty installer path or a result that does not fit.
bool ComposeSourcePath(char* out, std::size_t size, const char* installerPath, const char* sourceName);

// The page's side.
void BeginCopy(InstallState& state);
inline bool WorkerFinished(const InstallState& state) { return state.workerDone.Load() == 1; }
// Sets stopRequested and waits, sleeping kCancelPollMs at a time, until the worker is done.
void CancelCopy(InstallState& state, InstallServices& services);

// The DisplayTimer step: if the worker has published a pair, show(source, destination) and hand
// the display back. Returns whether a pair was shown.
template <typename Show>
bool TakeDisplay(InstallState& state, Show&& show) {
  if (state.displayTaken.Load() != 0) return false;
  show(static_cast<const char*>(state.shownSource), static_cast<const char*>(state.shownDestination));
  state.displayTaken.Store(1);
  return true;
}

// What the progress page says for a failure: the failure's own message and then the closing
// one; nullptr for None.
const char* FailureMessage(InstallFailure failure);
// The failure's message, then for a failed copy the file and why, into out.
void ComposeFailureText(const InstallState& state, PlatformErrorText platformText, char* out, std::size_t size);
extern const char kNotCompleteMessage[];  // "The installation is NOT complete"
