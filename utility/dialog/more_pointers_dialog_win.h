// "More pointers...": template 103, run modally over the main dialog. One row for each role the
// main dialog has no list for (kCursorRoles' rows chosen in "More pointers..."): its caption, a
// drop-down of its library folder and "<Default>", and a preview of what is installed. A choice
// is installed at once, as a list's is; OK keeps the choices, Cancel puts back those the dialog
// opened with.
#pragma once
#include <cstddef>

#include "platform/window.h"
#include "utility/records/cursor_role_table.h"
#include "utility/resources/resource.h"

class MainDialog;

// Draws the cursor installed for one role, at the pointer's size where the control has room.
class CursorPreview : public CStatic {
 public:
  void SetRole(size_t newRole) { role = newRole; }
  void DrawItem(const DRAWITEMSTRUCT& item) override;

 private:
  size_t role = 0;
};

class MorePointersDialog : public CDialog {
 public:
  explicit MorePointersDialog(MainDialog& owner);

 protected:
  MessageMap GetMessageMap() const override;
  BOOL OnInitDialog() override;
  void OnCancel() override;

 private:
  void OnChoice(UINT id);

  static const MessageMapEntry kMessageMap[];

  MainDialog& owner;
  size_t roles[kMorePointerRows] = {};  // the role of each row
  size_t rowCount = 0;
  CComboBox choices[kMorePointerRows];
  CursorPreview previews[kMorePointerRows];
};
