#include "installer/removal.h"

#include <cstring>
#include <new>

#include "installer/destination.h"
#include "installer/install_journal.h"
#include "installer/install_state.h"
#include "installer/uninstall_entry.h"
#include "utility/records/settings_location.h"

const char kSettingsFileName[] = "Pointrel.INI";
const char kSchemesFolderName[] = "Schemes";
const char kNothingToRemoveMessage[] = "Pointrel is not installed on this computer: there is nothing to remove.";

namespace {

constexpr int kListedFiles = 12;  // the last message names this many, then says there are more
constexpr int kMaxFolderDepth = 32;

// A report of lines, each appended whole or not at all.
struct Report {
  char* text;
  std::size_t size;
  void Add(const char* line) { AppendText(text, size, line); }
  void AddPair(const char* path, const char* reason) {
    char line[kTextBufferSize + 600] = "\n";
    if (AppendText(line, sizeof line, path) && AppendText(line, sizeof line, "\n") && AppendText(line, sizeof line, reason)) {
      Add(line);
    }
  }
};

struct Failures {
  Report report;
  PlatformErrorText platformText;
  int count = 0;
  void Note(const char* what, std::uint32_t error) {
    char reason[512];
    DescribeError(error, "the disk", platformText, reason, sizeof reason);
    report.AddPair(what, reason);
    ++count;
  }
  void Remove(FileSystem& files, const char* path) {
    if (const std::uint32_t error = files.RemoveFile(path)) Note(path, error);
  }
};

// What became of each recorded file.
enum class Found : unsigned char { Absent, Ours, Changed, Failed };

bool IsUninstaller(const char* path) { return SamePath(path, kUninstallerName); }

// The files left in the folder that are not the installer's: the user's own, and those changed
// since they were installed.
struct KeptFiles {
  const InstallRecord* record;
  const Found* found;
  char list[kListedFiles * 300] = "";
  int count = 0;
  static bool Visit(const char* relative, bool isFolder, void* context) {
    auto* kept = static_cast<KeptFiles*>(context);
    if (isFolder || SamePath(relative, kRecordName) || SamePath(relative, kJournalName)) return true;
    const int index = kept->record->FindFile(relative);
    if (index >= 0 && kept->found[index] != Found::Changed) return true;  // named among the failures
    if (kept->count++ < kListedFiles) {
      char line[kTextBufferSize + 2] = "\n";
      if (AppendText(line, sizeof line, relative)) AppendText(kept->list, sizeof kept->list, line);
    }
    return kept->count <= kListedFiles;
  }
};

// The folders the recorded files lie in, deepest first, each removed once it is empty: at each
// depth, every file's folder of that depth.
void RemoveEmptyFolders(FileSystem& files, const char* folder, const InstallRecord& record) {
  for (int depth = kMaxFolderDepth; depth > 0; --depth) {
    for (int index = 0; index < record.fileCount; ++index) {
      const char* path = record.files[index].path;
      const char* at = path;
      for (int level = 0; at && level < depth; ++level) at = std::strchr(at + (level ? 1 : 0), '\\');
      if (!at) continue;
      char relative[kTextBufferSize];
      char full[kTextBufferSize];
      std::memcpy(relative, path, static_cast<std::size_t>(at - path));
      relative[at - path] = '\0';
      if (InFolder(full, folder, relative)) files.RemoveEmptyFolder(full);
    }
  }
}

// Everything below a folder of the settings: the files, then the folders, deepest first (each
// walk removes the folders that hold nothing any more).
struct TreeRemoval {
  FileSystem& files;
  Failures& failures;
  const char* root;
  bool foldersOnly = false;
  static bool Visit(const char* relative, bool isFolder, void* context) {
    auto* tree = static_cast<TreeRemoval*>(context);
    char path[kTextBufferSize];
    if (!InFolder(path, tree->root, relative)) return true;
    if (isFolder && tree->foldersOnly) tree->files.RemoveEmptyFolder(path);
    if (!isFolder && !tree->foldersOnly) tree->failures.Remove(tree->files, path);
    return true;
  }
  void Run() {
    files.ForEachEntry(root, &Visit, this);
    foldersOnly = true;
    for (int pass = 0; pass < kMaxFolderDepth; ++pass) files.ForEachEntry(root, &Visit, this);
    files.RemoveEmptyFolder(root);
  }
};

void RemoveSettings(const RemovalPlan& plan, FileSystem& files, Failures& failures) {
  char settings[kTextBufferSize];
  char marker[kTextBufferSize] = "";
  char schemes[kTextBufferSize];
  if (!InFolder(settings, plan.settingsFolder, kSettingsFileName)) return;
  // The file, and the run marker the utility keeps beside it (named by its own rule).
  ComposeRunMarker(settings, marker, sizeof marker);
  const char* const paths[] = {settings, marker};
  for (const char* path : paths) {
    if (path[0] != '\0' && files.FileExists(path)) failures.Remove(files, path);
  }
  if (InFolder(schemes, plan.settingsFolder, kSchemesFolderName) && files.IsFolder(schemes)) {
    TreeRemoval{files, failures, schemes}.Run();
  }
  files.RemoveEmptyFolder(plan.settingsFolder);
}

}  // namespace

