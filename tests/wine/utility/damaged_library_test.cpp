// The real Pointrel.EXE on a library where hundreds of damaged cursor files lie beside the good
// ones, and the settings name a damaged file for every role: it starts, lists only the good
// files, survives every choice, and Escape still puts the defaults back.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "platform/cursor_file.h"
#include "tests/common/riff_edits.h"
#include "tests/wine/support/cursor_trace.h"
#include "tests/wine/support/cursor_files.h"
#include "tests/wine/support/wine_test_support.h"
#include "tests/wine/utility/library_copy.h"
#include "utility/resources/resource.h"

using namespace wine_test;

namespace {

using Bytes = std::vector<uint8_t>;

constexpr int kDamagedPerFolder = 60;

Bytes ReadBytes(const std::string& path) {
  const std::string text = ReadFile(path);
  return Bytes(text.begin(), text.end());
}

void Patch32(Bytes& file, size_t at, uint32_t value) {
  if (at + 4 > file.size()) return;
  for (int i = 0; i < 4; ++i) file[at + i] = static_cast<uint8_t>(value >> (8 * i));
}

size_t Find(const Bytes& file, const char* tag) {
  for (size_t at = 0; at + 4 <= file.size(); ++at) {
    if (std::memcmp(file.data() + at, tag, 4) == 0) return at;
  }
  return file.size();
}

// The file that crashed the platform's loader: a RIFF "ACON" header and the start of a LIST
// whose sizes run past the end, 26 bytes in all.
Bytes ShortAnimated() {
  const char bytes[] = "RIFF\xF0\xFF\x00\x00" "ACON" "LIST\xE0\xFF\x00\x00" "fram" "ic";
  return Bytes(bytes, bytes + 26);
}

// Damage number `n` of a good file: cuts at structural points, and sizes, counts and offsets
// that run past their parents.
Bytes Damaged(const Bytes& good, int n) {
  Bytes file = good;
  const bool animated = Find(good, "ACON") == 8;
  switch (n % 8) {
    case 0: return ShortAnimated();
    case 1: file.resize(file.size() * static_cast<size_t>(1 + n % 7) / 8); break;
    case 2: file.resize(file.size() - 1); break;
    case 3:
      if (animated) {
        Patch32(file, 4, 0xFFFFFFFF);
      } else {
        file[4] = 0xFF, file[5] = 0xFF;  // image count
      }
      break;
    case 4:
      if (animated) {
        Patch32(file, Find(file, "anih") + 12, 0xFFFFFFFF);  // frames
      } else {
        Patch32(file, 18, 0xFFFFFFF0);  // image offset
      }
      break;
    case 5:
      if (animated) {
        Patch32(file, Find(file, "fram") - 4, 0x7FFFFFFF);  // LIST size
      } else {
        Patch32(file, 14, 0x7FFFFFFF);  // image size
      }
      break;
    case 6:
      if (animated) {
        Patch32(file, Find(file, "icon") + 4, 0xFFFFFFFF);  // frame size
      } else if (file.size() >= 22) {
        Patch32(file, file[18] | file[19] << 8 | file[20] << 16 | static_cast<size_t>(file[21]) << 24,
                0xFFFFFFFF);  // the first image's header size
      }
      break;
    default: file.resize(std::min<size_t>(file.size(), 12 + n % 40)); break;
  }
  return file;
}

std::vector<std::string> FileNames(const std::string& folder) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA found;
  HANDLE search = ::FindFirstFileA((folder + "\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(found.cFileName);
  } while (::FindNextFileA(search, &found));
  ::FindClose(search);
  std::sort(names.begin(), names.end());
  return names;
}

// What a list shows of its entries: the names after the tag, the fixed entries as they are.
std::vector<std::string> ShownNames(HWND list) {
  std::vector<std::string> names;
  for (const std::string& text : ListBoxTexts(list)) {
    const size_t tab = text.find('\t');
    names.push_back(tab == std::string::npos ? text : text.substr(tab + 1));
  }
  std::sort(names.begin(), names.end());
  return names;
}

LRESULT SendTo(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  DWORD_PTR result = 0;
  ::SendMessageTimeoutA(window, message, wParam, lParam, SMTO_NORMAL, 5000, &result);
  return static_cast<LRESULT>(result);
}

struct Role {
  const char* folder;
  int listId;
  const char* key;
  std::vector<std::string> fixed;
};

const Role kRoles[] = {
    {"NORMAL", IDC_LIST_NORMAL, "Normal", {"<Default>"}},
    {"APPSTART", IDC_LIST_APPSTART, "Appstart", {"<Default>", "<Same as Normal>"}},
    {"BUSY", IDC_LIST_BUSY, "Busy", {"<Default>"}},
    {"IBEAM", IDC_LIST_IBEAM, "Ibeam", {"<Default>"}},
};

TEST(DamagedLibrary, UtilityListsTheGoodFilesSurvivesEveryChoiceAndRestoresTheDefaults) {
  const std::string root = MakeTempFolder("pointrel-damaged-library");
  ASSERT_EQ(library_copy::CopyGeneratedLibrary(root), library_copy::kLibraryFiles);
  const std::string traceFolder = MakeTempFolder("pointrel-damaged-trace");

  std::string settings = "[Cursors]\r\nSizing=1\r\n";
  std::vector<std::vector<std::string>> goodNames;
  int damagedFiles = 0;
  for (const char* folder : library_copy::kRoleFolders) {
    const std::string path = root + "\\" + folder;
    const std::vector<std::string> good = FileNames(path);
    ASSERT_FALSE(good.empty()) << folder;
    goodNames.push_back(good);
    for (int n = 0; n < kDamagedPerFolder; ++n) {
      const Bytes damaged = Damaged(ReadBytes(path + "\\" + good[static_cast<size_t>(n) % good.size()]), n);
      ASSERT_EQ(cursor_file::CheckCursorFile(damaged.data(), damaged.size()), cursor_file::Kind::Refused)
          << folder << " damage " << n;
      char name[32];
      std::snprintf(name, sizeof name, "Damaged %03d.%s", n, n % 2 ? "CUR" : "ANI");
      ASSERT_TRUE(WriteBytes(path + "\\" + name, damaged));
      ++damagedFiles;
    }
  }
  EXPECT_EQ(damagedFiles, 5 * kDamagedPerFolder);
  // Beside them in BUSY\, the kin of the animation that once crashed the utility at start:
  // short chunks around the frame list, most of them harmless and so listed.
  int kinListed = 0;
  const std::string busy = root + "\\BUSY";
  for (const riff_edits::ShortChunkFile& kin : riff_edits::ShortChunkFiles(ReadBytes(busy + "\\Stop Watch.ANI"))) {
    ASSERT_EQ(cursor_file::CheckCursorFile(kin.file.data(), kin.file.size()) != cursor_file::Kind::Refused, kin.acceptable)
        << kin.name;
    const std::string name = "Kin " + kin.name;
    ASSERT_TRUE(WriteBytes(busy + "\\" + name + ".ANI", kin.file));
    if (kin.acceptable) {
      goodNames[2].push_back(name + ".ANI");
      ++kinListed;
    }
  }
  EXPECT_EQ(kinListed, 40);
  for (const Role& role : kRoles) settings += std::string(role.key) + "=Damaged 000.ANI\r\n";
  RemoveFile(SettingsFilePath());
  ASSERT_TRUE(WriteFile(SettingsFilePath(), settings));

  Program program(UtilityIn(root), root, {"POINTREL_CURSOR_TRACE=" + traceFolder});
  HWND dialog = program.WaitForWindow("Pointrel", 20000);
  ASSERT_NE(dialog, nullptr) << "the utility did not come up";

  for (size_t r = 0; r < 4; ++r) {
    const Role& role = kRoles[r];
    SCOPED_TRACE(role.folder);
    HWND list = ::GetDlgItem(dialog, role.listId);
    std::vector<std::string> expected = role.fixed;
    for (const std::string& name : goodNames[r]) expected.push_back(name.substr(0, name.size() - 4));
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(ShownNames(list), expected);
    EXPECT_EQ(SendTo(list, LB_GETCURSEL, 0, 0), LB_ERR) << "the stored damaged file has no entry to select";
  }

  // Every entry of every list, chosen as a click does.
  int chosen = 0;
  for (const Role& role : kRoles) {
    HWND list = ::GetDlgItem(dialog, role.listId);
    const int count = static_cast<int>(SendTo(list, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
      SendTo(list, LB_SETCURSEL, static_cast<WPARAM>(i), 0);
      SendTo(dialog, WM_COMMAND, MAKEWPARAM(role.listId, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
      ASSERT_FALSE(program.HasExited()) << role.folder << " entry " << i;
      ++chosen;
    }
  }
  EXPECT_EQ(chosen, 50 + 40 + 5) << "the 50 library files of the four lists, the 40 sound kin and the 5 fixed entries";

  const size_t before = SettledTrace(traceFolder).size();
  PressKey(dialog, VK_ESCAPE);
  ASSERT_TRUE(program.WaitForExit(10000));
  ExpectDefaultsRestored(ReadTrace(traceFolder), before);
  RemoveFile(SettingsFilePath());
}

}  // namespace
