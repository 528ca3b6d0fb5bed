// The installer's four pages, each a modal dialog without parent, shown one after the other.
#pragma once
#include "installer/installation.h"
#include "platform/window.h"

// What every page shares: the two icons, the caption and the icons set on initialisation; and
// keys and clicks meant for what came before it kept from it.
class InstallerPage : public CDialog {
 public:
  explicit InstallerPage(UINT templateId);
  ~InstallerPage() override;

 protected:
  BOOL OnInitDialog() override;
  BOOL PreTranslateMessage(const MSG& message) override;
  // A message box owned by the page, once the keys and clicks made before it showed are dropped.
  int Ask(const char* text, UINT type);

  // Loaded from the program's resources; shared resource icons, never destroyed.
  HICON bigIcon;
  HICON smallIcon;

 private:
  DWORD shownAt = 0;
};

class WelcomePage : public InstallerPage {
 public:
  WelcomePage();
  ~WelcomePage() override;

 protected:
  MessageMap GetMessageMap() const override;
  void DoDataExchange(CDataExchange* exchange) override;
  BOOL OnInitDialog() override;

 private:
  void OnPaint();
  HICON OnQueryDragIcon();
  static const MessageMapEntry kMessageMap[];
};

class DestinationPage : public InstallerPage {
 public:
  DestinationPage();
  ~DestinationPage() override;

 protected:
  MessageMap GetMessageMap() const override;
  void DoDataExchange(CDataExchange* exchange) override;
  BOOL OnInitDialog() override;
  void OnOK() override;

 private:
  bool CloseRunningUtility();
  void Refuse(const char* reason);

  Installation existing;
  CEdit destination;
  CButton desktopShortcut;
  CButton startAtBoot;
};

class CopyProgressPage : public InstallerPage {
 public:
  CopyProgressPage();
  ~CopyProgressPage() override;

 protected:
  MessageMap GetMessageMap() const override;
  void DoDataExchange(CDataExchange* exchange) override;
  BOOL OnInitDialog() override;
  // Enter, or anything else that asks for OK, never ends the copy: only its end does.
  void OnOK() override {}
  // Cancel, Escape and the Close box ask the worker to stop; its end ends the page.
  void OnCancel() override;

 private:
  void OnTimer(UINT_PTR id);
  void OnDestroy();
  void ReportCompletion();
  void Warn(const char* first, const char* second, const char* third = "", const char* fourth = "");
  static const MessageMapEntry kMessageMap[];

  CStatic shownSource;
  CStatic shownDestination;
};

class FinishPage : public InstallerPage {
 public:
  FinishPage();
  ~FinishPage() override;

 protected:
  MessageMap GetMessageMap() const override;
  void DoDataExchange(CDataExchange* exchange) override;
  BOOL OnInitDialog() override;
};

// The caption of every page and of every message the installer shows.
extern const char kInstallerCaption[];

// The progress page's end when the files are in place but not all the rest (a shortcut, the
// entry): no FinishPage then.
constexpr INT_PTR kInstalledIncomplete = 3;
