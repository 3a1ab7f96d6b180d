#include "platform/win32/win32_spooler.h"

#include <cstring>
#include <type_traits>

#include "platform/win32/call_support.h"
#include "platform/win32/windows_api.h"

#include <winspool.h>

namespace win32 {
namespace {

using DeletePrinterDriverExFn = BOOL(WINAPI*)(LPSTR, LPSTR, LPSTR, DWORD, DWORD);
static_assert(std::is_same_v<DeletePrinterDriverExFn, decltype(&::DeletePrinterDriverExA)>,
              "the bound entry is called with the signature of DeletePrinterDriverExA");

// The spooler may gain records between the size query and the real call; then it
// asks for a bigger buffer again, a few times at most.
constexpr int kEnumAttempts = 4;

// An enumeration asked twice: the size first, then the records into a buffer of
// that size. call(buffer, size, &needed, &returned) is one EnumXxxA call.
template <typename Call>
win::Error EnumerateRecords(Call call, std::vector<BYTE>* buffer, DWORD* count) {
  *count = 0;
  buffer->clear();
  DWORD needed = 0;
  DWORD returned = 0;
  if (call(nullptr, 0, &needed, &returned)) return win::kSuccess;  // nothing to list
  win::Error error = FailureCode();
  for (int attempt = 0; error == ERROR_INSUFFICIENT_BUFFER && attempt < kEnumAttempts; ++attempt) {
    buffer->assign(needed, 0);
    returned = 0;
    if (call(buffer->data(), needed, &needed, &returned)) {
      *count = returned;
      return win::kSuccess;
    }
    error = FailureCode();
  }
  buffer->clear();
  return error;
}

// The text field of each record at the start of buffer; a null field is empty.
template <typename Record>
void CollectTexts(const std::vector<BYTE>& buffer, DWORD count, LPSTR Record::*field,
                  std::vector<std::string>* texts) {
  for (size_t i = 0; i < count && (i + 1) * sizeof(Record) <= buffer.size(); ++i) {
    Record record;
    std::memcpy(&record, buffer.data() + i * sizeof(Record), sizeof record);
    const char* text = record.*field;
    texts->emplace_back(text != nullptr ? text : "");
  }
}

// Enumerates with call and collects field of every record into *texts.
template <typename Record, typename Call>
win::Error EnumTexts(Call call, LPSTR Record::*field, std::vector<std::string>* texts) {
  texts->clear();
  std::vector<BYTE> buffer;
  DWORD count = 0;
  win::Error error = EnumerateRecords(call, &buffer, &count);
  if (error == win::kSuccess) CollectTexts(buffer, count, field, texts);
  return error;
}

template <typename Record>
win::Error EnumLocalPrinters(DWORD level, LPSTR Record::*field, std::vector<std::string>* texts) {
  auto call = [level](BYTE* buffer, DWORD size, DWORD* needed, DWORD* returned) {
    return ::EnumPrintersA(PRINTER_ENUM_LOCAL, nullptr, level, buffer, size, needed, returned);
  };
  return EnumTexts<Record>(call, field, texts);
}

HANDLE AsHandle(plat::PrinterHandle printer) { return reinterpret_cast<HANDLE>(printer); }

win::Error Outcome(BOOL succeeded) { return succeeded ? win::kSuccess : FailureCode(); }

}  // namespace

win::Error Win32Spooler::EnumLocalPrinterNames(std::vector<std::string>* names) {
  return EnumLocalPrinters(5, &PRINTER_INFO_5A::pPrinterName, names);
}

win::Error Win32Spooler::EnumLocalPrinterPorts(std::vector<std::string>* ports) {
  return EnumLocalPrinters(2, &PRINTER_INFO_2A::pPortName, ports);
}

win::Error Win32Spooler::EnumMonitorNames(std::vector<std::string>* names) {
  auto call = [](BYTE* buffer, DWORD size, DWORD* needed, DWORD* returned) {
    return ::EnumMonitorsA(nullptr, 1, buffer, size, needed, returned);
  };
  return EnumTexts(call, &MONITOR_INFO_1A::pName, names);
}

win::Error Win32Spooler::EnumPrintProcessorNames(const char* environment,
                                                 std::vector<std::string>* names) {
  WritableText env(environment);
  auto call = [&env](BYTE* buffer, DWORD size, DWORD* needed, DWORD* returned) {
    return ::EnumPrintProcessorsA(nullptr, env.get(), 1, buffer, size, needed, returned);
  };
  return EnumTexts(call, &PRINTPROCESSOR_INFO_1A::pName, names);
}

win::Error Win32Spooler::OpenPrinterHandle(const char* name, uint32_t access,
                                           plat::PrinterHandle* printer) {
  *printer = 0;
  WritableText printerName(name);
  PRINTER_DEFAULTSA defaults = {nullptr, nullptr, access};
  HANDLE handle = nullptr;
  if (!::OpenPrinterA(printerName.get(), &handle, &defaults)) return FailureCode();
  *printer = reinterpret_cast<plat::PrinterHandle>(handle);
  return win::kSuccess;
}

win::Error Win32Spooler::ReadPrinterInfo2(plat::PrinterHandle printer, void* buffer, uint32_t cbBuf,
                                          uint32_t* needed, plat::PrinterInfo2* info) {
  DWORD bytesNeeded = 0;
  BOOL succeeded =
      ::GetPrinterA(AsHandle(printer), 2, static_cast<BYTE*>(buffer), cbBuf, &bytesNeeded);
  win::Error error = Outcome(succeeded);
  if (needed != nullptr) *needed = bytesNeeded;
  if (error != win::kSuccess) return error;
  // Success without room for the record itself cannot be read: ask again.
  if (buffer == nullptr || cbBuf < sizeof(PRINTER_INFO_2A)) return win::kInsufficientBuffer;

  PRINTER_INFO_2A record;
  std::memcpy(&record, buffer, sizeof record);
  info->pServerName = record.pServerName;
  info->pPrinterName = record.pPrinterName;
  info->pPortName = record.pPortName;
  info->pDriverName = record.pDriverName;
  info->cJobs = record.cJobs;
  return win::kSuccess;
}

void Win32Spooler::ClosePrinterHandle(plat::PrinterHandle printer) {
  if (printer != 0) ::ClosePrinter(AsHandle(printer));
}

win::Error Win32Spooler::DeletePrinterByHandle(plat::PrinterHandle printer) {
  return Outcome(::DeletePrinter(AsHandle(printer)));
}

win::Error Win32Spooler::DeleteDriverEx(const void* entry, const char* server,
                                        const char* environment, const char* driver,
                                        uint32_t deleteFlags, uint32_t versionFlag) {
  auto deleteDriverEx = AddressAs<DeletePrinterDriverExFn>(entry);
  if (deleteDriverEx == nullptr) return win::kProcNotFound;
  WritableText serverName(server), env(environment), driverName(driver);
  return Outcome(
      deleteDriverEx(serverName.get(), env.get(), driverName.get(), deleteFlags, versionFlag));
}

win::Error Win32Spooler::DeleteDriver(const char* server, const char* environment,
                                      const char* driver) {
  WritableText serverName(server), env(environment), driverName(driver);
  return Outcome(::DeletePrinterDriverA(serverName.get(), env.get(), driverName.get()));
}

win::Error Win32Spooler::DeletePortByName(const char* server, const char* port) {
  WritableText serverName(server), portName(port);
  return Outcome(::DeletePortA(serverName.get(), nullptr, portName.get()));
}

win::Error Win32Spooler::DeleteMonitorByName(const char* server, const char* environment,
                                             const char* name) {
  WritableText serverName(server), env(environment), monitorName(name);
  return Outcome(::DeleteMonitorA(serverName.get(), env.get(), monitorName.get()));
}

win::Error Win32Spooler::DeleteProcessorByName(const char* server, const char* environment,
                                               const char* name) {
  WritableText serverName(server), env(environment), processorName(name);
  return Outcome(::DeletePrintProcessorA(serverName.get(), env.get(), processorName.get()));
}

win::Error Win32Spooler::PrintProcessorDirectory(std::string* directory) {
  directory->clear();
  BYTE buffer[256] = {};
  DWORD needed = 0;
  if (!::GetPrintProcessorDirectoryA(nullptr, nullptr, 1, buffer, sizeof buffer, &needed)) {
    return FailureCode();
  }
  const char* text = reinterpret_cast<const char*>(buffer);
  directory->assign(text, strnlen(text, sizeof buffer));
  return win::kSuccess;
}

}  // namespace win32
