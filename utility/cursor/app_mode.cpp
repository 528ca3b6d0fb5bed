#include "utility/cursor/app_mode.h"

#include <cstring>

AppMode AppModeOfValue(bool found, uint32_t type, const uint8_t* data, size_t size) {
  if (!found || type != kRegistryDword || !data || size != 4) return AppMode::Light;
  const bool zero = data[0] == 0 && data[1] == 0 && data[2] == 0 && data[3] == 0;
  return zero ? AppMode::Dark : AppMode::Light;
}

bool IsAppModeChange(const char* section) { return section && std::strcmp(section, kImmersiveColorSet) == 0; }

const char* SchemeNameInForce(const CursorSettings& settings, AppMode mode) {
  return settings.FollowDarkMode && mode == AppMode::Dark ? settings.DarkScheme : settings.Scheme;
}
