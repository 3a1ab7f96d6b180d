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
//
// The arguments of every entry, exactly (each enumeration is one entry although
// Windows is asked twice):
//   EnumPrintersA(5)  EnumPrintersA(2)  EnumMonitorsA()  EnumPrintProcessorsA(NULL)
//   OpenPrinterA(<name>)  GetPrinterA(<printer>, <cbBuf>): the size query is
//   "GetPrinterA(Office Laser, 0) -> 122"  ClosePrinter(<printer>)
//   DeletePrinter(<printer>)  DeletePrinterDriverExA(<server>, <env>, <driver>,
//   <flags>, <version>)  DeletePrinterDriverA(<server>, <env>, <driver>)
//   DeletePortA(<server>, NULL, <port>)  DeleteMonitorA(<server>, <env>, <name>)
//   DeletePrintProcessorA(<server>, <env>, <name>)  GetPrintProcessorDirectoryA()
//   RegDeleteKeyA(<subkey>)  GetCurrentDirectoryA()  GetWindowsDirectoryA()
//   GetSystemDirectoryA()  FindFirstFileA(<pattern>)  FindNextFileA(<pattern>)
//   FindClose(<pattern>)  SetFileAttributesA(<path>, 0x80)  DeleteFileA(<path>)
//   ReadFile(<path>)  OpenSCManagerA(<access>)  OpenServiceA(Spooler, 32)
//   ControlService(Spooler)  StartServiceA(Spooler)  CloseServiceHandle(Spooler)
//   CloseServiceHandle(SCManager)  GetVersionExA()  GetProcAddress(GetNativeSystemInfo)
//   GetNativeSystemInfo()  GetSystemInfo()  CreateMutexA(<name>), which ends in
//   " -> 183" when the mutex already existed (the call still succeeds)
//   WriteStdout(<text>)  LoadLibraryA(<name or path>)  FreeLibrary(<name or path>)
//   GetProcAddress(<entry>)  IsWow64Process()  Wow64DisableWow64FsRedirection(),
//   which ends in " = <result>" when it returns anything but 1 without a fault
//   Wow64RevertWow64FsRedirection()  OpenDeviceX(<index>)  GetDescriptor(<device>)
//   CloseDevice(<device>)  FindWindowA(<title>)  SetForegroundWindow(<title>)
//   BringWindowToTop(<title>)  IsIconic(<title>)  ShowWindow(<title>, 9)
//   ShellExecuteA(<file>, <params>), ending in " -> <result>" when the result is
//   32 or less  MessageBoxA(<text>)  OpenProcessToken(<access>)
//   LookupPrivilegeValueA(<name>)  AdjustTokenPrivileges(<privilege name>,
//   <attributes>)  CloseHandle(<token handle>)  ExitWindowsEx(<flags>, <reason>)
//   Sleep(<ms>)
// A handle the machine does not know (closed, never opened) appears as "#<value>"
// and its call ends in " -> 6" (windows: " -> 1400").
//
// The model's rules, beyond the Windows errors named with each setter:
// - Every spooler call fails with 1722 while the spooler is not running, and
//   printer handles opened before the spooler stopped answer 6 afterwards (they
//   can still be closed). GetPrinterA needs 84 bytes plus the bytes of the server
//   (when not empty), printer, port and driver names with their terminators.
// - DeletePortA of a port a printer uses fails with 170 (ERROR_BUSY); deleting a
//   monitor takes its ports with it; an unknown spooler environment gives 1805.
// - ControlService needs the SERVICE_STOP right, StartServiceA SERVICE_START (5
//   otherwise); AdjustTokenPrivileges needs TOKEN_ADJUST_PRIVILEGES.
// - ExitWindowsEx on Windows NT (platform id 2) fails with 1314 unless
//   SeShutdownPrivilege was enabled first.
// - A missing file whose folder is missing too gives 3 instead of 2. WOW64 leaves
//   System32\catroot, catroot2, drivers\etc, logfiles, spool and driverstore alone,
//   as Windows does. Listings are in the order of the upper-cased names (NTFS).
// - The descriptor block's fourth word carries 0xA5A5 in its high half.
// - FailCall matches `argument` inside the journal arguments without regard to
//   case. For calls that cannot fail (Sleep, the Close calls, FreeLibrary) a
//   fault only shows in the journal; GetNativeSystemInfo / GetSystemInfo then
//   report architecture 0xFFFF, MessageBoxA returns 0, IsIconic false. Error 0
//   is kept (" -> 0") by the calls whose result is not an error code
//   (OpenDeviceX, GetDescriptor, CloseDevice, FindWindowA, IsIconic, MessageBoxA);
//   the others fail with 31 (ERROR_GEN_FAILURE) instead.
// - The machine takes a lock on every call, so the core may call it from a worker
//   thread. Libraries handed out must be destroyed before the machine.
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

