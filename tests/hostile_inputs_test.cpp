// Hostile inputs, one table: texts, configuration values, names, folders and files
// that a broken or malicious package or machine could hand the program. Each case
// runs the program's own entry points on the simulated machine (the dialog's
// initialisation, Select and Uninstall, which runs the removal on the spot) and
// checks the documented outcome (docs/hostile_inputs.md), that nothing but the
// vendor's own components went, that every handle and search was released, and
// (under the sanitizer build) that no buffer was written past its end.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "app/uninstall_dlg.h"
#include "config/texts.h"
#include "config/uninstall_ini.h"
#include "engine/uninstall.h"
#include "platform/os_type.h"
#include "platform/sim/sim_machine.h"
#include "tests/support/engine_globals.h"
#include "tests/support/fake_dialog_host.h"
#include "tests/support/safety_check.h"

namespace {

using Lines = std::vector<std::string>;

constexpr const char* kPackage = "C:\\pkg";
constexpr const char* kSystem32 = "C:\\Windows\\system32\\";
constexpr const char* kProcessorDir = "C:\\Windows\\system32\\spool\\prtprocs\\w32x86\\";
constexpr const char* kInfDir = "C:\\Windows\\inf\\";
constexpr const char* kMonitorsKey = "SYSTEM\\CURRENTCONTROLSET\\CONTROL\\PRINT\\MONITORS";
constexpr const char* kProcessorsKey =
    "SYSTEM\\CurrentControlSet\\Control\\Print\\Environments\\Windows NT x86\\Print Processors";
constexpr const char* kInstallPrinterKey = "SOFTWARE\\QORVELIN\\INSTALLPRINTER";
constexpr const char* kPortNameKey = "SOFTWARE\\QORVELIN\\PORTNAME";

// Every text shows its key; the formatted ones carry "%s" for the name.
constexpr const char* kLanguage =
    "[Message]\r\n"
    "IDS_ERR_NOINI=NOINI\r\n"
    "IDS_SELECTPRN1=SELECT\r\n"
    "IDS_DELETING1=DEL1 %s\r\n"
    "IDS_DELETING2=DEL2 %s\r\n"
    "IDS_DELETING3=DEL3\r\n"
    "IDS_USING=USING %s\r\n"
    "IDS_ERR_UNINSTALL=ERRUNINST %s\r\n"
    "IDS_SUCCESS=OK %s\r\n"
    "IDS_ERR_OPENPRN=OPENPRN %s\r\n"
    "IDS_ERR_HAVEJOB1=JOB1 %s\r\n"
    "IDS_ERR_HAVEJOB2=JOB2 %s\r\n"
    "IDS_ERR_DELPRINTER=DELPRINTER\r\n"
    "IDS_DRVDELETING=DRVDEL %s\r\n"
    "IDS_DRV_SUCCESS=DRVOK\r\n"
    "IDS_ERR_DRVDEL=DRVERR\r\n"
    "IDS_DRV_SUCCESS1=USBOK\r\n"
    "[Uninstall]\r\n"
    "CaptionName=USB Driver Uninstall\r\n";

constexpr const char* kSectionsTop =
    "[ZTPRINTER]\r\n"
    "PRINTERNUM=1\r\n"
    "PRINTERNAME1=Qorvelin\r\n"
    "MANUFACTURER=Qorvelin Inc\r\n"
    "[ZTMONITOR]\r\n"
    "MonitorNUM=1\r\n"
    "MONITORNAME1=ZT USB Monitor\r\n"
    "[ZTPROC]\r\n"
    "PROCNUM=1\r\n"
    "PROCNAME1=ZTProc\r\n";

// The per-OS values of the vendor's monitor and processor on Windows 7.
struct PerOsValues {
  std::string monitorDll = "ztusbmon.dll";
  std::string monitorUiDll = "ztusbmonui.dll";
  std::string usbMonitorDll = "ztusb.dll";
  std::string usbMonitorName = "ZT USB Monitor";
  std::string processorDll = "ztproc.dll";
};

std::string Config(const PerOsValues& v = PerOsValues(), const std::string& more = "") {
  return std::string(kSectionsTop) + "[ZTUSBMonitor.Win7]\r\nMonitorPDLLName=" + v.monitorDll +
         "\r\nMONitorPUIDLLName=" + v.monitorUiDll + "\r\nUSBMONitorDLLName=" + v.usbMonitorDll +
         "\r\nUSBMONitorName=" + v.usbMonitorName +
         "\r\n[ZTProc.Win7]\r\nProcessorDllName=" + v.processorDll + "\r\n" + more;
}

bool Has(const Lines& lines, const std::string& line) {
  return std::find(lines.begin(), lines.end(), line) != lines.end();
}

// ---- Big inputs, made once per test binary and never written to disk ----------

// 50 MB of ordinary key lines in a section nobody reads, then the real sections.
const std::string& FiftyMegabyteConfig() {
  static const std::string text = [] {
    const std::string line = "FillerKey=" + std::string(88, 'x') + "\r\n";  // 100 bytes
    std::string out = "[Filler]\r\n";
    out.reserve((50u << 20) + 4096);
    while (out.size() < (50u << 20)) out += line;
    out += Config();
    return out;
  }();
  return text;
}

// A single line of 10 MB that starts like the vendor's section with the printer's
// key: without a line break the key is part of the header's line, so it is none.
const std::string& TenMegabyteOneLineInf() {
  static const std::string text =
      "[Qorvelin Inc]\"Qorvelin A\"=Install " + std::string(10u << 20, 'A');
  return text;
}

// A printer name of 300 characters, with format characters that must stay text.
const std::string& LongPrinterName() {
  static const std::string name = "Qorvelin %s%n " + std::string(286, 'P');
  return name;
}

// A print processor whose key under the spooler's environment would need more
// than 255 characters.
const std::string& VeryLongProcessorName() {
  static const std::string name = "ZTProc " + std::string(193, 'R');
  return name;
}

constexpr int kManyEntries = 100000;

std::string EntryName(int i, const char* extension) {
  char name[32];
  std::snprintf(name, sizeof name, "F%06d.%s", i, extension);
  return name;
}

// ---- The machine, the dialog and the program's flow ---------------------------

// A Windows 7 machine with the vendor's package in C:\pkg and one of each vendor
// component installed, next to another vendor's printer, monitor and print
// processor and files outside the places the program may delete in.
struct World {
  // otherSpooler: the other vendor's printer, monitor and print processor are
  // installed too (its files and keys always are).
  explicit World(bool otherSpooler) : otherSpooler(otherSpooler) {
    machine.AddFile(std::string(kPackage) + "\\language\\uninstall.ini", kLanguage);
    machine.AddFile(std::string(kPackage) + "\\Uninstall.ini", Config());

    // The vendor's: a printer on a USB port with its INF file, the monitor and the
    // print processor with their DLLs and keys.
    machine.AddPrinter({"Qorvelin A", "USB001", "Qorvelin A Driver", "", 0});
    machine.AddFile(std::string(kInfDir) + "oem5.inf",
                    "[Qorvelin Inc]\r\n\"Qorvelin A\"=Install,USBPRINT\\QorvelinA\r\n");
    machine.AddFile(std::string(kInfDir) + "oem5.PNF");
    machine.AddMonitor("ZT USB Monitor");
    machine.AddProcessor("ZTProc");
    for (const char* dll : {"ztusbmon.dll", "ztusbmonui.dll", "ztusb.dll"})
      machine.AddFile(std::string(kSystem32) + dll);
    machine.AddFile(std::string(kProcessorDir) + "ztproc.dll");
    machine.AddKey(kInstallPrinterKey);
    machine.AddKey(kPortNameKey);
    machine.AddKey(std::string(kMonitorsKey) + "\\ZT USB Monitor");
    machine.AddKey(std::string(kProcessorsKey) + "\\ZTProc");

    // Everything else must stay.
    if (otherSpooler) {
      machine.AddPrinter({"Other Laser", "LPT2:", "Other Driver", "", 0});
      machine.AddMonitor("Other Monitor");
      machine.AddProcessor("winprint");
    }
    machine.AddKey(std::string(kMonitorsKey) + "\\Other Monitor\\Ports");
    machine.AddKey(std::string(kProcessorsKey) + "\\winprint");
    machine.AddKey("SOFTWARE\\Other\\Keep");
    for (const std::string& file : Bystanders()) machine.AddFile(file);
  }
  ~World() { ResetEngineGlobals(); }
  World(const World&) = delete;
  World& operator=(const World&) = delete;

