// Top-level windows, the shell and the application's message boxes (user32,
// shell32, ANSI).
#pragma once
#include <string>

#include "platform/desktop.h"

namespace win32 {

class Win32Desktop final : public plat::Desktop {
 public:
  // Set by the application before any message box is shown: the caption of
  // every message box and the window that owns them (0: none).
  void SetApplicationTitle(const char* title);
  void SetOwnerWindow(plat::WindowHandle owner);

  plat::WindowHandle FindTopLevelWindow(const char* title) override;
  void SetForeground(plat::WindowHandle window) override;
  void BringToTop(plat::WindowHandle window) override;
  bool IsMinimized(plat::WindowHandle window) override;
  void Restore(plat::WindowHandle window) override;
  intptr_t ShellOpen(const char* file, const char* parameters, int show) override;
  int ShowMessageBox(const char* text, uint32_t type) override;

 private:
  std::string title_;
  plat::WindowHandle owner_ = 0;
};

}  // namespace win32
