#include "utility/cursor/schemes.h"

#include <cstring>

#include "platform/file_names.h"
#include "platform/ini_text.h"
#include "utility/cursor/shipped_schemes.h"

namespace {

// `text` into `out` of `size` bytes whole, or false with `out` untouched.
bool CopyWhole(const char* text, char* out, size_t size) {
  const size_t length = std::strlen(text);
  if (length >= size) return false;
  std::memcpy(out, text, length + 1);
  return true;
}

}  // namespace

void NoScheme(Scheme* scheme) {
  *scheme = Scheme();
  CopyWhole(kNoSchemeName, scheme->name, sizeof scheme->name);
}

bool FindShippedScheme(const char* name, Scheme* scheme) {
  for (const ShippedScheme& shipped : kShippedSchemes) {
    if (!platform::SameTextIgnoringCase(shipped.name, name)) continue;
    *scheme = Scheme();
    CopyWhole(shipped.name, scheme->name, sizeof scheme->name);
    for (size_t role = 0; role < kRoleCount; ++role) {
      if (shipped.files[role]) CopyWhole(shipped.files[role], scheme->files[role], sizeof scheme->files[role]);
    }
    return true;
  }
  return false;
}

bool OwnScheme(const SchemeFile& file, const char* folder, Scheme* scheme) {
  if (std::strlen(folder) >= sizeof scheme->folder) return false;
  *scheme = Scheme();
  scheme->own = true;
  CopyWhole(folder, scheme->folder, sizeof scheme->folder);
  CopyCut(file.name, scheme->name, sizeof scheme->name);
  for (size_t role = 0; role < kRoleCount; ++role) {
    CopyCut(file.files[role], scheme->files[role], sizeof scheme->files[role]);
  }
  return true;
}

bool SchemeCursorPath(const Scheme& scheme, size_t role, char* path, size_t size) {
  if (size == 0) return false;
  path[0] = '\0';
  if (role >= kRoleCount || !IsPlainFileName(scheme.files[role])) return false;
  const char* folder = scheme.own ? scheme.folder : kCursorRoles[role].folder;
  const size_t folderLength = std::strlen(folder), nameLength = std::strlen(scheme.files[role]);
  if (folderLength + nameLength >= size) return false;
  std::memcpy(path, folder, folderLength);
  std::memcpy(path + folderLength, scheme.files[role], nameLength + 1);
  return true;
}

bool ChoiceDiffersFromScheme(const Scheme& scheme, size_t role, const char* storedName) {
  if (IsDefaultName(storedName)) return false;
  // A list entry of the role's folder that is the scheme's own file shows the same cursor.
  return scheme.own || !scheme.files[role][0] || !platform::SameTextIgnoringCase(storedName, scheme.files[role]);
}

bool SizingDiffersFromScheme(const Scheme& scheme, int32_t sizing) {
  if (sizing == 0) return false;
  if (scheme.own) return true;
  for (size_t role = 0; role < kRoleCount; ++role) {
    const CursorRoleInfo& info = kCursorRoles[role];
    if (info.choice == RoleChoice::Sizing && !platform::SameTextIgnoringCase(scheme.files[role], info.largeFile)) return true;
  }
  return false;
}

bool SettingsDifferFromScheme(const Scheme& scheme, const CursorSettings& settings) {
  if (SizingDiffersFromScheme(scheme, settings.Sizing)) return true;
  for (size_t role = 0; role < kRoleCount; ++role) {
    const char* choice = StoredChoice(settings, role);
    if (choice && ChoiceDiffersFromScheme(scheme, role, choice)) return true;
  }
  return false;
}
