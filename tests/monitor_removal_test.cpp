// The port-monitor step on the simulated machine: the order of the spooler,
// registry and file calls, the log lines, the pauses and the outcomes.
#include "engine/monitor_removal.h"

#include <gtest/gtest.h>

#include <ostream>

#include "tests/support/steps_fixture.h"

namespace steps_test {
namespace {

constexpr const char* kUsbMonitor = "ZT USB Monitor";
constexpr const char* kMonitorList = "SYSTEM\\CURRENTCONTROLSET\\CONTROL\\PRINT\\MONITORS\\";
constexpr const char* kInstallPrinterKey = "SOFTWARE\\QORVELIN\\INSTALLPRINTER";
constexpr const char* kPortNameKey = "SOFTWARE\\QORVELIN\\PORTNAME";

// The calls that show the step's course; StartServiceA marks a spooler restart.
const std::set<std::string> kStepCalls = {"DeleteMonitorA", "RegDeleteKeyA", "StartServiceA",
                                          "DeleteFileA", "Sleep"};

std::string SystemFile(const char* name) { return std::string(kSystem32) + "\\" + name; }

class MonitorRemovalTest : public StepsFixture {
 protected:
  void AddUsbMonitor(const std::string& name = kUsbMonitor) {
    machine.AddMonitor(name);
    machine.AddKey(kInstallPrinterKey);
    machine.AddKey(kPortNameKey);
    machine.AddKey(std::string(kMonitorList) + "ZTUSBMON");
    for (const char* dll : {"ztusbmon.dll", "ztusbmonui.dll", "ztusbport.dll"})
      machine.AddFile(SystemFile(dll));
    SetEntry(name);
  }
  void SetUsbMonitorSection(const std::string& section) {
    SetConfig("[" + section +
              "]\r\n"
              "USBMONitorName=ZTUSBMON\r\n"
              "MonitorPDLLName=ztusbmon.dll\r\n"
              "MONitorPUIDLLName=ztusbmonui.dll\r\n"
              "USBMONitorDLLName=ztusbport.dll\r\n");
  }
  StepOutcome Run() { return RemoveMonitorEntry(session, run); }

