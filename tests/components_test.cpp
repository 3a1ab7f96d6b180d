#include "inventory/components.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "config/uninstall_ini.h"
#include "platform/os_type.h"
#include "platform/sim/sim_machine.h"
#include "tests/support/engine_globals.h"
#include "tests/support/fake_view.h"

namespace {

using Names = std::vector<std::string>;

class ComponentsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::strcpy(g_szUninstallIni, "C:\\pkg\\Uninstall.ini");
    g_nOSType = OS_WIN7;
    g_bIsWow64 = 0;
  }
  void TearDown() override { ResetEngineGlobals(); }
  void Configure(const std::string& text) { machine.AddFile("C:\\pkg\\Uninstall.ini", text); }
  void AddPrinter(const std::string& name, const std::string& driver) {
    machine.AddPrinter({name, "USB001", driver, "", 0});
  }
  Names Fill() {
    FakeView view;
    FillComponentList(machine.platform(), view);
    return view.ItemTexts();
  }
  bool Monitor(const char* name) { return IsConfiguredMonitor(machine.platform().files, name); }

  sim::Machine machine;
};

TEST_F(ComponentsTest, PrintersAreMatchedByDriverAndListedByName) {
  Configure("[ZTPRINTER]\nPRINTERNUM=1\nPRINTERNAME1=ZT-200\n");
  AddPrinter("Office", "ZT-200 Series PCL");
  AddPrinter("ZT-200 look-alike", "Generic Text");
  AddPrinter("Lab", "zt-200 series");  // letter case counts
  EXPECT_EQ(Fill(), Names{"Office"});
  EXPECT_EQ(machine.OpenHandleCount(), 0);
}

TEST_F(ComponentsTest, OrderIsPrintersMonitorsProcessorsEachInEnumerationOrder) {
  Configure(
      "[ZTPRINTER]\nPRINTERNUM=1\nPRINTERNAME1=ZT\n"
      "[ZTMONITOR]\nMonitorNUM=1\nMONITORNAME1=ZT\n"
      "[ZTPROC]\nPROCNUM=1\nPROCNAME1=ZT\n");
  machine.AddProcessor("ZTProc");
  machine.AddMonitor("ZT Port");
  machine.AddMonitor("Local Port");
  machine.AddMonitor("ZT USB");
  AddPrinter("ZT Port", "ZT Driver");  // shares its name with a monitor
  AddPrinter("Second", "ZT Driver 2");
  machine.AddProcessor("WinPrint");
  EXPECT_EQ(Fill(), (Names{"ZT Port", "Second", "ZT Port", "ZT USB", "ZTProc"}));
}

TEST_F(ComponentsTest, AppendsAfterWhatTheListHolds) {
  Configure("[ZTMONITOR]\nMonitorNUM=1\nMONITORNAME1=ZT\n");
  machine.AddMonitor("ZT Port");
  FakeView view;
  view.AddItems({"already there"}, true);
  FillComponentList(machine.platform(), view);
  EXPECT_EQ(view.ItemTexts(), (Names{"already there", "ZT Port"}));
  EXPECT_FALSE(view.items[1].checked);
}

TEST_F(ComponentsTest, NothingMatchingLeavesTheListEmpty) {
  Configure("[ZTPRINTER]\nPRINTERNUM=1\nPRINTERNAME1=ZT\n");
  AddPrinter("Office", "Generic");
  machine.AddMonitor("Local Port");
  EXPECT_TRUE(Fill().empty());
}

// An empty name, or the "0" a missing name key reads as, names nothing.
TEST_F(ComponentsTest, MissingAndEmptyNamesMatchNothing) {
  Configure("[ZTMONITOR]\nMonitorNUM=3\nMONITORNAME1=ZT\nMONITORNAME2=\n");
  for (const char* name : {"Port 2000", "Local Port", "0"}) EXPECT_FALSE(Monitor(name)) << name;
  EXPECT_TRUE(Monitor("ZT Port 2000"));
}