  static std::vector<std::string> Bystanders() {
    return {std::string(kSystem32) + "other.dll",
            std::string(kSystem32) + "sub\\a.dll",
            std::string(kProcessorDir) + "winprint.dll",
            std::string(kInfDir) + "oem6.inf",
            std::string(kInfDir) + "oem6.PNF",
            "C:\\Windows\\evil.dll",
            "C:\\Windows\\system32.dll",
            "C:\\evil.dll",
            "C:\\x.dll",
            std::string(kPackage) + "\\evil.dll"};
  }

  void SetConfig(const std::string& text) {
    machine.AddFile(std::string(kPackage) + "\\Uninstall.ini", text);
  }
  // Puts key first in its section, where it hides the key's other line.
  void SetText(const std::string& section, const std::string& key, const std::string& value) {
    const std::string header = "[" + section + "]\r\n";
    language.insert(language.find(header) + header.size(), key + "=" + value + "\r\n");
    machine.AddFile(std::string(kPackage) + "\\language\\uninstall.ini", language);
  }

  // The program from its start: the global reader is made, the dialog
  // initialises; then, for the whole program, Select checks every entry and
  // Uninstall runs the removal.
  void RunProgram(bool wholeProgram) {
    g_Message.Bind(machine.platform().files);
    machine.ClearJournal();
    initResult = dialog.OnInitDialog();
    listed = host.ItemTexts();
    if (!host.endResults.empty() || !wholeProgram) return;
    dialog.OnSelect();
    dialog.OnUninstall();
  }

