// An in-memory Windows machine that implements every platform interface, for
// host tests. It keeps a journal of the platform calls in the order they were
// made, a virtual clock that records every pause, and can make any call fail.
//
// Journal entries read like the Windows call: "Name(arg, arg)" with strings as
// they were passed, null pointers as NULL, numbers in decimal; a failing call
// ends in " -> <error code>". Examples:
//   "DeleteMonitorA(, NULL, ZT USB Monitor) -> 3008"
//   "OpenPrinterA(Office Laser)"   "Sleep(500)"   "RegDeleteKeyA(SOFTWARE\X\Y) -> 2"
// Names: EnumPrintersA (args: level), EnumMonitorsA, EnumPrintProcessorsA (env),
// OpenPrinterA, GetPrinterA (printer, cbBuf), ClosePrinter, DeletePrinter,
// DeletePrinterDriverExA, DeletePrinterDriverA, DeletePortA, DeleteMonitorA,
// DeletePrintProcessorA, GetPrintProcessorDirectoryA, RegDeleteKeyA,
// GetCurrentDirectoryA, GetWindowsDirectoryA, GetSystemDirectoryA, FindFirstFileA,
// FindNextFileA, FindClose, SetFileAttributesA (path, hex attributes as 0x20),
// DeleteFileA, ReadFile, OpenSCManagerA, OpenServiceA (name, access),
// ControlService, StartServiceA, CloseServiceHandle, GetVersionExA,
// GetNativeSystemInfo, GetSystemInfo, CreateMutexA, WriteStdout, LoadLibraryA,
// FreeLibrary, GetProcAddress (entry), IsWow64Process,
// Wow64DisableWow64FsRedirection, Wow64RevertWow64FsRedirection, OpenDeviceX,
// GetDescriptor, CloseDevice, FindWindowA, SetForegroundWindow, BringWindowToTop,
// IsIconic, ShowWindow, ShellExecuteA (file, params), MessageBoxA (text),
// OpenProcessToken, LookupPrivilegeValueA, AdjustTokenPrivileges, CloseHandle,
// ExitWindowsEx (flags, reason), Sleep (ms).
#pragma once
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace sim {

enum class ServiceState { kRunning, kStopped, kDisabled };

struct SimPrinter {
  std::string name;
  std::string port;
  std::string driver;
  std::string server;  // empty: a local printer (pServerName is NULL)
  uint32_t jobs = 0;
};

class Machine {
 public:
  // A fresh 32-bit Windows 7 workstation: version 6.1, product type 1, x86, not
  // WOW64, Windows in C:\Windows, current directory C:\pkg (which exists), the
  // spooler running with environment "Windows NT x86".
  Machine();
  ~Machine();
  Machine(const Machine&) = delete;
  Machine& operator=(const Machine&) = delete;

  plat::Platform& platform();

  // --- Fault injection -------------------------------------------------------
  // The next `times` calls named `call` (a journal name) whose journal arguments
  // contain `argument` (empty: any) fail with `error`; times < 0: every call.
  void FailCall(const std::string& call, win::Error error, int times = 1,
                const std::string& argument = "");

  // --- Journal and clock -----------------------------------------------------
  const std::vector<std::string>& Journal() const;
  // The journal entries whose name is one of `calls`, in order.
  std::vector<std::string> JournalOf(const std::set<std::string>& calls) const;
  void ClearJournal();
  const std::vector<uint32_t>& Pauses() const;  // every Sleep, in order
  uint64_t NowMs() const;                       // sum of the pauses
  // Runs `action` once the virtual time has reached atMs (checked at each Sleep).
  void At(uint64_t atMs, std::function<void()> action);

  // --- Machine identity (version queries, WOW64) -----------------------------
  void SetVersion(uint32_t platformId, uint32_t major, uint32_t minor, uint8_t productType);
  void SetVersionQueryFails(bool fails);
  void SetArchitecture(uint16_t native, uint16_t reported);
  void SetNativeSystemInfoAvailable(bool available);
  // A 32-bit process on 64-bit Windows: System32 is redirected to SysWOW64.
  void SetWow64(bool wow64);
  void RemoveKernelEntry(const std::string& entry);  // e.g. "IsWow64Process"
  void SetDisableRedirectionResult(int result);      // what the disable entry returns
  bool RedirectionDisabled() const;                  // the calling thread's state now

  // --- Spooler -----------------------------------------------------------------
  void AddDriver(const std::string& name);
  void AddMonitor(const std::string& name);
  void AddPort(const std::string& name, const std::string& monitor);
  void AddPrinter(const SimPrinter& printer);  // port and driver are added if missing
  void AddProcessor(const std::string& name, const std::string& environment = "Windows NT x86");
  void SetDefaultEnvironment(const std::string& environment);
  void SetPrintProcessorDirectory(const std::string& directory);
  void SetDeletePrinterDriverExAvailable(bool available);  // the Winspool entry
  void SetWinspoolLoads(bool loads);
  bool HasPrinter(const std::string& name) const;
  bool HasDriver(const std::string& name) const;
  bool HasPort(const std::string& name) const;
  bool HasMonitor(const std::string& name) const;
  bool HasProcessor(const std::string& name, const std::string& environment = "Windows NT x86") const;
  void SetSpoolerState(ServiceState state);
  ServiceState SpoolerState() const;

  // --- Registry (HKEY_LOCAL_MACHINE) -------------------------------------------
  void AddKey(const std::string& path);  // parents are created too
  bool HasKey(const std::string& path) const;

  // --- Files ---------------------------------------------------------------------
  // Paths are absolute ("C:\..."), compared without regard to case. Parent
  // folders are created as needed.
  void AddFile(const std::string& path, const std::string& bytes = "",
               uint32_t attributes = win::kFileAttributeArchive);
  void AddDirectory(const std::string& path, uint32_t attributes = win::kFileAttributeDirectory);
  bool Exists(const std::string& path) const;
  uint32_t Attributes(const std::string& path) const;  // 0 when missing
  void SetCurrentDirectory(const std::string& path);
  void SetWindowsDirectory(const std::string& path);  // system dir follows: <win>\system32

  // --- Windows, shell, message boxes ---------------------------------------------
  plat::WindowHandle AddWindow(const std::string& title, bool minimized = false);
  void CloseWindow(plat::WindowHandle window);
  bool IsWindowMinimized(plat::WindowHandle window) const;
  // Called for every ShellExecuteA; its result is what the call returns
  // (default: 42 when the file exists, 2 otherwise).
  void OnShellOpen(std::function<intptr_t(const std::string& file, const std::string& params)> hook);
  const std::vector<std::string>& MessageBoxes() const;  // texts, in order
  void SetMessageBoxAnswer(int answer);                  // default IDOK

  // --- Vendor USB library ----------------------------------------------------------
  void SetUsbLibraryPresent(bool present);  // "ZiZudUru.dll" loads (default false)
  void RemoveUsbEntry(const std::string& entry);
  // A device answering OpenDeviceX(index) with handle; its descriptor's fourth
  // word holds value.
  void AddUsbDevice(int32_t index, int32_t handle, uint16_t value);

  // --- Restart -----------------------------------------------------------------------
  bool RestartRequested() const;

  // --- Mutexes and standard output ---------------------------------------------------
  const std::string& StandardOutput() const;

  // Handles, searches, tokens and libraries acquired and not yet released (the
  // library kept by LoadAndKeep does not count).
  int OpenHandleCount() const;

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace sim
