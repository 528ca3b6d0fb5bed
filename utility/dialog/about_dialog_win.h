// The About box: template 100, run modally over the main dialog and closed by its OK button.
#pragma once
#include "platform/window.h"

class AboutDialog : public CDialog {
 public:
  explicit AboutDialog(CWnd* parent);

 protected:
  BOOL OnInitDialog() override;
};
