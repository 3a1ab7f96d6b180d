// Every key the system reads from the language file, and the texts it carries
// itself. GBK texts are escaped bytes with the readable text beside them.
#pragma once

namespace text {

// Sections.
constexpr const char* kSectionMessage = "Message";
constexpr const char* kSectionUninstall = "Uninstall";
constexpr const char* kSectionReboot = "Reboot";
constexpr const char* kSectionAbout = "About";

// Section "Message".
constexpr const char* kAboutBox = "IDS_ABOUTBOX";
constexpr const char* kErrGetSysDir = "IDS_ERR_GETSYSDIR";
constexpr const char* kErrInvalid = "IDS_ERR_INVALID";
constexpr const char* kErrNoIni = "IDS_ERR_NOINI";
constexpr const char* kSelectPrn1 = "IDS_SELECTPRN1";
constexpr const char* kDeleting1 = "IDS_DELETING1";
constexpr const char* kDeleting2 = "IDS_DELETING2";
constexpr const char* kUsing = "IDS_USING";
constexpr const char* kErrUninstall = "IDS_ERR_UNINSTALL";
constexpr const char* kSuccess = "IDS_SUCCESS";
constexpr const char* kErrOpenPrn = "IDS_ERR_OPENPRN";
constexpr const char* kErrGetPrnInfo = "IDS_ERR_GETPRNINFO";
constexpr const char* kErrAlloc = "IDS_ERR_ALLOC";
constexpr const char* kErrHaveJob1 = "IDS_ERR_HAVEJOB1";
constexpr const char* kErrHaveJob2 = "IDS_ERR_HAVEJOB2";
constexpr const char* kErrDelPrinter = "IDS_ERR_DELPRINTER";
constexpr const char* kDrvDeleting = "IDS_DRVDELETING";
constexpr const char* kDrvSuccess = "IDS_DRV_SUCCESS";
constexpr const char* kErrDrvUsing = "IDS_ERR_DRVUSING";
constexpr const char* kErrDrvDel = "IDS_ERR_DRVDEL";
constexpr const char* kDeleting3 = "IDS_DELETING3";
constexpr const char* kDrvSuccess1 = "IDS_DRV_SUCCESS1";

// Section "Uninstall".
constexpr const char* kNote = "Note";
constexpr const char* kUninstall = "Uninstall";
constexpr const char* kSelect = "Select";
constexpr const char* kExit = "Exit";
constexpr const char* kUsbUninstall = "USBuninstall";
constexpr const char* kTitle = "Title";
constexpr const char* kClose = "Close";
constexpr const char* kCaptionName = "CaptionName";

// Section "Reboot".
constexpr const char* kNote1 = "Note1";
constexpr const char* kNote2 = "Note2";
constexpr const char* kNote3 = "Note3";
constexpr const char* kYes = "Yes";
constexpr const char* kNo = "No";

// Section "About" (and "Title").
constexpr const char* kVersion = "Version";
constexpr const char* kCopyright = "Copyright";
constexpr const char* kOk = "OK";

// Texts that do not come from the language file.
constexpr const char* kNoWinspoolLib = "no Winspool lib  ";
constexpr const char* kNoRevertEntry = "Can't Get Function Wow64RevertWow64FsRedirection Address";
constexpr const char* kGetSystemDirectoryError = "Get system Directory error.";
constexpr const char* kCannotLoadUsbLibrary = "Can not load ZiZudUru.dll";
constexpr const char* kOpenFunctionError = "open function error";
constexpr const char* kGetDeviceIdError = "Get Device ID error";
constexpr const char* kInvalidFileHandle = "Invalid File Handle. Get Last Error reports %d\n";
constexpr const char* kDriverErrorSuffix = "    er=%d";

// Window titles looked for.
// "打印机卸载程序": a running copy of this uninstaller
constexpr const char* kRunningCopyTitle =
    "\xB4\xF2\xD3\xA1\xBB\xFA\xD0\xB6\xD4\xD8\xB3\xCC\xD0\xF2";
// "打印机驱动安装程序": the companion driver installer, Chinese caption
constexpr const char* kInstallerTitleChinese =
    "\xB4\xF2\xD3\xA1\xBB\xFA\xC7\xFD\xB6\xAF\xB0\xB2\xD7\xB0\xB3\xCC\xD0\xF2";
constexpr const char* kInstallerTitleEnglish = "Printer Driver Setup";
constexpr const char* kHelpWindowTitle = "Uninstall";
// "宋体": face of the Chinese font
constexpr const char* kChineseFontFace = "\xCB\xCE\xCC\xE5";

}  // namespace text
