// The copy worker over the fake platform: every step on its own path, what each failure names
// and leaves, the shortcuts as chosen, a move, a Cancel at every stage; then the protocol
// between the page thread and the worker under random Cancels. This file also builds under
// ThreadSanitizer (installer.cmake).
#include "installer/copy_worker.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "installer/file_manifest.h"
#include "installer/install_journal.h"
#include "tests/native/fake_installer_platform.h"

namespace {

using fake::Key;

const char kInstaller[] = "A:\\WENDSET.EXE";
const char kDesktop[] = "C:\\WINDOWS\\DESKTOP\\Pointrel.LNK";
const char kMenu[] = "C:\\WINDOWS\\Start Menu\\Programs\\Pointrel.LNK";
const char kStartup[] = "C:\\WINDOWS\\Start Menu\\Programs\\StartUp\\Pointrel.LNK";

std::string Joined(const std::string& folder, const std::string& name) {
  return folder + (folder.empty() || folder.back() != '\\' ? "\\" : "") + name;
}

// The library's folders as the manifest's rows first name them, each once.
std::vector<std::string> ManifestFolders() {
  std::vector<std::string> folders;
  for (const ManifestRow& row : FileManifest) {
    const std::string name = row.destinationName;
    const size_t separator = name.find('\\');
    if (separator == std::string::npos) continue;
    const std::string folder = name.substr(0, separator);
    if (std::find(folders.begin(), folders.end(), folder) == folders.end()) folders.push_back(folder);
  }
  return folders;
}

// One worker run on the calling thread, the page taking the display whenever the worker waits.
struct SerialRun {
  fake::FileSystem files;
  fake::Shell shell{files};
  fake::Services services{files};
  InstallState state;
  std::vector<std::pair<std::string, std::string>> shown;

