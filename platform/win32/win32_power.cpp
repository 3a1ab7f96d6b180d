#include "platform/win32/win32_power.h"

#include "platform/win32/call_support.h"
#include "platform/win32/handle_kinds.h"

namespace win32 {
namespace {

HANDLE AsHandle(plat::TokenHandle token) { return reinterpret_cast<HANDLE>(token); }

}  // namespace

win::Error Win32Power::OpenProcessTokenHandle(uint32_t access, plat::TokenHandle* token) {
  *token = 0;
  HANDLE handle = nullptr;
  if (!::OpenProcessToken(::GetCurrentProcess(), access, &handle)) return FailureCode();
  *token = reinterpret_cast<plat::TokenHandle>(handle);
  return win::kSuccess;
}

win::Error Win32Power::LookupPrivilege(const char* name, plat::Luid* luid) {
  LUID found = {};
  if (!::LookupPrivilegeValueA(nullptr, name, &found)) return FailureCode();
  luid->lowPart = found.LowPart;
  luid->highPart = found.HighPart;
  return win::kSuccess;
}

win::Error Win32Power::AdjustOnePrivilege(plat::TokenHandle token, const plat::Luid& luid,
                                          uint32_t attributes) {
  TOKEN_PRIVILEGES privileges = {};
  privileges.PrivilegeCount = 1;
  privileges.Privileges[0].Luid.LowPart = luid.lowPart;
  privileges.Privileges[0].Luid.HighPart = luid.highPart;
  privileges.Privileges[0].Attributes = attributes;
  if (!::AdjustTokenPrivileges(AsHandle(token), FALSE, &privileges, 0, nullptr, nullptr)) {
    return FailureCode();
  }
  // The call also succeeds when the token does not hold the privilege at all;
  // only the last error tells, and then nothing was enabled.
  const DWORD outcome = ::GetLastError();
  return outcome == ERROR_NOT_ALL_ASSIGNED ? win::kNotAllAssigned : win::kSuccess;
}

void Win32Power::CloseToken(plat::TokenHandle token) {
  UniqueKernelObject closing(AsHandle(token));
}

win::Error Win32Power::RequestExitWindows(uint32_t flags, uint32_t reason) {
  return ::ExitWindowsEx(flags, reason) ? win::kSuccess : FailureCode();
}

}  // namespace win32
