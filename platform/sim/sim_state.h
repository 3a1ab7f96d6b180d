// The simulated machine's shared state and the objects that answer each
// platform interface from it. Private to platform/sim.
#pragma once
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "platform/platform.h"
#include "platform/sim/sim_machine.h"

namespace sim::detail {

struct SimState;

// --- Text helpers ------------------------------------------------------------------
std::string Lower(std::string text);
bool SameText(const std::string& a, const std::string& b);                  // ASCII case ignored
bool ContainsText(const std::string& haystack, const std::string& needle);  // case ignored
std::string ArgText(const char* text);                                      // NULL for null
std::string HexText(uint32_t value);                                        // 0x20
// Windows file-name matching of one name against one pattern of * and ?.
bool WildcardMatch(const std::string& pattern, const std::string& name);

// Errors the core has no name for.
constexpr win::Error kGenFailure = 31;
constexpr win::Error kBusy = 170;
constexpr win::Error kInvalidWindowHandle = 1400;
constexpr win::Error kUnknownPort = 1796;
constexpr win::Error kInvalidEnvironment = 1805;
constexpr win::Error kNoSuchPrivilege = 1313;
constexpr win::Error kPrivilegeNotHeld = 1314;
constexpr win::Error kRpcServerUnavailable = 1722;

// --- The file tree -------------------------------------------------------------------
// Full paths are kept as a drive ("C:") followed by names; keys are lower case.
struct FileEntry {
  std::string name;  // as created, for listings
  bool directory = false;
  uint32_t attributes = 0;
  std::string bytes;
};

class FileTree {
 public:
  // Splits an absolute or relative path into drive and names, resolving "." and
  // "..", against `current` (itself absolute). False: not a usable path.
  static bool Split(const std::string& path, const std::string& current,
                    std::vector<std::string>* parts);
  static std::string Join(const std::vector<std::string>& parts);  // "C:\a\b", "C:\"

  const FileEntry* Find(const std::vector<std::string>& parts) const;
  FileEntry* Find(const std::vector<std::string>& parts);
  // Creates the entry and every missing folder above it; an existing entry is
  // replaced unless it is a folder being added again.
  FileEntry& Put(const std::vector<std::string>& parts, bool directory, uint32_t attributes,
                 const std::string& bytes);
  void Remove(const std::vector<std::string>& parts);  // with everything below
  // The entries directly inside a folder, in case-insensitive name order.
  std::vector<const FileEntry*> Children(const std::vector<std::string>& folder) const;
  bool HasChildren(const std::vector<std::string>& folder) const;

 private:
  static std::string Key(const std::vector<std::string>& parts);
  std::map<std::string, FileEntry> entries_;  // key: lower-case joined path
};

// --- Objects behind the platform interfaces --------------------------------------------
class SimSpooler final : public plat::Spooler {
 public:
  explicit SimSpooler(SimState& state) : s_(state) {}
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

 private:
  win::Error RemoveDriver(const char* call, const std::string& args, const char* server,
                          const char* environment, const char* driver);
  SimState& s_;
};

class SimRegistry final : public plat::Registry {
 public:
  explicit SimRegistry(SimState& state) : s_(state) {}
  win::Error DeleteLocalMachineKey(const char* subkey) override;

 private:
  SimState& s_;
};

class SimFiles final : public plat::FileSystem {
 public:
  explicit SimFiles(SimState& state) : s_(state) {}
  win::Error CurrentDirectory(std::string* directory) override;
  win::Error WindowsDirectory(std::string* directory) override;
  win::Error SystemDirectory(std::string* directory) override;
  win::Error FindFirst(const char* pattern, plat::FindHandle* search,
                       plat::FindData* data) override;
  win::Error FindNext(plat::FindHandle search, plat::FindData* data) override;
  void FindClose(plat::FindHandle search) override;
  win::Error SetAttributes(const char* path, uint32_t attributes) override;
  win::Error DeleteFileAt(const char* path) override;
  win::Error ReadWholeFile(const char* path, std::string* bytes) override;

 private:
  SimState& s_;
};

class SimServices final : public plat::ServiceControl {
 public:
  explicit SimServices(SimState& state) : s_(state) {}
  win::Error OpenManager(uint32_t access, plat::ServiceHandle* manager) override;
  win::Error OpenServiceByName(plat::ServiceHandle manager, const char* name, uint32_t access,
                               plat::ServiceHandle* service) override;
  win::Error SendStop(plat::ServiceHandle service) override;
  win::Error StartWithoutArguments(plat::ServiceHandle service) override;
  void CloseServiceHandle(plat::ServiceHandle handle) override;

