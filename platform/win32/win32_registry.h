// The registry on advapi32's ANSI entries.
#pragma once
#include "platform/registry.h"

namespace win32 {

class Win32Registry final : public plat::Registry {
 public:
  win::Error DeleteLocalMachineKey(const char* subkey) override;
};

}  // namespace win32
