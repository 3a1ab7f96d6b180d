// Version and machine queries, named mutexes, standard output and the clock.
#include "platform/sim/sim_state.h"

namespace sim::detail {

namespace {

constexpr uint16_t kArchitectureUnknown = 0xFFFF;

}  // namespace

bool SimSystem::QueryVersion(plat::OsVersion* version) {
  Lock lock(s_.mutex);
  win::Error error = s_.Injected("GetVersionExA", "");
  if (!error && s_.versionQueryFails) error = win::kInvalidParameter;
  s_.Record("GetVersionExA", "", error);
  if (error) return false;
  *version = s_.version;
  return true;
}

bool SimSystem::HasNativeSystemInfo() {
  Lock lock(s_.mutex);
  win::Error error = s_.Injected("GetProcAddress", "GetNativeSystemInfo");
  if (!error && (!s_.nativeSystemInfoAvailable ||
                 s_.removedKernelEntries.count(Lower("GetNativeSystemInfo"))))
    error = win::kProcNotFound;
  s_.Record("GetProcAddress", "GetNativeSystemInfo", error);
  return !error;
}

uint16_t SimSystem::NativeProcessorArchitecture() {
  Lock lock(s_.mutex);
  const win::Error error = s_.Injected("GetNativeSystemInfo", "");
  s_.Record("GetNativeSystemInfo", "", error);
  return error ? kArchitectureUnknown : s_.nativeArchitecture;
}

uint16_t SimSystem::ProcessorArchitecture() {
  Lock lock(s_.mutex);
  const win::Error error = s_.Injected("GetSystemInfo", "");
  s_.Record("GetSystemInfo", "", error);
  return error ? kArchitectureUnknown : s_.reportedArchitecture;
}

bool SimSystem::CreateOwnedMutex(const char* name, bool* alreadyExisted) {
  Lock lock(s_.mutex);
  const std::string text = ArgText(name);
  const win::Error error = s_.Injected("CreateMutexA", text);
  *alreadyExisted = false;
  if (error) {
    s_.Record("CreateMutexA", text, error);
    return false;
  }
  // A second creation still hands out a handle; its last error tells the story.
  *alreadyExisted = name && !s_.mutexes.insert(name).second;
  s_.Record("CreateMutexA", text, *alreadyExisted ? win::kAlreadyExists : 0);
  return true;
}

void SimSystem::WriteStandardOutput(const char* text) {
  Lock lock(s_.mutex);
  const std::string written = ArgText(text);
  const win::Error error = s_.Injected("WriteStdout", written);
  s_.Record("WriteStdout", written, error);
  if (!error && text) s_.standardOutput += text;
}

void SimClock::Sleep(uint32_t milliseconds) {
  Lock lock(s_.mutex);
  const std::string args = std::to_string(milliseconds);
  // Sleep cannot fail; an injected fault only shows in the journal.
  s_.Record("Sleep", args, s_.Injected("Sleep", args));
  s_.pauses.push_back(milliseconds);
  s_.nowMs += milliseconds;
  s_.RunDueActions();
}

}  // namespace sim::detail
