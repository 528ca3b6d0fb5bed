#include "utility/cursor/scheme_file.h"

#include <cstring>

#include "platform/file_names.h"
#include "platform/ini_text.h"
#include "platform/text_encoding.h"

namespace {

constexpr char kSection[] = "Scheme";
constexpr char kNameKey[] = "Name";
constexpr char kFallbackName[] = "Scheme";

bool IsContinuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// Appends `text` to the NUL-terminated `out` of `size` bytes; false, with `out` unchanged,
// when it does not fit.
bool Append(char* out, size_t size, const char* text) {
  const size_t used = std::strlen(out), length = std::strlen(text);
  if (used + length >= size) return false;
  std::memcpy(out + used, text, length + 1);
  return true;
}

// Cuts `text` to at most `length` bytes at a character boundary.
void CutTo(char* text, size_t length) {
  if (std::strlen(text) <= length) return;
  while (length > 0 && IsContinuation(text[length])) --length;
  text[length] = '\0';
}

// A value as the reader will read it back: in quotes when its blanks at either end or quotes
// around it would otherwise be taken off.
bool AppendValue(char* out, size_t size, const char* value) {
  const size_t length = std::strlen(value);
  const bool quoted = length > 0 && (value[0] == ' ' || value[0] == '\t' || value[length - 1] == ' ' ||
                                     value[length - 1] == '\t' || (length >= 2 && value[0] == '"' && value[length - 1] == '"'));
  if (!quoted) return Append(out, size, value);
  return Append(out, size, "\"") && Append(out, size, value) && Append(out, size, "\"");
}

}  // namespace

void CleanSchemeName(const char* name, char* out) {
  size_t length = 0;
  const char* at = name;
  for (; *at; ++at) {
    const unsigned char c = static_cast<unsigned char>(*at);
    if (c < 0x20 || c == 0x7F || (c == ' ' && length == 0)) continue;
    if (length + 1 == kSchemeNameSize) break;
    out[length++] = *at;
  }
  // Cut inside a character: its first bytes go too.
  if (*at && IsContinuation(*at)) {
    while (length > 0 && IsContinuation(out[length - 1])) --length;
    if (length > 0) --length;
  }
  while (length > 0 && out[length - 1] == ' ') --length;
  out[length] = '\0';
}

void SchemeFolderName(const char* name, char* out) {
  CleanSchemeName(name, out);
  for (char* at = out; *at; ++at) {
    if (std::strchr("<>:\"/\\|?*", *at)) *at = '_';
  }
  size_t length = std::strlen(out);
  while (length > 0 && (out[length - 1] == '.' || out[length - 1] == ' ')) out[--length] = '\0';
  if (length == 0) std::strcpy(out, kFallbackName);
  if (!IsPlainFileName(out)) {  // a device's name, with or without an extension: CON, NUL.cur...
    CutTo(out, kSchemeNameSize - 2);
    std::memmove(out + 1, out, std::strlen(out) + 1);
    out[0] = '_';
  }
}

void UniqueSchemeName(const char* wanted, const char* const* existing, size_t count, char* out) {
  char base[kSchemeNameSize];
  CleanSchemeName(wanted, base);
  if (!base[0]) std::strcpy(base, kFallbackName);
  for (uint32_t number = 1;; ++number) {
    std::strcpy(out, base);
    if (number > 1) {
      char suffix[16] = " (";
      char digits[11];
      size_t at = sizeof digits - 1;
      digits[at] = '\0';
      for (uint32_t n = number; n; n /= 10) digits[--at] = static_cast<char>('0' + n % 10);
      Append(suffix, sizeof suffix, digits + at);
      Append(suffix, sizeof suffix, ")");
      CutTo(out, kSchemeNameSize - 1 - std::strlen(suffix));
      Append(out, kSchemeNameSize, suffix);
    }
    char folder[kSchemeNameSize], taken[kSchemeNameSize];
    SchemeFolderName(out, folder);
    bool free = true;
    for (size_t i = 0; i < count && free; ++i) {
      SchemeFolderName(existing[i], taken);
      free = !platform::SameTextIgnoringCase(folder, taken);
    }
    if (free) return;
  }
}

bool ReadSchemeFile(const uint8_t* bytes, size_t size, SchemeFile* scheme, SchemeFileIgnored* ignored) {
  *scheme = SchemeFile{};
  *ignored = SchemeFileIgnored{};
  text::DecodedText decoded;
  if (!decoded.Decode(bytes, size)) return false;
  platform::IniReader reader(decoded.text());
  platform::IniEntry entry;
  bool found = false, nameRead = false;
  bool roleRead[kRoleCount] = {};
  while (reader.Next(&entry)) {
    if (!platform::SameTextIgnoringCase(entry.section, kSection)) continue;
    found = true;
    if (platform::SameTextIgnoringCase(entry.key, kNameKey)) {
      if (!nameRead) CleanSchemeName(entry.value, scheme->name);
      nameRead = true;
      continue;
    }
    const int role = RoleOfRegistryName(entry.key);
    if (role < 0 || roleRead[role]) continue;
    roleRead[role] = true;
    if (!entry.value[0]) continue;
    if (!entry.valueCut && IsPlainFileName(entry.value) && std::strlen(entry.value) < kPackNameSize) {
      std::strcpy(scheme->files[role], entry.value);
      continue;
    }
    ignored->role[role] = true;
    CopyCut(entry.value, ignored->value[role], kIgnoredValueSize);
    ++ignored->count;
  }
  return found;
}

size_t WriteSchemeFile(const SchemeFile& scheme, char* out, size_t size) {
  if (size == 0) return 0;
  out[0] = '\0';
  char name[kSchemeNameSize];
  CleanSchemeName(scheme.name, name);
  bool fits = Append(out, size, "\xEF\xBB\xBF[") && Append(out, size, kSection) && Append(out, size, "]\r\n") &&
              Append(out, size, kNameKey) && Append(out, size, "=") && AppendValue(out, size, name) &&
              Append(out, size, "\r\n");
  for (size_t role = 0; role < kRoleCount && fits; ++role) {
    const char* file = scheme.files[role];
    fits = Append(out, size, kCursorRoles[role].registryName) && Append(out, size, "=") &&
           AppendValue(out, size, IsPlainFileName(file) ? file : "") && Append(out, size, "\r\n");
  }
  if (!fits) {
    out[0] = '\0';
    return 0;
  }
  return std::strlen(out);
}
