// A modal dialog on a resource template: one dialog procedure that finds the
// object from the window and routes messages to virtual handlers. No exception
// leaves a handler into the system.
#pragma once
#include <windows.h>

#include <string>

#include "app/win32/chinese_font.h"

class Dialog {
 public:
  explicit Dialog(int templateId) : templateId_(templateId) {}
  Dialog(const Dialog&) = delete;
  Dialog& operator=(const Dialog&) = delete;
  virtual ~Dialog() = default;

  // Runs the dialog's own modal loop on the calling thread; owner is disabled
  // meanwhile. Returns the EndDialog result, or -1 when the dialog cannot be made.
  INT_PTR RunModal(HWND owner);

  HWND window() const { return window_; }
  HWND Item(int id) const { return GetDlgItem(window_, id); }

 protected:
  // WM_INITDIALOG; TRUE lets the system focus the first tab stop.
  virtual BOOL OnInitDialog() { return TRUE; }
  // BN_CLICKED (and menu or accelerator commands) from a control.
  virtual void OnCommand(int id);
  virtual void OnOk() { End(IDOK); }
  // Exit, the close command and Esc arrive here.
  virtual void OnCancel() { End(IDCANCEL); }
  // Every message; return true when handled, with *result as the procedure's value.
  virtual bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR* result);

  void End(int result) { ::EndDialog(window_, result); }
  void SetText(int id, const std::string& text) { SetDlgItemTextA(window_, id, text.c_str()); }
  void SetTitle(const std::string& text) { SetWindowTextA(window_, text.c_str()); }
  int MessageBoxOk(const char* text);
  // A font owned by this dialog object and deleted with it.
  DialogFont& ownFont() { return ownFont_; }

 private:
  static INT_PTR CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  INT_PTR Dispatch(UINT message, WPARAM wParam, LPARAM lParam);
  // Every template places its dialog at 0,0: unless the initialisation moved it,
  // the dialog is centred over its owner, or on the work area without one.
  void CentreIfNotMoved(const RECT& before);

  int templateId_;
  HWND window_ = nullptr;
  DialogFont ownFont_;
};
