#include "found_windows.h"

#include <vector>

#include "res/resource.h"

namespace uidriver {
namespace {

std::vector<HWND> VisibleTopLevelWindows() {
  std::vector<HWND> windows;
  ::EnumWindows(
      [](HWND window, LPARAM found) -> BOOL {
        if (::IsWindowVisible(window))
          reinterpret_cast<std::vector<HWND>*>(found)->push_back(window);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&windows));
  return windows;
}

// A top-level title as the window manager keeps it: no message to a busy window.
std::wstring Title(HWND window) {
  wchar_t title[512] = {};
  ::GetWindowTextW(window, title, 512);
  return title;
}

bool IsDialogClass(HWND window) {
  wchar_t name[16] = {};
  ::GetClassNameW(window, name, 16);
  return std::wstring(name) == L"#32770";
}

}  // namespace

int CountTopLevel(const std::wstring& title) {
  int count = 0;
  for (HWND window : VisibleTopLevelWindows())
    if (Title(window) == title) ++count;
  return count;
}

HWND FindTopLevel(const std::wstring& title) {
  for (HWND window : VisibleTopLevelWindows())
    if (Title(window) == title) return window;
  return nullptr;
}

HWND FindOwnedDialog(HWND owner, int markerControlId) {
  for (HWND window : VisibleTopLevelWindows())
    if (::GetWindow(window, GW_OWNER) == owner && ::GetDlgItem(window, markerControlId) != nullptr)
      return window;
  return nullptr;
}

HWND FindMessageBox(const std::wstring& caption) {
  for (HWND window : VisibleTopLevelWindows())
    if (IsDialogClass(window) && ::GetDlgItem(window, IDC_COMPONENTS) == nullptr &&
        Title(window) == caption)
      return window;
  return nullptr;
}

bool WaitFor(double seconds, const std::function<bool()>& done) {
  const ULONGLONG end = ::GetTickCount64() + static_cast<ULONGLONG>(seconds * 1000);
  for (;;) {
    if (done()) return true;
    if (::GetTickCount64() >= end) return false;
    ::Sleep(100);
  }
}

}  // namespace uidriver
