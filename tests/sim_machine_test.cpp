// The simulated machine's rules that the engine's tests rely on.
#include "platform/sim/sim_machine.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

namespace {

using Strings = std::vector<std::string>;

class SimMachineTest : public ::testing::Test {
 protected:
  plat::Platform& p() { return machine.platform(); }

  // Every name a search hands out, or the error that ended it early.
  Strings List(const char* pattern, win::Error* firstError = nullptr) {
    Strings names;
    plat::FindHandle search = 0;
    plat::FindData data;
    const win::Error error = p().files.FindFirst(pattern, &search, &data);
    if (firstError) *firstError = error;
    if (error) return names;
    do names.push_back(data.name);
    while (p().files.FindNext(search, &data) == win::kSuccess);
    p().files.FindClose(search);
    return names;
  }

  uint32_t FindAttributes(const char* pattern, const std::string& name) {
    plat::FindHandle search = 0;
    plat::FindData data;
    uint32_t found = 0;
    if (p().files.FindFirst(pattern, &search, &data)) return 0;
    do
      if (data.name == name) found = data.attributes;
    while (p().files.FindNext(search, &data) == win::kSuccess);
    p().files.FindClose(search);
    return found;
  }

  bool Found(const char* path) { return !List(path).empty(); }

  sim::Machine machine;
};

// --- Spooler ----------------------------------------------------------------------------

TEST_F(SimMachineTest, DriverAndMonitorInUseUntilThePrinterIsGone) {
  machine.AddMonitor("ZT USB Monitor");
  machine.AddPort("ZTUSB1", "ZT USB Monitor");
  machine.AddPrinter({"Office Laser", "ZTUSB1", "ZT Driver", "", 0});
  plat::Spooler& spooler = p().spooler;

  EXPECT_EQ(spooler.DeleteDriver(nullptr, nullptr, "ZT Driver"), win::kPrinterDriverInUse);
  EXPECT_EQ(spooler.DeleteDriverEx(&machine, nullptr, nullptr, "zt driver", 1, 0),
            win::kPrinterDriverInUse);
  EXPECT_EQ(spooler.DeleteMonitorByName("", nullptr, "ZT USB Monitor"), win::kPrintMonitorInUse);

  plat::PrinterHandle printer = 0;
  ASSERT_EQ(spooler.OpenPrinterHandle("office laser", win::kPrinterAllAccess, &printer), 0u);
  ASSERT_EQ(spooler.DeletePrinterByHandle(printer), 0u);
  spooler.ClosePrinterHandle(printer);

  EXPECT_EQ(spooler.DeleteDriverEx(&machine, nullptr, nullptr, "ZT Driver", 1, 0), 0u);
  EXPECT_EQ(spooler.DeleteMonitorByName("", nullptr, "ZT USB Monitor"), 0u);
  EXPECT_FALSE(machine.HasDriver("ZT Driver"));
  EXPECT_FALSE(machine.HasMonitor("ZT USB Monitor"));
  EXPECT_FALSE(machine.HasPort("ZTUSB1"));  // went with its monitor

  EXPECT_EQ(spooler.DeleteDriver(nullptr, nullptr, "ZT Driver"), win::kUnknownPrinterDriver);
  EXPECT_EQ(spooler.DeleteMonitorByName("", nullptr, "ZT USB Monitor"), win::kUnknownPrintMonitor);
  EXPECT_EQ(spooler.DeletePortByName(nullptr, "ZTUSB1"), 1796u);
  EXPECT_EQ(spooler.OpenPrinterHandle("Office Laser", win::kPrinterAllAccess, &printer),
            win::kInvalidPrinterName);

  EXPECT_EQ(machine.JournalOf({"DeletePrinterDriverA", "DeletePrinterDriverExA", "DeleteMonitorA"}),
            (Strings{"DeletePrinterDriverA(NULL, NULL, ZT Driver) -> 3001",
                     "DeletePrinterDriverExA(NULL, NULL, zt driver, 1, 0) -> 3001",
                     "DeleteMonitorA(, NULL, ZT USB Monitor) -> 3008",
                     "DeletePrinterDriverExA(NULL, NULL, ZT Driver, 1, 0)",
                     "DeleteMonitorA(, NULL, ZT USB Monitor)",
                     "DeletePrinterDriverA(NULL, NULL, ZT Driver) -> 1797",
                     "DeleteMonitorA(, NULL, ZT USB Monitor) -> 3000"}));
}

TEST_F(SimMachineTest, PrinterInfoIsSizedThenWrittenIntoTheCallersBuffer) {
  machine.AddPrinter({"Office Laser", "ZTIP_1", "ZT Driver", "", 2});
  machine.AddPrinter({"Remote", "LPT1:", "Drv", "\\\\SRV", 0});
  plat::Spooler& spooler = p().spooler;
  plat::PrinterHandle printer = 0;
  ASSERT_EQ(spooler.OpenPrinterHandle("Office Laser", win::kPrinterAllAccess, &printer), 0u);

  uint32_t needed = 0;
  plat::PrinterInfo2 info;
  ASSERT_EQ(spooler.ReadPrinterInfo2(printer, nullptr, 0, &needed, &info),
            win::kInsufficientBuffer);
  EXPECT_EQ(needed, 84u + 13 + 7 + 10);
  std::vector<char> small(needed - 1);
  EXPECT_EQ(spooler.ReadPrinterInfo2(printer, small.data(), needed - 1, &needed, &info),
            win::kInsufficientBuffer);

  std::vector<char> buffer(needed);
  ASSERT_EQ(spooler.ReadPrinterInfo2(printer, buffer.data(), needed, &needed, &info), 0u);
  const char* begin = buffer.data();
  for (const char* text : {info.pPrinterName, info.pPortName, info.pDriverName}) {
    EXPECT_GE(text, begin);
    EXPECT_LT(text, begin + needed);
  }
  EXPECT_EQ(info.pServerName, nullptr);
  EXPECT_STREQ(info.pPortName, "ZTIP_1");
  EXPECT_STREQ(info.pDriverName, "ZT Driver");
  EXPECT_EQ(info.cJobs, 2u);
  spooler.ClosePrinterHandle(printer);

  ASSERT_EQ(spooler.OpenPrinterHandle("Remote", win::kPrinterAllAccess, &printer), 0u);
  spooler.ReadPrinterInfo2(printer, nullptr, 0, &needed, &info);
  buffer.assign(needed, 0);
  ASSERT_EQ(spooler.ReadPrinterInfo2(printer, buffer.data(), needed, &needed, &info), 0u);
  EXPECT_STREQ(info.pServerName, "\\\\SRV");
  spooler.ClosePrinterHandle(printer);

  EXPECT_EQ(machine.JournalOf({"GetPrinterA"})[0], "GetPrinterA(Office Laser, 0) -> 122");
  EXPECT_EQ(machine.JournalOf({"GetPrinterA"})[2], "GetPrinterA(Office Laser, 114)");
}

TEST_F(SimMachineTest, StoppedSpoolerRefusesEveryCallAndOldHandlesDie) {
  machine.AddPrinter({"Office Laser", "USB001", "ZT Driver", "", 0});
  plat::Spooler& spooler = p().spooler;
  plat::PrinterHandle printer = 0;
  ASSERT_EQ(spooler.OpenPrinterHandle("Office Laser", win::kPrinterAllAccess, &printer), 0u);

  machine.SetSpoolerState(sim::ServiceState::kStopped);
  std::vector<std::string> names;
  std::string directory;
  EXPECT_EQ(spooler.EnumLocalPrinterNames(&names), 1722u);
  EXPECT_EQ(spooler.EnumMonitorNames(&names), 1722u);
  EXPECT_EQ(spooler.PrintProcessorDirectory(&directory), 1722u);
  EXPECT_EQ(spooler.DeleteDriver(nullptr, nullptr, "ZT Driver"), 1722u);

  machine.SetSpoolerState(sim::ServiceState::kRunning);
  uint32_t needed = 0;
  plat::PrinterInfo2 info;
  EXPECT_EQ(spooler.ReadPrinterInfo2(printer, nullptr, 0, &needed, &info), win::kInvalidHandle);
  spooler.ClosePrinterHandle(printer);  // a stale handle still closes
  EXPECT_EQ(machine.OpenHandleCount(), 0);
  EXPECT_EQ(machine.InvalidReleaseCount(), 0);
}

TEST_F(SimMachineTest, ProcessorsBelongToAnEnvironmentAndNullMeansTheDefault) {
  machine.AddProcessor("ZTProc");
  machine.AddProcessor("ZTProc64", "Windows x64");
  plat::Spooler& spooler = p().spooler;
  std::vector<std::string> names;
  ASSERT_EQ(spooler.EnumPrintProcessorNames(nullptr, &names), 0u);
  EXPECT_EQ(names, Strings{"ZTProc"});
  machine.SetDefaultEnvironment("Windows x64");
  ASSERT_EQ(spooler.EnumPrintProcessorNames(nullptr, &names), 0u);
  EXPECT_EQ(names, Strings{"ZTProc64"});
  EXPECT_EQ(spooler.DeleteProcessorByName("", nullptr, "ZTProc"), win::kUnknownPrintProcessor);
  EXPECT_EQ(spooler.DeleteProcessorByName("", nullptr, "ZTProc64"), 0u);
  EXPECT_EQ(spooler.DeleteProcessorByName("", "Windows NT x86", "ztproc"), 0u);
  EXPECT_FALSE(machine.HasProcessor("ZTProc"));
}

// --- Services ------------------------------------------------------------------------------

TEST_F(SimMachineTest, SpoolerServiceStopsAndStartsByItsState) {
  plat::ServiceControl& services = p().services;
  plat::ServiceHandle manager = 0, stop = 0, start = 0, other = 0;
  ASSERT_EQ(services.OpenManager(win::kScManagerAllAccess, &manager), 0u);
  EXPECT_EQ(services.OpenServiceByName(manager, "NoSuch", win::kServiceStop, &other),
            win::kServiceDoesNotExist);
  ASSERT_EQ(services.OpenServiceByName(manager, "Spooler", win::kServiceStop, &stop), 0u);
  ASSERT_EQ(services.OpenServiceByName(manager, "spooler", win::kServiceStart, &start), 0u);

  EXPECT_EQ(services.StartWithoutArguments(start), win::kServiceAlreadyRunning);
  EXPECT_EQ(services.SendStop(stop), 0u);
  EXPECT_EQ(machine.SpoolerState(), sim::ServiceState::kStopped);
  EXPECT_EQ(services.SendStop(stop), win::kServiceNotActive);
  EXPECT_EQ(services.StartWithoutArguments(stop), win::kAccessDenied);  // opened for stopping
  EXPECT_EQ(services.StartWithoutArguments(start), 0u);
  EXPECT_EQ(machine.SpoolerState(), sim::ServiceState::kRunning);
  machine.SetSpoolerState(sim::ServiceState::kDisabled);
  EXPECT_EQ(services.StartWithoutArguments(start), win::kServiceDisabled);

  services.CloseServiceHandle(stop);
  services.CloseServiceHandle(start);
  services.CloseServiceHandle(manager);
  EXPECT_EQ(machine.OpenHandleCount(), 0);

  machine.FailCall("OpenSCManagerA", win::kAccessDenied, -1);
  EXPECT_EQ(services.OpenManager(win::kScManagerAllAccess, &manager), win::kAccessDenied);
  EXPECT_EQ(manager, 0u);
  EXPECT_EQ(machine.Journal().back(), "OpenSCManagerA(983103) -> 5");
}

// --- Registry -------------------------------------------------------------------------------

TEST_F(SimMachineTest, RegistryDeletesOnlyLeafKeys) {
  machine.AddKey("SOFTWARE\\QORVELIN\\PORTNAME");
  plat::Registry& registry = p().registry;
  EXPECT_EQ(registry.DeleteLocalMachineKey("SOFTWARE\\QORVELIN"), win::kAccessDenied);
  EXPECT_EQ(registry.DeleteLocalMachineKey("software\\qorvelin\\portname"), 0u);
  EXPECT_EQ(registry.DeleteLocalMachineKey("SOFTWARE\\QORVELIN\\PORTNAME"), win::kFileNotFound);
  EXPECT_EQ(registry.DeleteLocalMachineKey("SOFTWARE\\QORVELIN"), 0u);
  EXPECT_TRUE(machine.HasKey("SOFTWARE"));
  EXPECT_EQ(machine.Journal().front(), "RegDeleteKeyA(SOFTWARE\\QORVELIN) -> 5");
}

// --- Files ---------------------------------------------------------------------------------

TEST_F(SimMachineTest, ListingsStartWithDotsThenNamesWithoutRegardToCase) {
  machine.AddFile("C:\\Windows\\inf\\oem2.inf");
  machine.AddFile("C:\\Windows\\inf\\OEM1.INF");
  machine.AddFile("C:\\Windows\\inf\\oem1.pnf");
  machine.AddDirectory("C:\\Windows\\inf\\Sub");
  machine.AddFile("D:\\top.txt");

  struct Case {
    const char* pattern;
    Strings names;
    win::Error error;
  };
  const Case cases[] = {
      {"C:\\Windows\\inf\\*.*", {".", "..", "OEM1.INF", "oem1.pnf", "oem2.inf", "Sub"}, 0},
      {"C:\\Windows\\inf\\*", {".", "..", "OEM1.INF", "oem1.pnf", "oem2.inf", "Sub"}, 0},
      {"c:\\windows\\INF\\*.inf", {"OEM1.INF", "oem2.inf"}, 0},
      {"C:\\Windows\\inf\\oem?.pnf", {"oem1.pnf"}, 0},
      {"C:\\Windows\\inf\\Sub\\*.*", {".", ".."}, 0},
      {"D:\\*.*", {"top.txt"}, 0},  // a drive root has no dots
      {"C:\\Windows\\inf\\*.cat", {}, win::kFileNotFound},
      {"C:\\Windows\\nowhere\\*.inf", {}, win::kPathNotFound},
      {"C:\\Windows\\inf\\oem2.inf", {"oem2.inf"}, 0},
  };
  for (const Case& c : cases) {
    win::Error error = 0;
    EXPECT_EQ(List(c.pattern, &error), c.names) << c.pattern;
    EXPECT_EQ(error, c.error) << c.pattern;
  }
  EXPECT_EQ(machine.OpenHandleCount(), 0);

  plat::FindHandle search = 0;
  plat::FindData data;
  ASSERT_EQ(p().files.FindFirst("C:\\Windows\\inf\\*.inf", &search, &data), 0u);
  EXPECT_EQ(p().files.FindNext(search, &data), 0u);
  EXPECT_EQ(p().files.FindNext(search, &data), win::kNoMoreFiles);
  p().files.FindClose(search);
  EXPECT_EQ(machine.JournalOf({"FindFirstFileA", "FindNextFileA", "FindClose"}).back(),
            "FindClose(C:\\Windows\\inf\\*.inf)");
}

TEST_F(SimMachineTest, DotAndDotDotActOnTheFolderAndItsParent) {
  machine.AddDirectory("D:\\x\\y", win::kFileAttributeDirectory | win::kFileAttributeHidden);
  machine.AddFile("D:\\x\\y\\f.txt", "", win::kFileAttributeReadonly);
  plat::FileSystem& files = p().files;

  EXPECT_EQ(FindAttributes("D:\\x\\y\\*", "."), 0x12u);
  EXPECT_EQ(FindAttributes("D:\\x\\y\\*", ".."), machine.Attributes("D:\\x"));

  ASSERT_EQ(files.SetAttributes("D:\\x\\y\\.", win::kFileAttributeNormal), 0u);
  EXPECT_EQ(machine.Attributes("D:\\x\\y"), win::kFileAttributeDirectory);
  ASSERT_EQ(files.SetAttributes("D:\\x\\y\\..", win::kFileAttributeHidden), 0u);
  EXPECT_EQ(machine.Attributes("D:\\x"), 0x12u);
  ASSERT_EQ(files.SetAttributes("D:\\x\\y\\f.txt", win::kFileAttributeNormal), 0u);
  EXPECT_EQ(machine.Attributes("D:\\x\\y\\f.txt"), win::kFileAttributeNormal);
  EXPECT_EQ(machine.JournalOf({"SetFileAttributesA"}).front(),
            "SetFileAttributesA(D:\\x\\y\\., 0x80)");
}

TEST_F(SimMachineTest, DeletingAndReadingFilesFollowTheWindowsErrors) {
  machine.AddFile("C:\\pkg\\Uninstall.ini", "[ZTPRINTER]");
  machine.AddFile("C:\\pkg\\locked.dll", "", win::kFileAttributeReadonly);
  plat::FileSystem& files = p().files;

  std::string bytes = "stale";
  EXPECT_EQ(files.ReadWholeFile("uninstall.INI", &bytes), 0u);  // relative to C:\pkg
  EXPECT_EQ(bytes, "[ZTPRINTER]");
  EXPECT_EQ(files.ReadWholeFile("C:\\pkg", &bytes), win::kAccessDenied);
  EXPECT_EQ(bytes, "");
  EXPECT_EQ(files.ReadWholeFile("missing.ini", &bytes), win::kFileNotFound);

  EXPECT_EQ(files.DeleteFileAt("C:\\pkg\\missing.dll"), win::kFileNotFound);
  EXPECT_EQ(files.DeleteFileAt("C:\\nowhere\\x.dll"), win::kPathNotFound);
  EXPECT_EQ(files.DeleteFileAt("C:\\pkg\\locked.dll"), win::kAccessDenied);
  EXPECT_EQ(files.DeleteFileAt("C:\\pkg"), win::kAccessDenied);
  EXPECT_EQ(files.DeleteFileAt("..\\pkg\\Uninstall.ini"), 0u);
  EXPECT_FALSE(machine.Exists("C:\\pkg\\Uninstall.ini"));
}

// --- WOW64 -------------------------------------------------------------------------------------

TEST_F(SimMachineTest, Wow64RedirectsSystem32UntilTheThreadSwitchesItOff) {
  machine.SetWow64(true);
  machine.AddFile("C:\\Windows\\System32\\drivers\\BULKUSB.sys");
  machine.AddFile("C:\\Windows\\system32\\spool\\prtprocs\\w32x86\\zt.dll");

  std::string system;
  p().files.SystemDirectory(&system);
  EXPECT_EQ(system, "C:\\Windows\\system32");
  EXPECT_FALSE(Found("C:\\Windows\\System32\\drivers\\BULKUSB.sys"));
  EXPECT_TRUE(Found("C:\\Windows\\system32\\spool\\prtprocs\\w32x86\\zt.dll"));  // exempt

  {
    std::unique_ptr<plat::KernelLibrary> kernel = p().libraries.LoadKernel("Kernel32.dll");
    ASSERT_TRUE(kernel);
    ASSERT_TRUE(kernel->HasEntry("Wow64DisableWow64FsRedirection"));
    void* saved = nullptr;
    ASSERT_EQ(kernel->CallWow64DisableFsRedirection(&saved), 1);
    EXPECT_TRUE(machine.RedirectionDisabled());
    EXPECT_TRUE(Found("C:\\Windows\\System32\\drivers\\BULKUSB.sys"));
    std::thread([&] { EXPECT_FALSE(machine.RedirectionDisabled()); }).join();
    EXPECT_EQ(kernel->CallWow64RevertFsRedirection(saved), 1);
    EXPECT_FALSE(machine.RedirectionDisabled());
    EXPECT_FALSE(Found("C:\\Windows\\System32\\drivers\\BULKUSB.sys"));

    machine.SetDisableRedirectionResult(0);
    EXPECT_EQ(kernel->CallWow64DisableFsRedirection(&saved), 0);
    EXPECT_FALSE(machine.RedirectionDisabled());
    int isWow64 = 0;
    ASSERT_TRUE(kernel->CallIsWow64Process(&isWow64));
    EXPECT_EQ(isWow64, 1);
  }
  EXPECT_EQ(machine.OpenHandleCount(), 0);
  EXPECT_EQ(machine.JournalOf({"Wow64DisableWow64FsRedirection"}),
            (Strings{"Wow64DisableWow64FsRedirection()", "Wow64DisableWow64FsRedirection() = 0"}));

  machine.RemoveKernelEntry("IsWow64Process");
  std::unique_ptr<plat::KernelLibrary> kernel =
      p().libraries.LoadKernel("C:\\Windows\\system32\\kernel32.dll");
  ASSERT_TRUE(kernel);
  EXPECT_FALSE(kernel->HasEntry("IsWow64Process"));
  EXPECT_EQ(machine.Journal().back(), "GetProcAddress(IsWow64Process) -> 127");
}

// --- Fault injection and journal
// ------------------------------------------------------------------

TEST_F(SimMachineTest, FaultsCountDownAndMatchTheirArgument) {
  machine.AddPrinter({"A", "P1", "D", "", 0});
  machine.AddPrinter({"B", "P2", "D", "", 0});
  machine.FailCall("OpenPrinterA", win::kAccessDenied, 1, "B");
  machine.FailCall("GetWindowsDirectoryA", win::kNotEnoughMemory, 2);
  plat::PrinterHandle a = 0, b = 0;
  std::string directory;

  EXPECT_EQ(p().spooler.OpenPrinterHandle("A", 0, &a), 0u);
  EXPECT_EQ(p().spooler.OpenPrinterHandle("B", 0, &b), win::kAccessDenied);
  EXPECT_EQ(b, 0u);
  EXPECT_EQ(p().spooler.OpenPrinterHandle("B", 0, &b), 0u);
  EXPECT_EQ(p().files.WindowsDirectory(&directory), win::kNotEnoughMemory);
  EXPECT_EQ(p().files.WindowsDirectory(&directory), win::kNotEnoughMemory);
  EXPECT_EQ(p().files.WindowsDirectory(&directory), 0u);
  EXPECT_EQ(directory, "C:\\Windows");

  EXPECT_EQ(machine.OpenHandleCount(), 2);
  p().spooler.ClosePrinterHandle(a);
  p().spooler.ClosePrinterHandle(a);
  EXPECT_EQ(machine.OpenHandleCount(), 1);
  EXPECT_EQ(machine.InvalidReleaseCount(), 1);
  EXPECT_EQ(machine.JournalOf({"OpenPrinterA", "ClosePrinter"}),
            (Strings{"OpenPrinterA(A)", "OpenPrinterA(B) -> 5", "OpenPrinterA(B)",
                     "ClosePrinter(A)", "ClosePrinter(#" + std::to_string(a) + ") -> 6"}));
}

// FailNthCall counts every journal entry from the moment it is asked, whatever its
// name, and the journal can be cleared meanwhile.
TEST_F(SimMachineTest, TheNthCallFailsWhateverItIs) {
  std::string directory;
  p().files.WindowsDirectory(&directory);
  const size_t before = machine.CallCount();
  machine.FailNthCall(3, win::kAccessDenied);
  machine.ClearJournal();
  p().clock.Sleep(100);
  EXPECT_EQ(p().files.SystemDirectory(&directory), 0u);
  EXPECT_EQ(p().files.WindowsDirectory(&directory), win::kAccessDenied);
  EXPECT_EQ(p().files.WindowsDirectory(&directory), 0u);
  EXPECT_EQ(machine.CallCount() - before, 4u);
  EXPECT_EQ(machine.Journal(), (Strings{"Sleep(100)", "GetSystemDirectoryA()",
                                        "GetWindowsDirectoryA() -> 5", "GetWindowsDirectoryA()"}));
}

// Every attempt to remove something is kept with what it named, failed or not,
// and ClearJournal leaves the record alone.
TEST_F(SimMachineTest, DeletionsAreKeptApartFromTheJournal) {
  machine.SetWow64(true);
  machine.AddPrinter({"A", "ZTIP_1", "D", "", 0});
  machine.AddFile("C:\\Windows\\SysWOW64\\x.dll", "bytes");
  std::vector<std::string> told;
  machine.OnDeletion([&](const sim::Deletion& d) { told.push_back(d.call); });
  plat::PrinterHandle a = 0;
  p().spooler.OpenPrinterHandle("A", 0, &a);
  machine.FailCall("DeletePrinter", win::kAccessDenied);
  p().spooler.DeletePrinterByHandle(a);
  p().spooler.DeletePrinterByHandle(a);
  p().spooler.ClosePrinterHandle(a);
  p().spooler.DeleteDriver(nullptr, nullptr, "D");
  p().files.DeleteFileAt("C:\\Windows\\system32\\x.dll");
  p().registry.DeleteLocalMachineKey("SOFTWARE\\X");
  machine.ClearJournal();
  machine.OnDeletion(nullptr);

  const std::vector<sim::Deletion>& d = machine.Deletions();
  ASSERT_EQ(d.size(), 5u);
  EXPECT_EQ(told, (Strings{"DeletePrinter", "DeletePrinter", "DeletePrinterDriverA", "DeleteFileA",
                           "RegDeleteKeyA"}));
  EXPECT_EQ(d[0].name + " " + d[0].port + " " + d[0].driver, "A ZTIP_1 D");
  EXPECT_EQ(d[0].error, win::kAccessDenied);
  EXPECT_EQ(d[1].error, 0u);
  EXPECT_EQ(d[2].name + " " + d[2].server + " " + d[2].environment, "D NULL NULL");
  EXPECT_EQ(d[3].reached, "C:\\Windows\\SysWOW64\\x.dll");
  EXPECT_EQ(d[3].bytes, "bytes");
  EXPECT_EQ(d[4].name, "SOFTWARE\\X");
  EXPECT_EQ(d[4].error, win::kFileNotFound);
}

TEST_F(SimMachineTest, WinspoolBindingFailsOnlyWhereAsked) {
  const void* entry = nullptr;
  EXPECT_TRUE(p().libraries.LoadAndKeep("Winspool.drv", "DeletePrinterDriverExA", &entry));
  EXPECT_NE(entry, nullptr);
  EXPECT_EQ(machine.OpenHandleCount(), 0);  // kept for the process's life

  machine.SetDeletePrinterDriverExAvailable(false);
  EXPECT_TRUE(p().libraries.LoadAndKeep("Winspool.drv", "DeletePrinterDriverExA", &entry));
  EXPECT_EQ(entry, nullptr);

  machine.FailCall("LoadLibraryA", win::kModNotFound, -1, "Winspool");
  EXPECT_TRUE(p().libraries.LoadKernel("kernel32.dll"));
  EXPECT_FALSE(p().libraries.LoadAndKeep("Winspool.drv", "DeletePrinterDriverExA", &entry));
  EXPECT_EQ(machine.Journal().back(), "LoadLibraryA(Winspool.drv) -> 126");
}

// --- Clock and desktop
// -----------------------------------------------------------------------------

TEST_F(SimMachineTest, SleepAdvancesTimeAndRunsDueActions) {
  const plat::WindowHandle window = machine.AddWindow("Driver Uninstall");
  machine.At(3000, [&] { machine.CloseWindow(window); });
  int looks = 0;
  while (p().desktop.FindTopLevelWindow("driver uninstall") != 0) {
    ++looks;
    p().clock.Sleep(1000);
  }
  EXPECT_EQ(looks, 3);
  EXPECT_EQ(machine.NowMs(), 3000u);
  EXPECT_EQ(machine.Pauses(), (std::vector<uint32_t>{1000, 1000, 1000}));
  EXPECT_EQ(machine.JournalOf({"Sleep"}).front(), "Sleep(1000)");
  EXPECT_EQ(machine.Journal().front(), "FindWindowA(driver uninstall)");
}

TEST_F(SimMachineTest, ShellAndMessageBoxesAreRecorded) {
  machine.AddFile("C:\\pkg\\USBDrv\\USBDriver\\Install.exe");
  machine.SetMessageBoxAnswer(win::kIdCancel);
  EXPECT_EQ(p().desktop.ShellOpen("C:\\pkg\\USBDrv\\USBDriver\\Install.exe", "22", 1), 42);
  EXPECT_EQ(p().desktop.ShellOpen(".\\Uninstall_EN.CHM", nullptr, 1), 2);
  EXPECT_EQ(p().desktop.ShowMessageBox("open function error", 0x30), win::kIdCancel);
  EXPECT_EQ(machine.MessageBoxes(), Strings{"open function error"});
  EXPECT_EQ(machine.Journal(),
            (Strings{"ShellExecuteA(C:\\pkg\\USBDrv\\USBDriver\\Install.exe, 22)",
                     "ShellExecuteA(.\\Uninstall_EN.CHM, NULL) -> 2",
                     "MessageBoxA(open function error)"}));
}

// --- USB library, power, mutex
// ----------------------------------------------------------------------

TEST_F(SimMachineTest, UsbLibraryAnswersByIndexAndDescriptor) {
  EXPECT_FALSE(p().libraries.LoadUsb("ZiZudUru.dll"));
  machine.SetUsbLibraryPresent(true);
  machine.AddUsbDevice(5, 77, 0x1234);
  {
    std::unique_ptr<plat::UsbLibrary> usb = p().libraries.LoadUsb("ZiZudUru.dll");
    ASSERT_TRUE(usb);
    EXPECT_EQ(usb->CallOpenDeviceX(4), 0);
    const int32_t device = usb->CallOpenDeviceX(5);
    ASSERT_EQ(device, 77);
    EXPECT_EQ(machine.OpenHandleCount(), 2);  // the library and the device

    uint8_t block[20] = {};
    ASSERT_EQ(usb->CallGetDescriptor(device, block), 1);
    EXPECT_EQ(block[12] | block[13] << 8, 0x1234);
    machine.FailCall("GetDescriptor", 0);
    uint8_t untouched[20] = {9};
    EXPECT_EQ(usb->CallGetDescriptor(device, untouched), 0);
    EXPECT_EQ(untouched[0], 9);
    usb->CallCloseDevice(device);
  }
  EXPECT_EQ(machine.OpenHandleCount(), 0);
  machine.RemoveUsbEntry("GetDescriptor");
  EXPECT_FALSE(p().libraries.LoadUsb("ZiZudUru.dll")->HasEntry("GetDescriptor"));
}

TEST_F(SimMachineTest, RestartNeedsTheShutdownPrivilegeOnNt) {
  plat::Power& power = p().power;
  EXPECT_EQ(power.RequestExitWindows(win::kEwxReboot, 0), 1314u);
  EXPECT_FALSE(machine.RestartRequested());

  plat::TokenHandle token = 0;
  plat::Luid luid;
  ASSERT_EQ(power.OpenProcessTokenHandle(win::kTokenAdjustPrivileges, &token), 0u);
  ASSERT_EQ(power.LookupPrivilege("SeShutdownPrivilege", &luid), 0u);
  ASSERT_EQ(power.AdjustOnePrivilege(token, luid, win::kSePrivilegeEnabled), 0u);
  EXPECT_EQ(machine.OpenHandleCount(), 1);
  power.CloseToken(token);
  EXPECT_EQ(power.RequestExitWindows(win::kEwxReboot, 0), 0u);
  EXPECT_TRUE(machine.RestartRequested());
  EXPECT_EQ(machine.OpenHandleCount(), 0);
  EXPECT_EQ(machine.JournalOf({"AdjustTokenPrivileges", "ExitWindowsEx"}),
            (Strings{"ExitWindowsEx(2, 0) -> 1314", "AdjustTokenPrivileges(SeShutdownPrivilege, 2)",
                     "ExitWindowsEx(2, 0)"}));
}

TEST_F(SimMachineTest, SecondMutexOfANameAlreadyExists) {
  bool existed = true;
  ASSERT_TRUE(p().system.CreateOwnedMutex("Uninstall", &existed));
  EXPECT_FALSE(existed);
  ASSERT_TRUE(p().system.CreateOwnedMutex("Uninstall", &existed));
  EXPECT_TRUE(existed);
  EXPECT_EQ(machine.Journal().back(), "CreateMutexA(Uninstall) -> 183");
}

}  // namespace