 private:
  SimState& s_;
};

class SimSystem final : public plat::SystemQueries {
 public:
  explicit SimSystem(SimState& state) : s_(state) {}
  bool QueryVersion(plat::OsVersion* version) override;
  bool HasNativeSystemInfo() override;
  uint16_t NativeProcessorArchitecture() override;
  uint16_t ProcessorArchitecture() override;
  bool CreateOwnedMutex(const char* name, bool* alreadyExisted) override;
  void WriteStandardOutput(const char* text) override;

 private:
  SimState& s_;
};

class SimLibraries final : public plat::Libraries {
 public:
  explicit SimLibraries(SimState& state) : s_(state) {}
  std::unique_ptr<plat::KernelLibrary> LoadKernel(const char* nameOrPath) override;
  std::unique_ptr<plat::UsbLibrary> LoadUsb(const char* name) override;
  bool LoadAndKeep(const char* library, const char* entryName, const void** entry) override;

 private:
  SimState& s_;
};

class SimDesktop final : public plat::Desktop {
 public:
  explicit SimDesktop(SimState& state) : s_(state) {}
  plat::WindowHandle FindTopLevelWindow(const char* title) override;
  void SetForeground(plat::WindowHandle window) override;
  void BringToTop(plat::WindowHandle window) override;
  bool IsMinimized(plat::WindowHandle window) override;
  void Restore(plat::WindowHandle window) override;
  intptr_t ShellOpen(const char* file, const char* parameters, int show) override;
  int ShowMessageBox(const char* text, uint32_t type) override;

 private:
  std::string WindowArg(plat::WindowHandle window) const;
  SimState& s_;
};

class SimPower final : public plat::Power {
 public:
  explicit SimPower(SimState& state) : s_(state) {}
  win::Error OpenProcessTokenHandle(uint32_t access, plat::TokenHandle* token) override;
  win::Error LookupPrivilege(const char* name, plat::Luid* luid) override;
  win::Error AdjustOnePrivilege(plat::TokenHandle token, const plat::Luid& luid,
                                uint32_t attributes) override;
  void CloseToken(plat::TokenHandle token) override;
  win::Error RequestExitWindows(uint32_t flags, uint32_t reason) override;

 private:
  SimState& s_;
};

class SimClock final : public plat::Clock {
 public:
  explicit SimClock(SimState& state) : s_(state) {}
  void Sleep(uint32_t milliseconds) override;

 private:
  SimState& s_;
};

// --- The state --------------------------------------------------------------------------
enum class HandleKind { kPrinter, kSearch, kManager, kService, kLibrary, kToken };

struct OpenHandle {
  HandleKind kind = HandleKind::kPrinter;
  std::string label;  // how the journal names the object (printer name, pattern, ...)
  uint32_t access = 0;
  uint64_t spoolerGeneration = 0;    // printers: the spooler run they belong to
  std::vector<std::string> listing;  // searches: the names still to hand out
  std::vector<uint32_t> listingAttributes;
  size_t next = 0;
};

struct Fault {
  std::string call;
  win::Error error;
  int times;  // < 0: for ever
  std::string argument;
};

struct SimPort {
  std::string name;
  std::string monitor;
};

struct SimProcessor {
  std::string name;
  std::string environment;
};

struct SimWindow {
  std::string title;
  bool minimized = false;
};

struct UsbDevice {
  int32_t handle = 0;
  uint16_t value = 0;
};

struct SimState {
  SimState();

  // Every entry point takes this lock: the core calls from its worker thread
  // while a test's thread may look on. Recursive, so clock actions and hooks may
  // call back into the machine.
  std::recursive_mutex mutex;

  // Journal and fault injection.
  std::vector<std::string> journal;
  std::vector<Fault> faults;
  size_t recorded = 0;  // journal entries ever made
  size_t failAt = 0;    // FailNthCall: the value of recorded + 1 whose call fails; 0: none
  win::Error failAtError = 0;
  std::vector<Deletion> deletions;
  std::function<void(const Deletion&)> deletionHook;
  void RecordDeletion(Deletion deletion);
  // A deletion of call for name, with the server and environment as passed.
  static Deletion MakeDeletion(const std::string& call, const std::string& name, win::Error error,
                               const std::string& server = "", const std::string& environment = "");
  // Whether a fault is injected for this call (consuming one use) and its error.
  bool Faulted(const std::string& call, const std::string& args, win::Error* error);
  // The same for calls that report an error code: the error, 0 when none (a
  // fault injected with error 0 gives 31, ERROR_GEN_FAILURE).
  win::Error Injected(const std::string& call, const std::string& args);
  // Appends "call(args)" and, when error is non-zero or failed is set, " -> error".
  void Record(const std::string& call, const std::string& args, win::Error error = 0,
              bool failed = false);

