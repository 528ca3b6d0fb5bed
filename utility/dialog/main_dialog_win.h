// The utility's only window: template 102, run modally for the whole life of the process. Its
// members are defined here in utility/dialog, by concern: commands and lifecycle
// (main_dialog_win.cpp), the cursor roles and lists (role_handlers_win.cpp), the animator's
// handlers (animator_handlers_win.cpp), the colour pickers (colour_pickers_win.cpp), finding
// the pointer (find_pointer_handlers_win.cpp), importing cursor packs (import_handlers_win.cpp)
// and the answers to the platform reloading the
// cursors (reload_handlers_win.cpp). What they do to cursors is the cursor layer's
// (utility/cursor).
#pragma once
#include <cstddef>
#include <cstdint>

#include "platform/bitmap_button.h"
#include "platform/window.h"
#include "utility/cursor/animator_state.h"
#include "utility/cursor/answer_rate.h"
#include "utility/records/import_command.h"
#include "utility/cursor/app_mode.h"
#include "utility/resources/resource.h"

enum class ColourRow { WhiteRow, BlackRow };

// Set to 1 once by dialog initialisation when the display can show colour cursors; never cleared.
extern int32_t ColourCursorsSupported;

class MainDialog : public CDialog {
 public:
  MainDialog();
  // After an unhandled exception, on whatever thread it came: animation stopped and the
  // defaults put back, as every other ending does.
  void RestoreAfterCrash();
  // Every role's current choice installed as its system cursor.
  void ApplyAllCursors();
  // Each list's entry for its stored name selected, where there is one.
  void SelectStoredCursors();
  // Puts the platform defaults back, once per run; 1 once that has happened.
  void RestoreSystemCursors();
  // A role of "More pointers..." installed as `current` has it, and the scheme box told.
  void ApplyChosenRole(size_t role);
  int32_t RestoredFlag() const { return restoredFlag; }
  // The import the command line asked for, done once the dialog is up.
  void ImportAtStart(const ImportCommand& command) { startImport = command; }

 protected:
  MessageMap GetMessageMap() const override;
  void DoDataExchange(CDataExchange* exchange) override;
  BOOL OnInitDialog() override;

 private:
  // Commands and window lifecycle
  void OnOkButton();
  void OnCancelButton();
  void OnHelpButton();
  void OnAboutButton();
  void OnExitRestore();
  void OnSysCommand(UINT command, LPARAM lParam);
  void OnPaint();
  HICON OnQueryDragIcon();
  void OnDestroy();
  BOOL OnQueryEndSession();
  void OnEndSession(BOOL ending);
  // OK, Cancel and every minimise: hide when "Hide when minimized" is set, else minimise.
  void HideOrMinimize();
  // The start minimised, once the dialog is up: unless a second start has asked for it meanwhile.
  void OnStartMinimized();
  // A second start asks for the window: back into view and to the front.
  void OnShowRequested();
  // Every control that shows a setting, from `current`: at start and after Cancel.
  void ShowSettings();

  // Cursor roles: install the current choices as system cursors
  // A selection in one of the four lists: the user's choice.
  void OnListChosen(UINT id);
  void ApplyNormal();
  // Normal, and App Starting with it when that follows Normal and `withFollower` asks for it.
  void ApplyNormalRole(bool withFollower);
  void ApplyAppStarting();
  void ApplyBusy();
  void ApplyIBeam();
  void ApplySizingDefault();
  void ApplySizingLarge();
  void OnMirrorNormal();
  void OnMirrorAppStarting();
  // "Left-handed": every role installed again, the pointing ones mirrored or not.
  void OnLeftHanded();
  // A role chosen in "More pointers...", installed as `current` has it.
  void ApplyMoreRole(size_t role);
  void OnMorePointers();

  // Library lists
  void FillLists();
  // The list box of a role chosen in a list.
  const CListBox& ListOf(size_t role) const;

  // Schemes: the two boxes list "<None>", those that ship and the user's own
  void FillSchemeBox();
  // The scheme in force for the app mode (the dark one while following a dark mode, else
  // current.Scheme), as the one the roles' "<Default>" stands for.
  void LoadSchemeInForce();
  // The box shows the light scheme, or "<Custom>" while a choice differs from the scheme in
  // force; the dark box shows the dark scheme, enabled while the mode is followed.
  void ShowSchemeChoice();
  void OnSchemeChosen();
  void OnFollowDarkMode();
  void OnDarkSchemeChosen();
  // The app mode read again; when the scheme in force changes with it, true and it is loaded.
  bool FollowAppMode();

