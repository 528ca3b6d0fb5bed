#include "installer/installer_app_win.h"

#include "installer/copy_worker.h"
#include "installer/install_services_win.h"
#include "installer/install_state.h"
#include "installer/installation.h"
#include "installer/pages_win.h"
#include "installer/running_utility_win.h"
#include "installer/uninstall_command.h"
#include "installer/uninstall_registry_win.h"
#include "installer/uninstaller_win.h"

namespace {

// The Pointrel that was ended for the copy comes back once the installer has done: from the new
// installation where it is in place, else from where it ran.
void RestartUtility() {
  if (!installState.restartUtility) return;
  StartUtility(installState.failure == InstallFailure::None ? installState.destinationPath : installState.restartFrom);
}

// "/quiet": the pages' decisions without the pages, no window, and the outcome as the exit code.
int RunQuietInstall(const InstallerCommand& command) {
  if (command.unknownArgument) return kQuietBadCommand;
  char hint[kTextBufferSize];
  ReadEntryLocation(hint, sizeof hint);
  Installation existing;
  FindInstallation(PlatformFiles(), PlatformShell(), hint, installState.destinationPath, existing);
  // Without a folder of its own it goes where the installation is, else to the default.
  const char* typed = command.folder[0] ? command.folder : existing.found ? existing.folder : installState.destinationPath;
  char canonical[kTextBufferSize];
  char reason[kTextBufferSize];
  const DestinationKind kind = CheckDestination(PlatformFiles(), typed, existing, canonical, reason, sizeof reason);
  if (kind == DestinationKind::Refused) return kQuietBadDestination;
  CopyText(installState.destinationPath, kTextBufferSize, canonical);
  if (kind == DestinationKind::Move) CopyText(installState.previousFolder, kTextBufferSize, existing.folder);
  installState.desktopShortcut = command.desktop ? 1 : 0;
  installState.startAtBoot = command.startup ? 1 : 0;
  RunningUtility running;
  if (FindRunningUtility(running)) {
    if (!EndRunningUtility(running)) return kQuietUtilityRunning;
    NoteRestart(running, existing.found ? existing.folder : canonical, installState);
  }
  installState.showProgress = 0;
  BeginCopy(installState);
  CopyWorker(installState, PlatformFiles(), PlatformShell(), PlatformServices());
  RestartUtility();
  return QuietExitCode(installState);
}

}  // namespace

BOOL InstallerApp::InitInstance() {
  Enable3dControls();
  // The source files are taken from this program's own folder. A path cut short would name
  // another folder, so it is left empty instead, and the copy then fails at its first row.
  DWORD length = ::GetModuleFileNameA(instance, installState.installerPath, kTextBufferSize);
  if (length == 0 || length >= kTextBufferSize) installState.installerPath[0] = '\0';

  static InstallerCommand command;
  command = ParseInstallerCommand(::GetCommandLineA());
  if (command.mode != InstallerMode::Install) {
    exitCode = RunUninstaller(command, installState.installerPath);
    return FALSE;
  }
  if (command.quiet) {
    exitCode = RunQuietInstall(command);
    return FALSE;
  }

  WelcomePage welcome;
  DestinationPage destination;
  CopyProgressPage progress;
  FinishPage finish;
  if (welcome.DoModal() == IDCANCEL) return FALSE;
  if (destination.DoModal() == IDCANCEL) return FALSE;
  if (progress.DoModal() == IDOK) finish.DoModal();
  RestartUtility();
  return FALSE;
}

int InstallerApp::ExitInstance() { return exitCode; }
