// The library that the build generates (every cursor file of the manifest, in its role's folder),
// copied into a fresh folder so a test may remove files from it.
#pragma once
#include <windows.h>

#include <string>

#include "installer/file_manifest.h"
#include "tests/wine/support/wine_test_support.h"

namespace library_copy {

// The folders of the roles the main dialog's lists and sizing radios choose.
constexpr const char* kRoleFolders[5] = {"NORMAL", "APPSTART", "BUSY", "IBEAM", "SIZING"};
// The files of the whole library.
constexpr int kLibraryFiles = kManifestRows - kFirstCursorRow;

inline std::string GeneratedLibrary() { return wine_test::BinaryDir() + "/generated/library"; }

// Empties (one level of files) or creates `folder`.
inline void EmptyFolder(const std::string& folder) {
  WIN32_FIND_DATAA found;
  HANDLE search = ::FindFirstFileA((folder + "\\*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) ::DeleteFileA((folder + "\\" + found.cFileName).c_str());
    } while (::FindNextFileA(search, &found));
    ::FindClose(search);
  }
  ::CreateDirectoryA(folder.c_str(), nullptr);
}

// Copies the files of one generated folder into `to`, emptied or made first; returns how many.
inline int CopyGeneratedFolder(const std::string& role, const std::string& to) {
  int copied = 0;
  const std::string from = GeneratedLibrary() + "/" + role;
  EmptyFolder(to);
  WIN32_FIND_DATAA found;
  HANDLE search = ::FindFirstFileA((from + "/*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return 0;
  do {
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    if (::CopyFileA((from + "/" + found.cFileName).c_str(), (to + "\\" + found.cFileName).c_str(), FALSE)) ++copied;
  } while (::FindNextFileA(search, &found));
  ::FindClose(search);
  return copied;
}

// Copies the generated library, every role's folder, into `root`; returns the number of files.
inline int CopyGeneratedLibrary(const std::string& root) {
  int copied = 0;
  WIN32_FIND_DATAA found;
  HANDLE search = ::FindFirstFileA((GeneratedLibrary() + "/*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return 0;
  do {
    const std::string name = found.cFileName;
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || name == "." || name == "..") continue;
    copied += CopyGeneratedFolder(name, root + "\\" + name);
  } while (::FindNextFileA(search, &found));
  ::FindClose(search);
  return copied;
}

}  // namespace library_copy
