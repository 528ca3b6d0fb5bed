// The rules for the folders the installer writes into and reads back: the destination the user
// types, put into its one canonical full form or refused with a reason; paths inside an
// installation, as its record names them; and how two canonical folders compare.
#pragma once
#include <cstddef>

#include "installer/install_state.h"

enum class PathProblem {
  None,
  Empty,               // nothing typed
  NetworkPath,         // "\\server\share", "\\?\C:\..."
  BadDrive,            // a colon anywhere but after a drive letter
  BadCharacter,        // < > " | ? * or a control character
  TrailingDotOrSpace,  // a name the platform would silently shorten
  DeviceName,          // CON, NUL, COM1... name devices, not folders
  AboveRoot,           // ".." beyond the drive's root
  TooLong,             // the installation's longest path would pass the platform's limit
};

// Puts a typed folder into its canonical full form "X:\name\name": drive letter upper-case,
// backslashes only, no trailing one but a root's, no empty, "." or ".." names. A text without a
// drive is on C: ("Pointrel" and "\Pointrel" are C:\Pointrel), "D:Tools" is D:\Tools. `room` is
// how many wide characters the installation adds to the folder for its longest path. Returns
// None with out filled, or the problem with out empty and the name at fault (where there is
// one) in part.
PathProblem CanonicalFolder(const char* typed, std::size_t room, char* out, std::size_t size, char* part,
                            std::size_t partSize);

// The reason for a refusal, in the user's words, into out.
void DescribePathProblem(PathProblem problem, const char* part, char* out, std::size_t size);

// True for a text that CanonicalFolder leaves as it is.
bool IsCanonicalFolder(const char* folder);

// True for a path made only of names below a folder: "NORMAL\Apollo.CUR", never a drive, a
// leading "\", "." or "..", a device, or a name the platform would shorten.
bool IsInnerPath(const char* relative);

// Canonical folders compared as the platform compares names (letters A to Z without regard to
// case). SamePath: the same folder or file; IsInsideFolder: `path` lies below `folder`.
bool SamePath(const char* a, const char* b);
bool IsInsideFolder(const char* path, const char* folder);
