#include "utility/dialog/more_pointers_dialog_win.h"

#include <cstring>

#include "platform/gdi.h"
#include "platform/pointer_size.h"
#include "utility/cursor/cursor_slots_win.h"
#include "utility/dialog/main_dialog_win.h"
#include "utility/dialog/role_lists_win.h"
#include "utility/records/cursor_settings.h"

namespace {
// What each row's role had when the dialog opened, for Cancel.
char openedWith[kMorePointerRows][kProfileTextSize];
}  // namespace

void CursorPreview::DrawItem(const DRAWITEMSTRUCT& item) {
  const RECT& box = item.rcItem;
  ::FillRect(item.hDC, &box, ::GetSysColorBrush(COLOR_WINDOW));
  HCURSOR shown = CursorSlotTable[role].handle;
  if (!shown) shown = platform::LoadSharedCursor(nullptr, MAKEINTRESOURCEA(kCursorRoles[role].id));
  if (!shown) return;
  // The pointer's own size, smaller only where the box has no room for it.
  const int width = box.right - box.left, height = box.bottom - box.top;
  int side = platform::CursorSide(shown);
  if (side > width) side = width;
  if (side > height) side = height;
  ::DrawIconEx(item.hDC, box.left + (width - side) / 2, box.top + (height - side) / 2, shown, side, side, 0, nullptr,
               DI_NORMAL);
}

const MessageMapEntry MorePointersDialog::kMessageMap[] = {
    MapSelChangeRange<&MorePointersDialog::OnChoice>(IDC_MORE_FIRST_CHOICE, IDC_MORE_LAST_CHOICE),
};

MorePointersDialog::MorePointersDialog(MainDialog& owner) : CDialog(IDD_MORE_POINTERS, &owner), owner(owner) {}

MessageMap MorePointersDialog::GetMessageMap() const { return MakeMessageMap(kMessageMap); }

BOOL MorePointersDialog::OnInitDialog() {
  CDialog::OnInitDialog();
  CenterWindow();
  rowCount = 0;
  for (size_t role = 0; role < kRoleCount && rowCount < kMorePointerRows; ++role) {
    if (kCursorRoles[role].choice != RoleChoice::More) continue;
    const int row = static_cast<int>(rowCount++);
    roles[row] = role;
    ::SetDlgItemTextA(m_hWnd, IDC_MORE_FIRST_CAPTION + row, kCursorRoles[role].caption);
    choices[row].m_hWnd = GetDlgItem(IDC_MORE_FIRST_CHOICE + row);
    const char* stored = StoredChoice(current, role);
    std::strcpy(openedWith[row], stored);
    FillRoleList(choices[row], kCursorRoles[role].folder);
    SelectStoredEntry(choices[row], kCursorRoles[role].folder, stored);
    previews[row].SetRole(role);
    previews[row].SubclassDlgItem(IDC_MORE_FIRST_PREVIEW + row, this);
  }
  return TRUE;
}

void MorePointersDialog::OnChoice(UINT id) {
  const size_t row = id - IDC_MORE_FIRST_CHOICE;
  if (row >= rowCount) return;
  const size_t role = roles[row];
  if (!ReadSelectedStoredName(choices[row], StoredChoice(current, role), kProfileTextSize)) return;
  owner.ApplyChosenRole(role);
  ::InvalidateRect(previews[row].m_hWnd, nullptr, TRUE);
}

void MorePointersDialog::OnCancel() {
  for (size_t row = 0; row < rowCount; ++row) {
    char* stored = StoredChoice(current, roles[row]);
    if (std::strcmp(stored, openedWith[row]) == 0) continue;
    std::strcpy(stored, openedWith[row]);
    owner.ApplyChosenRole(roles[row]);
  }
  CDialog::OnCancel();
}
