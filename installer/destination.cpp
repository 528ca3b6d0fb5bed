#include "installer/destination.h"

#include <cstring>

namespace {

// Inserts what at position, moving the rest (terminator included) to the right. The caller
// has checked that the text stays within kTextBufferSize.
void InsertAt(char* text, std::size_t& length, std::size_t position, const char* what) {
  std::size_t count = std::strlen(what);
  std::memmove(text + position + count, text + position, length - position + 1);
  std::memcpy(text + position, what, count);
  length += count;
}

}  // namespace

bool NormalizeDestination(char* text) {
  std::size_t length = strnlen(text, kTextBufferSize);
  if (length == 0 || length == kTextBufferSize) return false;

  // Work on a copy so that a refused text is left as it came.
  char work[kTextBufferSize + 4];
  std::memcpy(work, text, length + 1);

  bool colonSeen = false;
  const std::size_t last = length - 1;
  for (std::size_t i = length; i-- > 0;) {
    if (work[i] == ':') {
      if (i != 1) return false;
      colonSeen = true;
    } else if (work[i] == '\\' && i == last && i != 0) {
      work[i] = '\0';
      --length;
    }
  }

  if (!colonSeen) InsertAt(work, length, 0, "C:");
  if (length == 2) InsertAt(work, length, 2, "\\");
  if (work[2] != '\\') InsertAt(work, length, 2, "\\");
  if (work[length - 1] != '\\') InsertAt(work, length, length, "\\");

  if (length >= kTextBufferSize) return false;
  std::memcpy(text, work, length + 1);
  return true;
}
