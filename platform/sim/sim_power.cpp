// The process token, its privileges and the request to restart Windows.
#include "platform/sim/sim_state.h"

namespace sim::detail {

namespace {

struct Privilege {
  const char* name;
  uint32_t luid;
};

// The identifiers Windows gives its privileges; the core needs only the first.
constexpr Privilege kPrivileges[] = {{"SeShutdownPrivilege", 19},
                                     {"SeBackupPrivilege", 17},
                                     {"SeRestorePrivilege", 18},
                                     {"SeDebugPrivilege", 20},
                                     {"SeLoadDriverPrivilege", 10}};

std::string PrivilegeName(const plat::Luid& luid) {
  for (const Privilege& privilege : kPrivileges)
    if (luid.highPart == 0 && luid.lowPart == privilege.luid) return privilege.name;
  return "#" + std::to_string(luid.lowPart);
}

constexpr char kTokenLabel[] = "Token";

}  // namespace

win::Error SimPower::OpenProcessTokenHandle(uint32_t access, plat::TokenHandle* token) {
  Lock lock(s_.mutex);
  const std::string args = std::to_string(access);
  const win::Error error = s_.Injected("OpenProcessToken", args);
  s_.Record("OpenProcessToken", args, error);
  *token = error ? 0 : s_.Acquire(HandleKind::kToken, kTokenLabel, access);
  return error;
}

win::Error SimPower::LookupPrivilege(const char* name, plat::Luid* luid) {
  Lock lock(s_.mutex);
  const std::string text = ArgText(name);
  win::Error error = s_.Injected("LookupPrivilegeValueA", text);
  const Privilege* found = nullptr;
  for (const Privilege& privilege : kPrivileges)
    if (name && SameText(privilege.name, name)) found = &privilege;
  if (!error && !found) error = kNoSuchPrivilege;
  s_.Record("LookupPrivilegeValueA", text, error);
  if (error) return error;
  *luid = plat::Luid{found->luid, 0};
  return win::kSuccess;
}

win::Error SimPower::AdjustOnePrivilege(plat::TokenHandle token, const plat::Luid& luid,
                                        uint32_t attributes) {
  Lock lock(s_.mutex);
  const std::string name = PrivilegeName(luid);
  const std::string args = name + ", " + std::to_string(attributes);
  win::Error error = s_.Injected("AdjustTokenPrivileges", args);
  const OpenHandle* open = s_.Find(token, HandleKind::kToken);
  if (!error && !open) error = win::kInvalidHandle;
  if (!error && !(open->access & win::kTokenAdjustPrivileges)) error = win::kAccessDenied;
  s_.Record("AdjustTokenPrivileges", args, error);
  if (error) return error;
  if (attributes & win::kSePrivilegeEnabled) {
    s_.enabledPrivileges.insert(Lower(name));
  } else {
    s_.enabledPrivileges.erase(Lower(name));
  }
  return win::kSuccess;
}

void SimPower::CloseToken(plat::TokenHandle token) {
  Lock lock(s_.mutex);
  const std::string args = std::to_string(token);
  win::Error error = s_.Injected("CloseHandle", args);
  if (!s_.Release(token, HandleKind::kToken)) error = win::kInvalidHandle;
  s_.Record("CloseHandle", args, error);
}

win::Error SimPower::RequestExitWindows(uint32_t flags, uint32_t reason) {
  Lock lock(s_.mutex);
  const std::string args = std::to_string(flags) + ", " + std::to_string(reason);
  win::Error error = s_.Injected("ExitWindowsEx", args);
  // Windows NT restarts only for a process that enabled its shutdown privilege;
  // Windows 9x has no privileges.
  if (!error && s_.version.platformId == win::kVerPlatformWin32Nt &&
      !s_.enabledPrivileges.count(Lower("SeShutdownPrivilege")))
    error = kPrivilegeNotHeld;
  s_.Record("ExitWindowsEx", args, error);
  if (error) return error;
  if (flags & win::kEwxReboot) s_.restartRequested = true;
  return win::kSuccess;
}

}  // namespace sim::detail
