// Cursor packs imported into the real Pointrel.EXE, in every shape they come in, each made here
// from cursors this test draws: a second start's "/import <path> /quiet" handed to the running
// utility, and the first start's import with its preview. Followed through the system-cursor
// trace: each of the seventeen ids installed with the file the pack's slotting gives (pictures
// compared), or the platform's where the pack gives none or one that cannot serve.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "platform/gdi.h"
#include "tests/wine/support/cursor_files.h"
#include "tests/wine/support/cursor_trace.h"
#include "tests/wine/support/utility_fixture.h"
#include "tests/wine/support/wine_test_support.h"
#include "tests/wine/utility/pack_files.h"
#include "utility/cursor/transformer_win.h"
#include "utility/records/cursor_role_table.h"
#include "utility/records/import_command.h"
#include "utility/resources/resource.h"

using namespace wine_test;
using pack_files::Bytes;
using pack_files::FromText;

namespace {

constexpr DWORD kImportWaitMs = 60000;

// Role k's file in every pack of this test: a shape and colour of its own.
Bytes RoleCursor(int k) {
  const uint32_t rgb = 0x102030u * static_cast<uint32_t>(k + 1) & 0xFFFFFF;
  return StaticCursorFile(ColourPicture(k, rgb), POINT{k % 9, k % 7});
}
Bytes AnimatedRoleCursor(int k) { return AnimatedCursorFile({RoleCursor(k), RoleCursor(k + 20)}); }

// The file names of the classic pack, role by role; App Starting and Busy are animations.
const std::vector<std::string> kClassicFiles = {
    "Normal Select.cur",     "Help Select.cur",       "Working in Background.ani", "Busy.ani",
    "Precision Select.cur",  "Text Select.cur",       "Handwriting.cur",           "Unavailable.cur",
    "Vertical Resize.cur",   "Horizontal Resize.cur", "Diagonal Resize 1.cur",     "Diagonal Resize 2.cur",
    "Move.cur",              "Alternate Select.cur",  "Link Select.cur",           "Location Select.cur",
    "Person Select.cur"};

Bytes FileFor(const std::string& name, int k) {
  return name.size() > 4 && name.substr(name.size() - 4) == ".ani" ? AnimatedRoleCursor(k) : RoleCursor(k);
}

// A scheme line's variables that do not match their slots ("Hand" holds the handwriting file,
// "unavailiable" is misspelt), with a continued line, [Wreg] and copy sections.
std::string ClassicInf(const std::string& name) {
  const char* variables[kRoleCount] = {"pointer", "help", "work", "busy", "cross", "text", "Hand", "unavailiable", "vert",
                                       "horz", "dgn1", "dgn2", "move", "alternate", "link", "pin", "person"};
  // The line goes on after a final backslash, outside the quotes.
  std::string line = "HKCU,\"Control Panel\\Cursors\\Schemes\",\"%SCHEME_NAME%\",, \\\r\n    \"";
  std::string strings;
  for (size_t role = 0; role < kRoleCount; ++role) {
    line += std::string(role ? "," : "") + "%10%\\%CUR_DIR%\\%" + variables[role] + "%";
    strings += std::string(variables[role]) + " = \"" + kClassicFiles[role] + "\"\r\n";
  }
  return "; " + name + " -- right-click this file and choose Install\r\n[Version]\r\nsignature=\"$CHICAGO$\"\r\n"
         "[DefaultInstall]\r\nCopyFiles = Scheme.Cur\r\nAddReg    = Scheme.Reg,Wreg\r\n"
         "[Scheme.Reg]\r\n" + line + "\"\r\n"
         "[Wreg]\r\nHKCU,\"Control Panel\\Cursors\",Arrow,0x00020000,\"%10%\\%CUR_DIR%\\%pointer%\"\r\n"
         "[Strings]\r\nCUR_DIR = \"Cursors\\" + name + "\"\r\nSCHEME_NAME = \"" + name + "\"\r\n" + strings;
}

class PackImport : public wine_test::MainDialog {
 protected:
  void SetUp() override {
    wine_test::MainDialog::SetUp();
    ClearSchemes();
  }
  void TearDown() override {
    ClearSchemes();
    wine_test::MainDialog::TearDown();
  }

