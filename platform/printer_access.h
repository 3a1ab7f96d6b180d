// An open printer and its level-2 information, read the way every inspection of a
// printer reads it: open with full access, ask for the size, allocate, read. The
// handle and the buffer are released on every path, at the latest when the object
// goes.
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>

#include "platform/spooler.h"

enum class PrinterAccessResult {
  kOk,
  kOpenFailed,       // OpenPrinterA failed (its error is not looked at)
  kSizeQueryFailed,  // the size query failed with another error than 122
  kNoMemory,         // no buffer of the size asked for
  kReadFailed,       // GetPrinterA into the buffer failed
};

class PrinterAccess {
 public:
  // Returns null when no memory of that size can be had. Level-2 information is a
  // few kilobytes: a spooler asking for more than a megabyte gets none either.
  using Allocator = std::unique_ptr<unsigned char[]> (*)(size_t size);
  static std::unique_ptr<unsigned char[]> AllocateFromHeap(size_t size);

  explicit PrinterAccess(plat::Spooler& spooler, Allocator allocate = &AllocateFromHeap);
  ~PrinterAccess();
  PrinterAccess(const PrinterAccess&) = delete;
  PrinterAccess& operator=(const PrinterAccess&) = delete;

  // OpenPrinterA(name) with no data type, no device mode, PRINTER_ALL_ACCESS.
  bool Open(const char* name);
  // Size query, allocation and read of the open printer's level-2 information.
  // On failure nothing is released yet: the caller chooses when (Release).
  PrinterAccessResult ReadInfo();
  // Open, then ReadInfo: kOpenFailed or ReadInfo's result.
  PrinterAccessResult OpenAndRead(const char* name);

  plat::PrinterHandle handle() const { return handle_; }
  // Valid after ReadInfo returned kOk, until ReleaseInfo; its strings point into
  // the buffer. A string the spooler left out is null.
  const plat::PrinterInfo2& info() const { return info_; }

  // Closes the printer and keeps the information.
  void ClosePrinter();
  void ReleaseInfo();
  // The information first, then the printer, as every failure path releases them.
  void Release();

 private:
  plat::Spooler& spooler_;
  Allocator allocate_;
  plat::PrinterHandle handle_ = 0;
  std::unique_ptr<unsigned char[]> buffer_;
  plat::PrinterInfo2 info_;
};