TEST_F(ComponentsTest, CountReadsLikeAtoi) {
  const struct {
    const char* count;
    bool second;  // whether the second name is looked at
    bool first;
  } cases[] = {
      {"2", true, true},   {"2abc", true, true}, {"1", false, true},    {" 2", true, true},
      {"0", false, false}, {"-2", false, false}, {"abc", false, false},
  };
  for (const auto& c : cases) {
    Configure(std::string("[ZTMONITOR]\nMonitorNUM=") + c.count +
              "\nMONITORNAME1=First\nMONITORNAME2=Second\n");
    EXPECT_EQ(Monitor("First Mon"), c.first) << c.count;
    EXPECT_EQ(Monitor("Second Mon"), c.second) << c.count;
  }
  Configure("[ZTMONITOR]\nMONITORNAME1=First\n");  // no count at all
  EXPECT_FALSE(Monitor("First Mon"));
}

TEST_F(ComponentsTest, TenthNameComesFromTheKeyEndingInColon) {
  Configure(
      "[ZTMONITOR]\nMonitorNUM=12\nMONITORNAME10=Ten\nMONITORNAME:=Colon\n"
      "MONITORNAME<=Twelfth\nMONITORNAME==Thirteenth\n");
  EXPECT_TRUE(Monitor("Colon Port"));
  EXPECT_TRUE(Monitor("Twelfth Port"));
  EXPECT_FALSE(Monitor("Ten Port"));
  EXPECT_FALSE(Monitor("Thirteenth Port"));
}

TEST_F(ComponentsTest, ConfiguredNameMustOccurInsideTheTestedName) {
  Configure("[ZTMONITOR]\nMonitorNUM=1\nMONITORNAME1=ZT Port\n");
  const struct {
    const char* name;
    bool match;
  } cases[] = {
      {"ZT Port", true},  {"ZT Port Monitor", true}, {"My ZT Port", true}, {"ZT Por", false},
      {"zt port", false}, {"ZT PORT", false},        {"ZTPort", false},    {"", false}};
  for (const auto& c : cases) EXPECT_EQ(Monitor(c.name), c.match) << c.name;
  EXPECT_FALSE(Monitor(nullptr));
}

TEST_F(ComponentsTest, ConfiguredValuesAreCutTo29Characters) {
  Configure("[ZTMONITOR]\nMonitorNUM=1\nMONITORNAME1=ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789\n");
  EXPECT_TRUE(Monitor("ABCDEFGHIJKLMNOPQRSTUVWXYZ012 Port"));
  EXPECT_FALSE(Monitor("ABCDEFGHIJKLMNOPQRSTUVWXYZ01 Port"));
}

TEST_F(ComponentsTest, ProcessorsNeedACountAndAnNtSystem) {
  machine.AddProcessor("ZTProc");
  Configure("[ZTPROC]\nPROCNAME1=ZTProc\n");
  EXPECT_FALSE(IsConfiguredProcessor(machine.platform().files, "ZTProc"));
  Configure("[ZTPROC]\nPROCNUM=0\nPROCNAME1=ZTProc\n");
  EXPECT_TRUE(Fill().empty());
  Configure("[ZTPROC]\nPROCNUM=1\nPROCNAME1=ZTProc\n");
  EXPECT_EQ(Fill(), Names{"ZTProc"});
  g_nOSType = OS_WIN9X;
  EXPECT_FALSE(IsConfiguredProcessor(machine.platform().files, "ZTProc"));
}

TEST_F(ComponentsTest, ProcessorEnvironmentFollowsTypeAndWow64) {
  const struct {
    int osType;
    unsigned char wow64;
    const char* call;
  } cases[] = {
      {OS_WIN7, 0, "EnumPrintProcessorsA(Windows NT x86)"},
      {OS_XP, 0, "EnumPrintProcessorsA(Windows NT x86)"},
      {OS_WIN7, 1, "EnumPrintProcessorsA(NULL)"},
      {OS_WIN9X, 0, "EnumPrintProcessorsA(Windows 4.0)"},
      {OS_WIN9X, 1, "EnumPrintProcessorsA(Windows 4.0)"},
  };
  Configure("");
  for (const auto& c : cases) {
    g_nOSType = c.osType;
    g_bIsWow64 = c.wow64;
    machine.ClearJournal();
    Fill();
    EXPECT_EQ(machine.JournalOf({"EnumPrintProcessorsA"}), Names{c.call}) << c.call;
  }
}

