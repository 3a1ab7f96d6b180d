// The service control manager on advapi32's ANSI entries.
#pragma once
#include "platform/services.h"

namespace win32 {

class Win32ServiceControl final : public plat::ServiceControl {
 public:
  win::Error OpenManager(uint32_t access, plat::ServiceHandle* manager) override;
  win::Error OpenServiceByName(plat::ServiceHandle manager, const char* name, uint32_t access,
                               plat::ServiceHandle* service) override;
  win::Error SendStop(plat::ServiceHandle service) override;
  win::Error StartWithoutArguments(plat::ServiceHandle service) override;
  void CloseServiceHandle(plat::ServiceHandle handle) override;
};

}  // namespace win32
