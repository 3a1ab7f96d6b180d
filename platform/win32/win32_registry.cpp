#include "platform/win32/win32_registry.h"

#include "platform/win32/windows_api.h"

namespace win32 {

win::Error Win32Registry::DeleteLocalMachineKey(const char* subkey) {
  // The registry calls return their error instead of setting the last error.
  return static_cast<win::Error>(::RegDeleteKeyA(HKEY_LOCAL_MACHINE, subkey));
}

}  // namespace win32
