#include "installer/uninstaller_win.h"

#include <windows.h>
#include <shlobj.h>

#include "installer/destination.h"
#include "installer/error_text_win.h"
#include "installer/install_journal.h"
#include "installer/install_services_win.h"
#include "installer/install_state.h"
#include "installer/installation.h"
#include "installer/removal.h"
#include "installer/running_utility_win.h"
#include "installer/uninstall_registry_win.h"
#include "platform/shell_link.h"
#include "utility/records/settings_location.h"

namespace {

const char kUninstallCaption[] = "Uninstall Pointrel";
constexpr DWORD kFirstProcessWaitMs = 30000;
constexpr int kExitRemoved = 0;     // removed, or nothing to remove
constexpr int kExitPartly = 1;      // not all of it could be removed (or a file was in use)
constexpr int kExitUnverified = 2;  // the record could not be verified: nothing was removed

// A folder as its canonical form, "" for one that has none.
void Canonical(const char* text, char (&out)[kTextBufferSize]) {
  char part[8];
  if (CanonicalFolder(text, 0, out, sizeof out, part, sizeof part) != PathProblem::None) out[0] = '\0';
}

// The folder a program path lies in.
void FolderOf(const char* path, char (&folder)[kTextBufferSize]) {
  char copy[kTextBufferSize];
  CopyText(copy, sizeof copy, path);
  char* cut = copy;
  for (char* at = copy; *at; ++at) {
    if (*at == '\\') cut = at;
  }
  *cut = '\0';
  Canonical(copy, folder);
}

// True when ownPath names the uninstaller the installer put beside the program.
bool IsInstalledUninstaller(const char* ownPath) {
  const char* name = ownPath;
  for (const char* at = ownPath; *at; ++at) {
    if (*at == '\\') name = at + 1;
  }
  return lstrcmpiA(name, kUninstallerName) == 0;
}

// What the entry in the list of installed programs says: only ever a hint.
struct Entry {
  bool exists = false;
  char folder[kTextBufferSize] = "";  // canonical, "" for none
  Entry() {
    char hint[kTextBufferSize];
    exists = ReadEntryLocation(hint, sizeof hint);
    Canonical(hint, folder);
  }
  // It goes with the installation it names, and where it names none at all.
  bool GoesWith(const char* removed) const {
    return exists && (folder[0] == '\0' || SamePath(folder, removed) || !HoldsInstallation(PlatformFiles(), folder));
  }
};

void Say(bool quiet, const char* text, UINT icon) {
  if (!quiet) ::MessageBoxA(nullptr, text, kUninstallCaption, MB_OK | icon);
}

int Unverified(const char* folder, const char* name, const RecordReading& reading, bool quiet) {
  static char message[4 * kTextBufferSize];
  ComposeUnverifiedMessage(folder, name, reading, &PlatformErrorMessage, message, sizeof message);
  AppendText(message, sizeof message, "\n\nNothing has been changed.");
  Say(quiet, message, MB_ICONWARNING);
  return kExitUnverified;
}

bool Wide(const char* text, WCHAR* out, int size) { return ::MultiByteToWideChar(CP_ACP, 0, text, -1, out, size) != 0; }

// A copy of this program in a folder of its own under the user's temporary folder, started to
// do the removal once this process has ended. False when it could not be started.
bool StartHelper(const char* folder, bool removeSettings, bool quiet, const char* ownPath) {
  WCHAR temp[kMaxPath], helperFolder[kMaxPath], copy[kMaxPath], own[kMaxPath];
  const DWORD length = ::GetTempPathW(kMaxPath, temp);
  if (length == 0 || length >= kMaxPath - 40 || !Wide(ownPath, own, kMaxPath)) return false;
  wsprintfW(helperFolder, L"%sPointrel uninstall %lu", temp, ::GetCurrentProcessId());
  ::CreateDirectoryW(helperFolder, nullptr);
  wsprintfW(copy, L"%s\\%s", helperFolder, L"Uninstall.EXE");
  if (!::CopyFileW(own, copy, FALSE)) return false;

  HANDLE self = nullptr;
  if (!::DuplicateHandle(::GetCurrentProcess(), ::GetCurrentProcess(), ::GetCurrentProcess(), &self, SYNCHRONIZE, TRUE, 0)) {
    return false;
  }
  char arguments[kTextBufferSize + 64];
  WCHAR wideArguments[kMaxPath + 64];
  static WCHAR commandLine[2 * kMaxPath + 80];
  const bool composed =
      ComposeHelperArguments(arguments, sizeof arguments, static_cast<std::uint32_t>(reinterpret_cast<UINT_PTR>(self)),
                             removeSettings, quiet, folder) &&
      Wide(arguments, wideArguments, kMaxPath + 64);
  bool started = false;
  if (composed) {
    wsprintfW(commandLine, L"\"%s\" %s", copy, wideArguments);
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    started = ::CreateProcessW(copy, commandLine, nullptr, nullptr, TRUE, 0, nullptr, helperFolder, &startup, &process) != FALSE;
    if (started) {
      ::CloseHandle(process.hThread);
      ::CloseHandle(process.hProcess);
    }
  }
  ::CloseHandle(self);
  if (!started) {
    ::DeleteFileW(copy);
    ::RemoveDirectoryW(helperFolder);
  }
  return started;
}

// The helper's own copy and folder: no program can remove the file it runs from, so the
// platform's command processor removes both once this process has ended.
void RemoveHelperAfterExit(const char* ownPath) {
  WCHAR own[kMaxPath], folder[kMaxPath], system[kMaxPath], processor[kMaxPath];
  if (!Wide(ownPath, own, kMaxPath)) return;
  lstrcpyW(folder, own);
  WCHAR* cut = nullptr;
  for (WCHAR* at = folder; *at; ++at) {
    if (*at == L'\\') cut = at;
  }
  if (!cut) return;
  *cut = L'\0';
  const UINT length = ::GetSystemDirectoryW(system, kMaxPath);
  if (length == 0 || length >= kMaxPath - 10) return;
  wsprintfW(processor, L"%s\\cmd.exe", system);
  static WCHAR commandLine[3 * kMaxPath + 100];
  wsprintfW(commandLine, L"cmd.exe /d /q /s /c \"ping -n 3 127.0.0.1 >nul & del /f /q \"%s\" & rd \"%s\"\"", own, folder);
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  if (::CreateProcessW(processor, commandLine, nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, system, &startup,
                       &process)) {
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
  }
}

// The settings' folder, "<application data>\Pointrel", "" where the shell cannot say.
void SettingsFolder(char (&folder)[kTextBufferSize]) {
  char appData[kTextBufferSize];
  if (!platform::GetUserShellFolder(CSIDL_APPDATA, appData, sizeof appData) ||
      !ComposeSettingsFolder(appData, folder, sizeof folder)) {
    folder[0] = '\0';
  }
}

// The removal itself: a run cut short there is finished first, then what the record proves goes.
int Remove(const char* folder, bool removeSettings, bool quiet) {
  RunningUtility running;
  if (FindRunningUtility(running)) EndRunningUtility(running);
  FileSystem& files = PlatformFiles();
  static char message[8 * kTextBufferSize];
  StepFailure step;
  const Recovery recovery = Recover(files, folder, step);
  if (recovery == Recovery::Failed) {
    char reason[512];
    DescribeError(step.error, "the disk", &PlatformErrorMessage, reason, sizeof reason);
    CopyText(message, sizeof message, "Pointrel was not removed: an installation in ");
    AppendText(message, sizeof message, folder);
    AppendText(message, sizeof message, " was cut short and could not be finished.\n\n");
    AppendText(message, sizeof message, step.path);
    AppendText(message, sizeof message, "\n");
    AppendText(message, sizeof message, reason);
    Say(quiet, message, MB_ICONWARNING);
    return kExitPartly;
  }
  InstallRecord journal;
  if (recovery == Recovery::Unreadable) {
    return Unverified(folder, kJournalName, ReadRecordFile(files, folder, kJournalName, journal), quiet);
  }
  const Entry entry;
  static InstallRecord record;
  const RecordReading reading = ReadInstallation(files, folder, record);
  if (reading.read == RecordRead::Missing && recovery == Recovery::Undone) {
    // A first installation cut short: undoing it removed all it had written.
    if (entry.GoesWith(folder)) RemoveEntryFromRegistry();
    Say(quiet, "Pointrel has been removed from your computer.", MB_ICONINFORMATION);
    return kExitRemoved;
  }
  if (reading.read != RecordRead::Intact) return Unverified(folder, kRecordName, reading, quiet);
  static RemovalPlan plan;
  CopyText(plan.folder, sizeof plan.folder, folder);
  plan.record = &record;
  plan.removeEntry = entry.GoesWith(folder);
  plan.removeSettings = removeSettings;
  SettingsFolder(plan.settingsFolder);
  const RemovalOutcome outcome =
      RemoveInstallation(plan, files, PlatformShell(), PlatformServices(), &PlatformErrorMessage, message, sizeof message);
  Say(quiet, message, outcome == RemovalOutcome::Removed ? MB_ICONINFORMATION : MB_ICONWARNING);
  return outcome == RemovalOutcome::Removed ? kExitRemoved : kExitPartly;
}

}  // namespace

