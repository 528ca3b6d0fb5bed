// The help files' text format, read without any platform call: text lines (CR LF or LF); the
// first non-empty line before the first topic is the title; a line "# Title" starts a topic,
// and the lines up to the next topic are its text. A file with no topic, or larger than
// kMaxHelpFileSize, cannot be shown.
#pragma once
#include <cstddef>
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

}  // namespace platform
