#include "platform/app.h"

#include <commctrl.h>

#include <cstring>

#include "platform/help_viewer.h"

namespace {
CWinApp* theApp = nullptr;

// Replaces the extension of the last path element (or appends one) within `size` characters.
void ReplaceExtension(char* path, size_t size, const char* extension) {
  char* name = std::strrchr(path, '\\');
  name = name ? name + 1 : path;
  char* dot = std::strrchr(name, '.');
  if (dot) *dot = '\0';
  if (std::strlen(path) + std::strlen(extension) < size) std::strcat(path, extension);
}
}  // namespace

CWinApp::CWinApp() { theApp = this; }

CWinApp::~CWinApp() {
  if (theApp == this) theApp = nullptr;
}

CWinApp* AfxGetApp() { return theApp; }

void CWinApp::Attach(HINSTANCE module) {
  instance = module;
  DWORD length = ::GetModuleFileNameA(module, programPath, sizeof programPath);
  if (length == 0 || length >= sizeof programPath) programPath[0] = '\0';
  const char* base = std::strrchr(programPath, '\\');
  base = base ? base + 1 : programPath;
  ::lstrcpynA(profileName, base, sizeof profileName);
  ReplaceExtension(profileName, sizeof profileName, ".INI");
  ::lstrcpynA(helpFilePath, programPath, sizeof helpFilePath);
  ReplaceExtension(helpFilePath, sizeof helpFilePath, ".HLP");
}

BOOL CWinApp::InitApplication() { return TRUE; }

BOOL CWinApp::InitInstance() { return TRUE; }

int CWinApp::ExitInstance() { return 0; }

BOOL CWinApp::Enable3dControls() {
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_STANDARD_CLASSES};
  return ::InitCommonControlsEx(&controls);
}

int CWinApp::GetProfileString(const char* section, const char* key, const char* fallback, char* buffer,
                              int size) {
  return static_cast<int>(::GetPrivateProfileStringA(section, key, fallback, buffer, size, profileName));
}

UINT CWinApp::GetProfileInt(const char* section, const char* key, int fallback) {
  return ::GetPrivateProfileIntA(section, key, fallback, profileName);
}

BOOL CWinApp::WriteProfileString(const char* section, const char* key, const char* value) {
  return ::WritePrivateProfileStringA(section, key, value, profileName);
}

BOOL CWinApp::WriteProfileInt(const char* section, const char* key, int value) {
  char text[16];
  ::wsprintfA(text, "%d", value);
  return ::WritePrivateProfileStringA(section, key, text, profileName);
}

BOOL CWinApp::OnHelpCommand(HWND) { return FALSE; }

void CWinApp::OnHelp(HWND window) { AfxWinHelp(window, 0, HELP_CONTEXT); }

void CWinApp::DoWaitCursor(int code) {
  waitCursorCount += code;
  if (waitCursorCount < 0) waitCursorCount = 0;
  if (waitCursorCount > 0) {
    HCURSOR before = ::SetCursor(::LoadCursorA(nullptr, IDC_WAIT));
    if (code > 0 && waitCursorCount == 1) cursorBeforeWait = before;
  } else if (code < 0) {
    ::SetCursor(cursorBeforeWait);
  }
}

void AfxWinHelp(HWND window, ULONG_PTR data, UINT command) {
  CWinApp* app = AfxGetApp();
  const char* file = app ? app->helpFilePath : "";
  if (platform::WinHelpA(window, file, command, data)) return;
  // Captioned after the help file ("Pointrel Help"), never the bare program title, which a
  // second start of the program looks for.
  char caption[kTextBufferSize + 8] = "Help";
  const char* base = std::strrchr(file, '\\');
  base = base ? base + 1 : file;
  const char* dot = std::strrchr(base, '.');
  const size_t length = dot ? static_cast<size_t>(dot - base) : std::strlen(base);
  if (length > 0 && length < kTextBufferSize) {
    std::memcpy(caption, base, length);
    std::strcpy(caption + length, " Help");
  }
  ::MessageBoxA(window, "Failed to launch help.", caption, MB_OK | MB_ICONEXCLAMATION);
}