  RunState run{0, false};
};

TEST_F(MonitorRemovalTest, UsbMonitorOnWindows7GoesWithItsKeysAndFiles) {
  AddUsbMonitor();
  SetUsbMonitorSection("ZTUSBMonitor.Win7");

  EXPECT_EQ(Run(), StepOutcome::kRemoved);

  EXPECT_EQ(Journal(kStepCalls), (Lines{"DeleteMonitorA(, NULL, ZT USB Monitor)",
                                        std::string("RegDeleteKeyA(") + kInstallPrinterKey + ")",
                                        std::string("RegDeleteKeyA(") + kPortNameKey + ")",
                                        "Sleep(2000)", "StartServiceA(Spooler)", "Sleep(500)",
                                        std::string("RegDeleteKeyA(") + kMonitorList + "ZTUSBMON)",
                                        "DeleteFileA(" + SystemFile("ztusbmon.dll") + ")",
                                        "DeleteFileA(" + SystemFile("ztusbmonui.dll") + ")",
                                        "DeleteFileA(" + SystemFile("ztusbport.dll") + ")"}));
  EXPECT_EQ(view.log, (Lines{"DELETING1 ZT USB Monitor", "SUCCESS ZT USB Monitor"}));
  EXPECT_FALSE(machine.HasMonitor(kUsbMonitor));
  EXPECT_FALSE(machine.HasKey(kInstallPrinterKey));
  EXPECT_FALSE(machine.HasKey(std::string(kMonitorList) + "ZTUSBMON"));
  EXPECT_FALSE(machine.Exists(SystemFile("ztusbport.dll")));
  EXPECT_TRUE(view.items.empty());
  EXPECT_EQ(run.index, -1);
  EXPECT_TRUE(run.removed);
}

// The suffix of Windows XP is the one of Windows 2000.
TEST_F(MonitorRemovalTest, WindowsXpReadsTheSectionOfWindows2000) {
  g_nOSType = OS_XP;
  AddUsbMonitor();
  SetUsbMonitorSection("ZTUSBMonitor.2K");

  EXPECT_EQ(Run(), StepOutcome::kRemoved);
  EXPECT_FALSE(machine.Exists(SystemFile("ztusbmon.dll")));
}

// "usb" in lower case is not the vendor's USB monitor: its keys and its further
// DLL stay, even when the section names that DLL.
TEST_F(MonitorRemovalTest, LowerCaseUsbKeepsTheVendorKeysAndTheUsbDll) {
  AddUsbMonitor("ZT usb Monitor");
  SetUsbMonitorSection("ZTusbMonitor.Win7");

  EXPECT_EQ(Run(), StepOutcome::kRemoved);

  EXPECT_TRUE(machine.HasKey(kInstallPrinterKey));
  EXPECT_TRUE(machine.HasKey(kPortNameKey));
  EXPECT_FALSE(machine.Exists(SystemFile("ztusbmon.dll")));
  EXPECT_TRUE(machine.Exists(SystemFile("ztusbport.dll")));
}

// A missing section reads every value as "0": the key "0" under the monitor list
// is tried, and no file is deleted.
TEST_F(MonitorRemovalTest, MissingSectionDeletesNoFile) {
  AddUsbMonitor("ZT Monitor");

  EXPECT_EQ(Run(), StepOutcome::kRemoved);

  EXPECT_EQ(Journal({"RegDeleteKeyA", "DeleteFileA"}),
            (Lines{std::string("RegDeleteKeyA(") + kMonitorList + "0) -> 2"}));
  EXPECT_EQ(view.log, (Lines{"DELETING1 ZT Monitor", "SUCCESS ZT Monitor"}));
}

// A name whose section name would not fit in 29 characters has no per-OS values:
// the monitor still leaves the spooler, but no configured file or key goes.
TEST_F(MonitorRemovalTest, NameTooLongForItsSectionDeletesNoConfiguredFile) {
  const std::string name = "ZT Monitor With A Very Long Name";  // 26 without blanks + 5
  AddUsbMonitor(name);
  SetUsbMonitorSection("ZTMonitorWithAVeryLongName.Win7");

  EXPECT_EQ(Run(), StepOutcome::kRemoved);

  EXPECT_FALSE(machine.HasMonitor(name));
  EXPECT_TRUE(Journal({"DeleteFileA"}).empty());
  EXPECT_EQ(Journal({"RegDeleteKeyA"}),
            (Lines{std::string("RegDeleteKeyA(") + kMonitorList + "0) -> 2"}));
}

TEST_F(MonitorRemovalTest, SecondAttemptAfterARestartCanSucceed) {
  AddUsbMonitor("ZT Monitor");
  machine.FailCall("DeleteMonitorA", win::kAccessDenied, 1);

  EXPECT_EQ(Run(), StepOutcome::kRemoved);

  EXPECT_EQ(Journal({"DeleteMonitorA", "StartServiceA", "Sleep"}),
            (Lines{"DeleteMonitorA(, NULL, ZT Monitor) -> 5", "Sleep(2000)",
                   "StartServiceA(Spooler)", "Sleep(500)", "DeleteMonitorA(, NULL, ZT Monitor)",
                   "Sleep(2000)", "StartServiceA(Spooler)", "Sleep(500)"}));
  EXPECT_EQ(view.log, (Lines{"DELETING1 ZT Monitor", "SUCCESS ZT Monitor"}));
}

struct SecondFailure {
  win::Error error;
  const char* line;
};

void PrintTo(const SecondFailure& failure, std::ostream* out) { *out << failure.error; }

class MonitorDeletionFailsTwice : public MonitorRemovalTest,
                                  public ::testing::WithParamInterface<SecondFailure> {};

TEST_P(MonitorDeletionFailsTwice, LogsWhyAndKeepsTheEntry) {
  AddUsbMonitor();
  SetUsbMonitorSection("ZTUSBMonitor.Win7");
  machine.FailCall("DeleteMonitorA", GetParam().error, 2);

  EXPECT_EQ(Run(), StepOutcome::kNextEntry);

  EXPECT_EQ(view.log, (Lines{"DELETING1 ZT USB Monitor", GetParam().line}));
  EXPECT_EQ(machine.Pauses(), (Pauses{2000u, 500u, 100u}));
  EXPECT_TRUE(Journal({"RegDeleteKeyA", "DeleteFileA"}).empty());
  EXPECT_TRUE(machine.HasKey(kInstallPrinterKey));
  ASSERT_EQ(view.items.size(), 1u);
  EXPECT_TRUE(view.items[0].checked);
  EXPECT_EQ(run.index, 0);
  EXPECT_FALSE(run.removed);
}

INSTANTIATE_TEST_SUITE_P(Codes, MonitorDeletionFailsTwice,
                         ::testing::Values(SecondFailure{3008, "USING ZT USB Monitor"},
                                           SecondFailure{1, "ERR_UNINSTALL ZT USB Monitor"}),
                         [](const ::testing::TestParamInfo<SecondFailure>& info) {
                           return "Error" + std::to_string(info.param.error);
                         });

// Configured names that reach outside the system directory, or no key at all,
// delete nothing; the monitor list key itself is never named.
TEST_F(MonitorRemovalTest, HostileConfiguredNamesDeleteNothing) {
  machine.AddFile("C:\\Windows\\evil.dll");
  machine.AddFile("C:\\x.dll");
  AddUsbMonitor("ZT Monitor");
  for (const char* usbMonitorName : {"", "..\\..\\SOFTWARE"}) {
    SCOPED_TRACE(usbMonitorName);
    SetConfig(std::string("[ZTMonitor.Win7]\r\n") + "USBMONitorName=" + usbMonitorName +
              "\r\nMonitorPDLLName=..\\evil.dll\r\nMONitorPUIDLLName=C:\\x.dll\r\n");
    machine.ClearJournal();
    session.m_strCurrentName = "ZT Monitor";
    machine.AddMonitor("ZT Monitor");

    EXPECT_EQ(Run(), StepOutcome::kRemoved);

    EXPECT_TRUE(Journal({"RegDeleteKeyA", "DeleteFileA"}).empty());
  }
  EXPECT_TRUE(machine.Exists("C:\\Windows\\evil.dll"));
  EXPECT_TRUE(machine.Exists("C:\\x.dll"));
}

TEST_F(MonitorRemovalTest, WithoutTheSystemDirectoryNoFileIsDeleted) {
  AddUsbMonitor();
  SetUsbMonitorSection("ZTUSBMonitor.Win7");
  machine.FailCall("GetSystemDirectoryA", win::kAccessDenied, -1);

  EXPECT_EQ(Run(), StepOutcome::kRemoved);

  EXPECT_EQ(view.log, (Lines{"DELETING1 ZT USB Monitor", "Get system Directory error.",
                             "SUCCESS ZT USB Monitor"}));
  EXPECT_TRUE(Journal({"DeleteFileA"}).empty());
}

TEST_F(MonitorRemovalTest, UnderWow64TheNativeSystemDirectoryLosesTheFiles) {
  machine.SetWow64(true);
  g_bIsWow64 = 1;
  AddUsbMonitor();
  SetUsbMonitorSection("ZTUSBMonitor.Win7");
  machine.AddFile(std::string(kSysWow64) + "\\ztusbmon.dll");

  EXPECT_EQ(Run(), StepOutcome::kRemoved);

  EXPECT_FALSE(machine.Exists(SystemFile("ztusbmon.dll")));
  EXPECT_FALSE(machine.Exists(SystemFile("ztusbport.dll")));
  EXPECT_TRUE(machine.Exists(std::string(kSysWow64) + "\\ztusbmon.dll"));
  EXPECT_EQ(Journal({"Wow64DisableWow64FsRedirection"}).size(), 3u);
  EXPECT_FALSE(machine.RedirectionDisabled());
}

// Redirection that cannot be switched off, or a kernel library that does not
// load, stops the file deletions at the first file; the step still succeeds.
TEST_F(MonitorRemovalTest, UnderWow64ARedirectionFailureLeavesTheRemainingFiles) {
  machine.SetWow64(true);
  g_bIsWow64 = 1;
  AddUsbMonitor();
  SetUsbMonitorSection("ZTUSBMonitor.Win7");
  machine.SetDisableRedirectionResult(0);

  EXPECT_EQ(Run(), StepOutcome::kRemoved);

  EXPECT_EQ(Journal({"Wow64DisableWow64FsRedirection"}).size(), 1u);
  EXPECT_TRUE(Journal({"DeleteFileA", "Wow64RevertWow64FsRedirection"}).empty());
  EXPECT_TRUE(machine.Exists(SystemFile("ztusbmon.dll")));
  EXPECT_EQ(view.log.back(), "SUCCESS ZT USB Monitor");

  machine.SetDisableRedirectionResult(1);
  machine.AddMonitor(kUsbMonitor);
  machine.ClearJournal();
  machine.FailCall("LoadLibraryA", win::kModNotFound, 1, "Kernel32.dll");
  EXPECT_EQ(Run(), StepOutcome::kRemoved);
  EXPECT_EQ(Journal({"LoadLibraryA"}).size(), 1u);
  EXPECT_TRUE(Journal({"DeleteFileA"}).empty());
}

// --- Windows 95/98/Me: no monitor leaves while a printer uses a vendor COM port ----

class ComPortCheckTest : public MonitorRemovalTest {
 protected:
  void SetUp() override {
    g_nOSType = OS_WIN9X;
    machine.AddPrinter({"Office Laser", "LPT1:", "Office Driver", "", 0});
    AddUsbMonitor("ZT Monitor");
  }
};

TEST_F(ComPortCheckTest, PrinterOnAVendorComPortKeepsTheMonitor) {
  machine.AddPrinter({"ZT Label", "ZTCOM1:", "ZT Driver", "", 0});

  EXPECT_EQ(Run(), StepOutcome::kNextEntry);

  EXPECT_EQ(view.log,
            (Lines{"DELETING1 ZT Monitor", "ERR_HAVEJOB1 ZT Monitor", "USING ZT Monitor"}));
  EXPECT_EQ(machine.Pauses(), (Pauses{100u}));
  EXPECT_TRUE(Journal({"DeleteMonitorA"}).empty());
  EXPECT_EQ(Journal({"OpenPrinterA", "ClosePrinter", "Sleep"}),
            (Lines{"OpenPrinterA(Office Laser)", "ClosePrinter(Office Laser)",
                   "OpenPrinterA(ZT Label)", "ClosePrinter(ZT Label)", "Sleep(100)"}));
  EXPECT_TRUE(machine.HasMonitor("ZT Monitor"));
}

TEST_F(ComPortCheckTest, OtherPortsLetTheMonitorGoWithThe98Section) {
  SetUsbMonitorSection("ZTMonitor.98");

  EXPECT_EQ(Run(), StepOutcome::kRemoved);

  EXPECT_FALSE(machine.HasMonitor("ZT Monitor"));
  EXPECT_FALSE(machine.Exists(SystemFile("ztusbmon.dll")));
}

TEST_F(ComPortCheckTest, APrinterThatCannotBeOpenedStopsTheCheckWithoutPause) {
  machine.FailCall("OpenPrinterA", win::kAccessDenied);

  EXPECT_EQ(Run(), StepOutcome::kNextEntry);

  EXPECT_EQ(view.log,
            (Lines{"DELETING1 ZT Monitor", "ERR_OPENPRN ZT Monitor", "USING ZT Monitor"}));
  EXPECT_TRUE(machine.Pauses().empty());
}

TEST_F(ComPortCheckTest, UnreadablePrinterInformationIsLoggedPlainAfterTheClose) {
  for (int failingCall = 1; failingCall <= 2; ++failingCall) {
    SCOPED_TRACE(failingCall);
    machine.ClearJournal();
    view.log.clear();
    // The size query, then the read itself.
    if (failingCall == 2) machine.FailCall("GetPrinterA", win::kInsufficientBuffer, 1);
    machine.FailCall("GetPrinterA", win::kAccessDenied, 1);

    EXPECT_EQ(Run(), StepOutcome::kNextEntry);

    EXPECT_EQ(view.log, (Lines{"DELETING1 ZT Monitor", "ERR_GETPRNINFO %s", "USING ZT Monitor"}));
    const std::vector<std::string> journal = Journal({"ClosePrinter", "Sleep"});
    EXPECT_EQ(journal, (Lines{"ClosePrinter(Office Laser)", "Sleep(100)"}));
  }
}

TEST_F(ComPortCheckTest, NoMemoryForThePrinterInformationIsLoggedPlain) {
  const PrinterAccess::Allocator noMemory = [](size_t) {
    return std::unique_ptr<unsigned char[]>();
  };

  EXPECT_FALSE(CheckComPortPrinters(session, noMemory));

  EXPECT_EQ(view.log, (Lines{"ERR_ALLOC %s"}));
  EXPECT_EQ(Journal({"ClosePrinter", "Sleep"}),
            (Lines{"ClosePrinter(Office Laser)", "Sleep(100)"}));
}

}  // namespace
}  // namespace steps_test
