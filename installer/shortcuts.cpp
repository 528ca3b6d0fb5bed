#include "installer/shortcuts.h"

#include "installer/destination.h"
#include "installer/install_state.h"

const char kDesktopFolder[] = "DESKTOP\\";
const char kStartupFolder[] = "Start Menu\\Programs\\StartUp\\";
const char kProgramsFolder[] = "Start Menu\\Programs\\";
const char kShortcutName[] = "Pointrel.LNK";
const char kTargetName[] = "Pointrel.EXE";
const char kShortcutDescription[] = "Pointrel version 2.0";

bool ComposeLinkPath(char* out, std::size_t size, const char* windowsFolder, const char* subfolder) {
  char folder[kTextBufferSize];
  if (!JoinPath(folder, sizeof folder, windowsFolder, subfolder)) {
    if (size > 0) out[0] = '\0';
    return false;
  }
  return JoinPath(out, size, folder, kShortcutName);
}

bool ComposeShortcutLink(ShellServices& shell, ShortcutKind kind, char (&link)[kTextBufferSize]) {
  char shellFolder[kTextBufferSize];
  if (shell.GetShellFolder(kind, shellFolder, sizeof shellFolder) && shellFolder[0] != '\0') {
    return JoinPath(link, sizeof link, shellFolder, kShortcutName) && WideLength(link) < kMaxPath;
  }
  static const char* const kUnderWindows[kShortcutKinds] = {kDesktopFolder, kProgramsFolder, kStartupFolder};
  char windowsFolder[kTextBufferSize];
  shell.GetWindowsFolder(windowsFolder, sizeof windowsFolder);
  return ComposeLinkPath(link, sizeof link, windowsFolder, kUnderWindows[static_cast<int>(kind)]) &&
         WideLength(link) < kMaxPath;
}

bool IsOurShortcut(ShellServices& shell, FileSystem& files, ShortcutKind kind, const char* folder,
                   char (&link)[kTextBufferSize]) {
  char program[kTextBufferSize];
  char target[kTextBufferSize];
  return ComposeShortcutLink(shell, kind, link) && files.FileExists(link) &&
         JoinPath(program, sizeof program, folder, kTargetName) && shell.ShortcutTarget(link, target, sizeof target) &&
         SamePath(target, program);
}
