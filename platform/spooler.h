// The print spooler as the core uses it (winspool, ANSI entry points).
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "platform/win_types.h"

namespace plat {

using PrinterHandle = uintptr_t;  // 0: no printer

// The fields of PRINTER_INFO_2 the callers rely on. The strings point into the
// caller's buffer passed to ReadPrinterInfo2 and live as long as it does.
// pServerName is null for a local printer.
struct PrinterInfo2 {
  const char* pServerName = nullptr;
  const char* pPrinterName = nullptr;
  const char* pPortName = nullptr;
  const char* pDriverName = nullptr;
  uint32_t cJobs = 0;
};

class Spooler {
 public:
  virtual ~Spooler() = default;

  // EnumPrintersA(PRINTER_ENUM_LOCAL, NULL, 5): pPrinterName of each record, in
  // the spooler's order. On failure the list is empty and the error returned.
  virtual win::Error EnumLocalPrinterNames(std::vector<std::string>* names) = 0;
  // EnumPrintersA(PRINTER_ENUM_LOCAL, NULL, 2): pPortName of each record.
  virtual win::Error EnumLocalPrinterPorts(std::vector<std::string>* ports) = 0;
  // EnumMonitorsA(NULL, 1): pName of each record.
  virtual win::Error EnumMonitorNames(std::vector<std::string>* names) = 0;
  // EnumPrintProcessorsA(NULL, environment, 1); environment may be null.
  virtual win::Error EnumPrintProcessorNames(const char* environment,
                                             std::vector<std::string>* names) = 0;

  // OpenPrinterA with no data type, no device mode and the given access.
  virtual win::Error OpenPrinterHandle(const char* name, uint32_t access,
                                       PrinterHandle* printer) = 0;
  // GetPrinterA level 2. Called with cbBuf 0 it is the size query: it fails with
  // kInsufficientBuffer and sets *needed. With a large enough buffer it fills
  // *info with pointers into buffer.
  virtual win::Error ReadPrinterInfo2(PrinterHandle printer, void* buffer, uint32_t cbBuf,
                                      uint32_t* needed, PrinterInfo2* info) = 0;
  virtual void ClosePrinterHandle(PrinterHandle printer) = 0;
  // DeletePrinter through an open handle.
  virtual win::Error DeletePrinterByHandle(PrinterHandle printer) = 0;

  // DeletePrinterDriverExA through the entry bound at start-up (never null here).
  virtual win::Error DeleteDriverEx(const void* entry, const char* server, const char* environment,
                                    const char* driver, uint32_t deleteFlags,
                                    uint32_t versionFlag) = 0;
  // DeletePrinterDriverA.
  virtual win::Error DeleteDriver(const char* server, const char* environment,
                                  const char* driver) = 0;
  // DeletePortA(server, NULL window, port).
  virtual win::Error DeletePortByName(const char* server, const char* port) = 0;
  // DeleteMonitorA / DeletePrintProcessorA.
  virtual win::Error DeleteMonitorByName(const char* server, const char* environment,
                                         const char* name) = 0;
  virtual win::Error DeleteProcessorByName(const char* server, const char* environment,
                                           const char* name) = 0;
  // GetPrintProcessorDirectoryA(NULL, NULL, 1, buffer of 256 bytes).
  virtual win::Error PrintProcessorDirectory(std::string* directory) = 0;
};

}  // namespace plat
