#include "installer/uninstall_registry_win.h"

#include <cstring>

namespace {

DWORD SetText(HKEY key, const char* name, const char* value) {
  return ::RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value),
                          static_cast<DWORD>(std::strlen(value) + 1));
}

DWORD SetNumber(HKEY key, const char* name, DWORD value) {
  return ::RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
}

// A text value read whole; "" where it is missing, not text, or too long.
void GetText(HKEY key, const char* name, char* out, DWORD size) {
  DWORD type = 0, bytes = size - 1;
  if (::RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(out), &bytes) != ERROR_SUCCESS ||
      (type != REG_SZ && type != REG_EXPAND_SZ) || bytes >= size) {
    out[0] = '\0';
    return;
  }
  out[bytes] = '\0';
}

}  // namespace

DWORD WriteEntryToRegistry(const UninstallEntry& entry) {
  HKEY key = nullptr;
  DWORD error = ::RegCreateKeyExA(HKEY_CURRENT_USER, kUninstallKey, 0, nullptr, REG_OPTION_NON_VOLATILE,
                                  KEY_SET_VALUE | KEY_QUERY_VALUE, nullptr, &key, nullptr);
  if (error != ERROR_SUCCESS) return error;
  const struct {
    const char* name;
    const char* value;
  } texts[] = {
      {"DisplayName", kDisplayName},
      {"DisplayVersion", kDisplayVersion},
      {"Publisher", kPublisher},
      {"DisplayIcon", entry.displayIcon},
      {"InstallLocation", entry.installLocation},
      {"UninstallString", entry.uninstallString},
      {"QuietUninstallString", entry.quietUninstallString},
      {"InstallDate", entry.installDate},
  };
  for (const auto& text : texts) {
    if (error == ERROR_SUCCESS) error = SetText(key, text.name, text.value);
  }
  if (error == ERROR_SUCCESS) error = SetNumber(key, "EstimatedSize", entry.estimatedSizeKb);
  if (error == ERROR_SUCCESS) error = SetNumber(key, "NoModify", 1);
  if (error == ERROR_SUCCESS) error = SetNumber(key, "NoRepair", 1);
  // An older installer recorded its shortcuts here; nothing reads them any more.
  static const char* const kOlderValues[] = {"DesktopShortcut", "StartMenuShortcut", "StartupShortcut"};
  for (const char* name : kOlderValues) ::RegDeleteValueA(key, name);
  ::RegCloseKey(key);
  return error;
}

bool ReadEntryLocation(char* folder, DWORD size) {
  folder[0] = '\0';
  HKEY key = nullptr;
  if (::RegOpenKeyExA(HKEY_CURRENT_USER, kUninstallKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return false;
  GetText(key, "InstallLocation", folder, size);
  ::RegCloseKey(key);
  return true;
}

DWORD RemoveEntryFromRegistry() {
  const LONG error = ::RegDeleteKeyA(HKEY_CURRENT_USER, kUninstallKey);
  return error == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : error;
}