RemovalOutcome RemoveInstallation(const RemovalPlan& plan, FileSystem& files, ShellServices& shell,
                                  RemovalServices& services, PlatformErrorText platformText, char* message,
                                  std::size_t size) {
  if (size > 0) message[0] = '\0';
  Report report{message, size};
  const InstallRecord& record = *plan.record;
  Found* found = new (std::nothrow) Found[record.fileCount > 0 ? record.fileCount : 1];
  if (!found) {
    report.Add("Pointrel was not removed: there is not enough memory. Nothing has been changed.");
    return RemovalOutcome::Blocked;
  }
  // Which files are still as the installer wrote them; of those, one that a program holds stops
  // it all before anything is gone.
  for (int index = 0; index < record.fileCount; ++index) {
    char path[kTextBufferSize];
    FileDigest digest;
    found[index] = Found::Absent;
    if (!InFolder(path, plan.folder, record.files[index].path) || !files.FileExists(path)) continue;
    // A file that cannot be read now cannot be told from the user's: it stops the removal too.
    std::uint32_t error = files.DigestFile(path, digest);
    found[index] = error == 0 && !(digest == record.files[index].digest) ? Found::Changed : Found::Ours;
    if (found[index] != Found::Ours) continue;
    if (error != 0 || (error = files.CheckRemovable(path)) != 0) {
      char reason[512];
      DescribeError(error, "the disk", platformText, reason, sizeof reason);
      report.Add("Pointrel was not removed; nothing has been changed. This file cannot be removed now:\n");
      report.AddPair(path, reason);
      report.Add("\n\nClose the program that uses it and try again.");
      delete[] found;
      return RemovalOutcome::Blocked;
    }
  }

  char failureText[4 * kTextBufferSize] = "";
  Failures failures{{failureText, sizeof failureText}, platformText};
  int uninstaller = -1;
  for (int index = 0; index < record.fileCount; ++index) {
    if (found[index] != Found::Ours) continue;
    if (IsUninstaller(record.files[index].path)) {
      uninstaller = index;
      continue;
    }
    char path[kTextBufferSize];
    InFolder(path, plan.folder, record.files[index].path);
    if (const std::uint32_t error = files.RemoveFile(path)) {
      failures.Note(path, error);
      found[index] = Found::Failed;
    }
  }
  for (int kind = 0; kind < kShortcutKinds; ++kind) {
    char link[kTextBufferSize];
    if (IsOurShortcut(shell, files, static_cast<ShortcutKind>(kind), plan.folder, link)) failures.Remove(files, link);
  }
  char settings[kTextBufferSize] = "";
  const bool settingsThere = plan.settingsFolder[0] != '\0' && InFolder(settings, plan.settingsFolder, kSettingsFileName) &&
                             files.FileExists(settings);
  if (plan.removeSettings && plan.settingsFolder[0] != '\0') RemoveSettings(plan, files, failures);
  // The uninstaller and the record stay while anything else does, so that the user can try again.
  if (failures.count == 0) {
    char path[kTextBufferSize];
    if (uninstaller >= 0 && InFolder(path, plan.folder, record.files[uninstaller].path)) {
      if (const std::uint32_t error = files.RemoveFile(path)) {
        failures.Note(path, error);
        found[uninstaller] = Found::Failed;
      }
    }
    if (failures.count == 0 && InFolder(path, plan.folder, kRecordName) && files.FileExists(path)) failures.Remove(files, path);
  }
  RemoveEmptyFolders(files, plan.folder, record);
  // A drive root is no folder of ours to remove.
  if (std::strlen(plan.folder) > 3) files.RemoveEmptyFolder(plan.folder);
  if (failures.count == 0 && plan.removeEntry) {
    if (const std::uint32_t error = services.RemoveEntry()) {
      failures.Note("Pointrel's entry in the list of installed programs", error);
    }
  }

  KeptFiles kept{&record, found};
  files.ForEachEntry(plan.folder, &KeptFiles::Visit, &kept);
  delete[] found;
  if (failures.count == 0) {
    report.Add(plan.removedLine ? plan.removedLine : "Pointrel has been removed from your computer.");
  } else {
    report.Add("Pointrel could not be removed completely. These could not be removed:\n");
    report.Add(failureText);
    report.Add("\n\nIts uninstaller stays: once they are free, remove Pointrel again.");
  }
  if (kept.count > 0) {
    report.Add("\n\nThese files of your own (added, or changed since Pointrel installed them) were kept, with their "
               "folders, in ");
    report.Add(plan.folder);
    report.Add(":");
    report.Add(kept.list);
    if (kept.count > kListedFiles) report.Add("\n...and more.");
  }
  if (settingsThere && !plan.removeSettings) {
    report.Add("\n\nYour settings were kept in ");
    report.Add(settings);
    report.Add(".");
  }
  return failures.count == 0 ? RemovalOutcome::Removed : RemovalOutcome::Partly;
}

