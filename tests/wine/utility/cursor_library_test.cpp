// The cursor library lists on folders made here: which files are listed with which tags, the
// order, the fixed entries, the current folder, and stored names finding their entries again.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <string>
#include <vector>

#include "tests/wine/support/handle_census.h"
#include "platform/gdi.h"
#include "tests/wine/support/cursor_files.h"
#include "tests/wine/support/wine_test_support.h"
#include "tests/wine/utility/main_dialog_driver.h"
#include "utility/records/cursor_settings.h"
#include "utility/cursor/cursor_library_win.h"
#include "utility/cursor/library_entry.h"
#include "utility/resources/resource.h"

using namespace wine_test;
using dialog_driver::ListTexts;
using dialog_driver::SelectedText;

namespace {

// A list filled with the entries of a library folder, as the dialog fills its lists.
void FillCursorList(const char* folder, const CListBox& list) {
  ForEachLibraryEntry(
      folder, [](void* control, const char* text) { static_cast<const CListBox*>(control)->AddString(text); },
      const_cast<CListBox*>(&list));
}

enum class Content { MonoCur, ColourCur, MonoAni, ColourAni, Text, Folder };

struct LibraryFile {
  const char* path;  // relative to the library root
  Content content;
};

std::vector<uint8_t> Bytes(Content content, int variant) {
  switch (content) {
    case Content::MonoCur:
      return StaticCursorFile(MonochromePicture(variant), {1, 1});
    case Content::ColourCur:
      return StaticCursorFile(ColourPicture(variant, 0x00C02040), {2, 2});
    case Content::MonoAni:
      return AnimatedCursorFile({StaticCursorFile(MonochromePicture(variant), {0, 0}),
                                 StaticCursorFile(ColourPicture(variant + 1, 0x0000FF00), {0, 0})});
    case Content::ColourAni:
      return AnimatedCursorFile({StaticCursorFile(ColourPicture(variant, 0x000000FF), {0, 0}),
                                 StaticCursorFile(MonochromePicture(variant + 1), {0, 0})});
    case Content::Text:
    case Content::Folder:
      break;
  }
  const char text[] = "not a cursor\r\n";
  return std::vector<uint8_t>(text, text + sizeof text - 1);
}

// A fresh library root holding `files`; returns its path.
std::string MakeLibrary(const char* name, const std::vector<LibraryFile>& files) {
  const std::string root = MakeTempFolder(name);
  const char* folders[] = {"NORMAL", "APPSTART", "BUSY", "IBEAM", "SIZING"};
  for (const char* folder : folders) {
    // MakeTempFolder empties only one level down; an earlier run's sub-folders go here.
    const std::string path = root + "\\" + folder;
    WIN32_FIND_DATAA found;
    HANDLE search = ::FindFirstFileA((path + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
      do {
        const std::string entry = path + "\\" + found.cFileName;
        if (IsDotOrDotDot(found.cFileName)) continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
          ::RemoveDirectoryA(entry.c_str());
        } else {
          ::DeleteFileA(entry.c_str());
        }
      } while (::FindNextFileA(search, &found));
      ::FindClose(search);
    }
    ::RemoveDirectoryA(path.c_str());
  }
  int variant = 0;
  for (const LibraryFile& file : files) {
    const std::string path = root + "\\" + file.path;
    const std::string folder = path.substr(0, path.rfind('\\'));
    ::CreateDirectoryA(folder.c_str(), nullptr);
    if (file.content == Content::Folder) {
      EXPECT_TRUE(::CreateDirectoryA(path.c_str(), nullptr)) << path;
    } else {
      EXPECT_TRUE(WriteBytes(path, Bytes(file.content, ++variant))) << path;
    }
  }
  return root;
}

std::string CurrentFolder() {
  char folder[MAX_PATH];
  const DWORD length = ::GetCurrentDirectoryA(sizeof folder, folder);
  return std::string(folder, length);
}

// Restores the test's own current folder however a test ends.
class FolderGuard {
 public:
  FolderGuard() : saved(CurrentFolder()) {}
  ~FolderGuard() { ::SetCurrentDirectoryA(saved.c_str()); }

 private:
  std::string saved;
};

void SetDefaultSettings() { dialog_driver::DefaultSettings(); }

std::string Join(const std::vector<std::string>& texts) {
  std::string joined;
  for (const std::string& text : texts) {
    std::string shown = text;
    std::replace(shown.begin(), shown.end(), '\t', '|');
    joined += "\"" + shown + "\" ";
  }
  return joined;
}

std::vector<std::string> Sorted(std::vector<std::string> texts) {
  std::sort(texts.begin(), texts.end());
  return texts;
}

// The list is in the platform's case-insensitive order of whole texts.
void ExpectSortedIgnoringCase(const std::vector<std::string>& texts, const char* what) {
  for (size_t i = 1; i < texts.size(); ++i) {
    const int order = ::CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, texts[i - 1].c_str(), -1, texts[i].c_str(), -1);
    EXPECT_LE(order, CSTR_EQUAL) << what << ": " << Join(texts);
  }
}

