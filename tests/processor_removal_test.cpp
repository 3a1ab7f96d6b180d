// The print-processor step on the simulated machine: the spooler call, the
// restart, the environment's registry key and the DLL file, with log lines and
// pauses.
#include "engine/processor_removal.h"

#include <gtest/gtest.h>

#include "tests/support/steps_fixture.h"

namespace steps_test {
namespace {

constexpr const char* kProcessor = "ZT Print Proc";
constexpr const char* kProcessorDirectory = "C:\\Windows\\system32\\spool\\prtprocs\\w32x86";
constexpr const char* kX86List =
    "SYSTEM\\CurrentControlSet\\Control\\Print\\Environments\\Windows NT x86\\Print Processors\\";
constexpr const char* kX64List =
    "SYSTEM\\CurrentControlSet\\Control\\Print\\Environments\\Windows x64\\Print Processors\\";

const std::set<std::string> kStepCalls = {
    "DeletePrintProcessorA",       "StartServiceA", "Sleep", "RegDeleteKeyA",
    "GetPrintProcessorDirectoryA", "DeleteFileA"};

std::string ProcessorFile(const char* name) {
  return std::string(kProcessorDirectory) + "\\" + name;
}

class ProcessorRemovalTest : public StepsFixture {
 protected:
  ProcessorRemovalTest() {
    machine.SetPrintProcessorDirectory(kProcessorDirectory);
    machine.AddProcessor(kProcessor);
    machine.AddKey(std::string(kX86List) + kProcessor);
    machine.AddKey(std::string(kX64List) + kProcessor);
    machine.AddFile(ProcessorFile("ztproc.dll"));
    SetEntry(kProcessor);
  }
  void SetProcessorDll(const std::string& section, const std::string& dll) {
    SetConfig("[" + section + "]\r\nProcessorDllName=" + dll + "\r\n");
  }
  StepOutcome Run() { return RemoveProcessorEntry(session, run); }

  RunState run{0, false};
};

// The processor's section keeps the blanks of its name.
TEST_F(ProcessorRemovalTest, ProcessorOnWindows7GoesWithItsKeyAndFile) {
  SetProcessorDll("ZT Print Proc.Win7", "ztproc.dll");

  EXPECT_EQ(Run(), StepOutcome::kRemoved);

  EXPECT_EQ(Journal(kStepCalls), (Lines{"DeletePrintProcessorA(, NULL, ZT Print Proc)",
                                        "Sleep(2000)", "StartServiceA(Spooler)", "Sleep(500)",
                                        std::string("RegDeleteKeyA(") + kX86List + "ZT Print Proc)",
                                        "GetPrintProcessorDirectoryA()",
                                        "DeleteFileA(" + ProcessorFile("ztproc.dll") + ")"}));
  EXPECT_EQ(view.log, (Lines{"DELETING1 ZT Print Proc", "SUCCESS ZT Print Proc"}));
  EXPECT_FALSE(machine.HasProcessor(kProcessor));
  EXPECT_FALSE(machine.Exists(ProcessorFile("ztproc.dll")));
  EXPECT_TRUE(machine.HasKey(std::string(kX64List) + kProcessor));
  EXPECT_TRUE(view.items.empty());
  EXPECT_EQ(run.index, -1);
  EXPECT_TRUE(run.removed);
}

// 64-bit Windows keeps the key under "Windows x64"; every 32-bit Windows, 95/98/Me
// included, under "Windows NT x86".
TEST_F(ProcessorRemovalTest, TheKeyFollowsTheEnvironmentOfTheMachine) {
  struct Case {
    int osType;
    unsigned char wow64;
    const char* list;
  };
  for (const Case& c : {Case{OS_WIN7, 1, kX64List}, Case{OS_WIN9X, 0, kX86List}}) {
    SCOPED_TRACE(c.list);
    g_nOSType = c.osType;
    g_bIsWow64 = c.wow64;
    machine.AddProcessor(kProcessor);
    machine.ClearJournal();

    EXPECT_EQ(Run(), StepOutcome::kRemoved);

    EXPECT_EQ(Journal({"RegDeleteKeyA"}),
              (Lines{std::string("RegDeleteKeyA(") + c.list + "ZT Print Proc)"}));
  }
}

TEST_F(ProcessorRemovalTest, NoConfiguredDllStillRemovesTheKey) {
  for (const char* dll : {"0", "0ztproc.dll", "", "..\\evil.dll", "C:\\x.dll", "a/b.dll"}) {
    SCOPED_TRACE(dll);
    SetProcessorDll("ZT Print Proc.Win7", dll);
    machine.AddProcessor(kProcessor);
    machine.AddKey(std::string(kX86List) + kProcessor);
    machine.ClearJournal();
    view.log.clear();

    EXPECT_EQ(Run(), StepOutcome::kRemoved);

    EXPECT_FALSE(machine.HasKey(std::string(kX86List) + kProcessor));
    EXPECT_TRUE(Journal({"DeleteFileA"}).empty());
    EXPECT_EQ(view.log, (Lines{"DELETING1 ZT Print Proc", "SUCCESS ZT Print Proc"}));
  }
}

TEST_F(ProcessorRemovalTest, WithoutTheProcessorDirectoryNoFileIsDeleted) {
  SetProcessorDll("ZT Print Proc.Win7", "ztproc.dll");
  machine.FailCall("GetPrintProcessorDirectoryA", win::kAccessDenied);

  EXPECT_EQ(Run(), StepOutcome::kRemoved);

  EXPECT_EQ(view.log, (Lines{"DELETING1 ZT Print Proc", "Get system Directory error.",
                             "SUCCESS ZT Print Proc"}));
  EXPECT_TRUE(Journal({"DeleteFileA"}).empty());
  EXPECT_TRUE(machine.Exists(ProcessorFile("ztproc.dll")));
}

TEST_F(ProcessorRemovalTest, FailedDeletionLogsWhyWithoutARestart) {
  struct Case {
    win::Error error;
    const char* line;
  };
  for (const Case& c : {Case{win::kCanNotComplete, "USING ZT Print Proc"},
                        Case{win::kAccessDenied, "ERR_UNINSTALL ZT Print Proc"}}) {
    SCOPED_TRACE(c.line);
    machine.ClearJournal();
    view.log.clear();
    machine.FailCall("DeletePrintProcessorA", c.error);

    EXPECT_EQ(Run(), StepOutcome::kNextEntry);

    EXPECT_EQ(view.log, (Lines{"DELETING1 ZT Print Proc", c.line}));
    EXPECT_EQ(Journal(kStepCalls),
              (Lines{"DeletePrintProcessorA(, NULL, ZT Print Proc) -> " + std::to_string(c.error),
                     "Sleep(100)"}));
    EXPECT_TRUE(machine.HasProcessor(kProcessor));
    EXPECT_EQ(view.items.size(), 1u);
    EXPECT_FALSE(run.removed);
  }
}

}  // namespace
}  // namespace steps_test
