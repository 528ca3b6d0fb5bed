#include "installer/copy_worker.h"

#include <cstring>

#include "installer/file_manifest.h"

// The first library's five, then the folders of the other roles (the shipped schemes fill them).
const char* const kLibrarySubfolders[kSubfolderCount] = {"NORMAL", "BUSY", "IBEAM", "SIZING", "APPSTART",
                                                         "HELP",   "CROSS", "PEN",  "NO",     "MOVE",
                                                         "UPARROW", "HAND", "PIN",  "PERSON"};

const char kDesktopFolder[] = "DESKTOP\\";
const char kStartupFolder[] = "Start Menu\\Programs\\StartUp\\";
const char kProgramsFolder[] = "Start Menu\\Programs\\";
const char kShortcutName[] = "Pointrel.LNK";
const char kTargetName[] = "Pointrel.EXE";
const char kShortcutDescription[] = "Pointrel version 2.0";
const char kNotCompleteMessage[] = "The installation is NOT complete";

namespace {

bool Stopped(const InstallState& state) { return state.stopRequested.Load() != 0; }

void Fail(InstallState& state, InstallFailure failure) {
  state.failure = failure;
  state.stopRequested.Store(1);
}

// The platform counts wide characters, not the bytes of their UTF-8.
bool FitsPlatform(const char* path) { return WideLength(path) < kMaxPath; }

bool CreatedOrThere(std::uint32_t error) {
  return error == 0 || error == kErrorAlreadyExists || error == kErrorFileExists;
}

// Waits for the page to have shown the last pair. A Cancel ends the wait too: by then the page
// has killed its timers and will never take the display again.
bool WaitForDisplay(InstallState& state, InstallServices& services) {
  for (;;) {
    if (Stopped(state)) return false;
    if (state.displayTaken.Load() == 1) return true;
    services.Sleep(kWorkerPollMs);
  }
}

// Every path shown was composed in a buffer of this size, so it fits; one that did not would
// show as empty (CopyText empties it) rather than cut short.
void Publish(InstallState& state, const char* source, const char* destination) {
  if (!CopyText(state.shownSource, kTextBufferSize, source)) state.shownSource[0] = '\0';
  if (!CopyText(state.shownDestination, kTextBufferSize, destination)) state.shownDestination[0] = '\0';
  state.displayTaken.Store(0);
}

void MakeDestinationFolder(InstallState& state, InstallServices& services) {
  char folder[kTextBufferSize];
  if (!CopyText(folder, sizeof folder, state.destinationPath)) {
    Fail(state, InstallFailure::DestinationFolder);
    return;
  }
  std::size_t length = std::strlen(folder);
  if (length <= 3) return;  // a drive root already exists
  if (folder[length - 1] == '\\') folder[length - 1] = '\0';
  if (!FitsPlatform(folder) || !CreatedOrThere(services.CreateFolder(folder))) {
    Fail(state, InstallFailure::DestinationFolder);
  }
}

void MakeSubfolders(InstallState& state, InstallServices& services) {
  for (const char* name : kLibrarySubfolders) {
    if (Stopped(state)) return;
    char folder[kTextBufferSize];
    if (!JoinPath(folder, sizeof folder, state.destinationPath, name) || !FitsPlatform(folder) ||
        !CreatedOrThere(services.CreateFolder(folder))) {
      Fail(state, InstallFailure::Subfolders);
      return;
    }
  }
}

// A copy that failed names its file: the source where that is missing, else the destination.
void FailCopy(InstallState& state, const char* path, std::uint32_t error) {
  if (!CopyText(state.failedPath, sizeof state.failedPath, path)) state.failedPath[0] = '\0';
  state.failedError = error;
  Fail(state, InstallFailure::CopyFailed);
}

// One file onto the display and then copied. Returns false when the worker must stop.
bool CopyOneFile(InstallState& state, InstallServices& services, const char* source, const char* destination,
                 std::uint64_t& installedBytes) {
  if (!FitsPlatform(source) || !FitsPlatform(destination)) {
    FailCopy(state, FitsPlatform(source) ? destination : source, 0);
    return false;
  }
  if (!WaitForDisplay(state, services)) return false;
  Publish(state, source, destination);
  const std::uint32_t error = services.CopyFileOver(source, destination);
  if (error != 0) {
    // A drive that filled up mid-way leaves a file cut short: it goes, rather than pass for one.
    if (CopyFailureMayLeaveAPart(error)) services.RemoveFile(destination);
    FailCopy(state, error == kErrorFileNotFound ? source : destination, error);
    return false;
  }
  installedBytes += services.FileSize(destination);
  return true;
}

void CopyFiles(InstallState& state, InstallServices& services, std::uint64_t& installedBytes) {
  for (const ManifestRow& row : FileManifest) {
    if (Stopped(state)) return;
    char source[kTextBufferSize];
    char destination[kTextBufferSize];
    if (!ComposeSourcePath(source, sizeof source, state.installerPath, row.sourceName)) {
      FailCopy(state, row.sourceName, 0);
      return;
    }
    if (!JoinPath(destination, sizeof destination, state.destinationPath, row.destinationName)) {
      FailCopy(state, row.destinationName, 0);
      return;
    }
    if (!CopyOneFile(state, services, source, destination, installedBytes)) return;
  }
}

// The installer's own file beside the program: the entry starts it to remove what was installed.
void CopyUninstaller(InstallState& state, InstallServices& services, std::uint64_t& installedBytes) {
  if (Stopped(state)) return;
  char destination[kTextBufferSize];
  if (!JoinPath(destination, sizeof destination, state.destinationPath, kUninstallerName)) {
    FailCopy(state, kUninstallerName, 0);
    return;
  }
  CopyOneFile(state, services, state.installerPath, destination, installedBytes);
}

void BlankDisplay(InstallState& state, InstallServices& services) {
  if (Stopped(state)) return;
  if (!WaitForDisplay(state, services)) return;
  Publish(state, "", "");
}

// The link in the shell's folder for the current user; only where the shell cannot say, in
// `subfolder` of the Windows folder.
bool ComposeShortcutLink(InstallServices& services, ShellFolder folder, const char* subfolder, char* link, std::size_t size) {
  char shellFolder[kTextBufferSize];
  if (services.GetShellFolder(folder, shellFolder, sizeof shellFolder) && shellFolder[0] != '\0') {
    return JoinPath(link, size, shellFolder, kShortcutName) && FitsPlatform(link);
  }
  char windowsFolder[kTextBufferSize];
  services.GetWindowsFolder(windowsFolder, sizeof windowsFolder);
  return ComposeLinkPath(link, size, windowsFolder, subfolder) && FitsPlatform(link);
}

// Adds a line to the shortcuts the page names after the copy; a line that does not fit whole
// is left out rather than cut.
void NoteFailedShortcut(InstallState& state, const char* name) {
  const size_t used = std::strlen(state.failedShortcuts);
  const size_t length = std::strlen(name);
  if (used + length + 2 > sizeof state.failedShortcuts) return;
  char* at = state.failedShortcuts + used;
  if (used > 0) *at++ = '\n';
  std::memcpy(at, name, length + 1);
}

const char* FolderName(ShellFolder folder) {
  switch (folder) {
    case ShellFolder::Desktop: return "Pointrel.LNK on the desktop";
    case ShellFolder::Programs: return "Pointrel.LNK in the Start menu";
    case ShellFolder::Startup: break;
  }
  return "Pointrel.LNK in the start-up folder";
}

// Makes one shortcut; its link goes into `made` (empty when it could not be made).
void MakeShortcut(InstallState& state, InstallServices& services, ShellFolder folder, const char* subfolder,
                  char (&made)[kTextBufferSize]) {
  made[0] = '\0';
  char link[kTextBufferSize];
  char target[kTextBufferSize];
  const bool linkFits = ComposeShortcutLink(services, folder, subfolder, link, sizeof link);
  bool targetFits = JoinPath(target, sizeof target, state.destinationPath, kTargetName) && FitsPlatform(target);
  // The shortcut starts the program in its folder, named without a trailing backslash.
  char workingFolder[kTextBufferSize];
  const bool folderFits = CopyText(workingFolder, sizeof workingFolder, state.destinationPath);
  StripTrailingBackslash(workingFolder);
  // A shortcut that cannot be made is named to the user after the copy, by its link where
  // there is one, else by the folder it belongs in.
  if (linkFits && targetFits && folderFits && services.CreateShortcut(target, link, workingFolder, kShortcutDescription) >= 0) {
    CopyText(made, sizeof made, link);
    return;
  }
  NoteFailedShortcut(state, linkFits ? link : FolderName(folder));
}

// The entry in the list of installed programs, with the shortcuts made, so that the uninstaller
// removes exactly those.
void WriteEntry(InstallState& state, InstallServices& services, const UninstallEntry& shortcuts, std::uint64_t installedBytes) {
  UninstallEntry entry;
  char date[9] = "";
  services.Today(date);
  if (!ComposeUninstallEntry(entry, state.destinationPath, date, installedBytes)) {
    state.entryError = kErrorPathNotFound;
    return;
  }
  for (int kind = 0; kind < kShortcutKinds; ++kind) CopyText(entry.shortcuts[kind], kTextBufferSize, shortcuts.shortcuts[kind]);
  state.entryError = services.WriteUninstallEntry(entry);
}

}  // namespace

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

