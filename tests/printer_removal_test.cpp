// The printer step: its log lines, pauses and spooler calls on every path, the
// INF clean-up for USB printers, driver and port removal.
#include <string>
#include <vector>

#include "engine/printer_access.h"
#include "engine/printer_removal.h"
#include "engine/steps.h"
#include "tests/support/engine_fixture.h"

namespace engine_test {
namespace {

using Lines = std::vector<std::string>;
using PauseList = std::vector<uint32_t>;

const std::set<std::string> kSpoolerCalls = {"OpenPrinterA",         "GetPrinterA",
                                             "ClosePrinter",         "DeletePrinter",
                                             "EnumPrintersA",        "DeletePrinterDriverExA",
                                             "DeletePrinterDriverA", "DeletePortA"};

constexpr const char* kInfDir = "C:\\Windows\\inf\\";

// An INF file listing model (without quotes) in section.
std::string InfListing(const std::string& section, const std::string& model,
                       const std::string& value = "Install,USBPRINT\\QorvelinLX") {
  return "[Version]\r\nSignature=\"$Windows NT$\"\r\n[" + section + "]\r\n\"" + model +
         "\"=" + value + "\r\n";
}

// Puts name in the component list, checked, as the run would, and runs the step.
StepOutcome RunStep(EngineWorld& world, RunState& run, const std::string& name) {
  world.view.AddItems({name}, true);
  world.session.m_strCurrentName = name;
  run.index = static_cast<int>(world.view.items.size()) - 1;
  return RemovePrinterEntry(world.session, run);
}

class PrinterStepTest : public EngineFixture {
 protected:
  StepOutcome RunStep(const std::string& name) { return engine_test::RunStep(*this, run, name); }
  RunState run;
};

TEST_F(PrinterStepTest, RemovesPrinterDriverAndUnusedVendorPort) {
  AddPrinter("Qorvelin LX", "ZTIP_1");
  AddPrinter("Office Laser", "LPT1:");

  EXPECT_EQ(RunStep("Qorvelin LX"), StepOutcome::kRemoved);

  EXPECT_EQ(view.log,
            (Lines{"DEL2 Qorvelin LX", "OK Qorvelin LX", "DRVDEL Qorvelin LX", "DRVOK %s"}));
  EXPECT_EQ(Pauses(), (PauseList{100, 2000, 1000, 100, 1000}));
  EXPECT_EQ(JournalOf(kSpoolerCalls),
            (Lines{"OpenPrinterA(Qorvelin LX)", "GetPrinterA(Qorvelin LX, 0) -> 122",
                   "GetPrinterA(Qorvelin LX, 122)", "DeletePrinter(Qorvelin LX)",
                   "ClosePrinter(Qorvelin LX)",
                   "DeletePrinterDriverExA(NULL, NULL, Qorvelin LX Driver, 1, 0)",
                   "EnumPrintersA(2)", "DeletePortA(NULL, NULL, ZTIP_1)"}));
  EXPECT_TRUE(view.items.empty());
  EXPECT_EQ(run.index, -1);
  EXPECT_TRUE(run.removed);
  EXPECT_FALSE(machine.HasPrinter("Qorvelin LX"));
  EXPECT_FALSE(machine.HasDriver("Qorvelin LX Driver"));
  EXPECT_FALSE(machine.HasPort("ZTIP_1"));
  EXPECT_TRUE(machine.HasPrinter("Office Laser"));
  EXPECT_EQ(machine.OpenHandleCount(), 0);
}

struct FaultCase {
  const char* call;
  win::Error error;
  const char* argument;  // picks which of the calls fails
  Lines log;
  PauseList pauses;
  StepOutcome outcome;
};

TEST(PrinterStepFaults, EachFaultGivesItsLinePauseAndOutcomeAndReleasesEverything) {
  const FaultCase cases[] = {
      {"OpenPrinterA",
       win::kInvalidPrinterName,
       "",
       {"OPENPRN Qorvelin LX"},
       {},
       StepOutcome::kEndsRun},
      {"GetPrinterA",
       win::kAccessDenied,
       ", 0",
       {"DEL2 Qorvelin LX", "GETPRNINFO %s"},
       {100},
       StepOutcome::kEndsRun},
      {"GetPrinterA",
       win::kInvalidHandle,
       ", 122",
       {"DEL2 Qorvelin LX", "GETPRNINFO %s"},
       {100},
       StepOutcome::kEndsRun},
      {"DeletePrinter",
       win::kAccessDenied,
       "",
       {"DEL2 Qorvelin LX", "DELPRINTER %s"},
       {100},
       StepOutcome::kNextEntry},
  };
  for (const FaultCase& c : cases) {
    SCOPED_TRACE(std::string(c.call) + c.argument + " fails with " + std::to_string(c.error));
    EngineWorld world;
    world.AddPrinter("Qorvelin LX", "ZTIP_1");
    world.machine.FailCall(c.call, c.error, 1, c.argument);
    RunState run;

    EXPECT_EQ(RunStep(world, run, "Qorvelin LX"), c.outcome);

    EXPECT_EQ(world.view.log, c.log);
    EXPECT_EQ(world.Pauses(), c.pauses);
    // The printer, its driver and port stay; the entry stays, checked.
    EXPECT_TRUE(world.machine.HasPrinter("Qorvelin LX"));
    EXPECT_TRUE(world.machine.HasDriver("Qorvelin LX Driver"));
    EXPECT_TRUE(world.machine.HasPort("ZTIP_1"));
    EXPECT_EQ(world.view.ItemTexts(), Lines{"Qorvelin LX"});
    EXPECT_TRUE(world.view.items[0].checked);
    EXPECT_EQ(run.index, 0);
    EXPECT_FALSE(run.removed);
    EXPECT_EQ(world.machine.OpenHandleCount(), 0);
  }
}

TEST_F(PrinterStepTest, ErrorPathsCloseThePrinterBeforeTheLineButDeleteFailureAfterThePause) {
  AddPrinter("Qorvelin LX", "ZTIP_1");
  machine.FailCall("DeletePrinter", win::kAccessDenied);
  RunStep("Qorvelin LX");
  const Lines calls = JournalOf({"DeletePrinter", "Sleep", "ClosePrinter"});
  EXPECT_EQ(calls,
            (Lines{"DeletePrinter(Qorvelin LX) -> 5", "Sleep(100)", "ClosePrinter(Qorvelin LX)"}));
}

TEST_F(PrinterStepTest, QueuedJobEndsTheRunAfterTheInfCleanUp) {
  AddPrinter("Qorvelin LX", "USB001", 1);
  machine.AddFile(std::string(kInfDir) + "oem1.inf", InfListing("Qorvelin Inc", "Qorvelin LX"));
  machine.AddFile(std::string(kInfDir) + "oem1.PNF", "compiled",
                  win::kFileAttributeReadonly | win::kFileAttributeHidden);
  machine.AddFile(std::string(kInfDir) + "oem2.inf", InfListing("Qorvelin Inc", "Qorvelin MX"));
  machine.AddFile(std::string(kInfDir) + "oem2.PNF");
  machine.AddFile(std::string(kInfDir) + "oem3.inf",
                  InfListing("Qorvelin Inc.NTamd64", "Qorvelin LX"));
  machine.AddFile(std::string(kInfDir) + "oem4.inf", InfListing("Other Maker", "Qorvelin LX"));

  EXPECT_EQ(RunStep("Qorvelin LX"), StepOutcome::kEndsRun);

  EXPECT_EQ(view.log, (Lines{"DEL2 Qorvelin LX", "JOB1 Qorvelin LX"}));
  EXPECT_EQ(Pauses(), PauseList{100});
  EXPECT_FALSE(machine.Exists(std::string(kInfDir) + "oem1.inf"));
  EXPECT_FALSE(machine.Exists(std::string(kInfDir) + "oem1.PNF"));
  EXPECT_TRUE(machine.Exists(std::string(kInfDir) + "oem2.inf"));
  EXPECT_TRUE(machine.Exists(std::string(kInfDir) + "oem2.PNF"));
  EXPECT_FALSE(machine.Exists(std::string(kInfDir) + "oem3.inf"));
  EXPECT_TRUE(machine.Exists(std::string(kInfDir) + "oem4.inf"));
  EXPECT_TRUE(machine.HasPrinter("Qorvelin LX"));
  EXPECT_EQ(view.items.size(), 1u);
  EXPECT_EQ(machine.OpenHandleCount(), 0);
  EXPECT_EQ(JournalOf({"FindFirstFileA"}), Lines{"FindFirstFileA(C:\\Windows\\inf\\*.inf)"});
  EXPECT_EQ(JournalOf({"SetFileAttributesA", "DeleteFileA"}),
            (Lines{"SetFileAttributesA(C:\\Windows\\inf\\oem1.inf, 0x80)",
                   "DeleteFileA(C:\\Windows\\inf\\oem1.inf)",
                   "SetFileAttributesA(C:\\Windows\\inf\\oem1.PNF, 0x80)",
                   "DeleteFileA(C:\\Windows\\inf\\oem1.PNF)",
                   "SetFileAttributesA(C:\\Windows\\inf\\oem3.inf, 0x80)",
                   "DeleteFileA(C:\\Windows\\inf\\oem3.inf)",
                   "SetFileAttributesA(C:\\Windows\\inf\\oem3.PNF, 0x80) -> 2",
                   "DeleteFileA(C:\\Windows\\inf\\oem3.PNF) -> 2"}));
}

TEST_F(PrinterStepTest, OnlyAnUpperCaseUsb00PortCleansUpInfFiles) {
  AddPrinter("Qorvelin LX", "usb001");
  machine.AddFile(std::string(kInfDir) + "oem1.inf", InfListing("Qorvelin Inc", "Qorvelin LX"));
  EXPECT_EQ(RunStep("Qorvelin LX"), StepOutcome::kRemoved);
  EXPECT_TRUE(JournalOf({"GetWindowsDirectoryA", "FindFirstFileA"}).empty());
  EXPECT_TRUE(machine.Exists(std::string(kInfDir) + "oem1.inf"));
}

TEST_F(PrinterStepTest, AnEmptyInfFolderWritesTheSearchErrorToStandardOutputOnly) {
  AddPrinter("Qorvelin LX", "USB002");
  machine.AddDirectory("C:\\Windows\\inf");
  EXPECT_EQ(RunStep("Qorvelin LX"), StepOutcome::kRemoved);
  EXPECT_EQ(machine.StandardOutput(), "Invalid File Handle. Get Last Error reports 2\n");
  EXPECT_EQ(view.log,
            (Lines{"DEL2 Qorvelin LX", "OK Qorvelin LX", "DRVDEL Qorvelin LX", "DRVOK %s"}));
  EXPECT_TRUE(JournalOf({"FindClose"}).empty());
  EXPECT_EQ(machine.OpenHandleCount(), 0);
}

TEST_F(PrinterStepTest, NoWindowsDirectoryEndsTheRunSilently) {
  AddPrinter("Qorvelin LX", "USB001");
  machine.FailCall("GetWindowsDirectoryA", win::kAccessDenied);
  EXPECT_EQ(RunStep("Qorvelin LX"), StepOutcome::kEndsRun);
  EXPECT_EQ(view.log, Lines{"DEL2 Qorvelin LX"});
  EXPECT_TRUE(Pauses().empty());
  EXPECT_TRUE(machine.HasPrinter("Qorvelin LX"));
  EXPECT_EQ(machine.OpenHandleCount(), 0);
}

TEST_F(PrinterStepTest, InfFilesWhoseFullPathExceedsMaxPathAreLeftAlone) {
  // 243 characters of Windows directory: "inf\\oem1.inf" still fits in 259.
  const std::string windows = "C:\\" + std::string(240, 'w');
  machine.SetWindowsDirectory(windows);
  const std::string infDir = windows + "\\inf\\";
  const std::string fits = infDir + "oem1.inf";
  const std::string tooLong = infDir + "oem_with_a_longer_name.inf";
  machine.AddFile(fits, InfListing("Qorvelin Inc", "Qorvelin LX"));
  machine.AddFile(tooLong, InfListing("Qorvelin Inc", "Qorvelin LX"));
  AddPrinter("Qorvelin LX", "USB001");

  EXPECT_EQ(RunStep("Qorvelin LX"), StepOutcome::kRemoved);

  EXPECT_FALSE(machine.Exists(fits));
  EXPECT_TRUE(machine.Exists(tooLong));
  for (const std::string& read : JournalOf({"ReadFile"}))
    EXPECT_EQ(read.find("oem_with"), std::string::npos) << read;
}

TEST(PrinterStepWindowsDirectory, ADirectoryThatDoesNotFitInMaxPathEndsTheRunLikeAFailure) {
  EngineWorld world;
  world.machine.SetWindowsDirectory("C:\\" + std::string(257, 'w'));
  world.AddPrinter("Qorvelin LX", "USB001");
  RunState run;
  EXPECT_EQ(RunStep(world, run, "Qorvelin LX"), StepOutcome::kEndsRun);
  EXPECT_EQ(world.view.log, Lines{"DEL2 Qorvelin LX"});
  EXPECT_TRUE(world.JournalOf({"FindFirstFileA"}).empty());
  EXPECT_EQ(world.machine.OpenHandleCount(), 0);
}

TEST(PrinterStepDriver, DriverOutcomeDecidesTheLineNotTheStepsOutcome) {
  struct Case {
    bool extendedEntry;
    win::Error error;
    const char* call;
    const char* line;
  };
  const Case cases[] = {
      {true, win::kSuccess, "DeletePrinterDriverExA(NULL, NULL, Qorvelin LX Driver, 1, 0)",
       "DRVOK %s"},
      {false, win::kSuccess, "DeletePrinterDriverA(NULL, NULL, Qorvelin LX Driver)", "DRVOK %s"},
      {true, win::kPrinterDriverInUse,
       "DeletePrinterDriverExA(NULL, NULL, Qorvelin LX Driver, 1, 0) -> 3001", "DRVUSING %s"},
      {false, win::kAccessDenied, "DeletePrinterDriverA(NULL, NULL, Qorvelin LX Driver) -> 5",
       "DRVERR %s    er=5"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.call);
    EngineWorld world;
    if (!c.extendedEntry) g_pfnDeletePrinterDriverEx = nullptr;
    world.AddPrinter("Qorvelin LX", "LPT1:");
    if (c.error != win::kSuccess) {
      world.machine.FailCall(c.extendedEntry ? "DeletePrinterDriverExA" : "DeletePrinterDriverA",
                             c.error);
    }
    RunState run;

    EXPECT_EQ(RunStep(world, run, "Qorvelin LX"), StepOutcome::kRemoved);

    EXPECT_EQ(world.JournalOf({"DeletePrinterDriverExA", "DeletePrinterDriverA"}), Lines{c.call});
    EXPECT_EQ(world.view.log.back(), c.line);
    EXPECT_EQ(world.Pauses(), (PauseList{100, 2000, 1000, 100, 1000}));
    EXPECT_TRUE(run.removed);
    EXPECT_TRUE(world.view.items.empty());
  }
}

TEST(PrinterStepDriver, OldWindowsKeepsTheDriverButNotThePauses) {
  for (int osType : {OS_WIN9X, OS_NT4}) {
    SCOPED_TRACE(osType);
    EngineWorld world;
    g_nOSType = osType;
    world.AddPrinter("Qorvelin LX", "ZTIP_7");
    RunState run;

    EXPECT_EQ(RunStep(world, run, "Qorvelin LX"), StepOutcome::kRemoved);

    EXPECT_EQ(world.view.log, (Lines{"DEL2 Qorvelin LX", "OK Qorvelin LX"}));
    EXPECT_EQ(world.Pauses(), (PauseList{100, 2000, 1000, 1000}));
    EXPECT_TRUE(world.machine.HasDriver("Qorvelin LX Driver"));
    EXPECT_FALSE(world.machine.HasPort("ZTIP_7"));
  }
}

TEST(PrinterStepPort, OnlyAVendorPortNoOtherPrinterUsesIsDeleted) {
  struct Case {
    const char* port;
    const char* otherPrinterPort;  // null: no other printer
    bool deleted;
  };
  const Case cases[] = {
      {"ZTIP_1", nullptr, true}, {"ZTIP_1", "ZTIP_10", false},  // a longer port name holds it
      {"ZTIP_1", "LPT1:", true}, {"IP_1", nullptr, false},     {"ztip_1", nullptr, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.port) + " beside " +
                 (c.otherPrinterPort ? c.otherPrinterPort : "-"));
    EngineWorld world;
    world.AddPrinter("Qorvelin LX", c.port);
    if (c.otherPrinterPort)
      world.machine.AddPrinter({"Other", c.otherPrinterPort, "Other Driver", "", 0});
    RunState run;

    EXPECT_EQ(RunStep(world, run, "Qorvelin LX"), StepOutcome::kRemoved);

    EXPECT_EQ(world.machine.HasPort(c.port), !c.deleted);
    EXPECT_EQ(world.JournalOf({"DeletePortA"}).size(), c.deleted ? 1u : 0u);
  }
}

TEST_F(PrinterStepTest, PortInUseCountsEveryPrinterHoweverManyPortNamesThereAre) {
  // Far more than 1023 characters of port names before the one that matches.
  for (int i = 0; i < 80; ++i)
    machine.AddPrinter({"Printer " + std::to_string(i),
                        "NE" + std::to_string(i) + ":WITH_A_LONG_PORT_NAME", "Generic", "", 0});
  machine.AddPrinter({"Last", "ZTIP_9", "Generic", "", 0});
  EXPECT_TRUE(IsPortInUse(machine.platform().spooler, "ZTIP_9"));
  EXPECT_FALSE(IsPortInUse(machine.platform().spooler, "ZTIP_8"));
  // No match across the boundary of two port names.
  EXPECT_FALSE(IsPortInUse(machine.platform().spooler, "NAME@NE"));
}

TEST_F(PrinterStepTest, InfHasModelLooksInTheConfiguredManufacturerSections) {
  struct Case {
    const char* manufacturerLine;  // in [ZTPRINTER]; empty: no key
    const char* section;
    const char* value;
    bool found;
  };
  const Case cases[] = {
      {"MANUFACTURER=Qorvelin Inc", "Qorvelin Inc", "Install", true},
      {"MANUFACTURER=Qorvelin Inc", "Qorvelin Inc.NTamd64", "Install", true},
      {"MANUFACTURER=Qorvelin Inc", "QORVELIN", "Install", false},
      {"MANUFACTURER=Qorvelin Inc", "Qorvelin Inc", "", false},  // an empty value does not count
      {"MANUFACTURER=", "QORVELIN", "Install", true},
      {"MANUFACTURER=", "QORVELIN.NTamd64", "Install", true},
      {"", "QORVELIN", "Install", false},
      {"", "0", "Install", true},
      {"", "0.NTamd64", "Install", true},
  };
  const std::string inf = std::string(kInfDir) + "oem5.inf";
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.manufacturerLine) + " / [" + c.section + "]");
    SetConfig(std::string("[ZTPRINTER]\r\n") + c.manufacturerLine + "\r\n");
    machine.AddFile(inf, InfListing(c.section, "Qorvelin LX", c.value));
    machine.ClearJournal();

    EXPECT_EQ(InfHasModel(machine.platform().files, inf.c_str(), "\"Qorvelin LX\""), c.found);
    // The INF is read once for both sections; the configuration on every call.
    EXPECT_EQ(JournalOf({"ReadFile"}),
              (Lines{"ReadFile(C:\\pkg\\Uninstall.ini)", "ReadFile(" + inf + ")"}));
  }
}

