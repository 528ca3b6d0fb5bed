#include "utility/cursor/library_entry.h"

#include <cstring>

namespace {

char Upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

// The last four characters of `name` (all of it when shorter) equal `extension` in any case.
bool EndsWithExtension(const char* name, const char* extension) {
  const size_t length = std::strlen(name);
  const char* tail = length > 4 ? name + length - 4 : name;
  size_t i = 0;
  for (; tail[i] && extension[i]; ++i) {
    if (Upper(tail[i]) != extension[i]) return false;
  }
  return tail[i] == '\0' && extension[i] == '\0';
}

constexpr size_t kTagLength = 5;  // "[", kind, depth, "]", tab

}  // namespace

CursorFileKind ClassifyCursorFileName(const char* fileName) {
  if (EndsWithExtension(fileName, ".ANI")) return CursorFileKind::Animated;
  if (EndsWithExtension(fileName, ".CUR")) return CursorFileKind::Static;
  return CursorFileKind::NotCursor;
}

bool IsDotOrDotDot(const char* name) { return std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0; }

bool IsAnimatedName(const char* storedName) { return EndsWithExtension(storedName, ".ANI"); }

bool BuildEntryText(bool animated, bool colour, const char* fileName, char* entryText, size_t size) {
  const size_t nameLength = std::strlen(fileName);
  // The extension is cut off; a name shorter than four characters leaves nothing after the tab.
  const size_t kept = nameLength > 4 ? nameLength - 4 : 0;
  if (kTagLength + kept + 1 > size) return false;
  entryText[0] = '[';
  entryText[1] = animated ? 'a' : 's';
  entryText[2] = colour ? 'c' : 'm';
  entryText[3] = ']';
  entryText[4] = '\t';
  std::memcpy(entryText + kTagLength, fileName, kept);
  entryText[kTagLength + kept] = '\0';
  return true;
}

bool EntryToStoredName(const char* entryText, char* storedName, size_t size) {
  if (size == 0) return false;
  const size_t length = std::strlen(entryText);
  const bool tagged = length >= 4 && entryText[0] == '[' && entryText[3] == ']';
  const char* name = entryText;
  size_t nameLength = length;
  const char* extension = "";
  if (tagged) {
    name = length > kTagLength ? entryText + kTagLength : entryText + length;
    nameLength = length > kTagLength ? length - kTagLength : 0;
    extension = entryText[1] == 'a' ? ".ANI" : ".CUR";
  }
  const size_t extensionLength = std::strlen(extension);
  if (nameLength + extensionLength + 1 > size) {
    storedName[0] = '\0';
    return false;
  }
  std::memcpy(storedName, name, nameLength);
  std::memcpy(storedName + nameLength, extension, extensionLength + 1);
  return true;
}

namespace {

// The device names the platform finds in any folder, whatever extension follows.
constexpr const char* kDeviceNames[] = {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$", "CLOCK$"};
constexpr const char* kNumberedDevices[] = {"COM", "LPT"};

bool SameIgnoringCase(const char* a, size_t length, const char* b) {
  if (std::strlen(b) != length) return false;
  for (size_t i = 0; i < length; ++i) {
    if (Upper(a[i]) != b[i]) return false;
  }
  return true;
}

// The name before its first dot, less the blanks the platform drops there, is a device.
bool IsDeviceName(const char* name) {
  size_t stem = 0;
  while (name[stem] && name[stem] != '.') ++stem;
  while (stem > 0 && name[stem - 1] == ' ') --stem;
  for (const char* device : kDeviceNames) {
    if (SameIgnoringCase(name, stem, device)) return true;
  }
  for (const char* device : kNumberedDevices) {
    // A digit, or the superscripts one to three (UTF-8) the platform counts too.
    if (stem == 4 && SameIgnoringCase(name, 3, device) && name[3] >= '0' && name[3] <= '9') return true;
    if (stem == 5 && SameIgnoringCase(name, 3, device) && static_cast<unsigned char>(name[3]) == 0xC2 &&
        (static_cast<unsigned char>(name[4]) == 0xB9 || static_cast<unsigned char>(name[4]) == 0xB2 ||
         static_cast<unsigned char>(name[4]) == 0xB3)) {
      return true;
    }
  }
  return false;
}

}  // namespace

bool IsPlainFileName(const char* storedName) {
  // The platform drops dots and blanks at a name's end: one made of nothing else (".", "..")
  // names the folder or the one above it.
  size_t kept = std::strlen(storedName);
  while (kept > 0 && (storedName[kept - 1] == '.' || storedName[kept - 1] == ' ')) --kept;
  if (kept == 0) return false;
  for (const char* at = storedName; *at; ++at) {
    const unsigned char c = static_cast<unsigned char>(*at);
    if (c < 0x20 || std::strchr("\\/:*?\"<>|", c)) return false;
  }
  return !IsDeviceName(storedName);
}

bool ComposeLibraryPath(const char* folder, const char* storedName, char* path, size_t size) {
  if (size == 0) return false;
  const size_t folderLength = std::strlen(folder);
  const size_t nameLength = std::strlen(storedName);
  if (!IsPlainFileName(storedName) || folderLength + nameLength + 1 > size) {
    path[0] = '\0';
    return false;
  }
  std::memcpy(path, folder, folderLength);
  std::memcpy(path + folderLength, storedName, nameLength + 1);
  return true;
}
