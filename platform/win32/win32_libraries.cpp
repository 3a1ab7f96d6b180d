#include "platform/win32/win32_libraries.h"

#include <cstring>
#include <string>
#include <type_traits>

#include "platform/win32/call_support.h"
#include "platform/win32/handle_kinds.h"
#include "platform/win32/system_directory.h"

namespace win32 {
namespace {

using IsWow64ProcessFn = BOOL(WINAPI*)(HANDLE, PBOOL);
using Wow64DisableFn = BOOL(WINAPI*)(PVOID*);
using Wow64RevertFn = BOOL(WINAPI*)(PVOID);
static_assert(std::is_same_v<IsWow64ProcessFn, decltype(&::IsWow64Process)>);
static_assert(std::is_same_v<Wow64DisableFn, decltype(&::Wow64DisableWow64FsRedirection)>);
static_assert(std::is_same_v<Wow64RevertFn, decltype(&::Wow64RevertWow64FsRedirection)>);

// The vendor USB library's entries: stdcall, 32-bit values.
using OpenDeviceXFn = int32_t(WINAPI*)(int32_t index);
using GetDescriptorFn = int32_t(WINAPI*)(int32_t device, void* block);
using CloseDeviceFn = int32_t(WINAPI*)(int32_t device);

class Win32KernelLibrary final : public plat::KernelLibrary {
 public:
  explicit Win32KernelLibrary(UniqueLibrary module) : module_(std::move(module)) {}

  bool HasEntry(const char* entry) override {
    return ::GetProcAddress(module_.get(), entry) != nullptr;
  }

  bool CallIsWow64Process(int* isWow64) override {
    auto isWow64Process = FindEntry<IsWow64ProcessFn>(module_.get(), "IsWow64Process");
    BOOL answer = FALSE;
    const bool succeeded =
        isWow64Process != nullptr && isWow64Process(::GetCurrentProcess(), &answer);
    *isWow64 = succeeded ? answer : FALSE;
    return succeeded;
  }

  int CallWow64DisableFsRedirection(void** saved) override {
    auto disable = FindEntry<Wow64DisableFn>(module_.get(), "Wow64DisableWow64FsRedirection");
    PVOID state = nullptr;
    const BOOL result = disable != nullptr ? disable(&state) : FALSE;
    *saved = state;
    return result;
  }

  int CallWow64RevertFsRedirection(void* saved) override {
    auto revert = FindEntry<Wow64RevertFn>(module_.get(), "Wow64RevertWow64FsRedirection");
    return revert != nullptr ? revert(saved) : FALSE;
  }

 private:
  UniqueLibrary module_;
};

class Win32UsbLibrary final : public plat::UsbLibrary {
 public:
  explicit Win32UsbLibrary(UniqueLibrary module)
      : module_(std::move(module)),
        openDevice_(FindEntry<OpenDeviceXFn>(module_.get(), "OpenDeviceX")),
        getDescriptor_(FindEntry<GetDescriptorFn>(module_.get(), "GetDescriptor")),
        closeDevice_(FindEntry<CloseDeviceFn>(module_.get(), "CloseDevice")) {}

  bool HasEntry(const char* entry) override {
    return ::GetProcAddress(module_.get(), entry) != nullptr;
  }

  // A missing entry answers as "no device" or "not read", never a crash.
  int32_t CallOpenDeviceX(int32_t index) override {
    return openDevice_ != nullptr ? openDevice_(index) : -1;
  }
  int32_t CallGetDescriptor(int32_t device, uint8_t* block20) override {
    return getDescriptor_ != nullptr ? getDescriptor_(device, block20) : 0;
  }
  int32_t CallCloseDevice(int32_t device) override {
    return closeDevice_ != nullptr ? closeDevice_(device) : 0;
  }

 private:
  UniqueLibrary module_;  // declared first: the entries below are looked up in it
  OpenDeviceXFn openDevice_;
  GetDescriptorFn getDescriptor_;
  CloseDeviceFn closeDevice_;
};

bool HasFolder(const char* library) { return std::strpbrk(library, "\\/:") != nullptr; }

// The program runs elevated: a system library named without a folder is taken
// from the system directory, never from the package folder or the current one.
bool SystemLibraryPath(const char* library, std::string* path) {
  if (HasFolder(library)) {
    *path = library;
    return true;
  }
  if (ReadSystemDirectory(path) != win::kSuccess) return false;
  *path += '\\';
  *path += library;
  return true;
}

}  // namespace

std::unique_ptr<plat::KernelLibrary> Win32Libraries::LoadKernel(const char* nameOrPath) {
  std::string path;
  if (!SystemLibraryPath(nameOrPath, &path)) return nullptr;
  UniqueLibrary module(::LoadLibraryA(path.c_str()));
  if (!module) return nullptr;
  return std::make_unique<Win32KernelLibrary>(std::move(module));
}

std::unique_ptr<plat::UsbLibrary> Win32Libraries::LoadUsb(const char* name) {
  UniqueLibrary module(::LoadLibraryA(name));
  if (!module) return nullptr;
  return std::make_unique<Win32UsbLibrary>(std::move(module));
}

bool Win32Libraries::LoadAndKeep(const char* library, const char* entryName, const void** entry) {
  *entry = nullptr;
  std::string path;
  if (!SystemLibraryPath(library, &path)) return false;
  // Never released: the entry stays valid until the process ends.
  HMODULE module = ::LoadLibraryA(path.c_str());
  if (module == nullptr) return false;
  *entry = AddressAs<const void*>(::GetProcAddress(module, entryName));
  return true;
}

}  // namespace win32