  static std::string SchemesFolder() { return SettingsFolder() + "\\Schemes"; }
  // The user's schemes folder gone: each scheme's files, its folder, then the schemes folder,
  // so the settings folder is as other tests expect it.
  static void ClearSchemes() {
    for (const std::string& name : Folders(SchemesFolder())) {
      const std::string scheme = SchemesFolder() + "\\" + name;
      for (const std::string& file : Files(scheme)) RemoveFile(scheme + "\\" + file);
      ::RemoveDirectoryA(scheme.c_str());
    }
    ::RemoveDirectoryA(SchemesFolder().c_str());
  }
  static std::vector<std::string> Entries(const std::string& folder, bool folders) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = ::FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
      const std::string name = found.cFileName;
      if (name == "." || name == "..") continue;
      if (((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) == folders) names.push_back(name);
    } while (::FindNextFileA(search, &found));
    ::FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
  }
  static std::vector<std::string> Folders(const std::string& folder) { return Entries(folder, true); }
  static std::vector<std::string> Files(const std::string& folder) { return Entries(folder, false); }

  // A fresh folder holding `files` (paths inside it, one folder deep at most).
  static std::string MakePack(const char* name, const std::vector<std::pair<std::string, Bytes>>& files) {
    const std::string folder = MakeTempFolder(name);
    for (const auto& file : files) {
      const size_t slash = file.first.find('\\');
      if (slash != std::string::npos) ::CreateDirectoryA((folder + "\\" + file.first.substr(0, slash)).c_str(), nullptr);
      EXPECT_TRUE(WriteBytes(folder + "\\" + file.first, file.second)) << file.first;
    }
    return folder;
  }

  // The import's preview, and the file dialog of "Import..." or the message that refuses a pack:
  // all are titled so; the preview is the one with the last role's reason (an id no common
  // dialog uses).
  static HWND ImportWindowOf(const Program& program, bool preview) {
    for (HWND window : FindTopLevelWindows("Import cursor pack")) {
      if (WindowProcess(window) == program.id() && ::IsWindowVisible(window) &&
          (::GetDlgItem(window, IDC_IMPORT_LAST_REASON) != nullptr) == preview) {
        return window;
      }
    }
    return nullptr;
  }
  static HWND PreviewOf(const Program& program) { return ImportWindowOf(program, true); }
  static HWND ImportBoxOf(const Program& program) { return ImportWindowOf(program, false); }

  // A second start that imports `path` quietly; its exit code.
  DWORD ImportQuietly(const std::string& path) {
    Program second(UtilityIn(folder), folder, Traced(), "/import \"" + path + "\" /quiet");
    EXPECT_TRUE(second.WaitForExit(kImportWaitMs)) << "the second start did not end: " << path;
    return second.ExitCode();
  }

  // The last line of each id from line `from` on: an install, the platform's default put back,
  // or a refusal (Wine has no location pin or person to put back).
  static std::map<unsigned long, TraceLine> LastLines(const std::vector<TraceLine>& lines, size_t from) {
    std::map<unsigned long, TraceLine> last;
    for (size_t i = from; i < lines.size(); ++i) {
      if (lines[i].event == "install" || lines[i].event == "default" || lines[i].event == "refused") last[lines[i].id] = lines[i];
    }
    return last;
  }

