// The utility's only window: template 102, run modally for the whole life of the process.
// Its members are defined where their concern lives: commands and lifecycle here in
// utility/dialog, colour pickers in colour_pickers_win.cpp, cursor roles and library lists in
// utility/cursor, the animator in utility/cursor/animator_win.cpp.
#pragma once
#include <cstdint>

#include "platform/bitmap_button.h"
#include "platform/window.h"

enum class ColourRow { WhiteRow, BlackRow };

// Set to 1 once by dialog initialisation when the display can show colour cursors; never cleared.
extern int32_t ColourCursorsSupported;

class MainDialog : public CDialog {
 public:
  MainDialog();
  ~MainDialog() override;

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
  int OnCreate(CREATESTRUCTA* create);
  void OnShowWindow(BOOL show, UINT status);
  void OnDestroy();
  BOOL OnQueryEndSession();
  void OnEndSession(BOOL ending);
  // OK, Cancel and every minimise: hide when "Hide when minimized" is set, else minimise.
  void HideOrMinimize();

  // Cursor roles: install the current choices as system cursors
  void ApplyNormal();
  void ApplyAppStarting();
  void ApplyBusy();
  void ApplyIBeam();
  void ApplySizingDefault();
  void ApplySizingLarge();
  void OnMirrorNormal();
  void OnMirrorAppStarting();
  void ApplyAllCursors();
  // Puts the platform defaults back, once per run.
  void RestoreSystemCursors();

  // Library lists
  void SelectStoredCursors();

  // Colour pickers
  void OnColourButton(UINT id);
  void SelectColour(ColourRow row, int index);
  void ShowColourSelections();

  // Animator and the two tests
  void OnBlinkRadio(UINT id);
  void SelectBlinkMode(int mode);
  void OnTimer(UINT_PTR id);
  void OnAnimatorTick();
  void OnTestTimer();
  void OnTestAppStarting();
  void OnTestBusy();
  BOOL OnSetCursor(HWND window, UINT hitTest, UINT message);
  void StopAnimation();

  static const MessageMapEntry kMessageMap[];
  // Tests under Wine drive the private operations of a running dialog through this.
  friend struct MainDialogTestAccess;

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
  CBitmapButton colourButtons[32];  // ids 1020 to 1051
  CBitmapButton* selectedWhiteButton = nullptr;
  CBitmapButton* selectedBlackButton = nullptr;
};
