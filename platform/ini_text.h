// The lines of an INI-style text (a .theme file, a scheme file), read without any platform
// call from one UTF-8 C string: "[section]" lines, "key=value" lines, and lines starting with
// ';' as comments. Keys and values are trimmed of spaces and tabs, and a value loses one pair
// of double quotes around it. Anything else on a line of its own is skipped.
#pragma once
#include <cstddef>

namespace platform {

// Section names and keys of this many bytes or more are none of ours: such a key is skipped,
// and such a section with all its keys. A longer value is cut, and says so.
constexpr size_t kIniNameSize = 256;
constexpr size_t kIniValueSize = 4096;

struct IniEntry {
  const char* section;  // the section the line stands in ("" before the first)
  const char* key;
  const char* value;
  bool valueCut;  // the value was longer than kIniValueSize - 1 bytes: what is here is only its start
};

class IniReader {
 public:
  explicit IniReader(const char* text) : at_(text ? text : "") {}
  // The next "key=value" line; its texts stay valid until the next call. False at the end.
  bool Next(IniEntry* entry);

 private:
  const char* at_;
  char section_[kIniNameSize] = "";
  bool inLongSection_ = false;
  char key_[kIniNameSize] = "";
  char value_[kIniValueSize] = "";
};

// ASCII letters compared without case, every other byte as it is.
bool SameTextIgnoringCase(const char* a, const char* b);

}  // namespace platform
