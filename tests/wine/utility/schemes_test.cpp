// The real Pointrel.EXE choosing whole schemes, followed through the trace: every role of a
// shipped scheme installed with that scheme's file, a list choice on top making it "<Custom>",
// OK keeping it across a restart, Cancel going back to it, and every ending restoring all roles.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "platform/gdi.h"
#include "tests/wine/support/cursor_files.h"
#include "tests/wine/support/utility_fixture.h"
#include "utility/cursor/schemes.h"
#include "utility/cursor/transformer_win.h"
#include "utility/records/cursor_role_table.h"
#include "utility/records/cursor_settings.h"
#include "utility/resources/resource.h"

using namespace wine_test;

namespace {

// What a role's line of the trace shows: its kind, and for a static image its picture.
struct Shown {
  std::string kind;
  cursor_record::CursorPicture picture;
};

class Schemes : public MainDialogOnLibrary {
 protected:
  void ChooseScheme(HWND dialog, const char* name) {
    HWND combo = ::GetDlgItem(dialog, IDC_SCHEME);
    const LRESULT index = SendTo(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(name));
    ASSERT_GE(index, 0) << name << " is not in the scheme box";
    SendTo(combo, CB_SETCURSEL, static_cast<WPARAM>(index));
    SendTo(dialog, WM_COMMAND, MAKEWPARAM(IDC_SCHEME, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
  }

  // The lines from `from` on install every role once, in the install order, each with the
  // file the shipped scheme `name` gives it (static ones compared pixel by pixel, as the
  // utility recolours them with the default colours: not at all). Returns what each id showed.
  std::map<unsigned long, Shown> ExpectSchemeInstalled(const std::vector<TraceLine>& lines, size_t from, const char* name) {
    std::map<unsigned long, Shown> shown;
    Scheme scheme;
    EXPECT_TRUE(FindShippedScheme(name, &scheme)) << name;
    const std::vector<unsigned long> order = ExpectedInstallOrder();
    EXPECT_EQ(lines.size() - from, order.size());
    if (lines.size() - from != order.size()) return shown;
    // The colours a start without settings takes: black stays black, white stays white.
    current.BlkClr = 15;
    current.WhtClr = 0;
    for (size_t i = 0; i < order.size(); ++i) {
      const TraceLine& line = lines[from + i];
      const int role = RoleOfCursorId(order[i]);
      char path[MAX_PATH];
      EXPECT_TRUE(SchemeCursorPath(scheme, static_cast<size_t>(role), path, sizeof path)) << order[i];
      const std::string file = folder + "\\" + path;
      SCOPED_TRACE(std::to_string(order[i]) + " " + file);
      EXPECT_EQ(line.event + " " + std::to_string(line.id), "install " + std::to_string(order[i]));
      const bool animated = file.size() > 4 && lstrcmpiA(file.c_str() + file.size() - 4, ".ANI") == 0;
      EXPECT_EQ(line.kind, animated ? "animated" : "static");
      Shown& entry = shown[line.id];
      entry.kind = line.kind;
      if (animated || line.kind != "static") continue;
      HCURSOR source = platform::LoadCheckedCursorFile(file.c_str());
      EXPECT_NE(source, nullptr);
      if (!source) continue;
      HCURSOR expected = RecolourCursor(source);
      POINT hotspot;
      const cursor_record::CursorPicture picture = PictureOf(expected, &hotspot);
      platform::ReleaseCursor(expected);
      entry.picture = TracedPicture(traceFolder, line);
      EXPECT_TRUE(entry.picture == picture);
      EXPECT_EQ(line.x, hotspot.x);
      EXPECT_EQ(line.y, hotspot.y);
    }
    return shown;
  }

  std::string SchemeShown(HWND dialog) { return Text(::GetDlgItem(dialog, IDC_SCHEME)); }
};

TEST_F(Schemes, ASchemeInstallsEveryRoleAListChoiceMakesItCustomAndOkKeepsItAcrossARestart) {
  WriteSettings("");
  std::map<unsigned long, Shown> chosen;
  {
    Program program(UtilityIn(folder), folder, Traced());
    HWND dialog = Start(program);
    ASSERT_NE(dialog, nullptr);
    const size_t started = SettledTrace(traceFolder, kRoleCount).size();
    ASSERT_EQ(started, size_t{kRoleCount});
    EXPECT_EQ(SchemeShown(dialog), "<None>");

    ChooseScheme(dialog, "Pointrel");
    std::vector<TraceLine> lines = SettledTrace(traceFolder, started + kRoleCount);
    chosen = ExpectSchemeInstalled(lines, started, "Pointrel");
    EXPECT_EQ(SchemeShown(dialog), "Pointrel");

    // A list choice on top: Normal alone changes, and the box says the whole is the user's own.
    HWND list = ::GetDlgItem(dialog, IDC_LIST_NORMAL);
    LRESULT index = -1;
    for (const char* entry : {"[sm]\tGiant white arrow", "[sc]\tGiant white arrow"}) {
      if (index < 0) index = SendTo(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(entry));
    }
    ASSERT_GE(index, 0);
    SendTo(list, LB_SETCURSEL, static_cast<WPARAM>(index));
    SendTo(dialog, WM_COMMAND, MAKEWPARAM(IDC_LIST_NORMAL, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
    lines = SettledTrace(traceFolder, started + kRoleCount + 1);
    ASSERT_EQ(lines.size(), started + kRoleCount + 1);
    EXPECT_EQ(lines.back().event + " " + std::to_string(lines.back().id), "install 32512");
    chosen[32512] = {lines.back().kind, TracedPicture(traceFolder, lines.back())};
    EXPECT_EQ(SchemeShown(dialog), "<Custom>");

    Click(dialog, IDC_OK);
    EXPECT_TRUE(WaitFor([&] { return ::IsIconic(dialog) != FALSE; }));
    const std::string saved = ReadFile(SettingsFilePath());
    EXPECT_NE(saved.find("\r\nScheme=Pointrel\r\n"), std::string::npos) << saved;
    EXPECT_NE(saved.find("\r\nNormal=Giant white arrow.CUR\r\n"), std::string::npos) << saved;

    // Another scheme, then Cancel: the saved one and the list choice come back, all roles.
    ::ShowWindow(dialog, SW_RESTORE);
    const size_t beforeOther = ReadTrace(traceFolder).size();
    ChooseScheme(dialog, "Pointrel High Visibility");
    lines = SettledTrace(traceFolder, beforeOther + kRoleCount);
    ExpectSchemeInstalled(lines, beforeOther, "Pointrel High Visibility");
    Click(dialog, IDC_CANCEL);
    lines = SettledTrace(traceFolder, beforeOther + 2 * kRoleCount);
    ASSERT_EQ(lines.size(), beforeOther + 2 * kRoleCount);
    for (size_t i = beforeOther + kRoleCount; i < lines.size(); ++i) {
      SCOPED_TRACE(std::to_string(lines[i].id));
      EXPECT_EQ(lines[i].kind, chosen[lines[i].id].kind);
      if (lines[i].kind == "static") {
        EXPECT_TRUE(TracedPicture(traceFolder, lines[i]) == chosen[lines[i].id].picture);
      }
    }
    EXPECT_EQ(SchemeShown(dialog), "<Custom>");

    ::ShowWindow(dialog, SW_RESTORE);
    const size_t beforeEnd = lines.size();
    Click(dialog, IDC_EXIT_RESTORE);
    EXPECT_TRUE(program.WaitForExit());
    ExpectDefaultsRestored(ReadTrace(traceFolder), beforeEnd);
  }

  // The restart installs what OK saved: the scheme with the list choice on top.
  const std::string secondTrace = MakeTempFolder("pointrel-scheme-restart");
  Program program(UtilityIn(folder), folder, {"POINTREL_CURSOR_TRACE=" + secondTrace});
  HWND dialog = Start(program);
  ASSERT_NE(dialog, nullptr);
  const std::vector<TraceLine> lines = SettledTrace(secondTrace, kRoleCount);
  ASSERT_EQ(lines.size(), size_t{kRoleCount});
  for (const TraceLine& line : lines) {
    SCOPED_TRACE(std::to_string(line.id));
    EXPECT_EQ(line.event, "install");
    EXPECT_EQ(line.kind, chosen[line.id].kind);
    if (line.kind == "static") {
      EXPECT_TRUE(wine_test::TracedPicture(secondTrace, line) == chosen[line.id].picture);
    }
  }
  EXPECT_EQ(SchemeShown(dialog), "<Custom>");
  PressKey(dialog, VK_ESCAPE);
  EXPECT_TRUE(program.WaitForExit());
  ExpectDefaultsRestored(ReadTrace(secondTrace), kRoleCount);
}

// A stored scheme name is looked up among the schemes there are, never made into a path: one
// that climbs out of the schemes' folder, or names none, shows the platform's cursors, and OK
// keeps it as it stood.
TEST_F(Schemes, AStoredNameOfNoSchemeThereShowsThePlatformsAndIsKept) {
  const std::string hostile = "..\\..\\..\\Windows\\win.ini";
  WriteSettings("Scheme=" + hostile + "\r\n");
  Program program(UtilityIn(folder), folder, Traced());
  HWND dialog = Start(program);
  ASSERT_NE(dialog, nullptr);
  const std::vector<TraceLine> lines = SettledTrace(traceFolder, kRoleCount);
  ASSERT_EQ(lines.size(), size_t{kRoleCount});
  const std::vector<unsigned long> order = ExpectedInstallOrder();
  for (size_t i = 0; i < kRoleCount; ++i) {
    EXPECT_EQ(lines[i].id, order[i]);
    EXPECT_EQ(lines[i].event, ExpectedDefaultInstallEvent(order[i], false)) << order[i];
  }
  Click(dialog, IDC_OK);
  EXPECT_TRUE(WaitFor([&] { return ::IsIconic(dialog) != FALSE; }));
  const std::string saved = ReadFile(SettingsFilePath());
  EXPECT_NE(saved.find("\r\nScheme=" + hostile + "\r\n"), std::string::npos) << saved;
  ::ShowWindow(dialog, SW_RESTORE);
  PressKey(dialog, VK_ESCAPE);
  EXPECT_TRUE(program.WaitForExit());
}

}  // namespace
