#include "utility/cursor/pack_description.h"

#include <cstring>

bool CopyCut(const char* text, char* out, size_t size) {
  const size_t length = std::strlen(text);
  size_t kept = length < size ? length : size - 1;
  // Never half a UTF-8 sequence: back up over continuation bytes to the lead.
  if (kept < length) {
    while (kept > 0 && (static_cast<unsigned char>(text[kept]) & 0xC0) == 0x80) --kept;
  }
  std::memcpy(out, text, kept);
  out[kept] = '\0';
  return kept == length;
}

bool ReduceToFileName(const char* path, char* name, size_t size) {
  const char* start = path;
  for (const char* at = path; *at; ++at) {
    if (*at == '\\' || *at == '/' || *at == ':') start = at + 1;
  }
  while (*start == ' ' || *start == '\t') ++start;
  const char* end = start + std::strlen(start);
  while (end > start && (end[-1] == ' ' || end[-1] == '\t')) --end;
  const size_t length = static_cast<size_t>(end - start);
  const size_t kept = length < size ? length : size - 1;
  std::memcpy(name, start, kept);
  name[kept] = '\0';
  return kept == length;
}

void SetRoleFile(PackDescription* description, size_t role, const char* path) {
  description->cut[role] = !ReduceToFileName(path, description->files[role], kPackNameSize);
  description->found = true;
}
