// Version and machine queries, the single-instance mutex and standard output.
#pragma once
#include "platform/system_queries.h"

namespace win32 {

class Win32SystemQueries final : public plat::SystemQueries {
 public:
  bool QueryVersion(plat::OsVersion* version) override;
  bool HasNativeSystemInfo() override;
  uint16_t NativeProcessorArchitecture() override;
  uint16_t ProcessorArchitecture() override;
  bool CreateOwnedMutex(const char* name, bool* alreadyExisted) override;
  void WriteStandardOutput(const char* text) override;
};

}  // namespace win32
