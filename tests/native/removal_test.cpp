// The uninstaller's removal over the fake platform: what the record proves goes, and nothing
// else: a file changed since it was installed, the user's own files, shortcuts that lead
// elsewhere or lie elsewhere all stay and are named; a file in use stops it before anything
// changes; a failure half-way keeps the uninstaller and the record for another try. Also the
// messages for a record that cannot be verified, and the command line.
#include "installer/removal.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "installer/copy_worker.h"
#include "installer/file_manifest.h"
#include "installer/install_journal.h"
#include "installer/uninstall_command.h"
#include "tests/native/fake_installer_platform.h"

namespace {

using fake::Key;

const char kFolder[] = "C:\\Pointrel";
const char kSettings[] = "C:\\Users\\ann\\AppData\\Roaming\\Pointrel";
const char* const kLinks[kShortcutKinds] = {"C:\\Users\\ann\\Desktop\\Pointrel.LNK",
                                            "C:\\Users\\ann\\Start Menu\\Programs\\Pointrel.LNK",
                                            "C:\\Users\\ann\\Start Menu\\Programs\\Startup\\Pointrel.LNK"};

// An installation made by the worker itself, with its three shortcuts and the user's settings.
struct Installed {
  fake::FileSystem files;
  fake::Shell shell{files};
  fake::Services services{files};
  InstallRecord record;
  RemovalPlan plan{};

