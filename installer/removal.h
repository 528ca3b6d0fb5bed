// What the uninstaller removes, and in what order: what the installation's own record proves the
// installer wrote and nothing else. A file goes only when it lies inside the installation
// folder, is named in the record, and still has the recorded contents; one changed since is kept
// and named as the user's, with the files the user added. A shortcut goes only when it is one of
// the installer's links in the user's shell folders (looked up now) and names the installed
// Pointrel.EXE. The folders the recorded files lie in go once empty; the settings only when
// asked. Before anything goes, every file to remove is checked: one that is in use stops the
// removal with nothing changed. Platform-free, over FileSystem and ShellServices.
#pragma once
#include <cstddef>
#include <cstdint>

#include "installer/failure_reason.h"
#include "installer/file_system.h"
#include "installer/install_journal.h"
#include "installer/install_record.h"
#include "installer/shortcuts.h"
#include "platform/text_buffers.h"

class RemovalServices {
 public:
  // Removes the entry in the list of installed programs. Returns 0, or the platform's error.
  virtual std::uint32_t RemoveEntry() = 0;

 protected:
  ~RemovalServices() = default;
};

// Plain data, made empty by value-initialisation (RemovalPlan plan{}).
struct RemovalPlan {
  char folder[kTextBufferSize];      // the installation, in its canonical form
  const InstallRecord* record;       // its record, intact and written for folder
  bool removeEntry;                  // the entry names this installation (or none that exists)
  bool removeSettings;
  char settingsFolder[kTextBufferSize];  // "<application data>\Pointrel"; "" when unknown
  const char* removedLine;           // the message's first line when all went; nullptr for the uninstaller's
};

enum class RemovalOutcome {
  Blocked,  // a file to remove is in use: nothing was changed
  Removed,  // everything the record proves is gone
  Partly,   // some of it could not be removed; the record and the uninstaller stay
};

// The settings file the utility keeps in its folder of the application-data folder (its run
// marker lies beside it), and the folder of the cursor schemes the user imported.
extern const char kSettingsFileName[];  // "Pointrel.INI"
extern const char kSchemesFolderName[];  // "Schemes"

// Removes the installation and composes the last message into message (size bytes).
RemovalOutcome RemoveInstallation(const RemovalPlan& plan, FileSystem& files, ShellServices& shell,
                                  RemovalServices& services, PlatformErrorText platformText, char* message,
                                  std::size_t size);

extern const char kNothingToRemoveMessage[];

// Why nothing in folder was removed: its record (the file `name` there) could not be read as an
// intact one of ours.
void ComposeUnverifiedMessage(const char* folder, const char* name, const RecordReading& reading,
                              PlatformErrorText platformText, char* out, std::size_t size);
