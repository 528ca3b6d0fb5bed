// The copy worker over a fake file system: every step and failure on its own path, then the
// protocol between the page thread and the worker under random Cancels. This file also builds
// under ThreadSanitizer (installer.cmake).
#include "installer/copy_worker.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cstring>
#include <functional>
#include <map>
#include <mutex>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "installer/file_manifest.h"

namespace {

const char kInstaller[] = "A:\\WENDSET.EXE";

std::string Key(const std::string& path) {
  std::string key = path;
  std::transform(key.begin(), key.end(), key.begin(), [](unsigned char c) { return std::toupper(c); });
  return key;
}

std::string Parent(const std::string& path) {
  std::size_t cut = path.rfind('\\');
  return cut == std::string::npos ? std::string() : path.substr(0, cut);
}

struct Shortcut {
  std::string target, link, workingFolder, description;
};

// A case-insensitive file system with drives A:, C: and D:, and a log of everything the worker
// did, in order.
class FakeServices final : public InstallServices {
 public:
  explicit FakeServices(InstallState& state) : state(state) {
    for (const ManifestRow& row : FileManifest) AddFile(std::string("A:\\") + row.sourceName, row.sourceName);
    AddFile(kInstaller, "the installer");
    AddFolder("C:\\WINDOWS");
    AddFolder("C:\\WINDOWS\\DESKTOP");
  }

  void AddFolder(const std::string& path) { entries[Key(path)] = Entry{true, ""}; }
  void AddFile(const std::string& path, const std::string& content) { entries[Key(path)] = Entry{false, content}; }
  void Remove(const std::string& path) { entries.erase(Key(path)); }
  bool IsFolder(const std::string& path) {
    std::lock_guard<std::mutex> lock(mutex);
    auto it = entries.find(Key(path));
    return it != entries.end() && it->second.folder;
  }
  bool FileHolds(const std::string& path, const std::string& content) {
    std::lock_guard<std::mutex> lock(mutex);
    auto it = entries.find(Key(path));
    return it != entries.end() && !it->second.folder && it->second.content == content;
  }

  std::uint32_t CreateFolder(const char* path) override {
    std::lock_guard<std::mutex> lock(mutex);
    Log("mkdir " + std::string(path));
    auto injected = folderErrors.find(Key(path));
    if (injected != folderErrors.end()) return injected->second;
    if (entries.count(Key(path))) return kErrorAlreadyExists;
    if (!ParentExists(path)) return kErrorPathNotFound;
    entries[Key(path)] = Entry{true, ""};
    return 0;
  }

  std::uint32_t CopyFileOver(const char* source, const char* destination) override {
    std::function<void()> hook;
    {
      std::lock_guard<std::mutex> lock(mutex);
      Log("copy " + std::string(destination));
      ++copies;
      // The pair being copied is the one on display: the worker publishes before it copies.
      if (std::strcmp(state.shownSource, source) != 0 || std::strcmp(state.shownDestination, destination) != 0) {
        ++displayMismatches;
      }
      auto from = entries.find(Key(source));
      auto to = entries.find(Key(destination));
      if (from == entries.end() || from->second.folder) return kErrorFileNotFound;
      if (!ParentFolderExists(destination) || WideLength(destination) >= kMaxPath) return kErrorPathNotFound;
      if (to != entries.end() && to->second.folder) return kErrorAccessDenied;
      auto injected = copyErrors.find(Key(destination));
      if (injected != copyErrors.end()) {
        // A full drive: the file is begun and cut short, as the platform's copy leaves it.
        if (injected->second == kErrorDiskFull) entries[Key(destination)] = Entry{false, ""};
        return injected->second;
      }
      entries[Key(destination)] = Entry{false, from->second.content};
      hook = afterCopy;
    }
    if (hook) hook();
    return 0;
  }

  void RemoveFile(const char* path) override {
    std::lock_guard<std::mutex> lock(mutex);
    Log("remove " + std::string(path));
    entries.erase(Key(path));
  }

  std::uint64_t FileSize(const char* path) override {
    std::lock_guard<std::mutex> lock(mutex);
    auto it = entries.find(Key(path));
    return it == entries.end() || it->second.folder ? 0 : it->second.content.size();
  }

  std::uint32_t WriteUninstallEntry(const UninstallEntry& written) override {
    std::lock_guard<std::mutex> lock(mutex);
    Log("entry");
    entry = written;
    ++entriesWritten;
    return entryError;
  }

  void Today(char (&date)[9]) override { std::strcpy(date, "20261208"); }

  void Sleep(unsigned milliseconds) override {
    ++sleeps;
    if (milliseconds == kWorkerPollMs && pageInSleep) {
      // Single-threaded runs: the page's DisplayTimer runs while the worker sleeps.
      TakeDisplay(state, [this](const char* s, const char* d) { shown.emplace_back(s, d); });
    } else {
      std::this_thread::yield();
    }
  }

  void GetWindowsFolder(char* buffer, std::size_t size) override { CopyText(buffer, size, windowsFolder.c_str()); }

  // Empty: the shell cannot say, as on a platform without per-user folders.
  bool GetShellFolder(ShellFolder folder, char* buffer, std::size_t size) override {
    const std::string& known = folder == ShellFolder::Desktop    ? shellDesktop
                               : folder == ShellFolder::Programs ? shellPrograms
                                                                 : shellStartup;
    return !known.empty() && CopyText(buffer, size, known.c_str());
  }

  std::int32_t CreateShortcut(const char* target, const char* link, const char* workingFolder,
                              const char* description) override {
    std::function<void()> hook;
    {
      std::lock_guard<std::mutex> lock(mutex);
      Log("link " + std::string(link));
      shortcuts.push_back(Shortcut{target, link, workingFolder, description});
      hook = afterShortcut;
    }
    if (hook) hook();
    return std::string(link) == failingLink ? static_cast<std::int32_t>(0x80070005) : 0;  // E_ACCESSDENIED
  }
  std::string failingLink;  // the one link whose saving fails

