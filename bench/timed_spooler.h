// A spooler that passes every call on and adds up the time spent waiting for the
// answers, so that a benchmark can tell the core's own work from the spooler's.
#pragma once
#include "bench/timing.h"
#include "platform/spooler.h"

namespace bench {

class TimedSpooler final : public plat::Spooler {
 public:
  explicit TimedSpooler(plat::Spooler& inner) : inner_(inner) {}

  double spentMs = 0;  // inside the inner spooler's calls
  int calls = 0;

  win::Error EnumLocalPrinterNames(std::vector<std::string>* names) override {
    return Time([&] { return inner_.EnumLocalPrinterNames(names); });
  }
  win::Error EnumLocalPrinterPorts(std::vector<std::string>* ports) override {
    return Time([&] { return inner_.EnumLocalPrinterPorts(ports); });
  }
  win::Error EnumMonitorNames(std::vector<std::string>* names) override {
    return Time([&] { return inner_.EnumMonitorNames(names); });
  }
  win::Error EnumPrintProcessorNames(const char* environment,
                                     std::vector<std::string>* names) override {
    return Time([&] { return inner_.EnumPrintProcessorNames(environment, names); });
  }
  win::Error OpenPrinterHandle(const char* name, uint32_t access,
                               plat::PrinterHandle* printer) override {
    return Time([&] { return inner_.OpenPrinterHandle(name, access, printer); });
  }
  win::Error ReadPrinterInfo2(plat::PrinterHandle printer, void* buffer, uint32_t cbBuf,
                              uint32_t* needed, plat::PrinterInfo2* info) override {
    return Time([&] { return inner_.ReadPrinterInfo2(printer, buffer, cbBuf, needed, info); });
  }
  void ClosePrinterHandle(plat::PrinterHandle printer) override {
    Time([&] {
      inner_.ClosePrinterHandle(printer);
      return win::kSuccess;
    });
  }
  win::Error DeletePrinterByHandle(plat::PrinterHandle printer) override {
    return Time([&] { return inner_.DeletePrinterByHandle(printer); });
  }
  win::Error DeleteDriverEx(const void* entry, const char* server, const char* environment,
                            const char* driver, uint32_t deleteFlags,
                            uint32_t versionFlag) override {
    return Time([&] {
      return inner_.DeleteDriverEx(entry, server, environment, driver, deleteFlags, versionFlag);
    });
  }
  win::Error DeleteDriver(const char* server, const char* environment,
                          const char* driver) override {
    return Time([&] { return inner_.DeleteDriver(server, environment, driver); });
  }
  win::Error DeletePortByName(const char* server, const char* port) override {
    return Time([&] { return inner_.DeletePortByName(server, port); });
  }
  win::Error DeleteMonitorByName(const char* server, const char* environment,
                                 const char* name) override {
    return Time([&] { return inner_.DeleteMonitorByName(server, environment, name); });
  }
  win::Error DeleteProcessorByName(const char* server, const char* environment,
                                   const char* name) override {
    return Time([&] { return inner_.DeleteProcessorByName(server, environment, name); });
  }
  win::Error PrintProcessorDirectory(std::string* directory) override {
    return Time([&] { return inner_.PrintProcessorDirectory(directory); });
  }

 private:
  template <typename Call>
  win::Error Time(Call&& call) {
    const double start = NowMs();
    const win::Error error = call();
    spentMs += NowMs() - start;
    ++calls;
    return error;
  }

  plat::Spooler& inner_;
};

}  // namespace bench
