// Libraries loaded at run time: kernel32's WOW64 entries, the vendor USB library
// and the spooler library kept for the process's life.
#include <cstring>

#include "platform/sim/sim_state.h"

namespace sim::detail {

namespace {

constexpr char kUsbLibraryName[] = "ZiZudUru.dll";
// What GetProcAddress hands out for DeletePrinterDriverExA: only its address matters.
const char kDeleteDriverExEntry = 0;
// Saved redirection states handed out by the disable entry.
void* const kSavedEnabled = reinterpret_cast<void*>(uintptr_t{0x51});
void* const kSavedDisabled = reinterpret_cast<void*>(uintptr_t{0x52});

// The common life of a loaded library: a handle from LoadLibraryA to FreeLibrary.
class LoadedLibrary {
 public:
  LoadedLibrary(SimState& state, const std::string& name)
      : s_(state), name_(name), handle_(state.Acquire(HandleKind::kLibrary, name)) {}
  virtual ~LoadedLibrary() {
    Lock lock(s_.mutex);
    win::Error error = s_.Injected("FreeLibrary", name_);
    if (!s_.Release(handle_, HandleKind::kLibrary)) error = win::kInvalidHandle;
    s_.Record("FreeLibrary", name_, error);
  }
  LoadedLibrary(const LoadedLibrary&) = delete;
  LoadedLibrary& operator=(const LoadedLibrary&) = delete;

 protected:
  // GetProcAddress: present unless removed (entry names are case-sensitive).
  bool LookUp(const char* entry, const std::set<std::string>& removed) {
    Lock lock(s_.mutex);
    const std::string text = ArgText(entry);
    win::Error error = s_.Injected("GetProcAddress", text);
    if (!error && (!entry || removed.count(Lower(entry)) || !Exports(entry)))
      error = win::kProcNotFound;
    s_.Record("GetProcAddress", text, error);
    return !error;
  }
  virtual bool Exports(const std::string& entry) const = 0;

  SimState& s_;

 private:
  std::string name_;
  uintptr_t handle_;
};

class SimKernelLibrary final : public plat::KernelLibrary, private LoadedLibrary {
 public:
  SimKernelLibrary(SimState& state, const std::string& name) : LoadedLibrary(state, name) {}

  bool HasEntry(const char* entry) override { return LookUp(entry, s_.removedKernelEntries); }

  bool CallIsWow64Process(int* isWow64) override {
    Lock lock(s_.mutex);
    const win::Error error = Begin("IsWow64Process");
    s_.Record("IsWow64Process", "", error);
    if (error) return false;
    *isWow64 = s_.wow64 ? 1 : 0;
    return true;
  }

  int CallWow64DisableFsRedirection(void** saved) override {
    Lock lock(s_.mutex);
    const win::Error error = Begin("Wow64DisableWow64FsRedirection");
    if (error) {
      s_.Record("Wow64DisableWow64FsRedirection", "", error);
      return 0;
    }
    const int result = s_.disableRedirectionResult;
    s_.Record("Wow64DisableWow64FsRedirection", "");
    if (result != 1) {
      s_.journal.back() += " = " + std::to_string(result);
      return result;
    }
    bool& disabled = s_.redirectionDisabled[std::this_thread::get_id()];
    *saved = disabled ? kSavedDisabled : kSavedEnabled;
    disabled = true;
    return 1;
  }

  int CallWow64RevertFsRedirection(void* saved) override {
    Lock lock(s_.mutex);
    win::Error error = Begin("Wow64RevertWow64FsRedirection");
    if (!error && saved != kSavedEnabled && saved != kSavedDisabled) error = win::kInvalidParameter;
    s_.Record("Wow64RevertWow64FsRedirection", "", error);
    if (error) return 0;
    s_.redirectionDisabled[std::this_thread::get_id()] = saved == kSavedDisabled;
    return 1;
  }

 private:
  bool Exports(const std::string& /*entry*/) const override { return true; }
  // An injected fault, or a call of an entry the library does not have.
  win::Error Begin(const char* entry) {
    const win::Error error = s_.Injected(entry, "");
    if (error) return error;
    return s_.removedKernelEntries.count(Lower(entry)) ? win::kProcNotFound : 0;
  }
};

class SimUsbLibrary final : public plat::UsbLibrary, private LoadedLibrary {
 public:
  SimUsbLibrary(SimState& state, const std::string& name) : LoadedLibrary(state, name) {}

  bool HasEntry(const char* entry) override { return LookUp(entry, s_.removedUsbEntries); }

