#include "installer/destination.h"

#include <cstring>

#include "installer/failure_reason.h"

namespace {

char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// The platform's own device names, which name a device in every folder, with any extension.
bool IsDeviceName(const char* name, std::size_t length) {
  std::size_t base = 0;
  while (base < length && name[base] != '.') ++base;
  while (base > 0 && name[base - 1] == ' ') --base;
  char upper[8];
  if (base == 0 || base >= sizeof upper) return false;
  for (std::size_t i = 0; i < base; ++i) upper[i] = Upper(name[i]);
  upper[base] = '\0';
  static const char* const kDevices[] = {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"};
  for (const char* device : kDevices) {
    if (std::strcmp(upper, device) == 0) return true;
  }
  return base == 4 && (std::strncmp(upper, "COM", 3) == 0 || std::strncmp(upper, "LPT", 3) == 0) && upper[3] >= '1' &&
         upper[3] <= '9';
}

// One folder or file name (not "." or ".."), as the platform would keep it.
PathProblem CheckName(const char* name, std::size_t length) {
  for (std::size_t i = 0; i < length; ++i) {
    const unsigned char c = static_cast<unsigned char>(name[i]);
    if (c < 0x20 || std::strchr("<>:\"/\\|?*", c) != nullptr) return PathProblem::BadCharacter;
  }
  if (name[length - 1] == '.' || name[length - 1] == ' ') return PathProblem::TrailingDotOrSpace;
  if (IsDeviceName(name, length)) return PathProblem::DeviceName;
  return PathProblem::None;
}

bool IsDots(const char* name, std::size_t length) {
  return (length == 1 && name[0] == '.') || (length == 2 && name[0] == '.' && name[1] == '.');
}

void CopyPart(char* part, std::size_t partSize, const char* name, std::size_t length) {
  if (partSize == 0) return;
  if (length >= partSize) length = partSize - 1;
  std::memcpy(part, name, length);
  part[length] = '\0';
}

bool SameText(const char* a, const char* b, std::size_t length) {
  for (std::size_t i = 0; i < length; ++i) {
    if (Upper(a[i]) != Upper(b[i])) return false;
  }
  return true;
}

}  // namespace

PathProblem CanonicalFolder(const char* typed, std::size_t room, char* out, std::size_t size, char* part,
                            std::size_t partSize) {
  if (partSize > 0) part[0] = '\0';
  if (size > 0) out[0] = '\0';
  const std::size_t length = strnlen(typed, kTextBufferSize);
  if (length == 0) return PathProblem::Empty;
  if (length == kTextBufferSize || size < 4) return PathProblem::TooLong;
  char work[kTextBufferSize];
  for (std::size_t i = 0; i <= length; ++i) work[i] = typed[i] == '/' ? '\\' : typed[i];
  if (work[0] == '\\' && work[1] == '\\') return PathProblem::NetworkPath;

  const char* rest = work;
  char drive = 'C';
  if (work[0] == ':') return PathProblem::BadDrive;
  if (work[1] == ':') {
    drive = Upper(work[0]);
    if (drive < 'A' || drive > 'Z') {
      CopyPart(part, partSize, work, 2);
      return PathProblem::BadDrive;
    }
    rest = work + 2;
  }
  out[0] = drive;
  out[1] = ':';
  out[2] = '\0';
  std::size_t used = 2;
  while (*rest != '\0') {
    const char* name = rest;
    while (*rest != '\0' && *rest != '\\') ++rest;
    const std::size_t nameLength = static_cast<std::size_t>(rest - name);
    if (*rest == '\\') ++rest;
    if (nameLength == 0 || (nameLength == 1 && name[0] == '.')) continue;
    if (IsDots(name, nameLength)) {
      // ".." goes up one name, never above the drive's root.
      if (used == 2) {
        out[0] = '\0';
        return PathProblem::AboveRoot;
      }
      while (out[used - 1] != '\\') --used;
      out[--used] = '\0';
      continue;
    }
    if (const PathProblem problem = CheckName(name, nameLength); problem != PathProblem::None) {
      CopyPart(part, partSize, name, nameLength);
      out[0] = '\0';
      return problem;
    }
    if (used + 1 + nameLength >= size) {
      out[0] = '\0';
      return PathProblem::TooLong;
    }
    out[used++] = '\\';
    std::memcpy(out + used, name, nameLength);
    used += nameLength;
    out[used] = '\0';
  }
  if (used == 2) {
    out[used++] = '\\';
    out[used] = '\0';
  }
  // The folder, a "\" (a root has its own) and the installation's longest path below it.
  if (WideLength(out) + (used == 3 ? 0 : 1) + room >= kMaxPath) {
    out[0] = '\0';
    return PathProblem::TooLong;
  }
  return PathProblem::None;
}

void DescribePathProblem(PathProblem problem, const char* part, char* out, std::size_t size) {
  if (size == 0) return;
  out[0] = '\0';
  const char* before = "";
  const char* after = "";
  switch (problem) {
    case PathProblem::None: return;
    case PathProblem::Empty: before = "Type the folder to install Pointrel into, for example C:\\Pointrel."; break;
    case PathProblem::NetworkPath:
      before = "Pointrel is installed into a folder on a drive of this computer, such as C:\\Pointrel, not on a network path.";
      break;
    case PathProblem::BadDrive: before = "A drive is one letter and a colon, such as C: or D:, at the start of the path."; break;
    case PathProblem::BadCharacter:
      before = "The name \"";
      after = "\" holds a character that no folder name may hold (one of : < > \" | ? *).";
      break;
    case PathProblem::TrailingDotOrSpace:
      before = "The name \"";
      after = "\" ends in a dot or a space, which Windows drops from folder names.";
      break;
    case PathProblem::DeviceName:
      before = "\"";
      after = "\" is the name of a device, not of a folder.";
      break;
    case PathProblem::AboveRoot: before = "The path goes above the root of its drive."; break;
    case PathProblem::TooLong:
      before = "The path is too long: the files of Pointrel in that folder would have longer paths than Windows allows.";
      break;
  }
  if (!AppendText(out, size, before) || (after[0] != '\0' && (!AppendText(out, size, part) || !AppendText(out, size, after)))) {
    out[0] = '\0';
  }
}

bool IsCanonicalFolder(const char* folder) {
  char canonical[kTextBufferSize];
  char part[8];
  return CanonicalFolder(folder, 0, canonical, sizeof canonical, part, sizeof part) == PathProblem::None &&
         std::strcmp(canonical, folder) == 0;
}

bool IsInnerPath(const char* relative) {
  const std::size_t length = strnlen(relative, kTextBufferSize);
  if (length == 0 || length == kTextBufferSize || WideLength(relative) >= kMaxPath) return false;
  const char* at = relative;
  for (;;) {
    const char* name = at;
    while (*at != '\0' && *at != '\\') ++at;
    const std::size_t nameLength = static_cast<std::size_t>(at - name);
    if (nameLength == 0 || IsDots(name, nameLength) || CheckName(name, nameLength) != PathProblem::None) return false;
    if (*at == '\0') return true;
    ++at;
  }
}

bool SamePath(const char* a, const char* b) {
  const std::size_t length = std::strlen(a);
  return length == std::strlen(b) && SameText(a, b, length);
}

bool IsInsideFolder(const char* path, const char* folder) {
  const std::size_t length = std::strlen(folder);
  if (length == 0 || std::strlen(path) <= length || !SameText(path, folder, length)) return false;
  // A root ends in its own "\"; any other folder is followed by one.
  return folder[length - 1] == '\\' ? path[length] != '\\' : path[length] == '\\';
}
