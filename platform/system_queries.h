// Version and machine queries, the single-instance mutex and standard output.
#pragma once
#include <cstdint>

#include "platform/win_types.h"

namespace plat {

// The fields of OSVERSIONINFOEXA the classification reads.
struct OsVersion {
  uint32_t platformId = 0;
  uint32_t major = 0;
  uint32_t minor = 0;
  uint8_t productType = 0;
};

class SystemQueries {
 public:
  virtual ~SystemQueries() = default;
  // GetVersionExA on a zeroed OSVERSIONINFOEXA (size 156). On failure *version
  // keeps its zeroes and false is returned.
  virtual bool QueryVersion(OsVersion* version) = 0;
  // Whether the already loaded "kernel32.dll" exports GetNativeSystemInfo.
  virtual bool HasNativeSystemInfo() = 0;
  // wProcessorArchitecture from GetNativeSystemInfo / GetSystemInfo.
  virtual uint16_t NativeProcessorArchitecture() = 0;
  virtual uint16_t ProcessorArchitecture() = 0;

  // CreateMutexA(NULL, TRUE, name); *alreadyExisted from GetLastError() ==
  // ERROR_ALREADY_EXISTS. The handle is never closed. False: not created at all.
  virtual bool CreateOwnedMutex(const char* name, bool* alreadyExisted) = 0;

  // Writes text to the process's standard output as it is.
  virtual void WriteStandardOutput(const char* text) = 0;
};

}  // namespace plat