  // Marks a moment of the page thread in the same log.
  void Mark(const std::string& what) {
    std::lock_guard<std::mutex> lock(mutex);
    Log(what);
  }
  std::vector<std::string> LogCopy() {
    std::lock_guard<std::mutex> lock(mutex);
    return log;
  }

  InstallState& state;
  std::string windowsFolder = "C:\\WINDOWS";
  std::string shellDesktop, shellStartup, shellPrograms;
  std::map<std::string, std::uint32_t> copyErrors;  // by Key() of the destination
  UninstallEntry entry;
  int entriesWritten = 0;
  std::uint32_t entryError = 0;
  std::map<std::string, std::uint32_t> folderErrors;  // by Key()
  std::function<void()> afterCopy;
  std::function<void()> afterShortcut;
  bool pageInSleep = false;
  std::vector<std::pair<std::string, std::string>> shown;  // pageInSleep runs only
  std::vector<Shortcut> shortcuts;
  int copies = 0;
  int displayMismatches = 0;
  std::atomic<int> sleeps{0};  // the worker's and the Cancel's

 private:
  struct Entry {
    bool folder;
    std::string content;
  };
  bool ParentExists(const std::string& path) {
    std::string parent = Parent(path);
    if (parent.size() == 2 && parent[1] == ':') return parent == "A:" || parent == "C:" || parent == "D:";
    auto it = entries.find(Key(parent));
    return it != entries.end() && it->second.folder;
  }
  bool ParentFolderExists(const std::string& path) { return ParentExists(path); }
  void Log(const std::string& line) { log.push_back(line); }

  std::mutex mutex;
  std::map<std::string, Entry> entries;
  std::vector<std::string> log;
};

std::string Joined(const std::string& folder, const std::string& name) {
  return folder + (folder.empty() || folder.back() != '\\' ? "\\" : "") + name;
}

// One worker run on the calling thread, the page taking the display whenever the worker waits.
struct SerialRun {
  InstallState state;
  FakeServices services{state};

