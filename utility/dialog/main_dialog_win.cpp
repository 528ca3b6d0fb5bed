#include "utility/dialog/main_dialog_win.h"

#include "platform/app.h"
#include "utility/app/app_profile_store_win.h"
#include "utility/app/cursor_settings.h"
#include "utility/cursor/cursor_library_win.h"
#include "utility/resources/resource.h"

namespace {
// The radios in BlinkMode order: None, Rapid, the two one-second modes, the flickers, Wobble.
const int kBlinkRadioIds[7] = {IDC_BLINK_NONE,    IDC_BLINK_RAPID, IDC_BLINK_1S_5050, IDC_BLINK_1S_7525,
                               IDC_BLINK_2S,      IDC_BLINK_4S,    IDC_BLINK_WOBBLE};
}  // namespace

const MessageMapEntry MainDialog::kMessageMap[] = {
    // Animator
    MapClickedRange<&MainDialog::OnBlinkRadio>(IDC_BLINK_NONE, IDC_BLINK_4S),
    MapClickedRange<&MainDialog::OnBlinkRadio>(IDC_BLINK_WOBBLE, IDC_BLINK_WOBBLE),
    MapClicked<&MainDialog::OnTestAppStarting>(IDC_TEST_APPSTART),
    MapClicked<&MainDialog::OnTestBusy>(IDC_TEST_BUSY),
    MapTimer<&MainDialog::OnTimer>(),
    MapSetCursor<&MainDialog::OnSetCursor>(),
    // Commands and lifecycle
    MapSysCommand<&MainDialog::OnSysCommand>(),
    MapClicked<&MainDialog::OnOkButton>(IDC_OK),
    MapClicked<&MainDialog::OnCancelButton>(IDC_CANCEL),
    // Cursor roles
    MapSelChange<&MainDialog::ApplyNormal>(IDC_LIST_NORMAL),
    MapSelChange<&MainDialog::ApplyBusy>(IDC_LIST_BUSY),
    MapSelChange<&MainDialog::ApplyAppStarting>(IDC_LIST_APPSTART),
    MapSelChange<&MainDialog::ApplyIBeam>(IDC_LIST_IBEAM),
    MapClicked<&MainDialog::ApplySizingDefault>(IDC_SIZING_DEFAULT),
    MapClicked<&MainDialog::ApplySizingLarge>(IDC_SIZING_LARGE),
    MapClicked<&MainDialog::OnMirrorNormal>(IDC_MIRROR_NORMAL),
    MapClicked<&MainDialog::OnMirrorAppStarting>(IDC_MIRROR_APPSTART),
};

MainDialog::MainDialog() : CDialog(IDD_MAIN), windowIcon(::LoadIconA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_MAIN))) {}

MainDialog::~MainDialog() = default;

MessageMap MainDialog::GetMessageMap() const { return MakeMessageMap(kMessageMap); }

void MainDialog::DoDataExchange(CDataExchange* exchange) {
  DDX_Control(exchange, IDC_STATUS, status);
  DDX_Control(exchange, IDC_START_MINIMIZED, startMinimized);
  DDX_Control(exchange, IDC_HIDE_MINIMIZED, hideMinimized);
  DDX_Control(exchange, IDC_MIRROR_APPSTART, mirrorAppStarting);
  DDX_Control(exchange, IDC_MIRROR_NORMAL, mirrorNormal);
  DDX_Control(exchange, IDC_SIZING_DEFAULT, sizingDefault);
  DDX_Control(exchange, IDC_SIZING_LARGE, sizingLarge);
  for (int mode = 0; mode < 7; ++mode) DDX_Control(exchange, kBlinkRadioIds[mode], blinkRadios[mode]);
  DDX_Control(exchange, IDC_LIST_IBEAM, ibeamList);
  DDX_Control(exchange, IDC_LIST_APPSTART, appStartingList);
  DDX_Control(exchange, IDC_LIST_BUSY, busyList);
  DDX_Control(exchange, IDC_LIST_NORMAL, normalList);
}

BOOL MainDialog::OnInitDialog() {
  CDialog::OnInitDialog();
  CenterWindow();

  // Library lists: tab stops, the files and fixed entries, then the stored choices.
  const CListBox* const lists[4] = {&normalList, &appStartingList, &busyList, &ibeamList};
  for (const CListBox* list : lists) list->SetTabStops(20);
  FillCursorList(kNormalFolder, normalList);
  normalList.AddString(kDefaultEntry);
  FillCursorList(kBusyFolder, busyList);
  busyList.AddString(kDefaultEntry);
  FillCursorList(kAppStartingFolder, appStartingList);
  appStartingList.AddString(kDefaultEntry);
  appStartingList.AddString(kSameAsNormalEntry);
  FillCursorList(kIBeamFolder, ibeamList);
  ibeamList.AddString(kDefaultEntry);
  SelectStoredCursors();
  // Sizing radios: any value but 0 is applied as Large, so it is shown as Large.
  sizingDefault.SetCheck(current.Sizing == 0 ? BST_CHECKED : BST_UNCHECKED);
  sizingLarge.SetCheck(current.Sizing != 0 ? BST_CHECKED : BST_UNCHECKED);

  hideMinimized.SetCheck(current.HideMinimized ? BST_CHECKED : BST_UNCHECKED);
  startMinimized.SetCheck(current.StartMinimized ? BST_CHECKED : BST_UNCHECKED);

  // Install the stored choices.
  ApplyAllCursors();

  if (current.StartMinimized) {
    ShowWindow(SW_MINIMIZE);
    PostMessage(WM_SYSCOMMAND, SC_MINIMIZE);
  }
  return TRUE;
}

void MainDialog::OnOkButton() {
  current.HideMinimized = hideMinimized.GetCheck();
  current.StartMinimized = startMinimized.GetCheck();
  AppProfileStore store(*AfxGetApp());
  SaveSettings(store);
  HideOrMinimize();
}

void MainDialog::OnCancelButton() {
  RevertSettings();
  hideMinimized.SetCheck(current.HideMinimized ? BST_CHECKED : BST_UNCHECKED);
  startMinimized.SetCheck(current.StartMinimized ? BST_CHECKED : BST_UNCHECKED);
  HideOrMinimize();
}

void MainDialog::OnSysCommand(UINT command, LPARAM) {
  if ((command & 0xFFF0) == SC_MINIMIZE) {
    HideOrMinimize();
    return;
  }
  Default();
}

void MainDialog::HideOrMinimize() { ShowWindow(current.HideMinimized ? SW_HIDE : SW_MINIMIZE); }