  // After line `from`, every role's id installed: with the file `files[role]` of `pack` (a path
  // in it), or, where that is "", as at the start (`platform`).
  void ExpectRoles(size_t from, const std::string& pack, const std::vector<std::string>& files,
                   const std::map<unsigned long, TraceLine>& platform) {
    const std::vector<TraceLine> lines = SettledTrace(traceFolder, from + kRoleCount);
    const std::map<unsigned long, TraceLine> last = LastLines(lines, from);
    for (size_t role = 0; role < kRoleCount; ++role) {
      const unsigned long id = kCursorRoles[role].id;
      const std::string file = role < files.size() ? files[role] : "";
      SCOPED_TRACE(std::string(kCursorRoles[role].registryName) + " <- " + (file.empty() ? "(platform)" : file));
      const auto line = last.find(id);
      ASSERT_NE(line, last.end()) << "not installed again";
      if (file.empty()) {
        const TraceLine& before = platform.at(id);
        EXPECT_EQ(line->second.event, before.event);
        if (before.event == "install" && before.kind == "static") {
          EXPECT_TRUE(TracedPicture(traceFolder, line->second) == TracedPicture(traceFolder, before));
        }
        continue;
      }
      EXPECT_EQ(line->second.event, "install");
      const bool animated = file.substr(file.size() - 4) == ".ani";
      EXPECT_EQ(line->second.kind, animated ? "animated" : "static");
      if (animated || line->second.kind != "static") continue;
      HCURSOR source = platform::LoadCheckedCursorFile((pack + "\\" + file).c_str());
      ASSERT_NE(source, nullptr);
      HCURSOR expected = RecolourCursor(source);
      POINT hotspot;
      const cursor_record::CursorPicture picture = PictureOf(expected, &hotspot);
      platform::ReleaseCursor(expected);
      EXPECT_TRUE(TracedPicture(traceFolder, line->second) == picture);
      EXPECT_EQ(line->second.x, hotspot.x);
      EXPECT_EQ(line->second.y, hotspot.y);
    }
  }
};