  explicit SerialRun(const char* destination = "C:\\Pointrel\\") {
    std::strcpy(state.installerPath, kInstaller);
    std::strcpy(state.destinationPath, destination);
    services.pageInSleep = true;
  }
  void Run() {
    BeginCopy(state);
    CopyWorker(state, services);
  }
  bool RowInstalled(int row, const std::string& destination = "C:\\Pointrel") {
    return services.FileHolds(Joined(destination, FileManifest[row].destinationName), FileManifest[row].sourceName);
  }
  int RowsInstalled(const std::string& destination = "C:\\Pointrel") {
    int count = 0;
    while (count < kManifestRows && RowInstalled(count, destination)) ++count;
    return count;
  }
};

TEST(CopyWorker, DefaultInstall) {
  SerialRun run;
  run.Run();
  EXPECT_EQ(1, run.state.workerDone.Load());
  EXPECT_EQ(InstallFailure::None, run.state.failure);
  EXPECT_EQ(0, run.state.stopRequested.Load());
  EXPECT_TRUE(run.services.IsFolder("C:\\Pointrel"));
  for (const char* name : kLibrarySubfolders) EXPECT_TRUE(run.services.IsFolder(Joined("C:\\Pointrel", name))) << name;
  EXPECT_EQ(kManifestRows, run.RowsInstalled());
  EXPECT_TRUE(run.services.FileHolds("C:\\Pointrel\\NORMAL\\Inflated arrow.CUR", "INFLAT~1.CUR"));
  EXPECT_TRUE(run.services.FileHolds("C:\\Pointrel\\BUSY\\There is nothing wrong....ANI", "THEREI~1.ANI"));
  EXPECT_EQ(0, run.services.displayMismatches);

  // Every row shown in order, then the uninstaller, then the blank pair.
  ASSERT_EQ(static_cast<std::size_t>(kManifestRows + 1), run.services.shown.size());
  EXPECT_EQ(std::string(kInstaller), run.services.shown[kManifestRows].first);
  EXPECT_EQ("C:\\Pointrel\\Uninstall.EXE", run.services.shown[kManifestRows].second);
  EXPECT_TRUE(run.services.FileHolds("C:\\Pointrel\\Uninstall.EXE", "the installer"));
  EXPECT_EQ(0, run.state.displayTaken.Load()) << "the blank pair is published, not waited for";
  for (int row = 0; row < kManifestRows; ++row) {
    EXPECT_EQ(std::string("A:\\") + FileManifest[row].sourceName, run.services.shown[row].first) << row;
    EXPECT_EQ(Joined("C:\\Pointrel", FileManifest[row].destinationName), run.services.shown[row].second) << row;
  }
  EXPECT_STREQ("", run.state.shownSource);
  EXPECT_STREQ("", run.state.shownDestination);

  // The desktop shortcut and the Start menu's, started in the folder without its trailing
  // backslash; the shared destination is left as the page wrote it.
  ASSERT_EQ(2u, run.services.shortcuts.size());
  EXPECT_EQ("C:\\WINDOWS\\Start Menu\\Programs\\Pointrel.LNK", run.services.shortcuts[1].link);
  EXPECT_EQ("C:\\Pointrel\\Pointrel.EXE", run.services.shortcuts[1].target);
  EXPECT_EQ("C:\\Pointrel", run.services.shortcuts[1].workingFolder);
  EXPECT_EQ("C:\\Pointrel\\Pointrel.EXE", run.services.shortcuts[0].target);
  EXPECT_EQ("C:\\WINDOWS\\DESKTOP\\Pointrel.LNK", run.services.shortcuts[0].link);
  EXPECT_EQ("C:\\Pointrel", run.services.shortcuts[0].workingFolder);
  EXPECT_EQ("Pointrel version 2.0", run.services.shortcuts[0].description);
  EXPECT_STREQ("C:\\Pointrel\\", run.state.destinationPath);

  // The order of the work: the folder, the sub-folders, the manifest's rows, the uninstaller, the
  // shortcuts, the entry.
  std::vector<std::string> log = run.services.LogCopy();
  std::vector<std::string> expected = {"mkdir C:\\Pointrel"};
  for (const char* name : kLibrarySubfolders) expected.push_back("mkdir C:\\Pointrel\\" + std::string(name));
  for (const ManifestRow& row : FileManifest) expected.push_back("copy C:\\Pointrel\\" + std::string(row.destinationName));
  expected.push_back("copy C:\\Pointrel\\Uninstall.EXE");
  expected.push_back("link C:\\WINDOWS\\DESKTOP\\Pointrel.LNK");
  expected.push_back("link C:\\WINDOWS\\Start Menu\\Programs\\Pointrel.LNK");
  expected.push_back("entry");
  EXPECT_EQ(expected, log);
}

// The Start menu's shortcut, where the shell cannot name the menu's folder.
const char kMenu[] = "C:\\WINDOWS\\Start Menu\\Programs\\Pointrel.LNK";

TEST(CopyWorker, ShortcutOptions) {
  struct Case {
    int desktop, boot;
    std::vector<std::string> links;
  };
  const Case cases[] = {
      {0, 0, {kMenu}},
      {1, 0, {"C:\\WINDOWS\\DESKTOP\\Pointrel.LNK", kMenu}},
      {0, 1, {kMenu, "C:\\WINDOWS\\Start Menu\\Programs\\StartUp\\Pointrel.LNK"}},
      {1, 1, {"C:\\WINDOWS\\DESKTOP\\Pointrel.LNK", kMenu, "C:\\WINDOWS\\Start Menu\\Programs\\StartUp\\Pointrel.LNK"}},
  };
  for (const Case& c : cases) {
    SerialRun run;
    run.state.desktopShortcut = c.desktop;
    run.state.startAtBoot = c.boot;
    run.Run();
    ASSERT_EQ(c.links.size(), run.services.shortcuts.size()) << c.desktop << c.boot;
    for (std::size_t i = 0; i < c.links.size(); ++i) {
      EXPECT_EQ(c.links[i], run.services.shortcuts[i].link);
      // Both get the same target and working folder, although the first stripped the "\".
      EXPECT_EQ("C:\\Pointrel\\Pointrel.EXE", run.services.shortcuts[i].target);
      EXPECT_EQ("C:\\Pointrel", run.services.shortcuts[i].workingFolder);
    }
    EXPECT_EQ(InstallFailure::None, run.state.failure);
  }
}

// Where the shell names the user's folders, the links go there, each folder on its own; the
// Windows-folder rule serves a folder the shell cannot name.
const char kAnnsMenu[] = "C:\\Users\\ann\\Start Menu\\Programs\\Pointrel.LNK";
TEST(CopyWorker, ShortcutsGoWhereTheShellKeepsThem) {
  struct Case {
    std::string desktop;
    std::string startup;
    std::vector<std::string> links;
  };
  const Case cases[] = {
      {"C:\\Users\\ann\\Desktop", "C:\\Users\\ann\\Start Menu\\Programs\\Startup\\",
       {"C:\\Users\\ann\\Desktop\\Pointrel.LNK", kAnnsMenu, "C:\\Users\\ann\\Start Menu\\Programs\\Startup\\Pointrel.LNK"}},
      {"C:\\Users\\ann\\Desktop", "",
       {"C:\\Users\\ann\\Desktop\\Pointrel.LNK", kAnnsMenu, "C:\\WINDOWS\\Start Menu\\Programs\\StartUp\\Pointrel.LNK"}},
      {"", "D:\\Startup", {"C:\\WINDOWS\\DESKTOP\\Pointrel.LNK", kAnnsMenu, "D:\\Startup\\Pointrel.LNK"}},
      // A shell folder so long that the link would pass the platform's limit: that link is not made.
      {"C:\\Users\\ann\\Desktop", "C:\\" + std::string(250, 's'), {"C:\\Users\\ann\\Desktop\\Pointrel.LNK", kAnnsMenu}},
  };
  for (const Case& c : cases) {
    SerialRun run;
    run.state.startAtBoot = 1;
    run.services.shellDesktop = c.desktop;
    run.services.shellStartup = c.startup;
    run.services.shellPrograms = "C:\\Users\\ann\\Start Menu\\Programs";
    run.Run();
    std::vector<std::string> links;
    for (const Shortcut& s : run.services.shortcuts) {
      links.push_back(s.link);
      EXPECT_EQ("C:\\Pointrel\\Pointrel.EXE", s.target);
      EXPECT_EQ("C:\\Pointrel", s.workingFolder);
      EXPECT_EQ("Pointrel version 2.0", s.description);
    }
    EXPECT_EQ(c.links, links) << c.desktop << " | " << c.startup;
    EXPECT_EQ(InstallFailure::None, run.state.failure);
  }
}

// A shortcut that could not be saved, or whose link does not fit, is named for the page to
// report after the copy; the install itself succeeds and the other shortcut is made.
TEST(CopyWorker, ShortcutsThatCannotBeMadeAreNamed) {
  struct Case {
    std::string startup;
    std::string failing;
    std::string named;
  };
  const Case cases[] = {
      {"D:\\Startup", "", ""},
      {"D:\\Startup", "C:\\Users\\ann\\Desktop\\Pointrel.LNK", "C:\\Users\\ann\\Desktop\\Pointrel.LNK"},
      {"D:\\Startup", "D:\\Startup\\Pointrel.LNK", "D:\\Startup\\Pointrel.LNK"},
      {"C:\\" + std::string(250, 's'), "C:\\Users\\ann\\Desktop\\Pointrel.LNK",
       "C:\\Users\\ann\\Desktop\\Pointrel.LNK\nPointrel.LNK in the start-up folder"},
  };
  for (const Case& c : cases) {
    SerialRun run;
    run.state.startAtBoot = 1;
    std::strcpy(run.state.failedShortcuts, "left from an earlier run");
    run.services.shellDesktop = "C:\\Users\\ann\\Desktop";
    run.services.shellStartup = c.startup;
    run.services.failingLink = c.failing;
    run.Run();
    EXPECT_EQ(InstallFailure::None, run.state.failure) << c.failing;
    EXPECT_EQ(c.named, run.state.failedShortcuts) << c.failing;
  }
}

TEST(CopyWorker, DriveRootCreatesNoFolder) {
  SerialRun run("D:\\");
  run.state.startAtBoot = 1;
  run.Run();
  EXPECT_EQ(InstallFailure::None, run.state.failure);
  std::vector<std::string> log = run.services.LogCopy();
  EXPECT_EQ("mkdir D:\\NORMAL", log.at(0));
  EXPECT_EQ(kManifestRows, run.RowsInstalled("D:\\"));
  EXPECT_TRUE(run.services.FileHolds("D:\\Pointrel.EXE", "POINTREL.EXE"));
  ASSERT_EQ(3u, run.services.shortcuts.size());
  EXPECT_STREQ("D:\\", run.services.entry.installLocation) << "a root keeps its backslash";
  for (const Shortcut& s : run.services.shortcuts) {
    EXPECT_EQ("D:\\Pointrel.EXE", s.target);
    EXPECT_EQ("D:\\", s.workingFolder);
  }
}

TEST(CopyWorker, WindowsFolderForms) {
  const std::pair<const char*, const char*> cases[] = {
      {"C:\\WINDOWS\\", "C:\\WINDOWS\\DESKTOP\\Pointrel.LNK"},
      {"", "\\DESKTOP\\Pointrel.LNK"},
      {"E:\\", "E:\\DESKTOP\\Pointrel.LNK"},
  };
  for (const auto& c : cases) {
    SerialRun run;
    run.services.windowsFolder = c.first;
    run.Run();
    ASSERT_EQ(2u, run.services.shortcuts.size()) << c.first;
    EXPECT_EQ(c.second, run.services.shortcuts[0].link);
  }
  // A Windows folder so long that the link would pass the platform's limit: no shortcut, and
  // the installation still succeeds.
  SerialRun run;
  run.services.windowsFolder = "C:\\" + std::string(240, 'w');
  run.Run();
  EXPECT_TRUE(run.services.shortcuts.empty());
  EXPECT_EQ(InstallFailure::None, run.state.failure);
}

TEST(CopyWorker, ExistingTreeIsReusedAndOverwritten) {
  SerialRun run;
  run.services.AddFolder("C:\\Pointrel");
  run.services.AddFolder("C:\\Pointrel\\BUSY");
  run.services.AddFile("C:\\Pointrel\\Pointrel.EXE", "old program");
  run.services.AddFile("C:\\Pointrel\\BUSY\\Abacus.CUR", "old cursor");
  run.Run();
  EXPECT_EQ(InstallFailure::None, run.state.failure);
  EXPECT_EQ(kManifestRows, run.RowsInstalled());
}

TEST(CopyWorker, FileExistsErrorCountsAsThere) {
  SerialRun run;
  run.services.folderErrors[Key("C:\\Pointrel")] = kErrorFileExists;
  run.services.AddFolder("C:\\Pointrel");
  run.services.folderErrors[Key("C:\\Pointrel\\SIZING")] = kErrorFileExists;
  run.services.AddFolder("C:\\Pointrel\\SIZING");
  run.Run();
  EXPECT_EQ(InstallFailure::None, run.state.failure);
  EXPECT_EQ(kManifestRows, run.RowsInstalled());
}

TEST(CopyWorker, MissingParentFailsAtTheDestination) {
  SerialRun run("C:\\missing\\Pointrel\\");
  run.Run();
  EXPECT_EQ(InstallFailure::DestinationFolder, run.state.failure);
  EXPECT_EQ(1, run.state.stopRequested.Load());
  EXPECT_EQ(1, run.state.workerDone.Load());
  EXPECT_EQ(std::vector<std::string>{"mkdir C:\\missing\\Pointrel"}, run.services.LogCopy());
  EXPECT_TRUE(run.services.shortcuts.empty());
  EXPECT_TRUE(run.services.shown.empty());
  EXPECT_STREQ("C:\\missing\\Pointrel\\", run.state.destinationPath) << "left alone without shortcuts";
}

TEST(CopyWorker, SubfolderFailureKeepsTheEarlierOnes) {
  SerialRun run;
  run.services.folderErrors[Key("C:\\Pointrel\\IBEAM")] = kErrorAccessDenied;
  run.Run();
  EXPECT_EQ(InstallFailure::Subfolders, run.state.failure);
  std::vector<std::string> expected = {"mkdir C:\\Pointrel", "mkdir C:\\Pointrel\\NORMAL", "mkdir C:\\Pointrel\\BUSY",
                                       "mkdir C:\\Pointrel\\IBEAM"};
  EXPECT_EQ(expected, run.services.LogCopy());
  EXPECT_TRUE(run.services.IsFolder("C:\\Pointrel\\BUSY"));
  EXPECT_TRUE(run.services.shortcuts.empty());
}

TEST(CopyWorker, PlainFileNamedNormalStopsAtRow18) {
  SerialRun run;
  run.services.AddFolder("C:\\Pointrel");
  run.services.AddFile("C:\\Pointrel\\NORMAL", "not a folder");
  run.Run();
  EXPECT_EQ(InstallFailure::CopyFailed, run.state.failure);
  EXPECT_EQ(18, run.RowsInstalled());
  EXPECT_EQ(19, run.services.copies) << "rows 0 to 17, then the failed row 18";
  EXPECT_TRUE(run.services.FileHolds("C:\\Pointrel\\NORMAL", "not a folder"));
  EXPECT_TRUE(run.services.shortcuts.empty());
}

TEST(CopyWorker, MissingSourceStopsAtItsRow) {
  for (int missing : {0, 1, 13, 35, 51}) {
    SerialRun run;
    run.services.Remove(std::string("A:\\") + FileManifest[missing].sourceName);
    run.Run();
    EXPECT_EQ(InstallFailure::CopyFailed, run.state.failure) << missing;
    EXPECT_EQ(missing, run.RowsInstalled()) << missing;
    EXPECT_EQ(missing + 1, run.services.copies) << missing;
    EXPECT_TRUE(run.services.shortcuts.empty()) << missing;
    // The failed row stays on display: the blank pair is not published after a failure.
    EXPECT_STREQ(FileManifest[missing].sourceName, std::strrchr(run.state.shownSource, '\\') + 1);
  }
}

TEST(CopyWorker, SourcesComeFromTheInstallersFolder) {
  SerialRun run;
  std::strcpy(run.state.installerPath, "C:\\disk\\WENDSET.EXE");
  run.services.AddFolder("C:\\disk");
  for (const ManifestRow& row : FileManifest) run.services.AddFile(std::string("C:\\disk\\") + row.sourceName, "disk");
  run.services.AddFile("C:\\disk\\WENDSET.EXE", "disk's installer");
  run.Run();
  EXPECT_TRUE(run.services.FileHolds("C:\\Pointrel\\Uninstall.EXE", "disk's installer"));
  EXPECT_EQ(InstallFailure::None, run.state.failure);
  EXPECT_TRUE(run.services.FileHolds("C:\\Pointrel\\Pointrel.HLP", "disk"));
}

// Paths too long for the platform end in the failure of their step, never cut short.
TEST(CopyWorker, OverlongPathsFailTheirStep) {
  // For each folder length, the first step whose path would reach 260 characters fails.
  for (std::size_t length = 200; length <= 262; ++length) {
    std::string folder = "C:\\" + std::string(length - 3, 'p');
    SerialRun run((folder + "\\").c_str());
    run.services.AddFolder(folder);  // so that only the length decides
    run.Run();
    InstallFailure expected = InstallFailure::None;
    int expectedRows = kManifestRows;
    if (length >= kMaxPath) {
      expected = InstallFailure::DestinationFolder;
      expectedRows = 0;
    } else {
      for (const char* name : kLibrarySubfolders) {
        if (length + 1 + std::strlen(name) >= kMaxPath) expected = InstallFailure::Subfolders;
      }
      if (expected != InstallFailure::None) {
        expectedRows = 0;
      } else {
        for (int row = 0; row < kManifestRows; ++row) {
          if (length + 1 + std::strlen(FileManifest[row].destinationName) >= kMaxPath) {
            expected = InstallFailure::CopyFailed;
            expectedRows = row;
            break;
          }
        }
      }
    }
    EXPECT_EQ(expected, run.state.failure) << "folder length " << length;
    EXPECT_EQ(expectedRows, run.RowsInstalled(folder)) << "folder length " << length;
    const int uninstaller = expected == InstallFailure::None ? 1 : 0;
    EXPECT_EQ(expectedRows + uninstaller, run.services.copies) << "a refused path never reaches the copy; length " << length;
  }
}

// The platform's limit counts wide characters: a folder of Cyrillic letters (two bytes each in
// UTF-8) or of characters beyond the first plane (four bytes, two wide characters) installs
// while its wide length leaves room, however many bytes it takes, and fails at 260.
TEST(CopyWorker, PathLengthsAreCountedInWideCharacters) {
  struct LengthCase {
    const char* letter;
    int units;  // wide characters per letter
    std::size_t letters;
    InstallFailure expected;
  };
  const LengthCase cases[] = {
      {"\xD0\xBF", 1, 200, InstallFailure::None},                 // 403 bytes, 203 wide
      {"\xD0\xBF", 1, 257, InstallFailure::DestinationFolder},    // 260 wide
      {"\xE6\x96\x87", 1, 200, InstallFailure::None},             // 603 bytes
      {"\xF0\x9F\x98\x80", 2, 100, InstallFailure::None},         // 403 bytes, 203 wide
      {"\xF0\x9F\x98\x80", 2, 129, InstallFailure::DestinationFolder},  // 261 wide
  };
  for (const LengthCase& c : cases) {
    std::string folder = "C:\\";
    for (std::size_t i = 0; i < c.letters; ++i) folder += c.letter;
    ASSERT_EQ(3 + c.letters * c.units, WideLength(folder.c_str()));
    ASSERT_LT(folder.size() + 1, kTextBufferSize);
    SerialRun run((folder + "\\").c_str());
    run.services.AddFolder(folder);
    run.Run();
    EXPECT_EQ(c.expected, run.state.failure) << c.letters << " letters of " << folder.size() << " bytes";
    EXPECT_EQ(c.expected == InstallFailure::None ? kManifestRows : 0, run.RowsInstalled(folder)) << c.letters;
  }
}

TEST(CopyWorker, OverlongInstallerPathFailsTheFirstCopy) {
  SerialRun run;
  std::string installer = "A:\\" + std::string(250, 'm') + "\\WENDSET.EXE";
  std::strcpy(run.state.installerPath, installer.c_str());
  run.Run();
  EXPECT_EQ(InstallFailure::CopyFailed, run.state.failure);
  EXPECT_EQ(0, run.services.copies);
}

TEST(CopyWorker, StopRequestedBeforeStartDoesNothing) {
  SerialRun run;
  BeginCopy(run.state);
  run.state.stopRequested.Store(1);
  CopyWorker(run.state, run.services);
  EXPECT_EQ(1, run.state.workerDone.Load());
  EXPECT_TRUE(run.services.LogCopy().empty());
  EXPECT_EQ(InstallFailure::None, run.state.failure);
}

// A stop raised from inside a step takes effect at the next checkpoint.
TEST(CopyWorker, StopBetweenSteps) {
  {
    SerialRun run;
    int copied = 0;
    run.services.afterCopy = [&] {
      if (++copied == 7) run.state.stopRequested.Store(1);
    };
    run.Run();
    EXPECT_EQ(7, run.services.copies) << "the copy in progress finishes, the next does not start";
    EXPECT_EQ(InstallFailure::None, run.state.failure) << "a Cancel is not a failure";
    EXPECT_TRUE(run.services.shortcuts.empty());
  }
  {
    SerialRun run;
    run.services.afterCopy = [&] {
      if (run.services.copies == kManifestRows) run.state.stopRequested.Store(1);
    };
    run.Run();
    EXPECT_EQ(kManifestRows, run.RowsInstalled());
    EXPECT_FALSE(run.services.FileHolds("C:\\Pointrel\\Uninstall.EXE", "the installer")) << "stopped before the uninstaller";
    EXPECT_TRUE(run.services.shortcuts.empty()) << "stopped before the shortcut step";
    EXPECT_EQ(0, run.services.entriesWritten);
    EXPECT_STRNE("", run.state.shownSource) << "no blank display after a stop";
  }
  {
    SerialRun run;
    run.state.startAtBoot = 1;
    run.services.afterShortcut = [&] { run.state.stopRequested.Store(1); };
    run.Run();
    ASSERT_EQ(1u, run.services.shortcuts.size()) << "a Cancel between the shortcuts leaves the first only";
    EXPECT_EQ("C:\\WINDOWS\\DESKTOP\\Pointrel.LNK", run.services.shortcuts[0].link);
    EXPECT_EQ(0, run.services.entriesWritten) << "no entry after a Cancel";
  }
}

// The two waits poll at their own rates: the worker's display waits every 100 ms, the page's
// Cancel wait every 500 ms, and the Cancel raises the stop before its first sleep.
class PollRecorder final : public InstallServices {
 public:
  explicit PollRecorder(InstallState& state) : state(state) {}
  std::uint32_t CreateFolder(const char*) override { return 0; }
  std::uint32_t CopyFileOver(const char*, const char*) override { return 0; }
  void RemoveFile(const char*) override {}
  std::uint64_t FileSize(const char*) override { return 0; }
  std::uint32_t WriteUninstallEntry(const UninstallEntry&) override { return 0; }
  void Today(char (&date)[9]) override { date[0] = '\0'; }
  void Sleep(unsigned milliseconds) override {
    sleeps.push_back(milliseconds);
    stopSeen.push_back(state.stopRequested.Load());
    if (onSleep) onSleep();
  }
  void GetWindowsFolder(char* buffer, std::size_t size) override { CopyText(buffer, size, "C:\\WINDOWS"); }
  bool GetShellFolder(ShellFolder, char*, std::size_t) override { return false; }
  std::int32_t CreateShortcut(const char*, const char*, const char*, const char*) override { return 0; }

