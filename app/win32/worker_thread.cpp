#include "app/win32/worker_thread.h"

#include <windows.h>

#include <memory>

namespace {

DWORD WINAPI RunBody(LPVOID parameter) {
  std::unique_ptr<std::function<void()>> body(static_cast<std::function<void()>*>(parameter));
  // An exception must not end the process from a thread nobody waits for.
  try {
    (*body)();
  } catch (...) {
  }
  return 0;
}

}  // namespace

bool StartDetachedThread(std::function<void()> body) {
  auto owned = std::make_unique<std::function<void()>>(std::move(body));
  HANDLE thread = CreateThread(nullptr, 0, RunBody, owned.get(), 0, nullptr);
  if (thread == nullptr) return false;
  owned.release();  // the thread owns it now
  CloseHandle(thread);
  return true;
}
