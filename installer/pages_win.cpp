#include "installer/pages_win.h"

#include <cstring>

#include "installer/copy_worker.h"
#include "installer/destination.h"
#include "installer/error_text_win.h"
#include "installer/install_services_win.h"
#include "installer/install_state.h"
#include "installer/resources/resource.h"
#include "installer/running_utility_win.h"
#include "installer/uninstall_registry_win.h"

const char kInstallerCaption[] = "Pointrel Installation";

namespace {

constexpr UINT_PTR kCompletionTimer = 1;
constexpr UINT kCompletionPeriodMs = 500;
constexpr UINT_PTR kDisplayTimer = 2;
constexpr UINT kDisplayPeriodMs = 100;

bool IsKeyOrClick(UINT message) {
  return (message >= WM_KEYFIRST && message <= WM_KEYLAST) ||
         (message >= WM_LBUTTONDOWN && message <= WM_MBUTTONDBLCLK) ||
         (message >= WM_NCLBUTTONDOWN && message <= WM_NCMBUTTONDBLCLK);
}

// Drops the keys and clicks waiting in the queue.
void DropQueuedInput() {
  MSG message;
  while (::PeekMessageA(&message, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE)) {}
  while (::PeekMessageA(&message, nullptr, WM_LBUTTONDOWN, WM_MBUTTONDBLCLK, PM_REMOVE)) {}
  while (::PeekMessageA(&message, nullptr, WM_NCLBUTTONDOWN, WM_NCMBUTTONDBLCLK, PM_REMOVE)) {}
}

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
  shownAt = ::GetTickCount();
  return TRUE;
}

// A key or click made before the page showed, or within a double click's time of it, was meant
// for the page before (a second Enter, the second click of a double click): it is dropped.
BOOL InstallerPage::PreTranslateMessage(const MSG& message) {
  if (!IsKeyOrClick(message.message)) return FALSE;
  return static_cast<LONG>(message.time - shownAt) < static_cast<LONG>(::GetDoubleClickTime());
}

int InstallerPage::Ask(const char* text, UINT type) {
  DropQueuedInput();
  return MessageBox(text, kInstallerCaption, type);
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
  // The installation there is proposed, with its shortcuts as they are.
  char hint[kTextBufferSize];
  ReadEntryLocation(hint, sizeof hint);
  FindInstallation(PlatformFiles(), PlatformShell(), hint, installState.destinationPath, existing);
  if (existing.found) {
    CopyText(installState.destinationPath, kTextBufferSize, existing.folder);
    installState.desktopShortcut = existing.shortcuts[static_cast<int>(ShortcutKind::Desktop)] ? 1 : 0;
    installState.startAtBoot = existing.shortcuts[static_cast<int>(ShortcutKind::Startup)] ? 1 : 0;
  }
  destination.SetWindowText(installState.destinationPath);
  desktopShortcut.SetCheck(installState.desktopShortcut);
  startAtBoot.SetCheck(installState.startAtBoot);
  return TRUE;
}

void DestinationPage::Refuse(const char* reason) {
  Ask(reason, MB_OK);
  destination.SetFocus();
}

