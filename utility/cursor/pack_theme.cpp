#include "utility/cursor/pack_theme.h"

#include "platform/ini_text.h"
#include "platform/text_encoding.h"

bool ReadTheme(const uint8_t* bytes, size_t size, PackDescription* out) {
  *out = PackDescription{};
  text::DecodedText decoded;
  if (!decoded.Decode(bytes, size)) return false;
  platform::IniReader reader(decoded.text());
  platform::IniEntry entry;
  bool named[kRoleCount] = {};
  while (reader.Next(&entry)) {
    if (!platform::SameTextIgnoringCase(entry.section, "Control Panel\\Cursors")) continue;
    if (platform::SameTextIgnoringCase(entry.key, "DefaultValue")) {
      if (!out->schemeName[0]) CopyCut(entry.value, out->schemeName, sizeof out->schemeName);
      continue;
    }
    const int role = RoleOfRegistryName(entry.key);
    if (role < 0 || named[role]) continue;  // the first value of a key counts, as the platform reads it
    named[role] = true;
    SetRoleFile(out, static_cast<size_t>(role), entry.value);
    if (entry.valueCut) out->cut[role] = true;
  }
  if (!out->found) *out = PackDescription{};
  return out->found;
}
