// The real Pointrel.EXE on the generated library, followed from outside through the
// system-cursor trace: what the start installs, what a choice in a list installs, and the
// cursor files the trace names holding the images as installed.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include "platform/gdi.h"
#include "tests/wine/support/cursor_files.h"
#include "tests/wine/support/cursor_trace.h"
#include "tests/wine/support/wine_test_support.h"
#include "tests/wine/utility/library_copy.h"
#include "utility/records/cursor_role_table.h"
#include "utility/records/cursor_settings.h"
#include "utility/cursor/transformer_win.h"
#include "utility/resources/resource.h"

using namespace wine_test;

namespace {

class CursorTrace : public ::testing::Test {
 protected:
  void SetUp() override {
    root = MakeTempFolder("pointrel-trace-library");
    ASSERT_EQ(library_copy::CopyGeneratedLibrary(root), library_copy::kLibraryFiles);
    traceFolder = MakeTempFolder("pointrel-trace-out");
    RemoveFile(SettingsFilePath());
    RemoveFile(RunMarkerPath());  // a test that killed the utility leaves it
  }
  void TearDown() override { RemoveFile(SettingsFilePath()); }

  void WriteSettings(const std::string& cursors) {
    ASSERT_TRUE(WriteFile(SettingsFilePath(), "[Cursors]\r\n" + cursors));
  }

  // Waits until the trace holds at least `count` lines.
  std::vector<TraceLine> WaitForLines(size_t count) {
    std::vector<TraceLine> lines;
    int malformed = 0;
    WaitFor([&] {
      malformed = 0;
      lines = ReadTrace(traceFolder, &malformed);
      return lines.size() >= count;
    });
    EXPECT_EQ(malformed, 0) << "lines of the trace that do not parse";
    return lines;
  }

  cursor_record::CursorPicture TracedPicture(const TraceLine& line) { return wine_test::TracedPicture(traceFolder, line); }

  std::string root;
  std::string traceFolder;
};

TEST_F(CursorTrace, StartAndAChoiceAreTracedWithTheirImages) {
  WriteSettings(
      "Normal=Inflated arrow.CUR\r\nAppstart=<Same as Normal>\r\nBusy=Stop Watch.ANI\r\n"
      "Ibeam=Large I-beam.CUR\r\nSizing=1\r\nBlkClr=1\r\nWhtClr=6\r\nMirrorNormal=1\r\n");
  Program program(UtilityIn(root), root, {"POINTREL_CURSOR_TRACE=" + traceFolder});
  HWND dialog = program.WaitForWindow("Pointrel");
  ASSERT_NE(dialog, nullptr);

  // The start: every role once, in the install order: Normal, App Starting (following it),
  // Busy, I-Beam, the four large arrows, then the other nine at the platform's cursor.
  const std::vector<unsigned long> startIds = ExpectedInstallOrder();
  std::vector<TraceLine> lines = WaitForLines(kRoleCount);
  ASSERT_EQ(lines.size(), size_t{kRoleCount});
  unsigned long previousMs = 0;
  for (size_t i = 0; i < kRoleCount; ++i) {
    // The settings' colours recolour the nine others where they are two-coloured.
    EXPECT_EQ(lines[i].event, i < 8 ? "install" : ExpectedDefaultInstallEvent(startIds[i], true)) << i;
    EXPECT_EQ(lines[i].id, startIds[i]) << i;
    EXPECT_GE(lines[i].ms, previousMs) << i;
    previousMs = lines[i].ms;
  }
  EXPECT_EQ(startIds[2], 32514u);
  EXPECT_EQ(lines[2].kind, "animated");
  for (size_t i = 0; i < kRoleCount; ++i) {
    if (i != 2 && lines[i].event == "install") {
      EXPECT_EQ(lines[i].kind, "static") << i;
    }
  }

  // Each static image, loaded back from its trace file, is the library file recoloured (and
  // for Normal mirrored) with the settings' colours.
  current.BlkClr = 1;
  current.WhtClr = 6;
  struct Check {
    size_t line;
    const char* file;
    bool mirror;
  };
  const Check checks[] = {{0, "NORMAL\\Inflated arrow.CUR", true},
                          {1, "NORMAL\\Inflated arrow.CUR", false},
                          {3, "IBEAM\\Large I-beam.CUR", false},
                          {7, "SIZING\\BIG_NS.CUR", false}};
  for (const Check& check : checks) {
    HCURSOR source = platform::LoadCheckedCursorFile((root + "\\" + check.file).c_str());
    ASSERT_NE(source, nullptr) << check.file;
    HCURSOR expected = RecolourCursor(source);
    if (check.mirror) expected = MirrorCursor(expected);
    POINT hotspot;
    const cursor_record::CursorPicture picture = PictureOf(expected, &hotspot);
    platform::ReleaseCursor(expected);
    EXPECT_TRUE(TracedPicture(lines[check.line]) == picture) << check.file;
    EXPECT_EQ(lines[check.line].x, hotspot.x) << check.file;
    EXPECT_EQ(lines[check.line].y, hotspot.y) << check.file;
  }
  EXPECT_NE(lines[0].file, lines[1].file) << "mirrored is another image";

  // A choice made in the Normal list from outside: an animation, followed by App Starting.
  HWND list = ::GetDlgItem(dialog, IDC_LIST_NORMAL);
  const char kAnimated[] = "[am]\tSpinning Arrow";
  const LRESULT index = ::SendMessageA(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(kAnimated));
  ASSERT_GE(index, 0);
  ::SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
  ::SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_LIST_NORMAL, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
  lines = WaitForLines(kRoleCount + 2);
  ASSERT_EQ(lines.size(), kRoleCount + 2u);
  EXPECT_EQ(lines[kRoleCount].event + " " + std::to_string(lines[kRoleCount].id) + " " + lines[kRoleCount].kind,
            "install 32650 animated");
  EXPECT_EQ(lines[kRoleCount + 1].event + " " + std::to_string(lines[kRoleCount + 1].id) + " " + lines[kRoleCount + 1].kind,
            "install 32512 animated");
  EXPECT_FALSE(IsChecked(dialog, IDC_MIRROR_NORMAL));
  EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(dialog, IDC_MIRROR_NORMAL)));

  // "<Default>" for Busy: the kept default through the transformer, installed once.
  HWND busy = ::GetDlgItem(dialog, IDC_LIST_BUSY);
  const LRESULT defaultIndex = ::SendMessageA(busy, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("<Default>"));
  ASSERT_GE(defaultIndex, 0);
  ::SendMessageA(busy, LB_SETCURSEL, static_cast<WPARAM>(defaultIndex), 0);
  ::SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_LIST_BUSY, LBN_SELCHANGE), reinterpret_cast<LPARAM>(busy));
  lines = WaitForLines(kRoleCount + 3);
  ASSERT_EQ(lines.size(), kRoleCount + 3u);
  EXPECT_EQ(lines[kRoleCount + 2].id, 32514u);
  program.Kill();
}

