#include "installer/install_services_win.h"

#include <shlobj.h>

#include <new>

#include "installer/error_text_win.h"
#include "installer/uninstall_registry_win.h"
#include "platform/shell_link.h"

namespace {

class Files final : public FileSystem {
 public:
  std::uint32_t CreateFolder(const char* path) override { return ::CreateDirectoryA(path, nullptr) ? 0 : ::GetLastError(); }
  bool IsFolder(const char* path) override {
    const DWORD attributes = ::GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
  }
  bool FileExists(const char* path) override {
    const DWORD attributes = ::GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
  }
  std::uint32_t CopyFileOver(const char* source, const char* destination) override {
    return ::CopyFileA(source, destination, FALSE) ? 0 : ::GetLastError();
  }
  std::uint32_t MoveFile(const char* from, const char* to) override {
    return ::MoveFileExA(from, to, MOVEFILE_WRITE_THROUGH) ? 0 : ::GetLastError();
  }
  std::uint32_t ReplaceFile(const char* from, const char* to) override {
    return ::MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) ? 0 : ::GetLastError();
  }
  std::uint32_t RemoveFile(const char* path) override {
    const DWORD attributes = ::GetFileAttributesA(path);
    const bool readOnly = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY);
    if (readOnly) ::SetFileAttributesA(path, attributes & ~FILE_ATTRIBUTE_READONLY);
    if (::DeleteFileA(path)) return 0;
    const DWORD error = ::GetLastError();
    if (readOnly) ::SetFileAttributesA(path, attributes);
    return error;
  }
  void RemoveEmptyFolder(const char* path) override { ::RemoveDirectoryA(path); }
  std::uint32_t CheckRemovable(const char* path) override {
    // Opened for deletion without sharing: refused while any program has the file open.
    HANDLE file = ::CreateFileA(path, DELETE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return ::GetLastError();
    ::CloseHandle(file);
    return 0;
  }
  std::uint32_t DigestFile(const char* path, FileDigest& digest) override {
    digest = FileDigest{};
    digest.hash = kHashStart;
    HANDLE file = ::CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE) return ::GetLastError();
    constexpr DWORD kChunk = 64 * 1024;
    char* buffer = new (std::nothrow) char[kChunk];
    DWORD error = buffer ? 0 : ERROR_NOT_ENOUGH_MEMORY;
    for (DWORD read = 0; error == 0; digest.size += read) {
      if (!::ReadFile(file, buffer, kChunk, &read, nullptr)) error = ::GetLastError();
      if (error != 0 || read == 0) break;
      digest.hash = ContinueHash(digest.hash, buffer, read);
    }
    delete[] buffer;
    ::CloseHandle(file);
    return error;
  }
  std::uint32_t ReadWholeFile(const char* path, std::size_t limit, char*& bytes, std::size_t& size) override {
    bytes = nullptr;
    size = 0;
    HANDLE file = ::CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return ::GetLastError();
    LARGE_INTEGER length;
    DWORD error = ::GetFileSizeEx(file, &length) ? 0 : ::GetLastError();
    // Read no further than the limit: what lies beyond it is refused by the reader anyway.
    const std::size_t wanted = error ? 0 : static_cast<std::size_t>(length.QuadPart) < limit ? static_cast<std::size_t>(length.QuadPart) : limit;
    if (error == 0 && !(bytes = new (std::nothrow) char[wanted + 1])) error = ERROR_NOT_ENOUGH_MEMORY;
    DWORD read = 0;
    if (error == 0 && !::ReadFile(file, bytes, static_cast<DWORD>(wanted), &read, nullptr)) error = ::GetLastError();
    ::CloseHandle(file);
    if (error != 0) {
      delete[] bytes;
      bytes = nullptr;
      return error;
    }
    size = read;
    return 0;
  }
  std::uint32_t WriteWholeFile(const char* path, const char* data, std::size_t size) override {
    HANDLE file = ::CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return ::GetLastError();
    DWORD written = 0;
    DWORD error = ::WriteFile(file, data, static_cast<DWORD>(size), &written, nullptr) ? 0 : ::GetLastError();
    if (error == 0 && written != size) error = ERROR_DISK_FULL;
    if (error == 0 && !::FlushFileBuffers(file)) error = ::GetLastError();
    ::CloseHandle(file);
    return error;
  }
  void ForEachEntry(const char* folder, Visit visit, void* context) override {
    char relative[kTextBufferSize] = "";
    Walk(folder, relative, visit, context, 0);
  }

 private:
  // Visits everything below root\relative, a folder before what it holds; false once visit has
  // asked to stop.
  bool Walk(const char* root, const char* relative, Visit visit, void* context, int depth) {
    char folder[kTextBufferSize];
    char pattern[kTextBufferSize];
    if (depth > 32 || !(relative[0] ? JoinPath(folder, sizeof folder, root, relative) : CopyText(folder, sizeof folder, root)) ||
        !JoinPath(pattern, sizeof pattern, folder, "*")) {
      return true;
    }
    WIN32_FIND_DATAA found;
    HANDLE search = ::FindFirstFileA(pattern, &found);
    if (search == INVALID_HANDLE_VALUE) return true;
    bool going = true;
    do {
      if (!lstrcmpA(found.cFileName, ".") || !lstrcmpA(found.cFileName, "..")) continue;
      char inner[kTextBufferSize];
      if (!(relative[0] ? JoinPath(inner, sizeof inner, relative, found.cFileName)
                        : CopyText(inner, sizeof inner, found.cFileName))) {
        continue;
      }
      const bool isFolder = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
      going = visit(inner, isFolder, context);
      if (going && isFolder) going = Walk(root, inner, visit, context, depth + 1);
    } while (going && ::FindNextFileA(search, &found));
    ::FindClose(search);
    return going;
  }
};

