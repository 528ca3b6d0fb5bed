// The floor for the blink benchmark: the platform calls of a Rapid blink at rest and nothing
// else. Every 200 ms it asks where the pointer is and, turn about, installs a copy of the blank
// or of its own arrow under Normal and I-Beam, releasing the copies it installed before, as a
// platform that keeps its hands off the copies needs.
#include <windows.h>

#include "utility/resources/resource.h"

namespace {
HCURSOR blank = nullptr, arrow = nullptr, beam = nullptr;
HCURSOR held[2] = {};
bool hidden = false;

void Install(HCURSOR image, DWORD id, int place) {
  HCURSOR copy = static_cast<HCURSOR>(::CopyImage(image, IMAGE_CURSOR, 0, 0, 0));
  if (!copy || !::SetSystemCursor(copy, id)) return;
  if (held[place]) ::DestroyCursor(held[place]);
  held[place] = copy;
}

void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
  POINT where;
  ::GetCursorPos(&where);
  hidden = !hidden;
  Install(hidden ? blank : arrow, 32512, 0);
  Install(hidden ? blank : beam, 32513, 1);
}
}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  blank = ::LoadCursorA(instance, MAKEINTRESOURCEA(IDC_BLANK));
  arrow = static_cast<HCURSOR>(::CopyImage(::LoadCursorA(nullptr, IDC_ARROW), IMAGE_CURSOR, 0, 0, 0));
  beam = static_cast<HCURSOR>(::CopyImage(::LoadCursorA(nullptr, IDC_IBEAM), IMAGE_CURSOR, 0, 0, 0));
  ::SetTimer(nullptr, 1, 200, &Tick);
  MSG message;
  while (::GetMessageA(&message, nullptr, 0, 0) > 0) ::DispatchMessageA(&message);
  return 0;
}
