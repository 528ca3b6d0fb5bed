// The installer's three shortcuts: where each one's link is, as the shell keeps the current
// user's folders (looked up when needed, never read back from anywhere), and whether a link there
// is one of ours: a shortcut to the installed Pointrel.EXE.
#pragma once
#include <cstddef>
#include <cstdint>

#include "installer/file_system.h"
#include "installer/install_record.h"
#include "platform/text_buffers.h"

class ShellServices {
 public:
  // The Windows folder into buffer (size bytes); empty when unknown or too long.
  virtual void GetWindowsFolder(char* buffer, std::size_t size) = 0;
  // The current user's folder the shell keeps for `kind` into buffer; false where the shell cannot
  // say, and the Windows-folder rule applies.
  virtual bool GetShellFolder(ShortcutKind kind, char* buffer, std::size_t size) = 0;
  // Writes one shortcut file; the platform's result, negative when it failed.
  virtual std::int32_t CreateShortcut(const char* target, const char* link, const char* workingFolder,
                                      const char* description) = 0;
  // The target a shortcut file names, into out; false for a file that is no shortcut.
  virtual bool ShortcutTarget(const char* link, char* out, std::size_t size) = 0;

 protected:
  ~ShellServices() = default;
};

extern const char kDesktopFolder[];   // "DESKTOP\"
extern const char kStartupFolder[];   // "Start Menu\Programs\StartUp\"
extern const char kProgramsFolder[];  // "Start Menu\Programs\"
extern const char kShortcutName[];    // "Pointrel.LNK"
extern const char kTargetName[];      // "Pointrel.EXE"
extern const char kShortcutDescription[];

// The link of `kind`: "Pointrel.LNK" in the shell's folder for it, or where the shell cannot
// say, in its folder under the Windows folder. False when it does not fit the platform's paths.
bool ComposeShortcutLink(ShellServices& shell, ShortcutKind kind, char (&link)[kTextBufferSize]);

// True when the link of `kind` is a shortcut file whose target is "<folder>\Pointrel.EXE"; its
// path is in link either way.
bool IsOurShortcut(ShellServices& shell, FileSystem& files, ShortcutKind kind, const char* folder,
                   char (&link)[kTextBufferSize]);

// The link path: windowsFolder ("\" when empty), "\" unless already there, subfolder, name.
bool ComposeLinkPath(char* out, std::size_t size, const char* windowsFolder, const char* subfolder);
