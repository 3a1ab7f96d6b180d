#include "app/win32/dialog.h"

#include "app/win32/message_box.h"

INT_PTR Dialog::RunModal(HWND owner) {
  return DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(templateId_), owner, Procedure,
                         reinterpret_cast<LPARAM>(this));
}

void Dialog::OnCommand(int id) {
  if (id == IDOK) OnOk();
  if (id == IDCANCEL) OnCancel();
}

bool Dialog::OnMessage(UINT, WPARAM, LPARAM, INT_PTR*) { return false; }

int Dialog::MessageBoxOk(const char* text) { return ShowTitledMessageBox(window_, text, MB_OK); }

INT_PTR CALLBACK Dialog::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  Dialog* self = nullptr;
  if (message == WM_INITDIALOG) {
    self = reinterpret_cast<Dialog*>(lParam);
    SetWindowLongPtrA(window, DWLP_USER, lParam);
    self->window_ = window;
  } else {
    self = reinterpret_cast<Dialog*>(GetWindowLongPtrA(window, DWLP_USER));
  }
  if (self == nullptr) return FALSE;  // messages before WM_INITDIALOG
  INT_PTR result = FALSE;
  try {
    result = self->Dispatch(message, wParam, lParam);
  } catch (...) {
    result = FALSE;  // default processing; the system must not see the exception
  }
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrA(window, DWLP_USER, 0);
    self->window_ = nullptr;
  }
  return result;
}

INT_PTR Dialog::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
  INT_PTR result = FALSE;
  if (OnMessage(message, wParam, lParam, &result)) return result;
  switch (message) {
    case WM_INITDIALOG: {
      RECT before = {};
      GetWindowRect(window_, &before);
      const BOOL focus = OnInitDialog();
      if (window_ != nullptr && IsWindow(window_)) CentreIfNotMoved(before);
      return focus;
    }
    case WM_COMMAND:
      if (HIWORD(wParam) == BN_CLICKED) {
        OnCommand(LOWORD(wParam));
        return TRUE;
      }
      return FALSE;
    default:
      return FALSE;
  }
}

void Dialog::CentreIfNotMoved(const RECT& before) {
  RECT own;
  GetWindowRect(window_, &own);
  if (own.left != before.left || own.top != before.top) return;

  HWND owner = GetWindow(window_, GW_OWNER);
  const bool overOwner = owner != nullptr && IsWindowVisible(owner) && !IsIconic(owner);
  MONITORINFO monitor = {};
  monitor.cbSize = sizeof monitor;
  GetMonitorInfoA(MonitorFromWindow(overOwner ? owner : window_, MONITOR_DEFAULTTONEAREST),
                  &monitor);
  const RECT area = monitor.rcWork;
  RECT around = area;
  if (overOwner) GetWindowRect(owner, &around);
  const LONG width = own.right - own.left;
  const LONG height = own.bottom - own.top;
  LONG left = (around.left + around.right) / 2 - width / 2;
  LONG top = (around.top + around.bottom) / 2 - height / 2;
  // Keep the whole dialog on the work area.
  if (left + width > area.right) left = area.right - width;
  if (top + height > area.bottom) top = area.bottom - height;
  if (left < area.left) left = area.left;
  if (top < area.top) top = area.top;
  SetWindowPos(window_, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