int RunUninstaller(const InstallerCommand& command, const char* ownPath) {
  char folder[kTextBufferSize] = "";
  if (command.mode == InstallerMode::UninstallHelper) {
    // The first process holds the uninstaller's file until it has ended.
    HANDLE first = reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(command.waitFor));
    ::WaitForSingleObject(first, kFirstProcessWaitMs);
    ::CloseHandle(first);
    Canonical(command.folder, folder);
    const int code = folder[0] ? Remove(folder, command.removeSettings, command.quiet) : kExitUnverified;
    RemoveHelperAfterExit(ownPath);
    return code;
  }

  // The uninstaller's own folder is the installation it belongs to; from anywhere else (the
  // installation medium) the installation the entry names, or else the default folder's, where
  // its record confirms it.
  const Entry entry;
  FileSystem& files = PlatformFiles();
  if (IsInstalledUninstaller(ownPath)) {
    FolderOf(ownPath, folder);
  } else {
    Installation found;
    FindInstallation(files, PlatformShell(), entry.folder, installState.destinationPath, found);
    CopyText(folder, sizeof folder, found.found ? found.folder : entry.folder);
  }
  if (folder[0] == '\0' || !files.IsFolder(folder)) {
    // An entry that names no installation at all is one of ours left behind.
    if (entry.GoesWith(folder)) RemoveEntryFromRegistry();
    Say(command.quiet, kNothingToRemoveMessage, MB_ICONINFORMATION);
    return kExitRemoved;
  }
  if (!HoldsInstallation(files, folder)) {
    static InstallRecord record;
    return Unverified(folder, kRecordName, ReadInstallation(files, folder, record), command.quiet);
  }
  if (!command.quiet && ::MessageBoxA(nullptr, "Remove Pointrel from your computer?", kUninstallCaption,
                                      MB_YESNO | MB_ICONQUESTION) != IDYES) {
    return kExitRemoved;
  }
  char settingsFolder[kTextBufferSize];
  char settings[kTextBufferSize];
  SettingsFolder(settingsFolder);
  bool removeSettings = false;
  if (!command.quiet && settingsFolder[0] != '\0' && JoinPath(settings, sizeof settings, settingsFolder, kSettingsFileName) &&
      files.FileExists(settings)) {
    static char question[kTextBufferSize + 200];
    lstrcpyA(question, "Remove your Pointrel settings too?\n\nThey are kept in ");
    lstrcatA(question, settings);
    lstrcatA(question, " unless you answer Yes.");
    removeSettings = ::MessageBoxA(nullptr, question, kUninstallCaption, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) == IDYES;
  }
  // Run from inside the folder, this file could not go: a copy elsewhere does the removal.
  if (IsInsideFolder(ownPath, folder) && StartHelper(folder, removeSettings, command.quiet, ownPath)) return kExitRemoved;
  return Remove(folder, removeSettings, command.quiet);
}
