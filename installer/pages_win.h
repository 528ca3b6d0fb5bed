// The installer's four pages, each a modal dialog without parent, shown one after the other.
#pragma once
#include "platform/window.h"

// What every page shares: the two icons, the caption and the icons set on initialisation.
class InstallerPage : public CDialog {
 public:
  explicit InstallerPage(UINT templateId);
  ~InstallerPage() override;

 protected:
  BOOL OnInitDialog() override;

  // Loaded from the program's resources; shared resource icons, never destroyed.
  HICON bigIcon;
  HICON smallIcon;
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
  void OnCancel() override;

 private:
  void OnTimer(UINT_PTR id);
  void OnDestroy();
  void ReportCompletion();
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
