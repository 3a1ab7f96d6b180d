// The print-processor step: the processor leaves the spooler, then its registry
// key under the spooler's environment and its DLL file go.
#include "engine/processor_removal.h"

#include <cstdint>
#include <cstring>
#include <string>

#include "app/progress_log.h"
#include "config/text_keys.h"
#include "config/uninstall_ini.h"
#include "engine/dll_file_path.h"
#include "engine/steps.h"
#include "platform/os_type.h"

namespace {

constexpr const char* kLocalServer = "";  // this computer, as DeletePrintProcessorA wants it
constexpr const char* kProcessorDllKey = "ProcessorDllName";
constexpr const char* kProcessorListX64 =
    "SYSTEM\\CurrentControlSet\\Control\\Print\\Environments\\Windows x64\\Print Processors\\";
constexpr const char* kProcessorListX86 =
    "SYSTEM\\CurrentControlSet\\Control\\Print\\Environments\\Windows NT x86\\Print "
    "Processors\\";
constexpr size_t kRegistryPathSize = 256;

constexpr uint32_t kErrorPauseMs = 100;
constexpr uint32_t kAfterRestartPauseMs = 500;

// The processor's key under the spooler's environment. A name that is empty or
// holds "\" would name the list itself or a key elsewhere; a key that does not
// fit is not cut short to some other key: nothing is deleted then.
void DeleteProcessorKey(plat::Registry& registry, const std::string& name) {
  if (name.empty() || name.find('\\') != std::string::npos) return;
  const std::string key = (g_bIsWow64 ? kProcessorListX64 : kProcessorListX86) + name;
  if (key.size() >= kRegistryPathSize) return;
  registry.DeleteLocalMachineKey(key.c_str());
}

}  // namespace

int DeleteProcessorFile(UninstallSession& session, const char* entryName) {
  plat::Platform& platform = session.platform;
  // A name too long for its section has no per-OS values: no file is named.
  ConfigValue processorDll = "0";
  ConfigValue section = {};
  if (PerOsSectionName(entryName, false, g_nOSType, section))
    ReadConfigValue(platform.files, section, kProcessorDllKey, processorDll);

  std::string directory;
  if (platform.spooler.PrintProcessorDirectory(&directory) != win::kSuccess ||
      directory.size() >= kDllPathSize) {
    AppendLog(session.view, text::kGetSystemDirectoryError);
    directory.clear();  // no file is joined to an empty directory
  }

  std::string path;
  if (NamesDllFile(processorDll) && JoinDllPath(directory, processorDll, &path))
    platform.files.DeleteFileAt(path.c_str());
  return 1;
}

StepOutcome RemoveProcessorEntry(UninstallSession& session, RunState& run) {
  plat::Platform& platform = session.platform;
  const std::string name = session.m_strCurrentName;
  LogFormatted(session, text::kDeleting1);

  const win::Error error =
      platform.spooler.DeleteProcessorByName(kLocalServer, nullptr, name.c_str());
  if (error != win::kSuccess) {
    LogFormatted(session, error == win::kCanNotComplete ? text::kUsing : text::kErrUninstall);
    platform.clock.Sleep(kErrorPauseMs);
    return StepOutcome::kNextEntry;
  }

  RestartSpooler(platform);
  platform.clock.Sleep(kAfterRestartPauseMs);
  DeleteProcessorKey(platform.registry, name);
  DeleteProcessorFile(session, name.c_str());

  LogFormatted(session, text::kSuccess);
  session.view.DeleteItem(run.index);
  run.removed = true;
  --run.index;
  return StepOutcome::kRemoved;
}
