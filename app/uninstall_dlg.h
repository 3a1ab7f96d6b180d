// The main dialog's own logic: initialisation, Select, the system menu, help and
// the Uninstall command, on a window given as a MainDialogHost.
#pragma once
#include <cstdint>

#include "app/dialog_host.h"
#include "engine/uninstall.h"

class CUninstallDlg {
 public:
  CUninstallDlg(plat::Platform& platform, MainDialogHost& host);

  int m_bChineseFont = 0;  // set by start-up before the dialog is shown

  // Returns the BOOL of WM_INITDIALOG.
  int OnInitDialog();
  void OnSelect();
  // True when the command was handled here (the About box); false asks for the
  // default processing.
  bool OnSysCommand(uint32_t id);
  int OnHelpInfo();
  void OnUninstall();
  void OnCancel();
  // Exit, the close command, Esc and Enter end the dialog only while no run is
  // active: the worker uses the dialog until its final block.
  bool CanClose() const;

  UninstallSession& session() { return session_; }

 private:
  plat::Platform& platform_;
  MainDialogHost& host_;
  UninstallSession session_;
};

// The About box and the restart prompt: their initialisation (BOOL result).
int InitAboutDialog(plat::FileSystem& files, DialogHost& host);
int InitRebootDialog(plat::FileSystem& files, DialogHost& host);
