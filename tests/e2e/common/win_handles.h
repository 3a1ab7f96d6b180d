// Owners of the Windows handles that the end-to-end tools open: each one is
// closed when its owner goes out of scope, on every path.
#pragma once

#include <windows.h>
#include <winspool.h>

#include <utility>

namespace e2e {

template <typename Handle, typename Traits>
class Owned {
 public:
  Owned() = default;
  explicit Owned(Handle handle) : handle_(handle) {}
  Owned(const Owned&) = delete;
  Owned& operator=(const Owned&) = delete;
  Owned(Owned&& other) noexcept : handle_(std::exchange(other.handle_, Traits::Invalid())) {}
  Owned& operator=(Owned&& other) noexcept {
    if (this != &other) {
      Reset();
      handle_ = std::exchange(other.handle_, Traits::Invalid());
    }
    return *this;
  }
  ~Owned() { Reset(); }

  Handle get() const { return handle_; }
  Handle* out() {
    Reset();
    return &handle_;
  }
  explicit operator bool() const { return handle_ != Traits::Invalid(); }
  void Reset() {
    if (handle_ != Traits::Invalid()) Traits::Close(handle_);
    handle_ = Traits::Invalid();
  }

 private:
  Handle handle_ = Traits::Invalid();
};

struct KernelHandleTraits {
  static HANDLE Invalid() { return nullptr; }
  static void Close(HANDLE h) { ::CloseHandle(h); }
};
struct FileHandleTraits {
  static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
  static void Close(HANDLE h) { ::CloseHandle(h); }
};
struct FindHandleTraits {
  static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
  static void Close(HANDLE h) { ::FindClose(h); }
};
struct RegKeyTraits {
  static HKEY Invalid() { return nullptr; }
  static void Close(HKEY h) { ::RegCloseKey(h); }
};
struct PrinterTraits {
  static HANDLE Invalid() { return nullptr; }
  static void Close(HANDLE h) { ::ClosePrinter(h); }
};
struct ServiceTraits {
  static SC_HANDLE Invalid() { return nullptr; }
  static void Close(SC_HANDLE h) { ::CloseServiceHandle(h); }
};

using KernelHandle = Owned<HANDLE, KernelHandleTraits>;
using FileHandle = Owned<HANDLE, FileHandleTraits>;
using FindHandle = Owned<HANDLE, FindHandleTraits>;
using RegKey = Owned<HKEY, RegKeyTraits>;
using PrinterHandle = Owned<HANDLE, PrinterTraits>;
using ServiceHandle = Owned<SC_HANDLE, ServiceTraits>;

// Memory in another process, released with it.
class RemoteMemory {
 public:
  RemoteMemory(HANDLE process, SIZE_T size)
      : process_(process),
        address_(
            ::VirtualAllocEx(process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE)) {}
  RemoteMemory(const RemoteMemory&) = delete;
  RemoteMemory& operator=(const RemoteMemory&) = delete;
  ~RemoteMemory() {
    if (address_ != nullptr) ::VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
  }
  void* get() const { return address_; }

 private:
  HANDLE process_;
  void* address_;
};

}  // namespace e2e
