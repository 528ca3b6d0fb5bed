// The library that the build generates (the 50 cursor files in their role folders), copied into
// a fresh folder so a test may remove files from it.
#pragma once
#include <windows.h>

#include <string>

#include "tests/wine/support/wine_test_support.h"

namespace library_copy {

constexpr const char* kRoleFolders[5] = {"NORMAL", "APPSTART", "BUSY", "IBEAM", "SIZING"};

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

// Copies the generated library to a fresh folder named `name`; returns the number of files.
inline int CopyGeneratedLibrary(const std::string& root) {
  int copied = 0;
  for (const char* role : kRoleFolders) {
    const std::string from = GeneratedLibrary() + "/" + role;
    const std::string to = root + "\\" + role;
    EmptyFolder(to);
    WIN32_FIND_DATAA found;
    HANDLE search = ::FindFirstFileA((from + "/*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) continue;
    do {
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
      if (::CopyFileA((from + "/" + found.cFileName).c_str(), (to + "\\" + found.cFileName).c_str(), FALSE)) ++copied;
    } while (::FindNextFileA(search, &found));
    ::FindClose(search);
  }
  return copied;
}

}  // namespace library_copy