  Lines Log() const { return host.log; }
  Lines JournalOf(const std::set<std::string>& calls) const { return machine.JournalOf(calls); }

  const bool otherSpooler;
  sim::Machine machine;
  FakeMainHost host;
  CUninstallDlg dialog{machine.platform(), host.host()};
  // Every deletion must be the vendor's, in its place, whatever the input.
  safety::DeletionWatch watch{machine, [this] {
                                return safety::ContextNow(machine, host.view(),
                                                          dialog.session().m_strCurrentName);
                              }};
  std::string language = kLanguage;
  int initResult = -1;
  Lines listed;
};

// Nothing of the other vendor, and no file outside the vendor's places, went.
void ExpectBystandersKept(const World& world) {
  const sim::Machine& m = world.machine;
  if (world.otherSpooler) {
    EXPECT_TRUE(m.HasPrinter("Other Laser"));
    EXPECT_TRUE(m.HasDriver("Other Driver"));
    EXPECT_TRUE(m.HasPort("LPT2:"));
    EXPECT_TRUE(m.HasMonitor("Other Monitor"));
    EXPECT_TRUE(m.HasProcessor("winprint"));
  }
  for (const std::string& key :
       {std::string(kMonitorsKey) + "\\Other Monitor\\Ports",
        std::string(kProcessorsKey) + "\\winprint", std::string("SOFTWARE\\Other\\Keep")})
    EXPECT_TRUE(m.HasKey(key)) << key;
  for (const std::string& file : World::Bystanders()) EXPECT_TRUE(m.Exists(file)) << file;
}

// The vendor's printer, monitor and print processor went, with the printer's INF
// files and the print processor's key.
void ExpectVendorRemoved(const World& world) {
  const sim::Machine& m = world.machine;
  EXPECT_FALSE(m.HasPrinter("Qorvelin A"));
  EXPECT_FALSE(m.HasMonitor("ZT USB Monitor"));
  EXPECT_FALSE(m.HasProcessor("ZTProc"));
  EXPECT_FALSE(m.Exists(std::string(kInfDir) + "oem5.inf"));
  EXPECT_FALSE(m.Exists(std::string(kInfDir) + "oem5.PNF"));
  EXPECT_FALSE(m.HasKey(std::string(kProcessorsKey) + "\\ZTProc"));
}

// ---- The table ----------------------------------------------------------------

enum class Run {
  kWholeProgram,  // initialisation, Select, Uninstall
  // FindUninstallIni and FillComponentList (and the dialog's texts), with only
  // the vendor's components in the spooler: for an input that makes every read
  // of the configuration costly.
  kInitialisationVendorOnly,
};

struct HostileCase {
  const char* name;
  void (*arrange)(World&);  // machine, configuration and texts
  Run run;
  void (*check)(World&);  // the documented outcome
};

std::ostream& operator<<(std::ostream& out, const HostileCase& c) { return out << c.name; }

// DLL values that aim outside their folder: the monitor and the print processor
// still go, no DLL file is deleted (only the printer's INF files), and the files
// aimed at, inside or outside the folder, stay.
void ExpectNoDllDeleted(World& w, const std::vector<std::string>& targets) {
  ExpectVendorRemoved(w);
  EXPECT_TRUE(Has(w.Log(), "OK ZT USB Monitor"));
  EXPECT_TRUE(Has(w.Log(), "OK ZTProc"));
  EXPECT_EQ(w.JournalOf({"DeleteFileA"}), (Lines{"DeleteFileA(C:\\Windows\\inf\\oem5.inf)",
                                                 "DeleteFileA(C:\\Windows\\inf\\oem5.PNF)"}));
  for (const std::string& target : targets) EXPECT_TRUE(w.machine.Exists(target)) << target;
}

const HostileCase kCases[] = {
    {"FormatCharactersInLanguageTexts",
     [](World& w) {
       w.SetText("Message", "IDS_DELETING1", "%n del %s%s %x");
       w.SetText("Message", "IDS_SUCCESS", "%x ok %% %s %d%");
       w.SetText("Message", "IDS_ERR_DRVDEL", "drv %n %s");
       w.machine.FailCall("DeletePrinterDriverExA", win::kAccessDenied);
     },
     Run::kWholeProgram,
     [](World& w) {
       ExpectVendorRemoved(w);
       // Only the first "%s" takes the name; "%%" is "%"; every other "%" is text.
       // IDS_ERR_DRVDEL is never a format: only the code is put after it.
       const Lines log = w.Log();
       for (const char* line :
            {"%n del ZT USB Monitor%s %x", "%x ok % ZT USB Monitor %d%", "%n del ZTProc%s %x",
             "%x ok % ZTProc %d%", "%x ok % Qorvelin A %d%", "drv %n %s    er=5"})
         EXPECT_TRUE(Has(log, line)) << line;
     }},

    {"DllNamesClimbingOutWithDotDot",
     [](World& w) {
       PerOsValues v;
       v.monitorDll = "..\\evil.dll";
       v.monitorUiDll = "..\\..\\evil.dll";
       v.usbMonitorDll = "..\\system32\\ztusb.dll";  // back inside, still refused
       v.processorDll = "..\\..\\..\\..\\x.dll";
       w.SetConfig(Config(v));
     },
     Run::kWholeProgram,
     [](World& w) {
       ExpectNoDllDeleted(
           w, {std::string(kSystem32) + "ztusbmon.dll", std::string(kSystem32) + "ztusb.dll",
               std::string(kProcessorDir) + "ztproc.dll"});
     }},

    {"DllNamesWithBackslash",
     [](World& w) {
       PerOsValues v;
       v.monitorDll = "sub\\a.dll";
       v.monitorUiDll = "\\evil.dll";  // the root of the current drive
       v.usbMonitorDll = "\\\\server\\share\\x.dll";
       v.processorDll = "\\Windows\\evil.dll";
       w.SetConfig(Config(v));
     },
     Run::kWholeProgram,
     [](World& w) { ExpectNoDllDeleted(w, {std::string(kSystem32) + "ztusbmon.dll"}); }},

    {"DllNamesWithColon",
     [](World& w) {
       PerOsValues v;
       v.monitorDll = "C:\\x.dll";
       v.monitorUiDll = "C:evil.dll";  // relative to drive C's own directory
       v.usbMonitorDll = "ztusb.dll:stream";
       v.processorDll = "C:x.dll";
       w.SetConfig(Config(v));
     },
     Run::kWholeProgram,
     [](World& w) {
       ExpectNoDllDeleted(
           w, {std::string(kSystem32) + "ztusb.dll", std::string(kProcessorDir) + "ztproc.dll"});
     }},

    {"UsbMonitorNameEmpty",
     [](World& w) {
       PerOsValues v;
       v.usbMonitorName = "";
       w.SetConfig(Config(v));
     },
     Run::kWholeProgram,
     [](World& w) {
       ExpectVendorRemoved(w);
       EXPECT_TRUE(Has(w.Log(), "OK ZT USB Monitor"));
       // The monitor list itself is never deleted: no key under it at all.
       EXPECT_EQ(w.JournalOf({"RegDeleteKeyA"}),
                 (Lines{std::string("RegDeleteKeyA(") + kInstallPrinterKey + ")",
                        std::string("RegDeleteKeyA(") + kPortNameKey + ")",
                        std::string("RegDeleteKeyA(") + kProcessorsKey + "\\ZTProc)"}));
       EXPECT_TRUE(w.machine.HasKey(kMonitorsKey));
       EXPECT_TRUE(w.machine.HasKey(std::string(kMonitorsKey) + "\\ZT USB Monitor"));
     }},

    {"UsbMonitorNameWithBackslash",
     [](World& w) {
       PerOsValues v;
       v.usbMonitorName = "Other Monitor\\Ports";
       w.SetConfig(Config(v));
     },
     Run::kWholeProgram,
     [](World& w) {
       ExpectVendorRemoved(w);
       EXPECT_TRUE(Has(w.Log(), "OK ZT USB Monitor"));
       for (const std::string& entry : w.JournalOf({"RegDeleteKeyA"}))
         EXPECT_EQ(entry.find("MONITORS"), std::string::npos) << entry;
     }},

    {"CurrentDirectoryOf250Characters",
     [](World& w) {
       const std::string folder = "C:\\" + std::string(247, 'd');
       w.machine.AddFile(folder + "\\language\\uninstall.ini", kLanguage);
       w.machine.AddFile(folder + "\\Uninstall.ini", Config());
       w.machine.SetCurrentDirectory(folder);
     },
     Run::kWholeProgram,
     [](World& w) {
       // Neither the language file (250 + 23 characters) nor the configuration
       // (250 + 14) has a path within its buffer: the texts read as empty and the
       // folder is not searched, so the dialog ends with an empty message box.
       EXPECT_EQ(w.host.ownedMessageBoxes, (Lines{""}));
       EXPECT_EQ(w.host.endResults, (std::vector<int>{win::kIdCancel}));
       EXPECT_EQ(w.initResult, 0);
       EXPECT_TRUE(w.host.items.empty());
       EXPECT_TRUE(w.JournalOf({"FindFirstFileA", "SetFileAttributesA", "ReadFile"}).empty());
       EXPECT_STREQ(g_szUninstallIni, "");
       EXPECT_TRUE(w.machine.HasPrinter("Qorvelin A"));
     }},

    {"PrinterNameOf300Characters",
     [](World& w) {
       const std::string& name = LongPrinterName();
       w.machine.AddPrinter({name, "USB002", "Qorvelin L Driver", "", 0});
       w.machine.AddFile(std::string(kInfDir) + "oem7.inf",
                         "[Qorvelin Inc]\r\n\"" + name + "\"=Install,USBPRINT\\QorvelinL\r\n");
       w.machine.AddFile(std::string(kInfDir) + "oem7.PNF");
     },
     Run::kWholeProgram,
     [](World& w) {
       const std::string& name = LongPrinterName();
       EXPECT_EQ(w.listed, (Lines{"Qorvelin A", name, "ZT USB Monitor", "ZTProc"}));
       ExpectVendorRemoved(w);
       EXPECT_FALSE(w.machine.HasPrinter(name));
       EXPECT_FALSE(w.machine.HasDriver("Qorvelin L Driver"));
       EXPECT_FALSE(w.machine.Exists(std::string(kInfDir) + "oem7.inf"));
       EXPECT_FALSE(w.machine.Exists(std::string(kInfDir) + "oem7.PNF"));
       // The whole name, its "%s%n" as text.
       for (const char* key : {"DEL2 ", "OK ", "DRVDEL "})
         EXPECT_TRUE(Has(w.Log(), key + name)) << key;
     }},

    {"MonitorAndProcessorNamesTooLongForTheirSection",
     [](World& w) {
       // Their sections would be "ZTUSBMonitorforlongnamedlines.Win7" and "ZTProc
       // with a name far too long.Win7"; sections of the names cut to 29
       // characters name the other vendor's files and key.
       w.SetConfig(Config(PerOsValues(),
                          "[ZTUSBMonitorforlongnamedline]\r\n"
                          "MonitorPDLLName=other.dll\r\n"
                          "USBMONitorName=Other Monitor\r\n"
                          "[ZTUSBMonitorforlongnamedlines]\r\n"
                          "MonitorPDLLName=other.dll\r\n"
                          "[ZTProc with a name far too lo]\r\n"
                          "ProcessorDllName=winprint.dll\r\n"));
       w.machine.AddMonitor("ZT USB Monitor for long named lines");
       w.machine.AddProcessor("ZTProc with a name far too long");
       w.machine.AddKey(std::string(kProcessorsKey) + "\\ZTProc with a name far too long");
       w.machine.AddKey(std::string(kMonitorsKey) + "\\Other Monitor");
       // Its key would not fit in 255 characters either.
       w.machine.AddProcessor(VeryLongProcessorName());
       w.machine.AddKey(std::string(kProcessorsKey) + "\\" + VeryLongProcessorName());
     },
     Run::kWholeProgram,
     [](World& w) {
       ExpectVendorRemoved(w);
       // The key is not cut to some other key: it stays.
       EXPECT_FALSE(w.machine.HasProcessor(VeryLongProcessorName()));
       EXPECT_TRUE(Has(w.Log(), "OK " + VeryLongProcessorName()));
       EXPECT_TRUE(w.machine.HasKey(std::string(kProcessorsKey) + "\\" + VeryLongProcessorName()));
       EXPECT_FALSE(w.machine.HasMonitor("ZT USB Monitor for long named lines"));
       EXPECT_FALSE(w.machine.HasProcessor("ZTProc with a name far too long"));
       EXPECT_FALSE(
           w.machine.HasKey(std::string(kProcessorsKey) + "\\ZTProc with a name far too long"));
       EXPECT_TRUE(Has(w.Log(), "OK ZT USB Monitor for long named lines"));
       EXPECT_TRUE(Has(w.Log(), "OK ZTProc with a name far too long"));
       // No per-OS values: the monitor's key reads as "0", no DLL is named.
       const Lines keys = w.JournalOf({"RegDeleteKeyA"});
       EXPECT_TRUE(Has(keys, std::string("RegDeleteKeyA(") + kMonitorsKey + "\\0) -> 2"));
       EXPECT_TRUE(w.machine.HasKey(std::string(kMonitorsKey) + "\\Other Monitor"));
     }},

    {"UninstallIniOf50Megabytes", [](World& w) { w.SetConfig(FiftyMegabyteConfig()); },
     Run::kInitialisationVendorOnly,
     [](World& w) {
       // Read like any other: no limit on the size, and the sections after the
       // 50 MB are found. (Each read loads the whole file, so the dialog alone is
       // checked here; the removal reads it the same way.)
       EXPECT_STREQ(g_szUninstallIni, "C:\\pkg\\Uninstall.ini");
       EXPECT_EQ(w.listed, (Lines{"Qorvelin A", "ZT USB Monitor", "ZTProc"}));
       const Lines reads = w.JournalOf({"ReadFile"});
       // Once for each component tested, for all its values.
       EXPECT_EQ(std::count(reads.begin(), reads.end(), "ReadFile(C:\\pkg\\Uninstall.ini)"), 3);
       EXPECT_TRUE(w.JournalOf({"DeleteFileA", "RegDeleteKeyA", "DeletePrinter"}).empty());
     }},

    {"PackageFolderWith100000Entries",
     [](World& w) {
       for (int i = 0; i < kManyEntries; ++i)
         w.machine.AddFile(std::string(kPackage) + "\\" + EntryName(i, "dat"), "",
                           win::kFileAttributeReadonly);
       w.machine.AddFile(std::string(kPackage) + "\\ZZ.dat", "", win::kFileAttributeReadonly);
     },
     Run::kWholeProgram,
     [](World& w) {
       // Every entry listed before the configuration is reset to archive; the
       // search stops there, so later entries keep their attributes.
       EXPECT_STREQ(g_szUninstallIni, "C:\\pkg\\Uninstall.ini");
       EXPECT_EQ(w.machine.Attributes(std::string(kPackage) + "\\" + EntryName(0, "dat")),
                 win::kFileAttributeArchive);
       EXPECT_EQ(
           w.machine.Attributes(std::string(kPackage) + "\\" + EntryName(kManyEntries - 1, "dat")),
           win::kFileAttributeArchive);
       EXPECT_EQ(w.machine.Attributes(std::string(kPackage) + "\\ZZ.dat"),
                 win::kFileAttributeReadonly);
       const Lines reset = w.JournalOf({"SetFileAttributesA"});
       EXPECT_EQ(std::count_if(reset.begin(), reset.end(),
                               [](const std::string& e) {
                                 return e.find("(C:\\pkg\\F") != std::string::npos;
                               }),
                 kManyEntries);
       ExpectVendorRemoved(w);
     }},

    {"InfFolderWith100000Entries",
     [](World& w) {
       for (int i = 0; i < kManyEntries / 2; ++i) {
         w.machine.AddFile(std::string(kInfDir) + EntryName(i, "inf"));
         w.machine.AddFile(std::string(kInfDir) + EntryName(i, "PNF"));
       }
     },
     Run::kWholeProgram,
     [](World& w) {
       ExpectVendorRemoved(w);
       // Every INF file is looked at; only the vendor's model's goes.
       EXPECT_EQ(w.JournalOf({"DeleteFileA"}).front(), "DeleteFileA(C:\\Windows\\inf\\oem5.inf)");
       EXPECT_TRUE(w.machine.Exists(std::string(kInfDir) + EntryName(0, "inf")));
       EXPECT_TRUE(w.machine.Exists(std::string(kInfDir) + EntryName(kManyEntries / 2 - 1, "PNF")));
     }},

    {"InfOf10MegabytesInOneLine",
     [](World& w) {
       w.machine.AddFile(std::string(kInfDir) + "oem4.inf", TenMegabyteOneLineInf());
     },
     Run::kWholeProgram,
     [](World& w) {
       // One line is one section header and no key: the file names no model and
       // stays; the scan goes on to the vendor's INF after it.
       ExpectVendorRemoved(w);
       EXPECT_TRUE(w.machine.Exists(std::string(kInfDir) + "oem4.inf"));
     }},
};

class HostileInputTest : public ::testing::TestWithParam<HostileCase> {};

TEST_P(HostileInputTest, GivesItsDocumentedOutcomeAndRemovesNothingElse) {
  World world(GetParam().run != Run::kInitialisationVendorOnly);
  GetParam().arrange(world);
  world.RunProgram(GetParam().run == Run::kWholeProgram);

  GetParam().check(world);
  for (const std::string& violation : world.watch.TakeViolations())
    ADD_FAILURE() << "unsafe deletion: " << violation;
  ExpectBystandersKept(world);
  EXPECT_EQ(world.machine.OpenHandleCount(), 0);
  EXPECT_EQ(world.machine.InvalidReleaseCount(), 0);
}

INSTANTIATE_TEST_SUITE_P(Cases, HostileInputTest, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<HostileCase>& info) {
                           return std::string(info.param.name);
                         });

}  // namespace
