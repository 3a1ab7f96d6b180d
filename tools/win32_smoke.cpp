// Smoke run of the Windows backend on a real (or Wine) system: prints what each
// platform interface answers and exits non-zero when a basic expectation fails.
// It only reads, except for a temporary file of its own in the current
// directory, the single-instance mutex of its own name and a restart of the
// print spooler service. It deletes no printer, driver, port, monitor or
// processor: the delete calls are made with names that do not exist.
#include <algorithm>
#include <cctype>
#include <fstream>
#include <string>
#include <vector>

#include "platform/win32/win32_platform.h"

namespace {

constexpr const char* kMissingName = "win32_smoke no such component";

class Smoke {
 public:
  explicit Smoke(win32::Win32Platform& machine) : machine_(machine), p_(machine.platform()) {}

  int Run() {
    Directories();
    Listing();
    WholeFile();
    Spooler();
    VersionAndWow64();
    Libraries();
    Mutex();
    RegistryAndPower();
    SpoolerRestart();
    Desktop();
    Say(failures_ == 0 ? "smoke: all expectations met"
                       : "smoke: " + std::to_string(failures_) + " expectation(s) failed");
    return failures_ == 0 ? 0 : 1;
  }

 private:
  void Say(const std::string& line) { p_.system.WriteStandardOutput((line + "\n").c_str()); }

  void Expect(bool met, const std::string& what) {
    Say(std::string(met ? "  ok    " : "  FAIL  ") + what);
    if (!met) ++failures_;
  }

  static std::string Code(win::Error error) { return std::to_string(error); }

