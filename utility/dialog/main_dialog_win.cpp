// MainDialog: its controls, initialisation, commands and window lifecycle.
#include "utility/dialog/main_dialog_win.h"

#include "platform/app.h"
#include "platform/help_viewer.h"
#include "utility/records/app_profile_store_win.h"
#include "utility/records/cursor_settings.h"
#include "utility/records/settings_file_win.h"
#include "utility/records/settings_location.h"
#include "utility/records/utility_window_win.h"
#include "utility/cursor/animator_win.h"
#include "utility/cursor/app_mode_win.h"
#include "utility/cursor/find_pointer_win.h"
#include "utility/cursor/transformer_win.h"
#include "utility/dialog/about_dialog_win.h"

int32_t ColourCursorsSupported = 0;

namespace {
// The radios in BlinkMode order: None, Rapid, the two one-second modes, the flickers, Wobble.
const int kBlinkRadioIds[kBlinkModeCount] = {IDC_BLINK_NONE, IDC_BLINK_RAPID, IDC_BLINK_1S_5050, IDC_BLINK_1S_7525,
                                             IDC_BLINK_2S,   IDC_BLINK_4S,    IDC_BLINK_WOBBLE};

const char kNoColourText[] = "No display driver support for color/animated";

int CheckState(int32_t value) { return value ? BST_CHECKED : BST_UNCHECKED; }
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
    MapMessage<&MainDialog::OnPaint>(WM_PAINT),
    MapQueryDragIcon<&MainDialog::OnQueryDragIcon>(),
    MapClicked<&MainDialog::OnOkButton>(IDC_OK),
    MapClicked<&MainDialog::OnCancelButton>(IDC_CANCEL),
    // Cursor roles
    MapSelChangeRange<&MainDialog::OnListChosen>(IDC_LIST_NORMAL, IDC_LIST_APPSTART),
    MapClicked<&MainDialog::ApplySizingDefault>(IDC_SIZING_DEFAULT),
    MapClicked<&MainDialog::ApplySizingLarge>(IDC_SIZING_LARGE),
    MapClicked<&MainDialog::OnMirrorNormal>(IDC_MIRROR_NORMAL),
    MapClicked<&MainDialog::OnMirrorAppStarting>(IDC_MIRROR_APPSTART),
    MapClicked<&MainDialog::OnMorePointers>(IDC_MORE_POINTERS),
    MapSelChange<&MainDialog::OnSchemeChosen>(IDC_SCHEME),
    MapClicked<&MainDialog::OnImportButton>(IDC_IMPORT_SCHEME),
    MapCopyData<&MainDialog::OnCopyData>(),
    MapMessage<&MainDialog::OnStartImport>(kStartImportMessage),
    MapMessage<&MainDialog::OnStartMinimized>(kStartMinimizedMessage),
    MapMessage<&MainDialog::OnShowRequested>(kShowUtilityMessage),
    MapClicked<&MainDialog::OnFollowDarkMode>(IDC_FOLLOW_DARK_MODE),
    MapSelChange<&MainDialog::OnDarkSchemeChosen>(IDC_DARK_SCHEME),
    MapClicked<&MainDialog::OnLeftHanded>(IDC_LEFT_HANDED),
    // Colour pickers, then the window's lifecycle and the remaining commands
    MapClickedRange<&MainDialog::OnColourButton>(IDC_WHITE_FIRST, IDC_BLACK_LAST),
    MapDpiChanged<&MainDialog::OnDpiChanged>(),
    MapMessage<&MainDialog::OnColourLayoutDue>(kColourLayoutMessage),
    MapMessage<&MainDialog::OnDestroy>(WM_DESTROY),
    MapClicked<&MainDialog::OnHelpButton>(IDC_HELP_BUTTON),
    MapClicked<&MainDialog::OnExitRestore>(IDC_EXIT_RESTORE),
    MapClicked<&MainDialog::OnAboutButton>(IDC_ABOUT_BUTTON),
    MapQueryEndSession<&MainDialog::OnQueryEndSession>(),
    MapEndSession<&MainDialog::OnEndSession>(),
    // Find the pointer
    MapClicked<&MainDialog::OnHideTyping>(IDC_HIDE_TYPING),
    MapClicked<&MainDialog::OnShakeEnlarge>(IDC_SHAKE_ENLARGE),
    MapPosted<&MainDialog::OnFindPointerPosted>(kFindPointerMessage),
    // Reloads of the system cursors
    MapNotification<&MainDialog::OnSettingChange>(WM_SETTINGCHANGE),
    MapMessage<&MainDialog::OnThemeChanged>(WM_THEMECHANGED),
    MapNotification<&MainDialog::OnSessionChange>(WM_WTSSESSION_CHANGE),
    MapNotification<&MainDialog::OnPowerBroadcast>(WM_POWERBROADCAST),
    MapMessage<&MainDialog::OnDisplayChange>(WM_DISPLAYCHANGE),
    MapMessage<&MainDialog::OnReloadStopped>(kReloadStoppedMessage),
};

