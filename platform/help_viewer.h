// The help viewer: current Windows has no viewer for the old help files, so help files are ours
// (plain text with topics, platform/help_text.h) and are shown in a help window of our own.
#pragma once
#include <windows.h>

#include "platform/help_text.h"

namespace platform {

// Reads and parses the help file at `path`; false when it is missing, too large or has no topic.
bool LoadHelpFile(const char* path, HelpDocument* document);

// In place of the platform's WinHelpA. HELP_CONTEXT opens `helpFile` in the help window at topic
// number `data` (counted from 0; the first topic for a number it does not have), and brings the
// window forward when it is open already; HELP_CONTENTS and HELP_FINDER open the first topic.
// HELP_QUIT closes the help window, if one is open. FALSE when the file cannot be shown or the
// command is not one of these.
BOOL WinHelpA(HWND window, const char* helpFile, UINT command, ULONG_PTR data);

// The help window while it is open, else null. Its list (id kHelpTopicListId) holds the topic
// titles; its read-only text field (kHelpTextId) the selected topic.
HWND GetHelpWindow();
constexpr int kHelpTopicListId = 100;
constexpr int kHelpTextId = 101;

}  // namespace platform
