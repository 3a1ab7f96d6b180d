// A whole Uninstall over a rich machine, once for every call the run makes with
// that one call failing, for each error code the program tells apart. Whatever
// fails, the run must give the dialog back, release everything it acquired, keep
// its fixed pauses and remove nothing that is not the vendor's.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "engine/uninstall.h"
#include "res/resource.h"
#include "tests/support/engine_fixture.h"
#include "tests/support/figures.h"
#include "tests/support/fixed_pauses.h"

namespace engine_test {
namespace {

constexpr const char* kRichConfig =
    "[ZTPRINTER]\r\n"
    "PRINTERNUM=1\r\n"
    "PRINTERNAME1=Qorvelin\r\n"
    "MANUFACTURER=Qorvelin Inc\r\n"
    "[ZTMONITOR]\r\n"
    "MonitorNUM=2\r\n"
    "MONITORNAME1=ZT USB Monitor\r\n"
    "MONITORNAME2=ZT IP Monitor\r\n"
    "[ZTPROC]\r\n"
    "PROCNUM=1\r\n"
    "PROCNAME1=ZTProc\r\n"
    "[ZTUSBMonitor.Win7]\r\n"
    "MonitorPDLLName=ztusbmon.dll\r\n"
    "MONitorPUIDLLName=ztusbmonui.dll\r\n"
    "USBMONitorDLLName=ztusb.dll\r\n"
    "USBMONitorName=ZT USB Monitor\r\n"
    "[ZTIPMonitor.Win7]\r\n"
    "MonitorPDLLName=ztipmon.dll\r\n"
    "USBMONitorName=ZT IP Monitor\r\n"
    "[ZTProc.Win7]\r\n"
    "ProcessorDllName=ztproc.dll\r\n";

constexpr const char* kMonitorsKey = "SYSTEM\\CURRENTCONTROLSET\\CONTROL\\PRINT\\MONITORS\\";
constexpr const char* kProcessorList = "SYSTEM\\CurrentControlSet\\Control\\Print\\Environments\\";

// The codes the program tells apart, and the common failures of the platform:
// driver, monitor and processor in use, a too-small buffer, the spooler gone,
// file and path not found, access denied.
constexpr win::Error kCodes[] = {3001, 3008, 1003, 122, 1722, 2, 3, 5};

struct Variant {
  const char* name;
  bool wow64;  // a 32-bit program on 64-bit Windows 7
};

// whole_job's machine: vendor printers on USB, IP and LPT ports, another vendor's
// printer, driver, port and INF, two monitors, a print processor, their DLLs and
// keys, the USB library with a device, the USB box checked, the restart accepted.
void BuildRichMachine(EngineWorld& world, const Variant& variant) {
  sim::Machine& machine = world.machine;
  world.SetConfig(kRichConfig);
  std::string processorDir = "C:\\Windows\\system32\\spool\\prtprocs\\w32x86";
  std::string environment = "Windows NT x86";
  if (variant.wow64) {
    machine.SetWow64(true);
    machine.SetArchitecture(win::kProcessorArchitectureAmd64, win::kProcessorArchitectureIntel);
    g_bIsWow64 = 1;
    environment = "Windows x64";
    processorDir = "C:\\Windows\\system32\\spool\\prtprocs\\x64";
    machine.SetDefaultEnvironment(environment);
    machine.SetPrintProcessorDirectory(processorDir);
    // The 32-bit copies WOW64 would reach: they must stay.
    for (const char* dll : {"ztusbmon.dll", "ztusbmonui.dll", "ztusb.dll", "ztipmon.dll"})
      machine.AddFile(std::string("C:\\Windows\\SysWOW64\\") + dll);
  }
  world.AddPrinter("Qorvelin A", "USB001");
  world.AddPrinter("Qorvelin B", "ZTIP_1");
  world.AddPrinter("Qorvelin C", "LPT1:");
  machine.AddPrinter({"Other Laser", "LPT2:", "Other Driver", "", 0});
  machine.AddMonitor("ZT USB Monitor");
  machine.AddMonitor("ZT IP Monitor");
  machine.AddProcessor("ZTProc", environment);
  for (const char* dll : {"ztusbmon.dll", "ztusbmonui.dll", "ztusb.dll", "ztipmon.dll"})
    machine.AddFile(std::string("C:\\Windows\\system32\\") + dll);
  machine.AddFile(processorDir + "\\ztproc.dll");
  machine.AddFile("C:\\Windows\\inf\\oem5.inf",
                  "[Qorvelin Inc]\r\n\"Qorvelin A\"=Install,USBPRINT\\QorvelinA\r\n");
  machine.AddFile("C:\\Windows\\inf\\oem5.PNF");
  machine.AddFile("C:\\Windows\\inf\\oem6.inf", "[Other]\r\n\"Other Laser\"=Install\r\n");
  machine.AddFile("C:\\Windows\\inf\\oem6.PNF");
  machine.AddKey("SOFTWARE\\QORVELIN\\INSTALLPRINTER");
  machine.AddKey("SOFTWARE\\QORVELIN\\PORTNAME");
  machine.AddKey(std::string(kMonitorsKey) + "ZT USB Monitor");
  machine.AddKey(std::string(kMonitorsKey) + "ZT IP Monitor");
  machine.AddKey(std::string(kProcessorList) + environment + "\\Print Processors\\ZTProc");
  machine.SetUsbLibraryPresent(true);
  machine.AddUsbDevice(0, 0x51, 0x2);
  world.view.AddItems(
      {"Qorvelin A", "Qorvelin B", "Qorvelin C", "ZT USB Monitor", "ZT IP Monitor", "ZTProc"},
      true);
  world.view.usbChecked = true;
  world.view.promptAnswer = win::kIdOk;
}

bool Started(const FakeView& view) {
  for (const std::string& event : view.events)
    if (event == "start worker") return true;
  return false;
}

bool Logged(const FakeView& view, const std::string& line) {
  for (const std::string& logged : view.log)
    if (logged == line) return true;
  return false;
}

// What broke in one run, one line each; empty when it kept every promise.
std::vector<std::string> RunBroke(EngineWorld& world, size_t from,
                                  const std::vector<size_t>& visits) {
  std::vector<std::string> broke;
  const FakeView& view = world.view;
  if (world.session.runActive) broke.push_back("the run is still marked active");
  if (Started(view)) {
    // The final block: with entries left everything is enabled again (the USB box
    // too, on this Windows 7), else Exit alone.
    const bool left = !view.items.empty();
    for (int id : {IDC_COMPONENTS, IDC_UNINSTALL, IDC_SELECT, IDC_USB_DRIVER})
      if (view.IsEnabled(id) != left)
        broke.push_back("control " + std::to_string(id) + (left ? " disabled" : " enabled"));
    if (!view.IsEnabled(win::kIdCancel)) broke.push_back("Exit disabled");
  } else if (!view.enabled.empty()) {
    broke.push_back("a refused command touched the controls");
  }
  if (world.machine.OpenHandleCount() != 0)
    broke.push_back(std::to_string(world.machine.OpenHandleCount()) + " handles left open");
  if (world.machine.InvalidReleaseCount() != 0)
    broke.push_back(std::to_string(world.machine.InvalidReleaseCount()) + " invalid releases");
  const bool usbStepRan = Logged(view, "DEL3 %s");
  for (std::string& missing :
       fixed_pauses::Checker(world.machine.Journal(), from, visits, usbStepRan).Missing())
    broke.push_back(std::move(missing));
  for (std::string& violation : world.safetyWatch.TakeViolations())
    broke.push_back("unsafe deletion: " + violation);
  return broke;
}

// One Uninstall on a fresh rich machine; k > 0 makes the run's k-th call fail.
// Returns the calls the run made; *call names the failed one.
size_t RunOnce(const Variant& variant, size_t k, win::Error code, std::string* call,
               std::vector<std::string>* broke) {
  EngineWorld world;
  BuildRichMachine(world, variant);
  std::vector<size_t> visits;
  world.view.onCheckRead = [&] { visits.push_back(world.machine.Journal().size()); };
  const size_t from = world.machine.Journal().size();
  const size_t before = world.machine.CallCount();
  if (k > 0) world.machine.FailNthCall(k, code);

  OnUninstall(world.session);

  if (k > 0 && from + k - 1 < world.machine.Journal().size())
    *call = world.machine.Journal()[from + k - 1];
  *broke = RunBroke(world, from, visits);
  world.view.onCheckRead = nullptr;
  return world.machine.CallCount() - before;
}

TEST(FaultSweep, EveryFailingCallLeavesTheMachineAndTheDialogSound) {
  long long runs = 0;
  std::vector<std::string> failures;
  for (const Variant& variant : {Variant{"32-bit Windows 7", false}, Variant{"WOW64", true}}) {
    std::string call;
    std::vector<std::string> broke;
    const size_t calls = RunOnce(variant, 0, 0, &call, &broke);
    EXPECT_TRUE(broke.empty()) << variant.name
                               << ", clean run: " << ::testing::PrintToString(broke);
    EXPECT_GT(calls, 100u) << variant.name;  // the whole job ran

    for (size_t k = 1; k <= calls; ++k) {
      for (win::Error code : kCodes) {
        ++runs;
        RunOnce(variant, k, code, &call, &broke);
        for (const std::string& what : broke)
          failures.push_back(std::string(variant.name) + ", k=" + std::to_string(k) + " " + call +
                             " code " + std::to_string(code) + ": " + what);
      }
    }
  }

  ReportFigure("fault_points_swept", runs);
  ReportFigure("fault_invariant_failures", static_cast<long long>(failures.size()));
  const std::vector<std::string> first(failures.begin(),
                                       failures.begin() + std::min<size_t>(failures.size(), 30));
  EXPECT_TRUE(failures.empty()) << failures.size() << " broken promises, the first:\n"
                                << ::testing::PrintToString(first);
}

}  // namespace
}  // namespace engine_test
