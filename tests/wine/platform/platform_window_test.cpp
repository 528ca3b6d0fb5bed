// The window layer's own operations that both programs' dialogs share: painting a minimised
// window as its icon.
#include <gtest/gtest.h>

#include "platform/window.h"
#include "tests/wine/support/wine_test_support.h"

using wine_test::WaitFor;

namespace {

struct OriginCase {
  const char* name;
  RECT client;
  int iconWidth, iconHeight;
  POINT expected;
};

// The halves are truncated toward zero: where the client is smaller than the icon the origin
// is -15, not the -16 that rounding down would give.
const OriginCase kOriginCases[] = {
    {"even client", {0, 0, 100, 60}, 32, 32, {34, 14}},
    {"odd client", {0, 0, 101, 61}, 32, 32, {35, 15}},
    {"client at an offset", {10, 20, 110, 80}, 32, 32, {34, 14}},
    {"client just the icon", {0, 0, 32, 32}, 32, 32, {0, 0}},
    {"empty client", {0, 0, 0, 0}, 32, 32, {-15, -15}},
    {"client one short of the icon", {0, 0, 31, 31}, 32, 32, {0, 0}},
    {"other icon size", {0, 0, 48, 40}, 16, 24, {16, 8}},
};

TEST(MinimisedIcon, OriginCentresTheIconTruncatingTowardZero) {
  for (const OriginCase& c : kOriginCases) {
    const POINT origin = MinimisedIconOrigin(c.client, c.iconWidth, c.iconHeight);
    EXPECT_EQ(origin.x, c.expected.x) << c.name;
    EXPECT_EQ(origin.y, c.expected.y) << c.name;
  }
}

int iconErases = 0;
LRESULT CALLBACK CountingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_ICONERASEBKGND && wParam) ++iconErases;
  return ::DefWindowProcA(window, message, wParam, lParam);
}

// Paints only while minimised, and then erases as an icon first.
TEST(MinimisedIcon, PaintsOnlyWhileMinimised) {
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = &CountingProc;
  windowClass.hInstance = ::GetModuleHandleA(nullptr);
  windowClass.lpszClassName = "MinimisedIconTest";
  ASSERT_NE(::RegisterClassA(&windowClass), 0);
  CWnd window;
  window.m_hWnd = ::CreateWindowA("MinimisedIconTest", "Minimised icon", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50,
                                  200, 150, nullptr, nullptr, windowClass.hInstance, nullptr);
  ASSERT_NE(window.m_hWnd, nullptr);
  HICON icon = ::LoadIconA(nullptr, MAKEINTRESOURCEA(32512));

  iconErases = 0;
  EXPECT_FALSE(PaintMinimisedIcon(window, icon));
  EXPECT_EQ(iconErases, 0);

  ::ShowWindow(window.m_hWnd, SW_MINIMIZE);
  ASSERT_TRUE(WaitFor([&] { return window.IsIconic() != FALSE; }));
  ::InvalidateRect(window.m_hWnd, nullptr, TRUE);
  EXPECT_TRUE(PaintMinimisedIcon(window, icon));
  EXPECT_EQ(iconErases, 1);
  ::DestroyWindow(window.m_hWnd);
}

}  // namespace
