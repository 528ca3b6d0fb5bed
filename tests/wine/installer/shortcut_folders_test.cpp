// Where the worker puts its shortcuts on the platform: in the shell's folders of the current
// user, and only where the shell cannot name them, under the Windows folder as before. The
// shell's failure is made by a stand-in for the worker's services, not by the program.
#include <windows.h>

#include <shlobj.h>

#include <gtest/gtest.h>

#include <string>

#include "installer/copy_worker.h"
#include "installer/file_manifest.h"
#include "installer/install_services_win.h"
#include "installer/install_state.h"
#include "tests/wine/support/shortcut_reader.h"
#include "tests/wine/support/wine_test_support.h"

using namespace wine_test;

namespace {

// The platform's shell, but it cannot name the user's folders.
class ShellUnavailable final : public ShellServices {
 public:
  void GetWindowsFolder(char* buffer, std::size_t size) override { PlatformShell().GetWindowsFolder(buffer, size); }
  bool GetShellFolder(ShortcutKind, char*, std::size_t) override { return false; }
  std::int32_t CreateShortcut(const char* target, const char* link, const char* workingFolder,
                              const char* description) override {
    return PlatformShell().CreateShortcut(target, link, workingFolder, description);
  }
  bool ShortcutTarget(const char* link, char* out, std::size_t size) override {
    return PlatformShell().ShortcutTarget(link, out, size);
  }
};

// The platform's services, but the prefix's list of installed programs is left to the installer
// tests.
class NoEntry final : public InstallServices {
 public:
  void Sleep(unsigned milliseconds) override { PlatformServices().Sleep(milliseconds); }
  std::uint32_t WriteUninstallEntry(const UninstallEntry&) override { return 0; }
  void Today(char (&date)[9]) override { PlatformServices().Today(date); }
  PlatformErrorText ErrorText() override { return PlatformServices().ErrorText(); }
  std::uint32_t RemoveEntry() override { return 0; }
};

TEST(ShortcutFolders, WithoutTheShellTheWindowsFolderRuleIsUsed) {
  const std::string medium = MakeTempFolder("wendset-fallback-medium");
  for (const ManifestRow& row : FileManifest) ASSERT_TRUE(WriteFile(medium + "\\" + row.sourceName, row.sourceName));
  ASSERT_TRUE(WriteFile(medium + "\\WENDSET.EXE", "the installer"));
  const std::string windows = WindowsFolder();
  // Part of the old rule: the link folders are expected to exist under the Windows folder.
  ::CreateDirectoryA((windows + "\\DESKTOP").c_str(), nullptr);
  const std::string link = windows + "\\DESKTOP\\Pointrel.LNK";
  RemoveFile(link);
  char desktop[MAX_PATH] = "";
  ASSERT_TRUE(::SHGetSpecialFolderPathA(nullptr, desktop, CSIDL_DESKTOPDIRECTORY, FALSE));
  const std::string shellLink = std::string(desktop) + "\\Pointrel.LNK";
  RemoveFile(shellLink);

  InstallState state;
  std::snprintf(state.installerPath, sizeof state.installerPath, "%s\\WENDSET.EXE", medium.c_str());
  std::snprintf(state.destinationPath, sizeof state.destinationPath, "C:\\PointrelFallback");
  state.desktopShortcut = 1;
  state.startAtBoot = 0;
  state.showProgress = 0;
  BeginCopy(state);
  ShellUnavailable shell;
  NoEntry services;
  CopyWorker(state, PlatformFiles(), shell, services);
  ASSERT_EQ(state.failure, InstallFailure::None);

  ExpectPointrelShortcut(link, "C:\\PointrelFallback");
  EXPECT_FALSE(FileExists(shellLink)) << "nothing in the shell's folder";
  RemoveFile(link);
  RemoveFile(windows + "\\Start Menu\\Programs\\Pointrel.LNK");
}

// The platform's own lookup names the prefix user's folders, as the installer uses them.
TEST(ShortcutFolders, ThePlatformNamesTheUsersFolders) {
  char expected[MAX_PATH] = "";
  char found[MAX_PATH] = "";
  ASSERT_TRUE(::SHGetSpecialFolderPathA(nullptr, expected, CSIDL_STARTUP, FALSE));
  ASSERT_TRUE(PlatformShell().GetShellFolder(ShortcutKind::Startup, found, sizeof found));
  EXPECT_STREQ(found, expected);
  char tiny[4];
  EXPECT_FALSE(PlatformShell().GetShellFolder(ShortcutKind::Desktop, tiny, sizeof tiny)) << "does not fit";
}

}  // namespace
