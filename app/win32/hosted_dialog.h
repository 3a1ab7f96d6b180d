// A dialog that offers its window to the portable dialog logic as a DialogHost
// (or an interface derived from it, such as MainDialogHost).
#pragma once
#include <string>

#include "app/dialog_host.h"
#include "app/win32/chinese_font.h"
#include "app/win32/dialog.h"

template <class Host>
class HostedDialog : public Dialog, public Host {
 public:
  explicit HostedDialog(int templateId) : Dialog(templateId) {}

  void ApplyChineseFont(ChineseFont font) override {
    switch (font) {
      case ChineseFont::kCreateGlobal:
        g_fontChinese.CreateChinese();
        ApplyDialogFont(window(), g_fontChinese.get());
        break;
      case ChineseFont::kCreateOwn:
        ownFont().CreateChinese();
        ApplyDialogFont(window(), ownFont().get());
        break;
      case ChineseFont::kApplyGlobal:
        ApplyDialogFont(window(), g_fontChinese.get());
        break;
    }
  }
  void SetItemText(int id, const std::string& text) override { SetText(id, text); }
  void SetCaption(const std::string& text) override { SetTitle(text); }
  int ShowOwnedMessageBox(const char* text) override { return MessageBoxOk(text); }
  void EndDialog(int result) override { End(result); }
};