TEST_F(PackImport, EveryShapeOfPackIsImportedQuietlyByASecondStart) {
  Program utility(UtilityIn(folder), folder, Traced());
  ASSERT_NE(Start(utility), nullptr);
  // The start installs the platform's cursors for every role: what a role the pack leaves out shows.
  std::vector<TraceLine> lines = SettledTrace(traceFolder, kRoleCount);
  const std::map<unsigned long, TraceLine> platform = LastLines(lines, 0);
  ASSERT_EQ(platform.size(), kRoleCount);

  struct Case {
    const char* what;
    std::string path;  // what /import names
    std::string pack;  // the folder whose files the roles show
    std::vector<std::string> files;
    std::string scheme;
  };
  std::vector<Case> cases;

  // An .inf in UTF-16 whose variable names do not match their slots: the slot's position rules.
  {
    std::vector<std::pair<std::string, Bytes>> files = {{"Install.inf", pack_files::Utf16(ClassicInf("Ocean Breeze"))}};
    for (size_t role = 0; role < kRoleCount; ++role) files.push_back({kClassicFiles[role], FileFor(kClassicFiles[role], int(role))});
    const std::string pack = MakePack("pointrel-pack-utf16", files);
    cases.push_back({"UTF-16 .inf", pack + "\\Install.inf", pack, kClassicFiles, "Ocean Breeze"});
  }
  // Fifteen roles, plain paths, ANSI: the location pin and the person are the platform's.
  {
    const char* names[15] = {"arrow.cur", "help.cur", "appstart.ani", "wait.ani", "cross.cur", "beam.cur", "pen.cur", "no.cur",
                             "ns.cur",    "ew.cur",   "nwse.cur",     "nesw.cur", "move.cur",  "up.cur",   "link.cur"};
    std::string line;
    std::vector<std::pair<std::string, Bytes>> files;
    std::vector<std::string> expected;
    for (int role = 0; role < 15; ++role) {
      line += std::string(role ? "," : "") + "%10%\\Cursors\\Retro\\" + names[role];
      files.push_back({names[role], FileFor(names[role], role + 3)});
      expected.push_back(names[role]);
    }
    files.push_back({"retro.inf", FromText("[Version]\nSignature=\"$Windows NT$\"\n[DefaultInstall]\nAddReg=Scheme.Reg\n"
                                           "[Scheme.Reg]\nHKCU,\"Control Panel\\Cursors\\Schemes\",\"Retro 15\",,\"" + line + "\"\n")});
    const std::string pack = MakePack("pointrel-pack-fifteen", files);
    cases.push_back({"fifteen roles", pack + "\\retro.inf", pack, expected, "Retro 15"});
  }
  // Empty fields, two of them filled by [Wreg].
  {
    std::vector<std::string> expected(kRoleCount);
    expected[kRoleNormal] = "a.cur";
    expected[kRoleHelp] = "help from wreg.cur";
    expected[kRoleAppStarting] = "w.ani";
    expected[kRoleUnavailable] = "no.cur";
    expected[kRolePerson] = "person.cur";
    std::vector<std::pair<std::string, Bytes>> files = {
        {"gaps.inf",
         FromText("[DefaultInstall.NT]\r\nAddReg = Scheme.Reg, Wreg\r\n[Scheme.Reg]\r\n"
                  "HKCU,\"Control Panel\\Cursors\\Schemes\",\"%NAME%\",0x00020000,\"%CUR%\\a.cur,,%CUR%\\w.ani,,,,,%CUR%\\no.cur\"\r\n"
                  "[Wreg]\r\nHKCU,\"Control Panel\\Cursors\",Help,0x00020000,\"%CUR%\\help from wreg.cur\"\r\n"
                  "HKCU,\"Control Panel\\Cursors\",Arrow,0x00020000,\"%CUR%\\not this.cur\"\r\n"
                  "HKCU,\"Control Panel\\Cursors\",Person,0x00020000,\"%CUR%\\person.cur\"\r\n"
                  "[Strings]\r\nCUR = \"%10%\\Cursors\\Gaps\"\r\nNAME = \"Gaps\"\r\n")},
        {"not this.cur", RoleCursor(30)}};
    for (size_t role = 0; role < kRoleCount; ++role) {
      if (!expected[role].empty()) files.push_back({expected[role], FileFor(expected[role], int(role) + 5)});
    }
    const std::string pack = MakePack("pointrel-pack-gaps", files);
    cases.push_back({"empty fields and [Wreg]", pack + "\\gaps.inf", pack, expected, "Gaps"});
  }
  // A .theme: its cursors section by role name, in any order, paths through variables.
  {
    std::string section = "[Control Panel\\Cursors]\r\nDefaultValue=Sunset\r\n";
    std::vector<std::pair<std::string, Bytes>> files;
    std::vector<std::string> expected;
    for (int role = int(kRoleCount) - 1; role >= 0; --role) {
      const std::string name = "t" + std::to_string(role) + ".cur";
      section += std::string(kCursorRoles[role].registryName) + "=%SystemRoot%\\Cursors\\Sunset\\" + name + "\r\n";
      files.push_back({name, RoleCursor(role + 7)});
    }
    for (size_t role = 0; role < kRoleCount; ++role) expected.push_back("t" + std::to_string(role) + ".cur");
    files.push_back({"Sunset.theme", FromText("; A desktop theme\r\n[Theme]\r\nDisplayName=Sunset\r\n" + section +
                                              "[Control Panel\\Desktop]\r\nWallpaper=x.bmp\r\n")});
    const std::string pack = MakePack("pointrel-pack-theme", files);
    cases.push_back({".theme", pack + "\\Sunset.theme", pack, expected, "Sunset"});
  }
  // A folder without an .inf: the words of the names.
  {
    std::vector<std::pair<std::string, Bytes>> files = {{"readme.txt", FromText("Enjoy!")}};
    for (size_t role = 0; role < kRoleCount; ++role) files.push_back({kClassicFiles[role], FileFor(kClassicFiles[role], int(role) + 2)});
    const std::string pack = MakePack("pointrel-pack-names", files);
    cases.push_back({"a folder by names", pack, pack, kClassicFiles, "pointrel-pack-names"});
  }
  // A .zip with deflated files in a folder of its own; the same files are kept beside it to
  // compare the pictures with.
  std::string zipPath;
  {
    std::vector<std::pair<std::string, Bytes>> inner = {{"Neon/Install.inf", FromText(ClassicInf("Neon"))}};
    std::vector<std::pair<std::string, Bytes>> loose;
    for (size_t role = 0; role < kRoleCount; ++role) {
      const Bytes bytes = FileFor(kClassicFiles[role], int(role) + 11);
      inner.push_back({"Neon/" + kClassicFiles[role], bytes});
      loose.push_back({kClassicFiles[role], bytes});
    }
    const std::string pack = MakePack("pointrel-pack-zip", loose);
    zipPath = MakeTempFolder("pointrel-pack-zipped") + "\\Neon pack.zip";
    ASSERT_TRUE(WriteBytes(zipPath, pack_files::Zip(inner)));
    cases.push_back({".zip, deflated", zipPath, pack, kClassicFiles, "Neon"});
  }

  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const size_t from = ReadTrace(traceFolder).size();
    ASSERT_EQ(ImportQuietly(c.path), DWORD(kImportDone));
    ExpectRoles(from, c.pack, c.files, platform);
    const std::string scheme = ReadFile(SchemesFolder() + "\\" + c.scheme + "\\Scheme.INI");
    EXPECT_NE(scheme.find("Name=" + c.scheme + "\r\n"), std::string::npos) << scheme;
  }

  // Importing the archive again gives a second name; both schemes stay.
  {
    const size_t from = ReadTrace(traceFolder).size();
    ASSERT_EQ(ImportQuietly(zipPath), DWORD(kImportDone));
    ExpectRoles(from, cases.back().pack, kClassicFiles, platform);
    EXPECT_NE(ReadFile(SchemesFolder() + "\\Neon (2)\\Scheme.INI").find("Name=Neon (2)\r\n"), std::string::npos);
    EXPECT_EQ(Files(SchemesFolder() + "\\Neon").size(), kRoleCount + 1);
  }

  // An .inf that points outside its pack: only names of files in the pack are ever taken. Good
  // cursors lie where the paths point, and must not be read.
  {
    const std::string windowsFile = WindowsFolder() + "\\outside.cur";
    ASSERT_TRUE(WriteBytes(windowsFile, RoleCursor(40)));
    const std::string parent = MakeTempFolder("pointrel-pack-outside");
    ASSERT_TRUE(WriteBytes(parent + "\\sibling.cur", RoleCursor(41)));
    const std::string pack = parent + "\\pack";
    ::CreateDirectoryA(pack.c_str(), nullptr);
    ASSERT_TRUE(WriteBytes(pack + "\\inside.cur", RoleCursor(42)));
    ASSERT_TRUE(WriteFile(pack + "\\evil.inf",
                          "[DefaultInstall]\nAddReg=Scheme.Reg\n[Scheme.Reg]\n"
                          "HKCU,\"Control Panel\\Cursors\\Schemes\",\"Outside\",,\"..\\..\\windows\\win.ini,"
                          "C:\\Windows\\outside.cur,..\\sibling.cur,%10%\\Cursors\\inside.cur\"\n"));
    const size_t from = ReadTrace(traceFolder).size();
    ASSERT_EQ(ImportQuietly(pack + "\\evil.inf"), DWORD(kImportDone));
    ExpectRoles(from, pack, {"", "", "", "inside.cur"}, platform);
    EXPECT_EQ(Files(SchemesFolder() + "\\Outside"), (std::vector<std::string>{"Scheme.INI", "inside.cur"}));
    RemoveFile(windowsFile);
  }

  // Refused: more than 64 files, more than 20 MB, a path that is no pack; nothing is made.
  {
    std::vector<std::pair<std::string, Bytes>> many;
    for (int i = 0; i < 65; ++i) many.push_back({"c" + std::to_string(i) + ".cur", RoleCursor(i % 17)});
    const std::string crowded = MakePack("pointrel-pack-crowded", many);
    const std::string large = MakeTempFolder("pointrel-pack-large") + "\\large.zip";
    ASSERT_TRUE(WriteBytes(large, Bytes(20 * 1024 * 1024 + 1, 0x50)));
    const std::vector<std::string> before = Folders(SchemesFolder());
    for (const std::string& path : {crowded, large, folder + "\\missing.inf"}) {
      SCOPED_TRACE(path);
      EXPECT_EQ(ImportQuietly(path), DWORD(kImportRefused));
    }
    // Without /quiet the running utility says why.
    Program second(UtilityIn(folder), folder, Traced(), "/import \"" + crowded + "\"");
    HWND box = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (box = ImportBoxOf(utility)) != nullptr; }, kImportWaitMs)) << "no message";
    EXPECT_NE(MessageBoxText(box).find("The pack holds more than 64 files."), std::string::npos) << MessageBoxText(box);
    EXPECT_TRUE(CloseMessageBox(box));
    ASSERT_TRUE(second.WaitForExit(kImportWaitMs));
    EXPECT_EQ(second.ExitCode(), DWORD(kImportRefused));
    EXPECT_EQ(Folders(SchemesFolder()), before);
  }
  // "Import..." opens the file dialog; the pack picked there is previewed, and Cancel imports
  // nothing. A second start without /quiet waits for the preview, and ends with Cancel's code.
  {
    const std::vector<std::string> before = Folders(SchemesFolder());
    HWND dialog = utility.WaitForWindow(kUtilityTitle);
    PostClick(dialog, IDC_IMPORT_SCHEME);
    HWND open = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (open = ImportBoxOf(utility)) != nullptr; })) << "no file dialog";
    // The file name box: the Explorer style's (cmb13) or the older one's (edt1).
    for (int box : {0x47C, 0x480}) ::SetDlgItemTextA(open, box, zipPath.c_str());
    ::PostMessageA(open, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(open, IDOK)));
    HWND preview = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (preview = PreviewOf(utility)) != nullptr; })) << "no preview";
    EXPECT_EQ(Text(::GetDlgItem(preview, IDC_IMPORT_NAME)), "Neon (3)");
    PostClick(preview, IDCANCEL);
    ASSERT_TRUE(WaitFor([&] { return !::IsWindow(preview); }));

    Program second(UtilityIn(folder), folder, Traced(), "/import \"" + zipPath + "\"");
    ASSERT_TRUE(WaitFor([&] { return (preview = PreviewOf(utility)) != nullptr; }, kImportWaitMs)) << "no preview";
    EXPECT_FALSE(second.HasExited()) << "the second start waits for the preview";
    PostClick(preview, IDCANCEL);
    ASSERT_TRUE(second.WaitForExit(kImportWaitMs));
    EXPECT_EQ(second.ExitCode(), DWORD(kImportCancelled));
    EXPECT_EQ(Folders(SchemesFolder()), before);
  }
  EXPECT_EQ(utility.HasExited(), false);
  utility.Kill();
}