// One attempt to remove something, whether it succeeded or not.
struct Deletion {
  std::string call;         // the journal name
  std::string name;         // printer, driver, port, monitor, processor, key, or path as passed
  std::string server;       // spooler calls: as passed, NULL for a null pointer
  std::string environment;  // drivers, monitors, processors: as passed
  std::string port;         // DeletePrinter: the port and driver of the printer the
  std::string driver;       // handle names (empty when it names none)
  std::string reached;      // DeleteFileA: the native path reached, after WOW64 redirection
  std::string bytes;        // DeleteFileA: the file's content before the attempt
  win::Error error = 0;     // 0: removed
};

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
  // The k-th call (k >= 1) the journal records from now on fails with `error`,
  // whatever its name; replaces an earlier such request.
  void FailNthCall(size_t k, win::Error error);
  size_t CallCount() const;  // journal entries ever recorded

  // --- Journal and clock -----------------------------------------------------
  const std::vector<std::string>& Journal() const;
  // The journal entries whose name is one of `calls`, in order.
  std::vector<std::string> JournalOf(const std::set<std::string>& calls) const;
  void ClearJournal();
  const std::vector<uint32_t>& Pauses() const;  // every Sleep, in order
  uint64_t NowMs() const;                       // sum of the pauses
  // Every deletion attempt in order, and a hook told of each as it is made.
  const std::vector<Deletion>& Deletions() const;
  void OnDeletion(std::function<void(const Deletion&)> hook);
  // Runs `action` once the virtual time has reached atMs (checked at each Sleep).
  void At(uint64_t atMs, std::function<void()> action);

  // --- Machine identity (version queries, WOW64) -----------------------------
  void SetVersion(uint32_t platformId, uint32_t major, uint32_t minor, uint8_t productType);
  void SetVersionQueryFails(bool fails);
  void SetArchitecture(uint16_t native, uint16_t reported);
  void SetNativeSystemInfoAvailable(bool available);
  // A 32-bit process on 64-bit Windows: System32 is redirected to SysWOW64
  // (created here). The architectures are left to SetArchitecture.
  void SetWow64(bool wow64);
  void RemoveKernelEntry(const std::string& entry);  // e.g. "IsWow64Process"
  void SetDisableRedirectionResult(int result);      // what the disable entry returns
  bool RedirectionDisabled() const;                  // the calling thread's state now

  // --- Spooler -----------------------------------------------------------------
  void AddDriver(const std::string& name);
  void AddMonitor(const std::string& name);
  void AddPort(const std::string& name, const std::string& monitor);
  // Port (of monitor "Local Port", which is not listed) and driver are added if
  // missing; a printer of the same name is replaced. Monitors are only those added.
  void AddPrinter(const SimPrinter& printer);
  void AddProcessor(const std::string& name, const std::string& environment = "Windows NT x86");
  void SetDefaultEnvironment(const std::string& environment);
  void SetPrintProcessorDirectory(const std::string& directory);
  std::string PrintProcessorDirectory() const;
  void SetDeletePrinterDriverExAvailable(bool available);  // the Winspool entry
  void SetWinspoolLoads(bool loads);
  bool HasPrinter(const std::string& name) const;
  bool HasDriver(const std::string& name) const;
  bool HasPort(const std::string& name) const;
  bool HasMonitor(const std::string& name) const;
  bool HasProcessor(const std::string& name,
                    const std::string& environment = "Windows NT x86") const;
  void SetSpoolerState(ServiceState state);
  ServiceState SpoolerState() const;

  // --- Registry (HKEY_LOCAL_MACHINE) -------------------------------------------
  void AddKey(const std::string& path);  // parents are created too
  bool HasKey(const std::string& path) const;

  // --- Files ---------------------------------------------------------------------
  // Paths are absolute ("C:\...") or relative to the current directory, compared
  // without regard to case, never redirected by WOW64. Parent folders are created
  // as needed. A fresh machine has C:\Windows\system32 and C:\pkg.
  void AddFile(const std::string& path, const std::string& bytes = "",
               uint32_t attributes = win::kFileAttributeArchive);
  void AddDirectory(const std::string& path, uint32_t attributes = win::kFileAttributeDirectory);
  bool Exists(const std::string& path) const;
  std::string FileBytes(const std::string& path) const;  // empty when missing
  uint32_t Attributes(const std::string& path) const;    // 0 when missing
  void RemovePath(const std::string& path);              // a file, or a folder with its content
  // The folder is created when missing.
  void SetCurrentDirectory(const std::string& path);
  void SetWindowsDirectory(const std::string& path);  // system dir follows: <win>\system32
  std::string WindowsDirectory() const;

  // --- Windows, shell, message boxes ---------------------------------------------
  plat::WindowHandle AddWindow(const std::string& title, bool minimized = false);
  void CloseWindow(plat::WindowHandle window);
  bool IsWindowMinimized(plat::WindowHandle window) const;
  // Called for every ShellExecuteA; its result is what the call returns
  // (default: 42 when the file exists, 2 otherwise).
  void OnShellOpen(
      std::function<intptr_t(const std::string& file, const std::string& params)> hook);
  const std::vector<std::string>& MessageBoxes() const;  // texts, in order
  const std::vector<uint32_t>& MessageBoxTypes() const;  // their types, in the same order
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
  void AddMutex(const std::string& name);  // held by another process (names are case-sensitive)
  const std::string& StandardOutput() const;

  // Handles, searches, tokens, libraries and USB devices acquired and not yet
  // released (the library kept by LoadAndKeep and the mutex do not count).
  int OpenHandleCount() const;
  // Releases of handles that were not open: a second close, or a made-up handle.
  int InvalidReleaseCount() const;

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace sim
