#include "installer/failure_reason.h"

#include <cstring>

namespace {

const char* OwnText(std::uint32_t error) {
  switch (error) {
    case kErrorPathNotFound: return "The folder for it does not exist.";
    case kErrorAccessDenied: return "Access to it was refused (it may be read-only, or not yours to change).";
    case kErrorSharingViolation:
    case kErrorLockViolation: return "It is in use by another program.";
    case kErrorHandleDiskFull:
    case kErrorDiskFull: return "There is not enough room on the drive.";
    case kErrorFileExists:
    case kErrorAlreadyExists: return "A file or folder of that name is in the way.";
    default: return nullptr;
  }
}

}  // namespace

bool AppendText(char* out, std::size_t size, const char* text) {
  const std::size_t used = std::strlen(out);
  const std::size_t length = std::strlen(text);
  if (used + length >= size) return false;
  std::memcpy(out + used, text, length + 1);
  return true;
}

bool AppendNumber(char* out, std::size_t size, std::uint32_t value) {
  char digits[16];
  char* at = digits + sizeof digits;
  *--at = '\0';
  do *--at = static_cast<char>('0' + value % 10);
  while ((value /= 10) != 0);
  return AppendText(out, size, at);
}

void DescribeError(std::uint32_t error, const char* missingWhat, PlatformErrorText platformText, char* out,
                   std::size_t size) {
  if (size == 0) return;
  out[0] = '\0';
  if (error == kErrorFileNotFound) {
    if (AppendText(out, size, "It is missing from ") && AppendText(out, size, missingWhat) && AppendText(out, size, ".")) {
      return;
    }
    out[0] = '\0';
  } else if (const char* own = OwnText(error)) {
    if (AppendText(out, size, own)) return;
  } else if (platformText && platformText(error, out, size) && out[0] != '\0') {
    return;
  }
  out[0] = '\0';
  if (!AppendText(out, size, "Error ") || !AppendNumber(out, size, error) || !AppendText(out, size, ".")) out[0] = '\0';
}