// The window icon is the shared resource icon: nothing to release.
MainDialog::MainDialog() : CDialog(IDD_MAIN), windowIcon(::LoadIconA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_MAIN))) {}

MessageMap MainDialog::GetMessageMap() const { return MakeMessageMap(kMessageMap); }

void MainDialog::DoDataExchange(CDataExchange* exchange) {
  DDX_Control(exchange, IDC_STATUS, status);
  DDX_Control(exchange, IDC_START_MINIMIZED, startMinimized);
  DDX_Control(exchange, IDC_HIDE_MINIMIZED, hideMinimized);
  DDX_Control(exchange, IDC_HIDE_TYPING, hideTyping);
  DDX_Control(exchange, IDC_SHAKE_ENLARGE, shakeEnlarge);
  DDX_Control(exchange, IDC_MIRROR_APPSTART, mirrorAppStarting);
  DDX_Control(exchange, IDC_MIRROR_NORMAL, mirrorNormal);
  DDX_Control(exchange, IDC_SIZING_DEFAULT, sizingDefault);
  DDX_Control(exchange, IDC_SIZING_LARGE, sizingLarge);
  for (int mode = 0; mode < kBlinkModeCount; ++mode) DDX_Control(exchange, kBlinkRadioIds[mode], blinkRadios[mode]);
  DDX_Control(exchange, IDC_LIST_IBEAM, ibeamList);
  DDX_Control(exchange, IDC_LIST_APPSTART, appStartingList);
  DDX_Control(exchange, IDC_LIST_BUSY, busyList);
  DDX_Control(exchange, IDC_LIST_NORMAL, normalList);
  DDX_Control(exchange, IDC_SCHEME, schemeBox);
  DDX_Control(exchange, IDC_DARK_SCHEME, darkSchemeBox);
  DDX_Control(exchange, IDC_FOLLOW_DARK_MODE, followDarkMode);
  DDX_Control(exchange, IDC_LEFT_HANDED, leftHanded);
}

BOOL MainDialog::OnInitDialog() {
  CDialog::OnInitDialog();
  CenterWindow();

  HINSTANCE module = ::GetModuleHandleA(nullptr);
  char aboutText[128] = "";
  ::LoadStringA(module, IDS_ABOUTBOX, aboutText, sizeof aboutText);
  HMENU systemMenu = GetSystemMenu(FALSE);
  if (systemMenu && aboutText[0]) {
    ::AppendMenuA(systemMenu, MF_SEPARATOR, 0, nullptr);
    ::AppendMenuA(systemMenu, MF_STRING, IDM_ABOUT, aboutText);
  }

  SetIcon(windowIcon, TRUE);
  // Shared, so it lives as long as the program and is never released.
  HICON smallIcon = static_cast<HICON>(::LoadImageA(module, MAKEINTRESOURCEA(IDI_SMALL), IMAGE_ICON,
                                                    ::GetSystemMetrics(SM_CXSMICON),
                                                    ::GetSystemMetrics(SM_CYSMICON), LR_SHARED));
  SetIcon(smallIcon, FALSE);

  if (ProbeColourCursors()) ColourCursorsSupported = 1;
  if (!ColourCursorsSupported) status.SetWindowText(kNoColourText);

  LoadBlankCursor();
  WatchSessionChanges(m_hWnd);
  FillLists();
  FillSchemeBox();
  appMode = ReadAppMode();
  LoadSchemeInForce();
  AttachColourButtons();
  ShowSettings();
  ApplyAllCursors();
  StartStoredBlinkMode();
  ApplyFindPointer();

  if (current.StartMinimized) {
    // Shown minimised at once, so the dialog never flashes up; hidden, if so set, once it is up.
    ShowWindow(SW_MINIMIZE);
    PostMessage(kStartMinimizedMessage);
  }
  if (startImport.import) PostMessage(kStartImportMessage);
  return TRUE;
}

