#include "installer/install_services_win.h"

#include "installer/copy_worker.h"
#include <shlobj.h>

#include "installer/uninstall_registry_win.h"
#include "platform/shell_link.h"

namespace {

class PlatformServices final : public InstallServices {
 public:
  std::uint32_t CreateFolder(const char* path) override {
    return ::CreateDirectoryA(path, nullptr) ? 0 : ::GetLastError();
  }
  std::uint32_t CopyFileOver(const char* source, const char* destination) override {
    return ::CopyFileA(source, destination, FALSE) ? 0 : ::GetLastError();
  }
  void RemoveFile(const char* path) override { ::DeleteFileA(path); }
  std::uint64_t FileSize(const char* path) override {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!::GetFileAttributesExA(path, GetFileExInfoStandard, &data)) return 0;
    return (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
  }
  void Sleep(unsigned milliseconds) override { ::Sleep(milliseconds); }
  void GetWindowsFolder(char* buffer, std::size_t size) override {
    UINT length = ::GetWindowsDirectoryA(buffer, static_cast<UINT>(size));
    if (length == 0 || length >= size) buffer[0] = '\0';
  }
  bool GetShellFolder(ShellFolder folder, char* buffer, std::size_t size) override {
    const int csidl = folder == ShellFolder::Desktop    ? CSIDL_DESKTOPDIRECTORY
                      : folder == ShellFolder::Programs ? CSIDL_PROGRAMS
                                                        : CSIDL_STARTUP;
    return platform::GetUserShellFolder(csidl, buffer, size);
  }
  std::int32_t CreateShortcut(const char* target, const char* link, const char* workingFolder,
                              const char* description) override {
    return platform::CreateShortcut(target, link, workingFolder, description);
  }
  std::uint32_t WriteUninstallEntry(const UninstallEntry& entry) override { return WriteEntryToRegistry(entry); }
  void Today(char (&date)[9]) override {
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    if (!FormatInstallDate(now.wYear, now.wMonth, now.wDay, date)) date[0] = '\0';
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
