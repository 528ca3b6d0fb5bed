// The two rows of colour buttons: which button of each row looks pressed, and what a click does.
#include "utility/app/cursor_settings.h"
#include "utility/dialog/main_dialog_win.h"
#include "utility/resources/resource.h"

namespace {
constexpr int kRowLength = 16;
constexpr int kBlackRowStart = IDC_BLACK_FIRST - IDC_WHITE_FIRST;  // index of 1036 in colourButtons
}  // namespace

void MainDialog::OnColourButton(UINT id) {
  if (id >= IDC_WHITE_FIRST && id <= IDC_WHITE_LAST) {
    SelectColour(ColourRow::WhiteRow, static_cast<int>(id - IDC_WHITE_FIRST));
  } else if (id >= IDC_BLACK_FIRST && id <= IDC_BLACK_LAST) {
    SelectColour(ColourRow::BlackRow, static_cast<int>(id - IDC_BLACK_FIRST));
  }
}

void MainDialog::SelectColour(ColourRow row, int index) {
  if (index < 0 || index >= kRowLength) return;
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
    for (int k = 0; k < kRowLength; ++k) colourButtons[row.first + k].SetState(FALSE);
    // A value outside the palette names no button: the row shows none pressed, and the
    // reference says so rather than keep naming a button that no longer looks pressed.
    if (row.value >= 0 && row.value < kRowLength) {
      row.selected = &colourButtons[row.first + row.value];
      row.selected->SetState(TRUE);
    } else {
      row.selected = nullptr;
    }
  }
}