void MainDialog::ShowSettings() {
  SelectStoredCursors();
  ShowSchemeChoice();
  // Sizing radios: any value but 0 is applied as Large, so it is shown as Large.
  sizingDefault.SetCheck(current.Sizing == 0 ? BST_CHECKED : BST_UNCHECKED);
  sizingLarge.SetCheck(current.Sizing != 0 ? BST_CHECKED : BST_UNCHECKED);
  mirrorNormal.SetCheck(CheckState(current.MirrorNormal));
  mirrorAppStarting.SetCheck(CheckState(current.MirrorAppstart));
  if (ColourCursorsSupported) ShowColourSelections();
  // A stored mode outside the seven (hand-edited) checks no radio.
  for (int mode = 0; mode < kBlinkModeCount; ++mode) {
    blinkRadios[mode].SetCheck(current.Blink == mode ? BST_CHECKED : BST_UNCHECKED);
  }
  hideMinimized.SetCheck(CheckState(current.HideMinimized));
  startMinimized.SetCheck(CheckState(current.StartMinimized));
  hideTyping.SetCheck(CheckState(current.HideTyping));
  shakeEnlarge.SetCheck(CheckState(current.ShakeEnlarge));
  leftHanded.SetCheck(CheckState(current.LeftHanded));
}

void MainDialog::OnOkButton() {
  current.HideMinimized = hideMinimized.GetCheck();
  current.StartMinimized = startMinimized.GetCheck();
  current.HideTyping = hideTyping.GetCheck();
  current.ShakeEnlarge = shakeEnlarge.GetCheck();
  CWinApp& app = *AfxGetApp();
  AppProfileStore store(app);
  if (!SaveSettings(store)) {
    // The choices stay in force; only their keeping failed, and the user should know that.
    char text[2 * kTextBufferSize + 160];
    if (ComposeSaveFailureMessage(app.profileName, SettingsFolderThatIsAFile(), text, sizeof text)) {
      ::MessageBoxA(m_hWnd, text, "Pointrel Settings", MB_OK | MB_ICONWARNING);
    }
  }
  HideOrMinimize();
}

void MainDialog::OnCancelButton() {
  UserMadeChoice();
  SelectBlinkMode(static_cast<int>(BlinkMode::None));
  RevertSettings();
  appMode = ReadAppMode();
  LoadSchemeInForce();
  ShowSettings();
  ApplyAllCursors();
  StartStoredBlinkMode();
  ApplyFindPointer();
  HideOrMinimize();
}

void MainDialog::OnHelpButton() { AfxWinHelp(m_hWnd, 0, HELP_CONTEXT); }

void MainDialog::OnAboutButton() {
  AboutDialog about(this);
  about.DoModal();
}

void MainDialog::OnExitRestore() {
  EndFindPointer();
  StopAnimation();
  RestoreSystemCursors();
  EndDialog(0);
}

void MainDialog::OnSysCommand(UINT command, LPARAM) {
  const UINT code = command & 0xFFF0;
  if (code == IDM_ABOUT) {
    OnAboutButton();
    return;
  }
  if (code == SC_MINIMIZE) {
    HideOrMinimize();
    return;
  }
  Default();
}

void MainDialog::OnPaint() {
  if (!PaintMinimisedIcon(*this, windowIcon)) Default();
}

HICON MainDialog::OnQueryDragIcon() { return windowIcon; }

void MainDialog::OnDestroy() {
  EndFindPointer();
  StopAnimation();
  RestoreSystemCursors();
  StopWatchingSessionChanges(m_hWnd);
  // A help window opened by the utility closes with it.
  AfxWinHelp(m_hWnd, 0, HELP_QUIT);
  Default();
}

BOOL MainDialog::OnQueryEndSession() {
  EndFindPointer();
  StopAnimation();
  RestoreSystemCursors();
  return TRUE;
}

void MainDialog::OnEndSession(BOOL) {
  EndFindPointer();
  StopAnimation();
  RestoreSystemCursors();
}

void MainDialog::RestoreAfterCrash() {
  EndFindPointer();
  StopAnimation();
  RestoreSystemCursors();
}

void MainDialog::OnStartMinimized() {
  if (!shownOnRequest) HideOrMinimize();
}

void MainDialog::OnShowRequested() {
  shownOnRequest = true;
  ShowWindow(SW_RESTORE);
  ::SetForegroundWindow(m_hWnd);
}

void MainDialog::HideOrMinimize() { ShowWindow(current.HideMinimized ? SW_HIDE : SW_MINIMIZE); }
