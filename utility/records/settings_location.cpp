#include "utility/records/settings_location.h"

#include <cstring>

namespace {

// `folder` and `name` joined by one backslash into `out`; false, with `out` emptied, when either
// is empty or the whole does not fit.
bool Join(const char* folder, const char* name, char* out, size_t size) {
  if (size == 0) return false;
  out[0] = '\0';
  const size_t folderLength = std::strlen(folder);
  while (*name == '\\') ++name;
  const size_t nameLength = std::strlen(name);
  if (folderLength == 0 || nameLength == 0) return false;
  const bool separated = folder[folderLength - 1] == '\\';
  const size_t total = folderLength + (separated ? 0 : 1) + nameLength;
  if (total >= size) return false;
  std::memcpy(out, folder, folderLength);
  size_t at = folderLength;
  if (!separated) out[at++] = '\\';
  std::memcpy(out + at, name, nameLength + 1);
  return true;
}

}  // namespace

bool ComposeSettingsFolder(const char* appData, char* out, size_t size) { return Join(appData, "Pointrel", out, size); }

bool ComposeSettingsFile(const char* folder, const char* profileName, char* out, size_t size) {
  return Join(folder, profileName, out, size);
}

bool ComposeVirtualStoreFile(const char* localAppData, const char* windowsFolder, const char* profileName, char* out,
                             size_t size) {
  if (size > 0) out[0] = '\0';
  // "C:\Windows" keeps "\Windows" below the store.
  if (std::strlen(windowsFolder) < 4 || windowsFolder[1] != ':' || windowsFolder[2] != '\\') return false;
  char store[1024];
  char below[1024];
  if (!Join(localAppData, "VirtualStore", store, sizeof store)) return false;
  if (!Join(store, windowsFolder + 3, below, sizeof below)) return false;
  return Join(below, profileName, out, size);
}

bool ComposeRunMarker(const char* settingsFile, char* out, size_t size) {
  if (size > 0) out[0] = '\0';
  const size_t length = std::strlen(settingsFile);
  const char* name = std::strrchr(settingsFile, '\\');
  name = name ? name + 1 : settingsFile;
  if (*name == '\0') return false;
  const char* dot = std::strrchr(name, '.');
  const size_t stem = dot && dot != name ? static_cast<size_t>(dot - settingsFile) : length;
  static const char kExtension[] = ".RUN";
  if (stem + sizeof kExtension > size) return false;
  std::memcpy(out, settingsFile, stem);
  std::memcpy(out + stem, kExtension, sizeof kExtension);
  return true;
}

bool ComposeSaveFailureMessage(const char* file, const char* folderIsFile, char* out, size_t size) {
  const char* const parts[] = {"Your settings could not be saved in\n", file, "\n\n",
                               folderIsFile ? folderIsFile : "", folderIsFile ? " is a file, not a folder.\n\n" : "",
                               "Pointrel keeps running with them until it ends."};
  size_t total = 1;
  for (const char* part : parts) total += std::strlen(part);
  if (size == 0) return false;
  out[0] = '\0';
  if (total > size) return false;
  for (const char* part : parts) std::strcat(out, part);
  return true;
}
