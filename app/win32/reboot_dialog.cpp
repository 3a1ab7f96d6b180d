#include "app/win32/reboot_dialog.h"

#include "app/uninstall_dlg.h"
#include "res/resource.h"

CRebootDlg::CRebootDlg(plat::FileSystem& files)
    : HostedDialog<DialogHost>(IDD_REBOOT), files_(files) {}

BOOL CRebootDlg::OnInitDialog() { return InitRebootDialog(files_, *this); }
