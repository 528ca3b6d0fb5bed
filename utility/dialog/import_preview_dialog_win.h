// The import's preview: template 104, run modally over the main dialog before a pack is copied.
// One row for each of the seventeen roles: its caption, a drop-down of the pack's cursor files
// and "<None>", the file's picture at the user's pointer size, and why a file the pack named
// cannot serve. Above them the scheme's name (the pack's own by default); below, the user's
// own schemes with "Remove". OK leaves the plan as the user made it, for the copy.
#pragma once
#include <cstddef>

#include "platform/window.h"
#include "utility/cursor/cursor_library_win.h"
#include "utility/cursor/pack_import_win.h"
#include "utility/resources/resource.h"

// Draws one picture made for it, centred, at its own size where the control has room.
class PackFilePreview : public CStatic {
 public:
  ~PackFilePreview();
  // Shows `picture` from now on (null: nothing); it is the preview's to destroy.
  void Show(HICON newPicture);
  void DrawItem(const DRAWITEMSTRUCT& item) override;

 private:
  HICON picture = nullptr;
  int side = 0;
};

class ImportPreviewDialog : public CDialog {
 public:
  ImportPreviewDialog(CWnd& owner, OpenedPack& pack, ImportPlan& plan);
  // Whether "Remove" removed a scheme of the user's while the dialog ran.
  bool RemovedAny() const { return removedAny; }

 protected:
  MessageMap GetMessageMap() const override;
  BOOL OnInitDialog() override;
  void OnOK() override;

 private:
  void OnChoice(UINT id);
  void OnRemove();
  // Row `role` as the plan has it: the selected file, its picture and the reason.
  void ShowRole(size_t role);
  void FillOwnSchemes();

  static const MessageMapEntry kMessageMap[];

  OpenedPack& pack;
  ImportPlan& plan;
  bool removedAny = false;
  CComboBox choices[kImportRows];
  PackFilePreview previews[kImportRows];
  CListBox ownList;
  OwnSchemeEntry own[kMostOwnSchemes];
  size_t ownCount = 0;
};
