// The system restart the user agreed to. Windows NT and later restart only for a
// process that holds the shutdown privilege enabled, so it is enabled first.
#include "engine/steps.h"
#include "platform/os_type.h"

namespace {

constexpr const char* kShutdownPrivilege = "SeShutdownPrivilege";
constexpr uint32_t kNoReason = 0;

// The process token, closed when it goes if it was opened.
class ScopedToken {
 public:
  explicit ScopedToken(plat::Power& power) : power_(power) {}
  ScopedToken(const ScopedToken&) = delete;
  ScopedToken& operator=(const ScopedToken&) = delete;
  ~ScopedToken() {
    if (token_ != 0) power_.CloseToken(token_);
  }
  void Open(uint32_t access) {
    if (power_.OpenProcessTokenHandle(access, &token_) != win::kSuccess) token_ = 0;
  }
  plat::TokenHandle get() const { return token_; }

 private:
  plat::Power& power_;
  plat::TokenHandle token_ = 0;
};

}  // namespace

void RequestSystemRestart(plat::Platform& platform) {
  plat::Power& power = platform.power;
  if (GetOSType(platform.system) == OS_WIN9X) {
    power.RequestExitWindows(win::kEwxReboot, kNoReason);
    return;
  }
  bool enabled = false;
  {
    // A token that did not open or a privilege not found shows up as a failed
    // adjustment: then no restart is requested.
    ScopedToken token(power);
    token.Open(win::kTokenAdjustPrivileges);
    plat::Luid shutdown;
    power.LookupPrivilege(kShutdownPrivilege, &shutdown);
    enabled =
        power.AdjustOnePrivilege(token.get(), shutdown, win::kSePrivilegeEnabled) == win::kSuccess;
  }
  if (enabled) power.RequestExitWindows(win::kEwxReboot, kNoReason);
}
