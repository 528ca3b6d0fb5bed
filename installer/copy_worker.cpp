#include "installer/copy_worker.h"

#include <cstring>

#include "installer/destination.h"
#include "installer/file_manifest.h"
#include "installer/install_journal.h"

const char kNotCompleteMessage[] = "The installation is NOT complete";

namespace {

// The files of an installation: the manifest's rows, then the uninstaller (this installer's own
// file).
constexpr int kInstalledFiles = kManifestRows + 1;
const char* InstalledName(int index) {
  return index < kManifestRows ? FileManifest[index].destinationName : kUninstallerName;
}

// The platform counts wide characters, not the bytes of their UTF-8.
bool FitsPlatform(const char* path) { return WideLength(path) < kMaxPath; }

bool CreatedOrThere(std::uint32_t error) {
  return error == 0 || error == kErrorAlreadyExists || error == kErrorFileExists;
}

// One run of the worker: the state it reports into, the platform, and the journal it keeps.
class Run {
 public:
  Run(InstallState& state, FileSystem& files, ShellServices& shell, InstallServices& services)
      : state(state), files(files), shell(shell), services(services) {}

  void Install() {
    if (Stopped()) {
      Abandon();
      return;
    }
    if (!FinishEarlierRun() || !MakeFolders() || !StageFiles()) return;
    // From here on the run goes to its end: a Cancel now would only undo a finished copy.
    journal.stage = RecordStage::Swapping;
    if (const std::uint32_t error = WriteRecordFile(files, kJournalName, journal)) {
      DiscardStaged(files, journal);
      return Fail(InstallFailure::CopyFailed, JournalPath(), error);
    }
    BlankDisplay();
    StepFailure step;
    if (!SwapIn(files, journal, step)) return Undo(step);
    MakeShortcuts();
    if (!Commit(files, journal, step)) return Undo(step);
    WriteEntry();
    RemovePrevious();
  }

 private:
  bool Stopped() const { return state.stopRequested.Load() != 0; }

  void Fail(InstallFailure failure, const char* path, std::uint32_t error) {
    state.failure = failure;
    if (!CopyText(state.failedPath, sizeof state.failedPath, path)) state.failedPath[0] = '\0';
    state.failedError = error;
    state.stopRequested.Store(1);
  }
  bool FailStep(InstallFailure failure, const StepFailure& step) {
    Fail(failure, step.path, step.error);
    return false;
  }

  // What this run wrote goes, after a failure (which says so itself) or a stop by the page's
  // Cancel. Returns false, for the steps that end with it.
  bool Abandon() {
    if (state.failure == InstallFailure::None) state.failure = InstallFailure::Cancelled;
    DiscardStaged(files, journal);
    return false;
  }

  const char* JournalPath() {
    InFolder(scratch, journal.folder, kJournalName);
    return scratch;
  }

  bool FinishEarlierRun() {
    const char* folder = state.destinationPath;
    if (!files.IsFolder(folder)) return true;
    StepFailure step;
    switch (Recover(files, folder, step)) {
      case Recovery::Failed: return FailStep(InstallFailure::Interrupted, step);
      case Recovery::Unreadable: {
        // A journal that names nothing we can trust: this run stages every file afresh.
        char path[kTextBufferSize];
        if (InFolder(path, folder, kJournalName)) files.RemoveFile(path);
        return true;
      }
      default: return true;
    }
  }

  // The destination (one level), then every folder the installed names lie in, parents first.
  bool MakeFolders() {
    const char* folder = state.destinationPath;
    if (!journal.Reserve(kInstalledFiles, NeededFolders(nullptr)) || !CopyText(journal.folder, sizeof journal.folder, folder)) {
      Fail(InstallFailure::DestinationFolder, folder, kErrorNotEnoughMemory);
      return false;
    }
    journal.stage = RecordStage::Staging;
    if (std::strlen(folder) > 3) {
      if (!FitsPlatform(folder)) {
        Fail(InstallFailure::DestinationFolder, folder, 0);
        return false;
      }
      const std::uint32_t error = files.CreateFolder(folder);
      if (!CreatedOrThere(error) || !files.IsFolder(folder)) {
        Fail(InstallFailure::DestinationFolder, folder, CreatedOrThere(error) ? kErrorAlreadyExists : error);
        return false;
      }
      journal.folderMade = error == 0;
    }
    if (NeededFolders(this) < 0) return false;
    for (int index = 0; index < kInstalledFiles; ++index) journal.AddFile(InstalledName(index), FileDigest{});
    if (Stopped()) return Abandon();
    if (const std::uint32_t error = WriteRecordFile(files, kJournalName, journal)) {
      DiscardStaged(files, journal);
      Fail(InstallFailure::CopyFailed, JournalPath(), error);
      return false;
    }
    return true;
  }

