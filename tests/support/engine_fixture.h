// A machine for tests of the removal engine: the simulated Windows, the fake main
// dialog, a session over both, a language file whose texts show their key and
// whether they were formatted, and an uninstall configuration. The globals the
// engine reads are set for a 32-bit Windows 7 and put back after each test.
#pragma once
#include <gtest/gtest.h>

#include <cstdio>
#include <numeric>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "config/texts.h"
#include "config/uninstall_ini.h"
#include "engine/uninstall.h"
#include "platform/os_type.h"
#include "platform/sim/sim_machine.h"
#include "tests/support/engine_globals.h"
#include "tests/support/fake_view.h"
#include "tests/support/safety_check.h"

namespace engine_test {

constexpr const char* kPackageDir = "C:\\pkg";
constexpr const char* kLanguagePath = "C:\\pkg\\language\\uninstall.ini";
constexpr const char* kConfigPath = "C:\\pkg\\Uninstall.ini";

// Every text carries "%s": a formatted line shows the name in its place, a line
// logged as read keeps the "%s".
constexpr const char* kLanguageFile =
    "[Message]\r\n"
    "IDS_SELECTPRN1=SELECT %s\r\n"
    "IDS_DELETING1=DEL1 %s\r\n"
    "IDS_DELETING2=DEL2 %s\r\n"
    "IDS_DELETING3=DEL3 %s\r\n"
    "IDS_USING=USING %s\r\n"
    "IDS_ERR_UNINSTALL=ERRUNINST %s\r\n"
    "IDS_SUCCESS=OK %s\r\n"
    "IDS_ERR_OPENPRN=OPENPRN %s\r\n"
    "IDS_ERR_GETPRNINFO=GETPRNINFO %s\r\n"
    "IDS_ERR_ALLOC=ALLOC %s\r\n"
    "IDS_ERR_HAVEJOB1=JOB1 %s\r\n"
    "IDS_ERR_HAVEJOB2=JOB2 %s\r\n"
    "IDS_ERR_DELPRINTER=DELPRINTER %s\r\n"
    "IDS_DRVDELETING=DRVDEL %s\r\n"
    "IDS_DRV_SUCCESS=DRVOK %s\r\n"
    "IDS_ERR_DRVUSING=DRVUSING %s\r\n"
    "IDS_ERR_DRVDEL=DRVERR %s\r\n"
    "IDS_DRV_SUCCESS1=USBOK %s\r\n"
    "[Uninstall]\r\n"
    "CaptionName=USB Driver Uninstall\r\n"
    "[Reboot]\r\n"
    "Title=Restart\r\n"
    "Yes=Yes\r\n"
    "No=No\r\n";

// Printers whose driver contains "Qorvelin", the monitor "ZT USB Monitor" and the
// print processor "ZTProc", with their Windows 7 sections.
constexpr const char* kConfigFile =
    "[ZTPRINTER]\r\n"
    "PRINTERNUM=1\r\n"
    "PRINTERNAME1=Qorvelin\r\n"
    "MANUFACTURER=Qorvelin Inc\r\n"
    "[ZTMONITOR]\r\n"
    "MonitorNUM=1\r\n"
    "MONITORNAME1=ZT USB Monitor\r\n"
    "[ZTPROC]\r\n"
    "PROCNUM=1\r\n"
    "PROCNAME1=ZTProc\r\n"
    "[ZTUSBMonitor.Win7]\r\n"
    "MonitorPDLLName=ztusbmon.dll\r\n"
    "MONitorPUIDLLName=ztusbmonui.dll\r\n"
    "USBMONitorDLLName=ztusb.dll\r\n"
    "USBMONitorName=ZT USB Monitor\r\n"
    "[ZTProc.Win7]\r\n"
    "ProcessorDllName=ztproc.dll\r\n";

// The whole job's configuration: kConfigFile with a second monitor, "ZT IP
// Monitor", whose section names one DLL.
constexpr const char* kTwoMonitorConfig =
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

// The whole job's machine: the vendor's printers on a USB, a vendor IP and an LPT
// port, another vendor's printer with its driver, port and INF file, the two
// monitors and the print processor of kTwoMonitorConfig with their DLLs and keys,
// and the vendor's INF file with its PNF. The print processor lives in
// environment, its DLL in processorDirectory.
inline void AddWholeJobComponents(
    sim::Machine& machine, const std::string& environment = "Windows NT x86",
    const std::string& processorDirectory = "C:\\Windows\\system32\\spool\\prtprocs\\w32x86") {
  for (const auto& [name, port] :
       {std::pair{"Qorvelin A", "USB001"}, std::pair{"Qorvelin B", "ZTIP_1"},
        std::pair{"Qorvelin C", "LPT1:"}})
    machine.AddPrinter({name, port, std::string(name) + " Driver", "", 0});
  machine.AddPrinter({"Other Laser", "LPT2:", "Other Driver", "", 0});
  machine.AddMonitor("ZT USB Monitor");
  machine.AddMonitor("ZT IP Monitor");
  machine.AddProcessor("ZTProc", environment);
  for (const char* dll : {"ztusbmon.dll", "ztusbmonui.dll", "ztusb.dll", "ztipmon.dll"})
    machine.AddFile(std::string("C:\\Windows\\system32\\") + dll);
  machine.AddFile(processorDirectory + "\\ztproc.dll");
  machine.AddFile("C:\\Windows\\inf\\oem5.inf",
                  "[Qorvelin Inc]\r\n\"Qorvelin A\"=Install,USBPRINT\\QorvelinA\r\n");
  machine.AddFile("C:\\Windows\\inf\\oem5.PNF");
  machine.AddFile("C:\\Windows\\inf\\oem6.inf", "[Other]\r\n\"Other Laser\"=Install\r\n");
  machine.AddFile("C:\\Windows\\inf\\oem6.PNF");
  machine.AddKey("SOFTWARE\\QORVELIN\\INSTALLPRINTER");
  machine.AddKey("SOFTWARE\\QORVELIN\\PORTNAME");
  for (const char* monitor : {"ZT USB Monitor", "ZT IP Monitor"})
    machine.AddKey(std::string("SYSTEM\\CURRENTCONTROLSET\\CONTROL\\PRINT\\MONITORS\\") + monitor);
  machine.AddKey("SYSTEM\\CurrentControlSet\\Control\\Print\\Environments\\" + environment +
                 "\\Print Processors\\ZTProc");
}

// The vendor's components of the whole job's machine, in the order the list
// shows them.
inline const std::vector<std::string> kWholeJobEntries = {
    "Qorvelin A", "Qorvelin B", "Qorvelin C", "ZT USB Monitor", "ZT IP Monitor", "ZTProc"};

// Stands for the spooler's DeletePrinterDriverExA entry.
inline const void* DriverExEntry() {
  static const int entry = 0;
  return &entry;
}

// One machine with its dialog and session. The constructor writes the two files
// and sets the globals; the destructor judges every deletion the world saw by the
// safety rule and puts the globals back. One world at a time: the globals are
// shared.
struct EngineWorld {
  EngineWorld()
      : session(machine.platform(), view), safetyWatch(machine, [this] {
          return safety::ContextNow(machine, view, session.m_strCurrentName);
        }) {
    machine.AddFile(kLanguagePath, kLanguageFile);
    SetConfig(kConfigFile);
    g_Message.Bind(machine.platform().files);
    g_nOSType = OS_WIN7;
    g_bIsWow64 = 0;
    g_pfnDeletePrinterDriverEx = DriverExEntry();
    machine.ClearJournal();
  }
  ~EngineWorld() {
    for (const std::string& violation : safetyWatch.TakeViolations())
      ADD_FAILURE() << "unsafe deletion: " << violation;
    ResetEngineGlobals();
  }
  EngineWorld(const EngineWorld&) = delete;
  EngineWorld& operator=(const EngineWorld&) = delete;

  // Replaces the uninstall configuration and points g_szUninstallIni at it.
  void SetConfig(const std::string& text) {
    machine.AddFile(kConfigPath, text);
    std::snprintf(g_szUninstallIni, sizeof g_szUninstallIni, "%s", kConfigPath);
  }

  // A local printer whose driver is the vendor's: "<name> Driver".
  void AddPrinter(const std::string& name, const std::string& port, uint32_t jobs = 0) {
    machine.AddPrinter({name, port, name + " Driver", "", jobs});
  }

  std::vector<std::string> JournalOf(const std::set<std::string>& calls) const {
    return machine.JournalOf(calls);
  }
  std::vector<uint32_t> Pauses() const { return machine.Pauses(); }
  static uint64_t Sum(const std::vector<uint32_t>& pauses) {
    return std::accumulate(pauses.begin(), pauses.end(), uint64_t{0});
  }

  sim::Machine machine;
  FakeView view;
  UninstallSession session;
  safety::DeletionWatch safetyWatch;
};

class EngineFixture : public ::testing::Test, public EngineWorld {};

}  // namespace engine_test
