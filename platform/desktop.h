// Top-level windows, the shell and the application's own message boxes.
#pragma once
#include <cstdint>

namespace plat {

using WindowHandle = uintptr_t;  // 0: none

class Desktop {
 public:
  virtual ~Desktop() = default;
  // FindWindowA(NULL, title): any class, title compared without regard to case.
  virtual WindowHandle FindTopLevelWindow(const char* title) = 0;
  virtual void SetForeground(WindowHandle window) = 0;  // SetForegroundWindow
  virtual void BringToTop(WindowHandle window) = 0;     // BringWindowToTop
  virtual bool IsMinimized(WindowHandle window) = 0;    // IsIconic
  virtual void Restore(WindowHandle window) = 0;        // ShowWindow(SW_RESTORE)
  // ShellExecuteA(NULL, "open", file, parameters, NULL, show): > 32 is success.
  virtual intptr_t ShellOpen(const char* file, const char* parameters, int show) = 0;
  // A message box captioned with the application title; type as MessageBoxA.
  // AfxMessageBox(text, MB_OK) is type MB_OK | MB_ICONEXCLAMATION.
  virtual int ShowMessageBox(const char* text, uint32_t type) = 0;
};

}  // namespace plat
