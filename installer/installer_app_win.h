// The installer's application object: its start-up runs the four pages and returns FALSE, so
// the process ends without a message loop.
#pragma once
#include "platform/app.h"

class InstallerApp : public CWinApp {
 public:
  BOOL InitInstance() override;
};
