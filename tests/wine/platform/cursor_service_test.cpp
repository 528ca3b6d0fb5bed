// The system-cursor service in this process: kept defaults, installs that leave the handle
// valid and the caller's, refusals, the record, and the trace with its cursor files.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "tests/wine/support/handle_census.h"
#include "platform/gdi.h"
#include "platform/system_cursor.h"
#include "platform/system_cursor_ids.h"
#include "tests/wine/support/system_cursor_record.h"
#include "tests/wine/support/cursor_files.h"
#include "tests/wine/support/wine_test_support.h"

using namespace wine_test;
using cursor_record::CursorPicture;
using cursor_record::SystemCursorEvent;
using platform::SystemCursorEventKind;

namespace {

// Eight ids whose defaults the platform has.
constexpr uint32_t kIds[8] = {kIdNormal, kIdAppStarting, kIdBusy, kIdIBeam, kIdSizeNWSE, kIdSizeNESW, kIdSizeWE, kIdSizeNS};

// The trace folder must be named before the service first runs, which is at the first cursor
// call of the process; the record is kept beside it.
std::string& TraceFolder() {
  static std::string folder = [] {
    std::string made = MakeTempFolder("pointrel-service-trace");
    ::SetEnvironmentVariableA("POINTREL_CURSOR_TRACE", made.c_str());
    cursor_record::RecordSystemCursors();
    return made;
  }();
  return folder;
}
const bool kTraceNamed = !TraceFolder().empty();

std::vector<std::string> TraceLines() {
  std::vector<std::string> lines;
  std::istringstream in(ReadFile(TraceFolder() + "\\trace.txt"));
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

// The line without its leading milliseconds, which must be a number.
std::string WithoutTime(const std::string& line) {
  const size_t space = line.find(' ');
  if (space == std::string::npos || space == 0) return "(no time) " + line;
  for (size_t i = 0; i < space; ++i) {
    if (line[i] < '0' || line[i] > '9') return "(bad time) " + line;
  }
  return line.substr(space + 1);
}

class CursorService : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(kTraceNamed);
    folder = MakeTempFolder("pointrel-service-files");
    cursor_record::ClearSystemCursorEvents();
    linesBefore = TraceLines().size();
  }

  HCURSOR LoadWritten(const std::string& name, const std::vector<uint8_t>& bytes) {
    const std::string path = folder + "\\" + name;
    EXPECT_TRUE(WriteBytes(path, bytes));
    HCURSOR cursor = platform::LoadCheckedCursorFile(path.c_str());
    EXPECT_NE(cursor, nullptr) << path;
    return cursor;
  }

  std::vector<std::string> NewTraceLines() {
    std::vector<std::string> all = TraceLines();
    std::vector<std::string> fresh;
    for (size_t i = linesBefore; i < all.size(); ++i) fresh.push_back(WithoutTime(all[i]));
    return fresh;
  }

  std::string folder;
  size_t linesBefore = 0;
};

TEST_F(CursorService, KeptDefaultsAreTheSystemsAndSurviveDestroyCursor) {
  for (DWORD id : kIds) {
    HCURSOR kept = platform::LoadSharedCursor(nullptr, MAKEINTRESOURCEA(id));
    ASSERT_NE(kept, nullptr) << id;
    EXPECT_EQ(platform::LoadSharedCursor(nullptr, MAKEINTRESOURCEA(id)), kept) << id;
    EXPECT_EQ(platform::SystemDefaultCursor(id), kept) << id;
    POINT keptSpot, systemSpot;
    const CursorPicture keptPicture = PictureOf(kept, &keptSpot);
    const CursorPicture systemPicture = PictureOf(::LoadCursorA(nullptr, MAKEINTRESOURCEA(id)), &systemSpot);
    ASSERT_GT(keptPicture.width, 0) << id;
    EXPECT_TRUE(keptPicture == systemPicture) << id;
    EXPECT_EQ(keptSpot.x, systemSpot.x) << id;
    EXPECT_EQ(keptSpot.y, systemSpot.y) << id;
    EXPECT_FALSE(platform::ReleaseCursor(kept)) << "a shared default is never released";
    EXPECT_GT(PictureOf(kept).width, 0) << id;
  }
  EXPECT_EQ(platform::SystemDefaultCursor(12345), nullptr) << "an id the platform has no cursor for";
  // Any other id is kept at its first call, the system's own picture, and only once.
  HCURSOR hand = platform::SystemDefaultCursor(32649);
  ASSERT_NE(hand, nullptr);
  EXPECT_EQ(platform::SystemDefaultCursor(32649), hand) << "kept once";
  EXPECT_TRUE(PictureOf(hand) == PictureOf(::LoadCursorA(nullptr, MAKEINTRESOURCEA(32649))));
}

