#include "installer/pages_win.h"

#include <cstring>

#include "installer/copy_worker.h"
#include "installer/destination.h"
#include "installer/error_text_win.h"
#include "installer/install_services_win.h"
#include "installer/install_state.h"
#include "installer/resources/resource.h"
#include "installer/running_utility_win.h"

const char kInstallerCaption[] = "Pointrel Installation";

namespace {

constexpr UINT_PTR kCompletionTimer = 1;
constexpr UINT kCompletionPeriodMs = 500;
constexpr UINT_PTR kDisplayTimer = 2;
constexpr UINT kDisplayPeriodMs = 100;

const char kInvalidDestination[] = "The destination directory format is invalid.";

}  // namespace

// --- Common frame -------------------------------------------------------------------------

InstallerPage::InstallerPage(UINT templateId)
    : CDialog(templateId),
      bigIcon(::LoadIconA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_WENDSET))),
      smallIcon(::LoadIconA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_WENDSET_SMALL))) {}

InstallerPage::~InstallerPage() = default;

BOOL InstallerPage::OnInitDialog() {
  CDialog::OnInitDialog();
  SetWindowText(kInstallerCaption);
  SetIcon(bigIcon, TRUE);
  SetIcon(smallIcon, FALSE);
  return TRUE;
}

// --- WelcomePage --------------------------------------------------------------------------

const MessageMapEntry WelcomePage::kMessageMap[] = {
    MapMessage<&WelcomePage::OnPaint>(WM_PAINT),
    MapQueryDragIcon<&WelcomePage::OnQueryDragIcon>(),
};

WelcomePage::WelcomePage() : InstallerPage(IDD_WELCOME) {}
WelcomePage::~WelcomePage() = default;
MessageMap WelcomePage::GetMessageMap() const { return MakeMessageMap(kMessageMap); }
void WelcomePage::DoDataExchange(CDataExchange*) {}
BOOL WelcomePage::OnInitDialog() { return InstallerPage::OnInitDialog(); }

void WelcomePage::OnPaint() {
  if (!PaintMinimisedIcon(*this, bigIcon)) Default();
}

HICON WelcomePage::OnQueryDragIcon() { return bigIcon; }

// --- DestinationPage ----------------------------------------------------------------------

DestinationPage::DestinationPage() : InstallerPage(IDD_DESTINATION) {}
DestinationPage::~DestinationPage() = default;
MessageMap DestinationPage::GetMessageMap() const { return {nullptr, 0}; }

void DestinationPage::DoDataExchange(CDataExchange* exchange) {
  DDX_Control(exchange, IDC_DESTINATION, destination);
  DDX_Control(exchange, IDC_DESKTOP_SHORTCUT, desktopShortcut);
  DDX_Control(exchange, IDC_START_AT_BOOT, startAtBoot);
}

BOOL DestinationPage::OnInitDialog() {
  InstallerPage::OnInitDialog();
  destination.SetWindowText(installState.destinationPath);
  desktopShortcut.SetCheck(installState.desktopShortcut);
  startAtBoot.SetCheck(installState.startAtBoot);
  return TRUE;
}

void DestinationPage::OnOK() {
  installState.desktopShortcut = desktopShortcut.GetCheck() == BST_CHECKED ? 1 : 0;
  installState.startAtBoot = startAtBoot.GetCheck() == BST_CHECKED ? 1 : 0;
  // Checked in a copy first, so the shared record only ever holds a destination that passed. A
  // text longer than the buffer would come back cut short; it is refused as a whole instead.
  char typed[kTextBufferSize] = "";
  const bool tooLong = ::GetWindowTextLengthA(destination.m_hWnd) >= static_cast<int>(sizeof typed);
  if (!tooLong) destination.GetWindowText(typed, sizeof typed);
  if (tooLong || !NormalizeDestination(typed) || !CopyText(installState.destinationPath, kTextBufferSize, typed)) {
    MessageBox(kInvalidDestination, kInstallerCaption, MB_OK);
    destination.SetFocus();
    return;
  }
  if (!CloseRunningUtility()) return;
  CDialog::OnOK();
}

