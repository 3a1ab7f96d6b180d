// The registry as the core uses it: deletion of one key under HKEY_LOCAL_MACHINE.
#pragma once
#include "platform/win_types.h"

namespace plat {

class Registry {
 public:
  virtual ~Registry() = default;
  // RegDeleteKeyA(HKEY_LOCAL_MACHINE, subkey): a key with subkeys is not deleted.
  virtual win::Error DeleteLocalMachineKey(const char* subkey) = 0;
};

}  // namespace plat
