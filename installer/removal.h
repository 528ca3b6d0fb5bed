// What the uninstaller removes, and in what order: exactly what the installer made (the manifest's files,
// the uninstaller, the shortcuts it recorded, the entry), the folders it made once they are
// empty, and the settings only when asked. Files the user added stay, with their folders.
// Before anything goes, every installed file is checked: one that is in use stops the removal
// with nothing changed. Platform-free; the platform's file and registry calls come through
// RemovalServices.
#pragma once
#include <cstddef>
#include <cstdint>

#include "installer/failure_reason.h"
#include "installer/uninstall_entry.h"
#include "platform/text_buffers.h"

class RemovalServices {
 public:
  virtual bool FileExists(const char* path) = 0;
  // 0 when the file could be removed now (no program holds it open), else the platform's error.
  virtual std::uint32_t CheckRemovable(const char* path) = 0;
  // Removes a file, read-only or not. Returns 0, or the platform's error code.
  virtual std::uint32_t RemoveFile(const char* path) = 0;
  // Removes a folder that is empty; one that is not, or is missing, stays as it is.
  virtual void RemoveEmptyFolder(const char* path) = 0;
  // visit(path relative to folder, context) for every file below folder, at any depth.
  virtual void ForEachFile(const char* folder, void (*visit)(const char* relative, void* context), void* context) = 0;
  // Removes the entry in the list of installed programs. Returns 0, or the platform's error.
  virtual std::uint32_t RemoveEntry() = 0;

 protected:
  ~RemovalServices() = default;
};

struct RemovalPlan {
  char folder[kTextBufferSize] = "";  // the installation, as the entry records it
  char shortcuts[kShortcutKinds][kTextBufferSize] = {};
  bool entryExists = false;
  bool removeSettings = false;
  char settingsFolder[kTextBufferSize] = "";  // "<application data>\Pointrel"; "" when unknown
};

enum class RemovalOutcome {
  NothingToRemove,  // no entry and none of the installed files
  Blocked,          // an installed file is in use: nothing was changed
  Removed,          // everything the installer made is gone
  Partly,           // some of it could not be removed; the entry and the uninstaller stay
};

// The settings file the utility keeps in its folder of the application-data folder (its run
// marker lies beside it).
extern const char kSettingsFileName[];  // "Pointrel.INI"

// True when there is anything of an installation at plan.folder (or an entry) to remove.
bool SomethingToRemove(const RemovalPlan& plan, RemovalServices& services);

// Removes the installation and composes the last message into message (size bytes).
RemovalOutcome RemoveInstallation(const RemovalPlan& plan, RemovalServices& services, PlatformErrorText platformText,
                                  char* message, std::size_t size);

extern const char kNothingToRemoveMessage[];
