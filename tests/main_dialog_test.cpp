// The main dialog's logic on the simulated machine: the initialisation order and
// its failures, the enable rules, Select, the system menu, help and closing.
#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <string>
#include <vector>

#include "app/uninstall_dlg.h"
#include "config/texts.h"
#include "config/uninstall_ini.h"
#include "platform/os_type.h"
#include "platform/sim/sim_machine.h"
#include "res/resource.h"
#include "tests/support/engine_globals.h"
#include "tests/support/fake_dialog_host.h"

namespace {

const char kLanguageFile[] =
    "[Message]\r\n"
    "IDS_ABOUTBOX=About Uninstall...\r\n"
    "IDS_ERR_GETSYSDIR=The folder cannot be read.\r\n"
    "IDS_ERR_INVALID=The folder cannot be listed.\r\n"
    "IDS_ERR_NOINI=Uninstall.ini is missing.\r\n"
    "IDS_SELECTPRN1=Check what to remove.\r\n"
    "[Uninstall]\r\n"
    "Note=First line\\nSecond line\r\n"
    "Uninstall=&Uninstall\r\n"
    "Select=&Select\r\n"
    "Exit=E&xit\r\n"
    "USBuninstall=USB driver\r\n"
    "Title=Printer Uninstall\r\n";

const char kConfiguration[] =
    "[ZTPRINTER]\r\nPRINTERNUM=1\r\nPRINTERNAME1=Qorvelin LP\r\n"
    "[ZTMONITOR]\r\nMonitorNUM=1\r\nMONITORNAME1=ZT USB Monitor\r\n"
    "[ZTPROC]\r\nPROCNUM=1\r\nPROCNAME1=ZT Print Proc\r\n";

// The trace entries that start with one of the prefixes, in order.
std::vector<std::string> Filter(const std::vector<std::string>& trace,
                                const std::vector<std::string>& prefixes) {
  std::vector<std::string> out;
  for (const auto& entry : trace)
    for (const auto& prefix : prefixes)
      if (entry.compare(0, prefix.size(), prefix) == 0) {
        out.push_back(entry);
        break;
      }
  return out;
}

bool Contains(const std::vector<std::string>& entries, const std::string& part) {
  return std::any_of(entries.begin(), entries.end(),
                     [&](const std::string& e) { return e.find(part) != std::string::npos; });
}

class MainDialogTest : public ::testing::Test {
 protected:
  MainDialogTest() {
    host.machine = &machine;
    machine.AddFile("C:\\pkg\\language\\uninstall.ini", kLanguageFile);
    g_Message.Bind(machine.platform().files);
    g_pfnDeletePrinterDriverEx = nullptr;
    g_nOSType = 0;
    g_bIsWow64 = 0;
  }
  ~MainDialogTest() override { ResetEngineGlobals(); }

  // A package with its configuration and one component of each kind installed.
  void InstallPackage() {
    machine.AddFile("C:\\pkg\\Uninstall.ini", kConfiguration);
    machine.AddPrinter({"Office", "USB001", "Qorvelin LP-210", "", 0});
    machine.AddMonitor("ZT USB Monitor");
    machine.AddProcessor("ZT Print Proc");
  }

  void AttachUsbDevice() {
    machine.AddFile("C:\\Windows\\System32\\drivers\\BULKUSB.sys");
    machine.SetUsbLibraryPresent(true);
    machine.AddUsbDevice(0, 77, 0x1234);
  }

  std::vector<std::string> HostEvents() {
    std::vector<std::string> out;
    for (const auto& e : host.trace)
      if (e.compare(0, 4, "sys ") != 0) out.push_back(e);
    return out;
  }

