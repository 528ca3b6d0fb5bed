#include "utility/cursor/pack_inf.h"

#include <cstring>
#include <new>

#include "platform/ini_text.h"
#include "platform/text_encoding.h"

namespace {

// The platform's own limit of a field after substitution; a longer one is cut and says so.
constexpr size_t kFieldSize = 4096;
// Section names are at most 255 characters; more AddReg sections than this are not read.
constexpr size_t kSectionNameSize = 256;
constexpr size_t kMostAddRegSections = 32;

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }
char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

struct Range {
  const char* begin;
  const char* end;
  size_t length() const { return static_cast<size_t>(end - begin); }
};

Range Trimmed(Range range) {
  while (range.begin < range.end && IsBlank(*range.begin)) ++range.begin;
  while (range.end > range.begin && IsBlank(range.end[-1])) --range.end;
  return range;
}

bool SameRangeIgnoringCase(Range a, Range b) {
  if (a.length() != b.length()) return false;
  for (size_t i = 0; i < a.length(); ++i) {
    if (Lower(a.begin[i]) != Lower(b.begin[i])) return false;
  }
  return true;
}

// The file's logical lines, each a C string in storage of its own: comments dropped,
// continued lines joined, blanks trimmed. A section header keeps only its name.
class InfLines {
 public:
  struct Line {
    const char* text;
    bool header;
  };

  InfLines() = default;
  ~InfLines() {
    delete[] storage_;
    delete[] lines_;
  }
  InfLines(const InfLines&) = delete;
  InfLines& operator=(const InfLines&) = delete;

  bool Split(const char* text, size_t length);
  size_t count() const { return count_; }
  const Line& operator[](size_t index) const { return lines_[index]; }

  // Calls visit(line) for every entry of the sections named `section` (any letter case).
  template <typename Visit>
  void ForEachEntry(const char* section, Visit visit) const {
    bool inside = false;
    for (size_t i = 0; i < count_; ++i) {
      if (lines_[i].header) {
        inside = platform::SameTextIgnoringCase(lines_[i].text, section);
      } else if (inside) {
        visit(lines_[i].text);
      }
    }
  }

 private:
  void Finish(char* begin, char* end);

  char* storage_ = nullptr;
  Line* lines_ = nullptr;
  size_t count_ = 0;
};

bool InfLines::Split(const char* text, size_t length) {
  size_t physical = 1;
  for (size_t i = 0; i < length; ++i) physical += text[i] == '\n';
  // Every character is kept at most once, and each line gains a terminator.
  storage_ = new (std::nothrow) char[length + physical + 1];
  lines_ = new (std::nothrow) Line[physical];
  if (!storage_ || !lines_) return false;

  char* out = storage_;
  char* lineStart = out;
  bool quoted = false, comment = false;
  bool lastOutsideQuotes = false;  // of the last non-blank character kept
  for (size_t i = 0; i <= length; ++i) {
    const char c = i < length ? text[i] : '\n';
    if (c != '\n') {
      if (comment) continue;
      if (c == ';' && !quoted) {
        comment = true;
        continue;
      }
      if (c == '"') quoted = !quoted;
      if (!IsBlank(c)) lastOutsideQuotes = !quoted || c == '"';
      *out++ = c;
      continue;
    }
    while (out > lineStart && IsBlank(out[-1])) --out;
    comment = false;
    // A final backslash outside quotes joins the next line to this one.
    if (out > lineStart && out[-1] == '\\' && lastOutsideQuotes && i < length) {
      --out;
      continue;
    }
    quoted = false;
    Finish(lineStart, out);
    *out++ = '\0';
    lineStart = out;
  }
  return true;
}

void InfLines::Finish(char* begin, char* end) {
  while (begin < end && IsBlank(*begin)) ++begin;
  if (begin == end) return;
  Line& line = lines_[count_++];
  line.header = *begin == '[';
  if (!line.header) {
    line.text = begin;
    *end = '\0';
    return;
  }
  char* close = static_cast<char*>(std::memchr(begin, ']', static_cast<size_t>(end - begin)));
  Range name = Trimmed({begin + 1, close ? close : end});
  char* nameEnd = const_cast<char*>(name.end);
  *nameEnd = '\0';
  line.text = name.begin;
}