TEST_F(ComponentsTest, FailedEnumerationListsNothingOfItsKind) {
  Configure(
      "[ZTPRINTER]\nPRINTERNUM=1\nPRINTERNAME1=ZT\n"
      "[ZTMONITOR]\nMonitorNUM=1\nMONITORNAME1=ZT\n"
      "[ZTPROC]\nPROCNUM=1\nPROCNAME1=ZT\n");
  AddPrinter("Office", "ZT Driver");
  machine.AddMonitor("ZT Port");
  machine.AddProcessor("ZTProc");
  machine.FailCall("EnumPrintersA", 1722);
  machine.FailCall("EnumPrintProcessorsA", 1722);
  EXPECT_EQ(Fill(), Names{"ZT Port"});
  machine.FailCall("EnumMonitorsA", 1722);
  EXPECT_EQ(Fill(), (Names{"Office", "ZTProc"}));
}

TEST_F(ComponentsTest, UnreadablePrintersAreLeftOutAndAlwaysClosed) {
  Configure("[ZTPRINTER]\nPRINTERNUM=1\nPRINTERNAME1=ZT\n");
  AddPrinter("Office", "ZT Driver");
  ASSERT_TRUE(IsConfiguredPrinter(machine.platform(), "Office"));
  const Names calls = machine.JournalOf({"OpenPrinterA", "GetPrinterA", "ClosePrinter"});
  ASSERT_EQ(calls.size(), 4u);
  EXPECT_EQ(calls.back(), "ClosePrinter(Office)");
  // The read names its buffer size, the size query 0: this tells them apart.
  const std::string read = calls[2];
  const std::string readSize = read.substr(read.rfind(','), read.rfind(')') - read.rfind(','));
  ASSERT_NE(readSize, ", 0");

  const struct {
    const char* call;
    const char* argument;
    bool opened;
  } failures[] = {
      {"OpenPrinterA", "", false},
      {"GetPrinterA", ", 0", true},  // the size query
      {"GetPrinterA", readSize.c_str(), true},
  };
  for (const auto& f : failures) {
    machine.ClearJournal();
    machine.FailCall(f.call, win::kAccessDenied, 1, f.argument);
    EXPECT_FALSE(IsConfiguredPrinter(machine.platform(), "Office")) << f.call << f.argument;
    EXPECT_EQ(machine.JournalOf({"ClosePrinter"}).size(), f.opened ? 1u : 0u) << f.call;
    EXPECT_EQ(machine.OpenHandleCount(), 0) << f.call;
  }
}

TEST_F(ComponentsTest, EachTestReadsTheConfigurationOnce) {
  Configure("[ZTMONITOR]\nMonitorNUM=9\nMONITORNAME9=ZT\n[ZTPROC]\nPROCNUM=9\n");
  AddPrinter("Office", "ZT Driver");
  const auto reads = [this] { return machine.JournalOf({"ReadFile"}).size(); };
  machine.ClearJournal();
  EXPECT_TRUE(Monitor("ZT Port"));
  EXPECT_EQ(reads(), 1u);
  machine.ClearJournal();
  EXPECT_FALSE(IsConfiguredProcessor(machine.platform().files, "WinPrint"));
  EXPECT_EQ(reads(), 1u);
  machine.ClearJournal();
  EXPECT_FALSE(IsConfiguredPrinter(machine.platform(), "Office"));
  EXPECT_EQ(reads(), 1u);
}

TEST_F(ComponentsTest, MissingConfigurationMatchesNothing) {
  AddPrinter("Office 0", "Driver 0");
  machine.AddMonitor("Port 0");
  EXPECT_TRUE(Fill().empty());
}

}  // namespace
