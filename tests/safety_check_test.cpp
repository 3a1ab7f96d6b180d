// The safety rule that judges every deletion of the engine's tests: what it lets
// pass and what it reports, one attempt after the removals that lead to it.
#include "tests/support/safety_check.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr const char* kConfig =
    "[ZTPRINTER]\r\nPRINTERNUM=2\r\nPRINTERNAME1=Qorvelin\r\nMANUFACTURER=Qorvelin Inc\r\n"
    "[ZTMONITOR]\r\nMonitorNUM=2\r\nMONITORNAME1=ZT USB Monitor\r\nMONITORNAME2=ZT IP Monitor\r\n"
    "[ZTPROC]\r\nPROCNUM=1\r\nPROCNAME1=ZTProc\r\n"
    "[ZTUSBMonitor.Win7]\r\nMonitorPDLLName=ztusbmon.dll\r\nUSBMONitorName=ZT USB Monitor\r\n"
    "USBMONitorDLLName=ztusb.dll\r\n"
    "[ZTIPMonitor.Win7]\r\nMonitorPDLLName=ztipmon.dll\r\nUSBMONitorDLLName=ztipusb.dll\r\n"
    "[ZTProc.Win7]\r\nProcessorDllName=ztproc.dll\r\n";

constexpr const char* kModelInf = "[Qorvelin Inc.NTamd64]\r\n\"Qorvelin A\"=Install\r\n";

sim::Deletion Attempt(const std::string& call, const std::string& name, win::Error error = 0) {
  sim::Deletion d;
  d.call = call;
  d.name = name;
  d.reached = call == "DeleteFileA" ? name : "";
  d.error = error;
  return d;
}

sim::Deletion Printer(const std::string& name, const std::string& port, const std::string& driver) {
  sim::Deletion d = Attempt("DeletePrinter", name);
  d.port = port;
  d.driver = driver;
  return d;
}

sim::Deletion File(const std::string& path, const std::string& bytes = "") {
  sim::Deletion d = Attempt("DeleteFileA", path);
  d.bytes = bytes;
  return d;
}

safety::Context Context() {
  safety::Context context;
  context.config = kConfig;
  context.checkedEntries = {"Qorvelin A",    "Qorvelin B", "ZT USB Monitor",
                            "ZT IP Monitor", "ZTProc",     "Office ZT USB Monitor"};
  context.windowsDirectory = "C:\\Windows";
  context.systemDirectory = "C:\\Windows\\system32";
  context.printProcessorDirectory = "C:\\Windows\\system32\\spool\\prtprocs\\w32x86";
  return context;
}

struct Case {
  const char* what;
  std::vector<sim::Deletion> before;  // allowed removals that lead to the attempt
  sim::Deletion attempt;
  bool allowed;
};

