// Resource and control ids, shared by the resource script and the code.
#pragma once

#define IDD_ABOUTBOX 100
#define IDD_UNINSTALL_DIALOG 102
#define IDR_MAINFRAME 128
#define IDD_REBOOT 129
#define IDI_INFORMATION_SIGN 130

#define IDC_UNINSTALL 1002
#define IDC_NOTE 1006
#define IDC_LOG 1008
#define IDC_COMPONENTS 1010
#define IDC_SELECT 1012
#define IDC_REBOOT_NOTE1 1014
#define IDC_REBOOT_NOTE2 1015
#define IDC_REBOOT_NOTE3 1016
#define IDC_ABOUT_VERSION 1017
#define IDC_ABOUT_COPYRIGHT 1018
#define IDC_USB_DRIVER 1019

#define IDM_ABOUTBOX 0x0010
