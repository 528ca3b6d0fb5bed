#include "utility/dialog/about_dialog_win.h"

#include "utility/resources/resource.h"

AboutDialog::AboutDialog(CWnd* parent) : CDialog(IDD_ABOUT, parent) {}

BOOL AboutDialog::OnInitDialog() {
  CDialog::OnInitDialog();
  CenterWindow();
  return TRUE;
}
