// The installer's application object: its start-up runs the four pages (with "/quiet", the
// installation without them; started by the list of installed programs, the uninstaller) and
// returns FALSE, so the process ends without a message loop.
#pragma once
#include "platform/app.h"

class InstallerApp : public CWinApp {
 public:
  BOOL InitInstance() override;
  int ExitInstance() override;

 private:
  int exitCode = 0;  // the outcome of the uninstaller and of the quiet install; 0 for the pages
};
