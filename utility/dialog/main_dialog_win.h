// The utility's only window: template 102, run modally for the whole life of the process.
#pragma once
#include <cstdint>

#include "platform/window.h"

class MainDialog : public CDialog {
 public:
  MainDialog();
  ~MainDialog() override;

 protected:
  MessageMap GetMessageMap() const override;
  void DoDataExchange(CDataExchange* exchange) override;
  BOOL OnInitDialog() override;

 private:
  void OnOkButton();
  void OnCancelButton();
  void OnSysCommand(UINT command, LPARAM lParam);
  // OK, Cancel and every minimise: hide when "Hide when minimized" is set, else minimise.
  void HideOrMinimize();

  static const MessageMapEntry kMessageMap[];

  CStatic status;
  CButton startMinimized;
  CButton hideMinimized;
  CButton mirrorAppStarting;
  CButton mirrorNormal;
  CButton sizingDefault;
  CButton sizingLarge;
  CButton blinkRadios[7];  // in BlinkMode order
  CListBox ibeamList;
  CListBox appStartingList;
  CListBox busyList;
  CListBox normalList;
  int32_t restoredFlag = 0;
  HICON windowIcon;
};
