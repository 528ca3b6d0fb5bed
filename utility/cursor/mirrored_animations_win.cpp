#include "utility/cursor/mirrored_animations_win.h"

#include <cstring>

#include "platform/gdi.h"
#include "platform/text_buffers.h"
#include "utility/records/cursor_role_table.h"

namespace {

// What a role's mirrored file was made from.
struct MadeFile {
  bool made;
  char source[kTextBufferSize];
  FILETIME written;
  DWORD size;
};
MadeFile madeFiles[kRoleCount] = {};

// "<temporary folder>Pointrel-<process id>-<role's registry name>.ANI"; false when it does not fit.
bool MirroredPathOf(size_t role, char* path, size_t size) {
  char folder[MAX_PATH];
  const DWORD length = ::GetTempPathA(sizeof folder, folder);
  if (length == 0 || length >= sizeof folder) return false;
  if (length + 64 > size) return false;
  ::wsprintfA(path, "%sPointrel-%lu-%s.ANI", folder, ::GetCurrentProcessId(), kCursorRoles[role].registryName);
  return true;
}

bool Stamp(const char* path, FILETIME* written, DWORD* size) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!::GetFileAttributesExA(path, GetFileExInfoStandard, &data) || data.nFileSizeHigh != 0) return false;
  *written = data.ftLastWriteTime;
  *size = data.nFileSizeLow;
  return true;
}

bool MadeFrom(const MadeFile& made, const char* source, const FILETIME& written, DWORD size) {
  return made.made && std::strcmp(made.source, source) == 0 && made.size == size &&
         ::CompareFileTime(&made.written, &written) == 0;
}

}  // namespace

HCURSOR MirroredAnimation(size_t role, HCURSOR animation) {
  platform::CursorFileOrigin origin;
  char target[kTextBufferSize];
  FILETIME written;
  DWORD size = 0;
  if (role >= kRoleCount || !platform::GetCursorFileOrigin(animation, &origin) || !origin.animated ||
      !MirroredPathOf(role, target, sizeof target) || !Stamp(origin.path, &written, &size)) {
    return animation;
  }
  MadeFile& made = madeFiles[role];
  HCURSOR mirrored = MadeFrom(made, origin.path, written, size) ? platform::LoadCheckedCursorFile(target) : nullptr;
  if (!mirrored) {
    made.made = platform::WriteMirroredCursorFile(origin.path, target);
    if (!made.made) return animation;
    std::strcpy(made.source, origin.path);
    made.written = written;
    made.size = size;
    mirrored = platform::LoadCheckedCursorFile(target);
    if (!mirrored) return animation;
  }
  platform::ReleaseCursor(animation);
  return mirrored;
}

void RemoveMirroredAnimations() {
  for (size_t role = 0; role < kRoleCount; ++role) {
    char target[kTextBufferSize];
    if (madeFiles[role].made && MirroredPathOf(role, target, sizeof target)) ::DeleteFileA(target);
    madeFiles[role].made = false;
  }
}