TEST_F(CursorTrace, FilesGoneMissingInstallNothingAndNoTraceWithoutTheFolder) {
  ASSERT_TRUE(::DeleteFileA((root + "\\IBEAM\\Huge I-beam.CUR").c_str()));
  WriteSettings("Ibeam=Huge I-beam.CUR\r\n");
  {
    Program program(UtilityIn(root), root, {"POINTREL_CURSOR_TRACE=" + traceFolder});
    HWND dialog = program.WaitForWindow("Pointrel");
    ASSERT_NE(dialog, nullptr);
    // Every role but I-Beam installs once, in the install order; the stored I-Beam name
    // selects nothing, so I-Beam installs nothing.
    std::vector<unsigned long> ids = ExpectedInstallOrder();
    ids.erase(std::find(ids.begin(), ids.end(), 32513ul));
    std::vector<TraceLine> lines = WaitForLines(ids.size());
    ASSERT_EQ(lines.size(), ids.size());
    for (size_t i = 0; i < ids.size(); ++i) EXPECT_EQ(lines[i].id, ids[i]) << i;
    // A listed file removed afterwards: refused, and nothing else changes.
    ASSERT_TRUE(::DeleteFileA((root + "\\NORMAL\\Inflated arrow.CUR").c_str()));
    HWND list = ::GetDlgItem(dialog, IDC_LIST_NORMAL);
    const LRESULT index = ::SendMessageA(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                         reinterpret_cast<LPARAM>("[sc]\tInflated arrow"));
    ASSERT_GE(index, 0);
    ::SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
    ::SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_LIST_NORMAL, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
    lines = WaitForLines(ids.size() + 1);
    ASSERT_EQ(lines.size(), ids.size() + 1);
    EXPECT_EQ(lines.back().event + " " + std::to_string(lines.back().id), "refused 32512");
    program.Kill();
  }
  // A trace variable that names no folder writes nothing anywhere.
  const std::string missing = traceFolder + "\\missing";
  Program program(UtilityIn(root), root, {"POINTREL_CURSOR_TRACE=" + missing});
  ASSERT_NE(program.WaitForWindow("Pointrel"), nullptr);
  EXPECT_FALSE(FileExists(missing));
  EXPECT_FALSE(FileExists(missing + "\\trace.txt"));
  program.Kill();
}

}  // namespace
