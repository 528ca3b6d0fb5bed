// The help files' text format, read without any platform call: text lines (CR LF or LF); the
// first non-empty line before the first topic is the title; a line "# Title" starts a topic,
// and the lines up to the next topic are its text. A file with no topic, or larger than
// kMaxHelpFileSize, cannot be shown.
#pragma once
#include <cstddef>

namespace platform {

constexpr size_t kMaxHelpFileSize = 1 << 20;
// Topics past this many are read as text of the last one.
constexpr size_t kMaxHelpTopics = 256;

struct HelpTopic {
  const char* title;
  const char* text;  // lines joined with CR LF, blank lines around them dropped
};

// A parsed help file; its texts live in storage of its own, released with it.
class HelpDocument {
 public:
  HelpDocument() = default;
  ~HelpDocument() { delete[] storage_; }
  HelpDocument(const HelpDocument&) = delete;
  HelpDocument& operator=(const HelpDocument&) = delete;
  void Swap(HelpDocument& other);

  const char* title() const { return title_ ? title_ : ""; }
  size_t topicCount() const { return topicCount_; }
  const HelpTopic& topic(size_t index) const { return topics_[index]; }

 private:
  friend bool ParseHelpText(const char* content, size_t size, HelpDocument* document);
  char* storage_ = nullptr;
  const char* title_ = nullptr;
  HelpTopic topics_[kMaxHelpTopics] = {};  // the first topicCount_ are set
  size_t topicCount_ = 0;
};

// Reads `size` bytes of `content` into `document` (whose earlier contents go); false when they
// hold no topic or are larger than kMaxHelpFileSize. NUL characters read as spaces.
bool ParseHelpText(const char* content, size_t size, HelpDocument* document);

}  // namespace platform
