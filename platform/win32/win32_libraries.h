// Libraries loaded at run time: kernel32's WOW64 entries, the vendor USB library
// and libraries kept for the process's life.
#pragma once
#include "platform/libraries.h"

namespace win32 {

class Win32Libraries final : public plat::Libraries {
 public:
  std::unique_ptr<plat::KernelLibrary> LoadKernel(const char* nameOrPath) override;
  std::unique_ptr<plat::UsbLibrary> LoadUsb(const char* name) override;
  // A bare name is loaded from the system directory: the process runs elevated
  // and must not pick up a library of that name from the package folder or the
  // current directory. A path is used as it is.
  bool LoadAndKeep(const char* library, const char* entryName, const void** entry) override;
};

}  // namespace win32