const std::vector<LibraryFile> kMixedLibrary = {
    {"NORMAL\\lower.cur", Content::MonoCur},     {"NORMAL\\.CUR", Content::MonoCur},
    {"NORMAL\\x.CUR", Content::ColourCur},       {"NORMAL\\x.ANI", Content::MonoAni},
    {"NORMAL\\Globe.ani", Content::ColourAni},   {"NORMAL\\notes.txt", Content::Text},
    {"NORMAL\\ANI", Content::MonoAni},           {"NORMAL\\dir.CUR", Content::Folder},
    {"NORMAL\\fake.CUR", Content::Text},         {"NORMAL\\arrow.CURX", Content::MonoCur},
    {"NORMAL\\Zeta.CUR", Content::MonoCur},      {"NORMAL\\alpha.Cur", Content::ColourCur},
    {"NORMAL\\empty.ani", Content::Text},        {"BUSY\\wait.ANI", Content::MonoAni},
    {"BUSY\\CUR", Content::MonoCur},             {"IBEAM\\beam.cur", Content::MonoCur},
};

const std::vector<std::string> kMixedNormal = {"[sm]\tlower", "[sm]\t",      "[sc]\tx", "[am]\tx",
                                               "[ac]\tGlobe", "[sm]\tZeta", "[sc]\talpha"};

TEST(CursorLibrary, DescribeBuildsTheTagFromTheExtensionAndTheLoadedImage) {
  const std::string root = MakeLibrary("pointrel-describe", kMixedLibrary);
  struct Case {
    const char* path;
    const char* fileName;
    const char* entry;  // nullptr: not a usable cursor
  };
  const Case cases[] = {
      {"NORMAL\\lower.cur", "lower.cur", "[sm]\tlower"},
      {"NORMAL\\x.CUR", "x.CUR", "[sc]\tx"},
      {"NORMAL\\x.ANI", "x.ANI", "[am]\tx"},
      {"NORMAL\\Globe.ani", "Globe.ani", "[ac]\tGlobe"},
      {"NORMAL\\.CUR", ".CUR", "[sm]\t"},
      {"NORMAL\\X.cur", "X.cur", "[sc]\tX"},  // the name given, in its own case
      {"NORMAL\\ANI", "ANI", nullptr},
      {"NORMAL\\arrow.CURX", "arrow.CURX", nullptr},
      {"NORMAL\\fake.CUR", "fake.CUR", nullptr},
      {"NORMAL\\dir.CUR", "dir.CUR", nullptr},
      {"NORMAL\\empty.ani", "empty.ani", nullptr},
      {"NORMAL\\missing.CUR", "missing.CUR", nullptr},
  };
  const handle_census::LiveHandleCounts before = handle_census::CountLiveHandles();
  for (const Case& c : cases) {
    char entry[kTextBufferSize];
    std::memset(entry, '#', sizeof entry);
    const std::string path = root + "\\" + c.path;
    const bool listed = DescribeCursorFile(path.c_str(), c.fileName, entry);
    EXPECT_EQ(listed, c.entry != nullptr) << c.path;
    if (c.entry) {
      EXPECT_STREQ(entry, c.entry) << c.path;
    } else {
      EXPECT_EQ(entry[0], '#') << c.path << ": left untouched";
    }
  }
  const handle_census::LiveHandleCounts after = handle_census::CountLiveHandles();
  EXPECT_EQ(after.cursors, before.cursors) << "each cursor is released at once";
  EXPECT_EQ(after.bitmaps, before.bitmaps);
}

