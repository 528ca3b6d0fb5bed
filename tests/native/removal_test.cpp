// The uninstaller's removal over a fake file system and registry: exactly what the installer
// made goes, the user's own files stay with their folders, a file in use stops it before
// anything changes, and a failure half-way keeps the entry and the uninstaller for another try.
// Also the command line that the entry and the uninstaller's helper use.
#include "installer/removal.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <map>
#include <set>
#include <string>

#include "installer/copy_worker.h"
#include "installer/file_manifest.h"
#include "installer/install_state.h"
#include "installer/uninstall_command.h"

namespace {

std::string Key(std::string path) {
  std::transform(path.begin(), path.end(), path.begin(), [](unsigned char c) { return std::toupper(c); });
  return path;
}

class FakeDisk final : public RemovalServices {
 public:
  void AddFile(const std::string& path) { files[Key(path)] = path; }
  void AddFolder(const std::string& path) { folders[Key(path)] = path; }
  bool HasFile(const std::string& path) const { return files.count(Key(path)) != 0; }
  bool HasFolder(const std::string& path) const { return folders.count(Key(path)) != 0; }

  // A fresh installation at C:\Pointrel with its three shortcuts and its settings.
  void Install() {
    AddFolder("C:\\Pointrel");
    for (const char* name : kLibrarySubfolders) AddFolder(std::string("C:\\Pointrel\\") + name);
    for (const ManifestRow& row : FileManifest) AddFile(std::string("C:\\Pointrel\\") + row.destinationName);
    AddFile("C:\\Pointrel\\Uninstall.EXE");
    for (const char* link : kLinks) AddFile(link);
    AddFolder("C:\\Users\\ann\\AppData\\Roaming\\Pointrel");
    AddFile("C:\\Users\\ann\\AppData\\Roaming\\Pointrel\\Pointrel.INI");
    entry = true;
  }

  bool FileExists(const char* path) override { return HasFile(path); }
  std::uint32_t CheckRemovable(const char* path) override {
    auto it = inUse.find(Key(path));
    return it == inUse.end() ? 0 : it->second;
  }
  std::uint32_t RemoveFile(const char* path) override {
    ++changes;
    auto failing = removeErrors.find(Key(path));
    if (failing != removeErrors.end()) return failing->second;
    return files.erase(Key(path)) ? 0 : kErrorFileNotFound;
  }
  void RemoveEmptyFolder(const char* path) override {
    const std::string prefix = Key(path) + "\\";
    for (const auto& file : files) {
      if (file.first.compare(0, prefix.size(), prefix) == 0) return;
    }
    for (const auto& folder : folders) {
      if (folder.first.compare(0, prefix.size(), prefix) == 0) return;
    }
    if (folders.erase(Key(path))) ++changes;
  }
  void ForEachFile(const char* folder, void (*visit)(const char*, void*), void* context) override {
    std::string prefix = Key(folder);
    if (prefix.back() != '\\') prefix += "\\";
    for (const auto& file : files) {
      if (file.first.compare(0, prefix.size(), prefix) == 0) visit(file.second.substr(prefix.size()).c_str(), context);
    }
  }
  std::uint32_t RemoveEntry() override {
    ++changes;
    if (entryError) return entryError;
    entry = false;
    return 0;
  }

