#include "platform/win32/win32_services.h"

#include "platform/win32/call_support.h"
#include "platform/win32/handle_kinds.h"

namespace win32 {
namespace {

SC_HANDLE AsHandle(plat::ServiceHandle handle) { return reinterpret_cast<SC_HANDLE>(handle); }

// Hands an opened handle to the caller, who closes it with CloseServiceHandle.
win::Error HandOver(UniqueService opened, plat::ServiceHandle* handle) {
  if (!opened) return FailureCode();
  *handle = reinterpret_cast<plat::ServiceHandle>(opened.release());
  return win::kSuccess;
}

}  // namespace

win::Error Win32ServiceControl::OpenManager(uint32_t access, plat::ServiceHandle* manager) {
  *manager = 0;
  return HandOver(UniqueService(::OpenSCManagerA(nullptr, nullptr, access)), manager);
}

win::Error Win32ServiceControl::OpenServiceByName(plat::ServiceHandle manager, const char* name,
                                                  uint32_t access, plat::ServiceHandle* service) {
  *service = 0;
  return HandOver(UniqueService(::OpenServiceA(AsHandle(manager), name, access)), service);
}

win::Error Win32ServiceControl::SendStop(plat::ServiceHandle service) {
  SERVICE_STATUS status = {};
  return ::ControlService(AsHandle(service), SERVICE_CONTROL_STOP, &status) ? win::kSuccess
                                                                            : FailureCode();
}

win::Error Win32ServiceControl::StartWithoutArguments(plat::ServiceHandle service) {
  return ::StartServiceA(AsHandle(service), 0, nullptr) ? win::kSuccess : FailureCode();
}

void Win32ServiceControl::CloseServiceHandle(plat::ServiceHandle handle) {
  UniqueService closing(AsHandle(handle));
}

}  // namespace win32
