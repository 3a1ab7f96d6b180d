// The process token, its privileges and the system restart.
#pragma once
#include <cstdint>

#include "platform/win_types.h"

namespace plat {

using TokenHandle = uintptr_t;

struct Luid {
  uint32_t lowPart = 0;
  int32_t highPart = 0;
};

class Power {
 public:
  virtual ~Power() = default;
  // OpenProcessToken(GetCurrentProcess(), access, &token).
  virtual win::Error OpenProcessTokenHandle(uint32_t access, TokenHandle* token) = 0;
  // LookupPrivilegeValueA(NULL, name, &luid).
  virtual win::Error LookupPrivilege(const char* name, Luid* luid) = 0;
  // AdjustTokenPrivileges(token, FALSE, {1, {luid, attributes}}, 0, NULL, NULL).
  virtual win::Error AdjustOnePrivilege(TokenHandle token, const Luid& luid,
                                        uint32_t attributes) = 0;
  virtual void CloseToken(TokenHandle token) = 0;
  // ExitWindowsEx(flags, reason).
  virtual win::Error RequestExitWindows(uint32_t flags, uint32_t reason) = 0;
};

}  // namespace plat
