// The spooler restart and the system restart on the simulated machine.
#include <gtest/gtest.h>

#include "tests/support/steps_fixture.h"

namespace steps_test {
namespace {

const std::set<std::string> kServiceCalls = {"OpenSCManagerA",     "OpenServiceA",
                                             "ControlService",     "StartServiceA",
                                             "CloseServiceHandle", "Sleep"};

class SpoolerRestartTest : public StepsFixture {};

TEST_F(SpoolerRestartTest, StopsWaitsAndStarts) {
  RestartSpooler(machine.platform());

  EXPECT_EQ(Journal(kServiceCalls),
            (Lines{"OpenSCManagerA(983103)", "OpenServiceA(Spooler, 32)", "ControlService(Spooler)",
                   "CloseServiceHandle(Spooler)", "Sleep(2000)", "OpenServiceA(Spooler, 16)",
                   "StartServiceA(Spooler)", "CloseServiceHandle(Spooler)",
                   "CloseServiceHandle(SCManager)"}));
  EXPECT_EQ(machine.SpoolerState(), sim::ServiceState::kRunning);
}

TEST_F(SpoolerRestartTest, WithoutTheServiceManagerNothingHappensAndNobodyWaits) {
  machine.FailCall("OpenSCManagerA", win::kAccessDenied);

  RestartSpooler(machine.platform());

  EXPECT_EQ(Journal(kServiceCalls), (Lines{"OpenSCManagerA(983103) -> 5"}));
  EXPECT_TRUE(machine.Pauses().empty());
}

// A stopped spooler refuses the stop and starts; a disabled one refuses the start.
// Neither changes the course, and every handle is closed.
TEST_F(SpoolerRestartTest, RefusedStopOrStartChangesNothing) {
  machine.SetSpoolerState(sim::ServiceState::kStopped);
  RestartSpooler(machine.platform());
  EXPECT_EQ(machine.SpoolerState(), sim::ServiceState::kRunning);
  EXPECT_EQ(machine.Pauses(), (Pauses{2000}));

  machine.SetSpoolerState(sim::ServiceState::kDisabled);
  machine.ClearJournal();
  RestartSpooler(machine.platform());
  EXPECT_EQ(machine.SpoolerState(), sim::ServiceState::kDisabled);
  EXPECT_EQ(Journal({"StartServiceA", "CloseServiceHandle"}),
            (Lines{"CloseServiceHandle(Spooler)", "StartServiceA(Spooler) -> 1058",
                   "CloseServiceHandle(Spooler)", "CloseServiceHandle(SCManager)"}));
}

TEST_F(SpoolerRestartTest, ServiceThatDoesNotOpenForTheStopIsStillStartedAfterTheWait) {
  machine.FailCall("OpenServiceA", win::kAccessDenied, 1);

  RestartSpooler(machine.platform());

  EXPECT_EQ(Journal(kServiceCalls),
            (Lines{"OpenSCManagerA(983103)", "OpenServiceA(Spooler, 32) -> 5", "Sleep(2000)",
                   "OpenServiceA(Spooler, 16)", "StartServiceA(Spooler) -> 1056",
                   "CloseServiceHandle(Spooler)", "CloseServiceHandle(SCManager)"}));
  EXPECT_EQ(machine.SpoolerState(), sim::ServiceState::kRunning);
}

// The token's handle is a number of the machine's: only the call is compared.
Lines WithoutTokenHandle(Lines journal) {
  for (std::string& entry : journal)
    if (entry.rfind("CloseHandle(", 0) == 0) entry = "CloseHandle(token)";
  return journal;
}

const std::set<std::string> kRestartCalls = {"OpenProcessToken", "LookupPrivilegeValueA",
                                             "AdjustTokenPrivileges", "CloseHandle",
                                             "ExitWindowsEx"};

TEST_F(SpoolerRestartTest, Windows9xRestartsWithoutPrivileges) {
  machine.SetVersion(win::kVerPlatformWin32Windows, 4, 10, 0);

  RequestSystemRestart(machine.platform());

  EXPECT_EQ(Journal(kRestartCalls), (Lines{"ExitWindowsEx(2, 0)"}));
  EXPECT_TRUE(machine.RestartRequested());
}

TEST_F(SpoolerRestartTest, WindowsNtEnablesTheShutdownPrivilegeFirst) {
  RequestSystemRestart(machine.platform());

  EXPECT_EQ(WithoutTokenHandle(Journal(kRestartCalls)),
            (Lines{"OpenProcessToken(32)", "LookupPrivilegeValueA(SeShutdownPrivilege)",
                   "AdjustTokenPrivileges(SeShutdownPrivilege, 2)", "CloseHandle(token)",
                   "ExitWindowsEx(2, 0)"}));
  EXPECT_TRUE(machine.RestartRequested());
}

TEST_F(SpoolerRestartTest, NoRestartWhenThePrivilegeCannotBeEnabled) {
  for (const char* failing : {"AdjustTokenPrivileges", "OpenProcessToken"}) {
    SCOPED_TRACE(failing);
    machine.FailCall(failing, win::kAccessDenied);

    RequestSystemRestart(machine.platform());

    EXPECT_TRUE(Journal({"ExitWindowsEx"}).empty());
    EXPECT_FALSE(machine.RestartRequested());
  }
}

}  // namespace
}  // namespace steps_test
