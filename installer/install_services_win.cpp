#include "installer/install_services_win.h"

#include "installer/copy_worker.h"
#include <shlobj.h>

#include "platform/shell_link.h"

namespace {

class PlatformServices final : public InstallServices {
 public:
  std::uint32_t CreateFolder(const char* path) override {
    return ::CreateDirectoryA(path, nullptr) ? 0 : ::GetLastError();
  }
  bool CopyFileOver(const char* source, const char* destination) override {
    return ::CopyFileA(source, destination, FALSE) != FALSE;
  }
  void Sleep(unsigned milliseconds) override { ::Sleep(milliseconds); }
  void GetWindowsFolder(char* buffer, std::size_t size) override {
    UINT length = ::GetWindowsDirectoryA(buffer, static_cast<UINT>(size));
    if (length == 0 || length >= size) buffer[0] = '\0';
  }
  bool GetShellFolder(ShellFolder folder, char* buffer, std::size_t size) override {
    return platform::GetUserShellFolder(folder == ShellFolder::Desktop ? CSIDL_DESKTOPDIRECTORY : CSIDL_STARTUP, buffer,
                                        size);
  }
  std::int32_t CreateShortcut(const char* target, const char* link, const char* workingFolder,
                              const char* description) override {
    return platform::CreateShortcut(target, link, workingFolder, description);
  }
};

PlatformServices services;

}  // namespace

InstallServices& PlatformInstallServices() { return services; }

namespace {

DWORD WINAPI CopyWorkerThread(LPVOID) {
  CopyWorker(installState, services);
  return 0;
}

}  // namespace

bool StartCopyWorker() {
  DWORD id = 0;
  HANDLE thread = ::CreateThread(nullptr, 0, &CopyWorkerThread, nullptr, 0, &id);
  if (!thread) {
    // Nothing was copied: the page reports it as a copy failure when its timer comes.
    installState.failure = InstallFailure::CopyFailed;
    installState.stopRequested.Store(1);
    installState.workerDone.Store(1);
    return false;
  }
  ::SetThreadPriority(thread, THREAD_PRIORITY_NORMAL);
  ::CloseHandle(thread);
  return true;
}

void CancelCopyWorker() { CancelCopy(installState, services); }
