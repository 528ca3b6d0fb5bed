#include "tests/wine/support/cursor_trace.h"

#include <gtest/gtest.h>

#include <sstream>

#include "tests/wine/support/cursor_files.h"
#include "tests/wine/support/wine_test_support.h"
#include "utility/records/cursor_role_table.h"

namespace wine_test {

namespace {
std::vector<TraceLine> ReadWholeTraceCounting(const std::string& folder, int* malformed) {
  std::vector<TraceLine> lines;
  std::istringstream in(ReadFile(folder + "\\trace.txt"));
  std::string text;
  while (std::getline(in, text)) {
    if (!text.empty() && text.back() == '\r') text.pop_back();
    std::istringstream words(text);
    TraceLine line;
    words >> line.ms >> line.event;
    if (line.event == "scheme") {
      words >> line.kind;  // "reloaded" or "refused"
    } else {
      words >> line.id;
    }
    if (line.event == "install") {
      words >> line.kind;
      if (line.kind == "animated") words >> line.side;
      if (line.kind == "static") {
        char comma = 0;
        words >> line.x >> comma >> line.y >> line.file;
        if (comma != ',') words.setstate(std::ios::failbit);
      }
    }
    if (words.fail()) {
      if (malformed) ++*malformed;
      continue;
    }
    lines.push_back(line);
  }
  return lines;
}
}  // namespace

std::vector<TraceLine> ReadTrace(const std::string& folder, int* malformed) {
  std::vector<TraceLine> lines;
  for (const TraceLine& line : ReadWholeTraceCounting(folder, malformed)) {
    if (line.event != "kept") lines.push_back(line);
  }
  return lines;
}

std::vector<TraceLine> ReadWholeTrace(const std::string& folder) { return ReadWholeTraceCounting(folder, nullptr); }

std::vector<TraceLine> SettledTrace(const std::string& folder, size_t atLeast) {
  std::vector<TraceLine> lines = ReadTrace(folder);
  size_t seen = lines.size();
  DWORD still = ::GetTickCount();
  WaitFor([&] {
    lines = ReadTrace(folder);
    if (lines.size() != seen) {
      seen = lines.size();
      still = ::GetTickCount();
    }
    return lines.size() >= atLeast && ::GetTickCount() - still > 400;
  });
  return lines;
}

TracedSide TracedSideOf(const std::string& folder, const TraceLine& line) {
  const std::string bytes = ReadFile(folder + "\\" + line.file);
  if (bytes.size() < 22) return {};
  const auto side = [&](size_t at) { return bytes[at] ? static_cast<int>(static_cast<uint8_t>(bytes[at])) : 256; };
  return {side(6), side(7)};
}

cursor_record::CursorPicture TracedPicture(const std::string& folder, const TraceLine& line) {
  HCURSOR cursor = ::LoadCursorFromFileA((folder + "\\" + line.file).c_str());
  EXPECT_NE(cursor, nullptr) << line.file;
  const cursor_record::CursorPicture picture = PictureOf(cursor);
  if (cursor) ::DestroyCursor(cursor);
  return picture;
}

namespace {
std::vector<unsigned long> IdsOf(const uint8_t (&order)[kRoleCount]) {
  std::vector<unsigned long> ids;
  for (uint8_t role : order) ids.push_back(kCursorRoles[role].id);
  return ids;
}
}  // namespace

std::vector<unsigned long> ExpectedRestoreOrder() {
  uint8_t order[kRoleCount];
  RolesInRestoreOrder(order);
  return IdsOf(order);
}

std::vector<unsigned long> ExpectedInstallOrder() {
  uint8_t order[kRoleCount];
  RolesInInstallOrder(order);
  return IdsOf(order);
}

size_t EndingLineCount() { return 1 + kRoleCount; }

namespace {
bool PlatformHasCursor(unsigned long id) { return ::LoadCursorA(nullptr, MAKEINTRESOURCEA(id)) != nullptr; }
}  // namespace

std::string ExpectedRestoreEvent(unsigned long id) { return PlatformHasCursor(id) ? "default" : "refused"; }

bool PlatformCursorIsMonochrome(unsigned long id) {
  HCURSOR cursor = ::LoadCursorA(nullptr, MAKEINTRESOURCEA(id));
  ICONINFO info;
  if (!cursor || !::GetIconInfo(cursor, &info)) return false;
  const bool monochrome = info.hbmColor == nullptr;
  if (info.hbmColor) ::DeleteObject(info.hbmColor);
  if (info.hbmMask) ::DeleteObject(info.hbmMask);
  return monochrome;
}

std::string ExpectedDefaultInstallEvent(unsigned long id, bool recoloured) {
  if (!PlatformHasCursor(id)) return "refused";
  return recoloured && PlatformCursorIsMonochrome(id) ? "install" : "default";
}

void ExpectRolesRestored(const std::vector<TraceLine>& lines, size_t first) {
  const std::vector<unsigned long> order = ExpectedRestoreOrder();
  ASSERT_GE(lines.size(), first + order.size());
  for (size_t i = 0; i < order.size(); ++i) {
    EXPECT_EQ(lines[first + i].id, order[i]) << i;
    EXPECT_EQ(lines[first + i].event, ExpectedRestoreEvent(order[i])) << order[i];
  }
}

void ExpectDefaultsRestored(const std::vector<TraceLine>& lines, size_t from) {
  ASSERT_GE(lines.size(), from);
  ASSERT_EQ(lines.size() - from, EndingLineCount()) << "the scheme asked for, then every role's default, once";
  EXPECT_EQ(lines[from].event + " " + lines[from].kind, "scheme refused");
  ExpectRolesRestored(lines, from + 1);
}

}  // namespace wine_test