  // Handles of every kind come from one counter so that none is ever reused.
  uintptr_t nextHandle = 0x104;
  std::map<uintptr_t, OpenHandle> handles;
  int invalidReleases = 0;
  uintptr_t Acquire(HandleKind kind, const std::string& label, uint32_t access = 0);
  OpenHandle* Find(uintptr_t handle, HandleKind kind);
  // False (and counted as an invalid release) when handle is not open as kind.
  bool Release(uintptr_t handle, HandleKind kind);
  std::string HandleLabel(uintptr_t handle, HandleKind kind);  // "#<n>" when unknown

  // Clock.
  std::vector<uint32_t> pauses;
  uint64_t nowMs = 0;
  std::multimap<uint64_t, std::function<void()>> actions;
  void RunDueActions();

  // Identity and WOW64.
  plat::OsVersion version;
  bool versionQueryFails = false;
  uint16_t nativeArchitecture = win::kProcessorArchitectureIntel;
  uint16_t reportedArchitecture = win::kProcessorArchitectureIntel;
  bool nativeSystemInfoAvailable = true;
  bool wow64 = false;
  std::set<std::string> removedKernelEntries;  // lower case
  int disableRedirectionResult = 1;
  std::map<std::thread::id, bool> redirectionDisabled;
  bool RedirectionOffForThisThread() const;

  // Spooler.
  std::vector<SimPrinter> printers;
  std::vector<std::string> drivers;
  std::vector<std::string> monitors;
  std::vector<SimPort> ports;
  std::vector<SimProcessor> processors;
  std::string defaultEnvironment = "Windows NT x86";
  std::string printProcessorDirectory = "C:\\Windows\\system32\\spool\\prtprocs\\w32x86";
  bool deleteDriverExAvailable = true;
  bool winspoolLoads = true;
  ServiceState spoolerState = ServiceState::kRunning;
  uint64_t spoolerGeneration = 0;  // grows at every stop: older printer handles go stale
  SimPrinter* FindPrinter(const std::string& name);
  bool SpoolerRunning() const { return spoolerState == ServiceState::kRunning; }

  // Registry: lower-case key paths under HKEY_LOCAL_MACHINE.
  std::set<std::string> keys;
  static std::string KeyPath(const std::string& path);  // trimmed of backslashes, lower case

  // Files.
  FileTree files;
  std::string currentDirectory = "C:\\pkg";
  std::string windowsDirectory = "C:\\Windows";
  // The path a platform call reaches: resolved against the current directory and,
  // under WOW64 with redirection on, System32 swapped for SysWOW64.
  bool Resolve(const char* path, std::vector<std::string>* parts) const;

  // Desktop.
  std::map<plat::WindowHandle, SimWindow> windows;
  plat::WindowHandle nextWindow = 0x10010;
  std::function<intptr_t(const std::string&, const std::string&)> shellHook;
  std::vector<std::string> messageBoxes;
  std::vector<uint32_t> messageBoxTypes;
  int messageBoxAnswer = win::kIdOk;

  // USB library.
  bool usbLibraryPresent = false;
  std::set<std::string> removedUsbEntries;  // lower case
  std::map<int32_t, UsbDevice> usbDevices;  // by index
  std::multiset<int32_t> openDevices;

  // Power.
  std::set<std::string> enabledPrivileges;  // lower case
  bool restartRequested = false;

  // Mutexes (names are case-sensitive) and standard output.
  std::set<std::string> mutexes;
  std::string standardOutput;

  SimSpooler spooler{*this};
  SimRegistry registry{*this};
  SimFiles fileSystem{*this};
  SimServices services{*this};
  SimSystem system{*this};
  SimLibraries libraries{*this};
  SimDesktop desktop{*this};
  SimPower power{*this};
  SimClock clock{*this};
  plat::Platform platform{spooler,   registry, fileSystem, services, system,
                          libraries, desktop,  power,      clock};
};

using Lock = std::lock_guard<std::recursive_mutex>;

}  // namespace sim::detail
