// Top-level windows, the shell's "open" and the application's message boxes.
#include "platform/sim/sim_state.h"

namespace sim::detail {

namespace {

constexpr int kSwRestore = 9;
constexpr intptr_t kShellOpened = 42;

}  // namespace

std::string SimDesktop::WindowArg(plat::WindowHandle window) const {
  auto it = s_.windows.find(window);
  return it != s_.windows.end() ? it->second.title : "#" + std::to_string(window);
}

plat::WindowHandle SimDesktop::FindTopLevelWindow(const char* title) {
  Lock lock(s_.mutex);
  const std::string text = ArgText(title);
  win::Error error = 0;
  const bool faulted = s_.Faulted("FindWindowA", text, &error);
  s_.Record("FindWindowA", text, error, faulted);
  if (faulted || !title) return 0;
  for (const auto& [handle, window] : s_.windows)
    if (SameText(window.title, title)) return handle;
  return 0;
}

void SimDesktop::SetForeground(plat::WindowHandle window) {
  Lock lock(s_.mutex);
  const std::string args = WindowArg(window);
  win::Error error = s_.Injected("SetForegroundWindow", args);
  if (!error && !s_.windows.count(window)) error = kInvalidWindowHandle;
  s_.Record("SetForegroundWindow", args, error);
}

void SimDesktop::BringToTop(plat::WindowHandle window) {
  Lock lock(s_.mutex);
  const std::string args = WindowArg(window);
  win::Error error = s_.Injected("BringWindowToTop", args);
  if (!error && !s_.windows.count(window)) error = kInvalidWindowHandle;
  s_.Record("BringWindowToTop", args, error);
}

bool SimDesktop::IsMinimized(plat::WindowHandle window) {
  Lock lock(s_.mutex);
  const std::string args = WindowArg(window);
  win::Error error = 0;
  const bool faulted = s_.Faulted("IsIconic", args, &error);
  auto it = s_.windows.find(window);
  if (!faulted && it == s_.windows.end()) error = kInvalidWindowHandle;
  s_.Record("IsIconic", args, error, faulted);
  return !faulted && !error && it->second.minimized;
}

void SimDesktop::Restore(plat::WindowHandle window) {
  Lock lock(s_.mutex);
  const std::string args = WindowArg(window) + ", " + std::to_string(kSwRestore);
  win::Error error = s_.Injected("ShowWindow", args);
  auto it = s_.windows.find(window);
  if (!error && it == s_.windows.end()) error = kInvalidWindowHandle;
  s_.Record("ShowWindow", args, error);
  if (!error) it->second.minimized = false;
}

intptr_t SimDesktop::ShellOpen(const char* file, const char* parameters, int /*show*/) {
  Lock lock(s_.mutex);
  const std::string args = ArgText(file) + ", " + ArgText(parameters);
  intptr_t result = static_cast<intptr_t>(s_.Injected("ShellExecuteA", args));
  if (result == 0) {
    if (s_.shellHook) {
      result = s_.shellHook(file ? file : "", parameters ? parameters : "");
    } else {
      std::vector<std::string> parts;
      const bool found = s_.Resolve(file, &parts) && s_.files.Find(parts);
      result = found ? kShellOpened : static_cast<intptr_t>(win::kFileNotFound);
    }
  }
  // Results up to 32 are the shell's failures.
  s_.Record("ShellExecuteA", args, result <= 32 ? static_cast<win::Error>(result) : 0);
  return result;
}

int SimDesktop::ShowMessageBox(const char* text, uint32_t type) {
  Lock lock(s_.mutex);
  const std::string shown = ArgText(text);
  win::Error error = 0;
  const bool faulted = s_.Faulted("MessageBoxA", shown, &error);
  s_.Record("MessageBoxA", shown, error, faulted);
  if (faulted) return 0;
  s_.messageBoxes.push_back(shown);
  s_.messageBoxTypes.push_back(type);
  return s_.messageBoxAnswer;
}

}  // namespace sim::detail
