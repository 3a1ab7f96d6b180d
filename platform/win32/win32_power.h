// The process token, its privileges and the system restart (advapi32, user32).
#pragma once
#include "platform/power.h"

namespace win32 {

class Win32Power final : public plat::Power {
 public:
  win::Error OpenProcessTokenHandle(uint32_t access, plat::TokenHandle* token) override;
  win::Error LookupPrivilege(const char* name, plat::Luid* luid) override;
  win::Error AdjustOnePrivilege(plat::TokenHandle token, const plat::Luid& luid,
                                uint32_t attributes) override;
  void CloseToken(plat::TokenHandle token) override;
  win::Error RequestExitWindows(uint32_t flags, uint32_t reason) override;
};

}  // namespace win32
