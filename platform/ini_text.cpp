#include "platform/ini_text.h"

#include <cstring>

namespace platform {
namespace {

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }
bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

struct Range {
  const char* begin;
  const char* end;
};

Range Trimmed(Range range) {
  while (range.begin < range.end && IsBlank(*range.begin)) ++range.begin;
  while (range.end > range.begin && IsBlank(range.end[-1])) --range.end;
  return range;
}

// Copies the range into `out` of `size` bytes; false when it is longer (then `out` holds its
// start).
bool CopyRange(Range range, char* out, size_t size) {
  const size_t length = static_cast<size_t>(range.end - range.begin);
  const size_t kept = length < size ? length : size - 1;
  std::memcpy(out, range.begin, kept);
  out[kept] = '\0';
  return kept == length;
}

}  // namespace

bool SameTextIgnoringCase(const char* a, const char* b) {
  for (; *a && *b; ++a, ++b) {
    if (Lower(*a) != Lower(*b)) return false;
  }
  return *a == *b;
}

bool IniReader::Next(IniEntry* entry) {
  while (*at_) {
    const char* end = std::strchr(at_, '\n');
    if (!end) end = at_ + std::strlen(at_);
    const Range line = Trimmed({at_, end});
    at_ = *end ? end + 1 : end;
    if (line.begin == line.end || *line.begin == ';') continue;
    if (*line.begin == '[') {
      const void* close = std::memchr(line.begin, ']', static_cast<size_t>(line.end - line.begin));
      const Range name = Trimmed({line.begin + 1, close ? static_cast<const char*>(close) : line.end});
      // A section whose name does not fit is none of ours: its keys are skipped with it.
      inLongSection_ = !CopyRange(name, section_, sizeof section_);
      continue;
    }
    if (inLongSection_) continue;
    const void* equals = std::memchr(line.begin, '=', static_cast<size_t>(line.end - line.begin));
    if (!equals) continue;
    const Range key = Trimmed({line.begin, static_cast<const char*>(equals)});
    Range value = Trimmed({static_cast<const char*>(equals) + 1, line.end});
    if (value.end - value.begin >= 2 && *value.begin == '"' && value.end[-1] == '"') {
      ++value.begin;
      --value.end;
    }
    if (key.begin == key.end || !CopyRange(key, key_, sizeof key_)) continue;
    entry->section = section_;
    entry->key = key_;
    entry->value = value_;
    entry->valueCut = !CopyRange(value, value_, sizeof value_);
    return true;
  }
  return false;
}

}  // namespace platform
