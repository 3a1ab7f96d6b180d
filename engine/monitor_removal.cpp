// The port-monitor step: the monitor leaves the spooler, then its registry keys
// and its DLL files go. The spooler is restarted after a failed first deletion
// (a monitor still loaded often lets go then) and after the removal.
#include "engine/monitor_removal.h"

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "app/progress_log.h"
#include "config/text_keys.h"
#include "engine/dll_file_path.h"
#include "engine/printer_access.h"
#include "engine/steps.h"
#include "platform/os_type.h"

namespace {

constexpr const char* kLocalServer = "";  // this computer, as DeleteMonitorA wants it
constexpr const char* kComPortMark = "ZTCOM";
constexpr const char* kUsbMark = "USB";
constexpr const char* kInstallPrinterKey = "SOFTWARE\\QORVELIN\\INSTALLPRINTER";
constexpr const char* kPortNameKey = "SOFTWARE\\QORVELIN\\PORTNAME";
constexpr const char* kMonitorListKey = "SYSTEM\\CURRENTCONTROLSET\\CONTROL\\PRINT\\MONITORS\\";
constexpr size_t kRegistryPathSize = 256;

constexpr const char* kUsbMonitorNameKey = "USBMONitorName";
constexpr const char* kMonitorDllKey = "MonitorPDLLName";
constexpr const char* kMonitorUiDllKey = "MONitorPUIDLLName";
constexpr const char* kUsbMonitorDllKey = "USBMONitorDLLName";

constexpr uint32_t kErrorPauseMs = 100;
constexpr uint32_t kAfterRestartPauseMs = 500;

void SetDefaultValue(ConfigValue& out) { std::memcpy(out, "0", 2); }

// The monitor's section: its name without blanks and the OS suffix. False when
// that does not fit; the monitor then has no per-OS values.
bool MonitorSection(const char* entryName, ConfigValue& section) {
  return PerOsSectionName(entryName, true, g_nOSType, section);
}

// The monitor's key under the spooler's monitor list. A name that is empty or
// holds "\" would name the list itself or a key elsewhere: nothing is deleted.
void DeleteMonitorListKey(plat::Registry& registry, const ConfigValue& usbMonitorName) {
  if (usbMonitorName[0] == '\0' || std::strchr(usbMonitorName, '\\') != nullptr) return;
  const std::string key = std::string(kMonitorListKey) + usbMonitorName;
  if (key.size() >= kRegistryPathSize) return;
  registry.DeleteLocalMachineKey(key.c_str());
}

}  // namespace

bool CheckComPortPrinters(UninstallSession& session, PrinterAccess::Allocator allocate) {
  plat::Platform& platform = session.platform;
  std::vector<std::string> printerNames;
  platform.spooler.EnumLocalPrinterNames(&printerNames);
  for (const std::string& printerName : printerNames) {
    PrinterAccess printer(platform.spooler, allocate);
    const PrinterAccessResult result = printer.OpenAndRead(printerName.c_str());
    if (result != PrinterAccessResult::kOk) {
      printer.Release();
      // An unopened printer is told by the monitor's name.
      ReportPrinterAccessFailure(session, result, session.m_strCurrentName.c_str());
      return false;
    }
    const char* port = printer.info().pPortName;
    const bool usesComPort = port != nullptr && std::strstr(port, kComPortMark) != nullptr;
    printer.Release();
    if (usesComPort) {
      LogFormatted(session, text::kErrHaveJob1);
      platform.clock.Sleep(kErrorPauseMs);
      return false;
    }
  }
  return true;
}

bool GetUsbMonitorName(plat::FileSystem& files, const char* entryName, ConfigValue& out) {
  ConfigValue section = {};
  if (MonitorSection(entryName, section))
    ReadConfigValue(files, section, kUsbMonitorNameKey, out);
  else
    SetDefaultValue(out);
  return true;
}

int DeleteMonitorFiles(UninstallSession& session, const char* entryName) {
  plat::Platform& platform = session.platform;
  ConfigValue monitorDll = "0";
  ConfigValue monitorUiDll = "0";
  ConfigValue usbMonitorDll = "";
  ConfigValue section = {};
  if (MonitorSection(entryName, section)) {
    ReadConfigValue(platform.files, section, kMonitorDllKey, monitorDll);
    ReadConfigValue(platform.files, section, kMonitorUiDllKey, monitorUiDll);
    if (std::strstr(section, kUsbMark) != nullptr)
      ReadConfigValue(platform.files, section, kUsbMonitorDllKey, usbMonitorDll);
  }

  std::string systemDirectory;
  if (platform.files.SystemDirectory(&systemDirectory) != win::kSuccess ||
      systemDirectory.size() >= kDllPathSize) {
    AppendLog(session.view, text::kGetSystemDirectoryError);
    systemDirectory.clear();  // no file is joined to an empty directory
  }

  for (const char* dll : {monitorDll, monitorUiDll, usbMonitorDll}) {
    std::string path;
    if (!NamesDllFile(dll) || !JoinDllPath(systemDirectory, dll, &path)) continue;
    if (g_bIsWow64) {
      // The native system directory, not the one WOW64 would substitute.
      const bool ran = RunWithoutFsRedirection(platform.libraries,
                                               [&] { platform.files.DeleteFileAt(path.c_str()); });
      if (!ran) return 0;
    } else {
      platform.files.DeleteFileAt(path.c_str());
    }
  }
  return 1;
}

StepOutcome RemoveMonitorEntry(UninstallSession& session, RunState& run) {
  plat::Platform& platform = session.platform;
  const std::string name = session.m_strCurrentName;
  LogFormatted(session, text::kDeleting1);

  if (g_nOSType == OS_WIN9X && !CheckComPortPrinters(session)) {
    LogFormatted(session, text::kUsing);
    return StepOutcome::kNextEntry;
  }

  ConfigValue usbMonitorName = {};
  GetUsbMonitorName(platform.files, name.c_str(), usbMonitorName);

  if (platform.spooler.DeleteMonitorByName(kLocalServer, nullptr, name.c_str()) != win::kSuccess) {
    RestartSpooler(platform);
    platform.clock.Sleep(kAfterRestartPauseMs);
    const win::Error error =
        platform.spooler.DeleteMonitorByName(kLocalServer, nullptr, name.c_str());
    if (error != win::kSuccess) {
      LogFormatted(session, error == win::kPrintMonitorInUse ? text::kUsing : text::kErrUninstall);
      platform.clock.Sleep(kErrorPauseMs);
      return StepOutcome::kNextEntry;
    }
  }

  if (name.find(kUsbMark) != std::string::npos) {
    platform.registry.DeleteLocalMachineKey(kInstallPrinterKey);
    platform.registry.DeleteLocalMachineKey(kPortNameKey);
  }
  RestartSpooler(platform);
  platform.clock.Sleep(kAfterRestartPauseMs);
  DeleteMonitorListKey(platform.registry, usbMonitorName);
  DeleteMonitorFiles(session, name.c_str());

  LogFormatted(session, text::kSuccess);
  session.view.DeleteItem(run.index);
  run.removed = true;
  --run.index;
  return StepOutcome::kRemoved;
}