// The first start's import, with its preview: the damaged file named with its reason and its
// role left to the platform, another file given to a role, the name changed, a scheme of the
// user's removed from the list, and the scheme chosen on OK.
TEST_F(PackImport, ThePreviewNamesADamagedFileAndTakesTheUsersChoices) {
  // A scheme of the user's from before, to be removed in the preview.
  ::CreateDirectoryA(SchemesFolder().c_str(), nullptr);
  ::CreateDirectoryA((SchemesFolder() + "\\Older").c_str(), nullptr);
  ASSERT_TRUE(WriteFile(SchemesFolder() + "\\Older\\Scheme.INI", "[Scheme]\r\nName=Older\r\nArrow=a.cur\r\n"));
  ASSERT_TRUE(WriteBytes(SchemesFolder() + "\\Older\\a.cur", RoleCursor(3)));

  std::vector<std::pair<std::string, Bytes>> files;
  for (size_t role = 0; role < kRoleCount; ++role) files.push_back({kClassicFiles[role], FileFor(kClassicFiles[role], int(role))});
  Bytes damaged = RoleCursor(5);
  damaged[6] = 0xFF;  // the first image's width and height: past any image the file holds
  damaged[7] = 0xFF;
  damaged.resize(damaged.size() / 2);
  files[kRoleIBeam].second = damaged;
  files.push_back({"Extra Arrow.cur", RoleCursor(25)});
  const std::string pack = MakePack("pointrel-pack-preview", files);

  Program utility(UtilityIn(folder), folder, Traced(), "/import \"" + pack + "\"");
  ASSERT_NE(Start(utility), nullptr);
  HWND preview = WaitForOwnWindow(utility, "Import cursor pack");
  ASSERT_NE(preview, nullptr);
  const size_t from = SettledTrace(traceFolder, kRoleCount).size();
  const std::map<unsigned long, TraceLine> platform = LastLines(ReadTrace(traceFolder), 0);

  // Every role's caption, its file chosen, and the damaged file named with the reason.
  for (size_t role = 0; role < kRoleCount; ++role) {
    SCOPED_TRACE(kCursorRoles[role].registryName);
    EXPECT_EQ(Text(::GetDlgItem(preview, IDC_IMPORT_FIRST_CAPTION + int(role))), kCursorRoles[role].caption);
    HWND choice = ::GetDlgItem(preview, IDC_IMPORT_FIRST_CHOICE + int(role));
    EXPECT_EQ(SendTo(choice, CB_GETCOUNT), LRESULT(kRoleCount + 2)) << "<None> and every cursor file";
    const std::string reason = Text(::GetDlgItem(preview, IDC_IMPORT_FIRST_REASON + int(role)));
    if (role == kRoleIBeam) {
      EXPECT_EQ(reason, "Text Select.cur: This file is damaged: it is no well-formed cursor file.");
      EXPECT_EQ(SendTo(choice, CB_GETCURSEL), 0) << "<None>";
    } else {
      EXPECT_EQ(reason, "");
      EXPECT_NE(SendTo(choice, CB_GETCURSEL), 0);
    }
  }
  EXPECT_EQ(Text(::GetDlgItem(preview, IDC_IMPORT_NAME)), "pointrel-pack-preview");

  // Help gets the extra arrow; the name changes; "Older" is removed from the list.
  HWND help = ::GetDlgItem(preview, IDC_IMPORT_FIRST_CHOICE + kRoleHelp);
  const LRESULT extra = SendTo(help, CB_FINDSTRINGEXACT, WPARAM(-1), reinterpret_cast<LPARAM>("Extra Arrow.cur"));
  ASSERT_GT(extra, 0);
  SendTo(help, CB_SETCURSEL, WPARAM(extra));
  SendTo(preview, WM_COMMAND, MAKEWPARAM(IDC_IMPORT_FIRST_CHOICE + kRoleHelp, CBN_SELCHANGE), reinterpret_cast<LPARAM>(help));
  ::SetWindowTextA(::GetDlgItem(preview, IDC_IMPORT_NAME), "  My pick  ");
  HWND own = ::GetDlgItem(preview, IDC_IMPORT_OWN);
  ASSERT_EQ(SendTo(own, LB_GETCOUNT), 1);
  SendTo(own, LB_SETCURSEL, 0);
  Click(preview, IDC_IMPORT_REMOVE);
  EXPECT_EQ(SendTo(own, LB_GETCOUNT), 0);
  EXPECT_FALSE(FileExists(SchemesFolder() + "\\Older\\Scheme.INI"));
  EXPECT_TRUE(Folders(SchemesFolder()).empty());

  PostClick(preview, IDOK);
  ASSERT_TRUE(WaitFor([&] { return !::IsWindow(preview); }));
  std::vector<std::string> expected = kClassicFiles;
  expected[kRoleHelp] = "Extra Arrow.cur";
  expected[kRoleIBeam] = "";
  ExpectRoles(from, pack, expected, platform);
  const std::string scheme = ReadFile(SchemesFolder() + "\\My pick\\Scheme.INI");
  EXPECT_NE(scheme.find("Name=My pick\r\n"), std::string::npos) << scheme;
  EXPECT_NE(scheme.find("IBeam=\r\n"), std::string::npos) << scheme;
  EXPECT_FALSE(FileExists(SchemesFolder() + "\\My pick\\Text Select.cur"));
  // The scheme box shows it.
  HWND dialog = utility.WaitForWindow(kUtilityTitle);
  HWND box = ::GetDlgItem(dialog, IDC_SCHEME);
  const LRESULT selected = SendTo(box, CB_GETCURSEL);
  wchar_t name[128] = L"";  // asked for wide: Wine hands an ANSI request across processes back wide
  ::SendMessageW(box, CB_GETLBTEXT, WPARAM(selected), reinterpret_cast<LPARAM>(name));
  EXPECT_EQ(Utf8FromWide(name), "My pick");
  utility.Kill();
}

}  // namespace
