#include "platform/file_names.h"

#include <cstddef>

namespace {

char Upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

// The name before its first dot, less the blanks the platform drops there, is a device's: the
// platform finds those in any folder, whatever extension follows.
bool IsDeviceName(const char* name) {
  size_t stem = 0;
  while (name[stem] && name[stem] != '.') ++stem;
  while (stem > 0 && name[stem - 1] == ' ') --stem;
  char upper[8] = {};
  if (stem == 0 || stem > 7) return false;
  for (size_t i = 0; i < stem; ++i) upper[i] = Upper(name[i]);
  static const char* const kDevices[] = {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$", "CLOCK$"};
  for (const char* device : kDevices) {
    size_t i = 0;
    while (device[i] && device[i] == upper[i]) ++i;
    if (device[i] == '\0' && upper[i] == '\0') return true;
  }
  const bool numbered = (upper[0] == 'C' && upper[1] == 'O' && upper[2] == 'M') ||
                        (upper[0] == 'L' && upper[1] == 'P' && upper[2] == 'T');
  if (!numbered) return false;
  // A digit, or the superscripts one to three (UTF-8), which the platform counts too.
  const unsigned char fourth = static_cast<unsigned char>(upper[3]), fifth = static_cast<unsigned char>(upper[4]);
  if (stem == 4) return fourth >= '0' && fourth <= '9';
  return stem == 5 && fourth == 0xC2 && (fifth == 0xB9 || fifth == 0xB2 || fifth == 0xB3);
}

}  // namespace

bool IsPlainFileName(const char* name) {
  if (!name || !*name) return false;
  size_t units = 0, length = 0;
  for (const char* at = name; *at; ++at, ++length) {
    const unsigned char c = static_cast<unsigned char>(*at);
    if (c < 0x20 || c == 0x7F) return false;
    switch (c) {
      case '\\': case '/': case ':': case '<': case '>': case '"': case '|': case '?': case '*':
        return false;
      default:
        break;
    }
    // UTF-16 units: one per lead byte, two for a four-byte sequence.
    if ((c & 0xC0) != 0x80) units += (c >= 0xF0) ? 2 : 1;
    if (units > 255) return false;
  }
  const char last = name[length - 1];
  if (last == '.' || last == ' ') return false;  // "." and ".." end in a dot too
  return !IsDeviceName(name);
}
