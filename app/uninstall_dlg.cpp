#include "app/uninstall_dlg.h"

#include <cstring>
#include <string>

#include "app/progress_log.h"
#include "config/text_keys.h"
#include "config/texts.h"
#include "config/uninstall_ini.h"
#include "inventory/components.h"
#include "platform/os_type.h"
#include "res/resource.h"
#include "usb/usb_driver.h"

namespace {

// Grid lines, check boxes, track-select and full-row selection.
constexpr uint32_t kComponentListExtendedStyle = 0x2D;
constexpr uint32_t kSysCommandMask = 0xFFF0;
constexpr const char* kSpoolerLibrary = "Winspool.drv";
constexpr const char* kDeletePrinterDriverExEntry = "DeletePrinterDriverExA";
constexpr const char* kEnglishHelpFile = ".\\Uninstall_EN.CHM";
constexpr const char* kChineseHelpFile = ".\\Uninstall_CN.CHM";
// ShellExecuteA reports success with a value above 32.
constexpr intptr_t kShellOpenSucceeded = 33;

}  // namespace

CUninstallDlg::CUninstallDlg(plat::Platform& platform, MainDialogHost& host)
    : platform_(platform), host_(host), session_(platform, host) {}

int CUninstallDlg::OnInitDialog() {
  if (m_bChineseFont == 1) host_.ApplyChineseFont(ChineseFont::kCreateGlobal);

  // The About item is appended even when its text is empty.
  if (host_.HasSystemMenu()) host_.AppendAboutMenuItem(g_Message.GetText(text::kAboutBox));

  host_.SetDialogIcons();

  g_bIsWow64 = IsWow64(platform_) != 0 ? 1 : 0;

  host_.AddComponentListExtendedStyle(kComponentListExtendedStyle);

  std::memset(g_szUninstallIni, 0, sizeof g_szUninstallIni);
  g_nOSType = GetOSType(platform_.system);

  // Without a configuration nothing below makes sense: the dialog ends unused.
  if (const char* failureKey = FindUninstallIni(platform_.files)) {
    host_.ShowOwnedMessageBox(g_Message.GetText(failureKey).c_str());
    OnCancel();
    return 0;
  }

  FillComponentList(platform_, host_);
  if (host_.ItemCount() <= 0) host_.EnableControl(IDC_SELECT, false);

  AppendLog(host_, g_Message.GetText(text::kSelectPrn1).c_str());

  {
    const CLangSection texts(platform_.files, text::kSectionUninstall);
    host_.SetItemText(IDC_NOTE, texts.GetText(text::kNote));
    host_.SetItemText(IDC_UNINSTALL, texts.GetText(text::kUninstall));
    host_.SetItemText(IDC_SELECT, texts.GetText(text::kSelect));
    host_.SetItemText(win::kIdCancel, texts.GetText(text::kExit));
    host_.SetItemText(IDC_USB_DRIVER, texts.GetText(text::kUsbUninstall));
    host_.SetCaption(texts.GetText(text::kTitle));
  }

  // The spooler library stays loaded for the rest of the process. Without the
  // extended entry, printer removal falls back to DeletePrinterDriverA.
  g_pfnDeletePrinterDriverEx = nullptr;
  if (!platform_.libraries.LoadAndKeep(kSpoolerLibrary, kDeletePrinterDriverExEntry,
                                       &g_pfnDeletePrinterDriverEx)) {
    g_pfnDeletePrinterDriverEx = nullptr;
    host_.ShowOwnedMessageBox(text::kNoWinspoolLib);
    return 0;
  }

  return DetectUsbDriver(platform_, host_) ? 1 : 0;
}

void CUninstallDlg::OnSelect() {
  // The count is read afresh on every pass.
  for (int i = 0; i < host_.ItemCount(); ++i) host_.SetItemChecked(i, true);
}

bool CUninstallDlg::OnSysCommand(uint32_t id) {
  if ((id & kSysCommandMask) != IDM_ABOUTBOX) return false;
  host_.ShowAboutBox();
  return true;
}

int CUninstallDlg::OnHelpInfo() {
  plat::Desktop& desktop = platform_.desktop;
  // An open window of that title is taken for the help window, whatever it is.
  if (const plat::WindowHandle open = desktop.FindTopLevelWindow(text::kHelpWindowTitle)) {
    desktop.BringToTop(open);
    if (desktop.IsMinimized(open)) {
      desktop.Restore(open);
      desktop.SetForeground(open);
    }
    return 1;
  }
  if (desktop.ShellOpen(kEnglishHelpFile, nullptr, win::kSwShow) < kShellOpenSucceeded)
    desktop.ShellOpen(kChineseHelpFile, nullptr, win::kSwShow);
  return 1;
}

void CUninstallDlg::OnUninstall() { ::OnUninstall(session_); }

void CUninstallDlg::OnCancel() {
  // The run's worker uses the dialog until its final block.
  if (!CanClose()) return;
  host_.EndDialog(win::kIdCancel);
}

bool CUninstallDlg::CanClose() const { return !session_.runActive.load(); }
