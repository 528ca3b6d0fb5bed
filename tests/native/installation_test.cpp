// The installation already there, as the installer and the uninstaller find it: the entry's
// folder is only a hint, taken where an intact record written for it lies; and what a typed
// destination means beside it (refused inside any installation, an upgrade, a move, a fresh one).
#include "installer/installation.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "installer/file_manifest.h"
#include "installer/install_journal.h"
#include "tests/native/fake_installer_platform.h"

namespace {

struct Computer {
  fake::FileSystem files;
  fake::Shell shell{files};
  fake::Services services{files};

  Computer() {
    for (const ManifestRow& row : FileManifest) files.AddFile(std::string("A:\\") + row.sourceName, row.sourceName);
    files.AddFile("A:\\WENDSET.EXE", "the installer");
    files.AddFolder("C:\\WINDOWS");
    files.AddFolder("C:\\Desktop");
    files.AddFolder("C:\\Menu");
    files.AddFolder("C:\\Menu\\Startup");
    shell.folders[0] = "C:\\Desktop";
    shell.folders[1] = "C:\\Menu";
    shell.folders[2] = "C:\\Menu\\Startup";
  }
  void Install(const char* folder, int desktop, int startup) {
    InstallState state;
    std::strcpy(state.installerPath, "A:\\WENDSET.EXE");
    std::strcpy(state.destinationPath, folder);
    state.desktopShortcut = desktop;
    state.startAtBoot = startup;
    state.showProgress = 0;
    BeginCopy(state);
    CopyWorker(state, files, shell, services);
    ASSERT_EQ(InstallFailure::None, state.failure);
  }
};

TEST(Installation, TheEntrysFolderIsAHintThatTheRecordMustConfirm) {
  Computer computer;
  computer.files.AddFolder("D:\\Tools");
  computer.Install("D:\\Tools\\Pointrel", 0, 1);
  struct Case {
    const char* hint;
    bool found;
    const char* folder;
  };
  const Case cases[] = {
      {"D:\\Tools\\Pointrel", true, "D:\\Tools\\Pointrel"},
      {"d:/tools/pointrel/", true, "D:\\tools\\pointrel"},  // its canonical form, compared as the platform does
      {"", false, ""},
      {"C:\\Windows", false, ""},  // a folder without a record
      {"D:\\Tools", false, ""},    // the record's folder's parent
      {"CON", false, ""},
      {"\\\\server\\share", false, ""},
  };
  for (const Case& c : cases) {
    Installation found;
    FindInstallation(computer.files, computer.shell, c.hint, "C:\\Pointrel", found);
    EXPECT_EQ(c.found, found.found) << c.hint;
    EXPECT_STREQ(c.folder, found.folder) << c.hint;
    if (c.found) {
      EXPECT_FALSE(found.shortcuts[0]) << "no desktop shortcut was made";
      EXPECT_TRUE(found.shortcuts[1]);
      EXPECT_TRUE(found.shortcuts[2]);
    }
  }
  // The record copied with its files into another folder names the folder it was written for.
  computer.files.AddFolder("C:\\Copy");
  computer.files.AddFile("C:\\Copy\\Uninstall.DAT", computer.files.Content("D:\\Tools\\Pointrel\\Uninstall.DAT"));
  Installation found;
  FindInstallation(computer.files, computer.shell, "C:\\Copy", "C:\\Pointrel", found);
  EXPECT_FALSE(found.found);
  // Without a hint, the default folder where it holds an installation; its shortcuts as they are.
  computer.Install("C:\\Pointrel", 1, 0);
  computer.files.AddFile("C:\\Menu\\Pointrel.LNK", fake::Shell::LinkContent("C:\\Other\\Pointrel.EXE"));
  FindInstallation(computer.files, computer.shell, "", "C:\\Pointrel", found);
  ASSERT_TRUE(found.found);
  EXPECT_STREQ("C:\\Pointrel", found.folder);
  EXPECT_TRUE(found.shortcuts[0]);
  EXPECT_FALSE(found.shortcuts[1]) << "leads to another program";
  EXPECT_FALSE(found.shortcuts[2]) << "the start-up shortcut leads to D:\\Tools\\Pointrel";
  // A run cut short there counts too: its journal is its record.
  Computer interrupted;
  interrupted.files.budget = 20;
  try {
    interrupted.Install("C:\\Pointrel", 1, 0);
  } catch (const fake::Killed&) {
  }
  interrupted.files.budget = -1;
  EXPECT_TRUE(HoldsInstallation(interrupted.files, "C:\\Pointrel"));
  EXPECT_FALSE(interrupted.files.HasFile("C:\\Pointrel\\Uninstall.DAT"));
}

TEST(Installation, WhatADestinationMeans) {
  Computer computer;
  computer.Install("C:\\Pointrel", 1, 0);
  computer.files.AddFolder("D:\\Other");
  computer.Install("D:\\Other", 1, 0);  // an installation the entry does not name
  Installation existing;
  FindInstallation(computer.files, computer.shell, "C:\\Pointrel", "C:\\Pointrel", existing);
  ASSERT_TRUE(existing.found);
  struct Case {
    std::string typed;
    DestinationKind kind;
    const char* canonical;
    const char* reason;  // the start of it
  };
  const Case cases[] = {
      {"C:\\Pointrel", DestinationKind::Upgrade, "C:\\Pointrel", ""},
      {"c:\\POINTREL\\", DestinationKind::Upgrade, "C:\\POINTREL", ""},
      {"D:\\Tools", DestinationKind::Move, "D:\\Tools", ""},
      {"D:\\Other", DestinationKind::Move, "D:\\Other", ""},
      {"C:\\Pointrel\\NORMAL", DestinationKind::Refused, "C:\\Pointrel\\NORMAL",
       "C:\\Pointrel\\NORMAL lies inside the installation of Pointrel in C:\\Pointrel. Install into C:\\Pointrel itself, "
       "or into a folder outside it."},
      {"C:/Pointrel/NORMAL/deeper", DestinationKind::Refused, "C:\\Pointrel\\NORMAL\\deeper", "C:\\Pointrel\\NORMAL\\deeper lies"},
      {"D:\\Other\\x", DestinationKind::Refused, "D:\\Other\\x", "D:\\Other\\x lies inside the installation of Pointrel in D:\\Other."},
      {"C:\\Dot.", DestinationKind::Refused, "",
       "The destination directory format is invalid.\n\nThe name \"Dot.\" ends in a dot or a space"},
      {"CON", DestinationKind::Refused, "", "The destination directory format is invalid.\n\n\"CON\" is the name of a device"},
      {"C:\\" + std::string(250, 'x'), DestinationKind::Refused, "",
       "The destination directory format is invalid.\n\nThe path is too long"},
  };
  for (const Case& c : cases) {
    char canonical[kTextBufferSize];
    char reason[1024];
    EXPECT_EQ(c.kind, CheckDestination(computer.files, c.typed.c_str(), existing, canonical, reason, sizeof reason)) << c.typed;
    if (c.kind != DestinationKind::Refused || c.canonical[0]) {
      EXPECT_STREQ(c.canonical, canonical) << c.typed;
    }
    EXPECT_EQ(0u, std::string(reason).find(c.reason)) << c.typed << ": " << reason;
  }
  // Without an installation found: fresh, or over one that lies there unnamed.
  Installation none;
  char canonical[kTextBufferSize];
  char reason[1024];
  EXPECT_EQ(DestinationKind::Fresh, CheckDestination(computer.files, "E:\\New", none, canonical, reason, sizeof reason));
  EXPECT_EQ(DestinationKind::Upgrade, CheckDestination(computer.files, "D:\\Other", none, canonical, reason, sizeof reason));
  // A drive's root holding an installation: everything on the drive lies inside it.
  computer.Install("E:\\", 0, 0);
  EXPECT_EQ(DestinationKind::Refused, CheckDestination(computer.files, "E:\\Sub", none, canonical, reason, sizeof reason));
  EXPECT_EQ(DestinationKind::Upgrade, CheckDestination(computer.files, "E:", none, canonical, reason, sizeof reason));
}

}  // namespace
