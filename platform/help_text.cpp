#include "platform/help_text.h"

namespace platform {
namespace {

bool IsBlank(const std::string& line) { return line.find_first_not_of(" \t") == std::string::npos; }

// "# Title" starts a topic; the title is what follows, trimmed.
bool TopicTitle(const std::string& line, std::string* title) {
  if (line.size() < 2 || line[0] != '#' || (line[1] != ' ' && line[1] != '\t')) return false;
  const size_t first = line.find_first_not_of(" \t", 1);
  if (first == std::string::npos) return false;
  const size_t last = line.find_last_not_of(" \t");
  *title = line.substr(first, last - first + 1);
  return true;
}

void FinishTopic(std::vector<std::string>& lines, HelpDocument* document) {
  if (document->topics.empty()) return;
  while (!lines.empty() && IsBlank(lines.back())) lines.pop_back();
  size_t first = 0;
  while (first < lines.size() && IsBlank(lines[first])) ++first;
  std::string& text = document->topics.back().text;
  for (size_t i = first; i < lines.size(); ++i) {
    if (i > first) text += "\r\n";
    text += lines[i];
  }
  lines.clear();
}

}  // namespace

bool ParseHelpText(const std::string& content, HelpDocument* document) {
  *document = HelpDocument();
  std::vector<std::string> lines;
  size_t at = 0;
  while (at < content.size()) {
    size_t end = content.find('\n', at);
    if (end == std::string::npos) end = content.size();
    std::string line = content.substr(at, end - at);
    at = end + 1;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    for (char& c : line) {
      if (c == '\0') c = ' ';
    }
    std::string title;
    if (TopicTitle(line, &title)) {
      FinishTopic(lines, document);
      document->topics.push_back({title, std::string()});
    } else if (!document->topics.empty()) {
      lines.push_back(line);
    } else if (document->title.empty() && !IsBlank(line)) {
      const size_t first = line.find_first_not_of(" \t");
      document->title = line.substr(first, line.find_last_not_of(" \t") - first + 1);
    }
  }
  FinishTopic(lines, document);
  return !document->topics.empty();
}

}  // namespace platform