  // Importing a cursor pack as a scheme of the user's own: "Import...", a second start's
  // command line, or this start's
  void OnImportButton();
  LRESULT OnCopyData(const COPYDATASTRUCT& data);
  void OnStartImport();
  // Opens, previews (unless `quiet`) and copies the pack at `path`, then chooses and installs
  // the new scheme; an exit code of import_command.h. Unless quiet, a refusal is said.
  int ImportPack(const char* path, bool quiet);

  // Colour pickers
  void AttachColourButtons();
  // Each button's pictures drawn at the side for `dialogDpi`, in place of the 96-dpi bitmaps.
  void DrawColourPictures();
  // Each row's swatches edge to edge from where its first one sits.
  void LayOutColourRows();
  // A move to a monitor of another scale: the platform lays the dialog out again first, then
  // the posted kColourLayoutMessage redraws and re-lays the rows at the new size.
  void OnDpiChanged(UINT dpi);
  void OnColourLayoutDue();
  void OnColourButton(UINT id);
  void SelectColour(ColourRow row, int index);
  void ShowColourSelections();

  // Animator and the two tests
  void OnBlinkRadio(UINT id);
  void SelectBlinkMode(int mode);
  // The stored mode, when it is one that runs (1 to 6).
  void StartStoredBlinkMode();
  void OnTimer(UINT_PTR id);
  void OnTestAppStarting();
  void OnTestBusy();
  BOOL OnSetCursor(HWND window, UINT hitTest, UINT message);
  void StopAnimation();

  // Find the pointer: the two check boxes, and the animator paused while it holds it
  void OnHideTyping();
  void OnShakeEnlarge();
  // Both behaviours as `current` has them.
  void ApplyFindPointer();
  void OnFindPointerPosted(UINT what);

  // Answers to the platform reloading the system cursors over the choices
  void OnSettingChange(WPARAM action, LPARAM section);
  void OnThemeChanged();
  void OnSessionChange(WPARAM what, LPARAM session);
  void OnPowerBroadcast(WPARAM what, LPARAM data);
  void OnDisplayChange();
  void RequestReloadAnswer(ReloadCause cause);
  void FollowReloadRule(AnswerRate::Decision decision);
  // The choices installed again at the size in force, the blanks or the enlargement over them.
  void AnswerReload();
  void OnReloadStopped();
  // The user made a choice: reloads are answered again.
  void UserMadeChoice();

  static const MessageMapEntry kMessageMap[];

  CStatic status;
  CButton startMinimized;
  CButton hideMinimized;
  CButton hideTyping;
  CButton shakeEnlarge;
  CButton mirrorAppStarting;
  CButton mirrorNormal;
  CButton sizingDefault;
  CButton sizingLarge;
  CButton blinkRadios[kBlinkModeCount];  // in BlinkMode order
  CListBox ibeamList;
  CListBox appStartingList;
  CListBox busyList;
  CListBox normalList;
  CComboBox schemeBox;
  ImportCommand startImport;
  CComboBox darkSchemeBox;
  CButton followDarkMode;
  CButton leftHanded;
  AppMode appMode = AppMode::Light;
  int32_t restoredFlag = 0;
  HICON windowIcon;
  CBitmapButton colourButtons[2 * kColourRowLength];  // ids 1020 to 1051
  CBitmapButton* selectedWhiteButton = nullptr;
  CBitmapButton* selectedBlackButton = nullptr;
  UINT dialogDpi = 96;
  bool animatorPausedForFindPointer = false;
  bool shownOnRequest = false;
  AnswerRate reloadRate;
  ReloadCause lastReloadCause = ReloadCause::Settings;
};

constexpr UINT kColourLayoutMessage = WM_APP + 1;
// Posted once the answers to reloads have stopped, so the message is said after the state is set.
constexpr UINT kReloadStoppedMessage = WM_APP + 3;
// Posted at the end of initialisation when the command line asks for an import.
constexpr UINT kStartImportMessage = WM_APP + 6;
// Posted at the end of initialisation when the settings ask to start minimised.
constexpr UINT kStartMinimizedMessage = WM_APP + 8;
constexpr UINT_PTR kReloadTimerId = 3;  // the animator has 1 and 2
