#include "installer/uninstall_command.h"

#include <cstring>

#include "installer/copy_worker.h"
#include "installer/failure_reason.h"
#include "installer/install_state.h"
#include "installer/uninstall_entry.h"

const char kHelperArgument[] = "/uninstall-helper";

namespace {

// The next argument of a command line, up to a space or tab outside quotes; the quotes
// themselves are dropped. Returns the rest, or nullptr when there is none or it does not fit.
const char* NextArgument(const char* at, char* out, std::size_t size) {
  while (*at == ' ' || *at == '\t') ++at;
  if (*at == '\0') return nullptr;
  std::size_t length = 0;
  bool quoted = false;
  for (; *at != '\0' && (quoted || (*at != ' ' && *at != '\t')); ++at) {
    if (*at == '"') {
      quoted = !quoted;
      continue;
    }
    if (length + 1 >= size) return nullptr;
    out[length++] = *at;
  }
  out[length] = '\0';
  return at;
}

bool SameWord(const char* a, const char* b) {
  for (; *a && *b; ++a, ++b) {
    const char x = (*a >= 'A' && *a <= 'Z') ? static_cast<char>(*a - 'A' + 'a') : *a;
    const char y = (*b >= 'A' && *b <= 'Z') ? static_cast<char>(*b - 'A' + 'a') : *b;
    if (x != y) return false;
  }
  return *a == *b;
}

// word begins with prefix (compared without regard to case).
bool StartsWithWord(const char* word, const char* prefix) {
  const std::size_t length = std::strlen(prefix);
  if (std::strlen(word) < length) return false;
  char head[16];
  if (length >= sizeof head) return false;
  std::memcpy(head, word, length);
  head[length] = '\0';
  return SameWord(head, prefix);
}

bool ReadNumber(const char* text, std::uint32_t& value) {
  if (*text == '\0') return false;
  std::uint64_t number = 0;
  for (; *text; ++text) {
    if (*text < '0' || *text > '9') return false;
    number = number * 10 + static_cast<unsigned>(*text - '0');
    if (number > 0xFFFFFFFFu) return false;
  }
  value = static_cast<std::uint32_t>(number);
  return true;
}

bool ReadFlag(const char* text, bool& value) {
  std::uint32_t number = 0;
  if (!ReadNumber(text, number) || number > 1) return false;
  value = number == 1;
  return true;
}

bool ParseHelper(const char* at, InstallerCommand& command) {
  char word[32];
  std::uint32_t handle = 0;
  bool settings = false, quiet = false;
  if (!(at = NextArgument(at, word, sizeof word)) || !ReadNumber(word, handle) || handle == 0) return false;
  if (!(at = NextArgument(at, word, sizeof word)) || !ReadFlag(word, settings)) return false;
  if (!(at = NextArgument(at, word, sizeof word)) || !ReadFlag(word, quiet)) return false;
  if (!(at = NextArgument(at, command.folder, sizeof command.folder)) || command.folder[0] == '\0') return false;
  if (NextArgument(at, word, sizeof word)) return false;
  command.waitFor = handle;
  command.removeSettings = settings;
  command.quiet = quiet;
  return true;
}

}  // namespace

InstallerCommand ParseInstallerCommand(const char* commandLine) {
  InstallerCommand command;
  char word[kTextBufferSize];
  const char* at = NextArgument(commandLine, word, sizeof word);  // the program's own name
  if (!at) return command;
  const char* first = NextArgument(at, word, sizeof word);
  if (!first) return command;
  if (SameWord(word, kHelperArgument)) {
    InstallerCommand helper;
    helper.mode = InstallerMode::UninstallHelper;
    if (ParseHelper(first, helper)) return helper;
    return command;
  }
  if (SameWord(word, kUninstallArgument)) {
    InstallerCommand uninstall;
    uninstall.mode = InstallerMode::Uninstall;
    while ((first = NextArgument(first, word, sizeof word))) {
      if (!SameWord(word, kQuietArgument)) return command;
      uninstall.quiet = true;
    }
    return uninstall;
  }
  // The installer: quiet where any argument says so, every argument then one it knows.
  InstallerCommand install;
  for (const char* rest = at;;) {
    while (*rest == ' ' || *rest == '\t') ++rest;
    if (*rest == '\0') break;
    if (!(rest = NextArgument(rest, word, sizeof word))) {
      install.unknownArgument = true;  // too long for any argument of ours
      break;
    }
    if (SameWord(word, kQuietArgument)) {
      install.quiet = true;
    } else if (SameWord(word, "/desktop")) {
      install.desktop = true;
    } else if (SameWord(word, "/startup")) {
      install.startup = true;
    } else if (StartsWithWord(word, "/dir=") && word[5] != '\0' && install.folder[0] == '\0') {
      CopyText(install.folder, sizeof install.folder, word + 5);
    } else {
      install.unknownArgument = true;
    }
  }
  return install.quiet ? install : command;
}

bool ComposeHelperArguments(char* out, std::size_t size, std::uint32_t waitFor, bool removeSettings, bool quiet,
                            const char* folder) {
  if (size == 0) return false;
  out[0] = '\0';
  // A folder ending in "\" would escape the closing quote for other programs' parsers.
  char plain[kTextBufferSize];
  if (!CopyText(plain, sizeof plain, folder)) return false;
  StripTrailingBackslash(plain);
  const bool fits = std::strchr(plain, '"') == nullptr && AppendText(out, size, kHelperArgument) &&
                    AppendText(out, size, " ") && AppendNumber(out, size, waitFor) &&
                    AppendText(out, size, removeSettings ? " 1" : " 0") && AppendText(out, size, quiet ? " 1 \"" : " 0 \"") &&
                    AppendText(out, size, plain) && AppendText(out, size, "\"");
  if (!fits) out[0] = '\0';
  return fits;
}