// An id's default is kept before the first install on it, so a replacement is never taken for
// the default, whichever id it is.
TEST_F(CursorService, TheDefaultIsKeptBeforeTheFirstInstallOnAnId) {
  const CursorPicture help = PictureOf(::LoadCursorA(nullptr, MAKEINTRESOURCEA(kIdHelp)));
  ASSERT_GT(help.width, 0);
  HCURSOR mine = LoadWritten("mine.cur", StaticCursorFile(MonochromePicture(5), {1, 1}));
  ASSERT_NE(mine, nullptr);
  ASSERT_TRUE(platform::InstallSystemCursor(mine, kIdHelp));
  EXPECT_TRUE(PictureOf(platform::SystemDefaultCursor(kIdHelp)) == help) << "the default, not the replacement";
  platform::ReleaseCursor(mine);
}

TEST_F(CursorService, StaticInstallKeepsTheHandleAndRecordsItsImage) {
  const CursorPicture picture = MonochromePicture(3);
  HCURSOR cursor = LoadWritten("mono.cur", StaticCursorFile(picture, {5, 7}));
  ASSERT_NE(cursor, nullptr);
  const auto counts = handle_census::CountLiveHandles();
  ASSERT_TRUE(platform::InstallSystemCursor(cursor, 32513));
  ASSERT_TRUE(platform::InstallSystemCursor(cursor, 32513)) << "the same handle installs again";
  EXPECT_EQ(handle_census::CountLiveHandles().cursors, counts.cursors);
  EXPECT_TRUE(PictureOf(cursor) == picture) << "the handle stays valid and unchanged";

  cursor_record::InstalledSystemCursor installed;
  ASSERT_TRUE(cursor_record::GetInstalledSystemCursor(32513, &installed));
  EXPECT_EQ(installed.handle, cursor);
  EXPECT_FALSE(installed.animated);
  EXPECT_FALSE(installed.isDefault);
  EXPECT_EQ(installed.hotspot.x, 5);
  EXPECT_EQ(installed.hotspot.y, 7);
  EXPECT_FALSE(installed.picture.colour);
  EXPECT_TRUE(installed.picture == picture);

  const std::vector<SystemCursorEvent> events = cursor_record::GetSystemCursorEvents();
  ASSERT_EQ(events.size(), 2u);
  const std::string file = cursor_record::CursorFileName(cursor_record::EncodeCursorFile(picture, {5, 7}));
  for (const SystemCursorEvent& event : events) {
    EXPECT_EQ(event.kind, SystemCursorEventKind::Install);
    EXPECT_EQ(event.id, 32513u);
    EXPECT_EQ(event.handle, cursor);
    EXPECT_EQ(event.file, file);
  }
  const std::vector<std::string> lines = NewTraceLines();
  const std::string expected = "install 32513 static 5,7 " + file;
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0], expected);
  EXPECT_EQ(lines[1], expected);
  platform::ReleaseCursor(cursor);
}