// The key of "key = value" (split at the first '=' outside quotes), and the rest.
bool SplitKey(const char* line, Range* key, Range* rest) {
  bool quoted = false;
  for (const char* at = line; *at; ++at) {
    if (*at == '"') quoted = !quoted;
    if (*at == '=' && !quoted) {
      *key = Trimmed({line, at});
      *rest = {at + 1, at + std::strlen(at)};
      return true;
    }
  }
  return false;
}

// Splits `text` at commas outside quotes into at most `most` fields; the last one runs to the
// end. Returns how many.
size_t SplitFields(Range text, Range* fields, size_t most) {
  size_t count = 0;
  bool quoted = false;
  const char* start = text.begin;
  for (const char* at = text.begin; at < text.end && count + 1 < most; ++at) {
    if (*at == '"') quoted = !quoted;
    if (*at == ',' && !quoted) {
      fields[count++] = {start, at};
      start = at + 1;
    }
  }
  fields[count++] = {start, text.end};
  return count;
}

// The %name% values of the [Strings] sections, found by a hash of the name (the platform
// compares names without case). The first definition of a name counts; [Strings] comes
// before any [Strings.<language>].
class StringTable {
 public:
  StringTable() = default;
  ~StringTable() {
    delete[] entries_;
    delete[] slots_;
  }
  StringTable(const StringTable&) = delete;
  StringTable& operator=(const StringTable&) = delete;

  bool Build(const InfLines& lines);
  const char* Find(Range name) const;

 private:
  struct Entry {
    Range name;
    const char* value;
  };
  static uint32_t Hash(Range name);
  void Add(const char* line);

  Entry* entries_ = nullptr;
  size_t count_ = 0;
  uint32_t* slots_ = nullptr;  // entry index + 1, 0 for an empty slot
  size_t slotMask_ = 0;
};

uint32_t StringTable::Hash(Range name) {
  uint32_t hash = 2166136261u;
  for (const char* at = name.begin; at < name.end; ++at) hash = (hash ^ static_cast<uint8_t>(Lower(*at))) * 16777619u;
  return hash;
}

Range Whole(const char* text) { return {text, text + std::strlen(text)}; }

// [Strings], or (with `language`) a [Strings.<language id>].
bool IsStringsSection(const char* name, bool language) {
  if (!language) return platform::SameTextIgnoringCase(name, "Strings");
  constexpr size_t kPrefix = sizeof "Strings." - 1;
  return std::strlen(name) > kPrefix && SameRangeIgnoringCase({name, name + kPrefix}, Whole("Strings."));
}

bool StringTable::Build(const InfLines& lines) {
  size_t most = 0;
  for (size_t i = 0; i < lines.count(); ++i) most += !lines[i].header;
  size_t slots = 16;
  while (slots < 2 * most) slots *= 2;
  entries_ = new (std::nothrow) Entry[most ? most : 1];
  slots_ = new (std::nothrow) uint32_t[slots]();
  if (!entries_ || !slots_) return false;
  slotMask_ = slots - 1;
  const bool kinds[] = {false, true};  // [Strings], then [Strings.<language>]
  for (bool language : kinds) {
    bool inside = false;
    for (size_t i = 0; i < lines.count(); ++i) {
      if (lines[i].header) {
        inside = IsStringsSection(lines[i].text, language);
      } else if (inside) {
        Add(lines[i].text);
      }
    }
  }
  return true;
}

