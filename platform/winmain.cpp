#include "platform/app.h"

// The framework's start-up: InitApplication, then InitInstance, then a message loop only if
// both succeed. The programs here do all their work inside InitInstance.
int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  CWinApp* app = AfxGetApp();
  if (!app) return 1;
  app->Attach(instance);
  if (!app->InitApplication()) return 0;
  if (!app->InitInstance()) return app->ExitInstance();
  MSG message;
  while (::GetMessageA(&message, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&message);
    ::DispatchMessageA(&message);
  }
  return app->ExitInstance();
}