  static bool SameText(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
             return std::tolower(static_cast<unsigned char>(x)) ==
                    std::tolower(static_cast<unsigned char>(y));
           });
  }

  static std::string Join(const std::vector<std::string>& texts) {
    std::string joined;
    for (const std::string& text : texts) joined += (joined.empty() ? "\"" : ", \"") + text + "\"";
    return "[" + joined + "]";
  }

  void Directories() {
    Say("== directories");
    win::Error current = p_.files.CurrentDirectory(&current_);
    win::Error windows = p_.files.WindowsDirectory(&windows_);
    win::Error system = p_.files.SystemDirectory(&system_);
    Say("current: " + current_ + "\nwindows: " + windows_ + "\nsystem:  " + system_);
    Expect(current == 0 && !current_.empty(), "current directory read");
    Expect(windows == 0 && !windows_.empty(), "Windows directory read");
    Expect(system == 0 && system_.size() > windows_.size() &&
               system_.compare(0, windows_.size(), windows_) == 0,
           "system directory lies in the Windows directory");
  }

  void Listing() {
    Say("== listing of " + windows_);
    plat::FindHandle search = 0;
    plat::FindData data;
    win::Error error = p_.files.FindFirst((windows_ + "\\*").c_str(), &search, &data);
    int entries = 0;
    bool sawSystemFolder = false;
    while (error == win::kSuccess) {
      ++entries;
      const bool folder = (data.attributes & win::kFileAttributeDirectory) != 0;
      if (entries <= 12) Say((folder ? "  <dir> " : "        ") + data.name);
      if (folder &&
          SameText(data.name, system_.substr(std::min(system_.size(), windows_.size() + 1)))) {
        sawSystemFolder = true;
      }
      error = p_.files.FindNext(search, &data);
    }
    if (search != 0) p_.files.FindClose(search);
    Say("  ... " + std::to_string(entries) + " entries, search ended with " + Code(error));
    Expect(entries > 2 && error == win::kNoMoreFiles, "listing ends with ERROR_NO_MORE_FILES");
    Expect(sawSystemFolder, "the system folder is listed as a folder");

    plat::FindHandle miss = 0;
    error = p_.files.FindFirst((windows_ + "\\win32_smoke_missing_*.none").c_str(), &miss, &data);
    Say("search for a missing file: " + Code(error));
    Expect(miss == 0 && (error == win::kFileNotFound || error == win::kPathNotFound),
           "a search that matches nothing fails with 2 or 3 and gives no search");
  }

  void WholeFile() {
    Say("== whole file");
    const std::string path = current_ + "\\win32_smoke.tmp";
    const std::string content("line one\r\nline two\0with a zero byte\r\n", 36);
    {
      std::ofstream out(path, std::ios::binary);
      out.write(content.data(), static_cast<std::streamsize>(content.size()));
    }
    std::string bytes(200, 'x');  // capacity to be reused
    const char* storage = bytes.data();
    win::Error error = p_.files.ReadWholeFile(path.c_str(), &bytes);
    Say("read " + path + ": " + Code(error) + ", " + std::to_string(bytes.size()) + " bytes");
    Expect(error == 0 && bytes == content, "the whole content is read, zero byte included");
    Expect(bytes.data() == storage, "the string's capacity is reused");

    error = p_.files.ReadWholeFile(current_.c_str(), &bytes);
    Say("read the current folder: " + Code(error));
    Expect(error != 0 && bytes.empty(), "a folder is an error and leaves the bytes empty");
    error = p_.files.ReadWholeFile((current_ + "\\win32_smoke_missing.none").c_str(), &bytes);
    Say("read a missing file: " + Code(error));
    Expect(error == win::kFileNotFound && bytes.empty(), "a missing file is ERROR_FILE_NOT_FOUND");

    error = p_.files.SetAttributes(path.c_str(), win::kFileAttributeReadonly);
    win::Error readOnlyDelete = p_.files.DeleteFileAt(path.c_str());
    Say("set read-only: " + Code(error) + ", delete while read-only: " + Code(readOnlyDelete));
    Expect(error == 0 && readOnlyDelete == win::kAccessDenied,
           "a read-only file is not deleted (ERROR_ACCESS_DENIED)");
    error = p_.files.SetAttributes(path.c_str(), win::kFileAttributeNormal);
    win::Error deleted = p_.files.DeleteFileAt(path.c_str());
    Say("set normal: " + Code(error) + ", delete: " + Code(deleted));
    Expect(error == 0 && deleted == 0, "the file is deleted once it is writable");
  }

  void Spooler() {
    Say("== spooler");
    std::vector<std::string> printers, ports, monitors, processors;
    win::Error error = p_.spooler.EnumLocalPrinterNames(&printers);
    Say("printers (level 5): " + Code(error) + " " + Join(printers));
    Expect(error == 0, "local printers listed");
    error = p_.spooler.EnumLocalPrinterPorts(&ports);
    Say("printer ports (level 2): " + Code(error) + " " + Join(ports));
    Expect(error == 0 && ports.size() == printers.size(), "one port per local printer");
    error = p_.spooler.EnumMonitorNames(&monitors);
    Say("monitors: " + Code(error) + " " + Join(monitors));
    Expect(error == 0, "port monitors listed");
    error = p_.spooler.EnumPrintProcessorNames(nullptr, &processors);
    Say("print processors (default environment): " + Code(error) + " " + Join(processors));
    Expect(error == 0, "print processors listed");
    error = p_.spooler.EnumPrintProcessorNames("Windows NT x86", &processors);
    Say("print processors (\"Windows NT x86\"): " + Code(error) + " " + Join(processors));
    std::string directory;
    error = p_.spooler.PrintProcessorDirectory(&directory);
    Say("print processor directory: " + Code(error) + " " + directory);
    Expect(error == 0 && !directory.empty(), "print processor directory read");

    for (const std::string& name : printers) Printer(name);

    plat::PrinterHandle missing = 0;
    error = p_.spooler.OpenPrinterHandle(kMissingName, win::kPrinterAllAccess, &missing);
    Say("open a missing printer: " + Code(error));
    Expect(error != 0 && missing == 0, "a missing printer does not open");
    error = p_.spooler.DeleteDriver(nullptr, nullptr, kMissingName);
    Say("DeletePrinterDriverA(missing): " + Code(error));
    Expect(error != 0, "a missing driver is not deleted");
    error = p_.spooler.DeleteMonitorByName("", nullptr, kMissingName);
    Say("DeleteMonitorA(\"\", missing): " + Code(error));
    Expect(error != 0, "a missing monitor is not deleted");
    error = p_.spooler.DeleteProcessorByName("", nullptr, kMissingName);
    // Not an expectation: Wine's DeletePrintProcessorA is a stub that reports success.
    Say("DeletePrintProcessorA(\"\", missing): " + Code(error));
    error = p_.spooler.DeletePortByName(nullptr, kMissingName);
    Say("DeletePortA(missing): " + Code(error) + " (not examined by the program)");
  }

  void Printer(const std::string& name) {
    plat::PrinterHandle printer = 0;
    win::Error error = p_.spooler.OpenPrinterHandle(name.c_str(), win::kPrinterAllAccess, &printer);
    Say("open \"" + name + "\": " + Code(error));
    if (error != 0) return;
    uint32_t needed = 0;
    plat::PrinterInfo2 info;
    error = p_.spooler.ReadPrinterInfo2(printer, nullptr, 0, &needed, &info);
    Say("  size query: " + Code(error) + ", " + std::to_string(needed) + " bytes");
    Expect(error == win::kInsufficientBuffer && needed > 0, "the size query asks for a buffer");
    std::vector<uint64_t> buffer((needed + 7) / 8);  // pointer-aligned
    error = p_.spooler.ReadPrinterInfo2(printer, buffer.data(), needed, &needed, &info);
    auto text = [](const char* s) { return s != nullptr ? "\"" + std::string(s) + "\"" : "NULL"; };
    Say("  level 2: " + Code(error) + " server " + text(info.pServerName) + ", name " +
        text(info.pPrinterName) + ", port " + text(info.pPortName) + ", driver " +
        text(info.pDriverName) + ", jobs " + std::to_string(info.cJobs));
    Expect(error == 0 && info.pPrinterName != nullptr && name == info.pPrinterName,
           "level 2 names the printer opened");
    p_.spooler.ClosePrinterHandle(printer);
  }

  void VersionAndWow64() {
    Say("== version and WOW64");
    plat::OsVersion version;
    bool queried = p_.system.QueryVersion(&version);
    Say("GetVersionExA: " + std::string(queried ? "ok" : "failed") + ", platform " +
        std::to_string(version.platformId) + ", " + std::to_string(version.major) + "." +
        std::to_string(version.minor) + ", product type " + std::to_string(version.productType));
    Expect(queried && version.platformId == win::kVerPlatformWin32Nt && version.major >= 5,
           "an NT version is reported");
    const bool hasNative = p_.system.HasNativeSystemInfo();
    const uint16_t native = p_.system.NativeProcessorArchitecture();
    const uint16_t own = p_.system.ProcessorArchitecture();
    Say("GetNativeSystemInfo exported: " + std::string(hasNative ? "yes" : "no") +
        ", native architecture " + std::to_string(native) + ", process architecture " +
        std::to_string(own));
    Expect(hasNative, "kernel32 exports GetNativeSystemInfo");

    auto kernel = p_.libraries.LoadKernel((system_ + "\\kernel32.dll").c_str());
    Expect(kernel != nullptr, "kernel32.dll loads by its full path");
    if (!kernel) return;
    const bool hasIsWow64 = kernel->HasEntry("IsWow64Process");
    int isWow64 = -1;
    const bool called = hasIsWow64 && kernel->CallIsWow64Process(&isWow64);
    Say("IsWow64Process: entry " + std::string(hasIsWow64 ? "found" : "missing") + ", call " +
        (called ? "ok" : "failed") + ", WOW64 = " + std::to_string(isWow64));
    Expect(called, "IsWow64Process answers");
    if (sizeof(void*) == 8) Expect(isWow64 == 0, "a 64-bit process is not under WOW64");
    if (sizeof(void*) == 4) {
      Expect(isWow64 == (native == win::kProcessorArchitectureAmd64 ? 1 : 0),
             "a 32-bit process is under WOW64 exactly on a 64-bit system");
    }
    Expect(kernel->HasEntry("Wow64DisableWow64FsRedirection") &&
               kernel->HasEntry("Wow64RevertWow64FsRedirection"),
           "the redirection entries are exported");
    void* saved = nullptr;
    int disabled = kernel->CallWow64DisableFsRedirection(&saved);
    int reverted = disabled == 1 ? kernel->CallWow64RevertFsRedirection(saved) : -1;
    Say("Wow64DisableWow64FsRedirection: " + std::to_string(disabled) +
        ", revert: " + std::to_string(reverted));
  }

  void Libraries() {
    Say("== libraries");
    const void* entry = nullptr;
    bool loaded = p_.libraries.LoadAndKeep("Winspool.drv", "DeletePrinterDriverExA", &entry);
    Say(std::string("Winspool.drv from the system directory: ") + (loaded ? "loaded" : "failed") +
        ", DeletePrinterDriverExA " + (entry != nullptr ? "found" : "missing"));
    Expect(loaded && entry != nullptr, "DeletePrinterDriverExA is bound");
    if (entry != nullptr) {
      win::Error error = p_.spooler.DeleteDriverEx(entry, nullptr, nullptr, kMissingName,
                                                   win::kDpdDeleteUnusedFiles, 0);
      Say("DeletePrinterDriverExA(missing) through the bound entry: " + Code(error));
      Expect(error != 0, "a missing driver is not deleted through the bound entry");
    }
    const void* none = &entry;
    loaded = p_.libraries.LoadAndKeep("win32_smoke_missing.dll", "Anything", &none);
    Expect(!loaded && none == nullptr, "a missing library is not loaded");
    auto usb = p_.libraries.LoadUsb("ZiZudUru.dll");
    Say(std::string("vendor USB library: ") + (usb ? "loaded" : "not present"));
    if (usb) {
      Say(std::string("  entries: OpenDeviceX ") + (usb->HasEntry("OpenDeviceX") ? "yes" : "no") +
          ", GetDescriptor " + (usb->HasEntry("GetDescriptor") ? "yes" : "no") + ", CloseDevice " +
          (usb->HasEntry("CloseDevice") ? "yes" : "no"));
    }
  }

  void Mutex() {
    Say("== single-instance mutex");
    bool existed = true;
    bool created = p_.system.CreateOwnedMutex("win32_smoke single instance", &existed);
    Say("first: " + std::string(created ? "created" : "failed") +
        (existed ? ", already existed" : ", new"));
    Expect(created && !existed, "the first creation makes a new mutex");
    created = p_.system.CreateOwnedMutex("win32_smoke single instance", &existed);
    Say("second: " + std::string(created ? "created" : "failed") +
        (existed ? ", already existed" : ", new"));
    Expect(created && existed, "the second creation sees ERROR_ALREADY_EXISTS");
  }

  void RegistryAndPower() {
    Say("== registry and token");
    win::Error error = p_.registry.DeleteLocalMachineKey("SOFTWARE\\win32_smoke\\no such key");
    Say("RegDeleteKeyA(missing key): " + Code(error));
    Expect(error == win::kFileNotFound, "a missing key is ERROR_FILE_NOT_FOUND");

    plat::TokenHandle token = 0;
    error = p_.power.OpenProcessTokenHandle(win::kTokenAdjustPrivileges, &token);
    Say("OpenProcessToken: " + Code(error));
    Expect(error == 0 && token != 0, "the process token opens");
    plat::Luid luid;
    win::Error lookup = p_.power.LookupPrivilege("SeShutdownPrivilege", &luid);
    Say("LookupPrivilegeValueA(SeShutdownPrivilege): " + Code(lookup) + ", luid " +
        std::to_string(luid.highPart) + ":" + std::to_string(luid.lowPart));
    Expect(lookup == 0 && luid.lowPart != 0, "the shutdown privilege is known");
    if (token != 0 && lookup == 0) {
      // Enabling the privilege is harmless; the restart itself is never asked for.
      error = p_.power.AdjustOnePrivilege(token, luid, win::kSePrivilegeEnabled);
      Say("AdjustTokenPrivileges: " + Code(error));
    }
    p_.power.CloseToken(token);
  }

  void SpoolerRestart() {
    Say("== spooler restart");
    plat::ServiceHandle manager = 0;
    win::Error error = p_.services.OpenManager(win::kScManagerAllAccess, &manager);
    Say("OpenSCManagerA: " + Code(error));
    Expect(error == 0 && manager != 0, "the service control manager opens");
    if (error != 0) return;
    plat::ServiceHandle service = 0;
    error = p_.services.OpenServiceByName(manager, "Spooler", win::kServiceStop, &service);
    win::Error stop = error == 0 ? p_.services.SendStop(service) : error;
    p_.services.CloseServiceHandle(service);
    Say("open for stop: " + Code(error) + ", stop: " + Code(stop));
    Expect(error == 0, "the Spooler service opens for stopping");
    p_.clock.Sleep(2000);
    service = 0;
    error = p_.services.OpenServiceByName(manager, "Spooler", win::kServiceStart, &service);
    win::Error start = error == 0 ? p_.services.StartWithoutArguments(service) : error;
    p_.services.CloseServiceHandle(service);
    Say("open for start: " + Code(error) + ", start: " + Code(start));
    Expect(error == 0 && (start == 0 || start == win::kServiceAlreadyRunning),
           "the Spooler service runs again");
    service = 0;
    error = p_.services.OpenServiceByName(manager, kMissingName, win::kServiceStart, &service);
    Say("open a missing service: " + Code(error));
    Expect(error == win::kServiceDoesNotExist && service == 0,
           "a missing service is ERROR_SERVICE_DOES_NOT_EXIST");
    p_.services.CloseServiceHandle(manager);
  }

  void Desktop() {
    Say("== desktop");
    machine_.desktop().SetApplicationTitle("win32_smoke");
    plat::WindowHandle window = p_.desktop.FindTopLevelWindow("win32_smoke no such window");
    Say("FindWindowA(missing title): " + std::to_string(window));
    Expect(window == 0, "no window carries a made-up title");
    intptr_t opened = p_.desktop.ShellOpen((current_ + "\\win32_smoke_missing.exe").c_str(), "22",
                                           win::kSwShowNormal);
    Say("ShellExecuteA(missing program): " + std::to_string(opened));
    Expect(opened <= 32, "a missing program is not started");
  }

  win32::Win32Platform& machine_;
  plat::Platform& p_;
  std::string current_, windows_, system_;
  int failures_ = 0;
};

}  // namespace

int main() {
  win32::Win32Platform machine;
  return Smoke(machine).Run();
}
