// Where the settings file lives: in the user's own application-data folder, which a standard
// user can write and which roams with the profile; and the older places whose file is taken
// over at the first start. Paths are composed, never cut: a path that does not fit is refused,
// so a cut can never name another file.
#pragma once
#include <cstddef>

// The folder of the program's own in the application-data folder: "<appData>\Pointrel".
bool ComposeSettingsFolder(const char* appData, char* out, size_t size);
// "<folder>\<profileName>".
bool ComposeSettingsFile(const char* folder, const char* profileName, char* out, size_t size);
// The run marker beside the settings file: its name with the extension ".RUN" in place of the
// last one (or added where it has none), "<folder>\Pointrel.RUN".
bool ComposeRunMarker(const char* settingsFile, char* out, size_t size);
// The per-user copy that the platform's file virtualization kept of a file in the Windows folder
// written by an older Pointrel: "<localAppData>\VirtualStore<Windows folder without its
// drive>\<profileName>". False also for a Windows folder without a drive ("C:").
bool ComposeVirtualStoreFile(const char* localAppData, const char* windowsFolder, const char* profileName, char* out,
                             size_t size);

// The message said when the settings could not be saved in `file`: where, and why when the
// reason is known (`folderIsFile`: the settings folder, `folder`, is a file and not a folder).
// False, with `out` empty, when it does not fit.
bool ComposeSaveFailureMessage(const char* file, const char* folderIsFile, char* out, size_t size);
