// The removal run: the walk, the dispatch by name, the early end, the USB step, the
// restart prompt and the final block that gives the dialog back.
#include <algorithm>
#include <string>
#include <vector>

#include "engine/uninstall.h"
#include "res/resource.h"
#include "tests/support/engine_fixture.h"

namespace engine_test {
namespace {

using Lines = std::vector<std::string>;
using PauseList = std::vector<uint32_t>;

// The pauses of one printer removed on Windows 2000 or later.
const PauseList kPrinterPauses = {100, 2000, 1000, 100, 1000};
// The USB driver removal when no uninstaller window shows up.
const PauseList kUsbPauses = {500, 500, 1000};

const Lines kDisableAll = {"enable 1002 0", "enable 1010 0", "enable 1012 0", "enable 2 0",
                           "enable 1019 0"};
const Lines kEnableAll = {"enable 1010 1", "enable 1002 1", "enable 1012 1", "enable 2 1",
                          "enable 1019 1"};

PauseList Concat(std::initializer_list<PauseList> parts) {
  PauseList all;
  for (const PauseList& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

Lines EnableEvents(const FakeView& view) {
  Lines out;
  std::copy_if(view.events.begin(), view.events.end(), std::back_inserter(out),
               [](const std::string& e) { return e.rfind("enable ", 0) == 0; });
  return out;
}

Lines Concat(const Lines& a, const Lines& b) {
  Lines all = a;
  all.insert(all.end(), b.begin(), b.end());
  return all;
}

class RemovalRunTest : public EngineFixture {
 protected:
  int Run() {
    session.runActive = true;  // as the command leaves it
    return UninstallThreadProc(session);
  }
};

TEST_F(RemovalRunTest, WholeRunRemovesCheckedPrintersRunsUsbRemovalAndOffersTheRestart) {
  AddPrinter("Qorvelin A", "ZTIP_1");
  AddPrinter("Qorvelin B", "ZTIP_2");
  AddPrinter("Qorvelin C", "LPT1:");
  view.items = {{"Qorvelin A", true}, {"Qorvelin B", false}, {"Qorvelin C", true}};
  view.usbChecked = true;
  view.promptAnswer = win::kIdOk;

  EXPECT_EQ(Run(), 1);

  EXPECT_EQ(view.log, (Lines{"DEL2 Qorvelin A", "OK Qorvelin A", "DRVDEL Qorvelin A", "DRVOK %s",
                             "DEL2 Qorvelin C", "OK Qorvelin C", "DRVDEL Qorvelin C", "DRVOK %s",
                             "DEL3 %s", "USBOK %s", "SELECT %s"}));
  const PauseList expected =
      Concat({{500}, kPrinterPauses, {500}, {500}, kPrinterPauses, kUsbPauses});
  EXPECT_EQ(Pauses(), expected);
  EXPECT_EQ(machine.NowMs(), 11900u);
  EXPECT_EQ(machine.NowMs(), Sum(expected));
  EXPECT_EQ(view.ItemTexts(), Lines{"Qorvelin B"});
  EXPECT_EQ(view.promptsShown, 1);
  EXPECT_TRUE(machine.RestartRequested());
  // The restart request does not keep the dialog from being given back.
  EXPECT_EQ(EnableEvents(view), Concat(kDisableAll, kEnableAll));
  EXPECT_EQ(JournalOf({"OpenPrinterA"}),
            (Lines{"OpenPrinterA(Qorvelin A)", "OpenPrinterA(Qorvelin C)"}));
  EXPECT_FALSE(session.runActive);
  EXPECT_EQ(machine.OpenHandleCount(), 0);
}

TEST_F(RemovalRunTest, FinalBlockMeasuresTheLogAndSelectsItsLastLineOnceMore) {
  view.items = {{"Qorvelin A", false}};
  view.log = {"a rather long first line", "short"};
  view.selectedLine = 0;
  Run();
  ASSERT_EQ(view.log.back(), "SELECT %s");
  EXPECT_EQ(view.extent, static_cast<int>(std::string("a rather long first line").size() + 1) *
                             view.pixelsPerChar);
  EXPECT_EQ(view.selectedLine, 2);
  const auto getdc = std::find(view.events.begin(), view.events.end(), "getdc");
  ASSERT_NE(getdc, view.events.end());
  EXPECT_EQ(*(getdc + 1), "releasedc");
  EXPECT_EQ(view.events.back(), "releasedc");  // after the controls were enabled
}

TEST_F(RemovalRunTest, EmptyListRunsOnlyTheUsbRemovalAndEnablesOnlyExit) {
  view.usbChecked = true;
  view.promptAnswer = win::kIdOk;
  Run();
  EXPECT_EQ(view.log, (Lines{"DEL3 %s", "USBOK %s"}));
  EXPECT_EQ(Pauses(), kUsbPauses);
  EXPECT_EQ(view.promptsShown, 0);  // nothing was removed
  EXPECT_EQ(EnableEvents(view), Concat(kDisableAll, {"enable 2 1"}));
  EXPECT_FALSE(session.runActive);
}

TEST_F(RemovalRunTest, UncheckedEntriesCostTheirPauseAndStay) {
  AddPrinter("Qorvelin A", "ZTIP_1");
  view.items = {{"Qorvelin A", false}, {"ZT USB Monitor", false}, {"ZTProc", false}};
  Run();
  EXPECT_EQ(Pauses(), (PauseList{500, 500, 500}));
  EXPECT_EQ(view.log, Lines{"SELECT %s"});
  EXPECT_EQ(view.promptsShown, 0);
  EXPECT_EQ(view.items.size(), 3u);
  EXPECT_EQ(EnableEvents(view), Concat(kDisableAll, kEnableAll));
  EXPECT_TRUE(JournalOf({"OpenPrinterA", "DeleteMonitorA", "DeletePrintProcessorA"}).empty());
}

TEST_F(RemovalRunTest, AfterARemovalTheEntryThatMovedUpIsVisitedNext) {
  AddPrinter("Qorvelin A", "ZTIP_1");
  AddPrinter("Qorvelin B", "ZTIP_2");
  view.items = {{"Qorvelin A", true}, {"Qorvelin B", true}};
  Run();
  EXPECT_TRUE(view.items.empty());
  EXPECT_EQ(Pauses(), Concat({{500}, kPrinterPauses, {500}, kPrinterPauses}));
  EXPECT_EQ(view.events[5], "delete 0");
  EXPECT_EQ(std::count(view.events.begin(), view.events.end(), "delete 0"), 2);
  // Every entry gone: no closing line, only Exit comes back.
  EXPECT_EQ(view.log.back(), "DRVOK %s");
  EXPECT_EQ(EnableEvents(view), Concat(kDisableAll, {"enable 2 1"}));
  EXPECT_EQ(view.promptsShown, 1);
}

TEST_F(RemovalRunTest, APrinterWithJobsEndsTheRunWithoutUsbStepOrPromptAfterARemoval) {
  AddPrinter("Qorvelin A", "ZTIP_1");
  AddPrinter("Qorvelin Busy", "ZTIP_2", 2);
  AddPrinter("Qorvelin C", "ZTIP_3");
  view.items = {{"Qorvelin A", true}, {"Qorvelin Busy", true}, {"Qorvelin C", true}};
  view.usbChecked = true;
  Run();
  EXPECT_EQ(view.log, (Lines{"DEL2 Qorvelin A", "OK Qorvelin A", "DRVDEL Qorvelin A", "DRVOK %s",
                             "DEL2 Qorvelin Busy", "JOB1 Qorvelin Busy", "SELECT %s"}));
  EXPECT_EQ(Pauses(), Concat({{500}, kPrinterPauses, {500}, {100}}));
  EXPECT_EQ(view.ItemTexts(), (Lines{"Qorvelin Busy", "Qorvelin C"}));
  EXPECT_EQ(view.promptsShown, 0);
  EXPECT_TRUE(JournalOf({"ShellExecuteA"}).empty());
  EXPECT_EQ(EnableEvents(view), Concat(kDisableAll, kEnableAll));
}

TEST_F(RemovalRunTest, AFailedDeletionGoesOnWithTheNextEntry) {
  AddPrinter("Qorvelin A", "ZTIP_1");
  AddPrinter("Qorvelin B", "ZTIP_2");
  view.items = {{"Qorvelin A", true}, {"Qorvelin B", true}};
  machine.FailCall("DeletePrinter", win::kAccessDenied, 1, "Qorvelin A");
  Run();
  EXPECT_EQ(view.ItemTexts(), Lines{"Qorvelin A"});
  EXPECT_TRUE(view.items[0].checked);
  EXPECT_EQ(view.promptsShown, 1);
  EXPECT_EQ(view.log.front(), "DEL2 Qorvelin A");
  EXPECT_EQ(view.log[1], "DELPRINTER %s");
}

TEST_F(RemovalRunTest, AnUnopenablePrinterEndsTheRun) {
  // With the spooler stopped no printer can be opened.
  AddPrinter("Qorvelin A", "ZTIP_1");
  machine.SetSpoolerState(sim::ServiceState::kStopped);
  view.items = {{"Qorvelin A", true}, {"Qorvelin B", true}};
  view.usbChecked = true;
  Run();
  EXPECT_EQ(view.log, (Lines{"OPENPRN Qorvelin A", "SELECT %s"}));
  EXPECT_EQ(Pauses(), PauseList{500});
  EXPECT_EQ(view.promptsShown, 0);
  EXPECT_EQ(machine.OpenHandleCount(), 0);
}

TEST_F(RemovalRunTest, NamesDecideTheStepMonitorBeforeProcessorBeforePrinter) {
  machine.AddMonitor("ZT USB Monitor");
  machine.AddProcessor("ZTProc");
  // Listed as printers, but their names hold a monitor's or a processor's name.
  view.items = {{"ZT USB Monitor", true}, {"ZTProc", true}, {"ZT USB Monitor ZTProc", true}};
  Run();
  EXPECT_TRUE(JournalOf({"OpenPrinterA"}).empty());
  const Lines deletes = JournalOf({"DeleteMonitorA", "DeletePrintProcessorA"});
  ASSERT_GE(deletes.size(), 3u);
  EXPECT_EQ(deletes[0].rfind("DeleteMonitorA(, NULL, ZT USB Monitor)", 0), 0u);
  EXPECT_EQ(deletes[1].rfind("DeletePrintProcessorA(, NULL, ZTProc)", 0), 0u);
  EXPECT_EQ(deletes[2].rfind("DeleteMonitorA(, NULL, ZT USB Monitor ZTProc)", 0), 0u);
}

TEST_F(RemovalRunTest, UsbBoxComesBackOnlyWhenTheOsTypeAskedAfreshAllowsIt) {
  struct Case {
    uint32_t platformId, major, minor;
    bool usbEnabled;
  };
  const Case cases[] = {{win::kVerPlatformWin32Windows, 4, 10, false},  // Windows 98
                        {win::kVerPlatformWin32Nt, 4, 0, false},        // NT 4
                        {win::kVerPlatformWin32Nt, 5, 1, true}};        // XP
  for (const Case& c : cases) {
    SCOPED_TRACE(c.major * 10 + c.minor);
    EngineWorld world;
    world.machine.SetVersion(c.platformId, c.major, c.minor, win::kVerNtWorkstation);
    world.view.items = {{"Qorvelin A", false}};
    UninstallThreadProc(world.session);
    Lines expected = {"enable 1010 1", "enable 1002 1", "enable 1012 1", "enable 2 1"};
    if (c.usbEnabled) expected.push_back("enable 1019 1");
    EXPECT_EQ(EnableEvents(world.view), Concat(kDisableAll, expected));
    EXPECT_EQ(world.JournalOf({"GetVersionExA"}).size(), 1u);
  }
}

TEST_F(RemovalRunTest, OnlyConsentToThePromptRequestsTheRestart) {
  AddPrinter("Qorvelin A", "ZTIP_1");
  view.items = {{"Qorvelin A", true}};
  view.promptAnswer = win::kIdCancel;
  Run();
  EXPECT_EQ(view.promptsShown, 1);
  EXPECT_FALSE(machine.RestartRequested());
}

}  // namespace
}  // namespace engine_test