  InstallState& state;
  std::vector<unsigned> sleeps;
  std::vector<std::int32_t> stopSeen;
  std::function<void()> onSleep;
};

TEST(CopyWorker, PollingRates) {
  {
    InstallState state;
    PollRecorder services(state);
    BeginCopy(state);  // workerDone 0: a worker still busy
    services.onSleep = [&] {
      if (services.sleeps.size() == 3) state.workerDone.Store(1);
    };
    CancelCopy(state, services);
    EXPECT_EQ((std::vector<unsigned>{500, 500, 500}), services.sleeps);
    EXPECT_EQ((std::vector<std::int32_t>{1, 1, 1}), services.stopSeen);
  }
  {
    // A finished worker: the Cancel does not sleep at all.
    InstallState state;
    PollRecorder services(state);
    state.workerDone.Store(1);
    CancelCopy(state, services);
    EXPECT_TRUE(services.sleeps.empty());
    EXPECT_EQ(1, state.stopRequested.Load());
  }
  {
    // The worker waits for the page twice per file (none for the first), the page taking the
    // display on every second poll.
    InstallState state;
    std::strcpy(state.installerPath, kInstaller);
    PollRecorder services(state);
    services.onSleep = [&] {
      if (services.sleeps.size() % 2 == 0) TakeDisplay(state, [](const char*, const char*) {});
    };
    BeginCopy(state);
    CopyWorker(state, services);
    EXPECT_EQ(InstallFailure::None, state.failure);
    EXPECT_EQ(static_cast<std::size_t>(2 * (kManifestRows + 1)), services.sleeps.size()) << "the rows and the uninstaller";
    for (unsigned ms : services.sleeps) ASSERT_EQ(100u, ms);
  }
}

// --- The two threads ------------------------------------------------------------------------

struct PageOutcome {
  bool cancelled = false;
  bool finishedNoticed = false;
  InstallFailure failure = InstallFailure::None;
  std::vector<std::pair<std::string, std::string>> shown;
};

// The progress page on this thread, the worker on its own: DisplayTimer every tick, the
// CompletionTimer's test every fifth, and a Cancel once `cancelAfterShown` pairs have been shown
// and `extraTicks` more ticks have passed (never, for a negative count).
PageOutcome RunPage(InstallState& state, FakeServices& services, int cancelAfterShown, int extraTicks,
                    std::mt19937& random) {
  PageOutcome outcome;
  BeginCopy(state);
  std::thread worker([&] { CopyWorker(state, services); });
  int ticksSinceTarget = 0;
  for (int tick = 0;; ++tick) {
    if (cancelAfterShown >= 0 && static_cast<int>(outcome.shown.size()) >= cancelAfterShown &&
        ticksSinceTarget++ >= extraTicks) {
      // Set the flag, mark the moment, then run the page's own Cancel (which sets it again).
      state.stopRequested.Store(1);
      services.Mark("cancel");
      CancelCopy(state, services);
      outcome.cancelled = true;
      break;
    }
    TakeDisplay(state, [&](const char* s, const char* d) { outcome.shown.emplace_back(s, d); });
    if (tick % 5 == 4 && WorkerFinished(state)) {
      outcome.finishedNoticed = true;
      outcome.failure = state.failure;
      break;
    }
    if (random() % 4 == 0) std::this_thread::yield();
  }
  worker.join();
  return outcome;
}

void CheckShownInOrder(const PageOutcome& outcome, const std::string& destination, int copies) {
  // Each pair shown is the next one published: no pair was overwritten before it was shown.
  for (std::size_t i = 0; i < outcome.shown.size(); ++i) {
    if (i < static_cast<std::size_t>(kManifestRows)) {
      ASSERT_EQ(std::string("A:\\") + FileManifest[i].sourceName, outcome.shown[i].first) << i;
      ASSERT_EQ(Joined(destination, FileManifest[i].destinationName), outcome.shown[i].second) << i;
    } else if (i == static_cast<std::size_t>(kManifestRows)) {
      ASSERT_EQ(kInstaller, outcome.shown[i].first) << "the uninstaller follows the rows";
      ASSERT_EQ(Joined(destination, "Uninstall.EXE"), outcome.shown[i].second);
    } else {
      ASSERT_EQ(static_cast<std::size_t>(kManifestRows + 1), i) << "only the blank pair follows the uninstaller";
      ASSERT_EQ("", outcome.shown[i].first);
      ASSERT_EQ("", outcome.shown[i].second);
    }
  }
  // The worker published row k only after row k-1 had been shown.
  ASSERT_GE(static_cast<int>(outcome.shown.size()), copies - 1);
}

TEST(CopyProtocol, CompletesWithoutCancel) {
  std::mt19937 random(7);
  for (int run = 0; run < 50; ++run) {
    InstallState state;
    std::strcpy(state.installerPath, kInstaller);
    std::strcpy(state.destinationPath, "C:\\Pointrel\\");
    FakeServices services(state);
    PageOutcome outcome = RunPage(state, services, -1, 0, random);
    ASSERT_TRUE(outcome.finishedNoticed);
    ASSERT_EQ(InstallFailure::None, outcome.failure);
    ASSERT_EQ(kManifestRows + 1, services.copies);
    ASSERT_EQ(0, services.displayMismatches);
    ASSERT_EQ(2u, services.shortcuts.size());
    ASSERT_GE(outcome.shown.size(), static_cast<std::size_t>(kManifestRows));
    CheckShownInOrder(outcome, "C:\\Pointrel", services.copies);
  }
}

TEST(CopyProtocol, FailuresReachThePage) {
  std::mt19937 random(11);
  struct Case {
    const char* destination;
    const char* missingSource;
    InstallFailure failure;
  };
  const Case cases[] = {
      {"C:\\missing\\Pointrel\\", nullptr, InstallFailure::DestinationFolder},
      {"C:\\Pointrel\\", "ABACUS.CUR", InstallFailure::CopyFailed},
      {"C:\\Pointrel\\", nullptr, InstallFailure::None},
  };
  for (const Case& c : cases) {
    for (int run = 0; run < 20; ++run) {
      InstallState state;
      std::strcpy(state.installerPath, kInstaller);
      std::strcpy(state.destinationPath, c.destination);
      FakeServices services(state);
      if (c.missingSource) services.Remove(std::string("A:\\") + c.missingSource);
      PageOutcome outcome = RunPage(state, services, -1, 0, random);
      ASSERT_TRUE(outcome.finishedNoticed);
      ASSERT_EQ(c.failure, outcome.failure) << c.destination;
    }
  }
  InstallState state;
  std::strcpy(state.installerPath, kInstaller);
  FakeServices services(state);
  services.folderErrors[Key("C:\\Pointrel\\SIZING")] = kErrorAccessDenied;
  PageOutcome outcome = RunPage(state, services, -1, 0, random);
  EXPECT_EQ(InstallFailure::Subfolders, outcome.failure);
}

// Thousands of runs, each with a Cancel at a random moment: before the first file, during the
// copy, at the blank display, among the shortcuts, or after the worker has finished.
TEST(CopyProtocol, RandomCancel) {
  std::mt19937 random(1234);
  const int kRuns = 3000;
  int cancelledDuringCopy = 0, cancelledAfterAll = 0;
  for (int run = 0; run < kRuns; ++run) {
    InstallState state;
    std::strcpy(state.installerPath, kInstaller);
    std::strcpy(state.destinationPath, "C:\\Pointrel\\");
    state.startAtBoot = run % 2;
    FakeServices services(state);
    services.AddFolder("C:\\WINDOWS\\Start Menu");
    services.AddFolder("C:\\WINDOWS\\Start Menu\\Programs");
    services.AddFolder("C:\\WINDOWS\\Start Menu\\Programs\\StartUp");
    int cancelAfterShown = static_cast<int>(random() % (kManifestRows + 2));
    int extraTicks = static_cast<int>(random() % 8);
    PageOutcome outcome = RunPage(state, services, cancelAfterShown, extraTicks, random);

    ASSERT_EQ(1, state.workerDone.Load()) << run;
    ASSERT_EQ(0, services.displayMismatches) << run;
    if (!outcome.cancelled) {
      // The worker finished and the page noticed before the Cancel came.
      ASSERT_EQ(InstallFailure::None, outcome.failure) << run;
      continue;
    }
    ASSERT_EQ(InstallFailure::None, state.failure) << run;

    // Nothing was deleted or spoilt: the medium is whole, and every row copied is in place.
    for (const ManifestRow& row : FileManifest) {
      ASSERT_TRUE(services.FileHolds(std::string("A:\\") + row.sourceName, row.sourceName)) << run;
    }
    for (int row = 0; row < std::min(services.copies, kManifestRows); ++row) {
      ASSERT_TRUE(services.FileHolds(Joined("C:\\Pointrel", FileManifest[row].destinationName),
                                     FileManifest[row].sourceName))
          << run << " row " << row;
    }
    CheckShownInOrder(outcome, "C:\\Pointrel", services.copies);

    // After the Cancel, at most the one step already under way: the worker tests the flag before
    // every step and in every wait.
    std::vector<std::string> log = services.LogCopy();
    auto mark = std::find(log.begin(), log.end(), "cancel");
    ASSERT_NE(mark, log.end());
    ASSERT_LE(log.end() - mark - 1, 1) << run << ": steps after the Cancel";
    bool cancelledBeforeShortcuts =
        std::any_of(mark, log.end(), [](const std::string& line) { return line.rfind("copy ", 0) == 0; }) ||
        services.copies < kManifestRows;
    if (cancelledBeforeShortcuts) {
      ++cancelledDuringCopy;
      ASSERT_TRUE(services.shortcuts.empty()) << run;
    } else {
      ++cancelledAfterAll;
    }
  }
  // The random moments cover both sides of the shortcut step.
  EXPECT_GT(cancelledDuringCopy, kRuns / 2);
  EXPECT_GT(cancelledAfterAll, 10);
}

}  // namespace

