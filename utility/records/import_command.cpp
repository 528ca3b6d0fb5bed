#include "utility/records/import_command.h"

#include <cstring>

namespace {

bool IsSpace(char c) { return c == ' ' || c == '\t'; }

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// The next word of `at` into `word` (quotes group blanks and are dropped, as the platform's
// own splitting does for a path); null at the end, or when it does not fit or a quote is not
// closed.
const char* NextWord(const char* at, char* word, size_t size, bool* ended) {
  while (IsSpace(*at)) ++at;
  *ended = *at == '\0';
  if (*ended) return at;
  size_t length = 0;
  bool quoted = false;
  for (; *at && (quoted || !IsSpace(*at)); ++at) {
    if (*at == '"') {
      quoted = !quoted;
      continue;
    }
    if (length + 1 >= size) return nullptr;
    word[length++] = *at;
  }
  if (quoted) return nullptr;
  word[length] = '\0';
  return at;
}

// "/name" or "-name", in any letter case.
bool IsSwitch(const char* word, const char* name) {
  if (word[0] != '/' && word[0] != '-') return false;
  size_t i = 0;
  for (; name[i]; ++i) {
    if (Lower(word[i + 1]) != name[i]) return false;
  }
  return word[i + 1] == '\0';
}

}  // namespace

ImportCommand ParseImportCommand(const char* commandLine) {
  ImportCommand command;
  if (!commandLine) return command;
  char word[kTextBufferSize];
  bool ended = false;
  // The program's name, quoted or not.
  const char* at = NextWord(commandLine, word, sizeof word, &ended);
  bool import = false, quiet = false, havePath = false;
  while (at) {
    at = NextWord(at, word, sizeof word, &ended);
    if (!at || ended) break;
    if (IsSwitch(word, "quiet") && !quiet) {
      quiet = true;
    } else if (IsSwitch(word, "import") && !import) {
      import = true;
      at = NextWord(at, command.path, sizeof command.path, &ended);
      havePath = at && !ended && command.path[0];
    } else {
      at = nullptr;
    }
  }
  if (!at || !import || !havePath) return ImportCommand{};
  command.import = true;
  command.quiet = quiet;
  return command;
}
