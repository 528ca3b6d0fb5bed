#include "utility/cursor/app_mode_win.h"

#include <windows.h>

AppMode ReadAppMode() {
  HKEY key = nullptr;
  if (::RegOpenKeyExA(HKEY_CURRENT_USER, kPersonalizeKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) {
    return AppModeOfValue(false, 0, nullptr, 0);
  }
  // Room for more than a DWORD, so a longer value is seen for what it is rather than cut.
  uint8_t data[8] = {};
  DWORD type = 0, size = sizeof data;
  const bool found = ::RegQueryValueExA(key, kAppsUseLightTheme, nullptr, &type, data, &size) == ERROR_SUCCESS;
  ::RegCloseKey(key);
  return AppModeOfValue(found, type, data, found ? size : 0);
}