  static constexpr const char* kLinks[3] = {"C:\\Users\\ann\\Desktop\\Pointrel.LNK",
                                            "C:\\Users\\ann\\Start Menu\\Programs\\Pointrel.LNK",
                                            "C:\\Users\\ann\\Start Menu\\Programs\\Startup\\Pointrel.LNK"};
  std::map<std::string, std::string> files, folders;
  std::map<std::string, std::uint32_t> inUse, removeErrors;
  bool entry = false;
  std::uint32_t entryError = 0;
  int changes = 0;
};

RemovalPlan PlanFor(const FakeDisk& disk) {
  RemovalPlan plan;
  std::strcpy(plan.folder, "C:\\Pointrel");
  for (int kind = 0; kind < kShortcutKinds; ++kind) std::strcpy(plan.shortcuts[kind], FakeDisk::kLinks[kind]);
  plan.entryExists = disk.entry;
  std::strcpy(plan.settingsFolder, "C:\\Users\\ann\\AppData\\Roaming\\Pointrel");
  return plan;
}

std::string Remove(const RemovalPlan& plan, FakeDisk& disk, RemovalOutcome expected) {
  char message[8 * kTextBufferSize];
  EXPECT_EQ(static_cast<int>(expected), static_cast<int>(RemoveInstallation(plan, disk, nullptr, message, sizeof message)));
  return message;
}

TEST(Removal, EverythingTheInstallerMadeGoesAndTheUsersOwnStays) {
  FakeDisk disk;
  disk.Install();
  disk.AddFile("C:\\Pointrel\\NORMAL\\My own.CUR");
  disk.AddFile("C:\\Users\\ann\\Desktop\\Other.LNK");
  const std::string message = Remove(PlanFor(disk), disk, RemovalOutcome::Removed);
  for (const ManifestRow& row : FileManifest) EXPECT_FALSE(disk.HasFile(std::string("C:\\Pointrel\\") + row.destinationName));
  EXPECT_FALSE(disk.HasFile("C:\\Pointrel\\Uninstall.EXE"));
  for (const char* link : FakeDisk::kLinks) EXPECT_FALSE(disk.HasFile(link)) << link;
  EXPECT_FALSE(disk.entry);
  EXPECT_TRUE(disk.HasFile("C:\\Pointrel\\NORMAL\\My own.CUR"));
  EXPECT_TRUE(disk.HasFile("C:\\Users\\ann\\Desktop\\Other.LNK")) << "a shortcut the installer did not make";
  EXPECT_TRUE(disk.HasFolder("C:\\Pointrel\\NORMAL")) << "the folder that holds the user's file";
  EXPECT_TRUE(disk.HasFolder("C:\\Pointrel"));
  for (const char* name : kLibrarySubfolders) {
    EXPECT_EQ(std::string(name) == "NORMAL", disk.HasFolder(std::string("C:\\Pointrel\\") + name)) << name;
  }
  EXPECT_TRUE(disk.HasFile("C:\\Users\\ann\\AppData\\Roaming\\Pointrel\\Pointrel.INI")) << "not asked to remove them";
  EXPECT_EQ(
      "Pointrel has been removed from your computer.\n\n"
      "These files of your own were kept, with their folders, in C:\\Pointrel:\nNORMAL\\My own.CUR\n\n"
      "Your settings were kept in C:\\Users\\ann\\AppData\\Roaming\\Pointrel\\Pointrel.INI.",
      message);

  // Run again: nothing of it is left, and nothing changes.
  const int changes = disk.changes;
  RemovalPlan again = PlanFor(disk);
  EXPECT_FALSE(SomethingToRemove(again, disk));
  EXPECT_EQ(kNothingToRemoveMessage, Remove(again, disk, RemovalOutcome::NothingToRemove));
  EXPECT_EQ(changes, disk.changes);
}

TEST(Removal, SettingsGoOnlyWhenAskedAndAnEmptyTreeGoesWhole) {
  FakeDisk disk;
  disk.Install();
  disk.AddFile("C:\\Users\\ann\\AppData\\Roaming\\Pointrel\\Pointrel.RUN");
  RemovalPlan plan = PlanFor(disk);
  plan.removeSettings = true;
  EXPECT_EQ("Pointrel has been removed from your computer.", Remove(plan, disk, RemovalOutcome::Removed));
  EXPECT_FALSE(disk.HasFolder("C:\\Users\\ann\\AppData\\Roaming\\Pointrel"));
  EXPECT_FALSE(disk.HasFile("C:\\Users\\ann\\AppData\\Roaming\\Pointrel\\Pointrel.INI"));
  EXPECT_FALSE(disk.HasFolder("C:\\Pointrel"));
  EXPECT_TRUE(disk.files.empty()) << disk.files.begin()->second;
}

TEST(Removal, AFileInUseStopsItBeforeAnythingChanges) {
  FakeDisk disk;
  disk.Install();
  disk.inUse[Key("C:\\Pointrel\\BUSY\\Abacus.CUR")] = kErrorSharingViolation;
  const auto before = disk.files;
  const std::string message = Remove(PlanFor(disk), disk, RemovalOutcome::Blocked);
  EXPECT_EQ(0, disk.changes);
  EXPECT_EQ(before, disk.files);
  EXPECT_TRUE(disk.entry);
  EXPECT_NE(std::string::npos, message.find("nothing has been changed")) << message;
  EXPECT_NE(std::string::npos, message.find("C:\\Pointrel\\BUSY\\Abacus.CUR\nIt is in use by another program.")) << message;
}

// A file that will not go after the check passed: the rest goes, and the uninstaller and the
// entry stay so the user can try again; the message names the file and why.
TEST(Removal, AFailureHalfWayKeepsTheEntryAndTheUninstaller) {
  FakeDisk disk;
  disk.Install();
  disk.removeErrors[Key("C:\\Pointrel\\Pointrel.HLP")] = kErrorAccessDenied;
  const std::string message = Remove(PlanFor(disk), disk, RemovalOutcome::Partly);
  EXPECT_TRUE(disk.HasFile("C:\\Pointrel\\Pointrel.HLP"));
  EXPECT_TRUE(disk.HasFile("C:\\Pointrel\\Uninstall.EXE"));
  EXPECT_FALSE(disk.HasFile("C:\\Pointrel\\Pointrel.EXE"));
  EXPECT_TRUE(disk.entry);
  EXPECT_NE(std::string::npos, message.find("could not be removed completely")) << message;
  EXPECT_NE(std::string::npos, message.find("C:\\Pointrel\\Pointrel.HLP\nAccess to it was refused")) << message;
  EXPECT_NE(std::string::npos, message.find("stays in the list of installed programs")) << message;

  // Once it is free, removing again finishes the work.
  disk.removeErrors.clear();
  EXPECT_EQ("Pointrel has been removed from your computer.\n\nYour settings were kept in "
            "C:\\Users\\ann\\AppData\\Roaming\\Pointrel\\Pointrel.INI.",
            Remove(PlanFor(disk), disk, RemovalOutcome::Removed));
  EXPECT_FALSE(disk.entry);
  EXPECT_FALSE(disk.HasFolder("C:\\Pointrel"));
}

TEST(Removal, AnEntryThatCannotBeRemovedIsSaid) {
  FakeDisk disk;
  disk.Install();
  disk.entryError = kErrorAccessDenied;
  const std::string message = Remove(PlanFor(disk), disk, RemovalOutcome::Partly);
  EXPECT_FALSE(disk.HasFile("C:\\Pointrel\\Pointrel.EXE"));
  EXPECT_NE(std::string::npos, message.find("Pointrel's entry in the list of installed programs\nAccess to it was refused"))
      << message;
}

// Only the installer's files: a drive root keeps itself, a plan without an entry works from the
// folder, and many files of the user's own are named up to a limit.
TEST(Removal, RootsFoldersWithoutEntryAndLongLists) {
  FakeDisk disk;
  for (const ManifestRow& row : FileManifest) disk.AddFile(std::string("D:\\") + row.destinationName);
  for (int i = 0; i < 30; ++i) disk.AddFile("D:\\NORMAL\\mine" + std::to_string(i) + ".CUR");
  RemovalPlan plan;
  std::strcpy(plan.folder, "D:\\");
  EXPECT_TRUE(SomethingToRemove(plan, disk));
  const std::string message = Remove(plan, disk, RemovalOutcome::Removed);
  EXPECT_NE(std::string::npos, message.find("\n...and more.")) << message;
  EXPECT_EQ(12, std::count(message.begin(), message.end(), '\n') - 3) << message;
  EXPECT_FALSE(disk.HasFile("D:\\Pointrel.EXE"));

  RemovalPlan empty;
  EXPECT_FALSE(SomethingToRemove(empty, disk)) << "no folder and no entry";
  char tiny[1];
  EXPECT_EQ(static_cast<int>(RemovalOutcome::NothingToRemove),
            static_cast<int>(RemoveInstallation(empty, disk, nullptr, tiny, 0)));
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
                           "x /uninstall-helper 12 1 0 \"\""}) {
    EXPECT_EQ(InstallerMode::Install, ParseInstallerCommand(line).mode) << line;
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

}  // namespace
