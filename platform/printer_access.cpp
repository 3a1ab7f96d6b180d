#include "platform/printer_access.h"

#include <new>

namespace {
constexpr size_t kMaxInfoSize = size_t{1} << 20;
}  // namespace

std::unique_ptr<unsigned char[]> PrinterAccess::AllocateFromHeap(size_t size) {
  if (size > kMaxInfoSize) return nullptr;
  return std::unique_ptr<unsigned char[]>(new (std::nothrow) unsigned char[size]);
}

PrinterAccess::PrinterAccess(plat::Spooler& spooler, Allocator allocate)
    : spooler_(spooler), allocate_(allocate) {}

PrinterAccess::~PrinterAccess() { Release(); }

bool PrinterAccess::Open(const char* name) {
  Release();
  plat::PrinterHandle opened = 0;
  if (spooler_.OpenPrinterHandle(name, win::kPrinterAllAccess, &opened) != win::kSuccess ||
      opened == 0)
    return false;
  handle_ = opened;
  return true;
}

PrinterAccessResult PrinterAccess::ReadInfo() {
  ReleaseInfo();
  uint32_t needed = 0;
  plat::PrinterInfo2 ignored;
  const win::Error query = spooler_.ReadPrinterInfo2(handle_, nullptr, 0, &needed, &ignored);
  // A size query "fails" with a too-small buffer by design; any other error
  // means the printer cannot be read.
  if (query != win::kSuccess && query != win::kInsufficientBuffer)
    return PrinterAccessResult::kSizeQueryFailed;
  std::unique_ptr<unsigned char[]> buffer = allocate_(needed);
  if (!buffer) return PrinterAccessResult::kNoMemory;
  plat::PrinterInfo2 read;
  if (spooler_.ReadPrinterInfo2(handle_, buffer.get(), needed, &needed, &read) != win::kSuccess) {
    buffer_ = std::move(buffer);  // released with the printer, in that order
    return PrinterAccessResult::kReadFailed;
  }
  buffer_ = std::move(buffer);
  info_ = read;
  return PrinterAccessResult::kOk;
}

PrinterAccessResult PrinterAccess::OpenAndRead(const char* name) {
  if (!Open(name)) return PrinterAccessResult::kOpenFailed;
  return ReadInfo();
}

void PrinterAccess::ClosePrinter() {
  if (handle_ == 0) return;
  spooler_.ClosePrinterHandle(handle_);
  handle_ = 0;
}

void PrinterAccess::ReleaseInfo() {
  info_ = plat::PrinterInfo2();
  buffer_.reset();
}

void PrinterAccess::Release() {
  ReleaseInfo();
  ClosePrinter();
}
