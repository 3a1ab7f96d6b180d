// The service control manager (advapi32, ANSI).
#pragma once
#include <cstdint>

#include "platform/win_types.h"

namespace plat {

using ServiceHandle = uintptr_t;  // 0: none

class ServiceControl {
 public:
  virtual ~ServiceControl() = default;
  // OpenSCManagerA(NULL, NULL, access).
  virtual win::Error OpenManager(uint32_t access, ServiceHandle* manager) = 0;
  // OpenServiceA(manager, name, access).
  virtual win::Error OpenServiceByName(ServiceHandle manager, const char* name, uint32_t access,
                                       ServiceHandle* service) = 0;
  // ControlService(service, SERVICE_CONTROL_STOP, &status).
  virtual win::Error SendStop(ServiceHandle service) = 0;
  // StartServiceA(service, 0, NULL).
  virtual win::Error StartWithoutArguments(ServiceHandle service) = 0;
  virtual void CloseServiceHandle(ServiceHandle handle) = 0;
};

}  // namespace plat