// Template 102 with nothing behind it: the real list boxes, without the utility's dialog.
INT_PTR CALLBACK InertDialog(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

TEST(CursorLibrary, FillListsTheCursorFilesAndComesBackToItsFolder) {
  FolderGuard guard;
  const std::string root = MakeLibrary("pointrel-fill", kMixedLibrary);
  ASSERT_TRUE(::SetCurrentDirectoryA(root.c_str()));
  HWND host = ::CreateDialogParamA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_MAIN), nullptr, &InertDialog, 0);
  ASSERT_NE(host, nullptr);
  CListBox list;
  list.m_hWnd = ::GetDlgItem(host, IDC_LIST_NORMAL);
  const handle_census::LiveHandleCounts before = handle_census::CountLiveHandles();

  FillCursorList(kCursorRoles[kRoleNormal].folder, list);
  EXPECT_EQ(CurrentFolder(), root);
  std::vector<std::string> texts = ListTexts(list.m_hWnd);
  EXPECT_EQ(Sorted(texts), Sorted(kMixedNormal)) << Join(texts);
  ExpectSortedIgnoringCase(texts, "NORMAL");

  // A missing folder adds nothing and leaves the current folder alone.
  ::SendMessageA(list.m_hWnd, LB_RESETCONTENT, 0, 0);
  FillCursorList(kCursorRoles[kRoleAppStarting].folder, list);
  EXPECT_EQ(CurrentFolder(), root);
  EXPECT_EQ(ListTexts(list.m_hWnd).size(), 0u);

  // A long name is listed whole while its full path is one the loader accepts; beyond that
  // it is left out like a file that does not load.
  const std::string longName(180, 'L');
  const std::string tooLong(240, 'T');
  ASSERT_TRUE(WriteBytes(root + "\\IBEAM\\" + longName + ".CUR", Bytes(Content::MonoCur, 9)));
  ASSERT_TRUE(WriteBytes(root + "\\IBEAM\\" + tooLong + ".CUR", Bytes(Content::MonoCur, 9)));
  ASSERT_LT(root.size() + 7 + longName.size() + 4, static_cast<size_t>(MAX_PATH));
  ASSERT_GE(root.size() + 7 + tooLong.size() + 4, static_cast<size_t>(MAX_PATH));
  FillCursorList(kCursorRoles[kRoleIBeam].folder, list);
  EXPECT_EQ(CurrentFolder(), root);
  texts = ListTexts(list.m_hWnd);
  EXPECT_EQ(Sorted(texts), Sorted({"[sm]\tbeam", "[sm]\t" + longName}));

  const handle_census::LiveHandleCounts after = handle_census::CountLiveHandles();
  EXPECT_EQ(after.cursors, before.cursors);
  EXPECT_EQ(after.bitmaps, before.bitmaps);
  ::DestroyWindow(host);
}

TEST(CursorLibrary, DialogListsHoldTheFilesAndFixedEntriesSortedWithTheirStyles) {
  FolderGuard guard;
  const std::string root = MakeLibrary("pointrel-dialog-lists", kMixedLibrary);
  ASSERT_TRUE(::SetCurrentDirectoryA(root.c_str()));
  SetDefaultSettings();
  std::strcpy(current.Normal, "X.ani");
  std::strcpy(current.Busy, "WAIT.ANI");
  std::strcpy(current.Appstart, "<same AS normal>");
  std::strcpy(current.Ibeam, "gone.CUR");
  bool ran = dialog_driver::RunMainDialog([&](MainDialog& dialog) {
    HWND window = dialog.GetSafeHwnd();
    struct Expected {
      int id;
      std::vector<std::string> entries;
      const char* selected;
    };
    std::vector<std::string> normal = kMixedNormal;
    normal.push_back("<Default>");
    const Expected lists[] = {
        {IDC_LIST_NORMAL, normal, "[am]\tx"},
        {IDC_LIST_BUSY, {"[am]\twait", "<Default>"}, "[am]\twait"},
        {IDC_LIST_APPSTART, {"<Default>", "<Same as Normal>"}, "<Same as Normal>"},
        {IDC_LIST_IBEAM, {"[sm]\tbeam", "<Default>"}, "(none)"},
    };
    for (const Expected& expected : lists) {
      HWND list = ::GetDlgItem(window, expected.id);
      const std::vector<std::string> texts = ListTexts(list);
      EXPECT_EQ(Sorted(texts), Sorted(expected.entries)) << expected.id << ": " << Join(texts);
      ExpectSortedIgnoringCase(texts, std::to_string(expected.id).c_str());
      EXPECT_EQ(SelectedText(list), expected.selected) << expected.id;
      const LONG style = ::GetWindowLongA(list, GWL_STYLE);
      const LONG wanted = LBS_SORT | LBS_USETABSTOPS | LBS_NOTIFY | LBS_DISABLENOSCROLL | WS_VSCROLL;
      EXPECT_EQ(style & wanted, wanted) << expected.id;
    }
    EXPECT_EQ(CurrentFolder(), root);
  });
  EXPECT_TRUE(ran);
}

