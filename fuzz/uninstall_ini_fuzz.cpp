// The configuration reads on any Uninstall.ini: the counts and numbered names of
// the three kinds, the per-OS section names and their values, and the deletion
// of the DLL files a monitor's or a print processor's section names. The tests
// must agree with the rules (a configured name, neither empty nor "0", occurs in
// the tested name), and no file outside the system and print-processor
// directories may ever be deleted, whatever the file says.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "config/uninstall_ini.h"
#include "engine/monitor_removal.h"
#include "engine/processor_removal.h"
#include "engine/uninstall.h"
#include "fuzz/reference_profile.h"
#include "fuzz/require.h"
#include "inventory/components.h"
#include "platform/os_type.h"
#include "platform/sim/sim_machine.h"
#include "tests/support/fake_view.h"

namespace {

constexpr const char* kConfigPath = "C:\\pkg\\Uninstall.ini";
constexpr const char* kSystemDirectory = "C:\\Windows\\system32\\";
constexpr const char* kProcessorDirectory = "C:\\Windows\\system32\\spool\\prtprocs\\w32x86\\";
// Files the configuration must never reach: beside and above the two directories.
const char* const kBystanders[] = {
    "C:\\keep.dll",
    "C:\\pkg\\keep.dll",
    "C:\\Windows\\keep.dll",
    "C:\\Windows\\system32\\drivers\\keep.dll",
    "C:\\Windows\\system32\\spool\\keep.dll",
};

struct Kind {
  const char* section;
  const char* countKey;
  const char* namePrefix;
};
constexpr Kind kPrinters = {"ZTPRINTER", "PRINTERNUM", "PRINTERNAME"};
constexpr Kind kMonitors = {"ZTMONITOR", "MonitorNUM", "MONITORNAME"};
constexpr Kind kProcessors = {"ZTPROC", "PROCNUM", "PROCNAME"};

std::string ConfigValueOf(const std::string& text, const std::string& section,
                          const std::string& key) {
  return fuzz::ReferenceLookup(text, section, key, "0", kConfigValueSize);
}

// The configured names of kind that name something, by the rules.
std::vector<std::string> ConfiguredNames(const std::string& text, const Kind& kind) {
  const int count = ParseCount(ConfigValueOf(text, kind.section, kind.countKey).c_str());
  std::vector<std::string> names;
  // The key's last character is "0" + n: there are none past code 255.
  for (int n = 1; n <= count && 0x30 + n <= 0xFF; ++n) {
    const std::string key = kind.namePrefix + std::string(1, static_cast<char>(0x30 + n));
    const std::string name = ConfigValueOf(text, kind.section, key);
    if (!name.empty() && name != "0") names.push_back(name);
  }
  return names;
}

bool Contains(const std::vector<std::string>& names, const std::string& tested) {
  for (const std::string& name : names)
    if (tested.find(name) != std::string::npos) return true;
  return false;
}

// What the per-OS section of a name is, or empty when it does not fit.
std::string SectionOf(const std::string& name, bool stripSpaces, int osType) {
  std::string section;
  for (char c : name)
    if (!(stripSpaces && c == ' ')) section += c;
  section += OsSuffix(osType);
  return section.size() <= kConfigValueSize - 1 ? section : std::string();
}

// Every DeleteFileA names a plain file in one of the two directories.
void CheckDeletions(const sim::Machine& machine) {
  for (const std::string& entry : machine.JournalOf({"DeleteFileA"})) {
    // "DeleteFileA(<path>)", and " -> <error>" when the file was not there.
    std::string path = entry.substr(entry.find('(') + 1);
    const size_t result = path.rfind(") -> ");
    path.resize(result != std::string::npos ? result : path.size() - 1);
    std::string file;
    for (const char* directory : {kProcessorDirectory, kSystemDirectory}) {
      if (path.compare(0, std::strlen(directory), directory) == 0) {
        file = path.substr(std::strlen(directory));
        break;
      }
    }
    Require(!file.empty() && file.find_first_of("\\/:") == std::string::npos);
    Require(file.find("..") == std::string::npos);
  }
  for (const char* bystander : kBystanders) Require(machine.Exists(bystander));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 8192) return 0;
  FuzzedDataProvider input(data, size);
  const int osType = input.ConsumeIntegralInRange(0, 7);
  std::string tested = input.ConsumeRandomLengthString(40);
  tested = tested.substr(0, tested.find('\0'));
  const std::string bytes = input.ConsumeRemainingBytesAsString();
  const std::string text = fuzz::NarrowText(bytes);

  sim::Machine machine;
  machine.AddFile(kConfigPath, bytes);
  for (const char* bystander : kBystanders) machine.AddFile(bystander);
  std::memcpy(g_szUninstallIni, kConfigPath, std::strlen(kConfigPath) + 1);
  g_nOSType = osType;
  g_bIsWow64 = 0;
  plat::Platform& platform = machine.platform();

  // The configured-name tests, for the input's name and for each configured name.
  const std::vector<std::string> printers = ConfiguredNames(text, kPrinters);
  const std::vector<std::string> monitors = ConfiguredNames(text, kMonitors);
  const std::vector<std::string> processors = ConfiguredNames(text, kProcessors);
  std::vector<std::string> names = {tested, ""};
  for (const auto* list : {&printers, &monitors, &processors})
    for (const std::string& name : *list) names.push_back("x" + name + "y");
  if (names.size() > 12) names.resize(12);
  for (const std::string& name : names) {
    Require(IsConfiguredMonitor(platform.files, name.c_str()) == Contains(monitors, name));
    Require(IsConfiguredProcessor(platform.files, name.c_str()) ==
            (osType != OS_WIN9X && Contains(processors, name)));
  }
  machine.AddPrinter({"Fuzz Printer", "LPT1:", tested, "", 0});
  Require(IsConfiguredPrinter(platform, "Fuzz Printer") == Contains(printers, tested));

  // The monitor's and the processor's per-OS sections.
  for (bool strip : {true, false}) {
    ConfigValue section;
    const std::string expected = SectionOf(tested, strip, osType);
    Require(PerOsSectionName(tested.c_str(), strip, osType, section) == !expected.empty());
    Require(section == expected);
  }
  ConfigValue usbMonitorName;
  GetUsbMonitorName(platform.files, tested.c_str(), usbMonitorName);
  const std::string monitorSection = SectionOf(tested, true, osType);
  Require(usbMonitorName == (monitorSection.empty()
                                 ? std::string("0")
                                 : ConfigValueOf(text, monitorSection, "USBMONitorName")));

  // The DLL files of the input's name and of every configured monitor and processor.
  FakeView view;
  UninstallSession session(platform, view);
  std::vector<std::string> entries = {tested};
  for (const auto* list : {&monitors, &processors})
    for (const std::string& name : *list) entries.push_back(name);
  if (entries.size() > 6) entries.resize(6);
  for (const std::string& entry : entries) {
    DeleteMonitorFiles(session, entry.c_str());
    DeleteProcessorFile(session, entry.c_str());
  }
  CheckDeletions(machine);
  Require(machine.OpenHandleCount() == 0);
  return 0;
}
