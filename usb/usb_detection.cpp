// Whether the USB driver option is offered: one of the vendor's driver files is
// in the native driver directory and the vendor USB library finds a device.
#include <cstdint>
#include <memory>
#include <string>

#include "config/text_keys.h"
#include "platform/os_type.h"
#include "res/resource.h"
#include "usb/usb_driver.h"

namespace {

constexpr const char* kUsbLibrary = "ZiZudUru.dll";
constexpr const char* kOpenDeviceEntry = "OpenDeviceX";
constexpr const char* kGetDescriptorEntry = "GetDescriptor";
constexpr const char* kCloseDeviceEntry = "CloseDevice";
constexpr int32_t kDeviceIndexCount = 8;
constexpr int32_t kNoDevice = -1;
constexpr int32_t kSeveralDevices = -2;
constexpr size_t kDescriptorSize = 20;
constexpr size_t kDescriptorValueOffset = 12;  // low half of the fourth word

constexpr const char* kDriverFiles[] = {
    "\\System32\\drivers\\QorvelinpUSB.sys",
    "\\System32\\drivers\\BULKUSB.sys",
};
constexpr size_t kPathSize = 260;

constexpr const char* kKernelLibrary = "Kernel32.dll";
constexpr const char* kDisableRedirectionEntry = "Wow64DisableWow64FsRedirection";
constexpr const char* kRevertRedirectionEntry = "Wow64RevertWow64FsRedirection";

constexpr uint32_t kAfxMessageBoxOk = win::kMbOk | win::kMbIconExclamation;

bool AnswersAsDevice(int32_t handle) { return handle != 0 && handle != -1; }

// A file search for the exact path finds an entry; the search is closed again.
bool FilePresent(plat::FileSystem& files, const std::string& path) {
  plat::FindHandle search = 0;
  plat::FindData found;
  if (files.FindFirst(path.c_str(), &search, &found) != win::kSuccess) return false;
  if (search != 0) files.FindClose(search);
  return true;
}

bool AnyDriverFilePresent(plat::FileSystem& files, const std::string& windowsDirectory) {
  bool present = false;
  for (const char* driverFile : kDriverFiles) {
    const std::string path = windowsDirectory + driverFile;
    // A path that does not fit names no file here.
    if (!windowsDirectory.empty() && path.size() < kPathSize && FilePresent(files, path))
      present = true;
  }
  return present;
}

enum class DriverSearch { kDone, kNotSearched };

// Both file tests with WOW64 redirection switched off, so that the native
// System32 is searched. kNotSearched when redirection could not be switched off
// safely; nothing has been tested then.
DriverSearch SearchNativeDriverFiles(plat::Platform& platform, const std::string& windowsDirectory,
                                     bool* present) {
  std::unique_ptr<plat::KernelLibrary> kernel = platform.libraries.LoadKernel(kKernelLibrary);
  if (!kernel) return DriverSearch::kNotSearched;
  const bool hasDisable = kernel->HasEntry(kDisableRedirectionEntry);
  const bool hasRevert = kernel->HasEntry(kRevertRedirectionEntry);
  if (!hasRevert) {
    // Switching off without a way back would leave this thread redirected.
    platform.desktop.ShowMessageBox(text::kNoRevertEntry, kAfxMessageBoxOk);
    return DriverSearch::kNotSearched;
  }
  if (!hasDisable) return DriverSearch::kNotSearched;
  void* saved = nullptr;
  if (kernel->CallWow64DisableFsRedirection(&saved) != 1) return DriverSearch::kNotSearched;
  *present = AnyDriverFilePresent(platform.files, windowsDirectory);
  kernel->CallWow64RevertFsRedirection(saved);
  return DriverSearch::kDone;
}

}  // namespace

bool DetectUsbDriver(plat::Platform& platform, UninstallView& view) {
  std::string windowsDirectory;
  if (platform.files.WindowsDirectory(&windowsDirectory) != win::kSuccess ||
      windowsDirectory.size() >= kPathSize)
    windowsDirectory.clear();  // no driver file can be named

  bool present = false;
  if (g_bIsWow64) {
    if (SearchNativeDriverFiles(platform, windowsDirectory, &present) == DriverSearch::kNotSearched)
      return false;  // the option stays as it is: enabled
  } else {
    present = AnyDriverFilePresent(platform.files, windowsDirectory);
  }

  if (!present || ProbeUsbDevice(platform) == kNoDevice) {
    view.EnableControl(IDC_USB_DRIVER, false);
    return false;
  }
  return true;
}

int32_t ProbeUsbDevice(plat::Platform& platform) {
  // Released on every return once loaded.
  std::unique_ptr<plat::UsbLibrary> usb = platform.libraries.LoadUsb(kUsbLibrary);
  if (!usb) {
    platform.desktop.ShowMessageBox(text::kCannotLoadUsbLibrary, kAfxMessageBoxOk);
    return kNoDevice;
  }
  for (const char* entry : {kOpenDeviceEntry, kGetDescriptorEntry, kCloseDeviceEntry}) {
    if (!usb->HasEntry(entry)) {
      platform.desktop.ShowMessageBox(text::kOpenFunctionError, kAfxMessageBoxOk);
      return kNoDevice;
    }
  }

  // Counting pass: only one attached device can be told apart.
  int devices = 0;
  for (int32_t index = 0; index < kDeviceIndexCount; ++index) {
    const int32_t handle = usb->CallOpenDeviceX(index);
    if (AnswersAsDevice(handle) && ++devices == 2) {
      usb->CallCloseDevice(handle);
      return kSeveralDevices;
    }
    usb->CallCloseDevice(handle);
  }

  int32_t device = 0;
  for (int32_t index = 0; index < kDeviceIndexCount && !AnswersAsDevice(device); ++index)
    device = usb->CallOpenDeviceX(index);
  if (!AnswersAsDevice(device)) return kNoDevice;

  uint8_t descriptor[kDescriptorSize] = {};
  if (usb->CallGetDescriptor(device, descriptor) == 0) {
    platform.desktop.ShowMessageBox(text::kGetDeviceIdError, kAfxMessageBoxOk);
    usb->CallCloseDevice(device);
    return kNoDevice;
  }
  usb->CallCloseDevice(device);
  return static_cast<int32_t>(descriptor[kDescriptorValueOffset] |
                              (descriptor[kDescriptorValueOffset + 1] << 8));
}
