// The initialisation of the About box and of the restart prompt. Each reads the
// setup file afresh when it opens, so it follows the current LANGUAGE value.
#include "app/uninstall_dlg.h"
#include "config/text_keys.h"
#include "config/texts.h"
#include "res/resource.h"

int InitAboutDialog(plat::FileSystem& files, DialogHost& host) {
  if (IsChineseMode(files)) host.ApplyChineseFont(ChineseFont::kCreateOwn);

  const CLangSection texts(files, text::kSectionAbout);
  host.SetItemText(IDC_ABOUT_VERSION, texts.GetText(text::kVersion));
  host.SetItemText(IDC_ABOUT_COPYRIGHT, texts.GetText(text::kCopyright));
  host.SetItemText(win::kIdOk, texts.GetText(text::kOk));
  host.SetCaption(texts.GetText(text::kTitle));
  return 1;
}

int InitRebootDialog(plat::FileSystem& files, DialogHost& host) {
  // The prompt creates no font of its own: it uses the main dialog's.
  if (IsChineseMode(files)) host.ApplyChineseFont(ChineseFont::kApplyGlobal);

  const CLangSection texts(files, text::kSectionReboot);
  host.SetItemText(IDC_REBOOT_NOTE1, texts.GetText(text::kNote1));
  host.SetItemText(IDC_REBOOT_NOTE2, texts.GetText(text::kNote2));
  host.SetItemText(IDC_REBOOT_NOTE3, texts.GetText(text::kNote3));
  host.SetItemText(win::kIdOk, texts.GetText(text::kYes));
  host.SetItemText(win::kIdCancel, texts.GetText(text::kNo));
  host.SetCaption(texts.GetText(text::kTitle));
  return 1;
}
