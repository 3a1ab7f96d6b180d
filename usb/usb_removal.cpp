// Removing the USB driver is the vendor's own uninstaller's job: it is started and
// waited for while its window is up.
#include <cstdint>
#include <string>

#include "app/progress_log.h"
#include "config/text_keys.h"
#include "config/texts.h"
#include "platform/os_type.h"
#include "usb/usb_driver.h"

namespace {

constexpr const char* kUninstallerX64 = "\\USBDrv\\USBDriver_x64\\Install.exe";
constexpr const char* kUninstallerX86 = "\\USBDrv\\USBDriver\\Install.exe";
constexpr const char* kUninstallerArguments = "22";
constexpr size_t kPathSize = 260;

constexpr uint32_t kWindowShowsUpMs = 500;
constexpr uint32_t kWindowPollMs = 1000;
constexpr uint32_t kSettleMs[] = {500, 1000};

}  // namespace

void RemoveUsbDriver(UninstallSession& session) {
  plat::Platform& platform = session.platform;
  CLangSection messages(platform.files, text::kSectionMessage);
  CLangSection uninstall(platform.files, text::kSectionUninstall);
  AppendLog(session.view, messages.GetText(text::kDeleting3).c_str());

  std::string directory;
  if (platform.files.CurrentDirectory(&directory) != win::kSuccess) directory.clear();
  const std::string path = directory + (g_bIsWow64 ? kUninstallerX64 : kUninstallerX86);
  // Without the package folder the path would point at the root of the drive:
  // nothing is started then, and no window will be found.
  if (!directory.empty() && path.size() < kPathSize)
    platform.desktop.ShellOpen(path.c_str(), kUninstallerArguments, win::kSwShowNormal);

  platform.clock.Sleep(kWindowShowsUpMs);
  for (;;) {
    // An empty caption would match any untitled window: it is not waited for.
    const std::string caption = uninstall.GetText(text::kCaptionName);
    if (caption.empty() || platform.desktop.FindTopLevelWindow(caption.c_str()) == 0) break;
    platform.clock.Sleep(kWindowPollMs);
  }
  for (uint32_t pause : kSettleMs) platform.clock.Sleep(pause);

  AppendLog(session.view, messages.GetText(text::kDrvSuccess1).c_str());
}
