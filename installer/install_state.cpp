#include "installer/install_state.h"

#include <cstring>

// On the heap: its initial values would otherwise be stored in the program file, whole.
InstallState& installState = *new InstallState;

bool CopyText(char* out, std::size_t size, const char* text) {
  std::size_t length = std::strlen(text);
  if (size == 0) return false;
  if (length >= size) {
    out[0] = '\0';
    return false;
  }
  std::memcpy(out, text, length + 1);
  return true;
}

bool JoinPath(char* out, std::size_t size, const char* folder, const char* name) {
  if (size == 0) return false;
  std::size_t folderLength = std::strlen(folder);
  if (folderLength == 0) {
    folder = "\\";
    folderLength = 1;
  }
  bool needSeparator = folder[folderLength - 1] != '\\';
  std::size_t nameLength = std::strlen(name);
  std::size_t total = folderLength + (needSeparator ? 1 : 0) + nameLength;
  if (total >= size) {
    out[0] = '\0';
    return false;
  }
  char* end = out;
  std::memcpy(end, folder, folderLength);
  end += folderLength;
  if (needSeparator) *end++ = '\\';
  std::memcpy(end, name, nameLength + 1);
  return true;
}