  int32_t CallOpenDeviceX(int32_t index) override {
    Lock lock(s_.mutex);
    const std::string args = std::to_string(index);
    win::Error error = 0;
    const bool ok = Begin("OpenDeviceX", args, &error);
    s_.Record("OpenDeviceX", args, error, !ok);
    auto device = s_.usbDevices.find(index);
    if (!ok || device == s_.usbDevices.end()) return 0;
    s_.openDevices.insert(device->second.handle);
    return device->second.handle;
  }

  int32_t CallGetDescriptor(int32_t device, uint8_t* block20) override {
    Lock lock(s_.mutex);
    const std::string args = std::to_string(device);
    win::Error error = 0;
    bool ok = Begin("GetDescriptor", args, &error);
    const UsbDevice* found = nullptr;
    for (const auto& [index, candidate] : s_.usbDevices)
      if (candidate.handle == device) found = &candidate;
    if (ok && (!found || !s_.openDevices.count(device))) {
      error = win::kInvalidHandle;
      ok = false;
    }
    s_.Record("GetDescriptor", args, error, !ok);
    if (!ok) return 0;
    // Five little-endian words; the value sits in the low half of the fourth. The
    // high half is not zero, so that a caller who forgets to mask it shows.
    const uint32_t words[5] = {20, 0, 0, 0xA5A50000u | found->value, 0};
    for (int i = 0; i < 20; ++i) block20[i] = static_cast<uint8_t>(words[i / 4] >> (8 * (i % 4)));
    return 1;
  }

  int32_t CallCloseDevice(int32_t device) override {
    Lock lock(s_.mutex);
    const std::string args = std::to_string(device);
    win::Error error = 0;
    const bool ok = Begin("CloseDevice", args, &error);
    s_.Record("CloseDevice", args, error, !ok);
    // Closing what was never opened (0, -1) is harmless to this library.
    auto open = s_.openDevices.find(device);
    if (open != s_.openDevices.end()) s_.openDevices.erase(open);
    return ok ? 1 : 0;
  }

 private:
  bool Exports(const std::string& entry) const override {
    return entry == "OpenDeviceX" || entry == "GetDescriptor" || entry == "CloseDevice";
  }
  // False when the call fails: an injected fault (even one of error 0) or an
  // entry the library does not have.
  bool Begin(const char* entry, const std::string& args, win::Error* error) {
    if (s_.Faulted(entry, args, error)) return false;
    if (s_.removedUsbEntries.count(Lower(entry))) *error = win::kProcNotFound;
    return *error == 0;
  }
};

// The file name at the end of a path.
std::string BaseName(const std::string& path) {
  const size_t slash = path.find_last_of("\\/");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

std::unique_ptr<plat::KernelLibrary> SimLibraries::LoadKernel(const char* nameOrPath) {
  Lock lock(s_.mutex);
  const std::string text = ArgText(nameOrPath);
  win::Error error = s_.Injected("LoadLibraryA", text);
  if (!error && (!nameOrPath || !SameText(BaseName(text), "kernel32.dll")))
    error = win::kModNotFound;
  s_.Record("LoadLibraryA", text, error);
  if (error) return nullptr;
  return std::make_unique<SimKernelLibrary>(s_, text);
}

std::unique_ptr<plat::UsbLibrary> SimLibraries::LoadUsb(const char* name) {
  Lock lock(s_.mutex);
  const std::string text = ArgText(name);
  win::Error error = s_.Injected("LoadLibraryA", text);
  if (!error && (!name || !s_.usbLibraryPresent || !SameText(BaseName(text), kUsbLibraryName)))
    error = win::kModNotFound;
  s_.Record("LoadLibraryA", text, error);
  if (error) return nullptr;
  return std::make_unique<SimUsbLibrary>(s_, text);
}

bool SimLibraries::LoadAndKeep(const char* library, const char* entryName, const void** entry) {
  Lock lock(s_.mutex);
  *entry = nullptr;
  const std::string text = ArgText(library);
  win::Error error = s_.Injected("LoadLibraryA", text);
  if (!error && (!library || !ContainsText(text, "winspool") || !s_.winspoolLoads))
    error = win::kModNotFound;
  s_.Record("LoadLibraryA", text, error);
  if (error) return false;

  const std::string entryText = ArgText(entryName);
  error = s_.Injected("GetProcAddress", entryText);
  if (!error && (!entryName || std::strcmp(entryName, "DeletePrinterDriverExA") != 0 ||
                 !s_.deleteDriverExAvailable))
    error = win::kProcNotFound;
  s_.Record("GetProcAddress", entryText, error);
  if (!error) *entry = &kDeleteDriverExEntry;
  return true;
}

}  // namespace sim::detail
