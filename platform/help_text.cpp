#include "platform/help_text.h"

#include <cstring>
#include <new>

namespace platform {
namespace {

// One line of the content, without its line break.
struct Line {
  const char* begin;
  const char* end;
};

// NUL reads as a space.
bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\0'; }

bool IsBlank(Line line) {
  for (const char* p = line.begin; p < line.end; ++p) {
    if (!IsSpace(*p)) return false;
  }
  return true;
}

Line Trimmed(Line line) {
  while (line.begin < line.end && IsSpace(*line.begin)) ++line.begin;
  while (line.end > line.begin && IsSpace(line.end[-1])) --line.end;
  return line;
}

// The line starting at `at`, and where the next one starts; a CR before the LF is dropped.
Line LineAt(const char* content, size_t size, size_t* at) {
  const char* begin = content + *at;
  const void* found = std::memchr(begin, '\n', size - *at);
  const char* end = found ? static_cast<const char*>(found) : content + size;
  *at = found ? static_cast<size_t>(end - content) + 1 : size;
  if (end > begin && end[-1] == '\r') --end;
  return {begin, end};
}

// "# Title" starts a topic; the title is what follows, trimmed.
bool TopicTitle(Line line, Line* title) {
  if (line.end - line.begin < 2 || line.begin[0] != '#' || !IsSpace(line.begin[1])) return false;
  *title = Trimmed({line.begin + 1, line.end});
  return title->begin < title->end;
}

// Appends to the document's storage, which is sized for the worst case: every line break
// doubled and a terminator per topic.
class Writer {
 public:
  explicit Writer(char* out) : out_(out) {}
  const char* Start() const { return out_ + at_; }
  void Put(Line line) {
    for (const char* p = line.begin; p < line.end; ++p) out_[at_++] = *p ? *p : ' ';
  }
  void Break() {
    out_[at_++] = '\r';
    out_[at_++] = '\n';
  }
  void End() { out_[at_++] = '\0'; }

 private:
  char* out_;
  size_t at_ = 0;
};

}  // namespace

void HelpDocument::Swap(HelpDocument& other) {
  char* storage = storage_;
  storage_ = other.storage_;
  other.storage_ = storage;
  const char* title = title_;
  title_ = other.title_;
  other.title_ = title;
  for (size_t i = 0; i < kMaxHelpTopics; ++i) {
    const HelpTopic topic = topics_[i];
    topics_[i] = other.topics_[i];
    other.topics_[i] = topic;
  }
  const size_t count = topicCount_;
  topicCount_ = other.topicCount_;
  other.topicCount_ = count;
}

bool ParseHelpText(const char* content, size_t size, HelpDocument* document) {
  HelpDocument parsed;
  if (!content || size > kMaxHelpFileSize) {
    document->Swap(parsed);
    return false;
  }
  parsed.storage_ = new (std::nothrow) char[3 * size + 2 * kMaxHelpTopics + 4];
  if (!parsed.storage_) {
    document->Swap(parsed);
    return false;
  }
  Writer out(parsed.storage_);
  bool textWritten = false;           // of the current topic
  const char* pendingBlank = nullptr;  // first of the blank lines not yet written
  size_t at = 0;
  while (at < size) {
    const Line line = LineAt(content, size, &at);
    Line title;
    if (parsed.topicCount_ < kMaxHelpTopics && TopicTitle(line, &title)) {
      if (parsed.topicCount_ > 0) out.End();
      HelpTopic& topic = parsed.topics_[parsed.topicCount_++];
      topic.title = out.Start();
      out.Put(title);
      out.End();
      topic.text = out.Start();
      textWritten = false;
      pendingBlank = nullptr;
    } else if (parsed.topicCount_ > 0) {
      if (IsBlank(line)) {
        if (textWritten && !pendingBlank) pendingBlank = line.begin;
        continue;
      }
      if (textWritten) {
        // The blank lines between two lines of text stay, as they stood.
        size_t blank = pendingBlank ? static_cast<size_t>(pendingBlank - content) : size;
        while (pendingBlank && content + blank < line.begin) {
          out.Break();
          out.Put(LineAt(content, size, &blank));
        }
        out.Break();
      }
      out.Put(line);
      textWritten = true;
      pendingBlank = nullptr;
    } else if (!parsed.title_ && !IsBlank(line)) {
      parsed.title_ = out.Start();
      out.Put(Trimmed(line));
      out.End();
    }
  }
  if (parsed.topicCount_ > 0) out.End();
  document->Swap(parsed);
  return document->topicCount() > 0;
}

}  // namespace platform
