#include "platform/shell_link.h"

#include <objbase.h>
#include <objidl.h>
#include <shlobj.h>

#include "platform/text_buffers.h"

namespace platform {

HRESULT CreateShortcut(const char* target, const char* link, const char* workingFolder, const char* description) {
  // Called on the copy worker's own thread, where no other apartment model can be in force. Only
  // a successful initialisation is paired with its end.
  const HRESULT initialised = ::CoInitialize(nullptr);
  IShellLinkA* shellLink = nullptr;
  HRESULT result = ::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                      reinterpret_cast<void**>(&shellLink));
  if (SUCCEEDED(result)) {
    shellLink->SetPath(target);
    shellLink->SetDescription(description);
    shellLink->SetWorkingDirectory(workingFolder);
    IPersistFile* file = nullptr;
    result = shellLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file));
    if (SUCCEEDED(result)) {
      WCHAR widePath[MAX_PATH];
      if (::MultiByteToWideChar(CP_ACP, 0, link, -1, widePath, MAX_PATH) != 0) {
        result = file->Save(widePath, TRUE);
      } else {
        // A path cut short or unconverted would save somewhere else.
        result = HRESULT_FROM_WIN32(::GetLastError());
      }
      file->Release();
    }
    shellLink->Release();
  }
  if (SUCCEEDED(initialised)) ::CoUninitialize();
  return result;
}

bool ReadShortcutTarget(const char* link, char* out, size_t size) {
  if (size == 0) return false;
  out[0] = '\0';
  WCHAR widePath[MAX_PATH];
  if (::MultiByteToWideChar(CP_ACP, 0, link, -1, widePath, MAX_PATH) == 0) return false;
  const HRESULT initialised = ::CoInitialize(nullptr);
  IShellLinkA* shellLink = nullptr;
  bool read = false;
  if (SUCCEEDED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                   reinterpret_cast<void**>(&shellLink)))) {
    IPersistFile* file = nullptr;
    if (SUCCEEDED(shellLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
      char target[kTextBufferSize] = "";
      // The path as stored; a target that no longer exists is still named.
      read = SUCCEEDED(file->Load(widePath, STGM_READ)) &&
             shellLink->GetPath(target, sizeof target, nullptr, SLGP_RAWPATH) == S_OK && target[0] != '\0' &&
             lstrlenA(target) < static_cast<int>(size);
      if (read) lstrcpynA(out, target, static_cast<int>(size));
      file->Release();
    }
    shellLink->Release();
  }
  if (SUCCEEDED(initialised)) ::CoUninitialize();
  return read;
}

bool GetUserShellFolder(int csidl, char* out, size_t size) {
  using GetFolderPath = BOOL(WINAPI*)(HWND, LPSTR, int, BOOL);
  HMODULE shell = ::LoadLibraryA("shell32.dll");
  if (!shell) return false;
  const auto get = reinterpret_cast<GetFolderPath>(reinterpret_cast<void*>(::GetProcAddress(shell, "SHGetSpecialFolderPathA")));
  char path[kTextBufferSize] = "";
  const bool found = get && get(nullptr, path, csidl, FALSE) && path[0] != '\0' && lstrlenA(path) < static_cast<int>(size);
  if (found) lstrcpynA(out, path, static_cast<int>(size));
  ::FreeLibrary(shell);
  return found;
}

}  // namespace platform
