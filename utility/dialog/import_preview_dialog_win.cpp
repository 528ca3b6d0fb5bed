#include "utility/dialog/import_preview_dialog_win.h"

#include <cstring>

#include "platform/gdi.h"
#include "platform/text_buffers.h"
#include "utility/cursor/library_entry.h"

static_assert(kImportRows == static_cast<int>(kRoleCount), "the preview has a row for each role");

PackFilePreview::~PackFilePreview() {
  if (picture) ::DestroyIcon(picture);
}

void PackFilePreview::Show(HICON newPicture) {
  if (picture) ::DestroyIcon(picture);
  picture = newPicture;
  side = picture ? platform::CursorSide(picture) : 0;
  if (m_hWnd) ::InvalidateRect(m_hWnd, nullptr, TRUE);
}

void PackFilePreview::DrawItem(const DRAWITEMSTRUCT& item) {
  const RECT& box = item.rcItem;
  ::FillRect(item.hDC, &box, ::GetSysColorBrush(COLOR_WINDOW));
  if (!picture) return;
  const int width = box.right - box.left, height = box.bottom - box.top;
  int shown = side > 0 ? side : width;
  if (shown > width) shown = width;
  if (shown > height) shown = height;
  ::DrawIconEx(item.hDC, box.left + (width - shown) / 2, box.top + (height - shown) / 2, picture, shown, shown, 0, nullptr,
               DI_NORMAL);
}

const MessageMapEntry ImportPreviewDialog::kMessageMap[] = {
    MapSelChangeRange<&ImportPreviewDialog::OnChoice>(IDC_IMPORT_FIRST_CHOICE, IDC_IMPORT_LAST_CHOICE),
    MapClicked<&ImportPreviewDialog::OnRemove>(IDC_IMPORT_REMOVE),
};

ImportPreviewDialog::ImportPreviewDialog(CWnd& owner, OpenedPack& pack, ImportPlan& plan)
    : CDialog(IDD_IMPORT_PREVIEW, &owner), pack(pack), plan(plan) {}

MessageMap ImportPreviewDialog::GetMessageMap() const { return MakeMessageMap(kMessageMap); }

BOOL ImportPreviewDialog::OnInitDialog() {
  CDialog::OnInitDialog();
  CenterWindow();
  ::SetForegroundWindow(m_hWnd);
  ::SetDlgItemTextA(m_hWnd, IDC_IMPORT_NAME, plan.schemeName);
  ::SendDlgItemMessageA(m_hWnd, IDC_IMPORT_NAME, EM_LIMITTEXT, kSchemeNameSize - 1, 0);
  const PackListing& listing = pack.listing();
  for (size_t role = 0; role < kRoleCount; ++role) {
    const int row = static_cast<int>(role);
    ::SetDlgItemTextA(m_hWnd, IDC_IMPORT_FIRST_CAPTION + row, kCursorRoles[role].caption);
    CComboBox& choice = choices[role];
    choice.m_hWnd = GetDlgItem(IDC_IMPORT_FIRST_CHOICE + row);
    // Each entry's data is its file's index in the listing; "<None>" is -1.
    choice.SendMessage(CB_SETITEMDATA, choice.AddString(kNoSchemeName), -1);
    for (size_t i = 0; i < listing.count(); ++i) {
      if (ClassifyCursorFileName(PackFileName(listing[i].path)) == CursorFileKind::NotCursor) continue;
      choice.SendMessage(CB_SETITEMDATA, choice.AddString(listing[i].path), static_cast<LPARAM>(i));
    }
    previews[role].SubclassDlgItem(IDC_IMPORT_FIRST_PREVIEW + row, this);
    ShowRole(role);
  }
  ownList.m_hWnd = GetDlgItem(IDC_IMPORT_OWN);
  FillOwnSchemes();
  return TRUE;
}

void ImportPreviewDialog::ShowRole(size_t role) {
  const PlannedRole& planned = plan.roles[role];
  const int row = static_cast<int>(role);
  CComboBox& choice = choices[role];
  const int count = choice.GetCount();
  for (int entry = 0; entry < count; ++entry) {
    if (static_cast<int>(choice.SendMessage(CB_GETITEMDATA, entry)) == planned.file) choice.SetCurSel(entry);
  }
  char reason[kPackNameSize + 96] = "";
  if (planned.problem != RoleProblem::None) {
    std::strcpy(reason, planned.named);
    std::strcat(reason, ": ");
    std::strcat(reason, RoleProblemText(planned.problem));
  }
  ::SetDlgItemTextA(m_hWnd, IDC_IMPORT_FIRST_REASON + row, reason);
  HICON picture = nullptr;
  if (planned.file >= 0) {
    PackCursor cursor;
    if (cursor.Load(pack.listing(), pack.reader(), static_cast<size_t>(planned.file)) == RoleProblem::None) {
      picture = platform::CheckedFilePicture(cursor.checked(), platform::UserCursorSide());
    }
  }
  previews[role].Show(picture);
}

void ImportPreviewDialog::OnChoice(UINT id) {
  const size_t role = id - IDC_IMPORT_FIRST_CHOICE;
  if (role >= kRoleCount) return;
  const int entry = choices[role].GetCurSel();
  if (entry < 0) return;
  const int file = static_cast<int>(choices[role].SendMessage(CB_GETITEMDATA, entry));
  ChooseRoleFile(pack.listing(), pack.reader(), role, file, &plan);
  ShowRole(role);
}

void ImportPreviewDialog::FillOwnSchemes() {
  ownList.SendMessage(LB_RESETCONTENT);
  ownCount = ListOwnSchemes(own, kMostOwnSchemes);
  for (size_t i = 0; i < ownCount; ++i) ownList.SendMessage(LB_SETITEMDATA, ownList.AddString(own[i].name), static_cast<LPARAM>(i));
  ::EnableWindow(GetDlgItem(IDC_IMPORT_REMOVE), ownCount > 0);
}

void ImportPreviewDialog::OnRemove() {
  const int entry = ownList.GetCurSel();
  if (entry < 0) return;
  const size_t index = static_cast<size_t>(ownList.SendMessage(LB_GETITEMDATA, entry));
  if (index >= ownCount) return;
  removedAny = RemoveOwnScheme(own[index].folder) || removedAny;
  FillOwnSchemes();
}

void ImportPreviewDialog::OnOK() {
  char typed[kSchemeNameSize] = "", cleaned[kSchemeNameSize];
  ::GetDlgItemTextA(m_hWnd, IDC_IMPORT_NAME, typed, sizeof typed);
  CleanSchemeName(typed, cleaned);
  // A name left empty is the pack's own; any name is numbered when a scheme has it.
  NewSchemeName(cleaned[0] ? cleaned : pack.name(), plan.schemeName);
  CDialog::OnOK();
}