void StringTable::Add(const char* line) {
  Range name, rest;
  if (!SplitKey(line, &name, &rest) || name.begin == name.end) return;
  // The value loses its outer quotes and each "" becomes one quote, written over itself.
  rest = Trimmed(rest);
  char* out = const_cast<char*>(rest.begin);
  const char* value = out;
  bool quoted = false;
  for (const char* at = rest.begin; at < rest.end; ++at) {
    if (*at != '"') {
      *out++ = *at;
    } else if (quoted && at + 1 < rest.end && at[1] == '"') {
      *out++ = '"';
      ++at;
    } else {
      quoted = !quoted;
    }
  }
  *out = '\0';
  const_cast<char*>(name.end)[0] = '\0';  // the blank or '=' after the name; the value starts later

  size_t slot = Hash(name) & slotMask_;
  for (; slots_[slot]; slot = (slot + 1) & slotMask_) {
    if (SameRangeIgnoringCase(entries_[slots_[slot] - 1].name, name)) return;
  }
  entries_[count_] = {name, value};
  slots_[slot] = static_cast<uint32_t>(++count_);
}

const char* StringTable::Find(Range name) const {
  for (size_t slot = Hash(name) & slotMask_; slots_[slot]; slot = (slot + 1) & slotMask_) {
    const Entry& entry = entries_[slots_[slot] - 1];
    if (SameRangeIgnoringCase(entry.name, name)) return entry.value;
  }
  return nullptr;
}

// A field's value: trimmed, quotes removed ("" inside quotes for a quote), %name% replaced from
// the strings (a name they lack, such as a directory id, stays as it is), %% a percent sign.
// False when it did not fit in `out` (then `out` holds its start).
class FieldWriter {
 public:
  FieldWriter(char* out, size_t size) : out_(out), size_(size) {}
  void Put(char c) {
    if (at_ + 1 < size_) {
      out_[at_++] = c;
    } else {
      cut_ = true;
    }
  }
  void Put(Range text) {
    for (const char* at = text.begin; at < text.end; ++at) Put(*at);
  }
  bool End() {
    out_[at_] = '\0';
    return !cut_;
  }

 private:
  char* out_;
  size_t size_;
  size_t at_ = 0;
  bool cut_ = false;
};

bool FieldValue(Range raw, const StringTable& strings, char* out, size_t size) {
  raw = Trimmed(raw);
  FieldWriter writer(out, size);
  bool quoted = false;
  for (const char* at = raw.begin; at < raw.end; ++at) {
    if (*at == '"') {
      if (quoted && at + 1 < raw.end && at[1] == '"') {
        writer.Put('"');
        ++at;
      } else {
        quoted = !quoted;
      }
      continue;
    }
    if (*at != '%') {
      writer.Put(*at);
      continue;
    }
    const char* close = static_cast<const char*>(std::memchr(at + 1, '%', static_cast<size_t>(raw.end - at - 1)));
    if (!close) {
      writer.Put('%');
    } else if (close == at + 1) {
      writer.Put('%');
      at = close;
    } else {
      const Range name{at + 1, close};
      const char* value = strings.Find(name);
      if (value) {
        writer.Put(Range{value, value + std::strlen(value)});
      } else {
        writer.Put(Range{at, close + 1});
      }
      at = close;
    }
  }
  return writer.End();
}

bool FieldIs(Range raw, const StringTable& strings, const char* expected) {
  char value[kFieldSize];
  return FieldValue(raw, strings, value, sizeof value) && platform::SameTextIgnoringCase(value, expected);
}

// The AddReg sections to search, in order, each once.
class SectionList {
 public:
  void Add(const char* name) {
    if (!*name || count_ == kMostAddRegSections || std::strlen(name) >= kSectionNameSize) return;
    for (size_t i = 0; i < count_; ++i) {
      if (platform::SameTextIgnoringCase(names_[i], name)) return;
    }
    std::strcpy(names_[count_++], name);
  }
  size_t count() const { return count_; }
  const char* operator[](size_t index) const { return names_[index]; }

 private:
  char names_[kMostAddRegSections][kSectionNameSize];
  size_t count_ = 0;
};