TEST_F(CursorService, TraceFilesHoldTheImageAsInstalledAndLoadBack) {
  struct Case {
    const char* name;
    CursorPicture picture;
    POINT hotspot;
  };
  const Case cases[] = {
      {"monochrome", MonochromePicture(1), {0, 0}},
      {"colour", ColourPicture(2, 0x00FF0000), {31, 31}},
      {"other colour", ColourPicture(2, 0x000000FF), {10, 3}},
  };
  for (const Case& c : cases) {
    HCURSOR cursor = LoadWritten("case.cur", StaticCursorFile(c.picture, c.hotspot));
    ASSERT_NE(cursor, nullptr) << c.name;
    const CursorPicture loaded = PictureOf(cursor);
    ASSERT_TRUE(platform::InstallSystemCursor(cursor, 32512)) << c.name;
    const std::vector<std::string> lines = NewTraceLines();
    ASSERT_FALSE(lines.empty()) << c.name;
    std::istringstream words(lines.back());
    std::string install, id, kind, spot, file;
    words >> install >> id >> kind >> spot >> file;
    EXPECT_EQ(install + " " + id + " " + kind, "install 32512 static") << c.name;
    EXPECT_EQ(spot, std::to_string(c.hotspot.x) + "," + std::to_string(c.hotspot.y)) << c.name;
    const std::string bytes = ReadFile(TraceFolder() + "\\" + file);
    ASSERT_FALSE(bytes.empty()) << c.name << ": " << file;
    EXPECT_EQ(cursor_record::CursorFileName(std::vector<uint8_t>(bytes.begin(), bytes.end())), file)
        << c.name << ": named by its content";
    HCURSOR again = ::LoadCursorFromFileA((TraceFolder() + "\\" + file).c_str());
    ASSERT_NE(again, nullptr) << c.name;
    POINT spotAgain;
    EXPECT_TRUE(PictureOf(again, &spotAgain) == loaded) << c.name;
    EXPECT_EQ(spotAgain.x, c.hotspot.x) << c.name;
    EXPECT_EQ(spotAgain.y, c.hotspot.y) << c.name;
    ::DestroyCursor(again);
    platform::ReleaseCursor(cursor);
    linesBefore = TraceLines().size();
  }
}

TEST_F(CursorService, NullIsRefusedAndChangesNothing) {
  HCURSOR cursor = LoadWritten("mono.cur", StaticCursorFile(MonochromePicture(4), {1, 1}));
  ASSERT_TRUE(platform::InstallSystemCursor(cursor, 32514));
  cursor_record::InstalledSystemCursor before, after;
  ASSERT_TRUE(cursor_record::GetInstalledSystemCursor(32514, &before));
  EXPECT_FALSE(platform::InstallSystemCursor(nullptr, 32514));
  ASSERT_TRUE(cursor_record::GetInstalledSystemCursor(32514, &after));
  EXPECT_EQ(after.handle, before.handle);
  EXPECT_EQ(after.installs, before.installs);
  EXPECT_TRUE(after.picture == before.picture);
  const std::vector<SystemCursorEvent> events = cursor_record::GetSystemCursorEvents();
  ASSERT_EQ(events.size(), 2u);
  EXPECT_EQ(events[1].kind, SystemCursorEventKind::Refused);
  EXPECT_EQ(events[1].id, 32514u);
  const std::vector<std::string> lines = NewTraceLines();
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[1], "refused 32514");
  platform::ReleaseCursor(cursor);
}

TEST_F(CursorService, TheKeptDefaultPutsTheDefaultBackUnderItsOwnIdOnly) {
  HCURSOR cursor = LoadWritten("mono.cur", StaticCursorFile(MonochromePicture(5), {2, 2}));
  ASSERT_TRUE(platform::InstallSystemCursor(cursor, 32650));
  HCURSOR arrow = platform::LoadSharedCursor(nullptr, MAKEINTRESOURCEA(32512));
  HCURSOR appStarting = platform::LoadSharedCursor(nullptr, MAKEINTRESOURCEA(32650));
  ASSERT_TRUE(platform::InstallSystemCursor(appStarting, 32650));
  cursor_record::InstalledSystemCursor installed;
  ASSERT_TRUE(cursor_record::GetInstalledSystemCursor(32650, &installed));
  EXPECT_TRUE(installed.isDefault);
  EXPECT_EQ(installed.handle, appStarting);
  // The arrow's default under another id is an install of the arrow's image there.
  ASSERT_TRUE(platform::InstallSystemCursor(arrow, 32650));
  ASSERT_TRUE(cursor_record::GetInstalledSystemCursor(32650, &installed));
  EXPECT_FALSE(installed.isDefault);
  POINT arrowSpot;
  EXPECT_TRUE(installed.picture == PictureOf(arrow, &arrowSpot));
  const std::vector<std::string> lines = NewTraceLines();
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[1], "default 32650");
  EXPECT_EQ(lines[2].rfind("install 32650 static " + std::to_string(arrowSpot.x) + "," + std::to_string(arrowSpot.y) + " ", 0), 0u)
      << lines[2];
  platform::ReleaseCursor(cursor);
}

