#include "installer/installation.h"

#include "installer/copy_worker.h"
#include "installer/destination.h"
#include "installer/install_journal.h"
#include "installer/failure_reason.h"

#include <cstring>

bool HoldsInstallation(FileSystem& files, const char* folder) {
  InstallRecord record;
  return ReadInstallation(files, folder, record).read == RecordRead::Intact ||
         ReadRecordFile(files, folder, kJournalName, record).read == RecordRead::Intact;
}

void FindInstallation(FileSystem& files, ShellServices& shell, const char* entryHint, const char* fallback,
                      Installation& found) {
  found = Installation{};
  char hint[kTextBufferSize];
  char part[8];
  const char* const candidates[] = {
      CanonicalFolder(entryHint, 0, hint, sizeof hint, part, sizeof part) == PathProblem::None ? hint : nullptr, fallback};
  for (const char* folder : candidates) {
    if (!folder || !HoldsInstallation(files, folder)) continue;
    found.found = true;
    CopyText(found.folder, sizeof found.folder, folder);
    for (int kind = 0; kind < kShortcutKinds; ++kind) {
      char link[kTextBufferSize];
      found.shortcuts[kind] = IsOurShortcut(shell, files, static_cast<ShortcutKind>(kind), folder, link);
    }
    return;
  }
}

DestinationKind CheckDestination(FileSystem& files, const char* typed, const Installation& existing,
                                 char (&canonical)[kTextBufferSize], char* reason, std::size_t size) {
  if (size > 0) reason[0] = '\0';
  char part[kTextBufferSize];
  const PathProblem problem = CanonicalFolder(typed, InstallationRoom(), canonical, sizeof canonical, part, sizeof part);
  if (problem != PathProblem::None) {
    char why[kTextBufferSize + 200];
    DescribePathProblem(problem, part, why, sizeof why);
    if (!AppendText(reason, size, "The destination directory format is invalid.\n\n") || !AppendText(reason, size, why)) {
      if (size > 0) reason[0] = '\0';
    }
    return DestinationKind::Refused;
  }
  // A folder inside an installation would mix its files with that installation's.
  char enclosing[kTextBufferSize];
  CopyText(enclosing, sizeof enclosing, canonical);
  for (;;) {
    char* cut = std::strrchr(enclosing, '\\');
    if (!cut || enclosing[3] == '\0') break;  // the drive's root has nothing above it
    cut[cut == enclosing + 2 ? 1 : 0] = '\0';  // up one folder; the root keeps its backslash
    if (!HoldsInstallation(files, enclosing)) continue;
    const bool composed = AppendText(reason, size, canonical) &&
                          AppendText(reason, size, " lies inside the installation of Pointrel in ") &&
                          AppendText(reason, size, enclosing) && AppendText(reason, size, ". Install into ") &&
                          AppendText(reason, size, enclosing) &&
                          AppendText(reason, size, " itself, or into a folder outside it.");
    if (!composed && size > 0) reason[0] = '\0';
    return DestinationKind::Refused;
  }
  if (existing.found && !SamePath(canonical, existing.folder)) return DestinationKind::Move;
  return existing.found || HoldsInstallation(files, canonical) ? DestinationKind::Upgrade : DestinationKind::Fresh;
}