  sim::Machine machine;
  FakeMainHost host;
  CUninstallDlg dialog{machine.platform(), host.host()};
};

TEST_F(MainDialogTest, InitialisesEverythingInItsOrder) {
  InstallPackage();
  dialog.m_bChineseFont = 1;
  EXPECT_EQ(dialog.OnInitDialog(), 0);  // no USB driver file
  host.SyncJournal();

  EXPECT_EQ(HostEvents(), (std::vector<std::string>{
                              "font create-global",
                              "about-item About Uninstall...",
                              "icons",
                              "exstyle 45",
                              "insert Office",
                              "insert ZT USB Monitor",
                              "insert ZT Print Proc",
                              "log Check what to remove.",
                              "text 1006 First line\r\nSecond line",
                              "text 1002 &Uninstall",
                              "text 1012 &Select",
                              "text 2 E&xit",
                              "text 1019 USB driver",
                              "caption Printer Uninstall",
                              "enable 1019 0",
                          }));

  // The platform's part sits between the dialog's own requests where it belongs:
  // WOW64 before the list style, the OS type and the search before the list, the
  // spooler library after the texts, the USB detection last.
  EXPECT_EQ(
      Filter(host.trace,
             {"icons", "sys IsWow64Process", "exstyle", "sys GetVersionExA",
              "sys FindFirstFileA(C:\\pkg\\*.*", "sys EnumPrintersA", "caption",
              "sys LoadLibraryA(Winspool.drv", "sys GetWindowsDirectoryA", "enable 1019"}),
      (std::vector<std::string>{
          "icons", "sys IsWow64Process()", "exstyle 45", "sys GetVersionExA()",
          "sys FindFirstFileA(C:\\pkg\\*.*)", "sys EnumPrintersA(5)", "caption Printer Uninstall",
          "sys LoadLibraryA(Winspool.drv)", "sys GetWindowsDirectoryA()", "enable 1019 0"}));

  EXPECT_EQ(host.extendedStyle, 0x2Du);
  EXPECT_STREQ(g_szUninstallIni, "C:\\pkg\\Uninstall.ini");
  EXPECT_EQ(g_nOSType, OS_WIN7);
  EXPECT_EQ(g_bIsWow64, 0);
  EXPECT_NE(g_pfnDeletePrinterDriverEx, nullptr);
  EXPECT_TRUE(host.endResults.empty());
  EXPECT_TRUE(host.ownedMessageBoxes.empty());
}

TEST_F(MainDialogTest, EnglishModeAndNoSystemMenuLeaveFontAndMenuAlone) {
  InstallPackage();
  host.hasSystemMenu = false;
  dialog.OnInitDialog();
  EXPECT_TRUE(host.fonts.empty());
  EXPECT_TRUE(host.aboutMenuItems.empty());
  EXPECT_EQ(host.iconsSet, 1);
}

TEST_F(MainDialogTest, WithoutLanguageTextsTheAboutItemIsStillAppendedEmpty) {
  InstallPackage();
  machine.AddFile("C:\\pkg\\language\\uninstall.ini", "");
  dialog.OnInitDialog();
  EXPECT_EQ(host.aboutMenuItems, std::vector<std::string>{""});
  EXPECT_EQ(host.log, std::vector<std::string>{""});
  EXPECT_TRUE(host.captionSet);
  EXPECT_EQ(host.caption, "");
}

TEST_F(MainDialogTest, OnWow64TheFlagIsSetBeforeAnythingReadsIt) {
  InstallPackage();
  machine.SetWow64(true);
  dialog.OnInitDialog();
  EXPECT_EQ(g_bIsWow64, 1);
}

TEST_F(MainDialogTest, EmptyListDisablesSelectButNotUninstallAndStillLogs) {
  machine.AddFile("C:\\pkg\\Uninstall.ini", kConfiguration);
  dialog.OnInitDialog();
  EXPECT_FALSE(host.IsEnabled(IDC_SELECT));
  EXPECT_TRUE(host.IsEnabled(IDC_UNINSTALL));
  EXPECT_EQ(host.log, std::vector<std::string>{"Check what to remove."});
  EXPECT_EQ(host.selectedLine, 0);
}

TEST_F(MainDialogTest, FilledListLeavesSelectEnabled) {
  InstallPackage();
  dialog.OnInitDialog();
  EXPECT_TRUE(host.IsEnabled(IDC_SELECT));
  EXPECT_FALSE(Contains(HostEvents(), "enable 1012"));
}

TEST_F(MainDialogTest, TheUsbOptionDecidesTheResult) {
  InstallPackage();
  AttachUsbDevice();
  EXPECT_EQ(dialog.OnInitDialog(), 1);
  EXPECT_TRUE(host.IsEnabled(IDC_USB_DRIVER));
}

// The search for the configuration fails: its message, then the dialog ends
// unfilled.
struct SearchFailure {
  const char* name;
  void (*arrange)(sim::Machine&);
  const char* message;
};

void PrintTo(const SearchFailure& failure, std::ostream* out) { *out << failure.name; }

class SearchFailureTest : public MainDialogTest,
                          public ::testing::WithParamInterface<SearchFailure> {};

TEST_P(SearchFailureTest, ShowsTheKeysTextAndEndsTheDialogUnfilled) {
  machine.AddPrinter({"Office", "USB001", "Qorvelin LP-210", "", 0});
  GetParam().arrange(machine);

  EXPECT_EQ(dialog.OnInitDialog(), 0);
  host.SyncJournal();

  EXPECT_EQ(host.ownedMessageBoxes, std::vector<std::string>{GetParam().message});
  EXPECT_EQ(host.endResults, std::vector<int>{win::kIdCancel});
  EXPECT_TRUE(host.items.empty());
  EXPECT_TRUE(host.log.empty());
  EXPECT_TRUE(host.itemTexts.empty());
  EXPECT_FALSE(host.captionSet);
  EXPECT_FALSE(Contains(host.trace, "EnumPrintersA"));
  EXPECT_FALSE(Contains(host.trace, "Winspool.drv"));
  // The message comes before the end.
  EXPECT_EQ(Filter(host.trace, {"msgbox", "end"}),
            (std::vector<std::string>{std::string("msgbox ") + GetParam().message, "end 2"}));
}

INSTANTIATE_TEST_SUITE_P(
    Keys, SearchFailureTest,
    ::testing::Values(SearchFailure{"CurrentDirectoryUnreadable",
                                    [](sim::Machine& m) {
                                      m.FailCall("GetCurrentDirectoryA", win::kAccessDenied);
                                    },
                                    "The folder cannot be read."},
                      SearchFailure{"NoDrvconfigFolder", [](sim::Machine&) {},
                                    "The folder cannot be listed."},
                      SearchFailure{"DrvconfigWithoutTheFile",
                                    [](sim::Machine& m) { m.AddDirectory("C:\\pkg\\DRVCONFIG"); },
                                    "Uninstall.ini is missing."}),
    [](const ::testing::TestParamInfo<SearchFailure>& info) { return info.param.name; });

TEST_F(MainDialogTest, SpoolerLibraryFailureStopsBeforeTheUsbDetection) {
  InstallPackage();
  AttachUsbDevice();
  machine.SetWinspoolLoads(false);

  EXPECT_EQ(dialog.OnInitDialog(), 0);
  host.SyncJournal();

  EXPECT_EQ(host.ownedMessageBoxes, std::vector<std::string>{"no Winspool lib  "});
  EXPECT_EQ(g_pfnDeletePrinterDriverEx, nullptr);
  EXPECT_FALSE(Contains(host.trace, "GetWindowsDirectoryA"));
  EXPECT_FALSE(Contains(host.trace, "enable 1019"));
  EXPECT_TRUE(host.IsEnabled(IDC_USB_DRIVER));
  // The dialog stays open and filled.
  EXPECT_TRUE(host.endResults.empty());
  EXPECT_EQ(host.items.size(), 3u);
  EXPECT_EQ(host.caption, "Printer Uninstall");
}

TEST_F(MainDialogTest, MissingExtendedDriverEntryIsNoFailure) {
  InstallPackage();
  AttachUsbDevice();
  machine.SetDeletePrinterDriverExAvailable(false);

  EXPECT_EQ(dialog.OnInitDialog(), 1);
  EXPECT_EQ(g_pfnDeletePrinterDriverEx, nullptr);
  EXPECT_TRUE(host.ownedMessageBoxes.empty());
  EXPECT_TRUE(machine.MessageBoxes().empty());
}

TEST_F(MainDialogTest, SelectChecksEveryEntryAndNothingElse) {
  dialog.OnSelect();
  EXPECT_TRUE(host.trace.empty());

  host.AddItems({"A", "B"}, true);
  host.AddItems({"C"}, false);
  dialog.OnSelect();
  for (const auto& item : host.items) EXPECT_TRUE(item.checked) << item.text;
  EXPECT_TRUE(host.log.empty());
  EXPECT_EQ(host.selectedLine, -1);
}

TEST_F(MainDialogTest, SystemMenuOpensAboutForIds16To31Only) {
  const struct {
    uint32_t id;
    bool about;
  } cases[] = {{0x0010, true},  {0x001F, true},  {0x0020, false}, {0xF060, false},
               {0xF020, false}, {0x10010, true}, {0x000F, false}};
  for (const auto& c : cases) {
    host.aboutBoxesShown = 0;
    EXPECT_EQ(dialog.OnSysCommand(c.id), c.about) << std::hex << c.id;
    EXPECT_EQ(host.aboutBoxesShown, c.about ? 1 : 0) << std::hex << c.id;
  }
}

TEST_F(MainDialogTest, CloseIsRefusedWhileARunIsActive) {
  dialog.session().runActive = true;
  EXPECT_FALSE(dialog.CanClose());
  dialog.OnCancel();
  EXPECT_TRUE(host.endResults.empty());

  dialog.session().runActive = false;
  EXPECT_TRUE(dialog.CanClose());
  dialog.OnCancel();
  EXPECT_EQ(host.endResults, std::vector<int>{win::kIdCancel});
}

TEST_F(MainDialogTest, UninstallStartsTheRunAndHoldsTheDialogOpen) {
  InstallPackage();
  dialog.OnInitDialog();
  host.runWorkerAtOnce = false;
  dialog.OnSelect();

  dialog.OnUninstall();

  ASSERT_EQ(host.pendingWorkers.size(), 1u);
  EXPECT_FALSE(dialog.CanClose());
  dialog.OnCancel();
  EXPECT_TRUE(host.endResults.empty());
}

// Context help.
class HelpTest : public MainDialogTest {
 protected:
  std::vector<std::string> HelpCalls() {
    return machine.JournalOf(
        {"ShellExecuteA", "BringWindowToTop", "ShowWindow", "SetForegroundWindow"});
  }
};

TEST_F(HelpTest, AnOpenWindowTitledUninstallIsBroughtToTheTopInstead) {
  machine.AddFile("C:\\pkg\\Uninstall_EN.CHM");
  const plat::WindowHandle open = machine.AddWindow("Uninstall");
  EXPECT_EQ(dialog.OnHelpInfo(), 1);
  const auto calls = HelpCalls();
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_NE(calls[0].find("BringWindowToTop"), std::string::npos);
  EXPECT_FALSE(machine.IsWindowMinimized(open));
}

TEST_F(HelpTest, AMinimizedHelpWindowIsRestoredAndActivated) {
  const plat::WindowHandle open = machine.AddWindow("UNINSTALL", true);
  EXPECT_EQ(dialog.OnHelpInfo(), 1);
  EXPECT_FALSE(machine.IsWindowMinimized(open));
  const auto calls = HelpCalls();
  ASSERT_EQ(calls.size(), 3u);
  EXPECT_NE(calls[0].find("BringWindowToTop"), std::string::npos);
  EXPECT_NE(calls[1].find("ShowWindow"), std::string::npos);
  EXPECT_NE(calls[2].find("SetForegroundWindow"), std::string::npos);
}

TEST_F(HelpTest, TheEnglishFileGoesFirstAndTheChineseOneOnlyWhenItFails) {
  const struct {
    bool english, chinese;
    std::vector<std::string> opened;
  } cases[] = {
      {true, true, {"ShellExecuteA(.\\Uninstall_EN.CHM, NULL)"}},
      {false,
       true,
       {"ShellExecuteA(.\\Uninstall_EN.CHM, NULL) -> 2",
        "ShellExecuteA(.\\Uninstall_CN.CHM, NULL)"}},
      {false,
       false,
       {"ShellExecuteA(.\\Uninstall_EN.CHM, NULL) -> 2",
        "ShellExecuteA(.\\Uninstall_CN.CHM, NULL) -> 2"}},
  };
  for (const auto& c : cases) {
    sim::Machine m;
    if (c.english) m.AddFile("C:\\pkg\\Uninstall_EN.CHM");
    if (c.chinese) m.AddFile("C:\\pkg\\Uninstall_CN.CHM");
    FakeMainHost h;
    CUninstallDlg d(m.platform(), h.host());
    EXPECT_EQ(d.OnHelpInfo(), 1);
    std::vector<std::string> opened;
    for (const auto& e : m.JournalOf({"ShellExecuteA"})) opened.push_back(e);
    EXPECT_EQ(opened, c.opened);
    EXPECT_TRUE(m.MessageBoxes().empty());
  }
}

TEST_F(HelpTest, OnlyAResultAbove32CountsAsOpened) {
  for (const intptr_t english : {intptr_t{32}, intptr_t{33}}) {
    sim::Machine m;
    std::vector<std::string> opened;
    m.OnShellOpen([&](const std::string& file, const std::string&) -> intptr_t {
      opened.push_back(file);
      return english;
    });
    FakeMainHost h;
    CUninstallDlg d(m.platform(), h.host());
    d.OnHelpInfo();
    EXPECT_EQ(opened.size(), english == 32 ? 2u : 1u) << english;
  }
}

TEST_F(HelpTest, TheHelpFilesAreLookedForInTheCurrentDirectory) {
  machine.AddFile("C:\\pkg\\Uninstall_EN.CHM");
  machine.AddFile("C:\\elsewhere\\Uninstall_CN.CHM");
  machine.SetCurrentDirectory("C:\\elsewhere");
  dialog.OnHelpInfo();
  EXPECT_EQ(machine.JournalOf({"ShellExecuteA"}),
            (std::vector<std::string>{"ShellExecuteA(.\\Uninstall_EN.CHM, NULL) -> 2",
                                      "ShellExecuteA(.\\Uninstall_CN.CHM, NULL)"}));
}

// The About box and the restart prompt.
struct ModeCase {
  const char* name;
  const char* setupFile;  // nullptr: no DRVCONFIG\setup.ini
  bool chinese;
};

const ModeCase kModeCases[] = {
    {"NoSetupFile", nullptr, true},
    {"NoLanguageKey", "[DEVICENAME]\r\nOTHER=1\r\n", true},
    {"Zero", "[DEVICENAME]\r\nLANGUAGE=0\r\n", true},
    {"One", "[DEVICENAME]\r\nLANGUAGE=1\r\n", false},
    {"Letters", "[DEVICENAME]\r\nLANGUAGE=abc\r\n", true},
    {"TwoThenLetters", "[DEVICENAME]\r\nLANGUAGE=2x\r\n", false},
};

void PrintTo(const ModeCase& mode, std::ostream* out) { *out << mode.name; }

class DialogModeTest : public ::testing::TestWithParam<ModeCase> {
 protected:
  void SetUp() override {
    if (GetParam().setupFile != nullptr)
      machine.AddFile("C:\\pkg\\DRVCONFIG\\setup.ini", GetParam().setupFile);
  }
  sim::Machine machine;
  FakeDialogHost host;
};

TEST_P(DialogModeTest, AboutBoxCreatesItsOwnFontInChineseMode) {
  EXPECT_EQ(InitAboutDialog(machine.platform().files, host), 1);
  EXPECT_EQ(host.fonts, GetParam().chinese ? std::vector<ChineseFont>{ChineseFont::kCreateOwn}
                                           : std::vector<ChineseFont>{});
}

TEST_P(DialogModeTest, RestartPromptAppliesTheSharedFontInChineseMode) {
  EXPECT_EQ(InitRebootDialog(machine.platform().files, host), 1);
  EXPECT_EQ(host.fonts, GetParam().chinese ? std::vector<ChineseFont>{ChineseFont::kApplyGlobal}
                                           : std::vector<ChineseFont>{});
}

INSTANTIATE_TEST_SUITE_P(Language, DialogModeTest, ::testing::ValuesIn(kModeCases),
                         [](const ::testing::TestParamInfo<ModeCase>& info) {
                           return info.param.name;
                         });

TEST(DialogInitTest, AboutBoxTextsGoToTheirControlsThenTheCaption) {
  sim::Machine machine;
  machine.AddFile("C:\\pkg\\language\\uninstall.ini",
                  "[About]\r\nVersion=Uninstall 4.3 & more\r\nCopyright=(c) Qorvelin\r\n"
                  "OK=OK\r\nTitle=About\r\n");
  FakeDialogHost host;
  InitAboutDialog(machine.platform().files, host);
  EXPECT_EQ(host.trace,
            (std::vector<std::string>{"font create-own", "text 1017 Uninstall 4.3 & more",
                                      "text 1018 (c) Qorvelin", "text 1 OK", "caption About"}));
}

TEST(DialogInitTest, AboutBoxFollowsTheSetupFileEachTimeItOpens) {
  sim::Machine machine;
  FakeDialogHost first, second;
  machine.AddFile("C:\\pkg\\DRVCONFIG\\setup.ini", "[DEVICENAME]\r\nLANGUAGE=0\r\n");
  InitAboutDialog(machine.platform().files, first);
  machine.AddFile("C:\\pkg\\DRVCONFIG\\setup.ini", "[DEVICENAME]\r\nLANGUAGE=1\r\n");
  InitAboutDialog(machine.platform().files, second);
  EXPECT_EQ(first.fonts.size(), 1u);
  EXPECT_TRUE(second.fonts.empty());
}

TEST(DialogInitTest, RestartPromptTextsGoToTheirControlsThenTheCaption) {
  sim::Machine machine;
  machine.AddFile("C:\\pkg\\DRVCONFIG\\setup.ini", "[DEVICENAME]\r\nLANGUAGE=1\r\n");
  machine.AddFile("C:\\pkg\\language\\uninstall.ini",
                  "[Reboot]\r\nNote1=Done.\r\nNote2=Restart now?\r\nNote3=Save your work.\r\n"
                  "Yes=&Yes\r\nNo=&No\r\nTitle=Restart\r\n");
  FakeDialogHost host;
  EXPECT_EQ(InitRebootDialog(machine.platform().files, host), 1);
  EXPECT_EQ(host.trace, (std::vector<std::string>{"text 1014 Done.", "text 1015 Restart now?",
                                                  "text 1016 Save your work.", "text 1 &Yes",
                                                  "text 2 &No", "caption Restart"}));
}

TEST(DialogInitTest, WithoutTheirSectionsBothDialogsGetEmptyTexts) {
  sim::Machine machine;
  machine.AddFile("C:\\pkg\\DRVCONFIG\\setup.ini", "[DEVICENAME]\r\nLANGUAGE=1\r\n");
  FakeDialogHost about, reboot;
  EXPECT_EQ(InitAboutDialog(machine.platform().files, about), 1);
  EXPECT_EQ(InitRebootDialog(machine.platform().files, reboot), 1);
  EXPECT_EQ(about.itemTexts.size(), 3u);
  EXPECT_EQ(reboot.itemTexts.size(), 5u);
  for (const auto* host : {&about, &reboot}) {
    for (const auto& [id, text] : host->itemTexts) EXPECT_EQ(text, "") << id;
    EXPECT_TRUE(host->captionSet);
    EXPECT_EQ(host->caption, "");
  }
}

}  // namespace