// A running Pointrel holds its program file: it is ended, by its own ending, before the copy.
bool DestinationPage::CloseRunningUtility() {
  RunningUtility running;
  if (!FindRunningUtility(running)) return true;
  if (MessageBox("Pointrel is running. Close it and continue?", kInstallerCaption, MB_YESNO | MB_ICONQUESTION) != IDYES) {
    return false;
  }
  HCURSOR previous = ::SetCursor(::LoadCursorA(nullptr, MAKEINTRESOURCEA(32514)));  // IDC_WAIT
  const bool ended = EndRunningUtility(running);
  ::SetCursor(previous);
  if (!ended) {
    MessageBox("Pointrel could not be closed. Close it yourself, then press Continue again.", kInstallerCaption,
               MB_OK | MB_ICONWARNING);
    return false;
  }
  installState.restartUtility = 1;
  return true;
}

// --- CopyProgressPage ---------------------------------------------------------------------

const MessageMapEntry CopyProgressPage::kMessageMap[] = {
    MapTimer<&CopyProgressPage::OnTimer>(),
    MapMessage<&CopyProgressPage::OnDestroy>(WM_DESTROY),
};

CopyProgressPage::CopyProgressPage() : InstallerPage(IDD_COPY_PROGRESS) {}
CopyProgressPage::~CopyProgressPage() = default;
MessageMap CopyProgressPage::GetMessageMap() const { return MakeMessageMap(kMessageMap); }

void CopyProgressPage::DoDataExchange(CDataExchange* exchange) {
  DDX_Control(exchange, IDC_SHOWN_SOURCE, shownSource);
  DDX_Control(exchange, IDC_SHOWN_DESTINATION, shownDestination);
}

BOOL CopyProgressPage::OnInitDialog() {
  InstallerPage::OnInitDialog();
  BeginCopy(installState);
  const bool started = StartCopyWorker();
  SetTimer(kCompletionTimer, kCompletionPeriodMs);
  SetTimer(kDisplayTimer, kDisplayPeriodMs);
  // A worker that could not start has already recorded the failure: reported without waiting.
  if (!started) PostMessage(WM_TIMER, kCompletionTimer);
  return TRUE;
}

void CopyProgressPage::OnTimer(UINT_PTR id) {
  if (id == kDisplayTimer) {
    TakeDisplay(installState, [this](const char* source, const char* destination) {
      shownSource.SetWindowText(source);
      shownDestination.SetWindowText(destination);
    });
  } else if (id == kCompletionTimer && WorkerFinished(installState)) {
    ReportCompletion();
  }
  Default();
}

void CopyProgressPage::ReportCompletion() {
  KillTimer(kCompletionTimer);
  KillTimer(kDisplayTimer);
  if (installState.failure == InstallFailure::None) {
    // The files are in place; a shortcut or entry that is missing is named rather than left unseen.
    if (installState.failedShortcuts[0] != '\0') {
      static char text[sizeof installState.failedShortcuts + 96];
      std::strcpy(text, "Pointrel is installed, but this shortcut could not be made:\n\n");
      std::strcat(text, installState.failedShortcuts);
      MessageBox(text, kInstallerCaption, MB_OK | MB_ICONWARNING);
    }
    if (installState.entryError != 0) {
      char reason[512];
      DescribeError(installState.entryError, "the registry", &PlatformErrorMessage, reason, sizeof reason);
      char text[sizeof reason + 160];
      std::strcpy(text, "Pointrel is installed, but it could not be entered in the list of installed programs:\n\n");
      std::strcat(text, reason);
      MessageBox(text, kInstallerCaption, MB_OK | MB_ICONWARNING);
    }
    EndDialog(IDOK);
    return;
  }
  static char message[3 * kTextBufferSize];
  ComposeFailureText(installState, &PlatformErrorMessage, message, sizeof message);
  MessageBox(message, kInstallerCaption, MB_OK);
  MessageBox(kNotCompleteMessage, kInstallerCaption, MB_OK);
  EndDialog(IDCANCEL);
}

void CopyProgressPage::OnCancel() {
  KillTimer(kCompletionTimer);
  KillTimer(kDisplayTimer);
  CancelCopyWorker();
  EndDialog(IDCANCEL);
}

void CopyProgressPage::OnDestroy() { Default(); }

// --- FinishPage ---------------------------------------------------------------------------

FinishPage::FinishPage() : InstallerPage(IDD_FINISH) {}
FinishPage::~FinishPage() = default;
MessageMap FinishPage::GetMessageMap() const { return {nullptr, 0}; }
void FinishPage::DoDataExchange(CDataExchange*) {}
BOOL FinishPage::OnInitDialog() { return InstallerPage::OnInitDialog(); }
