#include "utility/records/guard_command.h"

#include <cstring>

namespace {

struct PrivateArgument {
  const char* prefix;  // followed by the utility's process id
  GuardRole role;
  bool late;
};
constexpr PrivateArgument kArguments[] = {
    {"--pointrel-guard-start=", GuardRole::Starter, false},
    {"--pointrel-guard-start-late=", GuardRole::Starter, true},
    {"--pointrel-guard=", GuardRole::Guard, false},
    {"--pointrel-guard-late=", GuardRole::Guard, true},
};

bool IsSpace(char c) { return c == ' ' || c == '\t'; }

// Past the program's name: a quoted run up to its closing quote, or a run of non-blanks.
const char* SkipProgramName(const char* at) {
  while (IsSpace(*at)) ++at;
  if (*at == '"') {
    const char* close = std::strchr(at + 1, '"');
    return close ? close + 1 : nullptr;
  }
  while (*at && !IsSpace(*at)) ++at;
  return at;
}

// A decimal process id from 1 to 4294967295, digits only, up to the end or a blank.
bool ReadProcessId(const char* at, uint32_t* id, const char** end) {
  uint64_t value = 0;
  const char* digit = at;
  for (; *digit >= '0' && *digit <= '9'; ++digit) {
    value = value * 10 + static_cast<uint64_t>(*digit - '0');
    if (value > 0xFFFFFFFFu) return false;
  }
  if (digit == at || value == 0) return false;
  *id = static_cast<uint32_t>(value);
  *end = digit;
  return true;
}

}  // namespace

GuardCommand ParseGuardCommand(const char* commandLine) {
  GuardCommand command;
  if (!commandLine) return command;
  const char* at = SkipProgramName(commandLine);
  if (!at) return command;
  while (IsSpace(*at)) ++at;
  const PrivateArgument* found = nullptr;
  for (const PrivateArgument& argument : kArguments) {
    if (std::strncmp(at, argument.prefix, std::strlen(argument.prefix)) == 0) found = &argument;
  }
  if (!found) return command;
  at += std::strlen(found->prefix);
  uint32_t id = 0;
  const char* end = nullptr;
  if (!ReadProcessId(at, &id, &end)) return command;
  while (IsSpace(*end)) ++end;
  if (*end) return command;
  command.role = found->role;
  command.utilityProcess = id;
  command.late = found->late;
  return command;
}

namespace {
bool Format(char* out, size_t size, const char* prefix, uint32_t id) {
  if (size == 0) return false;
  char digits[10];  // the id's decimal digits, last first
  size_t count = 0;
  do {
    digits[count++] = static_cast<char>('0' + id % 10);
    id /= 10;
  } while (id);
  const size_t prefixLength = std::strlen(prefix);
  if (prefixLength + count >= size) {
    out[0] = '\0';
    return false;
  }
  std::memcpy(out, prefix, prefixLength);
  for (size_t i = 0; i < count; ++i) out[prefixLength + i] = digits[count - 1 - i];
  out[prefixLength + count] = '\0';
  return true;
}
}  // namespace

bool FormatGuardArgument(GuardRole role, bool late, uint32_t utilityProcess, char* out, size_t size) {
  for (const PrivateArgument& argument : kArguments) {
    if (argument.role == role && argument.late == late) return Format(out, size, argument.prefix, utilityProcess);
  }
  if (size > 0) out[0] = '\0';
  return false;
}

bool FormatGuardEventName(const char* stem, uint32_t utilityProcess, char* out, size_t size) {
  return Format(out, size, stem, utilityProcess);
}

bool ComposeHandedDefaultsFolder(const char* temporaryFolder, uint32_t utilityProcess, char* out, size_t size) {
  char name[48];
  if (size == 0 || !Format(name, sizeof name, "Pointrel defaults ", utilityProcess)) return false;
  out[0] = '\0';
  const size_t folderLength = std::strlen(temporaryFolder);
  if (folderLength == 0) return false;
  const bool separated = temporaryFolder[folderLength - 1] == '\\';
  const size_t total = folderLength + (separated ? 0 : 1) + std::strlen(name);
  if (total + 1 > size) return false;
  std::memcpy(out, temporaryFolder, folderLength);
  size_t at = folderLength;
  if (!separated) out[at++] = '\\';
  std::strcpy(out + at, name);
  return true;
}