// --- What a failed copy says, and what it leaves --------------------------------------------

bool NoPlatformText(std::uint32_t, char*, std::size_t) { return false; }
bool DriveText(std::uint32_t error, char* out, std::size_t size) {
  return error == 1117 && CopyText(out, size, "The request could not be performed because of an I/O device error.");
}

// Each failed copy names its file and the reason; a full drive's cut-short file goes, while a
// file that was never opened (in use, refused, missing) stays as it was.
TEST(CopyWorker, FailedCopiesNameTheFileAndTheReason) {
  struct Case {
    const char* what;
    int row;
    std::uint32_t error;  // injected at the row's destination; 0: the source removed
    std::string named;
    const char* reason;
    bool leftAsBefore;  // the older file at the destination is untouched
  };
  const Case cases[] = {
      {"full drive", 5, kErrorDiskFull, "C:\\Pointrel\\" + std::string(FileManifest[5].destinationName),
       "There is not enough room on the drive.", false},
      {"in use", 0, kErrorSharingViolation, "C:\\Pointrel\\Pointrel.EXE", "It is in use by another program.", true},
      {"read-only", 1, kErrorAccessDenied, "C:\\Pointrel\\Pointrel.HLP",
       "Access to it was refused (it may be read-only, or not yours to change).", true},
      {"missing source", 9, 0, std::string("A:\\") + FileManifest[9].sourceName,
       "It is missing from the installation medium.", true},
      {"device error", 3, 1117, "C:\\Pointrel\\" + std::string(FileManifest[3].destinationName),
       "The request could not be performed because of an I/O device error.", false},
  };
  for (const Case& c : cases) {
    SerialRun run;
    const std::string destination = Joined("C:\\Pointrel", FileManifest[c.row].destinationName);
    run.services.AddFolder("C:\\Pointrel");
    for (const char* name : kLibrarySubfolders) run.services.AddFolder(Joined("C:\\Pointrel", name));
    run.services.AddFile(destination, "an older copy");
    if (c.error == 0) {
      run.services.Remove(std::string("A:\\") + FileManifest[c.row].sourceName);
    } else {
      run.services.copyErrors[Key(destination)] = c.error;
    }
    run.Run();
    EXPECT_EQ(InstallFailure::CopyFailed, run.state.failure) << c.what;
    EXPECT_EQ(c.named, run.state.failedPath) << c.what;
    EXPECT_EQ(c.leftAsBefore, run.services.FileHolds(destination, "an older copy")) << c.what;
    const std::vector<std::string> log = run.services.LogCopy();
    const bool removed = std::find(log.begin(), log.end(), "remove " + destination) != log.end();
    EXPECT_EQ(!c.leftAsBefore, removed) << c.what << ": only a copy that may have been cut short is removed";
    EXPECT_EQ(0, run.services.entriesWritten) << c.what;
    char text[3 * kTextBufferSize];
    ComposeFailureText(run.state, &DriveText, text, sizeof text);
    EXPECT_EQ("Error copying application files\n\n" + c.named + "\n" + c.reason, std::string(text)) << c.what;
  }
  // An error the installer has no words of its own for, where the platform has none either.
  SerialRun run;
  run.services.copyErrors[Key("C:\\Pointrel\\Pointrel.EXE")] = 1117;
  run.Run();
  char text[3 * kTextBufferSize];
  ComposeFailureText(run.state, &NoPlatformText, text, sizeof text);
  EXPECT_STREQ("Error copying application files\n\nC:\\Pointrel\\Pointrel.EXE\nError 1117.", text);
  // Other failures keep their one line; a buffer too small for the details keeps the first line.
  ComposeFailureText(run.state, &NoPlatformText, text, 40);
  EXPECT_STREQ("Error copying application files", text);
  run.state.failure = InstallFailure::Subfolders;
  ComposeFailureText(run.state, &NoPlatformText, text, sizeof text);
  EXPECT_STREQ("Unable to create subdirectories", text);
}

