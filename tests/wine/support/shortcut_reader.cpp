#include "tests/wine/support/shortcut_reader.h"

#include <gtest/gtest.h>
#include <objbase.h>
#include <shlobj.h>

namespace wine_test {

ShortcutContents ReadShortcut(const std::string& path) {
  ShortcutContents contents;
  ::CoInitialize(nullptr);
  IShellLinkA* link = nullptr;
  if (SUCCEEDED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                   reinterpret_cast<void**>(&link)))) {
    IPersistFile* file = nullptr;
    if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
      WCHAR wide[MAX_PATH];
      // A path that does not convert whole is not loaded: a shortened one names another file.
      if (::MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide, MAX_PATH) != 0) {
        contents.loaded = file->Load(wide, STGM_READ);
      }
      if (SUCCEEDED(contents.loaded)) {
        char text[MAX_PATH] = "";
        if (SUCCEEDED(link->GetPath(text, MAX_PATH, nullptr, SLGP_RAWPATH))) contents.target = text;
        text[0] = '\0';
        if (SUCCEEDED(link->GetWorkingDirectory(text, MAX_PATH))) contents.workingFolder = text;
        text[0] = '\0';
        if (SUCCEEDED(link->GetDescription(text, MAX_PATH))) contents.description = text;
      }
      file->Release();
    }
    link->Release();
  }
  ::CoUninitialize();
  return contents;
}

void ExpectPointrelShortcut(const std::string& link, const std::string& installFolder) {
  const ShortcutContents contents = ReadShortcut(link);
  ASSERT_EQ(S_OK, contents.loaded) << link;
  EXPECT_STRCASEEQ((installFolder + "\\Pointrel.EXE").c_str(), contents.target.c_str()) << link;
  EXPECT_STRCASEEQ(installFolder.c_str(), contents.workingFolder.c_str()) << link;
  EXPECT_EQ("Pointrel version 2.0", contents.description) << link;
}

}  // namespace wine_test
