// Windows' app mode, light or dark, as the pointers follow it: the value AppsUseLightTheme under
// HKCU\Software\Microsoft\Windows\CurrentVersion\Themes\Personalize, read back as any registry
// value is (checked, never obeyed), and the scheme that is in force for it. Platform-free.
#pragma once
#include <cstddef>
#include <cstdint>

#include "utility/records/cursor_settings.h"

enum class AppMode : uint8_t { Light, Dark };

constexpr char kPersonalizeKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize";
constexpr char kAppsUseLightTheme[] = "AppsUseLightTheme";
// The section a WM_SETTINGCHANGE names when the mode (or the accent colour) has changed.
constexpr char kImmersiveColorSet[] = "ImmersiveColorSet";

constexpr uint32_t kRegistryDword = 4;  // REG_DWORD: four bytes, little-endian

// The mode a value read back stands for: dark only for a four-byte REG_DWORD of 0. A value that
// is absent, of another type or size, or any other number (another program's doing) is light,
// as Windows shows apps when it has no choice stored.
AppMode AppModeOfValue(bool found, uint32_t type, const uint8_t* data, size_t size);

// Whether a WM_SETTINGCHANGE's section (null for none) tells of the app mode.
bool IsAppModeChange(const char* section);

// The name of the scheme in force: the dark one while `settings` follows the mode and it is
// dark, else the one of the scheme box.
const char* SchemeNameInForce(const CursorSettings& settings, AppMode mode);
