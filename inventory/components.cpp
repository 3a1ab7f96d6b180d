#include "inventory/components.h"

#include <cstring>
#include <string>
#include <vector>

#include "config/uninstall_ini.h"
#include "platform/os_type.h"
#include "platform/printer_access.h"
#include "platform/profile_reader.h"

namespace {

struct NameKind {
  const char* section;
  const char* countKey;
  const char* namePrefix;
};
constexpr NameKind kPrinters = {"ZTPRINTER", "PRINTERNUM", "PRINTERNAME"};
constexpr NameKind kMonitors = {"ZTMONITOR", "MonitorNUM", "MONITORNAME"};
constexpr NameKind kProcessors = {"ZTPROC", "PROCNUM", "PROCNAME"};

int ReadCount(const plat::ProfileFile& config, const NameKind& kind) {
  ConfigValue value;
  config.GetString(kind.section, kind.countKey, "0", value, kConfigValueSize);
  return ParseCount(value);
}

// True when one of the count configured names of kind occurs in tested, byte for
// byte. An empty name, or the "0" a missing key reads as, names nothing: it would
// otherwise claim every name (or every name holding a 0) for the vendor.
bool ContainsConfiguredName(const plat::ProfileFile& config, const NameKind& kind, int count,
                            const char* tested) {
  if (tested == nullptr) tested = "";
  char key[64];
  // The key's last character is "0" + n; the count stops where no such character
  // is left (n > 207), which also bounds the work a huge count can cause.
  for (int n = 1; n <= count && NumberedKey(kind.namePrefix, n, key, sizeof key); ++n) {
    ConfigValue name;
    config.GetString(kind.section, key, "0", name, kConfigValueSize);
    if (name[0] == '\0' || std::strcmp(name, "0") == 0) continue;
    if (std::strstr(tested, name) != nullptr) return true;
  }
  return false;
}

bool IsConfiguredName(plat::FileSystem& files, const NameKind& kind, const char* tested) {
  const plat::ProfileFile config(files, g_szUninstallIni);
  return ContainsConfiguredName(config, kind, ReadCount(config, kind), tested);
}

void Append(ComponentList& list, const std::string& name) {
  list.InsertItem(list.ItemCount(), name.c_str());
}

const char* ProcessorEnvironment() {
  if (g_nOSType == OS_WIN9X) return "Windows 4.0";
  if (g_bIsWow64) return nullptr;  // the spooler's own environment
  return "Windows NT x86";
}

}  // namespace

bool IsConfiguredPrinter(plat::Platform& platform, const char* printerName) {
  PrinterAccess printer(platform.spooler);
  if (printer.OpenAndRead(printerName) != PrinterAccessResult::kOk) return false;
  return IsConfiguredName(platform.files, kPrinters, printer.info().pDriverName);
}

bool IsConfiguredMonitor(plat::FileSystem& files, const char* monitorName) {
  return IsConfiguredName(files, kMonitors, monitorName);
}

bool IsConfiguredProcessor(plat::FileSystem& files, const char* processorName) {
  const plat::ProfileFile config(files, g_szUninstallIni);
  const int count = ReadCount(config, kProcessors);
  if (g_nOSType == OS_WIN9X) return false;
  return ContainsConfiguredName(config, kProcessors, count, processorName);
}

void FillComponentList(plat::Platform& platform, ComponentList& list) {
  plat::Spooler& spooler = platform.spooler;
  // A failed enumeration lists nothing of its kind.
  std::vector<std::string> names;
  if (spooler.EnumLocalPrinterNames(&names) != win::kSuccess) names.clear();
  for (const std::string& name : names)
    if (IsConfiguredPrinter(platform, name.c_str())) Append(list, name);

  names.clear();
  if (spooler.EnumMonitorNames(&names) != win::kSuccess) names.clear();
  for (const std::string& name : names)
    if (IsConfiguredMonitor(platform.files, name.c_str())) Append(list, name);

  names.clear();
  if (spooler.EnumPrintProcessorNames(ProcessorEnvironment(), &names) != win::kSuccess)
    names.clear();
  for (const std::string& name : names)
    if (IsConfiguredProcessor(platform.files, name.c_str())) Append(list, name);
}
