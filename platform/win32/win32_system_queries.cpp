#include "platform/win32/win32_system_queries.h"

#include <cstdio>
#include <type_traits>

#include "platform/win32/call_support.h"
#include "platform/win32/windows_api.h"

namespace win32 {
namespace {

static_assert(sizeof(OSVERSIONINFOEXA) == 156, "the extended version record is 156 bytes");

using GetNativeSystemInfoFn = void(WINAPI*)(LPSYSTEM_INFO);
static_assert(std::is_same_v<GetNativeSystemInfoFn, decltype(&::GetNativeSystemInfo)>,
              "GetNativeSystemInfo is called with its own signature");

// Windows 2000 has no GetNativeSystemInfo, so it is looked up in the kernel32
// already loaded into every process instead of being imported.
GetNativeSystemInfoFn FindGetNativeSystemInfo() {
  return FindEntry<GetNativeSystemInfoFn>(::GetModuleHandleA("kernel32.dll"),
                                          "GetNativeSystemInfo");
}

}  // namespace

bool Win32SystemQueries::QueryVersion(plat::OsVersion* version) {
  *version = plat::OsVersion{};
  OSVERSIONINFOEXA info = {};
  info.dwOSVersionInfoSize = sizeof info;
  if (!::GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&info))) return false;
  version->platformId = info.dwPlatformId;
  version->major = info.dwMajorVersion;
  version->minor = info.dwMinorVersion;
  version->productType = info.wProductType;
  return true;
}

bool Win32SystemQueries::HasNativeSystemInfo() { return FindGetNativeSystemInfo() != nullptr; }

uint16_t Win32SystemQueries::NativeProcessorArchitecture() {
  SYSTEM_INFO info = {};
  if (GetNativeSystemInfoFn getNativeSystemInfo = FindGetNativeSystemInfo()) {
    getNativeSystemInfo(&info);
  } else {
    ::GetSystemInfo(&info);
  }
  return info.wProcessorArchitecture;
}

uint16_t Win32SystemQueries::ProcessorArchitecture() {
  SYSTEM_INFO info = {};
  ::GetSystemInfo(&info);
  return info.wProcessorArchitecture;
}

bool Win32SystemQueries::CreateOwnedMutex(const char* name, bool* alreadyExisted) {
  *alreadyExisted = false;
  // Deliberately never closed: the mutex marks the running copy until the
  // process ends, and Windows releases it then.
  HANDLE mutex = ::CreateMutexA(nullptr, TRUE, name);
  if (mutex == nullptr) return false;
  *alreadyExisted = ::GetLastError() == ERROR_ALREADY_EXISTS;
  return true;
}

void Win32SystemQueries::WriteStandardOutput(const char* text) {
  std::fputs(text, stdout);
  std::fflush(stdout);
}

}  // namespace win32
