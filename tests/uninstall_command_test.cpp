// The Uninstall command: the job pre-check over every local printer, and one run
// at a time.
#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "engine/uninstall.h"
#include "tests/support/engine_fixture.h"

namespace engine_test {
namespace {

using Lines = std::vector<std::string>;
using PauseList = std::vector<uint32_t>;

int WorkerStarts(const FakeView& view) {
  return static_cast<int>(std::count(view.events.begin(), view.events.end(), "start worker"));
}

class UninstallCommandTest : public EngineFixture {};

TEST_F(UninstallCommandTest, AnotherVendorsPrinterWithAJobRefusesTheRun) {
  AddPrinter("Qorvelin A", "ZTIP_1");
  machine.AddPrinter({"Office Laser", "LPT1:", "Office Driver", "", 1});
  AddPrinter("Qorvelin C", "ZTIP_3");
  machine.AddMonitor("ZT USB Monitor");
  view.items = {{"ZT USB Monitor", true}};

  OnUninstall(session);

  EXPECT_EQ(view.log, Lines{"JOB2 Office Laser"});
  EXPECT_EQ(Pauses(), PauseList{100});
  EXPECT_EQ(WorkerStarts(view), 0);
  EXPECT_EQ(JournalOf({"OpenPrinterA"}),
            (Lines{"OpenPrinterA(Qorvelin A)", "OpenPrinterA(Office Laser)"}));
  EXPECT_TRUE(machine.HasMonitor("ZT USB Monitor"));
  EXPECT_FALSE(session.runActive);
  EXPECT_EQ(machine.OpenHandleCount(), 0);
}

TEST_F(UninstallCommandTest, PrintersThatCannotBeInspectedRefuseTheRun) {
  struct Case {
    const char* call;
    win::Error error;
    const char* argument;
    Lines log;
    PauseList pauses;
  };
  const Case cases[] = {
      {"OpenPrinterA", win::kAccessDenied, "Office Laser", {"OPENPRN Office Laser"}, {}},
      {"GetPrinterA", win::kAccessDenied, ", 0", {"GETPRNINFO %s"}, {100}},
      {"GetPrinterA", win::kInvalidHandle, ", 117", {"GETPRNINFO %s"}, {100}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.call) + " " + std::to_string(c.error));
    EngineWorld world;
    world.machine.AddPrinter({"Office Laser", "LPT1:", "Office Driver", "", 0});
    world.AddPrinter("Qorvelin A", "ZTIP_1");
    world.machine.FailCall(c.call, c.error, 1, c.argument);

    OnUninstall(world.session);

    EXPECT_EQ(world.view.log, c.log);
    EXPECT_EQ(world.Pauses(), c.pauses);
    EXPECT_EQ(WorkerStarts(world.view), 0);
    // The printers after the first are not looked at.
    const Lines opened = world.JournalOf({"OpenPrinterA"});
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0].rfind("OpenPrinterA(Office Laser)", 0), 0u);
    EXPECT_FALSE(world.session.runActive);
    EXPECT_EQ(world.machine.OpenHandleCount(), 0);
  }
}

TEST_F(UninstallCommandTest, NoPrintersStartsTheRunAtOnce) {
  view.usbChecked = false;
  OnUninstall(session);
  EXPECT_EQ(WorkerStarts(view), 1);
  EXPECT_EQ(JournalOf({"EnumPrintersA", "OpenPrinterA"}), Lines{"EnumPrintersA(5)"});
  EXPECT_TRUE(view.log.empty());  // an empty list: no closing line
  EXPECT_FALSE(session.runActive);
}

TEST_F(UninstallCommandTest, IdlePrintersLetTheRunStartWithNothingChecked) {
  AddPrinter("Qorvelin A", "ZTIP_1");
  machine.AddPrinter({"Office Laser", "LPT1:", "Office Driver", "", 0});
  view.items = {{"Qorvelin A", false}};
  OnUninstall(session);
  EXPECT_EQ(WorkerStarts(view), 1);
  EXPECT_EQ(JournalOf({"ClosePrinter"}).size(), 2u);
  EXPECT_EQ(view.log, Lines{"SELECT %s"});
  EXPECT_EQ(Pauses(), PauseList{500});
  EXPECT_EQ(machine.OpenHandleCount(), 0);
}

TEST_F(UninstallCommandTest, ASecondClickWhileARunIsStartingStartsNothing) {
  AddPrinter("Qorvelin A", "ZTIP_1");
  view.items = {{"Qorvelin A", false}};
  view.runWorkerAtOnce = false;

  OnUninstall(session);
  machine.ClearJournal();
  OnUninstall(session);

  EXPECT_EQ(WorkerStarts(view), 1);
  EXPECT_TRUE(machine.Journal().empty());  // not even the pre-check ran again
  ASSERT_EQ(view.pendingWorkers.size(), 1u);
  EXPECT_TRUE(session.runActive);

  view.pendingWorkers[0]();
  EXPECT_FALSE(session.runActive);
  OnUninstall(session);
  EXPECT_EQ(WorkerStarts(view), 2);
}

TEST_F(UninstallCommandTest, AWorkerThatCannotStartLeavesTheCommandUsable) {
  struct NoThreadView : FakeView {
    bool StartWorker(std::function<void()>) override {
      events.push_back("start worker");
      return false;
    }
  };
  NoThreadView noThread;
  UninstallSession noThreadSession(machine.platform(), noThread);
  OnUninstall(noThreadSession);
  EXPECT_FALSE(noThreadSession.runActive);
  OnUninstall(noThreadSession);
  EXPECT_EQ(WorkerStarts(noThread), 2);
}

TEST_F(UninstallCommandTest, WithTheSpoolerStoppedTheRunStartsAndEndsAtThePrinter) {
  AddPrinter("Qorvelin A", "ZTIP_1");
  view.items = {{"Qorvelin A", true}};
  machine.SetSpoolerState(sim::ServiceState::kStopped);
  OnUninstall(session);
  EXPECT_EQ(WorkerStarts(view), 1);
  EXPECT_EQ(view.log, (Lines{"OPENPRN Qorvelin A", "SELECT %s"}));
  EXPECT_FALSE(session.runActive);
  EXPECT_EQ(machine.OpenHandleCount(), 0);
}

}  // namespace
}  // namespace engine_test
