// The real WENDSET.EXE cut short: cancelled, or killed outright, at several points of a first
// installation and of an upgrade. Each leaves the installation that was there before, whole, or
// none; what a killed run left is finished by the next run.
#include "tests/wine/installer/installer_driver.h"

using namespace installer_driver;

namespace {

// How many staged copies lie below folder.
int Staged(const std::string& folder) {
  int count = 0;
  for (const std::string& name : Listing(folder)) {
    if (name == "." || name == "..") continue;
    if (IsFolder(folder + "\\" + name)) {
      count += Staged(folder + "\\" + name);
    } else if (name.find(".pointrel-new") != std::string::npos) {
      ++count;
    }
  }
  return count;
}

using ProcessCall = LONG(WINAPI*)(HANDLE);

// Holds the run of `id` still at the moment its journal says the swap has begun, and leaves it
// held there; false when the run ends first or 30 s pass. The swap lasts a few milliseconds, too
// short to be seen by looking now and then while the run goes on, so the run is held at each look
// and let go for a millisecond between looks once every file is staged.
bool HoldAtTheSwap(DWORD id) {
  const HMODULE ntdll = ::GetModuleHandleA("ntdll.dll");
  const auto suspend = reinterpret_cast<ProcessCall>(reinterpret_cast<void*>(::GetProcAddress(ntdll, "NtSuspendProcess")));
  const auto resume = reinterpret_cast<ProcessCall>(reinterpret_cast<void*>(::GetProcAddress(ntdll, "NtResumeProcess")));
  HANDLE process = ::OpenProcess(PROCESS_SUSPEND_RESUME | SYNCHRONIZE, FALSE, id);
  if (!suspend || !resume || !process) return false;
  bool held = false;
  const DWORD start = ::GetTickCount();
  while (!held && ::GetTickCount() - start < 30000 && ::WaitForSingleObject(process, 0) == WAIT_TIMEOUT) {
    suspend(process);
    held = ReadFile("C:\\Pointrel\\Uninstall.JNL").find("stage=swapping") != std::string::npos;
    const bool allStaged = Staged("C:\\Pointrel") >= kManifestRows;
    if (!held) {
      resume(process);
      ::Sleep(allStaged ? 1 : 20);
    }
  }
  ::CloseHandle(process);
  return held;
}

class Interruptions : public Installer {
 protected:
  void TearDown() override {
    Installer::TearDown();
    RemoveTree(newMedium);
  }
  // The run started through the pages, then cut at `point` (a number of staged copies, or -1 for
  // the moment its journal says the swap has begun): by its Cancel, or killed.
  void CutShort(int point, bool kill, const std::string& from = "") {
    Start(from);
    ThroughDestination();
    Seen progress = WaitFor(Screen::Progress);
    ASSERT_NE(nullptr, progress.window);
    if (point < 0) {
      ASSERT_TRUE(HoldAtTheSwap(program->id())) << "the run was never seen swapping";
    } else {
      ASSERT_TRUE(wine_test::WaitFor([&] { return Staged("C:\\Pointrel") >= point; }, 30000))
          << "the run never reached " << point;
    }
    if (kill) {
      program->Kill();
      return;
    }
    Press(progress.window, IDCANCEL);
    ExpectMessagesThenEnd({});
  }
  // A second medium whose every file differs from the first. Its files are large, so that its
  // copy lasts long enough to be cut at a given point: small ones are all copied and swapped in
  // between two looks of the test.
  static std::string NewMediumContent(int row) { return MediumContent(row) + " the new version" + std::string(512 * 1024, 'n'); }
  void MakeNewMedium() {
    newMedium = MakeTempFolder("wendset-new-medium");
    ASSERT_TRUE(::CopyFileA(kInstallerExe, (newMedium + "\\WENDSET.EXE").c_str(), FALSE));
    for (int row = 0; row < kManifestRows; ++row) {
      ASSERT_TRUE(WriteFile(newMedium + "\\" + FileManifest[row].sourceName, NewMediumContent(row)));
    }
  }
  // Every row as one medium has it, the record, and nothing left over.
  void ExpectWhole(const std::string& from = "") {
    ExpectRowsInstalled("C:\\Pointrel", kManifestRows, from);
    EXPECT_TRUE(FileExists("C:\\Pointrel\\Uninstall.DAT"));
    EXPECT_FALSE(Leftovers("C:\\Pointrel"));
  }
  std::string newMedium;
};

// A first installation cancelled early and late leaves nothing; killed, it leaves no
// installation (no program, record, entry or shortcut; its staged copies wait for the next run),
// and the next run finishes cleanly.
TEST_F(Interruptions, AFirstInstallationCutShortLeavesNone) {
  for (bool kill : {false, true}) {
    for (int point : {3, 45}) {
      RemoveTree("C:\\Pointrel");
      CutShort(point, kill);
      if (!kill) {
        EXPECT_FALSE(IsFolder("C:\\Pointrel")) << "cancelled after " << point;
      } else {
        EXPECT_FALSE(FileExists("C:\\Pointrel\\Pointrel.EXE")) << "killed after " << point;
        EXPECT_FALSE(FileExists("C:\\Pointrel\\Uninstall.DAT"));
        EXPECT_TRUE(Leftovers("C:\\Pointrel"));
      }
      EXPECT_FALSE(EntryExists());
      EXPECT_FALSE(FileExists(desktopLink));
      EXPECT_FALSE(FileExists(startMenuLink));
    }
  }
  // The next run, quiet: the killed run's copies are undone, and this one's are put in place.
  ASSERT_EQ(0u, QuietInstall("/desktop"));
  ExpectWhole();
  EXPECT_TRUE(EntryExists());
}

// An upgrade cancelled leaves the old installation as it was; killed while staging it leaves
// the old one in place as it was; killed once the swap has begun, the next run carries it
// forward. Each ends as the old or the new, whole.
TEST_F(Interruptions, AnUpgradeCutShortLeavesTheOldOrTheNew) {
  ASSERT_EQ(0u, QuietInstall("/desktop"));
  MakeNewMedium();
  CutShort(20, false, newMedium);
  ExpectWhole();

  CutShort(20, true, newMedium);
  ExpectRowsInstalled("C:\\Pointrel", kManifestRows);  // the old files, in their places
  EXPECT_TRUE(Leftovers("C:\\Pointrel")) << "the staged copies wait for the next run";
  ASSERT_EQ(0u, QuietInstall("/desktop"));
  ExpectWhole();

  CutShort(-1, true, newMedium);
  for (int row = 0; row < kManifestRows; ++row) {
    const std::string path = std::string("C:\\Pointrel\\") + FileManifest[row].destinationName;
    const std::string content = FileExists(path) ? ReadFile(path) : ReadFile(path + ".pointrel-new");
    EXPECT_TRUE(content == MediumContent(row) || content == NewMediumContent(row)) << path;
  }
  ASSERT_EQ(0u, QuietInstall("/desktop", newMedium));
  ExpectWhole(newMedium);
  EXPECT_TRUE(FileExists(desktopLink));
  EXPECT_TRUE(EntryExists());
}

}  // namespace
