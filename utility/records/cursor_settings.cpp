#include "utility/records/cursor_settings.h"

#include <cstring>

#include "utility/records/cursor_role_table.h"

CursorSettings current;
CursorSettings saved;

namespace {
const char kSection[] = "Cursors";

bool EqualsIgnoringCase(const char* a, const char* b) {
  for (; *a && *b; ++a, ++b) {
    char x = *a, y = *b;
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return *a == *b;
}

// Every key in the order the file holds them (a new file gets them in this order), with the
// value a missing key reads as.
struct SettingsKey {
  const char* name;
  char (CursorSettings::*text)[kProfileTextSize];  // a text key, or
  int32_t CursorSettings::*number;                  // a number key
  const char* textFallback;
  int32_t numberFallback;
};
constexpr SettingsKey Text(const char* name, char (CursorSettings::*field)[kProfileTextSize],
                           const char* fallback = kDefaultName) {
  return {name, field, nullptr, fallback, 0};
}
constexpr SettingsKey Number(const char* name, int32_t CursorSettings::*field, int32_t fallback = 0) {
  return {name, nullptr, field, nullptr, fallback};
}
constexpr SettingsKey kKeys[] = {
    Text("Normal", &CursorSettings::Normal),
    Text("Appstart", &CursorSettings::Appstart),
    Text("Busy", &CursorSettings::Busy),
    Text("Ibeam", &CursorSettings::Ibeam),
    Number("Sizing", &CursorSettings::Sizing),
    Number("Blink", &CursorSettings::Blink),
    Number("BlkClr", &CursorSettings::BlkClr, 15),
    Number("WhtClr", &CursorSettings::WhtClr),
    Number("MirrorNormal", &CursorSettings::MirrorNormal),
    Number("MirrorAppstart", &CursorSettings::MirrorAppstart),
    Number("HideMinimized", &CursorSettings::HideMinimized),
    Number("StartMinimized", &CursorSettings::StartMinimized),
    Number("HideTyping", &CursorSettings::HideTyping),
    Number("ShakeEnlarge", &CursorSettings::ShakeEnlarge),
    Text("Help", &CursorSettings::Help),
    Text("Cross", &CursorSettings::Cross),
    Text("Pen", &CursorSettings::Pen),
    Text("No", &CursorSettings::No),
    Text("SizeAll", &CursorSettings::SizeAll),
    Text("UpArrow", &CursorSettings::UpArrow),
    Text("Hand", &CursorSettings::Hand),
    Text("Pin", &CursorSettings::Pin),
    Text("Person", &CursorSettings::Person),
    Text("Scheme", &CursorSettings::Scheme, kNoSchemeName),
    Text("DarkScheme", &CursorSettings::DarkScheme, kNoSchemeName),
    Number("FollowDarkMode", &CursorSettings::FollowDarkMode),
    Number("LeftHanded", &CursorSettings::LeftHanded),
};

const SettingsKey* TextKeyOf(size_t role) {
  if (role >= kRoleCount) return nullptr;
  for (const SettingsKey& key : kKeys) {
    if (key.text && std::strcmp(key.name, kCursorRoles[role].settingsKey) == 0) return &key;
  }
  return nullptr;
}
}  // namespace

void LoadSettings(ProfileStore& store) {
  for (const SettingsKey& key : kKeys) {
    if (key.text) {
      store.GetProfileString(kSection, key.name, key.textFallback, current.*key.text, kProfileTextSize);
    } else {
      current.*key.number = store.GetProfileInt(kSection, key.name, key.numberFallback);
    }
  }
  saved = current;
}

bool SaveSettings(ProfileStore& store) {
  saved = current;
  bool written = true;
  for (const SettingsKey& key : kKeys) {
    written &= key.text ? store.WriteProfileString(kSection, key.name, current.*key.text)
                        : store.WriteProfileInt(kSection, key.name, current.*key.number);
  }
  return written;
}

char* StoredChoice(CursorSettings& settings, size_t role) {
  const SettingsKey* key = TextKeyOf(role);
  return key ? settings.*key->text : nullptr;
}

const char* StoredChoice(const CursorSettings& settings, size_t role) {
  const SettingsKey* key = TextKeyOf(role);
  return key ? settings.*key->text : nullptr;
}

void RevertSettings() { current = saved; }

bool IsDefaultName(const char* storedName) { return EqualsIgnoringCase(storedName, kDefaultName); }

bool IsSameAsNormalName(const char* storedName) { return EqualsIgnoringCase(storedName, kSameAsNormalName); }
