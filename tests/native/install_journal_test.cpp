// The installation's state machine over the fake file system: a run killed after every single
// change, of a first installation and of an upgrade, and then the next run's recovery (itself
// killed too) leaves either the installation that was there before or the new one, whole, or
// none; a swap that fails at any file is taken back; and the record's file is written whole or
// not at all.
#include "installer/install_journal.h"

#include <gtest/gtest.h>

#include <string>

#include "installer/copy_worker.h"
#include "installer/file_manifest.h"
#include "installer/installation.h"
#include "tests/native/fake_installer_platform.h"

namespace {

const char kFolder[] = "C:\\Pointrel";

// The medium of one version: every row's content names the version.
std::string Content(const std::string& version, int row) { return version + " " + FileManifest[row].sourceName; }

struct Machine {
  fake::FileSystem files;
  fake::Shell shell{files};
  fake::Services services{files};
  InstallState state;

  Machine() {
    files.AddFolder("C:\\WINDOWS");
    for (const char* folder : {"C:\\Users", "C:\\Users\\ann", "C:\\Users\\ann\\Desktop", "C:\\Users\\ann\\Programs",
                               "C:\\Users\\ann\\Programs\\Startup"}) {
      files.AddFolder(folder);
    }
    shell.folders[0] = "C:\\Users\\ann\\Desktop";
    shell.folders[1] = "C:\\Users\\ann\\Programs";
    shell.folders[2] = "C:\\Users\\ann\\Programs\\Startup";
    std::strcpy(state.installerPath, "A:\\WENDSET.EXE");
    state.showProgress = 0;
    Medium("old");
  }
  void Medium(const std::string& version) {
    for (int row = 0; row < kManifestRows; ++row) files.AddFile(std::string("A:\\") + FileManifest[row].sourceName, Content(version, row));
    files.AddFile("A:\\WENDSET.EXE", version + " installer");
  }
  void Install(int startup = 0) {
    std::strcpy(state.destinationPath, kFolder);
    state.startAtBoot = startup;
    BeginCopy(state);
    CopyWorker(state, files, shell, services);
  }
  // Every file of `version` in its place, its record intact and naming exactly them, nothing
  // staged or moved aside, no journal: what the folder holds between runs.
  ::testing::AssertionResult Holds(const std::string& version) {
    for (int row = 0; row < kManifestRows; ++row) {
      const std::string path = std::string(kFolder) + "\\" + FileManifest[row].destinationName;
      if (files.Content(path) != Content(version, row)) {
        return ::testing::AssertionFailure() << path << " holds " << files.Content(path).substr(0, 40);
      }
    }
    if (files.Content(std::string(kFolder) + "\\Uninstall.EXE") != version + " installer") {
      return ::testing::AssertionFailure() << "the uninstaller is not " << version << "'s";
    }
    InstallRecord record;
    if (ReadInstallation(files, kFolder, record).read != RecordRead::Intact) return ::testing::AssertionFailure() << "no record";
    for (int index = 0; index < record.fileCount; ++index) {
      const std::string path = std::string(kFolder) + "\\" + record.files[index].path;
      if (!(fake::DigestOf(files.Content(path)) == record.files[index].digest)) {
        return ::testing::AssertionFailure() << "the record's digest of " << path << " does not match";
      }
    }
    if (record.fileCount != kManifestRows + 1) return ::testing::AssertionFailure() << record.fileCount << " recorded";
    return Clean();
  }
  ::testing::AssertionResult Clean() {
    for (const std::string& name : files.Below(kFolder)) {
      if (name.find(".pointrel-") != std::string::npos || name == "Uninstall.JNL" || name == "Uninstall.TMP") {
        return ::testing::AssertionFailure() << "left: " << name;
      }
    }
    return ::testing::AssertionSuccess();
  }
};

// Runs an installation killed after `budget` changes; false when it ran to its end.
bool KilledRun(Machine& machine, int budget) {
  machine.files.budget = budget;
  bool killed = false;
  try {
    machine.Install();
  } catch (const fake::Killed&) {
    killed = true;
  }
  machine.files.budget = -1;
  return killed;
}

// The next run's recovery, itself killed after `budget` changes (then recovered once more).
Recovery RecoverAfterKill(Machine& machine, int budget) {
  StepFailure step;
  machine.files.budget = budget;
  try {
    const Recovery recovery = Recover(machine.files, kFolder, step);
    machine.files.budget = -1;
    return recovery;
  } catch (const fake::Killed&) {
    machine.files.budget = -1;
  }
  return Recover(machine.files, kFolder, step);
}

TEST(InstallJournal, AFirstInstallationKilledAnywhereEndsWholeOrNotAtAll) {
  int budget = 0, installed = 0, none = 0;
  for (;; ++budget) {
    Machine machine;
    machine.files.AddFile("C:\\Pointrel-keep.txt", "the user's");
    if (!KilledRun(machine, budget)) {
      EXPECT_TRUE(machine.Holds("old"));
      break;
    }
    for (int again : {-1, budget % 7}) {
      Machine copy;  // the same kill, recovered with and without a kill of its own
      copy.files.AddFile("C:\\Pointrel-keep.txt", "the user's");
      ASSERT_TRUE(KilledRun(copy, budget));
      const Recovery recovery = RecoverAfterKill(copy, again);
      ASSERT_NE(Recovery::Failed, recovery) << "kill after " << budget;
      if (copy.files.HasFolder(kFolder) && copy.files.HasFile(std::string(kFolder) + "\\Uninstall.DAT")) {
        ASSERT_TRUE(copy.Holds("old")) << "kill after " << budget << ", recovery killed after " << again;
        ++installed;
      } else {
        // Nothing of it: at most the empty folders made before the journal was first written.
        for (const std::string& left : copy.files.Below(kFolder)) {
          ASSERT_EQ('\\', left.back()) << "kill after " << budget << " left " << left;
        }
        ++none;
      }
      EXPECT_EQ("the user's", copy.files.Content("C:\\Pointrel-keep.txt"));
    }
  }
  EXPECT_GT(budget, 2 * kManifestRows) << "the run's changes";
  EXPECT_GT(installed, 0);
  EXPECT_GT(none, 0);
}

TEST(InstallJournal, AnUpgradeKilledAnywhereEndsAsTheOldOrTheNewWhole) {
  int budget = 0, olds = 0, news = 0;
  for (;; ++budget) {
    for (int again : {-1, budget % 5}) {
      Machine machine;
      machine.Install(1);
      ASSERT_TRUE(machine.Holds("old"));
      machine.files.AddFile(std::string(kFolder) + "\\NORMAL\\mine.CUR", "the user's cursor");
      machine.Medium("new");
      const bool swapStarted = [&] {
        if (!KilledRun(machine, budget)) return true;
        // Until the first file is moved aside, the old installation is in place as it was.
        for (const std::string& line : machine.files.Log()) {
          if (line.rfind("move C:\\Pointrel\\Pointrel.EXE ->", 0) == 0) return true;
        }
        return false;
      }();
      if (!swapStarted) {
        EXPECT_EQ(Content("old", 0), machine.files.Content("C:\\Pointrel\\Pointrel.EXE"));
        EXPECT_EQ(Content("old", 51), machine.files.Content("C:\\Pointrel\\NORMAL\\Inflated arrow.CUR"));
      }
      ASSERT_NE(Recovery::Failed, RecoverAfterKill(machine, again)) << "kill after " << budget;
      const bool isNew = machine.files.Content("C:\\Pointrel\\Pointrel.EXE") == Content("new", 0);
      ASSERT_TRUE(machine.Holds(isNew ? "new" : "old")) << "kill after " << budget << ", recovery killed after " << again;
      (isNew ? news : olds)++;
      EXPECT_EQ("the user's cursor", machine.files.Content(std::string(kFolder) + "\\NORMAL\\mine.CUR"));
    }
    Machine finished;
    finished.Install(1);
    finished.Medium("new");
    if (!KilledRun(finished, budget)) {
      EXPECT_TRUE(finished.Holds("new"));
      break;
    }
  }
  EXPECT_GT(olds, 0);
  EXPECT_GT(news, 0);
}

// A file that cannot be moved, at any point of the swap: what was there before is back, nothing
// staged is left, and the page is told which file and why.
TEST(InstallJournal, ASwapThatFailsIsTakenBack) {
  for (int row = 0; row <= kManifestRows; ++row) {
    Machine machine;
    machine.Install();
    machine.Medium("new");
    const std::string name = row < kManifestRows ? FileManifest[row].destinationName : "Uninstall.EXE";
    const std::string place = std::string(kFolder) + "\\" + name;
    machine.files.moveErrors[fake::Key(place)] = kErrorSharingViolation;
    machine.Install();
    EXPECT_EQ(InstallFailure::PlaceFailed, machine.state.failure) << name;
    EXPECT_EQ(place, machine.state.failedPath);
    EXPECT_EQ(kErrorSharingViolation, machine.state.failedError);
    ASSERT_TRUE(machine.Holds("old")) << name;
    EXPECT_EQ(0, machine.services.entriesWritten - 1) << "the entry is not written again";
  }
}

// The undo itself fails: the journal stays, the page says so, and the next run finishes it.
TEST(InstallJournal, AnUndoThatFailsIsFinishedByTheNextRun) {
  Machine machine;
  machine.Install();
  machine.Medium("new");
  // The swap fails at the last row; putting the row before it back fails too.
  machine.files.moveErrors[fake::Key("C:\\Pointrel\\NORMAL\\Inflated arrow.CUR")] = kErrorSharingViolation;
  machine.files.moveErrors[fake::Key("C:\\Pointrel\\NORMAL\\Deflated arrow.CUR.pointrel-old")] = kErrorAccessDenied;
  machine.Install();
  EXPECT_EQ(InstallFailure::Interrupted, machine.state.failure);
  EXPECT_EQ("C:\\Pointrel\\NORMAL\\Deflated arrow.CUR.pointrel-old", std::string(machine.state.failedPath));
  EXPECT_TRUE(machine.files.HasFile("C:\\Pointrel\\Uninstall.JNL")) << "the journal stays for the next run";
  machine.files.moveErrors.clear();
  StepFailure step;
  EXPECT_EQ(Recovery::Undone, Recover(machine.files, kFolder, step));
  EXPECT_TRUE(machine.Holds("old"));
}

// A journal that cannot be trusted is left alone by the recovery, and a new run starts afresh.
TEST(InstallJournal, ADamagedJournalChangesNothing) {
  Machine machine;
  machine.Install();
  machine.files.AddFile("C:\\Pointrel\\Uninstall.JNL", "Pointrel installation record 1\r\nstage=staging\r\n");
  machine.files.AddFile("C:\\Pointrel\\Pointrel.HLP.pointrel-new", "a staged copy");
  const auto before = machine.files.Snapshot();
  StepFailure step;
  EXPECT_EQ(Recovery::Unreadable, Recover(machine.files, kFolder, step));
  EXPECT_EQ(before, machine.files.Snapshot());
  machine.Medium("new");
  machine.Install();
  EXPECT_EQ(InstallFailure::None, machine.state.failure);
  EXPECT_TRUE(machine.Holds("new"));
}

// The record's file is replaced in one step after it was written whole: a write that fails
// leaves the last one and no draft.
TEST(InstallJournal, TheRecordIsWrittenWholeOrNotAtAll) {
  Machine machine;
  machine.Install();
  InstallRecord record;
  ASSERT_EQ(RecordRead::Intact, ReadInstallation(machine.files, kFolder, record).read);
  const std::string before = machine.files.Content("C:\\Pointrel\\Uninstall.DAT");
  record.SetShortcut(ShortcutKind::Desktop, "C:\\Elsewhere\\Pointrel.LNK");
  machine.files.writeErrors[fake::Key("C:\\Pointrel\\Uninstall.TMP")] = kErrorDiskFull;
  EXPECT_EQ(kErrorDiskFull, WriteRecordFile(machine.files, kRecordName, record));
  EXPECT_EQ(before, machine.files.Content("C:\\Pointrel\\Uninstall.DAT"));
  EXPECT_FALSE(machine.files.HasFile("C:\\Pointrel\\Uninstall.TMP"));
  machine.files.writeErrors.clear();
  EXPECT_EQ(0u, WriteRecordFile(machine.files, kRecordName, record));
  InstallRecord again;
  ASSERT_EQ(RecordRead::Intact, ReadInstallation(machine.files, kFolder, again).read);
  EXPECT_STREQ("C:\\Elsewhere\\Pointrel.LNK", again.shortcuts[0]);
  // Read for another folder, it is refused.
  machine.files.AddFolder("C:\\Copy");
  machine.files.AddFile("C:\\Copy\\Uninstall.DAT", machine.files.Content("C:\\Pointrel\\Uninstall.DAT"));
  EXPECT_EQ(RecordRead::OtherFolder, ReadInstallation(machine.files, "C:\\Copy", again).read);
  EXPECT_EQ(RecordRead::Missing, ReadInstallation(machine.files, "C:\\Nowhere", again).read);
  // A journal in the record's place is no record.
  machine.files.AddFile("C:\\Copy\\Uninstall.DAT", machine.files.Content("C:\\Pointrel\\Uninstall.DAT"));
}

}  // namespace
