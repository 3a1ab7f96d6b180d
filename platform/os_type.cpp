#include "platform/os_type.h"

#include <memory>
#include <string>

int g_nOSType = 0;
unsigned char g_bIsWow64 = 0;

namespace {

int ClassifyNt(const plat::OsVersion& v, uint16_t architecture) {
  const bool workstation = v.productType == win::kVerNtWorkstation;
  switch (v.major) {
    case 4:
      return v.minor == 0 ? OS_NT4 : OS_WIN9X;
    case 5:
      if (v.minor == 0) return OS_WIN2000;
      if (v.minor == 1) return OS_XP;
      if (v.minor == 2) {
        // 64-bit XP reports version 5.2 like Server 2003.
        return workstation && architecture == win::kProcessorArchitectureAmd64 ? OS_XP
                                                                               : OS_SERVER2003;
      }
      return OS_WIN9X;
    case 6:
      if (v.minor == 0) return workstation ? OS_VISTA : OS_SERVER2008;
      if (v.minor == 1) return workstation ? OS_WIN7 : OS_SERVER2008;
      return OS_WIN7;
    default:
      if (v.major >= 7) return v.minor >= 3 ? OS_WIN7 : OS_WIN9X;
      return OS_WIN9X;  // 3.x and older
  }
}

// Calls the revert entry when the scope ends, so redirection is never left off.
class RedirectionRestorer {
 public:
  RedirectionRestorer(plat::KernelLibrary& kernel, void* saved) : kernel_(kernel), saved_(saved) {}
  RedirectionRestorer(const RedirectionRestorer&) = delete;
  RedirectionRestorer& operator=(const RedirectionRestorer&) = delete;
  ~RedirectionRestorer() { kernel_.CallWow64RevertFsRedirection(saved_); }

 private:
  plat::KernelLibrary& kernel_;
  void* saved_;
};

}  // namespace

int GetOSType(plat::SystemQueries& system) {
  plat::OsVersion version;
  system.QueryVersion(&version);  // a failed query leaves zeroes: platform id 0
  const uint16_t architecture = system.HasNativeSystemInfo() ? system.NativeProcessorArchitecture()
                                                             : system.ProcessorArchitecture();
  switch (version.platformId) {
    case win::kVerPlatformWin32Windows:
      return OS_WIN9X;
    case win::kVerPlatformWin32Nt:
      return ClassifyNt(version, architecture);
    default:
      return OS_XP;
  }
}

const char* OsSuffix(int osType) {
  switch (osType) {
    case OS_NT4:
      return ".NT";
    case OS_WIN2000:
    case OS_XP:
      return ".2K";
    case OS_SERVER2003:
      return ".2003";
    case OS_VISTA:
      return ".Vista";
    case OS_SERVER2008:
      return ".2008";
    case OS_WIN7:
      return ".Win7";
    default:
      return ".98";  // type 0 stands for every unrecognised version
  }
}

namespace {

// When Windows cannot be asked, the processor tells: this 32-bit program on a
// 64-bit processor runs under WOW64. Taking it for a 32-bit Windows instead
// would delete the monitor DLLs through the redirection into SysWOW64.
bool RunsOn64BitWindows(plat::SystemQueries& system) {
  return system.HasNativeSystemInfo() &&
         system.NativeProcessorArchitecture() == win::kProcessorArchitectureAmd64;
}

}  // namespace

int IsWow64(plat::Platform& platform) {
  std::unique_ptr<plat::KernelLibrary> kernel;
  std::string systemDirectory;
  // The directory is read into 261 characters: a longer one counts as unread.
  if (platform.files.SystemDirectory(&systemDirectory) == win::kSuccess &&
      !systemDirectory.empty() && systemDirectory.size() <= 260) {
    const std::string path = systemDirectory + "\\kernel32.dll";
    kernel = platform.libraries.LoadKernel(path.c_str());
  }
  if (!kernel) kernel = platform.libraries.LoadKernel("kernel32.dll");
  int isWow64 = 0;
  if (kernel && kernel->HasEntry("IsWow64Process") && kernel->CallIsWow64Process(&isWow64))
    return isWow64;
  return RunsOn64BitWindows(platform.system) ? 1 : 0;
}

bool RunWithoutFsRedirection(plat::Libraries& libraries, const std::function<void()>& operation) {
  std::unique_ptr<plat::KernelLibrary> kernel = libraries.LoadKernel("Kernel32.dll");
  if (!kernel) return false;
  const bool hasDisable = kernel->HasEntry("Wow64DisableWow64FsRedirection");
  const bool hasRevert = kernel->HasEntry("Wow64RevertWow64FsRedirection");
  // An absent entry is never called; without the revert entry redirection could
  // not be switched back on, so nothing is switched off.
  if (!hasDisable || !hasRevert) return false;
  void* saved = nullptr;
  if (kernel->CallWow64DisableFsRedirection(&saved) != 1) return false;
  RedirectionRestorer restorer(*kernel, saved);
  if (operation) operation();
  return true;
}
