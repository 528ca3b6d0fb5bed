// The utility's public import argument: `Pointrel.EXE /import "<path>" [/quiet]`. A second
// start hands its whole command line to the running utility, which parses it again; the second
// process ends with the import's exit code. Without any platform call.
#pragma once
#include <cstddef>

#include "platform/text_buffers.h"

struct ImportCommand {
  bool import = false;
  // No questions: the pack's own slotting, no preview, no message.
  bool quiet = false;
  char path[kTextBufferSize] = "";
};

// The import's exit codes.
constexpr int kImportDone = 0;
constexpr int kImportRefused = 1;    // the path, the pack or the copy failed
constexpr int kImportCancelled = 2;  // the user cancelled the preview

// A whole command line as the platform gives it: the program (quoted or not), then "/import"
// (or "-import", any letter case) and the path (quoted when it holds blanks), and "/quiet"
// before or after them. Anything else (an unknown word, a missing or empty path, one too long
// for `path`) is no import.
ImportCommand ParseImportCommand(const char* commandLine);