  explicit SerialRun(const char* destination = "C:\\Pointrel") {
    for (const ManifestRow& row : FileManifest) files.AddFile(std::string("A:\\") + row.sourceName, row.sourceName);
    files.AddFile(kInstaller, "the installer");
    for (const char* folder : {"C:\\WINDOWS", "C:\\WINDOWS\\DESKTOP", "C:\\WINDOWS\\Start Menu",
                               "C:\\WINDOWS\\Start Menu\\Programs", "C:\\WINDOWS\\Start Menu\\Programs\\StartUp"}) {
      files.AddFolder(folder);
    }
    std::strcpy(state.installerPath, kInstaller);
    std::strcpy(state.destinationPath, destination);
    services.onSleep = [this](unsigned) {
      TakeDisplay(state, [this](const char* s, const char* d) { shown.emplace_back(s, d); });
    };
  }
  void Run() {
    BeginCopy(state);
    CopyWorker(state, files, shell, services);
  }
  bool RowInstalled(int row, const std::string& folder = "C:\\Pointrel") {
    return files.Content(Joined(folder, FileManifest[row].destinationName)) == FileManifest[row].sourceName;
  }
  int RowsInstalled(const std::string& folder = "C:\\Pointrel") {
    int count = 0;
    for (int row = 0; row < kManifestRows; ++row) count += RowInstalled(row, folder) ? 1 : 0;
    return count;
  }
  std::vector<std::string> Links() {
    std::vector<std::string> links;
    for (const auto& made : shell.made) links.push_back(made.link);
    return links;
  }
};

TEST(CopyWorker, DefaultInstall) {
  SerialRun run;
  run.Run();
  EXPECT_EQ(1, run.state.workerDone.Load());
  EXPECT_EQ(InstallFailure::None, run.state.failure);
  EXPECT_EQ(0, run.state.stopRequested.Load());
  EXPECT_TRUE(InstallationComplete(run.state));
  EXPECT_EQ(kManifestRows, run.RowsInstalled());
  EXPECT_EQ("the installer", run.files.Content("C:\\Pointrel\\Uninstall.EXE"));
  EXPECT_EQ("INFLAT~1.CUR", run.files.Content("C:\\Pointrel\\NORMAL\\Inflated arrow.CUR"));
  EXPECT_EQ("THEREI~1.ANI", run.files.Content("C:\\Pointrel\\BUSY\\There is nothing wrong....ANI"));

  // The record names every file with its digest, and the shortcuts made; nothing else is left.
  InstallRecord record;
  ASSERT_EQ(RecordRead::Intact, ReadInstallation(run.files, "C:\\Pointrel", record).read);
  ASSERT_EQ(kManifestRows + 1, record.fileCount);
  for (int index = 0; index < record.fileCount; ++index) {
    const std::string path = Joined("C:\\Pointrel", record.files[index].path);
    EXPECT_TRUE(fake::DigestOf(run.files.Content(path)) == record.files[index].digest) << path;
  }
  EXPECT_STREQ("Uninstall.EXE", record.files[kManifestRows].path);
  EXPECT_STREQ(kDesktop, record.shortcuts[0]);
  EXPECT_STREQ(kMenu, record.shortcuts[1]);
  EXPECT_STREQ("", record.shortcuts[2]);
  std::vector<std::string> tree = run.files.Below("C:\\Pointrel");
  EXPECT_EQ(kManifestRows + 1 + ManifestFolders().size() + 1, tree.size()) << "files, folders and the record";

  // Every row shown in order by the name it gets, then the uninstaller; the blank pair is
  // published, not waited for.
  ASSERT_EQ(static_cast<std::size_t>(kManifestRows + 1), run.shown.size());
  for (int row = 0; row < kManifestRows; ++row) {
    EXPECT_EQ(std::string("A:\\") + FileManifest[row].sourceName, run.shown[row].first) << row;
    EXPECT_EQ(Joined("C:\\Pointrel", FileManifest[row].destinationName), run.shown[row].second) << row;
  }
  EXPECT_EQ(kInstaller, run.shown[kManifestRows].first);
  EXPECT_EQ("C:\\Pointrel\\Uninstall.EXE", run.shown[kManifestRows].second);
  EXPECT_STREQ("", run.state.shownSource);
  EXPECT_EQ(0, run.state.displayTaken.Load());

  // The desktop shortcut and the Start menu's, started in the folder.
  ASSERT_EQ((std::vector<std::string>{kDesktop, kMenu}), run.Links());
  for (const auto& made : run.shell.made) {
    EXPECT_EQ("C:\\Pointrel\\Pointrel.EXE", made.target);
    EXPECT_EQ("C:\\Pointrel", made.workingFolder);
    EXPECT_EQ("Pointrel version 2.0", made.description);
  }

  // The order of the work: the folders the names need (each once, parents first), the journal,
  // every file copied beside its place, then into place, the shortcuts, the record, the entry.
  const std::vector<std::string> log = run.files.Log();
  std::vector<std::string> head = {"mkdir C:\\Pointrel"};
  for (const std::string& folder : ManifestFolders()) head.push_back("mkdir C:\\Pointrel\\" + folder);
  head.push_back("write C:\\Pointrel\\Uninstall.TMP");
  head.push_back("replace C:\\Pointrel\\Uninstall.TMP -> C:\\Pointrel\\Uninstall.JNL");
  ASSERT_GT(log.size(), head.size());
  EXPECT_EQ(head, std::vector<std::string>(log.begin(), log.begin() + head.size()));
  for (int index = 0; index <= kManifestRows; ++index) {
    const std::string place = Joined("C:\\Pointrel", index < kManifestRows ? FileManifest[index].destinationName : "Uninstall.EXE");
    EXPECT_EQ("copy " + place + ".pointrel-new", log[head.size() + index]);
  }
  EXPECT_EQ("entry", log.back());
  EXPECT_EQ("replace C:\\Pointrel\\Uninstall.JNL -> C:\\Pointrel\\Uninstall.DAT", log[log.size() - 2]);
  EXPECT_EQ(static_cast<long>(kManifestRows + 1),
            std::count_if(log.begin(), log.end(), [](const std::string& line) { return line.rfind("move ", 0) == 0; }))
      << "a first installation moves nothing aside";
}

TEST(CopyWorker, ShortcutOptions) {
  struct Case {
    int desktop, boot;
    std::vector<std::string> links;
  };
  const Case cases[] = {
      {0, 0, {kMenu}},
      {1, 0, {kDesktop, kMenu}},
      {0, 1, {kMenu, kStartup}},
      {1, 1, {kDesktop, kMenu, kStartup}},
  };
  for (const Case& c : cases) {
    SerialRun run;
    run.state.desktopShortcut = c.desktop;
    run.state.startAtBoot = c.boot;
    run.Run();
    EXPECT_EQ(c.links, run.Links()) << c.desktop << c.boot;
    EXPECT_EQ(InstallFailure::None, run.state.failure);
    EXPECT_TRUE(InstallationComplete(run.state));
  }
}

// Where the shell names the user's folders, the links go there, each folder on its own; the
// Windows-folder rule serves a folder the shell cannot name.
TEST(CopyWorker, ShortcutsGoWhereTheShellKeepsThem) {
  const char* const kAnnsMenu = "C:\\Users\\ann\\Start Menu\\Programs\\Pointrel.LNK";
  struct Case {
    std::string desktop;
    std::string startup;
    std::vector<std::string> links;
  };
  const Case cases[] = {
      {"C:\\Users\\ann\\Desktop", "C:\\Users\\ann\\Start Menu\\Programs\\Startup\\",
       {"C:\\Users\\ann\\Desktop\\Pointrel.LNK", kAnnsMenu, "C:\\Users\\ann\\Start Menu\\Programs\\Startup\\Pointrel.LNK"}},
      {"C:\\Users\\ann\\Desktop", "", {"C:\\Users\\ann\\Desktop\\Pointrel.LNK", kAnnsMenu, kStartup}},
      {"", "D:\\Startup", {kDesktop, kAnnsMenu, "D:\\Startup\\Pointrel.LNK"}},
      // A shell folder so long that the link would pass the platform's limit: that link is not made.
      {"C:\\Users\\ann\\Desktop", "C:\\" + std::string(250, 's'), {"C:\\Users\\ann\\Desktop\\Pointrel.LNK", kAnnsMenu}},
  };
  for (const Case& c : cases) {
    SerialRun run;
    run.state.startAtBoot = 1;
    for (const char* folder : {"C:\\Users", "C:\\Users\\ann", "C:\\Users\\ann\\Desktop", "C:\\Users\\ann\\Start Menu",
                               "C:\\Users\\ann\\Start Menu\\Programs", "C:\\Users\\ann\\Start Menu\\Programs\\Startup",
                               "D:\\Startup"}) {
      run.files.AddFolder(folder);
    }
    run.shell.folders[0] = c.desktop;
    run.shell.folders[1] = "C:\\Users\\ann\\Start Menu\\Programs";
    run.shell.folders[2] = c.startup;
    run.Run();
    EXPECT_EQ(c.links, run.Links()) << c.desktop << " | " << c.startup;
    EXPECT_EQ(InstallFailure::None, run.state.failure);
  }
}

// A shortcut that could not be saved, or whose link does not fit, is named for the page to
// report after the copy; the files are in place, the installation is not complete.
TEST(CopyWorker, ShortcutsThatCannotBeMadeAreNamed) {
  struct Case {
    std::string startup;
    std::string failing;
    std::string named;
  };
  const Case cases[] = {
      {"", "", ""},
      {"", kDesktop, kDesktop},
      {"", kStartup, kStartup},
      {"C:\\" + std::string(250, 's'), kDesktop, std::string(kDesktop) + "\nPointrel.LNK in the start-up folder"},
  };
  for (const Case& c : cases) {
    SerialRun run;
    run.state.startAtBoot = 1;
    std::strcpy(run.state.failedShortcuts, "left from an earlier run");
    run.shell.folders[2] = c.startup;
    run.shell.failingLink = c.failing;
    run.Run();
    EXPECT_EQ(InstallFailure::None, run.state.failure) << c.failing;
    EXPECT_EQ(c.named, run.state.failedShortcuts) << c.failing;
    EXPECT_EQ(c.named.empty(), InstallationComplete(run.state)) << "complete only with every shortcut";
    EXPECT_EQ(kManifestRows, run.RowsInstalled());
  }
}

// Installed again with a box unticked: the shortcut this installer made goes; one of that name
// that leads elsewhere is not ours and stays.
TEST(CopyWorker, AnUntickedBoxRemovesOnlyOurShortcut) {
  SerialRun run;
  run.state.startAtBoot = 1;
  run.Run();
  ASSERT_TRUE(run.files.HasFile(kStartup));
  run.state.startAtBoot = 0;
  run.state.desktopShortcut = 0;
  run.files.AddFile(kDesktop, fake::Shell::LinkContent("C:\\Windows\\notepad.exe"));
  run.Run();
  EXPECT_FALSE(run.files.HasFile(kStartup)) << "unticked: the start-up shortcut this installer made goes";
  EXPECT_EQ(fake::Shell::LinkContent("C:\\Windows\\notepad.exe"), run.files.Content(kDesktop)) << "not ours";
  EXPECT_TRUE(run.files.HasFile(kMenu));
  InstallRecord record;
  ASSERT_EQ(RecordRead::Intact, ReadInstallation(run.files, "C:\\Pointrel", record).read);
  EXPECT_STREQ("", record.shortcuts[0]);
  EXPECT_STREQ("", record.shortcuts[2]);
  EXPECT_TRUE(InstallationComplete(run.state));

  // One that cannot be removed is named, and stays in the record for the uninstaller.
  run.state.startAtBoot = 1;
  run.Run();
  run.state.startAtBoot = 0;
  run.files.removeErrors[Key(kStartup)] = kErrorAccessDenied;
  run.Run();
  EXPECT_EQ(kStartup, std::string(run.state.failedShortcuts));
  ASSERT_EQ(RecordRead::Intact, ReadInstallation(run.files, "C:\\Pointrel", record).read);
  EXPECT_STREQ(kStartup, record.shortcuts[2]);
}

TEST(CopyWorker, DriveRootCreatesNoFolder) {
  SerialRun run("D:\\");
  run.state.startAtBoot = 1;
  run.Run();
  EXPECT_EQ(InstallFailure::None, run.state.failure);
  EXPECT_EQ("mkdir D:\\SIZING", run.files.Log().at(0));
  EXPECT_EQ(kManifestRows, run.RowsInstalled("D:\\"));
  EXPECT_STREQ("D:\\", run.services.entry.installLocation) << "a root keeps its backslash";
  ASSERT_EQ(3u, run.shell.made.size());
  for (const auto& made : run.shell.made) {
    EXPECT_EQ("D:\\Pointrel.EXE", made.target);
    EXPECT_EQ("D:\\", made.workingFolder);
  }
}

TEST(CopyWorker, WindowsFolderForms) {
  const std::pair<const char*, const char*> cases[] = {
      {"C:\\WINDOWS\\", kDesktop},
      {"", "\\DESKTOP\\Pointrel.LNK"},
      {"E:\\", "E:\\DESKTOP\\Pointrel.LNK"},
  };
  for (const auto& c : cases) {
    SerialRun run;
    run.shell.windowsFolder = c.first;
    run.Run();
    ASSERT_EQ(2u, run.shell.made.size()) << c.first;
    EXPECT_EQ(c.second, run.shell.made[0].link);
  }
  // A Windows folder so long that the link would pass the platform's limit: no shortcut, the
  // files are in place and the missing shortcuts are named.
  SerialRun run;
  run.shell.windowsFolder = "C:\\" + std::string(240, 'w');
  run.Run();
  EXPECT_TRUE(run.shell.made.empty());
  EXPECT_EQ(InstallFailure::None, run.state.failure);
  EXPECT_FALSE(InstallationComplete(run.state));
}

// Files there before without a record are replaced, and nothing moved aside is left.
TEST(CopyWorker, AnEarlierTreeIsReplaced) {
  SerialRun run;
  run.files.AddFolder("C:\\Pointrel");
  run.files.AddFolder("C:\\Pointrel\\BUSY");
  run.files.AddFile("C:\\Pointrel\\Pointrel.EXE", "old program");
  run.files.AddFile("C:\\Pointrel\\BUSY\\Abacus.CUR", "old cursor");
  run.files.AddFile("C:\\Pointrel\\BUSY\\Abacus.CUR.pointrel-old", "left by a run long ago");
  run.files.AddFile("C:\\Pointrel\\BUSY\\Mine.CUR", "the user's");
  run.Run();
  EXPECT_EQ(InstallFailure::None, run.state.failure);
  EXPECT_EQ(kManifestRows, run.RowsInstalled());
  EXPECT_EQ("the user's", run.files.Content("C:\\Pointrel\\BUSY\\Mine.CUR"));
  for (const std::string& name : run.files.Below("C:\\Pointrel")) {
    EXPECT_EQ(std::string::npos, name.find(".pointrel-")) << name;
  }
}

TEST(CopyWorker, FileExistsErrorCountsAsThere) {
  SerialRun run;
  run.files.AddFolder("C:\\Pointrel");
  run.files.folderErrors[Key("C:\\Pointrel")] = kErrorFileExists;
  run.files.AddFolder("C:\\Pointrel\\SIZING");
  run.files.folderErrors[Key("C:\\Pointrel\\SIZING")] = kErrorFileExists;
  run.Run();
  EXPECT_EQ(InstallFailure::None, run.state.failure);
  EXPECT_EQ(kManifestRows, run.RowsInstalled());
}

bool NoPlatformText(std::uint32_t, char*, std::size_t) { return false; }
bool DriveText(std::uint32_t error, char* out, std::size_t size) {
  return error == 1117 && CopyText(out, size, "The request could not be performed because of an I/O device error.");
}

std::string FailureText(const InstallState& state, PlatformErrorText text = &NoPlatformText) {
  char out[3 * kTextBufferSize];
  ComposeFailureText(state, text, out, sizeof out);
  return out;
}

// Every failure names its folder or file and the reason; a first installation that fails
// leaves nothing of its own (what was there before stays), and no shortcut or entry.
TEST(CopyWorker, FailuresNameWhereAndWhyAndLeaveNothingOfTheRun) {
  struct Case {
    const char* what;
    std::function<void(SerialRun&)> arrange;
    std::string text;
  };
  const std::string row5 = "C:\\Pointrel\\" + std::string(FileManifest[5].destinationName);
  const Case cases[] = {
      {"missing parent", [](SerialRun& run) { std::strcpy(run.state.destinationPath, "C:\\missing\\Pointrel"); },
       "Unable to create destination directory\n\nC:\\missing\\Pointrel\nThe folder for it does not exist."},
      {"a file in the folder's place", [](SerialRun& run) { run.files.AddFile("C:\\Pointrel", "a file"); },
       "Unable to create destination directory\n\nC:\\Pointrel\nA file or folder of that name is in the way."},
      {"a refused sub-folder",
       [](SerialRun& run) { run.files.folderErrors[Key("C:\\Pointrel\\BUSY")] = kErrorAccessDenied; },
       "Unable to create subdirectories\n\nC:\\Pointrel\\BUSY\nAccess to it was refused (it may be read-only, or not "
       "yours to change)."},
      {"a file named NORMAL",
       [](SerialRun& run) {
         run.files.AddFolder("C:\\Pointrel");
         run.files.AddFile("C:\\Pointrel\\NORMAL", "not a folder");
       },
       "Unable to create subdirectories\n\nC:\\Pointrel\\NORMAL\nA file or folder of that name is in the way."},
      {"a missing source", [](SerialRun& run) { run.files.Erase(std::string("A:\\") + FileManifest[9].sourceName); },
       "Error copying application files\n\nA:\\" + std::string(FileManifest[9].sourceName) +
           "\nIt is missing from the installation medium."},
      {"a full drive", [&](SerialRun& run) { run.files.copyErrors[Key(row5 + ".pointrel-new")] = kErrorDiskFull; },
       "Error copying application files\n\n" + row5 + "\nThere is not enough room on the drive."},
      {"a device error", [&](SerialRun& run) { run.files.copyErrors[Key(row5 + ".pointrel-new")] = 1117; },
       "Error copying application files\n\n" + row5 + "\nThe request could not be performed because of an I/O device error."},
      {"a journal that cannot be written",
       [](SerialRun& run) { run.files.writeErrors[Key("C:\\Pointrel\\Uninstall.TMP")] = kErrorDiskFull; },
       "Error copying application files\n\nC:\\Pointrel\\Uninstall.JNL\nThere is not enough room on the drive."},
      {"a place that is a folder", [](SerialRun& run) { run.files.AddFolder("C:\\Pointrel"); run.files.AddFolder("C:\\Pointrel\\Pointrel.HLP"); },
       "The new files could not be put in place. The files that were there before are back in their places.\n\n"
       "C:\\Pointrel\\Pointrel.HLP\nA file or folder of that name is in the way."},
  };
  for (const Case& c : cases) {
    SerialRun run;
    run.files.AddFile("C:\\Pointrel-notes.txt", "the user's");
    c.arrange(run);
    const auto before = run.files.Snapshot();
    run.Run();
    EXPECT_NE(InstallFailure::None, run.state.failure) << c.what;
    EXPECT_EQ(c.text, FailureText(run.state, &DriveText)) << c.what;
    EXPECT_EQ(before, run.files.Snapshot()) << c.what << ": the disk as it was";
    EXPECT_TRUE(run.shell.made.empty()) << c.what;
    EXPECT_EQ(0, run.services.entriesWritten) << c.what;
    EXPECT_EQ(1, run.state.workerDone.Load());
  }
  // Words the installer has not, where the platform has none either; a buffer too small for the
  // details keeps the first line.
  SerialRun run;
  run.files.copyErrors[Key("C:\\Pointrel\\Pointrel.EXE.pointrel-new")] = 1117;
  run.Run();
  EXPECT_EQ("Error copying application files\n\nC:\\Pointrel\\Pointrel.EXE\nError 1117.", FailureText(run.state));
  char text[40];
  ComposeFailureText(run.state, &NoPlatformText, text, sizeof text);
  EXPECT_STREQ("Error copying application files", text);
}

// Paths too long for the platform end in the failure of their step, never cut short: the page
// refuses such a folder, the worker checks again.
TEST(CopyWorker, OverlongPathsFailTheirStep) {
  for (std::size_t length : {258u, 259u, 260u, 261u}) {
    SerialRun run(("C:\\" + std::string(length - 3, 'p')).c_str());
    run.files.AddFolder(run.state.destinationPath);
    run.Run();
    EXPECT_EQ(length >= kMaxPath ? InstallFailure::DestinationFolder : InstallFailure::Subfolders, run.state.failure) << length;
    EXPECT_EQ(0, run.files.copies) << length;
  }
  const std::size_t fits = kMaxPath - 1 - InstallationRoom() - 3;
  SerialRun run(("C:\\" + std::string(fits, 'p')).c_str());
  run.Run();
  EXPECT_EQ(InstallFailure::None, run.state.failure) << "the room the page leaves is enough";
  SerialRun over(("C:\\" + std::string(fits + 1, 'p')).c_str());
  over.Run();
  EXPECT_NE(InstallFailure::None, over.state.failure) << "and no more than enough";
  // The installer's own path.
  SerialRun installer;
  std::strcpy(installer.state.installerPath, ("A:\\" + std::string(250, 'm') + "\\WENDSET.EXE").c_str());
  installer.Run();
  EXPECT_EQ(InstallFailure::CopyFailed, installer.state.failure);
  EXPECT_EQ(0, installer.files.copies);
}

TEST(CopyWorker, SourcesComeFromTheInstallersFolder) {
  SerialRun run;
  std::strcpy(run.state.installerPath, "C:\\disk\\WENDSET.EXE");
  run.files.AddFolder("C:\\disk");
  for (const ManifestRow& row : FileManifest) run.files.AddFile(std::string("C:\\disk\\") + row.sourceName, "disk");
  run.files.AddFile("C:\\disk\\WENDSET.EXE", "disk's installer");
  run.Run();
  EXPECT_EQ(InstallFailure::None, run.state.failure);
  EXPECT_EQ("disk's installer", run.files.Content("C:\\Pointrel\\Uninstall.EXE"));
  EXPECT_EQ("disk", run.files.Content("C:\\Pointrel\\Pointrel.HLP"));
}

// A Cancel at any moment before the swap undoes the run, up to the last file copied: a first
// installation leaves nothing (the user's file there before stays); an upgrade leaves the old
// one as it was.
TEST(CopyWorker, ACancelUndoesTheRun) {
  for (bool upgrade : {false, true}) {
    for (int copied : {0, 1, 20, kManifestRows, kManifestRows + 1}) {
      SerialRun run;
      if (upgrade) {
        run.Run();
        for (const ManifestRow& row : FileManifest) run.files.AddFile(std::string("A:\\") + row.sourceName, "new");
      } else {
        run.files.AddFolder("C:\\Pointrel");
        run.files.AddFile("C:\\Pointrel\\notes.txt", "the user's");
      }
      const auto before = run.files.Snapshot();
      run.files.copies = 0;
      run.files.afterCopy = [&](const std::string&) {
        if (run.files.copies == copied) RequestStop(run.state);
      };
      if (copied == 0) {
        BeginCopy(run.state);
        RequestStop(run.state);
        CopyWorker(run.state, run.files, run.shell, run.services);
      } else {
        run.Run();
      }
      EXPECT_EQ(InstallFailure::Cancelled, run.state.failure) << upgrade << copied;
      EXPECT_EQ(before, run.files.Snapshot()) << "upgrade " << upgrade << ", stopped after " << copied;
      EXPECT_EQ(1, run.state.workerDone.Load());
    }
  }
}

// After the swap has begun, a Cancel is too late: the installation is completed and reported.
TEST(CopyWorker, ACancelDuringTheSwapIsTooLate) {
  SerialRun run;
  run.files.afterCopy = [&](const std::string&) {};
  run.services.onSleep = [&](unsigned) {
    TakeDisplay(run.state, [&](const char* s, const char*) {
      if (s[0] == '\0') RequestStop(run.state);  // the blank pair: the swap is under way
    });
  };
  run.Run();
  EXPECT_EQ(InstallFailure::None, run.state.failure);
  EXPECT_EQ(kManifestRows, run.RowsInstalled());
  EXPECT_EQ(1, run.services.entriesWritten);
}

// A move: the new installation is complete first, then the old one is removed by its own
// record: its files, and its shortcuts not made again; a file of the user's stays.
TEST(CopyWorker, AMoveRemovesTheOldCopyByItsRecordOnceTheNewIsComplete) {
  SerialRun run;
  run.state.startAtBoot = 1;
  run.Run();
  run.files.AddFile("C:\\Pointrel\\NORMAL\\mine.CUR", "the user's");
  run.files.AddFile("C:\\Pointrel\\Pointrel.HLP", "changed by the user");
  run.files.AddFolder("D:\\Tools");
  std::strcpy(run.state.destinationPath, "D:\\Tools\\Pointrel");
  std::strcpy(run.state.previousFolder, "C:\\Pointrel");
  run.state.startAtBoot = 0;
  run.Run();
  EXPECT_EQ(InstallFailure::None, run.state.failure);
  EXPECT_EQ(kManifestRows, run.RowsInstalled("D:\\Tools\\Pointrel"));
  EXPECT_STREQ("D:\\Tools\\Pointrel", run.services.entry.installLocation);
  // The old copy: only what its record proves went.
  EXPECT_EQ(0, run.RowsInstalled("C:\\Pointrel"));
  EXPECT_EQ("the user's", run.files.Content("C:\\Pointrel\\NORMAL\\mine.CUR"));
  EXPECT_EQ("changed by the user", run.files.Content("C:\\Pointrel\\Pointrel.HLP"));
  EXPECT_FALSE(run.files.HasFile("C:\\Pointrel\\Uninstall.EXE"));
  EXPECT_FALSE(run.files.HasFile("C:\\Pointrel\\Uninstall.DAT"));
  EXPECT_FALSE(run.files.HasFile(kStartup)) << "its start-up shortcut led to the old copy";
  EXPECT_EQ(fake::Shell::LinkContent("D:\\Tools\\Pointrel\\Pointrel.EXE", "D:\\Tools\\Pointrel", "Pointrel version 2.0"),
            run.files.Content(kDesktop))
      << "made again for the new one";
  EXPECT_EQ(0, run.services.entriesRemoved) << "the entry is the new one's";
  // What stayed is said, naming the changed file as the user's.
  EXPECT_EQ(0u, std::string(run.state.previousLeft).find("The copy in C:\\Pointrel has been removed.\n\nThese files of your own"))
      << run.state.previousLeft;
  EXPECT_NE(std::string::npos, std::string(run.state.previousLeft).find("Pointrel.HLP")) << run.state.previousLeft;
  EXPECT_EQ(0, run.state.previousIncomplete) << "all of it that was Pointrel's went";
  EXPECT_EQ(kQuietDone, QuietExitCode(run.state));

  // An old copy whose record cannot be verified is not touched.
  SerialRun unverified;
  unverified.Run();
  unverified.files.Erase("C:\\Pointrel\\Uninstall.DAT");
  const auto before = unverified.files.Below("C:\\Pointrel");
  std::strcpy(unverified.state.destinationPath, "D:\\Pointrel");
  std::strcpy(unverified.state.previousFolder, "C:\\Pointrel");
  unverified.Run();
  EXPECT_EQ(InstallFailure::None, unverified.state.failure);
  EXPECT_EQ(before, unverified.files.Below("C:\\Pointrel"));
  EXPECT_EQ(0u, std::string(unverified.state.previousLeft).find("Nothing was removed from C:\\Pointrel"))
      << unverified.state.previousLeft;
  EXPECT_EQ(1, unverified.state.previousIncomplete);
  EXPECT_EQ(kQuietIncomplete, QuietExitCode(unverified.state));
}

// The worker's display waits poll every 100 ms; without a page (the quiet install) it never
// waits at all.
TEST(CopyWorker, PollingRates) {
  std::vector<unsigned> sleeps;
  SerialRun run;
  run.services.onSleep = [&](unsigned ms) {
    sleeps.push_back(ms);
    if (sleeps.size() % 2 == 0) TakeDisplay(run.state, [](const char*, const char*) {});
  };
  run.Run();
  EXPECT_EQ(InstallFailure::None, run.state.failure);
  EXPECT_EQ(static_cast<std::size_t>(2 * (kManifestRows + 1)), sleeps.size()) << "the rows and the uninstaller";
  for (unsigned ms : sleeps) ASSERT_EQ(kWorkerPollMs, ms);

  SerialRun quiet;
  quiet.state.showProgress = 0;
  quiet.services.onSleep = [](unsigned) { FAIL() << "a quiet install waits for no page"; };
  quiet.Run();
  EXPECT_EQ(InstallFailure::None, quiet.state.failure);
  EXPECT_EQ(kManifestRows, quiet.RowsInstalled());
}

// The entry in the list of installed programs: where, how to remove, how large, when.
TEST(CopyWorker, TheEntryDescribesTheInstallation) {
  SerialRun run;
  run.Run();
  ASSERT_EQ(1, run.services.entriesWritten);
  const UninstallEntry& entry = run.services.entry;
  EXPECT_STREQ("C:\\Pointrel", entry.installLocation);
  EXPECT_STREQ("C:\\Pointrel\\Pointrel.EXE", entry.displayIcon);
  EXPECT_STREQ("\"C:\\Pointrel\\Uninstall.EXE\" /uninstall", entry.uninstallString);
  EXPECT_STREQ("\"C:\\Pointrel\\Uninstall.EXE\" /uninstall /quiet", entry.quietUninstallString);
  EXPECT_STREQ("20261208", entry.installDate);
  std::uint64_t bytes = std::strlen("the installer");
  for (const ManifestRow& row : FileManifest) bytes += std::strlen(row.sourceName);
  EXPECT_EQ((bytes + 1023) / 1024, entry.estimatedSizeKb);
  EXPECT_EQ(0u, run.state.entryError);
  // A key that cannot be written leaves the files in place, with the error for the page.
  SerialRun refused;
  refused.services.entryError = kErrorAccessDenied;
  refused.Run();
  EXPECT_EQ(InstallFailure::None, refused.state.failure);
  EXPECT_EQ(kErrorAccessDenied, refused.state.entryError);
  EXPECT_FALSE(InstallationComplete(refused.state));
  EXPECT_EQ(kQuietIncomplete, QuietExitCode(refused.state));
}

TEST(CopyWorker, QuietExitCodes) {
  const std::pair<InstallFailure, int> cases[] = {
      {InstallFailure::None, kQuietDone},
      {InstallFailure::DestinationFolder, kQuietFolderFailed},
      {InstallFailure::Subfolders, kQuietFolderFailed},
      {InstallFailure::CopyFailed, kQuietCopyFailed},
      {InstallFailure::PlaceFailed, kQuietCopyFailed},
      {InstallFailure::Interrupted, kQuietInterrupted},
  };
  for (const auto& c : cases) {
    InstallState state;
    state.failure = c.first;
    EXPECT_EQ(c.second, QuietExitCode(state)) << static_cast<int>(c.first);
  }
  InstallState state;
  std::strcpy(state.failedShortcuts, "x");
  EXPECT_EQ(kQuietIncomplete, QuietExitCode(state));
}

TEST(UninstallEntry, SizesDatesAndLongFolders) {
  EXPECT_EQ(0u, KilobytesFor(0));
  EXPECT_EQ(1u, KilobytesFor(1));
  EXPECT_EQ(1u, KilobytesFor(1024));
  EXPECT_EQ(2u, KilobytesFor(1025));
  EXPECT_EQ(0xFFFFFFFFu, KilobytesFor(~0ull)) << "no wrap";
  char date[9];
  ASSERT_TRUE(FormatInstallDate(2026, 12, 8, date));
  EXPECT_STREQ("20261208", date);
  ASSERT_TRUE(FormatInstallDate(1999, 1, 31, date));
  EXPECT_STREQ("19990131", date);
  EXPECT_FALSE(FormatInstallDate(2026, 13, 1, date));
  EXPECT_FALSE(FormatInstallDate(10000, 1, 1, date));
  EXPECT_FALSE(FormatInstallDate(2026, 1, 0, date));
  UninstallEntry entry{};
  EXPECT_FALSE(ComposeUninstallEntry(entry, ("C:\\" + std::string(kTextBufferSize - 20, 'x')).c_str(), "20261208", 1))
      << "a command that would not fit whole";
  ASSERT_TRUE(ComposeUninstallEntry(entry, "D:\\Program Files (x86)\\Pointrel", "20261208", 2048));
  EXPECT_STREQ("D:\\Program Files (x86)\\Pointrel", entry.installLocation);
  EXPECT_STREQ("\"D:\\Program Files (x86)\\Pointrel\\Uninstall.EXE\" /uninstall", entry.uninstallString);
  EXPECT_EQ(2u, entry.estimatedSizeKb);
}

TEST(FailureReason, OwnWordsThenThePlatformsThenTheCode) {
  char text[256];
  DescribeError(kErrorDiskFull, "x", &NoPlatformText, text, sizeof text);
  EXPECT_STREQ("There is not enough room on the drive.", text);
  DescribeError(kErrorHandleDiskFull, "x", &NoPlatformText, text, sizeof text);
  EXPECT_STREQ("There is not enough room on the drive.", text);
  DescribeError(kErrorLockViolation, "x", &NoPlatformText, text, sizeof text);
  EXPECT_STREQ("It is in use by another program.", text);
  DescribeError(kErrorFileNotFound, "the disk", &NoPlatformText, text, sizeof text);
  EXPECT_STREQ("It is missing from the disk.", text);
  DescribeError(kErrorAlreadyExists, "x", &NoPlatformText, text, sizeof text);
  EXPECT_STREQ("A file or folder of that name is in the way.", text);
  DescribeError(1117, "x", &DriveText, text, sizeof text);
  EXPECT_STREQ("The request could not be performed because of an I/O device error.", text);
  DescribeError(4294967295u, "x", nullptr, text, sizeof text);
  EXPECT_STREQ("Error 4294967295.", text);
  // Too small for the words: the code, or nothing, never a cut sentence or an overrun.
  char small[12];
  DescribeError(kErrorDiskFull, "x", &NoPlatformText, small, sizeof small);
  EXPECT_STREQ("Error 112.", small);
  char tiny[4] = "abc";
  DescribeError(kErrorDiskFull, "x", &NoPlatformText, tiny, sizeof tiny);
  EXPECT_STREQ("", tiny);
}

// --- The two threads ------------------------------------------------------------------------

struct PageOutcome {
  bool cancelled = false;
  InstallFailure failure = InstallFailure::None;
  std::vector<std::pair<std::string, std::string>> shown;
};

// The progress page on this thread, the worker on its own: DisplayTimer every tick, the
// CompletionTimer's test every fifth, and a Cancel once `cancelAfterShown` pairs have been shown
// and `extraTicks` more ticks have passed (never, for a negative count). The page ends only when
// the worker has: a Cancel asks it to stop, and the page goes on ticking.
PageOutcome RunPage(SerialRun& run, int cancelAfterShown, int extraTicks, std::mt19937& random) {
  PageOutcome outcome;
  run.services.onSleep = [](unsigned) { std::this_thread::yield(); };
  BeginCopy(run.state);
  std::thread worker([&] { CopyWorker(run.state, run.files, run.shell, run.services); });
  int ticksSinceTarget = 0;
  for (int tick = 0;; ++tick) {
    if (!outcome.cancelled && cancelAfterShown >= 0 && static_cast<int>(outcome.shown.size()) >= cancelAfterShown &&
        ticksSinceTarget++ >= extraTicks) {
      run.files.Mark("cancel");
      RequestStop(run.state);
      outcome.cancelled = true;
    }
    TakeDisplay(run.state, [&](const char* s, const char* d) { outcome.shown.emplace_back(s, d); });
    if (tick % 5 == 4 && WorkerFinished(run.state)) {
      outcome.failure = run.state.failure;
      break;
    }
    if (random() % 4 == 0) std::this_thread::yield();
  }
  worker.join();
  return outcome;
}

void CheckShownInOrder(const PageOutcome& outcome) {
  // Each pair shown is the next one published: no pair was overwritten before it was shown.
  for (std::size_t i = 0; i < outcome.shown.size(); ++i) {
    if (i < static_cast<std::size_t>(kManifestRows)) {
      ASSERT_EQ(std::string("A:\\") + FileManifest[i].sourceName, outcome.shown[i].first) << i;
      ASSERT_EQ(Joined("C:\\Pointrel", FileManifest[i].destinationName), outcome.shown[i].second) << i;
    } else if (i == static_cast<std::size_t>(kManifestRows)) {
      ASSERT_EQ(kInstaller, outcome.shown[i].first) << "the uninstaller follows the rows";
    } else {
      ASSERT_EQ(static_cast<std::size_t>(kManifestRows + 1), i) << "only the blank pair follows the uninstaller";
      ASSERT_EQ("", outcome.shown[i].first);
    }
  }
}

TEST(CopyProtocol, CompletesWithoutCancel) {
  std::mt19937 random(7);
  for (int round = 0; round < 30; ++round) {
    SerialRun run;
    const PageOutcome outcome = RunPage(run, -1, 0, random);
    ASSERT_EQ(InstallFailure::None, outcome.failure);
    ASSERT_EQ(kManifestRows, run.RowsInstalled());
    ASSERT_EQ(2u, run.shell.made.size());
    ASSERT_GE(outcome.shown.size(), static_cast<std::size_t>(kManifestRows));
    CheckShownInOrder(outcome);
  }
}

// Many runs, each with a Cancel at a random moment: before the first file, during the copy, at
// the swap, among the shortcuts, or after the worker has finished. Each ends with the page told
// the truth: cancelled with nothing of the run left, or complete.
TEST(CopyProtocol, RandomCancel) {
  std::mt19937 random(1234);
  const int kRuns = 600;
  int undone = 0, completed = 0;
  for (int round = 0; round < kRuns; ++round) {
    SerialRun run;
    run.state.startAtBoot = round % 2;
    const auto before = run.files.Snapshot();
    const int cancelAfterShown = static_cast<int>(random() % (kManifestRows + 3));
    const PageOutcome outcome = RunPage(run, cancelAfterShown, static_cast<int>(random() % 8), random);
    ASSERT_EQ(1, run.state.workerDone.Load()) << round;
    CheckShownInOrder(outcome);
    if (outcome.failure == InstallFailure::Cancelled) {
      ASSERT_TRUE(outcome.cancelled);
      ASSERT_EQ(before, run.files.Snapshot()) << round << ": something of the run is left";
      ++undone;
    } else {
      ASSERT_EQ(InstallFailure::None, outcome.failure) << round;
      ASSERT_EQ(kManifestRows, run.RowsInstalled()) << round;
      ASSERT_TRUE(InstallationComplete(run.state)) << round;
      ++completed;
    }
  }
  // The random moments fall on both sides of the swap.
  EXPECT_GT(undone, kRuns / 2);
  EXPECT_GT(completed, 5);
}

}  // namespace
