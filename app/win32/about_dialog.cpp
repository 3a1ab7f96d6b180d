#include "app/win32/about_dialog.h"

#include "app/uninstall_dlg.h"
#include "res/resource.h"

CAboutDlg::CAboutDlg(plat::FileSystem& files)
    : HostedDialog<DialogHost>(IDD_ABOUTBOX), files_(files) {}

BOOL CAboutDlg::OnInitDialog() { return InitAboutDialog(files_, *this); }
