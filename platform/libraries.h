// Libraries loaded by name at run time. A loaded library is an object whose
// destruction releases it (FreeLibrary), so every path releases it.
#pragma once
#include <cstdint>
#include <memory>

namespace plat {

// "kernel32.dll" loaded by path or name: the WOW64 entries.
class KernelLibrary {
 public:
  virtual ~KernelLibrary() = default;
  // GetProcAddress(module, entry) != NULL.
  virtual bool HasEntry(const char* entry) = 0;
  // The calls; each is made only after HasEntry answered true for it.
  virtual bool CallIsWow64Process(int* isWow64) = 0;            // for the current process
  virtual int CallWow64DisableFsRedirection(void** saved) = 0;  // the BOOL it returns
  virtual int CallWow64RevertFsRedirection(void* saved) = 0;
};

// The vendor USB library ZiZudUru.dll: three stdcall entries of 32-bit values.
class UsbLibrary {
 public:
  virtual ~UsbLibrary() = default;
  virtual bool HasEntry(const char* entry) = 0;
  virtual int32_t CallOpenDeviceX(int32_t index) = 0;
  virtual int32_t CallGetDescriptor(int32_t device, uint8_t* block20) = 0;
  virtual int32_t CallCloseDevice(int32_t device) = 0;
};

class Libraries {
 public:
  virtual ~Libraries() = default;
  // LoadLibraryA(nameOrPath); null when the load fails. A name without a folder is
  // taken from the system directory (the program runs elevated).
  virtual std::unique_ptr<KernelLibrary> LoadKernel(const char* nameOrPath) = 0;
  virtual std::unique_ptr<UsbLibrary> LoadUsb(const char* name) = 0;
  // Loads a library for the rest of the process's life and looks up one entry.
  // False: the library could not be loaded. *entry is null when it has no such
  // entry. Used to bind DeletePrinterDriverExA of "Winspool.drv".
  virtual bool LoadAndKeep(const char* library, const char* entryName, const void** entry) = 0;
};

}  // namespace plat
