// The whole job on one machine: the Uninstall command over three printers (one on
// a USB port with the vendor's INF file, one on a vendor IP port), two port
// monitors and a print processor, with the USB box checked and the restart
// accepted. Everything of the vendor goes, nothing else, and the virtual time is
// exactly the sum of the fixed pauses.
#include <string>
#include <vector>

#include "engine/uninstall.h"
#include "tests/support/engine_fixture.h"

namespace engine_test {
namespace {

constexpr const char* kSystem32 = "C:\\Windows\\system32\\";
constexpr const char* kMonitorsKey = "SYSTEM\\CURRENTCONTROLSET\\CONTROL\\PRINT\\MONITORS\\";
constexpr const char* kProcessorKey =
    "SYSTEM\\CurrentControlSet\\Control\\Print\\Environments\\Windows NT x86\\Print "
    "Processors\\ZTProc";

class WholeJobTest : public EngineFixture {
 protected:
  void SetUp() override {
    SetConfig(kTwoMonitorConfig);
    AddWholeJobComponents(machine);
    view.AddItems(kWholeJobEntries, true);
    view.usbChecked = true;
    view.promptAnswer = win::kIdOk;
    machine.ClearJournal();
  }
};

TEST_F(WholeJobTest, RemovesEverythingOfTheVendorAndNothingElse) {
  OnUninstall(session);

  EXPECT_TRUE(view.items.empty());
  for (const char* printer : {"Qorvelin A", "Qorvelin B", "Qorvelin C"}) {
    EXPECT_FALSE(machine.HasPrinter(printer)) << printer;
    EXPECT_FALSE(machine.HasDriver(std::string(printer) + " Driver")) << printer;
  }
  EXPECT_FALSE(machine.HasPort("ZTIP_1"));
  EXPECT_FALSE(machine.HasMonitor("ZT USB Monitor"));
  EXPECT_FALSE(machine.HasMonitor("ZT IP Monitor"));
  EXPECT_FALSE(machine.HasProcessor("ZTProc"));
  for (const char* dll : {"ztusbmon.dll", "ztusbmonui.dll", "ztusb.dll", "ztipmon.dll"})
    EXPECT_FALSE(machine.Exists(std::string(kSystem32) + dll)) << dll;
  EXPECT_FALSE(machine.Exists("C:\\Windows\\system32\\spool\\prtprocs\\w32x86\\ztproc.dll"));
  EXPECT_FALSE(machine.Exists("C:\\Windows\\inf\\oem5.inf"));
  EXPECT_FALSE(machine.Exists("C:\\Windows\\inf\\oem5.PNF"));
  EXPECT_FALSE(machine.HasKey("SOFTWARE\\QORVELIN\\INSTALLPRINTER"));
  EXPECT_FALSE(machine.HasKey("SOFTWARE\\QORVELIN\\PORTNAME"));
  EXPECT_FALSE(machine.HasKey(std::string(kMonitorsKey) + "ZT USB Monitor"));
  EXPECT_FALSE(machine.HasKey(std::string(kMonitorsKey) + "ZT IP Monitor"));
  EXPECT_FALSE(machine.HasKey(kProcessorKey));

  // Another vendor's printer, driver, port and INF file stay.
  EXPECT_TRUE(machine.HasPrinter("Other Laser"));
  EXPECT_TRUE(machine.HasDriver("Other Driver"));
  EXPECT_TRUE(machine.HasPort("LPT2:"));
  EXPECT_TRUE(machine.Exists("C:\\Windows\\inf\\oem6.inf"));
  EXPECT_TRUE(machine.Exists("C:\\Windows\\inf\\oem6.PNF"));

  EXPECT_EQ(
      JournalOf({"ShellExecuteA"}),
      std::vector<std::string>{"ShellExecuteA(C:\\pkg\\USBDrv\\USBDriver\\Install.exe, 22) -> 2"});
  EXPECT_TRUE(machine.RestartRequested());
  EXPECT_EQ(view.log.back(), "USBOK %s");
  EXPECT_EQ(machine.OpenHandleCount(), 0);
  EXPECT_FALSE(session.runActive);
}

TEST_F(WholeJobTest, VirtualTimeIsTheSumOfTheFixedPauses) {
  OnUninstall(session);

  // 500 before each of six entries; a printer: 100, the restart's 2000, 1000, 100
  // after its driver, 1000; a monitor or processor: 2000 and 500; the USB step
  // without a window: 500, 500, 1000.
  const std::vector<uint32_t> printer = {500, 100, 2000, 1000, 100, 1000};
  const std::vector<uint32_t> other = {500, 2000, 500};
  std::vector<uint32_t> expected;
  for (int i = 0; i < 3; ++i) expected.insert(expected.end(), printer.begin(), printer.end());
  for (int i = 0; i < 3; ++i) expected.insert(expected.end(), other.begin(), other.end());
  expected.insert(expected.end(), {500, 500, 1000});

  EXPECT_EQ(Pauses(), expected);
  EXPECT_EQ(machine.NowMs(), 25100u);
}

}  // namespace
}  // namespace engine_test
