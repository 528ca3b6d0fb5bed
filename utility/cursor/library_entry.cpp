#include "utility/cursor/library_entry.h"

#include <cstring>

#include "platform/file_names.h"

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
