// A whole Uninstall over a rich machine, once for every call the run makes with
// that one call failing, for each error code the program tells apart. Whatever
// fails, the run must give the dialog back, release everything it acquired, keep
// its fixed pauses and remove nothing that is not the vendor's.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "app/uninstall_dlg.h"
#include "engine/uninstall.h"
#include "res/resource.h"
#include "tests/support/engine_fixture.h"
#include "tests/support/fake_dialog_host.h"
#include "tests/support/figures.h"
#include "tests/support/fixed_pauses.h"

namespace engine_test {
namespace {

// The codes the program tells apart, and the common failures of the platform:
// driver, monitor and processor in use, a too-small buffer, the spooler gone,
// file and path not found, access denied.
constexpr win::Error kCodes[] = {3001, 3008, 1003, 122, 1722, 2, 3, 5};
// The dialog's start tells apart only the too-small buffer; the in-use codes of
// the removals mean nothing there, and a missing path acts like a missing file.
constexpr win::Error kStartUpCodes[] = {122, 1722, 2, 5};

struct Variant {
  const char* name;
  bool wow64;  // a 32-bit program on 64-bit Windows 7
};

// whole_job's machine: vendor printers on USB, IP and LPT ports, another vendor's
// printer, driver, port and INF, two monitors, a print processor, their DLLs and
// keys, the USB library with a device, the USB box checked, the restart accepted.
// The component list is left to the caller.
void BuildRichMachine(sim::Machine& machine, FakeView& view, const Variant& variant) {
  machine.AddFile(kConfigPath, kTwoMonitorConfig);
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
  AddWholeJobComponents(machine, environment, processorDir);
  machine.AddFile("C:\\Windows\\System32\\drivers\\BULKUSB.sys");
  machine.SetUsbLibraryPresent(true);
  machine.AddUsbDevice(0, 0x51, 0x2);
  view.usbChecked = true;
  view.promptAnswer = win::kIdOk;
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
  BuildRichMachine(world.machine, world.view, variant);
  world.SetConfig(kTwoMonitorConfig);
  world.view.AddItems(kWholeJobEntries, true);
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

// The dialog from its start on the rich machine: the initialisation finds the
// configuration, fills the list and detects the USB driver; then the user selects
// every entry and presses Uninstall.
struct StartUpWorld {
  StartUpWorld()
      : dialog(machine.platform(), host.host()), watch(machine, [this] {
          return safety::ContextNow(machine, host.view(), dialog.session().m_strCurrentName);
        }) {
    machine.AddFile(kLanguagePath, kLanguageFile);
    g_Message.Bind(machine.platform().files);
  }
  ~StartUpWorld() { ResetEngineGlobals(); }
  StartUpWorld(const StartUpWorld&) = delete;
  StartUpWorld& operator=(const StartUpWorld&) = delete;

  sim::Machine machine;
  FakeMainHost host;
  CUninstallDlg dialog;
  safety::DeletionWatch watch;
};

// True when list holds vendor entries only, in their order.
bool OnlyVendorEntriesInOrder(const std::vector<std::string>& list) {
  size_t next = 0;
  for (const std::string& entry : list) {
    while (next < kWholeJobEntries.size() && kWholeJobEntries[next] != entry) ++next;
    if (next == kWholeJobEntries.size()) return false;
    ++next;
  }
  return true;
}

void ExpectNothingHeld(const sim::Machine& machine, const char* when,
                       std::vector<std::string>* broke) {
  if (machine.OpenHandleCount() != 0)
    broke->push_back(std::to_string(machine.OpenHandleCount()) + " handles left open " + when);
  if (machine.InvalidReleaseCount() != 0)
    broke->push_back(std::to_string(machine.InvalidReleaseCount()) + " invalid releases " + when);
}

// One start with the k-th call of the initialisation failing (k > 0), then a
// run without faults. Returns the calls the initialisation made.
size_t StartUpOnce(const Variant& variant, size_t k, win::Error code, std::string* call,
                   std::vector<std::string>* broke) {
  StartUpWorld world;
  BuildRichMachine(world.machine, world.host.view(), variant);
  broke->clear();
  const size_t from = world.machine.Journal().size();
  const size_t before = world.machine.CallCount();
  if (k > 0) world.machine.FailNthCall(k, code);

  world.dialog.OnInitDialog();

  world.machine.FailNthCall(0, 0);
  if (k > 0 && from + k - 1 < world.machine.Journal().size())
    *call = world.machine.Journal()[from + k - 1];
  const size_t calls = world.machine.CallCount() - before;
  if (!OnlyVendorEntriesInOrder(world.host.ItemTexts()))
    broke->push_back("listed " + ::testing::PrintToString(world.host.ItemTexts()));
  ExpectNothingHeld(world.machine, "after the start", broke);
  if (world.host.endResults.empty()) {
    world.dialog.OnSelect();
    world.dialog.OnUninstall();
    if (world.dialog.session().runActive) broke->push_back("the run is still marked active");
    ExpectNothingHeld(world.machine, "after the run", broke);
  }
  for (std::string& violation : world.watch.TakeViolations())
    broke->push_back("unsafe deletion: " + violation);
  return calls;
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

    // The same for every call of the dialog's initialisation, followed by a run.
    const size_t startCalls = StartUpOnce(variant, 0, 0, &call, &broke);
    EXPECT_TRUE(broke.empty()) << variant.name
                               << ", clean start: " << ::testing::PrintToString(broke);
    for (size_t k = 1; k <= startCalls; ++k) {
      for (win::Error code : kStartUpCodes) {
        ++runs;
        StartUpOnce(variant, k, code, &call, &broke);
        for (const std::string& what : broke)
          failures.push_back(std::string(variant.name) + ", start k=" + std::to_string(k) + " " +
                             call + " code " + std::to_string(code) + ": " + what);
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