bool ComposeLinkPath(char* out, std::size_t size, const char* windowsFolder, const char* subfolder) {
  char folder[kTextBufferSize];
  if (!JoinPath(folder, sizeof folder, windowsFolder, subfolder)) {
    if (size > 0) out[0] = '\0';
    return false;
  }
  return JoinPath(out, size, folder, kShortcutName);
}

void StripTrailingBackslash(char* path) {
  std::size_t length = std::strlen(path);
  if (length > 3 && path[length - 1] == '\\') path[length - 1] = '\0';
}

void CopyWorker(InstallState& state, InstallServices& services) {
  std::uint64_t installedBytes = 0;
  UninstallEntry made;  // only its shortcuts are used
  if (!Stopped(state)) MakeDestinationFolder(state, services);
  MakeSubfolders(state, services);
  CopyFiles(state, services, installedBytes);
  CopyUninstaller(state, services, installedBytes);
  BlankDisplay(state, services);
  auto& links = made.shortcuts;
  if (state.desktopShortcut && !Stopped(state)) {
    MakeShortcut(state, services, ShellFolder::Desktop, kDesktopFolder, links[static_cast<int>(ShortcutKind::Desktop)]);
  }
  if (!Stopped(state)) {
    MakeShortcut(state, services, ShellFolder::Programs, kProgramsFolder, links[static_cast<int>(ShortcutKind::StartMenu)]);
  }
  if (state.startAtBoot && !Stopped(state)) {
    MakeShortcut(state, services, ShellFolder::Startup, kStartupFolder, links[static_cast<int>(ShortcutKind::Startup)]);
  }
  if (!Stopped(state)) WriteEntry(state, services, made, installedBytes);
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
  state.displayTaken.Store(1);
}

void CancelCopy(InstallState& state, InstallServices& services) {
  state.stopRequested.Store(1);
  while (!WorkerFinished(state)) services.Sleep(kCancelPollMs);
}

const char* FailureMessage(InstallFailure failure) {
  switch (failure) {
    case InstallFailure::DestinationFolder: return "Unable to create destination directory";
    case InstallFailure::Subfolders: return "Unable to create subdirectories";
    case InstallFailure::CopyFailed: return "Error copying application files";
    case InstallFailure::None: break;
  }
  return nullptr;
}

void ComposeFailureText(const InstallState& state, PlatformErrorText platformText, char* out, std::size_t size) {
  if (size == 0) return;
  out[0] = '\0';
  const char* message = FailureMessage(state.failure);
  if (!message || !AppendText(out, size, message)) return;
  if (state.failure != InstallFailure::CopyFailed || state.failedPath[0] == '\0') return;
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