void CollectAddRegSections(const InfLines& lines, const StringTable& strings, SectionList* sections) {
  static const char* const kInstallSections[] = {"DefaultInstall.NTamd64", "DefaultInstall.NTx86",
                                                 "DefaultInstall.NT", "DefaultInstall"};
  for (const char* install : kInstallSections) {
    lines.ForEachEntry(install, [&](const char* line) {
      Range key, rest;
      if (!SplitKey(line, &key, &rest) || !SameRangeIgnoringCase(key, Whole("AddReg"))) return;
      Range names[kMostAddRegSections];
      const size_t count = SplitFields(rest, names, kMostAddRegSections);
      for (size_t i = 0; i < count; ++i) {
        char name[kFieldSize];
        if (FieldValue(names[i], strings, name, sizeof name)) sections->Add(name);
      }
    });
  }
  sections->Add("Scheme.Reg");
  sections->Add("Wreg");
}

// The scheme line's value: its comma-separated files by position. When the value was cut, its
// last file is only the start of a name.
void ReadSchemeFiles(char* value, bool valueCut, PackDescription* out) {
  out->found = true;
  char* item = value;
  for (size_t role = 0; role < kRoleCount; ++role) {
    char* comma = std::strchr(item, ',');
    if (comma) *comma = '\0';
    SetRoleFile(out, role, item);
    if (!comma) {
      if (valueCut) out->cut[role] = true;
      return;
    }
    item = comma + 1;
  }
}

// One line of an AddReg section: reg-root, subkey, value name, flags, value.
struct AddRegReader {
  const StringTable& strings;
  PackDescription* scheme;       // the scheme line's files and name
  PackDescription* roleValues;   // the lines under "Control Panel\Cursors"
  bool schemeFound = false;
  bool roleNamed[kRoleCount] = {};

  void Read(const char* line) {
    Range fields[5];
    if (SplitFields(Whole(line), fields, 5) < 5) return;
    if (!FieldIs(fields[0], strings, "HKCU") && !FieldIs(fields[0], strings, "HKEY_CURRENT_USER")) return;
    char field[kFieldSize];
    if (FieldIs(fields[1], strings, "Control Panel\\Cursors\\Schemes")) {
      if (schemeFound) return;
      schemeFound = true;
      FieldValue(fields[2], strings, field, sizeof field);
      CopyCut(field, scheme->schemeName, sizeof scheme->schemeName);
      const bool whole = FieldValue(fields[4], strings, field, sizeof field);
      ReadSchemeFiles(field, !whole, scheme);
    } else if (FieldIs(fields[1], strings, "Control Panel\\Cursors")) {
      FieldValue(fields[2], strings, field, sizeof field);
      const int role = RoleOfRegistryName(field);
      if (role < 0 || roleNamed[role]) return;
      roleNamed[role] = true;
      const bool whole = FieldValue(fields[4], strings, field, sizeof field);
      SetRoleFile(roleValues, static_cast<size_t>(role), field);
      if (!whole) roleValues->cut[role] = true;
    }
  }
};

}  // namespace

bool ReadInf(const uint8_t* bytes, size_t size, PackDescription* out) {
  *out = PackDescription{};
  text::DecodedText decoded;
  InfLines lines;
  StringTable strings;
  if (!decoded.Decode(bytes, size) || !lines.Split(decoded.text(), decoded.length()) || !strings.Build(lines)) {
    return false;
  }
  SectionList sections;
  CollectAddRegSections(lines, strings, &sections);

  PackDescription roleValues;
  AddRegReader reader{strings, out, &roleValues};
  for (size_t i = 0; i < sections.count(); ++i) {
    lines.ForEachEntry(sections[i], [&](const char* line) { reader.Read(line); });
  }
  // Role values fill what the scheme line leaves empty.
  for (size_t role = 0; role < kRoleCount; ++role) {
    if (!reader.roleNamed[role] || out->files[role][0] || out->cut[role]) continue;
    std::memcpy(out->files[role], roleValues.files[role], kPackNameSize);
    out->cut[role] = roleValues.cut[role];
    out->found = true;
  }
  if (!out->found) *out = PackDescription{};
  return out->found;
}