TEST_F(PrinterStepTest, DeleteInfFileTakesTheCompanionByItsLastThreeCharacters) {
  // The INF of the printer being worked on, as the step would find it.
  session.m_strCurrentName = "Qorvelin LX";
  machine.AddFile("C:\\Windows\\inf\\oem12.inf", InfListing("Qorvelin Inc", "Qorvelin LX"),
                  win::kFileAttributeReadonly);
  machine.AddFile("C:\\Windows\\inf\\oem12.PNF", "", win::kFileAttributeReadonly);
  DeleteInfFile(machine.platform().files, "C:\\Windows\\inf\\oem12.inf");
  EXPECT_FALSE(machine.Exists("C:\\Windows\\inf\\oem12.inf"));
  EXPECT_FALSE(machine.Exists("C:\\Windows\\inf\\oem12.PNF"));
  EXPECT_EQ(JournalOf({"SetFileAttributesA", "DeleteFileA"}),
            (Lines{"SetFileAttributesA(C:\\Windows\\inf\\oem12.inf, 0x80)",
                   "DeleteFileA(C:\\Windows\\inf\\oem12.inf)",
                   "SetFileAttributesA(C:\\Windows\\inf\\oem12.PNF, 0x80)",
                   "DeleteFileA(C:\\Windows\\inf\\oem12.PNF)"}));
}

TEST_F(PrinterStepTest, NoMemoryForTheInformationIsItsOwnFailure) {
  AddPrinter("Qorvelin LX", "ZTIP_1");
  PrinterAccess printer(machine.platform().spooler,
                        [](size_t) { return std::unique_ptr<unsigned char[]>(); });
  EXPECT_EQ(printer.OpenAndRead("Qorvelin LX"), PrinterAccessResult::kNoMemory);
  printer.Release();
  EXPECT_EQ(machine.OpenHandleCount(), 0);

  session.m_strCurrentName = "Qorvelin LX";
  ReportPrinterAccessFailure(session, PrinterAccessResult::kNoMemory, "Qorvelin LX");
  EXPECT_EQ(view.log, Lines{"ALLOC %s"});
  EXPECT_EQ(Pauses(), PauseList{100});
}

}  // namespace
}  // namespace engine_test
