// The application object: one static instance per program, started from WinMain, with the
// profile file, help file and wait cursor that dialogs rely on.
#pragma once
#include <windows.h>

#include "platform/text_buffers.h"

class CWinApp {
 public:
  // The names (profile "<base>.INI", help "<program path>.HLP") come from the program file.
  CWinApp();
  virtual ~CWinApp();
  CWinApp(const CWinApp&) = delete;
  CWinApp& operator=(const CWinApp&) = delete;

  // false from either ends the process without a message loop.
  virtual BOOL InitApplication();
  virtual BOOL InitInstance();
  virtual int ExitInstance();

  // The platform already draws dialogs with the three-dimensional look; this only turns on the
  // common controls' own look and reports whether that worked.
  BOOL Enable3dControls();

  // Profile calls on the private file named by `profileName` (no folder: the Windows folder).
  // Texts are read through a buffer of kProfileTextSize characters (platform/text_buffers.h).
  int GetProfileString(const char* section, const char* key, const char* fallback, char* buffer, int size);
  UINT GetProfileInt(const char* section, const char* key, int fallback);
  BOOL WriteProfileString(const char* section, const char* key, const char* value);
  BOOL WriteProfileInt(const char* section, const char* key, int value);

  // The framework's standard Help command (F1 in any dialog): a program whose command map
  // routes it overrides this, typically with OnHelp. False when it is not routed.
  virtual BOOL OnHelpCommand(HWND window);
  // The framework's default help handler: the help file at its first topic.
  void OnHelp(HWND window);

  // Wait-cursor nesting: +1 shows the wait cursor, -1 ends one level and at the last puts back
  // the cursor that showed before, 0 shows it again while a level is open.
  void DoWaitCursor(int code);
  int WaitCursorDepth() const { return waitCursorCount; }

  // Called by WinMain before InitApplication; tests that build their own object call it too.
  void Attach(HINSTANCE instance);

  HINSTANCE instance = nullptr;
  char programPath[kTextBufferSize] = "";
  char profileName[kTextBufferSize] = "";
  char helpFilePath[kTextBufferSize] = "";

 private:
  int waitCursorCount = 0;
  HCURSOR cursorBeforeWait = nullptr;
};

// The program's one application object.
CWinApp* AfxGetApp();

// The framework's help call for the application's help file (CWinApp::helpFilePath): when the
// viewer cannot show it, the framework's message "Failed to launch help." with an OK button.
void AfxWinHelp(HWND window, ULONG_PTR data, UINT command);
