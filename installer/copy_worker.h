// The copy worker and the progress page's side of its protocol. Both sides work on an
// InstallState through whole 32-bit flags; the worker reaches the platform only through
// FileSystem, ShellServices and InstallServices, so the protocol runs natively over a fake file
// system too.
//
// The protocol:
//  - The page resets the flags (BeginCopy) before the worker thread exists.
//  - shownSource/shownDestination pass from worker to page by displayTaken: the worker writes
//    them only while displayTaken is 1 and then clears it; the page reads them only while it
//    is 0 and then sets it (TakeDisplay).
//  - The worker writes failure and its other results, then sets workerDone as its very last act;
//    the page reads them only after it has seen workerDone (WorkerFinished).
//  - stopRequested is set by the worker on a failure and by the page's Cancel (RequestStop),
//    never cleared while the worker runs. The worker tests it before every step until it begins
//    to put the staged files in place; a stop before that undoes what the run wrote, and the page
//    learns of it, as of every end, from workerDone.
//
// The work (install_journal.h has the state machine): an earlier run cut short in the folder is
// finished or undone; the destination folder and the folders the manifest's names need; the
// journal; every manifest row and the uninstaller copied beside its place; the swap into place;
// the shortcuts; the record; the entry in the list of installed programs; then, after a move,
// the installation in the previous folder removed by its own record.
#pragma once
#include <cstdint>

#include "installer/failure_reason.h"
#include "installer/file_system.h"
#include "installer/install_state.h"
#include "installer/removal.h"
#include "installer/shortcuts.h"
#include "installer/uninstall_entry.h"

// What the worker needs from the platform besides files and shortcuts.
class InstallServices : public RemovalServices {
 public:
  virtual void Sleep(unsigned milliseconds) = 0;
  // Writes the entry in the list of installed programs. Returns 0, or the platform's error code.
  virtual std::uint32_t WriteUninstallEntry(const UninstallEntry& entry) = 0;
  // Today's date as YYYYMMDD.
  virtual void Today(char (&date)[9]) = 0;
  // The platform's own words for its errors, for the messages the worker composes.
  virtual PlatformErrorText ErrorText() = 0;

 protected:
  ~InstallServices() = default;
};

constexpr unsigned kWorkerPollMs = 100;

// How many wide characters the installation adds below its folder for its longest path (a
// staged copy's), the separator included: what CanonicalFolder must leave room for.
std::size_t InstallationRoom();

// Runs the whole installation, then sets workerDone; returns once it is set, in every case.
void CopyWorker(InstallState& state, FileSystem& files, ShellServices& shell, InstallServices& services);

// Removes one trailing "\" from a path longer than 3 characters; a drive root keeps its own.
void StripTrailingBackslash(char* path);
// The source of a manifest row: the installer's folder (its path cut at the last "\"), "\",
// the name. False for an empty installer path or a result that does not fit.
bool ComposeSourcePath(char* out, std::size_t size, const char* installerPath, const char* sourceName);

// The page's side.
void BeginCopy(InstallState& state);
inline bool WorkerFinished(const InstallState& state) { return state.workerDone.Load() == 1; }
inline void RequestStop(InstallState& state) { state.stopRequested.Store(1); }

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
// one; nullptr for None and Cancelled.
const char* FailureMessage(InstallFailure failure);
// The failure's message, then the file or folder it stopped at and why, into out.
void ComposeFailureText(const InstallState& state, PlatformErrorText platformText, char* out, std::size_t size);
extern const char kNotCompleteMessage[];  // "The installation is NOT complete"

// True when everything is in place: every file, the uninstaller, the chosen shortcuts and the
// entry. Read after workerDone.
bool InstallationComplete(const InstallState& state);

// The quiet install's exit code for a finished worker (the README lists them).
enum QuietExit : int {
  kQuietDone = 0,
  kQuietBadCommand = 1,       // the command line was not understood
  kQuietBadDestination = 2,   // the destination was refused (its form, or inside the installation)
  kQuietUtilityRunning = 3,   // Pointrel runs and could not be ended
  kQuietFolderFailed = 4,     // the destination folder or a sub-folder could not be made
  kQuietCopyFailed = 5,       // a file could not be copied or put in place; what was there before is back
  kQuietInterrupted = 6,      // a run cut short in the folder could not be finished
  kQuietIncomplete = 7,       // installed, but a shortcut or the entry is missing, or the old copy stayed
};
int QuietExitCode(const InstallState& state);