void ComposeUnverifiedMessage(const char* folder, const char* name, const RecordReading& reading,
                              PlatformErrorText platformText, char* out, std::size_t size) {
  if (size == 0) return;
  out[0] = '\0';
  char why[600] = "";
  switch (reading.read) {
    case RecordRead::Intact: return;
    case RecordRead::Missing: CopyText(why, sizeof why, "is missing."); break;
    case RecordRead::Unreadable: {
      char reason[512];
      DescribeError(reading.error, "the disk", platformText, reason, sizeof reason);
      CopyText(why, sizeof why, "could not be read: ");
      AppendText(why, sizeof why, reason);
      break;
    }
    case RecordRead::NotARecord: CopyText(why, sizeof why, "is not a record of Pointrel's installer."); break;
    case RecordRead::Damaged:
      CopyText(why, sizeof why, "is damaged");
      if (reading.line > 0) {
        AppendText(why, sizeof why, " (at line ");
        AppendNumber(why, sizeof why, static_cast<std::uint32_t>(reading.line));
        AppendText(why, sizeof why, ")");
      }
      AppendText(why, sizeof why, ".");
      break;
    case RecordRead::OtherFolder: CopyText(why, sizeof why, "was written for another folder."); break;
  }
  if (!AppendText(out, size, "Nothing was removed from ") || !AppendText(out, size, folder) ||
      !AppendText(out, size, ": its files cannot be verified as Pointrel's, because the record of what the installer "
                             "wrote there, ") ||
      !AppendText(out, size, name) || !AppendText(out, size, ", ") || !AppendText(out, size, why)) {
    out[0] = '\0';
  }
}
