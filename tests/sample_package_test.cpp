// The sample package under package/: its language files carry every key with
// usable formats, its configuration has a section for every Windows version, and
// the program started on it lists exactly the vendor's components.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/uninstall_dlg.h"
#include "config/text_keys.h"
#include "config/texts.h"
#include "config/uninstall_ini.h"
#include "platform/os_type.h"
#include "platform/profile_reader.h"
#include "platform/sim/sim_machine.h"
#include "tests/support/fake_dialog_host.h"

namespace {

std::string ReadPackageFile(const std::string& relative) {
  std::string root = __FILE__;
  root.erase(root.rfind("tests"));
  std::ifstream in(root + "package/" + relative, std::ios::binary);
  EXPECT_TRUE(in.good()) << relative;
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

struct CatalogueKey {
  const char* section;
  const char* key;
  bool takesName;  // used as a format with one name
};

const CatalogueKey kCatalogue[] = {
    {text::kSectionMessage, text::kAboutBox, false},
    {text::kSectionMessage, text::kErrGetSysDir, false},
    {text::kSectionMessage, text::kErrInvalid, false},
    {text::kSectionMessage, text::kErrNoIni, false},
    {text::kSectionMessage, text::kSelectPrn1, false},
    {text::kSectionMessage, text::kDeleting1, true},
    {text::kSectionMessage, text::kDeleting2, true},
    {text::kSectionMessage, text::kUsing, true},
    {text::kSectionMessage, text::kErrUninstall, true},
    {text::kSectionMessage, text::kSuccess, true},
    {text::kSectionMessage, text::kErrOpenPrn, true},
    {text::kSectionMessage, text::kErrGetPrnInfo, false},
    {text::kSectionMessage, text::kErrAlloc, false},
    {text::kSectionMessage, text::kErrHaveJob1, true},
    {text::kSectionMessage, text::kErrHaveJob2, true},
    {text::kSectionMessage, text::kErrDelPrinter, false},
    {text::kSectionMessage, text::kDrvDeleting, true},
    {text::kSectionMessage, text::kDrvSuccess, false},
    {text::kSectionMessage, text::kErrDrvUsing, false},
    {text::kSectionMessage, text::kErrDrvDel, false},
    {text::kSectionMessage, text::kDeleting3, false},
    {text::kSectionMessage, text::kDrvSuccess1, false},
    {text::kSectionUninstall, text::kNote, false},
    {text::kSectionUninstall, text::kUninstall, false},
    {text::kSectionUninstall, text::kSelect, false},
    {text::kSectionUninstall, text::kExit, false},
    {text::kSectionUninstall, text::kUsbUninstall, false},
    {text::kSectionUninstall, text::kTitle, false},
    {text::kSectionUninstall, text::kClose, false},
    {text::kSectionUninstall, text::kCaptionName, false},
    {text::kSectionReboot, text::kNote1, false},
    {text::kSectionReboot, text::kNote2, false},
    {text::kSectionReboot, text::kNote3, false},
    {text::kSectionReboot, text::kYes, false},
    {text::kSectionReboot, text::kNo, false},
    {text::kSectionReboot, text::kTitle, false},
    {text::kSectionAbout, text::kVersion, false},
    {text::kSectionAbout, text::kCopyright, false},
    {text::kSectionAbout, text::kOk, false},
    {text::kSectionAbout, text::kTitle, false},
};

size_t CountOf(const std::string& text, const std::string& part) {
  size_t count = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
  return count;
}

class LanguageFileTest : public ::testing::TestWithParam<const char*> {};

TEST_P(LanguageFileTest, HoldsEveryKeyWithAFormatItsUseAllows) {
  sim::Machine machine;
  machine.AddFile("C:\\pkg\\lang.ini", ReadPackageFile(GetParam()));
  const plat::ProfileFile file(machine.platform().files, "C:\\pkg\\lang.ini");
  ASSERT_TRUE(file.loaded());
  for (const auto& entry : kCatalogue) {
    char value[1024];
    file.GetString(entry.section, entry.key, "\x01", value, sizeof value);
    const std::string text = value;
    const std::string where = std::string(entry.section) + "/" + entry.key;
    EXPECT_NE(text, "\x01") << where << " is missing";
    EXPECT_FALSE(text.empty()) << where;
    EXPECT_EQ(CountOf(text, "%"), entry.takesName ? 1u : 0u) << where;
    if (entry.takesName) {
      EXPECT_EQ(CountOf(text, "%s"), 1u) << where;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Package, LanguageFileTest,
                         ::testing::Values("language/uninstall.ini", "language/uninstall.zh.ini"));

TEST(SamplePackageTest, TheChineseTitleIsTheOneASecondCopyLooksFor) {
  sim::Machine machine;
  machine.AddFile("C:\\pkg\\lang.ini", ReadPackageFile("language/uninstall.zh.ini"));
  char title[1024];
  plat::ReadProfileString(machine.platform().files, text::kSectionUninstall, text::kTitle, "",
                          title, sizeof title, "C:\\pkg\\lang.ini");
  EXPECT_STREQ(title, text::kRunningCopyTitle);
}

TEST(SamplePackageTest, TheConfigurationNamesFilesForEveryWindowsVersion) {
  sim::Machine machine;
  machine.AddFile("C:\\pkg\\Uninstall.ini", ReadPackageFile("Uninstall.ini"));
  std::snprintf(g_szUninstallIni, sizeof g_szUninstallIni, "%s", "C:\\pkg\\Uninstall.ini");
  plat::FileSystem& files = machine.platform().files;

  const struct {
    const char* name;
    bool monitor;
    std::vector<const char*> keys;
  } components[] = {
      {"ZT USB Monitor",
       true,
       {"MonitorPDLLName", "MONitorPUIDLLName", "USBMONitorDLLName", "USBMONitorName"}},
      {"ZT IP Monitor", true, {"MonitorPDLLName", "MONitorPUIDLLName", "USBMONitorName"}},
      {"ZT Print Proc", false, {"ProcessorDllName"}},
  };
  for (int osType = OS_WIN9X; osType <= OS_WIN7; ++osType) {
    for (const auto& component : components) {
      ConfigValue section;
      ASSERT_TRUE(PerOsSectionName(component.name, component.monitor, osType, section));
      for (const char* key : component.keys) {
        ConfigValue value;
        ReadConfigValue(files, section, key, value);
        // The Windows 9x monitors have no separate user-interface DLL.
        const bool none = osType == OS_WIN9X && std::string(key) == "MONitorPUIDLLName";
        EXPECT_EQ(value[0] == '0', none) << section << "/" << key << "=" << value;
      }
    }
  }
  ConfigValue manufacturer;
  ReadConfigValue(files, "ZTPRINTER", "MANUFACTURER", manufacturer);
  EXPECT_STREQ(manufacturer, "QORVELIN");
}

TEST(SamplePackageTest, TheUninstallerListsExactlyTheVendorsComponents) {
  sim::Machine machine;
  machine.AddFile("C:\\pkg\\Uninstall.ini", ReadPackageFile("Uninstall.ini"));
  machine.AddFile("C:\\pkg\\language\\uninstall.ini", ReadPackageFile("language/uninstall.ini"));
  machine.AddFile("C:\\pkg\\DRVCONFIG\\setup.ini", ReadPackageFile("DRVCONFIG/setup.ini"));
  machine.AddPrinter({"Front desk", "USB001", "Qorvelin LP-210", "", 0});
  machine.AddPrinter({"Office laser", "IP_10.0.0.7", "Other Vendor PCL6", "", 0});
  machine.AddPrinter({"Warehouse", "ZTIP_10.0.0.9", "Qorvelin LP-480 Class Driver", "", 0});
  machine.AddMonitor("Local Port");
  machine.AddMonitor("ZT USB Monitor");
  machine.AddMonitor("ZT IP Monitor");
  machine.AddProcessor("winprint");
  machine.AddProcessor("ZT Print Proc");
  g_Message.Bind(machine.platform().files);

  EXPECT_FALSE(IsChineseMode(machine.platform().files));

  FakeMainHost host;
  CUninstallDlg dialog(machine.platform(), host.host());
  dialog.OnInitDialog();

  EXPECT_EQ(host.ItemTexts(), (std::vector<std::string>{"Front desk", "Warehouse", "ZT USB Monitor",
                                                        "ZT IP Monitor", "ZT Print Proc"}));
  EXPECT_EQ(host.caption, "Printer Driver Uninstall");
  EXPECT_EQ(host.itemTexts[1006],
            "Select the printer components to remove from this computer.\r\n"
            "Close every program that is printing first.");
  EXPECT_TRUE(host.ownedMessageBoxes.empty());
}

}  // namespace
