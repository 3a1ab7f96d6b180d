// What the prepared machine holds: the sample vendor's printers, driver, ports,
// monitors, print processor, setup files, registry keys and USB driver file,
// beside another vendor's printer, driver, port, setup file and keys, which an
// uninstall must leave alone.
#pragma once

namespace machine {

struct Printer {
  const char* name;
  const char* port;
  const char* driver;
};

struct Monitor {
  const char* name;
  const char* dll;
};

struct DriverFiles {
  const char* name;
  const char* driverFile;
  const char* dataFile;
  const char* configFile;
};

struct InfFile {
  const char* name;  // in the Windows INF folder
  const char* section;
  const char* model;  // a key of the section, in double quotes in the file
  bool utf16;         // UTF-16LE with a byte-order mark, as Windows writes some INF files
};

constexpr const char* kVendorDriver = "Qorvelin LP-210";
constexpr const char* kOtherDriver = "Other Vendor Laser";

constexpr DriverFiles kDrivers[] = {
    {kVendorDriver, "qlp210.dll", "qlp210.gpd", "qlp210ui.dll"},
    {kOtherDriver, "ovlaser.dll", "ovlaser.gpd", "ovlaserui.dll"},
};

// The USB port is a local port when the machine has no USB001 of its own.
constexpr const char* kUsbPort = "USB001";
constexpr const char* kVendorIpPort = "ZTIP_10.0.0.5";
constexpr const char* kOtherPort = "OVIP_10.0.0.9";
constexpr const char* kAddedPorts[] = {kUsbPort, kVendorIpPort, kOtherPort};

constexpr Printer kPrinters[] = {
    {"Qorvelin LP-210", kUsbPort, kVendorDriver},
    {"Qorvelin LP-210 Office", kVendorIpPort, kVendorDriver},
    {"Other Vendor Laser", kOtherPort, kOtherDriver},
};

constexpr Monitor kMonitors[] = {
    {"ZT USB Monitor", "ztusbmon.dll"},
    {"ZT IP Monitor", "ztipmon.dll"},
};
// Further monitor files in the system folder that the vendor's configuration names.
constexpr const char* kMonitorExtraDlls[] = {"ztusbmonui.dll", "ztusbport.dll", "ztipmonui.dll"};

constexpr const char* kProcessor = "ZT Print Proc";
constexpr const char* kProcessorDll = "ztproc.dll";
// A 64-bit program that is not under WOW64 lists the print processors of
// "Windows NT x86": the processor is registered there so that it is listed.
constexpr const char* kProcessorEnvironment = "Windows NT x86";

constexpr InfFile kInfFiles[] = {
    {"oem5.inf", "QORVELIN", "Qorvelin LP-210", false},
    {"oem6.inf", "QORVELIN.NTamd64", "Qorvelin LP-210", true},
    {"oem7.inf", "OTHERVENDOR", "Other Vendor Laser", false},
    {"oem8.inf", "QORVELIN", "Qorvelin LP-480", false},  // a model that is not installed
};

constexpr const char* kVendorKeys[] = {
    "SOFTWARE\\QORVELIN\\INSTALLPRINTER",
    "SOFTWARE\\QORVELIN\\PORTNAME",
};
constexpr const char* kOtherVendorKey = "SOFTWARE\\OTHERVENDOR\\INSTALLPRINTER";
constexpr const char* kMonitorsKey = "SYSTEM\\CurrentControlSet\\Control\\Print\\Monitors\\";
constexpr const char* kEnvironmentsKey =
    "SYSTEM\\CurrentControlSet\\Control\\Print\\Environments\\";

constexpr const char* kUsbDriverFile = "drivers\\QorvelinpUSB.sys";  // in the system folder

// A restart of the machine runs the RunOnce entries; this one leaves a file behind.
constexpr const char* kRunOnceKey = "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce";
constexpr const char* kRunOnceValue = "e2e-restart-marker";
constexpr const char* kRestartMarker = "C:\\e2e-restarted.txt";

}  // namespace machine
