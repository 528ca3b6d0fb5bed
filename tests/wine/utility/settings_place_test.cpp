// Where the real Pointrel.EXE keeps its settings and finds its library: the settings in the
// user's application-data folder, taken over once from an older Pointrel's file; a save that
// fails says so, and why where a file stands in the settings folder's place; the library beside
// the program whatever folder it was started from; and stored names read as names in it.
#include <gtest/gtest.h>

#include <shlobj.h>

#include <string>

#include "platform/system_cursor_ids.h"
#include "tests/wine/support/utility_fixture.h"
#include "utility/records/cursor_role_table.h"
#include "tests/wine/support/wine_test_support.h"
#include "tests/wine/utility/library_copy.h"
#include "utility/resources/resource.h"

using namespace wine_test;

namespace {

std::string VirtualStoreFilePath() {
  char local[MAX_PATH] = "";
  EXPECT_TRUE(::SHGetSpecialFolderPathA(nullptr, local, CSIDL_LOCAL_APPDATA, TRUE));
  const std::string windows = WindowsFolder();
  return std::string(local) + "\\VirtualStore" + windows.substr(2) + "\\Pointrel.INI";
}

void MakeFolders(const std::string& file) {
  for (size_t at = file.find('\\', 3); at != std::string::npos; at = file.find('\\', at + 1)) {
    ::CreateDirectoryA(file.substr(0, at).c_str(), nullptr);
  }
}

class SettingsPlace : public ::testing::Test {
 protected:
  void SetUp() override {
    Clean();
    folder = MakeTempFolder("pointrel-settings-place");
  }
  void TearDown() override { Clean(); }
  void Clean() {
    RemoveFile(SettingsFilePath());
    RemoveFile(OlderSettingsFilePath());
    RemoveFile(VirtualStoreFilePath());
  }
  // Starts the utility in its folder, waits for its window, and ends it with Escape.
  void StartAndEscape() {
    Program program(UtilityIn(folder), folder);
    HWND dialog = program.WaitForWindow(kUtilityTitle, 20000);
    ASSERT_NE(dialog, nullptr);
    PressKey(dialog, VK_ESCAPE);
    ASSERT_TRUE(program.WaitForExit());
  }
  std::string folder;
};

TEST_F(SettingsPlace, TakesOverTheWindowsFoldersFileOnceAndLeavesItThere) {
  const std::string older = "[Cursors]\r\nBlink=3\r\nWhtClr=4\r\nNormal=Gone.CUR\r\n";
  ASSERT_TRUE(WriteFile(OlderSettingsFilePath(), older));
  StartAndEscape();
  EXPECT_EQ(ReadFile(SettingsFilePath()), older) << "taken over as it stood";
  EXPECT_EQ(ReadFile(OlderSettingsFilePath()), older) << "the old file stays";

  // Once only: a later change of the old file is not taken over again.
  ASSERT_TRUE(WriteFile(OlderSettingsFilePath(), "[Cursors]\r\nBlink=5\r\n"));
  Program program(UtilityIn(folder), folder);
  HWND dialog = program.WaitForWindow(kUtilityTitle, 20000);
  ASSERT_NE(dialog, nullptr);
  EXPECT_TRUE(IsChecked(dialog, IDC_BLINK_1S_7525)) << "Blink 3, from the settings taken over";
  Click(dialog, IDC_OK);
  ASSERT_TRUE(WaitFor([&] { return ::IsIconic(dialog) != FALSE; }));
  EXPECT_EQ(ValueInFile(ReadFile(SettingsFilePath()), "Blink"), "3");
  EXPECT_EQ(ValueInFile(ReadFile(SettingsFilePath()), "Normal"), "Gone.CUR");
  EXPECT_EQ(ValueInFile(ReadFile(OlderSettingsFilePath()), "Blink"), "5") << "OK writes only the new file";
  ::ShowWindow(dialog, SW_RESTORE);
  PressKey(dialog, VK_ESCAPE);
  EXPECT_TRUE(program.WaitForExit());
}

TEST_F(SettingsPlace, PrefersTheVirtualizedCopyAnOlderPointrelReallyWrote) {
  const std::string store = VirtualStoreFilePath();
  MakeFolders(store);
  ASSERT_TRUE(WriteFile(store, "[Cursors]\r\nBlink=2\r\n"));
  ASSERT_TRUE(WriteFile(OlderSettingsFilePath(), "[Cursors]\r\nBlink=4\r\n"));
  StartAndEscape();
  EXPECT_EQ(ValueInFile(ReadFile(SettingsFilePath()), "Blink"), "2");
}

TEST_F(SettingsPlace, AFirstStartWithNothingToTakeOverWritesNothing) {
  StartAndEscape();
  EXPECT_FALSE(FileExists(SettingsFilePath()));
}

TEST_F(SettingsPlace, ASaveThatFailsSaysSoNamingTheFileAndTheUtilityRunsOn) {
  ASSERT_TRUE(WriteFile(SettingsFilePath(), "[Cursors]\r\nBlink=0\r\n"));
  Program program(UtilityIn(folder), folder);
  HWND dialog = program.WaitForWindow(kUtilityTitle, 20000);
  ASSERT_NE(dialog, nullptr);
  // Held open without sharing, the file cannot be written (a read-only file would be, for root).
  HANDLE held = ::CreateFileA(SettingsFilePath().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  PostClick(dialog, IDC_OK);
  HWND message = WaitForOwnWindow(program, "Pointrel Settings");
  ASSERT_NE(message, nullptr) << "no word that the settings were not saved";
  const std::string text = MessageBoxText(message);
  EXPECT_NE(text.find(SettingsFilePath()), std::string::npos) << text;
  EXPECT_TRUE(CloseMessageBox(message));
  EXPECT_TRUE(WaitFor([&] { return ::IsIconic(dialog) != FALSE; })) << "OK goes on as usual";
  ::CloseHandle(held);
  EXPECT_FALSE(program.HasExited());
  EXPECT_EQ(ValueInFile(ReadFile(SettingsFilePath()), "Blink"), "0");
  ::ShowWindow(dialog, SW_RESTORE);
  PressKey(dialog, VK_ESCAPE);
  EXPECT_TRUE(program.WaitForExit());
}

// A file where the settings folder belongs: the settings are not put in the Windows folder in
// silence; the save fails and its message says what is in the way.
TEST_F(SettingsPlace, ASettingsFolderThatIsAFileIsNamedWhenTheSaveFails) {
  const std::string settingsFolder = SettingsFolder();
  struct FolderBack {
    std::string path;
    ~FolderBack() {
      ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
      ::DeleteFileA(path.c_str());
      ::CreateDirectoryA(path.c_str(), nullptr);
    }
  } back{settingsFolder};
  RemoveFile(RunMarkerPath());
  ASSERT_TRUE(::RemoveDirectoryA(settingsFolder.c_str())) << "the settings folder is not empty";
  ASSERT_TRUE(WriteFile(settingsFolder, "not a folder"));
  Program program(UtilityIn(folder), folder);
  HWND dialog = program.WaitForWindow(kUtilityTitle, 20000);
  ASSERT_NE(dialog, nullptr);
  PostClick(dialog, IDC_OK);
  HWND message = WaitForOwnWindow(program, "Pointrel Settings");
  ASSERT_NE(message, nullptr) << "no word that the settings were not saved";
  const std::string text = MessageBoxText(message);
  EXPECT_NE(text.find(settingsFolder + " is a file, not a folder."), std::string::npos) << text;
  EXPECT_NE(text.find(settingsFolder + "\\Pointrel.INI"), std::string::npos) << text;
  EXPECT_TRUE(CloseMessageBox(message));
  ::ShowWindow(dialog, SW_RESTORE);
  PressKey(dialog, VK_ESCAPE);
  EXPECT_TRUE(program.WaitForExit());
  EXPECT_FALSE(FileExists(OlderSettingsFilePath())) << "nothing went to the Windows folder instead";
  EXPECT_EQ(ReadFile(settingsFolder), "not a folder");
}

TEST_F(SettingsPlace, TheLibraryIsFoundBesideTheProgramWhateverTheWorkingFolder) {
  ASSERT_EQ(library_copy::CopyGeneratedLibrary(folder), library_copy::kLibraryFiles);
  Program program(UtilityIn(folder), "C:\\");
  HWND dialog = program.WaitForWindow(kUtilityTitle, 20000);
  ASSERT_NE(dialog, nullptr);
  // The 34 NORMAL files and "<Default>"; started from C:\ it used to show "<Default>" alone.
  EXPECT_EQ(SendTo(::GetDlgItem(dialog, IDC_LIST_NORMAL), LB_GETCOUNT), 35);
  EXPECT_EQ(SendTo(::GetDlgItem(dialog, IDC_LIST_BUSY), LB_GETCOUNT), 7) << "the 6 BUSY files and \"<Default>\"";
  PressKey(dialog, VK_ESCAPE);
  EXPECT_TRUE(program.WaitForExit());
}

// A program folder outside the ANSI code page ("C:\Программы\Pointrel"): the program's own
// path reaches it whole (UTF-8 for every "A" call, from its manifest), so it finds its library
// beside it and saves its settings.
TEST_F(SettingsPlace, AProgramFolderOutsideTheAnsiCodePageWorks) {
  const std::wstring root = L"C:\\\u041f\u0440\u043e\u0433\u0440\u0430\u043c\u043c\u044b";
  const std::wstring home = root + L"\\Pointrel";
  ::CreateDirectoryW(root.c_str(), nullptr);
  ::CreateDirectoryW(home.c_str(), nullptr);
  int copied = 0, there = 0;
  for (const char* role : library_copy::kRoleFolders) {
    const std::wstring to = home + L"\\" + WideFromUtf8(role);
    ::CreateDirectoryW(to.c_str(), nullptr);
    const std::string from = library_copy::GeneratedLibrary() + "/" + role;
    WIN32_FIND_DATAA found;
    HANDLE search = ::FindFirstFileA((from + "/*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) continue;
    do {
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
      ++there;
      copied += ::CopyFileW(WideFromUtf8(from + "/" + found.cFileName).c_str(),
                            (to + L"\\" + WideFromUtf8(found.cFileName)).c_str(), FALSE) ? 1 : 0;
    } while (::FindNextFileA(search, &found));
    ::FindClose(search);
  }
  ASSERT_GT(there, 0);
  ASSERT_EQ(copied, there);
  const std::wstring program = home + L"\\Pointrel.EXE";
  ASSERT_TRUE(::CopyFileW(WideFromUtf8(BuiltUtility()).c_str(), program.c_str(), FALSE));

  Program utility(Utf8FromWide(program), "C:\\");
  HWND dialog = utility.WaitForWindow(kUtilityTitle, 20000);
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(SendTo(::GetDlgItem(dialog, IDC_LIST_NORMAL), LB_GETCOUNT), 35) << "the library beside the program";
  Click(dialog, IDC_START_MINIMIZED);
  Click(dialog, IDC_OK);
  ASSERT_TRUE(WaitFor([&] { return ::IsIconic(dialog) != FALSE; }));
  EXPECT_EQ(ValueInFile(ReadFile(SettingsFilePath()), "StartMinimized"), "1");
  ::ShowWindow(dialog, SW_RESTORE);
  PressKey(dialog, VK_ESCAPE);
  EXPECT_TRUE(utility.WaitForExit());
}

}  // namespace

namespace {

// A file's last access is set a long way back, so that any read of it (the file system notes
// reads of files not read since their last change) moves it on.
void SetReadLongAgo(const std::string& path) {
  HANDLE file = ::CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE) << path;
  SYSTEMTIME then = {2001, 1, 1, 1, 0, 0, 0, 0};
  FILETIME longAgo;
  ::SystemTimeToFileTime(&then, &longAgo);
  EXPECT_TRUE(::SetFileTime(file, nullptr, &longAgo, nullptr)) << path;
  ::CloseHandle(file);
}

bool ReadSinceLongAgo(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data = {};
  if (!::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return false;
  SYSTEMTIME accessed;
  ::FileTimeToSystemTime(&data.ftLastAccessTime, &accessed);
  return accessed.wYear > 2001;
}

// Stored names that are not plain file names of their role's folder, each with a well-formed
// cursor where it points: none is opened (read) or installed, each role shows the default, each
// list shows no choice, and OK writes every name back as it stood.
TEST_F(MainDialogOnLibrary, StoredNamesOutsideTheirFolderAreNeverOpenedAndKeptAsTheyStood) {
  const std::string source = folder + "\\NORMAL\\Giant white arrow.CUR";
  const std::string outside[] = {folder + "\\outside.CUR", WindowsFolder() + "\\system32\\pointrel-outside.cur",
                                 folder + "\\read here.CUR"};
  for (const std::string& path : outside) {
    ASSERT_TRUE(::CopyFileA(source.c_str(), path.c_str(), FALSE)) << path;
    SetReadLongAgo(path);
  }
  // The file system shows reads: a file this test reads itself moves on.
  ReadFile(outside[2]);
  ASSERT_TRUE(ReadSinceLongAgo(outside[2])) << "reads leave no mark here";
  const std::string absolute = folder + "\\outside.CUR";
  // From NORMAL\ up to the drive's root, then down to the platform's own folder.
  std::string up = "..\\";
  for (char c : folder.substr(3)) up += c == '\\' ? "..\\" : "";
  const std::string stored[] = {"..\\outside.CUR", up + "..\\" + WindowsFolder().substr(3) + "\\system32\\pointrel-outside.cur",
                                "CON.CUR", absolute};
  // The nine other roles read their names by the same rules: two of them stand for all.
  WriteSettings("Normal=" + stored[0] + "\r\nAppstart=" + stored[1] + "\r\nBusy=" + stored[2] + "\r\nIbeam=" + stored[3] +
                "\r\nHelp=" + stored[0] + "\r\nHand=" + stored[1] + "\r\n");
  Program program(UtilityIn(folder), folder, Traced());
  HWND dialog = Start(program);
  ASSERT_NE(dialog, nullptr);
  const std::vector<TraceLine> lines = SettledTrace(traceFolder, kRoleCount - 4);
  for (const TraceLine& line : lines) {
    const bool named = line.id == kIdNormal || line.id == kIdAppStarting || line.id == kIdBusy || line.id == kIdIBeam ||
                       line.id == kIdHelp || line.id == kIdHand;
    EXPECT_FALSE(named && line.event == "install") << "a role with such a name installed: " << line.id;
  }
  for (int list : {IDC_LIST_NORMAL, IDC_LIST_APPSTART, IDC_LIST_BUSY, IDC_LIST_IBEAM}) {
    EXPECT_EQ(SendTo(::GetDlgItem(dialog, list), LB_GETCURSEL), LB_ERR) << list;
  }
  PostClick(dialog, IDC_OK);
  ASSERT_TRUE(WaitFor([&] { return ::IsIconic(dialog) != FALSE; }));
  const std::string saved = ReadFile(SettingsFilePath());
  const char* keys[] = {"Normal", "Appstart", "Busy", "Ibeam"};
  for (int i = 0; i < 4; ++i) EXPECT_EQ(ValueInFile(saved, keys[i]), stored[i]) << keys[i];
  EXPECT_EQ(ValueInFile(saved, "Help"), stored[0]);
  EXPECT_EQ(ValueInFile(saved, "Hand"), stored[1]);
  ::ShowWindow(dialog, SW_RESTORE);
  PressKey(dialog, VK_ESCAPE);
  EXPECT_TRUE(program.WaitForExit());
  EXPECT_FALSE(ReadSinceLongAgo(outside[0])) << outside[0] << " was read";
  EXPECT_FALSE(ReadSinceLongAgo(outside[1])) << outside[1] << " was read";
  ::DeleteFileA(outside[1].c_str());
}

}  // namespace
