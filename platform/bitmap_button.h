// A button drawn from four bitmaps named by its caption plus "U" (up), "D" (down, also while
// BM_SETSTATE has pushed it), "F" (focused) and "X" (disabled).
#pragma once
#include "platform/window.h"

class CBitmapButton : public CButton {
 public:
  CBitmapButton() = default;
  ~CBitmapButton() override;

  // Binds the template's owner-drawn button `id` of `parent`, loads the four bitmaps by its
  // caption from the program's resources and sizes the button to them. False when the
  // control or its up bitmap is missing; the button then stays without pictures.
  BOOL AutoLoad(UINT id, CWnd* parent);
  void SizeToContent();
  void DrawItem(const DRAWITEMSTRUCT& item) override;

 private:
  HBITMAP up = nullptr;
  HBITMAP down = nullptr;
  HBITMAP focused = nullptr;
  HBITMAP disabled = nullptr;
};