TEST_F(CursorService, AnimatedCursorIsInstalledWholeAndTracedAsAnimated) {
  const std::vector<std::vector<uint8_t>> frames = {StaticCursorFile(MonochromePicture(1), {3, 4}),
                                                    StaticCursorFile(MonochromePicture(2), {3, 4})};
  HCURSOR animated = LoadWritten("spin.ani", AnimatedCursorFile(frames));
  ASSERT_NE(animated, nullptr);
  platform::CursorFileOrigin origin;
  ASSERT_TRUE(platform::GetCursorFileOrigin(animated, &origin));
  EXPECT_TRUE(origin.animated);
  EXPECT_NE(std::string(origin.path).find("spin.ani"), std::string::npos) << origin.path;
  ASSERT_TRUE(platform::InstallSystemCursor(animated, 32512));
  cursor_record::InstalledSystemCursor installed;
  ASSERT_TRUE(cursor_record::GetInstalledSystemCursor(32512, &installed));
  EXPECT_TRUE(installed.animated);
  EXPECT_EQ(installed.handle, animated);
  EXPECT_TRUE(installed.picture == MonochromePicture(1)) << "the first frame";
  EXPECT_GT(PictureOf(animated).width, 0) << "the handle stays valid";
  const std::vector<std::string> lines = NewTraceLines();
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0], "install 32512 animated " + std::to_string(PictureOf(animated).width)) << "with its first frame's side";

  // A static file that merely has the extension is not taken for an animation.
  HCURSOR misnamed = LoadWritten("static.ani", StaticCursorFile(MonochromePicture(6), {0, 0}));
  if (misnamed) {
    ASSERT_TRUE(platform::GetCursorFileOrigin(misnamed, &origin));
    EXPECT_FALSE(origin.animated);
    platform::ReleaseCursor(misnamed);
  }
  EXPECT_FALSE(platform::GetCursorFileOrigin(platform::LoadSharedCursor(nullptr, MAKEINTRESOURCEA(32512)), &origin));
  platform::ReleaseCursor(animated);
  EXPECT_FALSE(platform::GetCursorFileOrigin(animated, &origin)) << "forgotten with the handle";
}

TEST_F(CursorService, ManyInstallsHoldAtMostOneCopyPerId) {
  HCURSOR first = LoadWritten("a.cur", StaticCursorFile(MonochromePicture(7), {0, 0}));
  HCURSOR second = LoadWritten("b.cur", StaticCursorFile(ColourPicture(8, 0x0000FF00), {0, 0}));
  const auto counts = handle_census::CountLiveHandles();
  for (int round = 0; round < 500; ++round) {
    for (DWORD id : kIds) platform::InstallSystemCursor(round % 2 ? first : second, id);
  }
  EXPECT_LE(handle_census::CountLiveHandles().copies, 2 * 8 + 3)
      << "the eight kept defaults, at most one held copy per id, the hand an earlier test kept, and the help "
         "default another kept with the one copy it installed";
  // An animation's fresh load that an earlier test left held goes with the first replacement.
  EXPECT_LE(handle_census::CountLiveHandles().cursors, counts.cursors);
  EXPECT_EQ(handle_census::CountLiveHandles().bitmaps, counts.bitmaps);
  EXPECT_TRUE(PictureOf(first) == MonochromePicture(7));
  // Each image's file is written once, however often it is installed.
  int files = 0;
  WIN32_FIND_DATAA found;
  HANDLE search = ::FindFirstFileA((TraceFolder() + "\\*.cur").c_str(), &found);
  ASSERT_NE(search, INVALID_HANDLE_VALUE);
  do ++files;
  while (::FindNextFileA(search, &found));
  ::FindClose(search);
  EXPECT_LE(files, 12) << "one file per distinct image of this test program";
  platform::ReleaseCursor(first);
  platform::ReleaseCursor(second);
}

}  // namespace
