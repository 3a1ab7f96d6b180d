// The print spooler on winspool's ANSI entries.
#pragma once
#include "platform/spooler.h"

namespace win32 {

class Win32Spooler final : public plat::Spooler {
 public:
  win::Error EnumLocalPrinterNames(std::vector<std::string>* names) override;
  win::Error EnumLocalPrinterPorts(std::vector<std::string>* ports) override;
  win::Error EnumMonitorNames(std::vector<std::string>* names) override;
  win::Error EnumPrintProcessorNames(const char* environment,
                                     std::vector<std::string>* names) override;

  win::Error OpenPrinterHandle(const char* name, uint32_t access,
                               plat::PrinterHandle* printer) override;
  win::Error ReadPrinterInfo2(plat::PrinterHandle printer, void* buffer, uint32_t cbBuf,
                              uint32_t* needed, plat::PrinterInfo2* info) override;
  void ClosePrinterHandle(plat::PrinterHandle printer) override;
  win::Error DeletePrinterByHandle(plat::PrinterHandle printer) override;

  win::Error DeleteDriverEx(const void* entry, const char* server, const char* environment,
                            const char* driver, uint32_t deleteFlags,
                            uint32_t versionFlag) override;
  win::Error DeleteDriver(const char* server, const char* environment, const char* driver) override;
  win::Error DeletePortByName(const char* server, const char* port) override;
  win::Error DeleteMonitorByName(const char* server, const char* environment,
                                 const char* name) override;
  win::Error DeleteProcessorByName(const char* server, const char* environment,
                                   const char* name) override;
  win::Error PrintProcessorDirectory(std::string* directory) override;
};

}  // namespace win32