void DestinationPage::OnOK() {
  installState.desktopShortcut = desktopShortcut.GetCheck() == BST_CHECKED ? 1 : 0;
  installState.startAtBoot = startAtBoot.GetCheck() == BST_CHECKED ? 1 : 0;
  // Checked in a copy first, so the shared record only ever holds a destination that passed. A
  // text longer than the buffer would come back cut short; it is refused as a whole instead.
  char typed[kTextBufferSize] = "";
  char canonical[kTextBufferSize];
  static char reason[3 * kTextBufferSize];
  if (::GetWindowTextLengthA(destination.m_hWnd) >= static_cast<int>(sizeof typed)) {
    char why[512];
    DescribePathProblem(PathProblem::TooLong, "", why, sizeof why);
    CopyText(reason, sizeof reason, "The destination directory format is invalid.\n\n");
    AppendText(reason, sizeof reason, why);
    return Refuse(reason);
  }
  destination.GetWindowText(typed, sizeof typed);
  const DestinationKind kind = CheckDestination(PlatformFiles(), typed, existing, canonical, reason, sizeof reason);
  if (kind == DestinationKind::Refused) return Refuse(reason);
  installState.previousFolder[0] = '\0';
  if (kind == DestinationKind::Move) {
    // Asked with No as the default: a stray Enter keeps the installation where it is.
    CopyText(reason, sizeof reason, "Pointrel is installed in ");
    const bool composed = AppendText(reason, sizeof reason, existing.folder) &&
                          AppendText(reason, sizeof reason, ". Move it to ") && AppendText(reason, sizeof reason, canonical) &&
                          AppendText(reason, sizeof reason, "?\n\nThe copy in ") &&
                          AppendText(reason, sizeof reason, existing.folder) &&
                          AppendText(reason, sizeof reason, " is removed once the new one is complete.");
    if (!composed || Ask(reason, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES) {
      destination.SetFocus();
      return;
    }
    CopyText(installState.previousFolder, kTextBufferSize, existing.folder);
  }
  CopyText(installState.destinationPath, kTextBufferSize, canonical);
  if (!CloseRunningUtility()) return;
  CDialog::OnOK();
}

// A running Pointrel holds its program file: it is ended, by its own ending, before the copy,
// and started again afterwards from the installation that is complete then.
bool DestinationPage::CloseRunningUtility() {
  RunningUtility running;
  if (!FindRunningUtility(running)) return true;
  if (Ask("Pointrel is running. Close it and continue?", MB_YESNO | MB_ICONQUESTION) != IDYES) return false;
  HCURSOR previous = ::SetCursor(::LoadCursorA(nullptr, MAKEINTRESOURCEA(32514)));  // IDC_WAIT
  const bool ended = EndRunningUtility(running);
  ::SetCursor(previous);
  if (!ended) {
    Ask("Pointrel could not be closed. Close it yourself, then press Continue again.", MB_OK | MB_ICONWARNING);
    return false;
  }
  NoteRestart(running, existing.found ? existing.folder : installState.destinationPath, installState);
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

void CopyProgressPage::Warn(const char* first, const char* second, const char* third, const char* fourth) {
  static char text[6 * kTextBufferSize];
  text[0] = '\0';
  const char* const parts[] = {first, second, third, fourth};
  for (const char* part : parts) AppendText(text, sizeof text, part);
  Ask(text, MB_OK | MB_ICONWARNING);
}

void CopyProgressPage::ReportCompletion() {
  KillTimer(kCompletionTimer);
  KillTimer(kDisplayTimer);
  if (installState.failure == InstallFailure::Cancelled) {
    EndDialog(IDCANCEL);
    return;
  }
  if (installState.failure != InstallFailure::None) {
    static char message[3 * kTextBufferSize];
    ComposeFailureText(installState, &PlatformErrorMessage, message, sizeof message);
    Ask(message, MB_OK);
    Ask(kNotCompleteMessage, MB_OK);
    EndDialog(IDCANCEL);
    return;
  }
  // The files are in place; a shortcut or entry that is missing is named rather than left unseen.
  if (installState.failedShortcuts[0] != '\0') {
    Warn("Pointrel is installed, but this shortcut could not be made or removed as chosen:\n\n", installState.failedShortcuts);
  }
  if (installState.entryError != 0) {
    char reason[512];
    DescribeError(installState.entryError, "the registry", &PlatformErrorMessage, reason, sizeof reason);
    Warn("Pointrel is installed, but it could not be entered in the list of installed programs:\n\n", reason);
  }
  if (installState.previousLeft[0] != '\0') {
    Warn("Pointrel is installed in ", installState.destinationPath,
         installState.previousIncomplete ? ". Its earlier copy could not be removed completely:\n\n" : ".\n\n",
         installState.previousLeft);
  }
  EndDialog(InstallationComplete(installState) ? IDOK : static_cast<int>(kInstalledIncomplete));
}

void CopyProgressPage::OnCancel() {
  ::EnableWindow(GetDlgItem(IDCANCEL), FALSE);
  RequestStop(installState);
}

void CopyProgressPage::OnDestroy() { Default(); }

// --- FinishPage ---------------------------------------------------------------------------

FinishPage::FinishPage() : InstallerPage(IDD_FINISH) {}
FinishPage::~FinishPage() = default;
MessageMap FinishPage::GetMessageMap() const { return {nullptr, 0}; }
void FinishPage::DoDataExchange(CDataExchange*) {}
BOOL FinishPage::OnInitDialog() { return InstallerPage::OnInitDialog(); }