  explicit Installed(const char* folder = kFolder) {
    for (const ManifestRow& row : FileManifest) files.AddFile(std::string("A:\\") + row.sourceName, row.sourceName);
    files.AddFile("A:\\WENDSET.EXE", "the installer");
    for (const char* path : {"C:\\WINDOWS", "C:\\Users", "C:\\Users\\ann", "C:\\Users\\ann\\Desktop", "C:\\Users\\ann\\Start Menu",
                             "C:\\Users\\ann\\Start Menu\\Programs", "C:\\Users\\ann\\Start Menu\\Programs\\Startup",
                             "C:\\Users\\ann\\AppData", "C:\\Users\\ann\\AppData\\Roaming", kSettings}) {
      files.AddFolder(path);
    }
    files.AddFile(std::string(kSettings) + "\\Pointrel.INI", "[Cursors]");
    for (int kind = 0; kind < kShortcutKinds; ++kind) shell.folders[kind] = fake::Parent(kLinks[kind]);
    InstallState state;
    std::strcpy(state.installerPath, "A:\\WENDSET.EXE");
    std::strcpy(state.destinationPath, folder);
    state.startAtBoot = 1;
    state.showProgress = 0;
    BeginCopy(state);
    CopyWorker(state, files, shell, services);
    EXPECT_EQ(InstallFailure::None, state.failure);
    EXPECT_EQ(RecordRead::Intact, ReadInstallation(files, folder, record).read);
    std::strcpy(plan.folder, folder);
    plan.record = &record;
    plan.removeEntry = true;
    std::strcpy(plan.settingsFolder, kSettings);
  }
  std::string Remove(RemovalOutcome expected) {
    char message[8 * kTextBufferSize];
    EXPECT_EQ(static_cast<int>(expected),
              static_cast<int>(RemoveInstallation(plan, files, shell, services, nullptr, message, sizeof message)));
    return message;
  }
  bool AnyInstalled() {
    for (const ManifestRow& row : FileManifest) {
      if (files.HasFile(std::string(plan.folder) + "\\" + row.destinationName)) return true;
    }
    return false;
  }
};

TEST(Removal, WhatTheRecordProvesGoesAndNothingElse) {
  Installed disk;
  disk.files.AddFile("C:\\Pointrel\\NORMAL\\My own.CUR", "the user's");
  disk.files.AddFile("C:\\Pointrel\\Pointrel.HLP", "edited by the user");
  disk.files.AddFile("C:\\Users\\ann\\Desktop\\Other.LNK", fake::Shell::LinkContent("C:\\Pointrel\\Pointrel.EXE"));
  const std::string message = disk.Remove(RemovalOutcome::Removed);
  for (const ManifestRow& row : FileManifest) {
    if (std::strcmp(row.destinationName, "Pointrel.HLP") == 0) continue;
    EXPECT_FALSE(disk.files.HasFile(std::string(kFolder) + "\\" + row.destinationName)) << row.destinationName;
  }
  EXPECT_FALSE(disk.files.HasFile("C:\\Pointrel\\Uninstall.EXE"));
  EXPECT_FALSE(disk.files.HasFile("C:\\Pointrel\\Uninstall.DAT"));
  for (const char* link : kLinks) EXPECT_FALSE(disk.files.HasFile(link)) << link;
  EXPECT_EQ(1, disk.services.entriesRemoved);
  EXPECT_EQ("the user's", disk.files.Content("C:\\Pointrel\\NORMAL\\My own.CUR"));
  EXPECT_EQ("edited by the user", disk.files.Content("C:\\Pointrel\\Pointrel.HLP")) << "changed since installed: kept";
  EXPECT_TRUE(disk.files.HasFile("C:\\Users\\ann\\Desktop\\Other.LNK")) << "a shortcut the installer did not make";
  EXPECT_EQ((std::vector<std::string>{"NORMAL\\", "NORMAL\\My own.CUR", "Pointrel.HLP"}), disk.files.Below(kFolder));
  EXPECT_TRUE(disk.files.HasFile(std::string(kSettings) + "\\Pointrel.INI")) << "not asked to remove them";
  EXPECT_EQ(
      "Pointrel has been removed from your computer.\n\n"
      "These files of your own (added, or changed since Pointrel installed them) were kept, with their folders, in "
      "C:\\Pointrel:\nNORMAL\\My own.CUR\nPointrel.HLP\n\n"
      "Your settings were kept in C:\\Users\\ann\\AppData\\Roaming\\Pointrel\\Pointrel.INI.",
      message);
}

// The shortcuts are the installer's links in the user's shell folders, as the shell names them
// now, and only where they lead to the installed Pointrel.EXE: whatever a link says elsewhere,
// or a link there says of another program, it stays.
TEST(Removal, OnlyShortcutsToThisInstallationGo) {
  Installed disk;
  disk.files.AddFile(kLinks[0], fake::Shell::LinkContent("C:\\Windows\\win.ini"));
  disk.files.AddFile(kLinks[2], "not a shortcut at all");
  disk.files.AddFolder("D:\\Old desktop");
  disk.files.AddFile("D:\\Old desktop\\Pointrel.LNK", fake::Shell::LinkContent("C:\\Pointrel\\Pointrel.EXE"));
  disk.record.SetShortcut(ShortcutKind::Desktop, "D:\\Old desktop\\Pointrel.LNK");  // the record says so; it is not obeyed
  disk.Remove(RemovalOutcome::Removed);
  EXPECT_EQ(fake::Shell::LinkContent("C:\\Windows\\win.ini"), disk.files.Content(kLinks[0]));
  EXPECT_FALSE(disk.files.HasFile(kLinks[1]));
  EXPECT_EQ("not a shortcut at all", disk.files.Content(kLinks[2]));
  EXPECT_TRUE(disk.files.HasFile("D:\\Old desktop\\Pointrel.LNK")) << "not in one of the user's shell folders now";
  // A shortcut to another installation of Pointrel is that one's.
  Installed other("D:\\Pointrel");
  other.files.AddFile(kLinks[1], fake::Shell::LinkContent("C:\\Pointrel\\Pointrel.EXE"));
  other.Remove(RemovalOutcome::Removed);
  EXPECT_TRUE(other.files.HasFile(kLinks[1]));
}

// The record's rows and folders, whatever they are: files deep in folders of their own go, and
// each folder once it is empty; a drive's root stays, and a long list of the user's files is
// cut with a count.
TEST(Removal, AnyRowsAndFoldersOfTheRecord) {
  Installed disk("D:\\");
  disk.files.AddFolder("D:\\Schemes");
  disk.files.AddFolder("D:\\Schemes\\Ocean");
  disk.files.AddFolder("D:\\Schemes\\Ocean\\Deep");
  disk.files.AddFile("D:\\Schemes\\Ocean\\Deep\\Wave.CUR", "wave");
  InstallRecord record;
  ASSERT_TRUE(record.Reserve(disk.record.fileCount + 1, 0));
  std::strcpy(record.folder, "D:\\");
  for (int index = 0; index < disk.record.fileCount; ++index) record.AddFile(disk.record.files[index].path, disk.record.files[index].digest);
  ASSERT_TRUE(record.AddFile("Schemes\\Ocean\\Deep\\Wave.CUR", fake::DigestOf("wave")));
  disk.plan.record = &record;
  for (int i = 0; i < 30; ++i) disk.files.AddFile("D:\\NORMAL\\mine" + std::to_string(i) + ".CUR", "mine");
  const std::string message = disk.Remove(RemovalOutcome::Removed);
  EXPECT_FALSE(disk.files.HasFile("D:\\Schemes\\Ocean\\Deep\\Wave.CUR"));
  EXPECT_FALSE(disk.files.HasFolder("D:\\Schemes")) << "every folder it lay in, deepest first";
  EXPECT_TRUE(disk.files.HasFolder("D:\\NORMAL"));
  EXPECT_FALSE(disk.files.HasFolder("D:\\BUSY"));
  EXPECT_FALSE(disk.AnyInstalled());
  EXPECT_NE(std::string::npos, message.find("\n...and more.")) << message;
  EXPECT_EQ(12, std::count(message.begin(), message.end(), '\n') - 5) << message;
}

TEST(Removal, SettingsGoOnlyWhenAskedWithTheImportedSchemes) {
  Installed disk;
  disk.files.AddFile(std::string(kSettings) + "\\Pointrel.RUN", "");
  disk.files.AddFolder(std::string(kSettings) + "\\Schemes");
  disk.files.AddFolder(std::string(kSettings) + "\\Schemes\\Ocean blue");
  disk.files.AddFolder(std::string(kSettings) + "\\Schemes\\Ocean blue\\Busy");
  disk.files.AddFile(std::string(kSettings) + "\\Schemes\\Ocean blue\\Arrow.CUR", "a");
  disk.files.AddFile(std::string(kSettings) + "\\Schemes\\Ocean blue\\Busy\\Wait.ANI", "b");
  disk.files.AddFile(std::string(kSettings) + "\\Schemes\\index.txt", "c");
  disk.plan.removeSettings = true;
  EXPECT_EQ("Pointrel has been removed from your computer.", disk.Remove(RemovalOutcome::Removed));
  EXPECT_FALSE(disk.files.HasFolder(kSettings));
  EXPECT_FALSE(disk.files.HasFolder(kFolder));
  for (const std::string& left : disk.files.Below("C:\\Users\\ann\\AppData\\Roaming")) ADD_FAILURE() << "left " << left;
  // A file of the user's own in the settings' folder keeps it.
  Installed kept;
  kept.files.AddFile(std::string(kSettings) + "\\notes.txt", "mine");
  kept.plan.removeSettings = true;
  kept.Remove(RemovalOutcome::Removed);
  EXPECT_EQ((std::vector<std::string>{"notes.txt"}), kept.files.Below(kSettings));
}

TEST(Removal, AFileInUseStopsItBeforeAnythingChanges) {
  Installed disk;
  disk.files.inUse[Key("C:\\Pointrel\\BUSY\\Abacus.CUR")] = kErrorSharingViolation;
  const auto before = disk.files.Snapshot();
  const int changes = disk.files.Changes();
  const std::string message = disk.Remove(RemovalOutcome::Blocked);
  EXPECT_EQ(changes, disk.files.Changes());
  EXPECT_EQ(before, disk.files.Snapshot());
  EXPECT_EQ(0, disk.services.entriesRemoved);
  EXPECT_NE(std::string::npos, message.find("nothing has been changed")) << message;
  EXPECT_NE(std::string::npos, message.find("C:\\Pointrel\\BUSY\\Abacus.CUR\nIt is in use by another program.")) << message;
  // A file that a program holds so that it cannot even be read cannot be verified: it stops the
  // removal as well.
  Installed held;
  held.files.unreadable[Key("C:\\Pointrel\\Pointrel.HLP")] = kErrorSharingViolation;
  const auto whole = held.files.Snapshot();
  EXPECT_NE(std::string::npos, held.Remove(RemovalOutcome::Blocked).find("C:\\Pointrel\\Pointrel.HLP\nIt is in use"));
  EXPECT_EQ(whole, held.files.Snapshot());
  // A changed file in use is no file of Pointrel's: it does not stop anything.
  Installed changed;
  changed.files.AddFile("C:\\Pointrel\\BUSY\\Abacus.CUR", "the user's now");
  changed.files.inUse[Key("C:\\Pointrel\\BUSY\\Abacus.CUR")] = kErrorSharingViolation;
  changed.Remove(RemovalOutcome::Removed);
}

// A file that will not go after the check passed: the rest goes, and the uninstaller, the record
// and the entry stay so the user can try again; the message names the file and why.
TEST(Removal, AFailureHalfWayKeepsTheUninstallerForAnotherTry) {
  Installed disk;
  disk.files.removeErrors[Key("C:\\Pointrel\\Pointrel.HLP")] = kErrorAccessDenied;
  const std::string message = disk.Remove(RemovalOutcome::Partly);
  EXPECT_TRUE(disk.files.HasFile("C:\\Pointrel\\Pointrel.HLP"));
  EXPECT_TRUE(disk.files.HasFile("C:\\Pointrel\\Uninstall.EXE"));
  EXPECT_TRUE(disk.files.HasFile("C:\\Pointrel\\Uninstall.DAT"));
  EXPECT_FALSE(disk.files.HasFile("C:\\Pointrel\\Pointrel.EXE"));
  EXPECT_EQ(0, disk.services.entriesRemoved);
  EXPECT_EQ(0u, message.find("Pointrel could not be removed completely. These could not be removed:\n\n"
                             "C:\\Pointrel\\Pointrel.HLP\nAccess to it was refused"))
      << message;
  EXPECT_EQ(std::string::npos, message.find("files of your own")) << "Pointrel's own file is not the user's: " << message;

  // Once it is free, removing again (by the record, read afresh) finishes the work.
  disk.files.removeErrors.clear();
  ASSERT_EQ(RecordRead::Intact, ReadInstallation(disk.files, kFolder, disk.record).read);
  EXPECT_EQ("Pointrel has been removed from your computer.\n\nYour settings were kept in "
            "C:\\Users\\ann\\AppData\\Roaming\\Pointrel\\Pointrel.INI.",
            disk.Remove(RemovalOutcome::Removed));
  EXPECT_EQ(1, disk.services.entriesRemoved);
  EXPECT_FALSE(disk.files.HasFolder(kFolder));
}

TEST(Removal, TheEntryGoesOnlyWhenItIsThisInstallations) {
  Installed disk;
  disk.plan.removeEntry = false;
  disk.Remove(RemovalOutcome::Removed);
  EXPECT_EQ(0, disk.services.entriesRemoved);
  Installed refused;
  refused.services.removeEntryError = kErrorAccessDenied;
  const std::string message = refused.Remove(RemovalOutcome::Partly);
  EXPECT_NE(std::string::npos, message.find("Pointrel's entry in the list of installed programs\nAccess to it was refused"))
      << message;
}

TEST(Removal, WhatCouldNotBeVerifiedIsSaid) {
  struct Case {
    RecordReading reading;
    const char* why;
  };
  const Case cases[] = {
      {{RecordRead::Missing, 0, 0}, "is missing."},
      {{RecordRead::Unreadable, 0, kErrorAccessDenied},
       "could not be read: Access to it was refused (it may be read-only, or not yours to change)."},
      {{RecordRead::NotARecord, 0, 0}, "is not a record of Pointrel's installer."},
      {{RecordRead::Damaged, 7, 0}, "is damaged (at line 7)."},
      {{RecordRead::Damaged, 0, 0}, "is damaged."},
      {{RecordRead::OtherFolder, 0, 0}, "was written for another folder."},
  };
  for (const Case& c : cases) {
    char message[2 * kTextBufferSize];
    ComposeUnverifiedMessage("C:\\Pointrel", kRecordName, c.reading, nullptr, message, sizeof message);
    EXPECT_EQ(std::string("Nothing was removed from C:\\Pointrel: its files cannot be verified as Pointrel's, because the "
                          "record of what the installer wrote there, Uninstall.DAT, ") +
                  c.why,
              message);
  }
  char message[2 * kTextBufferSize];
  ComposeUnverifiedMessage("C:\\Pointrel", kRecordName, RecordReading{}, nullptr, message, 20);
  EXPECT_STREQ("", message) << "left out whole where it does not fit";
}

// --- The command line ---------------------------------------------------------------------

TEST(InstallerCommand, ModesAndTheHelpersArguments) {
  EXPECT_EQ(InstallerMode::Install, ParseInstallerCommand("WENDSET.EXE").mode);
  EXPECT_EQ(InstallerMode::Install, ParseInstallerCommand("\"D:\\setup files\\WENDSET.EXE\"  ").mode);
  InstallerCommand command = ParseInstallerCommand("\"C:\\Pointrel\\Uninstall.EXE\" /uninstall");
  EXPECT_EQ(InstallerMode::Uninstall, command.mode);
  EXPECT_FALSE(command.quiet);
  command = ParseInstallerCommand("\"C:\\Pointrel\\Uninstall.EXE\" /UNINSTALL /Quiet");
  EXPECT_EQ(InstallerMode::Uninstall, command.mode);
  EXPECT_TRUE(command.quiet);
  // Anything unknown is the installer, which asks before it changes anything.
  for (const char* line : {"x /uninstall /now", "x /uninstal", "x /uninstall-helper", "x /uninstall-helper 12 1 0",
                           "x /uninstall-helper 0 1 0 \"C:\\P\"", "x /uninstall-helper 12 2 0 \"C:\\P\"",
                           "x /uninstall-helper 99999999999 1 0 \"C:\\P\"", "x /uninstall-helper 12 1 0 \"C:\\P\" more",
                           "x /uninstall-helper 12 1 0 \"\"", "x /desktop", "x /dir=C:\\x"}) {
    command = ParseInstallerCommand(line);
    EXPECT_EQ(InstallerMode::Install, command.mode) << line;
    EXPECT_FALSE(command.quiet) << line;
  }

  const char* folders[] = {"C:\\Pointrel\\", "C:\\Программы\\Pointrel", "D:\\", "C:\\a b\\c"};
  for (const char* folder : folders) {
    char arguments[kTextBufferSize + 64];
    ASSERT_TRUE(ComposeHelperArguments(arguments, sizeof arguments, 1234, true, false, folder)) << folder;
    const InstallerCommand helper = ParseInstallerCommand(("\"C:\\Temp\\u\\Uninstall.EXE\" " + std::string(arguments)).c_str());
    EXPECT_EQ(InstallerMode::UninstallHelper, helper.mode) << arguments;
    EXPECT_EQ(1234u, helper.waitFor);
    EXPECT_TRUE(helper.removeSettings);
    EXPECT_FALSE(helper.quiet);
    std::string expected = folder;
    if (expected.size() > 3 && expected.back() == '\\') expected.pop_back();
    EXPECT_EQ(expected, helper.folder);
  }
  char small[20];
  EXPECT_FALSE(ComposeHelperArguments(small, sizeof small, 1, false, false, "C:\\Pointrel"));
  EXPECT_STREQ("", small);
  char arguments[64];
  EXPECT_FALSE(ComposeHelperArguments(arguments, sizeof arguments, 1, false, false, "C:\\a\"b")) << "a quote in a path";
}

TEST(InstallerCommand, TheQuietInstall) {
  struct Case {
    const char* line;
    bool unknown;
    const char* folder;
    bool desktop, startup;
  };
  const Case cases[] = {
      {"WENDSET.EXE /quiet", false, "", false, false},
      {"WENDSET.EXE /QUIET /Desktop /startup", false, "", true, true},
      {"WENDSET.EXE /quiet /dir=D:\\Tools", false, "D:\\Tools", false, false},
      {"WENDSET.EXE /dir=D:\\Tools /quiet /desktop", false, "D:\\Tools", true, false},
      {"WENDSET.EXE /quiet \"/dir=C:\\Program Files\\Pointrel\"", false, "C:\\Program Files\\Pointrel", false, false},
      {"WENDSET.EXE /quiet /dir=\"C:\\Program Files\\Pointrel\" /startup", false, "C:\\Program Files\\Pointrel", false, true},
      {"WENDSET.EXE /quiet /DIR=C:\\Программы", false, "C:\\Программы", false, false},
      {"WENDSET.EXE /quiet /dir=", true, "", false, false},
      {"WENDSET.EXE /quiet /dir=C:\\a /dir=C:\\b", true, "C:\\a", false, false},
      {"WENDSET.EXE /quiet /desk", true, "", false, false},
      {"WENDSET.EXE /quiet /uninstall", true, "", false, false},
  };
  for (const Case& c : cases) {
    const InstallerCommand command = ParseInstallerCommand(c.line);
    EXPECT_EQ(InstallerMode::Install, command.mode) << c.line;
    EXPECT_TRUE(command.quiet) << c.line;
    EXPECT_EQ(c.unknown, command.unknownArgument) << c.line;
    EXPECT_STREQ(c.folder, command.folder) << c.line;
    EXPECT_EQ(c.desktop, command.desktop) << c.line;
    EXPECT_EQ(c.startup, command.startup) << c.line;
  }
  // An argument longer than any of ours.
  const InstallerCommand command = ParseInstallerCommand(("WENDSET.EXE /quiet /dir=" + std::string(2 * kTextBufferSize, 'x')).c_str());
  EXPECT_TRUE(command.unknownArgument);
}

}  // namespace
