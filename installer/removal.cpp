#include "installer/removal.h"

#include <cstring>

#include "installer/copy_worker.h"
#include "installer/file_manifest.h"
#include "installer/install_state.h"
#include "utility/app/settings_location.h"

const char kSettingsFileName[] = "Pointrel.INI";
const char kNothingToRemoveMessage[] = "Pointrel is not installed on this computer: there is nothing to remove.";

namespace {

constexpr int kListedFiles = 12;  // the last message names this many, then counts the rest

// The installed files in the order they are removed: the manifest's rows, then the uninstaller.
constexpr int kInstalledFiles = kManifestRows + 1;
bool InstalledFile(const RemovalPlan& plan, int index, char (&path)[kTextBufferSize]) {
  const char* name = index < kManifestRows ? FileManifest[index].destinationName : kUninstallerName;
  return JoinPath(path, sizeof path, plan.folder, name);
}

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
};

struct KeptFiles {
  char list[kListedFiles * 300] = "";
  int count = 0;
  static void Visit(const char* relative, void* context) {
    auto* kept = static_cast<KeptFiles*>(context);
    if (kept->count++ < kListedFiles) {
      char line[kTextBufferSize + 2] = "\n";
      if (AppendText(line, sizeof line, relative)) AppendText(kept->list, sizeof kept->list, line);
    }
  }
};

bool SettingsFile(const RemovalPlan& plan, const char* name, char (&path)[kTextBufferSize]) {
  return plan.settingsFolder[0] != '\0' && JoinPath(path, sizeof path, plan.settingsFolder, name);
}

}  // namespace

bool SomethingToRemove(const RemovalPlan& plan, RemovalServices& services) {
  if (plan.entryExists) return true;
  if (plan.folder[0] == '\0') return false;
  for (int index = 0; index < kInstalledFiles; ++index) {
    char path[kTextBufferSize];
    if (InstalledFile(plan, index, path) && services.FileExists(path)) return true;
  }
  return false;
}

RemovalOutcome RemoveInstallation(const RemovalPlan& plan, RemovalServices& services, PlatformErrorText platformText,
                                  char* message, std::size_t size) {
  if (size == 0) return RemovalOutcome::NothingToRemove;
  message[0] = '\0';
  Report report{message, size};
  if (!SomethingToRemove(plan, services)) {
    report.Add(kNothingToRemoveMessage);
    return RemovalOutcome::NothingToRemove;
  }
  // Every file first: one that a program holds stops it all before anything is gone.
  for (int index = 0; index < kInstalledFiles; ++index) {
    char path[kTextBufferSize];
    if (!InstalledFile(plan, index, path) || !services.FileExists(path)) continue;
    if (const std::uint32_t error = services.CheckRemovable(path)) {
      char reason[512];
      DescribeError(error, "the disk", platformText, reason, sizeof reason);
      report.Add("Pointrel was not removed; nothing has been changed. This file cannot be removed now:\n");
      report.AddPair(path, reason);
      report.Add("\n\nClose the program that uses it and try again.");
      return RemovalOutcome::Blocked;
    }
  }

  char failureText[4 * kTextBufferSize] = "";
  Failures failures{{failureText, sizeof failureText}, platformText};
  for (int index = 0; index < kManifestRows; ++index) {
    char path[kTextBufferSize];
    if (!InstalledFile(plan, index, path) || !services.FileExists(path)) continue;
    if (const std::uint32_t error = services.RemoveFile(path)) failures.Note(path, error);
  }
  // The uninstaller and the entry stay while anything else does, so that the user can try again.
  if (failures.count == 0) {
    char path[kTextBufferSize];
    if (InstalledFile(plan, kManifestRows, path) && services.FileExists(path)) {
      if (const std::uint32_t error = services.RemoveFile(path)) failures.Note(path, error);
    }
  }
  for (const char* link : plan.shortcuts) {
    if (link[0] == '\0' || !services.FileExists(link)) continue;
    if (const std::uint32_t error = services.RemoveFile(link)) failures.Note(link, error);
  }
  for (const char* name : kLibrarySubfolders) {
    char path[kTextBufferSize];
    if (JoinPath(path, sizeof path, plan.folder, name)) services.RemoveEmptyFolder(path);
  }
  // A drive root is no folder of ours to remove.
  if (std::strlen(plan.folder) > 3) services.RemoveEmptyFolder(plan.folder);

  char settings[kTextBufferSize] = "";
  const bool settingsThere = SettingsFile(plan, kSettingsFileName, settings) && services.FileExists(settings);
  if (plan.removeSettings) {
    // The file, and the run marker the utility keeps beside it (named by its own rule).
    char marker[kTextBufferSize] = "";
    if (settings[0] != '\0') ComposeRunMarker(settings, marker, sizeof marker);
    const char* const paths[] = {settings, marker};
    for (const char* path : paths) {
      if (path[0] == '\0' || !services.FileExists(path)) continue;
      if (const std::uint32_t error = services.RemoveFile(path)) failures.Note(path, error);
    }
    if (plan.settingsFolder[0] != '\0') services.RemoveEmptyFolder(plan.settingsFolder);
  }
  if (failures.count == 0 && plan.entryExists) {
    if (const std::uint32_t error = services.RemoveEntry()) {
      failures.Note("Pointrel's entry in the list of installed programs", error);
    }
  }

  KeptFiles kept;
  services.ForEachFile(plan.folder, &KeptFiles::Visit, &kept);
  if (failures.count == 0) {
    report.Add("Pointrel has been removed from your computer.");
  } else {
    report.Add("Pointrel could not be removed completely. These could not be removed:\n");
    report.Add(failureText);
    report.Add("\n\nPointrel stays in the list of installed programs: once they are free, remove it again.");
  }
  if (kept.count > 0) {
    report.Add("\n\nThese files of your own were kept, with their folders, in ");
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
