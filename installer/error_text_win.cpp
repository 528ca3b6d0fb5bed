#include "installer/error_text_win.h"

#include <windows.h>

bool PlatformErrorMessage(std::uint32_t error, char* out, std::size_t size) {
  const DWORD length = ::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0, out,
                                        static_cast<DWORD>(size), nullptr);
  if (length == 0) return false;
  for (DWORD end = length; end > 0 && (out[end - 1] == '\r' || out[end - 1] == '\n' || out[end - 1] == ' '); --end) {
    out[end - 1] = '\0';
  }
  return true;
}