  // Counts the folders the installed names need (each once, parents first); with a run, makes
  // them. -1 when one could not be made.
  static int NeededFolders(Run* run) {
    int count = 0;
    for (int index = 0; index < kInstalledFiles; ++index) {
      const char* name = InstalledName(index);
      for (const char* at = std::strchr(name, '\\'); at; at = std::strchr(at + 1, '\\')) {
        const std::size_t length = static_cast<std::size_t>(at - name);
        if (NamedBefore(index, name, length)) continue;
        ++count;
        if (run && !run->MakeFolder(name, length)) return -1;
      }
    }
    return count;
  }
  static bool NamedBefore(int index, const char* name, std::size_t length) {
    for (int earlier = 0; earlier < index; ++earlier) {
      const char* other = InstalledName(earlier);
      if (std::strncmp(other, name, length) == 0 && other[length] == '\\') return true;
    }
    return false;
  }
  bool MakeFolder(const char* name, std::size_t length) {
    char relative[kTextBufferSize];
    char path[kTextBufferSize];
    std::memcpy(relative, name, length);
    relative[length] = '\0';
    if (Stopped()) return Abandon();
    if (!InFolder(path, state.destinationPath, relative)) {
      DiscardStaged(files, journal);
      Fail(InstallFailure::Subfolders, relative, 0);
      return false;
    }
    const std::uint32_t error = files.CreateFolder(path);
    if (!CreatedOrThere(error) || !files.IsFolder(path)) {
      DiscardStaged(files, journal);
      Fail(InstallFailure::Subfolders, path, CreatedOrThere(error) ? kErrorAlreadyExists : error);
      return false;
    }
    if (error == 0) journal.AddMadeFolder(relative);
    return true;
  }

  // Waits for the page to have shown the last pair. A Cancel ends the wait too: the page may
  // never take the display again.
  bool WaitForDisplay() {
    while (state.showProgress) {
      if (Stopped()) return false;
      if (state.displayTaken.Load() == 1) return true;
      services.Sleep(kWorkerPollMs);
    }
    return true;
  }

  // Every path shown was composed in a buffer of this size, so it fits; one that did not would
  // show as empty (CopyText empties it) rather than cut short.
  void Publish(const char* source, const char* destination) {
    if (!state.showProgress) return;
    if (!CopyText(state.shownSource, kTextBufferSize, source)) state.shownSource[0] = '\0';
    if (!CopyText(state.shownDestination, kTextBufferSize, destination)) state.shownDestination[0] = '\0';
    state.displayTaken.Store(0);
  }

  void BlankDisplay() {
    if (WaitForDisplay()) Publish("", "");
  }

  // Every file copied beside its place, shown by the name it will have; its digest is read back
  // from the copy. A failure or a Cancel undoes the run.
  bool StageFiles() {
    for (int index = 0; index < kInstalledFiles; ++index) {
      if (Stopped()) return Abandon();
      const char* name = InstalledName(index);
      char source[kTextBufferSize];
      char place[kTextBufferSize];
      char staged[kTextBufferSize];
      const bool sourceKnown = index < kManifestRows
                                   ? ComposeSourcePath(source, sizeof source, state.installerPath, FileManifest[index].sourceName)
                                   : CopyText(source, sizeof source, state.installerPath) && source[0] != '\0';
      if (!sourceKnown || !FitsPlatform(source)) {
        Fail(InstallFailure::CopyFailed, sourceKnown ? source : name, 0);
        return Abandon();
      }
      if (!InFolder(place, state.destinationPath, name) || !InFolder(staged, state.destinationPath, name, kStagedSuffix)) {
        Fail(InstallFailure::CopyFailed, place[0] ? place : name, 0);
        return Abandon();
      }
      if (!WaitForDisplay()) return Abandon();
      Publish(source, place);
      std::uint32_t error = files.CopyFileOver(source, staged);
      if (error == 0) error = files.DigestFile(staged, journal.files[index].digest);
      if (error != 0) {
        Fail(InstallFailure::CopyFailed, error == kErrorFileNotFound ? source : place, error);
        return Abandon();
      }
      // A file an earlier run moved aside and never removed would stand in the swap's way.
      char retired[kTextBufferSize];
      if (InFolder(retired, state.destinationPath, name, kRetiredSuffix) && files.FileExists(retired) &&
          (error = files.RemoveFile(retired)) != 0) {
        Fail(InstallFailure::CopyFailed, retired, error);
        return Abandon();
      }
    }
    if (Stopped()) return Abandon();
    return true;
  }

