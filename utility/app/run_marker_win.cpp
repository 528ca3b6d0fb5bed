#include "utility/app/run_marker_win.h"

#include <windows.h>

#include <cstring>

#include "platform/text_buffers.h"
#include "utility/records/settings_location.h"

namespace {
char markerPath[kTextBufferSize] = "";
}  // namespace

bool BeginRunMarker(const char* settingsFile) {
  // A bare name would put the marker in whatever the current folder is.
  if (!std::strchr(settingsFile, '\\') || !ComposeRunMarker(settingsFile, markerPath, sizeof markerPath)) {
    markerPath[0] = '\0';
    return false;
  }
  const bool left = ::GetFileAttributesA(markerPath) != INVALID_FILE_ATTRIBUTES;
  HANDLE marker = ::CreateFileA(markerPath, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (marker != INVALID_HANDLE_VALUE) ::CloseHandle(marker);
  return left;
}

void EndRunMarker() {
  if (markerPath[0]) ::DeleteFileA(markerPath);
}