class Shell final : public ShellServices {
 public:
  void GetWindowsFolder(char* buffer, std::size_t size) override {
    const UINT length = ::GetWindowsDirectoryA(buffer, static_cast<UINT>(size));
    if (length == 0 || length >= size) buffer[0] = '\0';
  }
  bool GetShellFolder(ShortcutKind kind, char* buffer, std::size_t size) override {
    const int csidl = kind == ShortcutKind::Desktop     ? CSIDL_DESKTOPDIRECTORY
                      : kind == ShortcutKind::StartMenu ? CSIDL_PROGRAMS
                                                        : CSIDL_STARTUP;
    return platform::GetUserShellFolder(csidl, buffer, size);
  }
  std::int32_t CreateShortcut(const char* target, const char* link, const char* workingFolder,
                              const char* description) override {
    return platform::CreateShortcut(target, link, workingFolder, description);
  }
  bool ShortcutTarget(const char* link, char* out, std::size_t size) override {
    return platform::ReadShortcutTarget(link, out, size);
  }
};

class Services final : public InstallServices {
 public:
  void Sleep(unsigned milliseconds) override { ::Sleep(milliseconds); }
  std::uint32_t WriteUninstallEntry(const UninstallEntry& entry) override { return WriteEntryToRegistry(entry); }
  void Today(char (&date)[9]) override {
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    if (!FormatInstallDate(now.wYear, now.wMonth, now.wDay, date)) date[0] = '\0';
  }
  PlatformErrorText ErrorText() override { return &PlatformErrorMessage; }
  std::uint32_t RemoveEntry() override { return RemoveEntryFromRegistry(); }
};

Files files;
Shell shell;
Services services;

DWORD WINAPI CopyWorkerThread(LPVOID) {
  CopyWorker(installState, files, shell, services);
  return 0;
}

}  // namespace

FileSystem& PlatformFiles() { return files; }
ShellServices& PlatformShell() { return shell; }
InstallServices& PlatformServices() { return services; }

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