TEST(CursorLibrary, EmptyNormalAndMissingAppStartShowOnlyTheirFixedEntries) {
  FolderGuard guard;
  const std::string root = MakeLibrary("pointrel-empty-lists", {{"BUSY\\wait.ANI", Content::MonoAni}});
  ASSERT_TRUE(::CreateDirectoryA((root + "\\NORMAL").c_str(), nullptr));
  ASSERT_TRUE(::SetCurrentDirectoryA(root.c_str()));
  SetDefaultSettings();
  bool ran = dialog_driver::RunMainDialog([&](MainDialog& dialog) {
    HWND window = dialog.GetSafeHwnd();
    EXPECT_EQ(ListTexts(::GetDlgItem(window, IDC_LIST_NORMAL)), std::vector<std::string>({"<Default>"}));
    EXPECT_EQ(Sorted(ListTexts(::GetDlgItem(window, IDC_LIST_APPSTART))),
              Sorted({"<Default>", "<Same as Normal>"}));
    EXPECT_EQ(ListTexts(::GetDlgItem(window, IDC_LIST_IBEAM)), std::vector<std::string>({"<Default>"}));
    for (int id : {IDC_LIST_NORMAL, IDC_LIST_APPSTART, IDC_LIST_BUSY, IDC_LIST_IBEAM}) {
      EXPECT_EQ(SelectedText(::GetDlgItem(window, id)), "<Default>") << id;
    }
  });
  EXPECT_TRUE(ran);
}

std::string InCase(const std::string& text, int (*change)(int)) {
  std::string changed = text;
  for (char& c : changed) c = static_cast<char>(change(static_cast<unsigned char>(c)));
  return changed;
}

int Unchanged(int c) { return c; }
int Upper(int c) { return std::toupper(c); }
int Lower(int c) { return std::tolower(c); }
int Alternate(int c) {
  static bool upper = false;
  upper = !upper;
  return upper ? std::toupper(c) : std::tolower(c);
}

TEST(CursorLibrary, EveryStoredNameSelectsItsEntryAgainInAnyCase) {
  FolderGuard guard;
  const std::string root = MakeLibrary("pointrel-reselect", kMixedLibrary);
  ASSERT_TRUE(::SetCurrentDirectoryA(root.c_str()));
  SetDefaultSettings();
  bool ran = dialog_driver::RunMainDialog([&](MainDialog& dialog) {
    HWND window = dialog.GetSafeHwnd();
    struct Role {
      int id;
      char* stored;
    };
    const Role roles[] = {{IDC_LIST_NORMAL, current.Normal},
                          {IDC_LIST_APPSTART, current.Appstart},
                          {IDC_LIST_BUSY, current.Busy},
                          {IDC_LIST_IBEAM, current.Ibeam}};
    int (*const cases[])(int) = {Unchanged, Upper, Lower, Alternate};
    int checked = 0;
    for (const Role& role : roles) {
      HWND list = ::GetDlgItem(window, role.id);
      for (const std::string& entry : ListTexts(list)) {
        char stored[kTextBufferSize];
        ASSERT_TRUE(EntryToStoredName(entry.c_str(), stored, sizeof stored));
        for (auto change : cases) {
          const std::string name = InCase(stored, change);
          std::strcpy(role.stored, name.c_str());
          for (const Role& other : roles) ::SendMessageA(::GetDlgItem(window, other.id), LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
          dialog.SelectStoredCursors();
          EXPECT_EQ(SelectedText(list), entry) << role.id << " stored as \"" << name << "\"";
          ++checked;
        }
        std::strcpy(role.stored, "<Default>");
      }
    }
    EXPECT_EQ(checked, 4 * (8 + 2 + 2 + 2));

    // Names that find nothing leave each list's selection as it was.
    HWND normal = ::GetDlgItem(window, IDC_LIST_NORMAL);
    const char* strays[] = {"gone.CUR", "notes.txt", "fake.CUR", "dir.CUR", "<Same as Normal>", "", "x"};
    for (const char* stray : strays) {
      std::strcpy(current.Normal, "Zeta.CUR");
      dialog.SelectStoredCursors();
      ASSERT_EQ(SelectedText(normal), "[sm]\tZeta");
      std::strcpy(current.Normal, stray);
      dialog.SelectStoredCursors();
      EXPECT_EQ(SelectedText(normal), "[sm]\tZeta") << "stored as \"" << stray << "\"";
    }
    // A hand-edited name longer than any path buffer is treated like a file that does not load.
    std::string huge(sizeof current.Normal - 5, 'h');
    huge += ".CUR";
    std::strcpy(current.Normal, huge.c_str());
    dialog.SelectStoredCursors();
    EXPECT_EQ(SelectedText(normal), "[sm]\tZeta");
    EXPECT_EQ(CurrentFolder(), root);
  });
  EXPECT_TRUE(ran);
}

}  // namespace
