#include "setup.h"

#include <windows.h>
#include <winspool.h>

#include <string>
#include <vector>

#include "../common/win_handles.h"
#include "machine.h"
#include "paths.h"
#include "report.h"

namespace prepare {
namespace {

constexpr const char* kMonitorFixture = "e2e_port_monitor.dll";
constexpr const char* kStageFolder = "C:\\e2e-stage";

bool WriteBytes(const std::string& path, const std::string& bytes) {
  e2e::FileHandle file(::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                     FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return Failed("file", path.c_str(), ::GetLastError());
  DWORD written = 0;
  if (!::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
      written != bytes.size())
    return Failed("file", path.c_str(), ::GetLastError());
  return true;
}

bool CopyFixture(const std::string& target) {
  const std::string source = OwnFolder() + "\\" + kMonitorFixture;
  if (!::CopyFileA(source.c_str(), target.c_str(), FALSE))
    return Failed("copy", target.c_str(), ::GetLastError());
  return true;
}

std::vector<std::string> PortNames() {
  std::vector<std::string> names;
  DWORD needed = 0;
  DWORD count = 0;
  ::EnumPortsA(nullptr, 1, nullptr, 0, &needed, &count);
  std::vector<BYTE> buffer(needed + 1);
  if (!::EnumPortsA(nullptr, 1, buffer.data(), needed, &needed, &count)) return names;
  const auto* ports = reinterpret_cast<const PORT_INFO_1A*>(buffer.data());
  for (DWORD i = 0; i < count; ++i) names.emplace_back(ports[i].pName);
  return names;
}

bool InstallDrivers() {
  if (!::CreateDirectoryA(kStageFolder, nullptr) && ::GetLastError() != ERROR_ALREADY_EXISTS)
    return Failed("folder", kStageFolder, ::GetLastError());
  for (const machine::DriverFiles& driver : machine::kDrivers) {
    std::string files[3] = {driver.driverFile, driver.dataFile, driver.configFile};
    for (std::string& file : files) {
      file = std::string(kStageFolder) + "\\" + file;
      const bool isDll = file.size() > 4 && file.compare(file.size() - 4, 4, ".dll") == 0;
      if (!(isDll ? CopyFixture(file) : WriteBytes(file, "*GPDSpecVersion: \"1.0\"\r\n")))
        return false;
    }
    DRIVER_INFO_3A info{};
    info.cVersion = 3;
    info.pName = const_cast<char*>(driver.name);
    info.pDriverPath = files[0].data();
    info.pDataFile = files[1].data();
    info.pConfigFile = files[2].data();
    info.pDefaultDataType = const_cast<char*>("RAW");
    if (!::AddPrinterDriverExA(nullptr, 3, reinterpret_cast<BYTE*>(&info), APD_COPY_NEW_FILES))
      return Failed("driver", driver.name, ::GetLastError());
    Done("driver", driver.name);
  }
  return true;
}

// Adds a port of the local port monitor through its XcvData "AddPort".
bool AddLocalPort(const char* name) {
  PRINTER_DEFAULTSA defaults{nullptr, nullptr, SERVER_ACCESS_ADMINISTER};
  e2e::PrinterHandle xcv;
  if (!::OpenPrinterA(const_cast<char*>(",XcvMonitor Local Port"), xcv.out(), &defaults))
    return Failed("port monitor", "Local Port", ::GetLastError());
  wchar_t wide[64] = {};
  const int length = ::MultiByteToWideChar(CP_ACP, 0, name, -1, wide, 64);
  if (length == 0) return Failed("port", name, ::GetLastError());
  DWORD needed = 0;
  DWORD status = ERROR_SUCCESS;
  if (!::XcvDataW(xcv.get(), L"AddPort", reinterpret_cast<BYTE*>(wide),
                  static_cast<DWORD>(length * sizeof(wchar_t)), nullptr, 0, &needed, &status))
    return Failed("port", name, ::GetLastError());
  if (status != ERROR_SUCCESS) return Failed("port", name, status);
  return Done("port", name);
}

bool AddPorts() {
  const std::vector<std::string> existing = PortNames();
  for (const char* port : machine::kAddedPorts) {
    bool present = false;
    for (const std::string& name : existing) present = present || name == port;
    if (present) {
      Done("port (already there)", port);
    } else if (!AddLocalPort(port)) {
      return false;
    }
  }
  return true;
}

bool AddMonitors() {
  const std::string system = SystemFolder();
  for (const char* extra : machine::kMonitorExtraDlls)
    if (!CopyFixture(system + "\\" + extra)) return false;
  for (const machine::Monitor& monitor : machine::kMonitors) {
    if (!CopyFixture(system + "\\" + monitor.dll)) return false;
    MONITOR_INFO_2A info{};
    info.pName = const_cast<char*>(monitor.name);
    info.pDLLName = const_cast<char*>(monitor.dll);
    if (!::AddMonitorA(nullptr, 2, reinterpret_cast<BYTE*>(&info)))
      return Failed("monitor", monitor.name, ::GetLastError());
    Done("monitor", monitor.name);
  }
  return true;
}

bool AddProcessor() {
  const std::string folder = ProcessorFolder();
  if (folder.empty()) return Failed("folder", "print processors", ::GetLastError());
  if (!CopyFixture(folder + "\\" + machine::kProcessorDll)) return false;
  if (!::AddPrintProcessorA(nullptr, const_cast<char*>(machine::kProcessorEnvironment),
                            const_cast<char*>(machine::kProcessorDll),
                            const_cast<char*>(machine::kProcessor)))
    return Failed("print processor", machine::kProcessor, ::GetLastError());
  return Done("print processor", machine::kProcessor);
}

bool AddPrinters() {
  for (const machine::Printer& printer : machine::kPrinters) {
    PRINTER_INFO_2A info{};
    info.pPrinterName = const_cast<char*>(printer.name);
    info.pPortName = const_cast<char*>(printer.port);
    info.pDriverName = const_cast<char*>(printer.driver);
    info.pPrintProcessor = const_cast<char*>("winprint");
    info.pDatatype = const_cast<char*>("RAW");
    info.Attributes = PRINTER_ATTRIBUTE_LOCAL;
    e2e::PrinterHandle handle(::AddPrinterA(nullptr, 2, reinterpret_cast<BYTE*>(&info)));
    if (!handle) return Failed("printer", printer.name, ::GetLastError());
    Done("printer", printer.name);
  }
  return true;
}

std::string InfText(const machine::InfFile& inf) {
  return std::string("; Setup information of a test printer\r\n") +
         "[Version]\r\nSignature=\"$Windows NT$\"\r\nClass=Printer\r\n\r\n[Manufacturer]\r\n" +
         "Vendor=" + inf.section + "\r\n\r\n[" + inf.section + "]\r\n\"" + inf.model +
         "\"=MODEL_INSTALL,LPTENUM\\" + inf.section + "0001\r\n";
}

std::string Utf16WithBom(const std::string& text) {
  std::string bytes("\xFF\xFE", 2);
  for (char c : text) {  // the INF texts are ASCII
    bytes += c;
    bytes += '\0';
  }
  return bytes;
}

bool WriteInfFiles() {
  const std::string folder = WindowsFolder() + "\\inf\\";
  for (const machine::InfFile& inf : machine::kInfFiles) {
    const std::string path = folder + inf.name;
    const std::string text = InfText(inf);
    if (!WriteBytes(path, inf.utf16 ? Utf16WithBom(text) : text)) return false;
    const std::string pnf = path.substr(0, path.size() - 3) + "PNF";
    if (!WriteBytes(pnf, std::string("\x01\x01\x02\x00PNF test data", 16))) return false;
    // A read-only companion, as setup programs leave them: removal must clear it first.
    if (!::SetFileAttributesA(pnf.c_str(), FILE_ATTRIBUTE_READONLY))
      return Failed("attributes", pnf.c_str(), ::GetLastError());
    Done("setup file", inf.name);
  }
  return true;
}

bool CreateKeyWithValue(const char* path, const char* value, const char* data) {
  e2e::RegKey key;
  LONG status = ::RegCreateKeyExA(HKEY_LOCAL_MACHINE, path, 0, nullptr, 0, KEY_WRITE, nullptr,
                                  key.out(), nullptr);
  if (status != ERROR_SUCCESS) return Failed("key", path, static_cast<DWORD>(status));
  status = ::RegSetValueExA(key.get(), value, 0, REG_SZ, reinterpret_cast<const BYTE*>(data),
                            static_cast<DWORD>(std::string(data).size() + 1));
  if (status != ERROR_SUCCESS) return Failed("value", path, static_cast<DWORD>(status));
  return Done("key", path);
}

bool WriteRegistry() {
  return CreateKeyWithValue(machine::kVendorKeys[0], "Printer", "Qorvelin LP-210") &&
         CreateKeyWithValue(machine::kVendorKeys[1], "Port", machine::kUsbPort) &&
         CreateKeyWithValue(machine::kOtherVendorKey, "Printer", "Other Vendor Laser");
}

bool WriteUsbDriverFile() {
  const std::string path = SystemFolder() + "\\" + machine::kUsbDriverFile;
  if (!WriteBytes(path, std::string("MZ test USB driver", 18))) return false;
  return Done("file", path.c_str());
}

}  // namespace

bool ArmRestartMarker() {
  const std::string command = std::string("cmd /c echo restarted> ") + machine::kRestartMarker;
  e2e::RegKey key;
  LONG status = ::RegCreateKeyExA(HKEY_LOCAL_MACHINE, machine::kRunOnceKey, 0, nullptr, 0,
                                  KEY_WRITE, nullptr, key.out(), nullptr);
  if (status == ERROR_SUCCESS)
    status = ::RegSetValueExA(key.get(), machine::kRunOnceValue, 0, REG_SZ,
                              reinterpret_cast<const BYTE*>(command.c_str()),
                              static_cast<DWORD>(command.size() + 1));
  if (status != ERROR_SUCCESS)
    return Failed("restart marker", machine::kRunOnceValue, static_cast<DWORD>(status));
  return Done("restart marker", machine::kRunOnceValue);
}

bool SetUpMachine() {
  return InstallDrivers() && AddPorts() && AddMonitors() && AddProcessor() && AddPrinters() &&
         WriteInfFiles() && WriteRegistry() && WriteUsbDriverFile();
}

}  // namespace prepare
