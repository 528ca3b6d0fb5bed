#include "utility/records/settings_file_win.h"

#include <shlobj.h>

#include "platform/shell_link.h"
#include "platform/text_buffers.h"
#include "utility/records/settings_location.h"

namespace {

bool FileExists(const char* path) {
  const DWORD attributes = ::GetFileAttributesA(path);
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool FolderExists(const char* path) {
  const DWORD attributes = ::GetFileAttributesA(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The file of an older Pointrel, where there is one: the virtualized copy first, since that is
// what the older program read and wrote for this user.
bool FindOlderFile(const char* profileName, char (&older)[kTextBufferSize]) {
  char windowsFolder[kTextBufferSize];
  const UINT length = ::GetWindowsDirectoryA(windowsFolder, sizeof windowsFolder);
  if (length == 0 || length >= sizeof windowsFolder) return false;
  char localAppData[kTextBufferSize];
  if (platform::GetUserShellFolder(CSIDL_LOCAL_APPDATA, localAppData, sizeof localAppData) &&
      ComposeVirtualStoreFile(localAppData, windowsFolder, profileName, older, sizeof older) && FileExists(older)) {
    return true;
  }
  return ComposeSettingsFile(windowsFolder, profileName, older, sizeof older) && FileExists(older);
}

// Where the settings folder should be and a file is instead; empty otherwise.
char folderThatIsAFile[kTextBufferSize] = "";

}  // namespace

const char* SettingsFolderThatIsAFile() { return folderThatIsAFile[0] ? folderThatIsAFile : nullptr; }

void LocateSettingsFile(CWinApp& app) {
  char appData[kTextBufferSize];
  char folder[kTextBufferSize];
  char file[kTextBufferSize];
  if (!platform::GetUserShellFolder(CSIDL_APPDATA, appData, sizeof appData) ||
      !ComposeSettingsFolder(appData, folder, sizeof folder) ||
      !ComposeSettingsFile(folder, app.profileName, file, sizeof file)) {
    return;
  }
  if (FileExists(folder)) {
    // Not replaced by the Windows folder in silence: the save says what is in the way.
    ::lstrcpynA(folderThatIsAFile, folder, sizeof folderThatIsAFile);
    ::lstrcpynA(app.profileName, file, sizeof app.profileName);
    return;
  }
  if (!FolderExists(folder) && !::CreateDirectoryA(folder, nullptr)) return;
  if (!FileExists(file)) {
    char older[kTextBufferSize];
    // Taken over as it stands: the same keys, values and order.
    if (FindOlderFile(app.profileName, older)) ::CopyFileA(older, file, TRUE);
  }
  ::lstrcpynA(app.profileName, file, sizeof app.profileName);
}
