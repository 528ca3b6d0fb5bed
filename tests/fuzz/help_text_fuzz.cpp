// libFuzzer target of the help-text format: whatever the bytes, the document holds C strings
// inside its own storage, at most kMaxHelpTopics topics, and a file larger than the limit is
// refused.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "platform/help_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  auto document = std::make_unique<platform::HelpDocument>();
  const bool parsed = platform::ParseHelpText(reinterpret_cast<const char*>(data), size, document.get());
  if (parsed != (document->topicCount() > 0) || document->topicCount() > platform::kMaxHelpTopics) std::abort();
  size_t text = std::strlen(document->title());
  for (size_t i = 0; i < document->topicCount(); ++i) {
    const platform::HelpTopic& topic = document->topic(i);
    if (!topic.title[0]) std::abort();  // a topic always has a title
    text += std::strlen(topic.title) + std::strlen(topic.text);
  }
  if (text > 2 * size + 2) std::abort();  // texts grow only by a CR for each line break
  return 0;
}
