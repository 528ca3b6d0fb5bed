// The system-cursor trace that the utility writes when POINTREL_CURSOR_TRACE names a folder:
// reading it back, waiting for it to settle, and the defaults at the end of a run.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "platform/system_cursor.h"
#include "tests/wine/support/system_cursor_record.h"

namespace wine_test {

struct TraceLine {
  unsigned long ms = 0;
  std::string event;  // "install", "refused", "default", "scheme"
  unsigned long id = 0;
  std::string kind;   // installs: "static" or "animated"; scheme: "reloaded" or "refused"
  int side = 0;       // animated installs: the first frame's width
  int x = 0, y = 0;   // static installs: the hotspot
  std::string file;   // static installs: the image, in the trace folder
};

// The lines of `folder`'s trace.txt that tell of installs, refusals, defaults and schemes; a
// line that does not parse is left out and counted in `malformed` when given.
std::vector<TraceLine> ReadTrace(const std::string& folder, int* malformed = nullptr);
// Every line, the services' "kept <process id>" lines too (their id is the process's).
std::vector<TraceLine> ReadWholeTrace(const std::string& folder);
// The trace once it holds at least `atLeast` lines and has stopped growing for a while.
std::vector<TraceLine> SettledTrace(const std::string& folder, size_t atLeast = 0);
// The size a static install's file holds, as its directory says (the platform's loader would
// scale it to the desktop's size).
struct TracedSide {
  int width = 0, height = 0;
};
TracedSide TracedSideOf(const std::string& folder, const TraceLine& line);
// The image of a static install's file, as this process loads it.
cursor_record::CursorPicture TracedPicture(const std::string& folder, const TraceLine& line);

// Every role's id in the order the platform defaults are put back (the role table's).
std::vector<unsigned long> ExpectedRestoreOrder();
// Every role's id in the order a start installs them (the role table's).
std::vector<unsigned long> ExpectedInstallOrder();
// Whether the platform's own cursor of `id` is two-coloured (recolouring then applies to it).
bool PlatformCursorIsMonochrome(unsigned long id);
// The line traced for `id` left at the platform's cursor: "default", "install" where it is
// recoloured into an image of its own, or "refused" where the platform has no cursor of `id`.
std::string ExpectedDefaultInstallEvent(unsigned long id, bool recoloured);
// How many lines an ending traces: the scheme asked for, then one per role.
size_t EndingLineCount();
// The line an ending traces for `id`: "default", or "refused" where the platform has no cursor
// of that id to put back (Wine has neither the location pin nor the person).
std::string ExpectedRestoreEvent(unsigned long id);
// The lines from `first` on are the defaults put back, every role once in the restore order.
void ExpectRolesRestored(const std::vector<TraceLine>& lines, size_t first);
// Exactly one ending from line `from` to the end: the user's scheme asked for and refused (as
// Wine refuses it), then every role's default in the restore order.
void ExpectDefaultsRestored(const std::vector<TraceLine>& lines, size_t from);

}  // namespace wine_test
