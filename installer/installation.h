// The installation already on this computer, as the installer and the uninstaller find it. The
// folder that the entry in the list of installed programs names is only a hint: a folder is an
// installation when it holds an intact record written for it, or the journal of a run cut short
// there.
#pragma once
#include <cstddef>

#include "installer/file_system.h"
#include "installer/install_record.h"
#include "installer/shortcuts.h"
#include "platform/text_buffers.h"

struct Installation {
  bool found = false;
  char folder[kTextBufferSize] = "";
  bool shortcuts[kShortcutKinds] = {};  // its shortcuts, where they are now
};

// True when `folder` (in its canonical form) holds an installation.
bool HoldsInstallation(FileSystem& files, const char* folder);

// The installation in the folder the entry names (`entryHint`, as read, "" for none), else in
// `fallback` (the default folder), with the shortcuts to it that are there now.
void FindInstallation(FileSystem& files, ShellServices& shell, const char* entryHint, const char* fallback,
                      Installation& found);

// What a typed destination means, given the installation found: refused (with the reason in
// reason), a fresh installation, one over the installation there, or a move of the one found.
enum class DestinationKind { Refused, Fresh, Upgrade, Move };
// canonical receives the destination's canonical form.
DestinationKind CheckDestination(FileSystem& files, const char* typed, const Installation& existing,
                                 char (&canonical)[kTextBufferSize], char* reason, std::size_t size);
