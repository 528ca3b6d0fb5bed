#include "installer/installer_app_win.h"

#include "installer/install_state.h"
#include "installer/pages_win.h"
#include "installer/running_utility_win.h"
#include "installer/uninstall_command.h"
#include "installer/uninstaller_win.h"

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

  WelcomePage welcome;
  DestinationPage destination;
  CopyProgressPage progress;
  FinishPage finish;
  if (welcome.DoModal() == IDCANCEL) return FALSE;
  if (destination.DoModal() == IDCANCEL) return FALSE;
  if (progress.DoModal() == IDCANCEL) return FALSE;
  finish.DoModal();
  // The Pointrel that was ended for the copy comes back once the installer has done.
  if (installState.restartUtility) StartUtility(installState.destinationPath);
  return FALSE;
}

int InstallerApp::ExitInstance() { return exitCode; }