TEST(SafetyCheck, JudgesEachAttemptByWhatTheRemovalsBeforeItAllow) {
  const sim::Deletion printerA = Printer("Qorvelin A", "ZTIP_1", "Qorvelin A Driver");
  const sim::Deletion usbMonitor = Attempt("DeleteMonitorA", "ZT USB Monitor");
  const sim::Deletion ipMonitor = Attempt("DeleteMonitorA", "ZT IP Monitor");
  const sim::Deletion processor = Attempt("DeletePrintProcessorA", "ZTProc");
  const std::string system32 = "C:\\Windows\\system32\\";
  const std::string monitors = "SYSTEM\\CURRENTCONTROLSET\\CONTROL\\PRINT\\MONITORS\\";
  sim::Deletion failedOther = Printer("Other", "LPT2:", "Other Driver");
  failedOther.error = 5;
  sim::Deletion redirected = File(system32 + "ztusbmon.dll");
  redirected.reached = "C:\\Windows\\SysWOW64\\ztusbmon.dll";

  const Case cases[] = {
      {"a checked vendor printer", {}, printerA, true},
      {"a failed attempt counts too", {}, failedOther, false},
      {"an unchecked printer", {}, Printer("Qorvelin Z", "LPT1:", "Qorvelin Z Driver"), false},
      {"another vendor's driver", {}, Printer("Qorvelin B", "LPT1:", "Other Driver"), false},
      {"a printer named like a monitor",
       {},
       Printer("Office ZT USB Monitor", "LPT1:", "Qorvelin Driver"),
       false},
      {"its driver", {printerA}, Attempt("DeletePrinterDriverExA", "Qorvelin A Driver"), true},
      {"a driver without its printer",
       {},
       Attempt("DeletePrinterDriverA", "Qorvelin A Driver"),
       false},
      {"its vendor IP port", {printerA}, Attempt("DeletePortA", "ZTIP_1"), true},
      {"another IP port", {printerA}, Attempt("DeletePortA", "ZTIP_10"), false},
      {"a port of no vendor",
       {Printer("Qorvelin B", "LPT1:", "Qorvelin B Driver")},
       Attempt("DeletePortA", "LPT1:"),
       false},
      {"a checked monitor", {}, usbMonitor, true},
      {"an unconfigured monitor", {}, Attempt("DeleteMonitorA", "Standard TCP/IP Port"), false},
      {"a checked processor", {}, processor, true},
      {"the vendor keys after a USB monitor",
       {usbMonitor},
       Attempt("RegDeleteKeyA", "SOFTWARE\\QORVELIN\\PORTNAME"),
       true},
      {"the vendor keys after another monitor",
       {usbMonitor, ipMonitor},
       Attempt("RegDeleteKeyA", "SOFTWARE\\QORVELIN\\INSTALLPRINTER"),
       false},
      {"the monitor's list key",
       {usbMonitor},
       Attempt("RegDeleteKeyA", monitors + "ZT USB Monitor"),
       true},
      {"the list key a missing value names",
       {ipMonitor},
       Attempt("RegDeleteKeyA", monitors + "0"),
       true},
      {"the monitor list itself", {usbMonitor}, Attempt("RegDeleteKeyA", monitors), false},
      {"a monitor key without a removal",
       {},
       Attempt("RegDeleteKeyA", monitors + "ZT USB Monitor"),
       false},
      {"the processor's key",
       {processor},
       Attempt("RegDeleteKeyA",
               "SYSTEM\\CurrentControlSet\\Control\\Print\\Environments\\Windows NT x86\\Print "
               "Processors\\ZTProc"),
       true},
      {"the key of the other environment",
       {processor},
       Attempt("RegDeleteKeyA",
               "SYSTEM\\CurrentControlSet\\Control\\Print\\Environments\\Windows x64\\Print "
               "Processors\\ZTProc"),
       false},
      {"a configured monitor DLL", {usbMonitor}, File(system32 + "ztusb.dll"), true},
      {"a USB DLL of a section without USB", {ipMonitor}, File(system32 + "ztipusb.dll"), false},
      {"a system DLL", {usbMonitor}, File(system32 + "kernel32.dll"), false},
      {"a monitor DLL outside the system directory", {usbMonitor}, File("C:\\ztusbmon.dll"), false},
      {"a monitor DLL reached through WOW64", {usbMonitor}, redirected, false},
      {"the processor DLL",
       {processor},
       File("C:\\Windows\\system32\\spool\\prtprocs\\w32x86\\ztproc.dll"),
       true},
      {"the processor DLL in the system directory",
       {processor},
       File(system32 + "ztproc.dll"),
       false},
      {"an INF listing a checked model", {}, File("C:\\Windows\\inf\\oem5.inf", kModelInf), true},
      {"an INF of another model",
       {},
       File("C:\\Windows\\inf\\oem6.inf", "[Qorvelin Inc]\r\n\"Other\"=Install\r\n"),
       false},
      {"the PNF of an allowed INF",
       {File("C:\\Windows\\inf\\oem5.inf", kModelInf)},
       File("C:\\Windows\\inf\\oem5.PNF"),
       true},
      {"a PNF alone", {}, File("C:\\Windows\\inf\\oem5.PNF"), false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<sim::Deletion> deletions = c.before;
    deletions.push_back(c.attempt);
    const std::vector<std::string> violations = safety::CheckDeletions(Context(), deletions);
    EXPECT_EQ(violations.empty(), c.allowed) << ::testing::PrintToString(violations);
    if (!c.allowed) {
      EXPECT_EQ(violations.size(), 1u);
    }
  }
}

// On Windows 95/98/Me no print processor is the vendor's; under WOW64 its key
// lies under "Windows x64".
TEST(SafetyCheck, ProcessorsFollowTheOsTypeAndTheEnvironment) {
  safety::Context old = Context();
  old.osType = OS_WIN9X;
  EXPECT_EQ(safety::CheckDeletions(old, {Attempt("DeletePrintProcessorA", "ZTProc")}).size(), 1u);

  safety::Context wow64 = Context();
  wow64.wow64 = true;
  EXPECT_TRUE(safety::CheckDeletions(
                  wow64, {Attempt("DeletePrintProcessorA", "ZTProc"),
                          Attempt("RegDeleteKeyA",
                                  "SYSTEM\\CurrentControlSet\\Control\\Print\\Environments\\"
                                  "Windows x64\\Print Processors\\ZTProc")})
                  .empty());
}

}  // namespace
