// The service control manager, which knows one service: the print spooler.
#include "platform/sim/sim_state.h"

namespace sim::detail {

namespace {

constexpr char kManagerLabel[] = "SCManager";
constexpr char kSpooler[] = "Spooler";

}  // namespace

win::Error SimServices::OpenManager(uint32_t access, plat::ServiceHandle* manager) {
  Lock lock(s_.mutex);
  const std::string args = std::to_string(access);
  const win::Error error = s_.Injected("OpenSCManagerA", args);
  s_.Record("OpenSCManagerA", args, error);
  *manager = error ? 0 : s_.Acquire(HandleKind::kManager, kManagerLabel, access);
  return error;
}

win::Error SimServices::OpenServiceByName(plat::ServiceHandle manager, const char* name,
                                          uint32_t access, plat::ServiceHandle* service) {
  Lock lock(s_.mutex);
  const std::string args = ArgText(name) + ", " + std::to_string(access);
  win::Error error = s_.Injected("OpenServiceA", args);
  if (!error && !s_.Find(manager, HandleKind::kManager)) error = win::kInvalidHandle;
  if (!error && (!name || !SameText(name, kSpooler))) error = win::kServiceDoesNotExist;
  s_.Record("OpenServiceA", args, error);
  *service = error ? 0 : s_.Acquire(HandleKind::kService, kSpooler, access);
  return error;
}

win::Error SimServices::SendStop(plat::ServiceHandle service) {
  Lock lock(s_.mutex);
  const OpenHandle* open = s_.Find(service, HandleKind::kService);
  const std::string label = s_.HandleLabel(service, HandleKind::kService);
  win::Error error = s_.Injected("ControlService", label);
  if (!error && !open) error = win::kInvalidHandle;
  if (!error && !(open->access & win::kServiceStop)) error = win::kAccessDenied;
  if (!error && s_.spoolerState != ServiceState::kRunning) error = win::kServiceNotActive;
  s_.Record("ControlService", label, error);
  if (error) return error;
  s_.spoolerState = ServiceState::kStopped;
  ++s_.spoolerGeneration;  // printer handles of the old run are dead now
  return win::kSuccess;
}

win::Error SimServices::StartWithoutArguments(plat::ServiceHandle service) {
  Lock lock(s_.mutex);
  const OpenHandle* open = s_.Find(service, HandleKind::kService);
  const std::string label = s_.HandleLabel(service, HandleKind::kService);
  win::Error error = s_.Injected("StartServiceA", label);
  if (!error && !open) error = win::kInvalidHandle;
  if (!error && !(open->access & win::kServiceStart)) error = win::kAccessDenied;
  if (!error && s_.spoolerState == ServiceState::kDisabled) error = win::kServiceDisabled;
  if (!error && s_.spoolerState == ServiceState::kRunning) error = win::kServiceAlreadyRunning;
  s_.Record("StartServiceA", label, error);
  if (error) return error;
  s_.spoolerState = ServiceState::kRunning;
  return win::kSuccess;
}

void SimServices::CloseServiceHandle(plat::ServiceHandle handle) {
  Lock lock(s_.mutex);
  const bool manager = s_.Find(handle, HandleKind::kManager) != nullptr;
  const HandleKind kind = manager ? HandleKind::kManager : HandleKind::kService;
  const std::string label = s_.HandleLabel(handle, kind);
  win::Error error = s_.Injected("CloseServiceHandle", label);
  if (!s_.Release(handle, kind)) error = win::kInvalidHandle;
  s_.Record("CloseServiceHandle", label, error);
}

}  // namespace sim::detail