// The entry in the list of installed programs: where, how to remove, how large (the files the
// copy installed, in whole kilobytes up), when, and exactly the shortcuts that were made.
TEST(CopyWorker, TheEntryRecordsTheInstallation) {
  for (int boot = 0; boot < 2; ++boot) {
    SerialRun run;
    run.state.startAtBoot = boot;
    run.services.shellPrograms = "C:\\Users\\ann\\Start Menu\\Programs";
    run.services.failingLink = boot ? "" : "C:\\WINDOWS\\DESKTOP\\Pointrel.LNK";
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
    EXPECT_STREQ(boot ? "C:\\WINDOWS\\DESKTOP\\Pointrel.LNK" : "", entry.shortcuts[0]) << "a failed link is not recorded";
    EXPECT_STREQ("C:\\Users\\ann\\Start Menu\\Programs\\Pointrel.LNK", entry.shortcuts[1]);
    EXPECT_STREQ(boot ? "C:\\WINDOWS\\Start Menu\\Programs\\StartUp\\Pointrel.LNK" : "", entry.shortcuts[2]);
    EXPECT_EQ(0u, run.state.entryError);
  }
  // A key that cannot be written leaves the installation done, with the error for the page.
  SerialRun run;
  run.services.entryError = kErrorAccessDenied;
  run.Run();
  EXPECT_EQ(InstallFailure::None, run.state.failure);
  EXPECT_EQ(kErrorAccessDenied, run.state.entryError);
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
  UninstallEntry entry;
  EXPECT_FALSE(ComposeUninstallEntry(entry, ("C:\\" + std::string(kTextBufferSize - 20, 'x') + "\\").c_str(), "20261208", 1))
      << "a command that would not fit whole";
  ASSERT_TRUE(ComposeUninstallEntry(entry, "D:\\Program Files (x86)\\Pointrel\\", "20261208", 2048));
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
  for (std::uint32_t error : {kErrorFileNotFound, kErrorPathNotFound, kErrorAccessDenied, kErrorSharingViolation,
                              kErrorLockViolation}) {
    EXPECT_FALSE(CopyFailureMayLeaveAPart(error)) << error;
  }
  for (std::uint32_t error : {kErrorDiskFull, kErrorHandleDiskFull, 1117u, 0xC0000185u}) {
    EXPECT_TRUE(CopyFailureMayLeaveAPart(error)) << error;
  }
}
