// The kinds of Windows handles the backend owns, each with its own release call.
#pragma once
#include "platform/win32/unique_handle.h"
#include "platform/win32/windows_api.h"

namespace win32 {

// A directory search from FindFirstFileA.
struct FindSearchTraits {
  using Handle = HANDLE;
  static Handle Invalid() { return INVALID_HANDLE_VALUE; }
  static void Close(Handle handle) { ::FindClose(handle); }
};
using UniqueFindSearch = UniqueHandle<FindSearchTraits>;

// An open file from CreateFileA.
struct FileTraits {
  using Handle = HANDLE;
  static Handle Invalid() { return INVALID_HANDLE_VALUE; }
  static void Close(Handle handle) { ::CloseHandle(handle); }
};
using UniqueFile = UniqueHandle<FileTraits>;

// A kernel object whose "none" is null, such as a process token.
struct KernelObjectTraits {
  using Handle = HANDLE;
  static Handle Invalid() { return nullptr; }
  static void Close(Handle handle) { ::CloseHandle(handle); }
};
using UniqueKernelObject = UniqueHandle<KernelObjectTraits>;

// A service control manager or service handle.
struct ServiceTraits {
  using Handle = SC_HANDLE;
  static Handle Invalid() { return nullptr; }
  static void Close(Handle handle) { ::CloseServiceHandle(handle); }
};
using UniqueService = UniqueHandle<ServiceTraits>;

// A library loaded with LoadLibraryA.
struct LibraryTraits {
  using Handle = HMODULE;
  static Handle Invalid() { return nullptr; }
  static void Close(Handle handle) { ::FreeLibrary(handle); }
};
using UniqueLibrary = UniqueHandle<LibraryTraits>;

}  // namespace win32
