#include "platform/win32/win32_desktop.h"

#include "platform/win32/windows_api.h"

#include <shellapi.h>

namespace win32 {
namespace {

HWND AsWindow(plat::WindowHandle window) { return reinterpret_cast<HWND>(window); }

}  // namespace

void Win32Desktop::SetApplicationTitle(const char* title) {
  title_ = title != nullptr ? title : "";
}

void Win32Desktop::SetOwnerWindow(plat::WindowHandle owner) { owner_ = owner; }

plat::WindowHandle Win32Desktop::FindTopLevelWindow(const char* title) {
  return reinterpret_cast<plat::WindowHandle>(::FindWindowA(nullptr, title));
}

void Win32Desktop::SetForeground(plat::WindowHandle window) {
  ::SetForegroundWindow(AsWindow(window));
}

void Win32Desktop::BringToTop(plat::WindowHandle window) { ::BringWindowToTop(AsWindow(window)); }

bool Win32Desktop::IsMinimized(plat::WindowHandle window) {
  return ::IsIconic(AsWindow(window)) != FALSE;
}

void Win32Desktop::Restore(plat::WindowHandle window) {
  ::ShowWindow(AsWindow(window), SW_RESTORE);
}

intptr_t Win32Desktop::ShellOpen(const char* file, const char* parameters, int show) {
  HINSTANCE result = ::ShellExecuteA(nullptr, "open", file, parameters, nullptr, show);
  return reinterpret_cast<intptr_t>(result);
}

int Win32Desktop::ShowMessageBox(const char* text, uint32_t type) {
  return ::MessageBoxA(AsWindow(owner_), text, title_.c_str(), type);
}

}  // namespace win32
