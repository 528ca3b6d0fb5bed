// A button drawn from four bitmaps named by its caption plus "U" (up), "D" (down, also while
// BM_SETSTATE has pushed it), "F" (focused) and "X" (disabled).
#pragma once
#include <cstdint>

#include "platform/window.h"

namespace platform {
// A 4-bit bitmap with the standard 16-colour palette, `side` pixels square, from pixels 0x00RRGGBB
// row by row from the top; a pixel of any other colour becomes black. Null when the platform
// cannot make it. The caller releases it with DeleteObject.
HBITMAP CreateSixteenColourBitmap(int side, const uint32_t* pixels);
}  // namespace platform

class CBitmapButton : public CButton {
 public:
  CBitmapButton() = default;
  ~CBitmapButton() override;

  // Binds the template's owner-drawn button `id` of `parent`, loads the four bitmaps by its
  // caption from the program's resources and sizes the button to them. False when the
  // control or its up bitmap is missing; the button then stays without pictures.
  BOOL AutoLoad(UINT id, CWnd* parent);
  // Takes four pictures of the caller's making in place of those held, releasing those, and sizes
  // the button to the up picture. A null picture is drawn as the up one.
  void SetPictures(HBITMAP upPicture, HBITMAP downPicture, HBITMAP focusedPicture, HBITMAP disabledPicture);
  void SizeToContent();
  void DrawItem(const DRAWITEMSTRUCT& item) override;

 private:
  HBITMAP up = nullptr;
  HBITMAP down = nullptr;
  HBITMAP focused = nullptr;
  HBITMAP disabled = nullptr;
};
