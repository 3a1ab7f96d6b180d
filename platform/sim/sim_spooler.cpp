// The print spooler: printers, drivers, ports, monitors and print processors.
#include <algorithm>
#include <cstring>

#include "platform/sim/sim_state.h"

namespace sim::detail {

namespace {

// The fixed part of PRINTER_INFO_2 on 32-bit Windows; the strings follow it.
constexpr uint32_t kPrinterInfo2Size = 84;

const char* const kKnownEnvironments[] = {"Windows 4.0", "Windows NT x86", "Windows x64",
                                          "Windows IA64"};

bool KnownEnvironment(const std::string& environment) {
  for (const char* known : kKnownEnvironments)
    if (SameText(known, environment)) return true;
  return false;
}

template <typename List, typename Name>
auto FindByName(List& list, const std::string& name, Name nameOf) {
  return std::find_if(list.begin(), list.end(),
                      [&](const auto& item) { return SameText(nameOf(item), name); });
}

}  // namespace

namespace {

// A call is first checked for an injected fault, then against the spooler's state.
win::Error Prelude(SimState& s, const char* call, const std::string& args) {
  const win::Error error = s.Injected(call, args);
  return error || s.SpoolerRunning() ? error : kRpcServerUnavailable;
}

}  // namespace

win::Error SimSpooler::EnumLocalPrinterNames(std::vector<std::string>* names) {
  Lock lock(s_.mutex);
  const std::string callArgs = "5";
  win::Error error = Prelude(s_, "EnumPrintersA", callArgs);
  names->clear();
  s_.Record("EnumPrintersA", callArgs, error);
  if (error) return error;
  for (const SimPrinter& printer : s_.printers) names->push_back(printer.name);
  return win::kSuccess;
}

win::Error SimSpooler::EnumLocalPrinterPorts(std::vector<std::string>* ports) {
  Lock lock(s_.mutex);
  const std::string callArgs = "2";
  win::Error error = Prelude(s_, "EnumPrintersA", callArgs);
  ports->clear();
  s_.Record("EnumPrintersA", callArgs, error);
  if (error) return error;
  for (const SimPrinter& printer : s_.printers) ports->push_back(printer.port);
  return win::kSuccess;
}

win::Error SimSpooler::EnumMonitorNames(std::vector<std::string>* names) {
  Lock lock(s_.mutex);
  const std::string callArgs = "";
  win::Error error = Prelude(s_, "EnumMonitorsA", callArgs);
  names->clear();
  s_.Record("EnumMonitorsA", callArgs, error);
  if (error) return error;
  *names = s_.monitors;
  return win::kSuccess;
}

win::Error SimSpooler::EnumPrintProcessorNames(const char* environment,
                                               std::vector<std::string>* names) {
  Lock lock(s_.mutex);
  const std::string callArgs = ArgText(environment);
  win::Error error = Prelude(s_, "EnumPrintProcessorsA", callArgs);
  names->clear();
  const std::string wanted = environment ? environment : s_.defaultEnvironment;
  if (!error && !KnownEnvironment(wanted)) error = kInvalidEnvironment;
  s_.Record("EnumPrintProcessorsA", callArgs, error);
  if (error) return error;
  for (const SimProcessor& processor : s_.processors)
    if (SameText(processor.environment, wanted)) names->push_back(processor.name);
  return win::kSuccess;
}

win::Error SimSpooler::OpenPrinterHandle(const char* name, uint32_t access,
                                         plat::PrinterHandle* printer) {
  Lock lock(s_.mutex);
  const std::string callArgs = ArgText(name);
  win::Error error = Prelude(s_, "OpenPrinterA", callArgs);
  *printer = 0;
  const SimPrinter* found = name ? s_.FindPrinter(name) : nullptr;
  if (!error && !found) error = win::kInvalidPrinterName;
  s_.Record("OpenPrinterA", callArgs, error);
  if (error) return error;
  *printer = s_.Acquire(HandleKind::kPrinter, found->name, access);
  return win::kSuccess;
}

win::Error SimSpooler::ReadPrinterInfo2(plat::PrinterHandle printer, void* buffer, uint32_t cbBuf,
                                        uint32_t* needed, plat::PrinterInfo2* info) {
  Lock lock(s_.mutex);
  const std::string callArgs =
      s_.HandleLabel(printer, HandleKind::kPrinter) + ", " + std::to_string(cbBuf);
  win::Error error = Prelude(s_, "GetPrinterA", callArgs);
  const OpenHandle* open = s_.Find(printer, HandleKind::kPrinter);
  const SimPrinter* found = open ? s_.FindPrinter(open->label) : nullptr;
  if (!error && (!open || open->spoolerGeneration != s_.spoolerGeneration))
    error = win::kInvalidHandle;
  if (!error && !found) error = win::kInvalidPrinterName;
  uint32_t size = 0;
  if (!error) {
    size = kPrinterInfo2Size + static_cast<uint32_t>(found->name.size() + found->port.size() +
                                                     found->driver.size() + 3);
    if (!found->server.empty()) size += static_cast<uint32_t>(found->server.size() + 1);
    if (needed) *needed = size;
    if (!buffer || cbBuf < size) error = win::kInsufficientBuffer;
  }
  s_.Record("GetPrinterA", callArgs, error);
  if (error) return error;

  // The strings go into the caller's buffer behind the fixed part, as Windows does.
  char* bytes = static_cast<char*>(buffer);
  std::memset(bytes, 0, size);
  char* next = bytes + kPrinterInfo2Size;
  auto place = [&next](const std::string& text) {
    std::memcpy(next, text.c_str(), text.size() + 1);
    const char* placed = next;
    next += text.size() + 1;
    return placed;
  };
  *info = plat::PrinterInfo2{};
  info->pServerName = found->server.empty() ? nullptr : place(found->server);
  info->pPrinterName = place(found->name);
  info->pPortName = place(found->port);
  info->pDriverName = place(found->driver);
  info->cJobs = found->jobs;
  return win::kSuccess;
}

void SimSpooler::ClosePrinterHandle(plat::PrinterHandle printer) {
  Lock lock(s_.mutex);
  const std::string label = s_.HandleLabel(printer, HandleKind::kPrinter);
  win::Error error = s_.Injected("ClosePrinter", label);
  // The handle is released whatever the spooler's state; only a bad handle fails.
  if (!s_.Release(printer, HandleKind::kPrinter)) error = win::kInvalidHandle;
  s_.Record("ClosePrinter", label, error);
}

win::Error SimSpooler::DeletePrinterByHandle(plat::PrinterHandle printer) {
  Lock lock(s_.mutex);
  const std::string callArgs = s_.HandleLabel(printer, HandleKind::kPrinter);
  win::Error error = Prelude(s_, "DeletePrinter", callArgs);
  const OpenHandle* open = s_.Find(printer, HandleKind::kPrinter);
  if (!error && (!open || open->spoolerGeneration != s_.spoolerGeneration))
    error = win::kInvalidHandle;
  auto found =
      open ? FindByName(s_.printers, open->label, [](const SimPrinter& p) { return p.name; })
           : s_.printers.end();
  if (!error && found == s_.printers.end()) error = win::kInvalidPrinterName;
  s_.Record("DeletePrinter", callArgs, error);
  Deletion deletion = SimState::MakeDeletion("DeletePrinter", open ? open->label : callArgs, error);
  if (const SimPrinter* named = open ? s_.FindPrinter(open->label) : nullptr) {
    deletion.port = named->port;
    deletion.driver = named->driver;
  }
  s_.RecordDeletion(deletion);
  if (error) return error;
  s_.printers.erase(found);
  return win::kSuccess;
}

win::Error SimSpooler::RemoveDriver(const char* call, const std::string& args, const char* server,
                                    const char* environment, const char* driver) {
  Lock lock(s_.mutex);
  const std::string callArgs = args;
  win::Error error = Prelude(s_, call, callArgs);
  const std::string name = driver ? driver : "";
  auto found = FindByName(s_.drivers, name, [](const std::string& d) { return d; });
  if (!error && found == s_.drivers.end()) error = win::kUnknownPrinterDriver;
  if (!error && std::any_of(s_.printers.begin(), s_.printers.end(),
                            [&](const SimPrinter& p) { return SameText(p.driver, name); }))
    error = win::kPrinterDriverInUse;
  s_.Record(call, callArgs, error);
  s_.RecordDeletion(
      SimState::MakeDeletion(call, ArgText(driver), error, ArgText(server), ArgText(environment)));
  if (error) return error;
  s_.drivers.erase(found);
  return win::kSuccess;
}

win::Error SimSpooler::DeleteDriverEx(const void* /*entry*/, const char* server,
                                      const char* environment, const char* driver,
                                      uint32_t deleteFlags, uint32_t versionFlag) {
  return RemoveDriver("DeletePrinterDriverExA",
                      ArgText(server) + ", " + ArgText(environment) + ", " + ArgText(driver) +
                          ", " + std::to_string(deleteFlags) + ", " + std::to_string(versionFlag),
                      server, environment, driver);
}

win::Error SimSpooler::DeleteDriver(const char* server, const char* environment,
                                    const char* driver) {
  return RemoveDriver("DeletePrinterDriverA",
                      ArgText(server) + ", " + ArgText(environment) + ", " + ArgText(driver),
                      server, environment, driver);
}

win::Error SimSpooler::DeletePortByName(const char* server, const char* port) {
  Lock lock(s_.mutex);
  const std::string callArgs = ArgText(server) + ", NULL, " + ArgText(port);
  win::Error error = Prelude(s_, "DeletePortA", callArgs);
  const std::string name = port ? port : "";
  auto found = FindByName(s_.ports, name, [](const SimPort& p) { return p.name; });
  if (!error && found == s_.ports.end()) error = kUnknownPort;
  if (!error && std::any_of(s_.printers.begin(), s_.printers.end(),
                            [&](const SimPrinter& p) { return SameText(p.port, name); }))
    error = kBusy;
  s_.Record("DeletePortA", callArgs, error);
  s_.RecordDeletion(SimState::MakeDeletion("DeletePortA", ArgText(port), error, ArgText(server)));
  if (error) return error;
  s_.ports.erase(found);
  return win::kSuccess;
}

win::Error SimSpooler::DeleteMonitorByName(const char* server, const char* environment,
                                           const char* name) {
  Lock lock(s_.mutex);
  const std::string callArgs = ArgText(server) + ", " + ArgText(environment) + ", " + ArgText(name);
  win::Error error = Prelude(s_, "DeleteMonitorA", callArgs);
  const std::string monitor = name ? name : "";
  auto found = FindByName(s_.monitors, monitor, [](const std::string& m) { return m; });
  if (!error && found == s_.monitors.end()) error = win::kUnknownPrintMonitor;
  if (!error) {
    for (const SimPort& port : s_.ports) {
      if (!SameText(port.monitor, monitor)) continue;
      if (std::any_of(s_.printers.begin(), s_.printers.end(),
                      [&](const SimPrinter& p) { return SameText(p.port, port.name); }))
        error = win::kPrintMonitorInUse;
    }
  }
  s_.Record("DeleteMonitorA", callArgs, error);
  s_.RecordDeletion(SimState::MakeDeletion("DeleteMonitorA", ArgText(name), error, ArgText(server),
                                           ArgText(environment)));
  if (error) return error;
  // The monitor's unused ports go with it.
  s_.monitors.erase(found);
  s_.ports.erase(std::remove_if(s_.ports.begin(), s_.ports.end(),
                                [&](const SimPort& p) { return SameText(p.monitor, monitor); }),
                 s_.ports.end());
  return win::kSuccess;
}

win::Error SimSpooler::DeleteProcessorByName(const char* server, const char* environment,
                                             const char* name) {
  Lock lock(s_.mutex);
  const std::string callArgs = ArgText(server) + ", " + ArgText(environment) + ", " + ArgText(name);
  win::Error error = Prelude(s_, "DeletePrintProcessorA", callArgs);
  const std::string wanted = environment ? environment : s_.defaultEnvironment;
  const std::string processor = name ? name : "";
  auto found = std::find_if(s_.processors.begin(), s_.processors.end(), [&](const SimProcessor& p) {
    return SameText(p.name, processor) && SameText(p.environment, wanted);
  });
  if (!error && !KnownEnvironment(wanted)) error = kInvalidEnvironment;
  if (!error && found == s_.processors.end()) error = win::kUnknownPrintProcessor;
  s_.Record("DeletePrintProcessorA", callArgs, error);
  s_.RecordDeletion(SimState::MakeDeletion("DeletePrintProcessorA", ArgText(name), error,
                                           ArgText(server), ArgText(environment)));
  if (error) return error;
  s_.processors.erase(found);
  return win::kSuccess;
}

win::Error SimSpooler::PrintProcessorDirectory(std::string* directory) {
  Lock lock(s_.mutex);
  const std::string callArgs = "";
  win::Error error = Prelude(s_, "GetPrintProcessorDirectoryA", callArgs);
  s_.Record("GetPrintProcessorDirectoryA", callArgs, error);
  *directory = error ? std::string() : s_.printProcessorDirectory;
  return error;
}

}  // namespace sim::detail
