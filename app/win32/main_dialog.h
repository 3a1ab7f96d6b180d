// The main dialog, template 102, on the real controls: the window side of
// CUninstallDlg and the view the removal run works through.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "app/uninstall_dlg.h"
#include "app/win32/check_list_view.h"
#include "app/win32/hosted_dialog.h"
#include "app/win32/list_box.h"
#include "platform/win32/win32_platform.h"

class MainDialog : public HostedDialog<MainDialogHost> {
 public:
  explicit MainDialog(win32::Win32Platform& machine);

  CUninstallDlg& logic() { return logic_; }

  // DialogHost / MainDialogHost
  bool HasSystemMenu() override;
  void AppendAboutMenuItem(const std::string& text) override;
  void SetDialogIcons() override;
  void AddComponentListExtendedStyle(uint32_t style) override;
  void ShowAboutBox() override;

  // ComponentList
  int ItemCount() override { return components_.ItemCount(); }
  void InsertItem(int index, const char* text) override { components_.InsertItem(index, text); }
  std::string ItemText(int index) override { return components_.ItemText(index); }
  bool IsItemChecked(int index) override { return components_.IsChecked(index); }
  void SetItemChecked(int index, bool checked) override { components_.SetChecked(index, checked); }
  void DeleteItem(int index) override { components_.DeleteItem(index); }

  // UninstallView
  void LogAddString(const char* line) override { log_.AddString(line); }
  int LogCount() override { return log_.Count(); }
  void LogSelect(int index) override { log_.SetCurSel(index); }
  std::string LogText(int index) override { return log_.Text(index); }
  int LogHorizontalExtent() override { return log_.HorizontalExtent(); }
  void LogSetHorizontalExtent(int extent) override { log_.SetHorizontalExtent(extent); }
  std::unique_ptr<TextMeasure> OpenDialogMeasure() override;
  void EnableControl(int id, bool enable) override;
  bool IsUsbBoxChecked() override;
  int ShowRestartPrompt() override;
  bool StartWorker(std::function<void()> body) override;

 protected:
  BOOL OnInitDialog() override;
  void OnCommand(int id) override;
  void OnOk() override;
  void OnCancel() override;
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR* result) override;

 private:
  void PaintMinimized();

  win32::Win32Platform& machine_;
  plat::Platform& platform_;
  HICON m_hAppIcon;
  CheckListView components_;
  ListBox log_;
  CUninstallDlg logic_;
};
