// The two rows of colour buttons: their pictures and layout, which button of each row looks
// pressed, and what a click does.
#include <initializer_list>
#include <new>

#include "utility/records/cursor_settings.h"
#include "utility/dialog/colour_button_art.h"
#include "utility/dialog/main_dialog_win.h"

namespace {
constexpr int kBlackRowStart = IDC_BLACK_FIRST - IDC_WHITE_FIRST;  // index of 1036 in colourButtons
}  // namespace

void MainDialog::AttachColourButtons() {
  for (int i = 0; i < 2 * kColourRowLength; ++i) colourButtons[i].AutoLoad(IDC_WHITE_FIRST + i, this);
  dialogDpi = WindowDpi(m_hWnd);
  if (dialogDpi != colour_button_art::kBaseDpi) DrawColourPictures();
  LayOutColourRows();
  if (!ColourCursorsSupported) {
    for (CBitmapButton& button : colourButtons) button.EnableWindow(FALSE);
  }
}

void MainDialog::DrawColourPictures() {
  using colour_button_art::Look;
  const int side = colour_button_art::SideForDpi(static_cast<int>(dialogDpi));
  uint32_t* pixels = new (std::nothrow) uint32_t[side * side];
  if (!pixels) return;  // the buttons keep the pictures they have
  for (int i = 0; i < 2 * kColourRowLength; ++i) {
    HBITMAP pictures[4] = {};
    for (int look = 0; look < 4; ++look) {
      colour_button_art::Draw(side, i % kColourRowLength, colour_button_art::kLooks[look], pixels);
      pictures[look] = platform::CreateSixteenColourBitmap(side, pixels);
    }
    // Without an up picture the button keeps the pictures it has.
    if (!pictures[0]) {
      for (HBITMAP picture : pictures) {
        if (picture) ::DeleteObject(picture);
      }
      continue;
    }
    colourButtons[i].SetPictures(pictures[0], pictures[1], pictures[2], pictures[3]);
  }
  delete[] pixels;
}

void MainDialog::LayOutColourRows() {
  // Each row's swatches touch, starting where its first one sits, whatever the template spacing.
  for (int first : {0, kBlackRowStart}) {
    RECT place;
    colourButtons[first].GetWindowRect(&place);
    ScreenToClient(&place);
    const int width = place.right - place.left;
    for (int k = 1; k < kColourRowLength; ++k) {
      ::OffsetRect(&place, width, 0);
      colourButtons[first + k].MoveWindow(place, TRUE);
    }
  }
}

void MainDialog::OnDpiChanged(UINT dpi) {
  dialogDpi = dpi;
  Default();
  PostMessage(kColourLayoutMessage);
  // The scale of the monitor changed: the cursors follow the size in force.
  RequestReloadAnswer(ReloadCause::Display);
}

void MainDialog::OnColourLayoutDue() {
  DrawColourPictures();
  LayOutColourRows();
}

void MainDialog::OnColourButton(UINT id) {
  UserMadeChoice();
  if (id >= IDC_WHITE_FIRST && id <= IDC_WHITE_LAST) {
    SelectColour(ColourRow::WhiteRow, static_cast<int>(id - IDC_WHITE_FIRST));
  } else if (id >= IDC_BLACK_FIRST && id <= IDC_BLACK_LAST) {
    SelectColour(ColourRow::BlackRow, static_cast<int>(id - IDC_BLACK_FIRST));
  }
}

void MainDialog::SelectColour(ColourRow row, int index) {
  if (index < 0 || index >= kColourRowLength) return;
  const bool white = row == ColourRow::WhiteRow;
  CBitmapButton*& selected = white ? selectedWhiteButton : selectedBlackButton;
  // Null while the stored value named no button (hand-edited file): nothing looks pressed yet.
  if (selected) selected->SetState(FALSE);
  (white ? current.WhtClr : current.BlkClr) = index;
  selected = &colourButtons[(white ? 0 : kBlackRowStart) + index];
  selected->SetState(TRUE);
  ApplyAllCursors();
}

void MainDialog::ShowColourSelections() {
  struct Row {
    int first;
    int32_t value;
    CBitmapButton*& selected;
  };
  Row rows[2] = {{0, current.WhtClr, selectedWhiteButton}, {kBlackRowStart, current.BlkClr, selectedBlackButton}};
  for (Row& row : rows) {
    for (int k = 0; k < kColourRowLength; ++k) colourButtons[row.first + k].SetState(FALSE);
    // A value outside the palette names no button: the row shows none pressed, and the
    // reference says so rather than keep naming a button that no longer looks pressed.
    if (row.value >= 0 && row.value < kColourRowLength) {
      row.selected = &colourButtons[row.first + row.value];
      row.selected->SetState(TRUE);
    } else {
      row.selected = nullptr;
    }
  }
}
