#include "check.h"

#include <windows.h>
#include <winspool.h>

#include <cstdio>
#include <string>
#include <vector>

#include "../common/win_handles.h"
#include "machine.h"
#include "paths.h"

namespace prepare {
namespace {

// Runs an enumeration of the spooler twice, first for the size, and hands each
// record to the caller.
template <typename Record, typename Enumerate, typename Print>
void EachRecord(Enumerate enumerate, Print print) {
  DWORD needed = 0;
  DWORD count = 0;
  enumerate(nullptr, 0, &needed, &count);
  std::vector<BYTE> buffer(needed + sizeof(Record));
  count = 0;
  if (!enumerate(buffer.data(), needed, &needed, &count)) return;
  const auto* records = reinterpret_cast<const Record*>(buffer.data());
  for (DWORD i = 0; i < count; ++i) print(records[i]);
}

void PrintSpooler() {
  e2e::ServiceHandle manager(::OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT));
  e2e::ServiceHandle spooler(
      manager ? ::OpenServiceA(manager.get(), "Spooler", SERVICE_QUERY_STATUS) : nullptr);
  SERVICE_STATUS status{};
  if (!spooler || !::QueryServiceStatus(spooler.get(), &status)) {
    std::printf("spooler unknown\n");
    return;
  }
  std::printf("spooler %s\n", status.dwCurrentState == SERVICE_RUNNING   ? "running"
                              : status.dwCurrentState == SERVICE_STOPPED ? "stopped"
                                                                         : "changing");
}

void PrintPrinters() {
  EachRecord<PRINTER_INFO_2A>(
      [](BYTE* buffer, DWORD size, DWORD* needed, DWORD* count) {
        return ::EnumPrintersA(PRINTER_ENUM_LOCAL, nullptr, 2, buffer, size, needed, count);
      },
      [](const PRINTER_INFO_2A& printer) {
        std::printf("printer %s port=%s driver=%s\n", printer.pPrinterName, printer.pPortName,
                    printer.pDriverName);
      });
}

void PrintDrivers() {
  EachRecord<DRIVER_INFO_1A>(
      [](BYTE* buffer, DWORD size, DWORD* needed, DWORD* count) {
        return ::EnumPrinterDriversA(nullptr, nullptr, 1, buffer, size, needed, count);
      },
      [](const DRIVER_INFO_1A& driver) { std::printf("driver %s\n", driver.pName); });
}

void PrintPorts() {
  EachRecord<PORT_INFO_1A>(
      [](BYTE* buffer, DWORD size, DWORD* needed, DWORD* count) {
        return ::EnumPortsA(nullptr, 1, buffer, size, needed, count);
      },
      [](const PORT_INFO_1A& port) { std::printf("port %s\n", port.pName); });
}

void PrintMonitors() {
  EachRecord<MONITOR_INFO_1A>(
      [](BYTE* buffer, DWORD size, DWORD* needed, DWORD* count) {
        return ::EnumMonitorsA(nullptr, 1, buffer, size, needed, count);
      },
      [](const MONITOR_INFO_1A& monitor) { std::printf("monitor %s\n", monitor.pName); });
}

void PrintProcessors(const char* environment) {
  EachRecord<PRINTPROCESSOR_INFO_1A>(
      [environment](BYTE* buffer, DWORD size, DWORD* needed, DWORD* count) {
        return ::EnumPrintProcessorsA(nullptr, const_cast<char*>(environment), 1, buffer, size,
                                      needed, count);
      },
      [environment](const PRINTPROCESSOR_INFO_1A& processor) {
        std::printf("processor %s: %s\n", environment, processor.pName);
      });
}

void PrintFileIfPresent(const std::string& path) {
  if (::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES)
    std::printf("file %s\n", path.c_str());
}

void PrintFiles() {
  const std::string system = SystemFolder();
  for (const machine::Monitor& monitor : machine::kMonitors)
    PrintFileIfPresent(system + "\\" + monitor.dll);
  for (const char* dll : machine::kMonitorExtraDlls) PrintFileIfPresent(system + "\\" + dll);
  PrintFileIfPresent(ProcessorFolder() + "\\" + machine::kProcessorDll);
  PrintFileIfPresent(system + "\\" + machine::kUsbDriverFile);
  const std::string inf = WindowsFolder() + "\\inf\\";
  for (const machine::InfFile& file : machine::kInfFiles) {
    const std::string path = inf + file.name;
    PrintFileIfPresent(path);
    PrintFileIfPresent(path.substr(0, path.size() - 3) + "PNF");
  }
  PrintFileIfPresent(machine::kRestartMarker);
}

void PrintKeyIfPresent(const std::string& path) {
  e2e::RegKey key;
  if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, key.out()) == ERROR_SUCCESS)
    std::printf("key HKLM\\%s\n", path.c_str());
}

void PrintKeys() {
  for (const char* key : machine::kVendorKeys) PrintKeyIfPresent(key);
  PrintKeyIfPresent(machine::kOtherVendorKey);
  for (const machine::Monitor& monitor : machine::kMonitors)
    PrintKeyIfPresent(std::string(machine::kMonitorsKey) + monitor.name);
  for (const char* environment : {"Windows x64", "Windows NT x86"})
    PrintKeyIfPresent(std::string(machine::kEnvironmentsKey) + environment +
                      "\\Print Processors\\" + machine::kProcessor);
}

}  // namespace

void PrintMachineState() {
  PrintSpooler();
  PrintPrinters();
  PrintDrivers();
  PrintPorts();
  PrintMonitors();
  PrintProcessors("Windows x64");
  PrintProcessors("Windows NT x86");
  PrintFiles();
  PrintKeys();
}

}  // namespace prepare
