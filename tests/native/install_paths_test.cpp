#include <gtest/gtest.h>

#include <cctype>
#include <cstdint>
#include <cstring>
#include <map>
#include <set>
#include <string>

#include "installer/copy_worker.h"
#include "installer/destination.h"
#include "installer/file_manifest.h"
#include "installer/install_state.h"
#include "installer/shortcuts.h"

namespace {

TEST(InstallState, StartsAsTheFirstPageExpects) {
  InstallState state;
  EXPECT_STREQ("", state.installerPath);
  EXPECT_STREQ("C:\\Pointrel", state.destinationPath);
  EXPECT_EQ(1, state.desktopShortcut);
  EXPECT_EQ(0, state.startAtBoot);
  EXPECT_EQ(0, state.stopRequested.Load());
  EXPECT_EQ(InstallFailure::None, state.failure);
  EXPECT_EQ(0, state.workerDone.Load());
  EXPECT_EQ(1, state.displayTaken.Load());
  EXPECT_EQ(4u, sizeof state.desktopShortcut);
  EXPECT_EQ(4u, sizeof state.failure);
  EXPECT_EQ(0, static_cast<int>(InstallFailure::None));
  EXPECT_EQ(1, static_cast<int>(InstallFailure::DestinationFolder));
  EXPECT_EQ(2, static_cast<int>(InstallFailure::Subfolders));
  EXPECT_EQ(3, static_cast<int>(InstallFailure::CopyFailed));
  EXPECT_EQ(1, state.showProgress);
  EXPECT_STREQ("", state.previousFolder);
  EXPECT_TRUE(IsCanonicalFolder(state.destinationPath)) << "the proposal is in the form the page makes";
}

struct JoinCase {
  const char* folder;
  const char* name;
  const char* expected;
};

TEST(JoinPath, Table) {
  const JoinCase cases[] = {
      {"C:\\Pointrel\\", "NORMAL\\Inflated arrow.CUR", "C:\\Pointrel\\NORMAL\\Inflated arrow.CUR"},
      {"C:\\Pointrel", "Pointrel.EXE", "C:\\Pointrel\\Pointrel.EXE"},
      {"C:\\", "Pointrel.EXE", "C:\\Pointrel.EXE"},
      {"", "NORMAL", "\\NORMAL"},
      {"C:", "x", "C:\\x"},
      {"C:\\a\\\\", "x", "C:\\a\\\\x"},  // only a missing separator is supplied
      {"C:\\a", "", "C:\\a\\"},
  };
  for (const JoinCase& c : cases) {
    char out[kTextBufferSize];
    ASSERT_TRUE(JoinPath(out, sizeof out, c.folder, c.name)) << c.folder << " + " << c.name;
    EXPECT_STREQ(c.expected, out) << c.folder << " + " << c.name;
  }
}

TEST(JoinPath, RefusesWhatDoesNotFit) {
  // 10 + 1 + 5 = 16 characters need 17 bytes.
  char out[17];
  EXPECT_TRUE(JoinPath(out, 17, "0123456789", "abcde"));
  EXPECT_STREQ("0123456789\\abcde", out);
  std::memset(out, 'x', sizeof out);
  EXPECT_FALSE(JoinPath(out, 16, "0123456789", "abcde"));
  EXPECT_STREQ("", out);
  EXPECT_TRUE(JoinPath(out, 16, "0123456789\\", "abcd"));
  EXPECT_FALSE(JoinPath(out, 0, "a", "b"));

  std::string folder(kTextBufferSize - 12, 'f');
  char path[kTextBufferSize];
  EXPECT_TRUE(JoinPath(path, sizeof path, folder.c_str(), std::string(10, 'n').c_str()));
  EXPECT_EQ(kTextBufferSize - 1, std::strlen(path));
  EXPECT_FALSE(JoinPath(path, sizeof path, folder.c_str(), std::string(11, 'n').c_str()));
}

TEST(CopyText, WholeOrNothing) {
  char out[4];
  EXPECT_TRUE(CopyText(out, sizeof out, "abc"));
  EXPECT_STREQ("abc", out);
  EXPECT_FALSE(CopyText(out, sizeof out, "abcd"));
  EXPECT_STREQ("", out);
}

TEST(ComposeSourcePath, TakesTheInstallersFolder) {
  const JoinCase cases[] = {
      {"A:\\WENDSET.EXE", "POINTREL.EXE", "A:\\POINTREL.EXE"},
      {"C:\\medium\\disk 1\\WENDSET.EXE", "HUGEI-~1.CUR", "C:\\medium\\disk 1\\HUGEI-~1.CUR"},
      {"WENDSET.EXE", "POINTREL.EXE", "\\POINTREL.EXE"},
      {"C:\\a\\", "X", "C:\\a\\X"},
  };
  for (const JoinCase& c : cases) {
    char out[kTextBufferSize];
    ASSERT_TRUE(ComposeSourcePath(out, sizeof out, c.folder, c.name)) << c.folder;
    EXPECT_STREQ(c.expected, out) << c.folder;
  }
}

TEST(ComposeSourcePath, RefusesWhatDoesNotFit) {
  char path[kTextBufferSize];
  EXPECT_FALSE(ComposeSourcePath(path, sizeof path, "", "POINTREL.EXE")) << "no installer path, no folder";
  char small[10];
  EXPECT_FALSE(ComposeSourcePath(small, sizeof small, "C:\\x\\W.EXE", "abcd.c"));  // 11 chars
  EXPECT_STREQ("", small);
  EXPECT_TRUE(ComposeSourcePath(small, sizeof small, "C:\\x\\W.EXE", "ab.c"));  // 9 chars
  EXPECT_STREQ("C:\\x\\ab.c", small);
}

TEST(ComposeLinkPath, Table) {
  const JoinCase cases[] = {
      {"C:\\WINDOWS", kDesktopFolder, "C:\\WINDOWS\\DESKTOP\\Pointrel.LNK"},
      {"C:\\WINDOWS\\", kDesktopFolder, "C:\\WINDOWS\\DESKTOP\\Pointrel.LNK"},
      {"C:\\windows", kStartupFolder, "C:\\windows\\Start Menu\\Programs\\StartUp\\Pointrel.LNK"},
      {"", kDesktopFolder, "\\DESKTOP\\Pointrel.LNK"},
  };
  for (const JoinCase& c : cases) {
    char out[kTextBufferSize];
    ASSERT_TRUE(ComposeLinkPath(out, sizeof out, c.folder, c.name)) << c.folder;
    EXPECT_STREQ(c.expected, out) << c.folder;
  }
  char out[kTextBufferSize];
  EXPECT_FALSE(ComposeLinkPath(out, sizeof out, std::string(kTextBufferSize - 22, 'w').c_str(), kStartupFolder));
}

TEST(StripTrailingBackslash, KeepsADriveRoot) {
  const JoinCase cases[] = {
      {"C:\\Pointrel\\", "", "C:\\Pointrel"},
      {"C:\\Pointrel", "", "C:\\Pointrel"},
      {"C:\\", "", "C:\\"},
      {"D:\\", "", "D:\\"},
      {"C:\\a\\", "", "C:\\a"},
      {"C:\\a\\\\", "", "C:\\a\\"},  // one only
  };
  for (const JoinCase& c : cases) {
    char path[kTextBufferSize];
    std::strcpy(path, c.folder);
    StripTrailingBackslash(path);
    EXPECT_STREQ(c.expected, path) << c.folder;
  }
}

TEST(FailureMessage, OnePerFailure) {
  EXPECT_EQ(nullptr, FailureMessage(InstallFailure::None));
  EXPECT_STREQ("Unable to create destination directory", FailureMessage(InstallFailure::DestinationFolder));
  EXPECT_STREQ("Unable to create subdirectories", FailureMessage(InstallFailure::Subfolders));
  EXPECT_STREQ("Error copying application files", FailureMessage(InstallFailure::CopyFailed));
  EXPECT_NE(nullptr, FailureMessage(InstallFailure::PlaceFailed));
  EXPECT_NE(nullptr, FailureMessage(InstallFailure::Interrupted));
  EXPECT_EQ(nullptr, FailureMessage(InstallFailure::Cancelled)) << "a Cancel is said by nothing";
  EXPECT_STREQ("The installation is NOT complete", kNotCompleteMessage);
}

// --- The manifest ---------------------------------------------------------------------------

bool IsShortName(const std::string& name) {
  std::size_t dot = name.find('.');
  if (dot == std::string::npos || dot == 0 || dot > 8 || name.size() - dot - 1 != 3) return false;
  for (char c : name) {
    if (c != '.' && c != '~' && c != '-' && c != '_' && !std::isupper(static_cast<unsigned char>(c)) &&
        !std::isdigit(static_cast<unsigned char>(c))) {
      return false;
    }
  }
  return name.find('.', dot + 1) == std::string::npos;
}

TEST(FileManifest, ShapeOfTheTable) {
  std::map<std::string, int> perFolder;
  std::set<std::string> sources, destinations;
  for (int row = 0; row < kManifestRows; ++row) {
    const std::string source = FileManifest[row].sourceName;
    const std::string destination = FileManifest[row].destinationName;
    EXPECT_TRUE(IsShortName(source)) << row << " " << source;
    EXPECT_TRUE(sources.insert(source).second) << "two rows copy " << source;
    EXPECT_TRUE(destinations.insert(destination).second) << "two rows write " << destination;
    std::size_t cut = destination.find('\\');
    std::string folder = cut == std::string::npos ? "" : destination.substr(0, cut);
    EXPECT_EQ(std::string::npos, destination.find('\\', cut == std::string::npos ? 0 : cut + 1)) << destination;
    EXPECT_TRUE(IsInnerPath(destination.c_str())) << destination << ": no path a record may name";
    ++perFolder[folder];
    // The extension travels with the file.
    EXPECT_EQ(source.substr(source.size() - 4), destination.substr(destination.size() - 4)) << row;
  }
  // The first library's 50, then the schemes' own: two in each new folder, and in the first
  // library's folders one for each scheme that draws its own there.
  const std::map<std::string, int> expected = {
      {"", 2},     {"SIZING", 4 + 4}, {"IBEAM", 4 + 1}, {"BUSY", 5 + 1}, {"APPSTART", 3 + 2}, {"NORMAL", 34},
      {"HELP", 2}, {"CROSS", 2},      {"PEN", 2},     {"NO", 2},       {"MOVE", 2},         {"UPARROW", 2},
      {"HAND", 2}, {"PIN", 2},        {"PERSON", 2}};
  EXPECT_EQ(expected, perFolder);
  EXPECT_STREQ("POINTREL.EXE", FileManifest[0].sourceName);
  EXPECT_STREQ("Pointrel.EXE", FileManifest[0].destinationName);
  EXPECT_STREQ("BUSY\\There is nothing wrong....ANI", FileManifest[13].destinationName);
  EXPECT_STREQ("NORMAL\\Ambidextrous arrow.CUR", FileManifest[18].destinationName) << "the first row into NORMAL";
  EXPECT_STREQ("INFLAT~1.CUR", FileManifest[51].sourceName);
  EXPECT_STREQ("NORMAL\\Inflated arrow.CUR", FileManifest[51].destinationName);
}

// Every byte of the first medium's rows (before the schemes' own), which never change, in row
// order: FNV-1a over each row's two names and their terminators.
TEST(FileManifest, FirstRowsByteExact) {
  std::uint64_t hash = 0xcbf29ce484222325u;
  for (int index = 0; index < kFirstSchemeRow; ++index) {
    const ManifestRow& row = FileManifest[index];
    for (const char* text : {row.sourceName, row.destinationName}) {
      for (const char* c = text;; ++c) {
        hash = (hash ^ static_cast<unsigned char>(*c)) * 0x100000001b3u;
        if (*c == '\0') break;
      }
    }
  }
  EXPECT_EQ(0xa1ba698b435f8da9u, hash);
}

}  // namespace