  // The swap failed: what was there before goes back, and the staged copies go.
  void Undo(const StepFailure& step) {
    journal.stage = RecordStage::Undoing;
    WriteRecordFile(files, kJournalName, journal);
    StepFailure back;
    if (!SwapBack(files, journal, back)) {
      // The journal stays undoing: the next run, or the uninstaller, takes the rest back.
      FailStep(InstallFailure::Interrupted, back);
      return;
    }
    DiscardStaged(files, journal);
    FailStep(InstallFailure::PlaceFailed, step);
  }

  // Adds a line to the shortcuts the page names after the copy; a line that does not fit whole
  // is left out rather than cut.
  void NoteFailedShortcut(const char* name) {
    const std::size_t used = std::strlen(state.failedShortcuts);
    const std::size_t length = std::strlen(name);
    if (used + length + 2 > sizeof state.failedShortcuts) return;
    char* at = state.failedShortcuts + used;
    if (used > 0) *at++ = '\n';
    std::memcpy(at, name, length + 1);
  }

  static const char* KindName(ShortcutKind kind) {
    switch (kind) {
      case ShortcutKind::Desktop: return "Pointrel.LNK on the desktop";
      case ShortcutKind::StartMenu: return "Pointrel.LNK in the Start menu";
      case ShortcutKind::Startup: break;
    }
    return "Pointrel.LNK in the start-up folder";
  }

  // The chosen shortcuts are made (the Start menu's always); one not chosen goes where it is a
  // shortcut to this installation. Each made, or not removed, is recorded.
  void MakeShortcuts() {
    char target[kTextBufferSize];
    char workingFolder[kTextBufferSize];
    const bool targetFits = JoinPath(target, sizeof target, state.destinationPath, kTargetName) && FitsPlatform(target) &&
                            CopyText(workingFolder, sizeof workingFolder, state.destinationPath);
    StripTrailingBackslash(workingFolder);
    const bool wanted[kShortcutKinds] = {state.desktopShortcut != 0, true, state.startAtBoot != 0};
    for (int index = 0; index < kShortcutKinds; ++index) {
      const ShortcutKind kind = static_cast<ShortcutKind>(index);
      char link[kTextBufferSize];
      if (!wanted[index]) {
        if (!IsOurShortcut(shell, files, kind, state.destinationPath, link)) continue;
        if (files.RemoveFile(link) == 0) continue;
        NoteFailedShortcut(link);
        journal.SetShortcut(kind, link);
        continue;
      }
      // A shortcut that cannot be made is named to the user after the copy, by its link where
      // there is one, else by the folder it belongs in.
      const bool linkFits = ComposeShortcutLink(shell, kind, link);
      if (linkFits && targetFits && shell.CreateShortcut(target, link, workingFolder, kShortcutDescription) >= 0) {
        journal.SetShortcut(kind, link);
      } else {
        NoteFailedShortcut(linkFits ? link : KindName(kind));
      }
    }
  }

  // The entry in the list of installed programs, with the size of what was installed.
  void WriteEntry() {
    std::uint64_t installedBytes = 0;
    for (int index = 0; index < journal.fileCount; ++index) installedBytes += journal.files[index].digest.size;
    UninstallEntry entry{};
    char date[9] = "";
    services.Today(date);
    state.entryError = ComposeUninstallEntry(entry, state.destinationPath, date, installedBytes)
                           ? services.WriteUninstallEntry(entry)
                           : kErrorPathNotFound;
  }

  // After a move: the installation in the previous folder, by its own record only.
  void RemovePrevious() {
    const char* previous = state.previousFolder;
    if (previous[0] == '\0' || SamePath(previous, state.destinationPath)) return;
    StepFailure step;
    Recover(files, previous, step);
    InstallRecord record;
    const RecordReading reading = ReadInstallation(files, previous, record);
    char* out = state.previousLeft;
    const std::size_t size = sizeof state.previousLeft;
    if (reading.read != RecordRead::Intact) {
      ComposeUnverifiedMessage(previous, kRecordName, reading, services.ErrorText(), out, size);
      state.previousIncomplete = 1;
      return;
    }
    RemovalPlan plan{};
    CopyText(plan.folder, sizeof plan.folder, previous);
    plan.record = &record;
    char removed[kTextBufferSize + 40] = "The copy in ";
    if (AppendText(removed, sizeof removed, previous) && AppendText(removed, sizeof removed, " has been removed.")) {
      plan.removedLine = removed;
    }
    const RemovalOutcome outcome = RemoveInstallation(plan, files, shell, services, services.ErrorText(), out, size);
    state.previousIncomplete = outcome == RemovalOutcome::Removed ? 0 : 1;
    // Said only where something stays: what would not go, or the user's own files.
    if (outcome == RemovalOutcome::Removed && !files.IsFolder(previous)) out[0] = '\0';
  }

