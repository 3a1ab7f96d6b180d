// Stops and starts the Windows print spooler, so that it lets go of the drivers,
// monitors and processors just removed from it.
#include <cstdint>

#include "engine/steps.h"

namespace {

constexpr const char* kSpoolerService = "Spooler";
// The stop is not polled: a fixed wait gives the service time to end.
constexpr uint32_t kStopWaitMs = 2000;

// A service or manager handle, closed when it goes.
class ScopedServiceHandle {
 public:
  explicit ScopedServiceHandle(plat::ServiceControl& services) : services_(services) {}
  ScopedServiceHandle(const ScopedServiceHandle&) = delete;
  ScopedServiceHandle& operator=(const ScopedServiceHandle&) = delete;
  ~ScopedServiceHandle() {
    if (handle_ != 0) services_.CloseServiceHandle(handle_);
  }

  // The out-parameter for an Open call; the handle counts only after success.
  plat::ServiceHandle* receive() { return &handle_; }
  bool Opened(win::Error error) {
    if (error != win::kSuccess) handle_ = 0;
    return handle_ != 0;
  }
  plat::ServiceHandle get() const { return handle_; }

 private:
  plat::ServiceControl& services_;
  plat::ServiceHandle handle_ = 0;
};

}  // namespace

void RestartSpooler(plat::Platform& platform) {
  plat::ServiceControl& services = platform.services;
  ScopedServiceHandle manager(services);
  if (!manager.Opened(services.OpenManager(win::kScManagerAllAccess, manager.receive()))) return;

  {
    ScopedServiceHandle spooler(services);
    if (spooler.Opened(services.OpenServiceByName(manager.get(), kSpoolerService, win::kServiceStop,
                                                  spooler.receive())))
      services.SendStop(spooler.get());
  }
  platform.clock.Sleep(kStopWaitMs);
  {
    ScopedServiceHandle spooler(services);
    if (spooler.Opened(services.OpenServiceByName(manager.get(), kSpoolerService,
                                                  win::kServiceStart, spooler.receive())))
      services.StartWithoutArguments(spooler.get());
  }
}
