// Reads a shortcut file back through the platform's shell-link component.
#pragma once
#include <windows.h>

#include <string>

namespace wine_test {

struct ShortcutContents {
  HRESULT loaded = E_FAIL;  // the result of loading the file
  std::string target, workingFolder, description;
};

// Opens and closes the component object library on the calling thread.
ShortcutContents ReadShortcut(const std::string& path);

// The installer's shortcut at `link` loads and starts Pointrel.EXE of `installFolder` (no
// trailing backslash) in that folder, with the product's description.
void ExpectPointrelShortcut(const std::string& link, const std::string& installFolder);

}  // namespace wine_test
