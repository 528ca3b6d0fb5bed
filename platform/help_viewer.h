// The help viewer: current Windows has no viewer for the old help files, so help files are ours
// (plain text with topics) and are shown in a help window of our own.
//
// Help file format: text lines (CR LF or LF). The first non-empty line before the first topic is
// the title; a line "# Title" starts a topic, and the lines up to the next topic are its text. A
// file with no topic, or larger than kMaxHelpFileSize, cannot be shown.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

namespace platform {

constexpr size_t kMaxHelpFileSize = 1 << 20;

struct HelpTopic {
  std::string title;
  std::string text;  // lines joined with CR LF, trailing empty lines dropped
};
struct HelpDocument {
  std::string title;
  std::vector<HelpTopic> topics;
};

// False when `content` holds no topic; NUL characters read as spaces.
bool ParseHelpText(const std::string& content, HelpDocument* document);
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

// The framework's help call for the application's help file (CWinApp::helpFilePath): when the
// viewer cannot show it, the framework's message "Failed to launch help." with an OK button.
void AfxWinHelp(HWND window, ULONG_PTR data, UINT command);