  InstallState& state;
  FileSystem& files;
  ShellServices& shell;
  InstallServices& services;
  InstallRecord journal;
  char scratch[kTextBufferSize] = "";
};

}  // namespace

std::size_t InstallationRoom() {
  std::size_t longest = 0;
  for (int index = 0; index < kInstalledFiles; ++index) {
    const std::size_t length = WideLength(InstalledName(index));
    if (length > longest) longest = length;
  }
  return longest + std::strlen(kStagedSuffix) + 1;
}

bool ComposeSourcePath(char* out, std::size_t size, const char* installerPath, const char* sourceName) {
  char folder[kTextBufferSize];
  // An unknown installer path (empty) names no folder at all.
  if (installerPath[0] == '\0' || !CopyText(folder, sizeof folder, installerPath)) {
    if (size > 0) out[0] = '\0';
    return false;
  }
  char* cut = std::strrchr(folder, '\\');
  if (cut != nullptr) {
    *cut = '\0';
  } else {
    folder[0] = '\0';
  }
  // The separator goes in even after an empty folder, so an installer path without any "\"
  // takes its files from the root of the current drive ("\NAME").
  std::size_t folderLength = std::strlen(folder);
  std::size_t nameLength = std::strlen(sourceName);
  if (folderLength + 1 + nameLength >= size) {
    if (size > 0) out[0] = '\0';
    return false;
  }
  std::memcpy(out, folder, folderLength);
  out[folderLength] = '\\';
  std::memcpy(out + folderLength + 1, sourceName, nameLength + 1);
  return true;
}

void StripTrailingBackslash(char* path) {
  std::size_t length = std::strlen(path);
  if (length > 3 && path[length - 1] == '\\') path[length - 1] = '\0';
}

void CopyWorker(InstallState& state, FileSystem& files, ShellServices& shell, InstallServices& services) {
  {
    Run run(state, files, shell, services);
    run.Install();
  }
  state.workerDone.Store(1);
}

void BeginCopy(InstallState& state) {
  state.workerDone.Store(0);
  state.stopRequested.Store(0);
  state.failure = InstallFailure::None;
  state.failedShortcuts[0] = '\0';
  state.failedPath[0] = '\0';
  state.failedError = 0;
  state.entryError = 0;
  state.previousLeft[0] = '\0';
  state.previousIncomplete = 0;
  state.displayTaken.Store(1);
}

const char* FailureMessage(InstallFailure failure) {
  switch (failure) {
    case InstallFailure::DestinationFolder: return "Unable to create destination directory";
    case InstallFailure::Subfolders: return "Unable to create subdirectories";
    case InstallFailure::CopyFailed: return "Error copying application files";
    case InstallFailure::PlaceFailed:
      return "The new files could not be put in place. The files that were there before are back in their places.";
    case InstallFailure::Interrupted:
      return "An installation in this folder was cut short and could not be finished. Run the installer again to "
             "finish it.";
    case InstallFailure::None:
    case InstallFailure::Cancelled: break;
  }
  return nullptr;
}

void ComposeFailureText(const InstallState& state, PlatformErrorText platformText, char* out, std::size_t size) {
  if (size == 0) return;
  out[0] = '\0';
  const char* message = FailureMessage(state.failure);
  if (!message || !AppendText(out, size, message)) return;
  if (state.failedPath[0] == '\0') return;
  char reason[512];
  if (state.failedError == 0) {
    CopyText(reason, sizeof reason, "Its path is longer than Windows allows.");
  } else {
    DescribeError(state.failedError, "the installation medium", platformText, reason, sizeof reason);
  }
  // Left out whole where it does not fit: the first line still says what failed.
  const std::size_t base = std::strlen(out);
  if (!AppendText(out, size, "\n\n") || !AppendText(out, size, state.failedPath) || !AppendText(out, size, "\n") ||
      !AppendText(out, size, reason)) {
    out[base] = '\0';
  }
}

bool InstallationComplete(const InstallState& state) {
  return state.failure == InstallFailure::None && state.failedShortcuts[0] == '\0' && state.entryError == 0;
}

int QuietExitCode(const InstallState& state) {
  switch (state.failure) {
    case InstallFailure::None:
      return InstallationComplete(state) && !state.previousIncomplete ? kQuietDone : kQuietIncomplete;
    case InstallFailure::DestinationFolder:
    case InstallFailure::Subfolders: return kQuietFolderFailed;
    case InstallFailure::Interrupted: return kQuietInterrupted;
    case InstallFailure::CopyFailed:
    case InstallFailure::PlaceFailed:
    case InstallFailure::Cancelled: break;
  }
  return kQuietCopyFailed;
}
