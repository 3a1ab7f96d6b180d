#include "config/uninstall_ini.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>
#include <vector>

#include "platform/os_type.h"
#include "platform/sim/sim_machine.h"

namespace {

const std::set<std::string> kSearchCalls = {"GetCurrentDirectoryA", "FindFirstFileA",
                                            "SetFileAttributesA", "FindNextFileA", "FindClose"};

class FindUninstallIniTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::strcpy(g_szUninstallIni, "stale");
    machine.AddDirectory("C:\\pkg", win::kFileAttributeDirectory | win::kFileAttributeReadonly);
    machine.SetCurrentDirectory("C:\\pkg");
  }
  const char* Find() { return FindUninstallIni(machine.platform().files); }
  std::vector<std::string> Listings() const { return machine.JournalOf({"FindFirstFileA"}); }

  sim::Machine machine;
};

TEST_F(FindUninstallIniTest, CurrentFolderWinsAndDrvconfigIsNeverListed) {
  machine.AddFile("C:\\pkg\\Uninstall.ini");
  machine.AddFile("C:\\pkg\\DRVCONFIG\\Uninstall.ini");
  EXPECT_EQ(Find(), nullptr);
  EXPECT_STREQ(g_szUninstallIni, "C:\\pkg\\Uninstall.ini");
  EXPECT_EQ(Listings(), std::vector<std::string>{"FindFirstFileA(C:\\pkg\\*.*)"});
  EXPECT_EQ(machine.OpenHandleCount(), 0);
}

TEST_F(FindUninstallIniTest, FallsBackToDrvconfig) {
  machine.AddFile("C:\\pkg\\setup.exe");
  machine.AddFile("C:\\pkg\\DRVCONFIG\\Uninstall.ini");
  EXPECT_EQ(Find(), nullptr);
  EXPECT_STREQ(g_szUninstallIni, "C:\\pkg\\DRVCONFIG\\Uninstall.ini");
  EXPECT_EQ(Listings(), (std::vector<std::string>{"FindFirstFileA(C:\\pkg\\*.*)",
                                                  "FindFirstFileA(C:\\pkg\\DRVCONFIG\\*.*)"}));
  EXPECT_EQ(machine.OpenHandleCount(), 0);
}

TEST_F(FindUninstallIniTest, CallsComeInSearchOrder) {
  machine.AddFile("C:\\pkg\\A.txt", "", win::kFileAttributeReadonly);
  machine.AddFile("C:\\pkg\\Uninstall.ini");
  machine.AddFile("C:\\pkg\\z.txt");
  ASSERT_EQ(Find(), nullptr);
  // "." and ".." are passed over; every other entry up to the match is reset,
  // and the search stops and is closed at the match.
  EXPECT_EQ(machine.JournalOf(kSearchCalls),
            (std::vector<std::string>{
                "GetCurrentDirectoryA()", "FindFirstFileA(C:\\pkg\\*.*)",
                "FindNextFileA(C:\\pkg\\*.*)", "FindNextFileA(C:\\pkg\\*.*)",
                "SetFileAttributesA(C:\\pkg\\A.txt, 0x20)", "FindNextFileA(C:\\pkg\\*.*)",
                "SetFileAttributesA(C:\\pkg\\Uninstall.ini, 0x20)", "FindClose(C:\\pkg\\*.*)"}));
  EXPECT_EQ(machine.Attributes("C:\\pkg\\A.txt"), win::kFileAttributeArchive);
}

TEST_F(FindUninstallIniTest, NoDrvconfigFolderIsInvalid) {
  machine.AddFile("C:\\pkg\\readme.txt");
  EXPECT_STREQ(Find(), "IDS_ERR_INVALID");
  EXPECT_STREQ(g_szUninstallIni, "");
  EXPECT_EQ(machine.OpenHandleCount(), 0);
}

TEST_F(FindUninstallIniTest, DrvconfigWithoutFileIsNoIniAndResetsEveryEntryButDotEntries) {
  machine.AddFile("C:\\pkg\\hidden.dat", "", win::kFileAttributeHidden | win::kFileAttributeSystem);
  machine.AddFile("C:\\pkg\\DRVCONFIG\\setup.ini", "", win::kFileAttributeReadonly);
  machine.AddFile("C:\\pkg\\DRVCONFIG\\uninstall.ini");  // letter case counts
  const uint32_t packageFolder = machine.Attributes("C:\\pkg");
  const uint32_t parentFolder = machine.Attributes("C:\\");
  EXPECT_STREQ(Find(), "IDS_ERR_NOINI");
  EXPECT_EQ(machine.Attributes("C:\\pkg\\hidden.dat"), win::kFileAttributeArchive);
  EXPECT_EQ(machine.Attributes("C:\\pkg\\DRVCONFIG\\setup.ini"), win::kFileAttributeArchive);
  EXPECT_EQ(machine.Attributes("C:\\pkg\\DRVCONFIG\\uninstall.ini"), win::kFileAttributeArchive);
  // "." and ".." are never touched: the package folder and its parent keep theirs.
  EXPECT_EQ(machine.Attributes("C:\\pkg"), packageFolder);
  EXPECT_EQ(machine.Attributes("C:\\"), parentFolder);
  for (const std::string& call : machine.JournalOf({"SetFileAttributesA"})) {
    EXPECT_EQ(call.find("\\.,"), std::string::npos) << call;
    EXPECT_EQ(call.find("\\..,"), std::string::npos) << call;
  }
  EXPECT_EQ(machine.OpenHandleCount(), 0);
}

TEST_F(FindUninstallIniTest, NameContainingTheTextMatchesButThePathIsTheExactName) {
  machine.AddFile("C:\\pkg\\Old Uninstall.ini.bak");
  machine.AddFile("C:\\pkg\\DRVCONFIG\\Uninstall.ini");
  EXPECT_EQ(Find(), nullptr);
  EXPECT_STREQ(g_szUninstallIni, "C:\\pkg\\Uninstall.ini");
}

TEST_F(FindUninstallIniTest, UnreadableCurrentDirectory) {
  machine.FailCall("GetCurrentDirectoryA", win::kAccessDenied);
  EXPECT_STREQ(Find(), "IDS_ERR_GETSYSDIR");
  EXPECT_TRUE(Listings().empty());
}

TEST_F(FindUninstallIniTest, UnlistableFolders) {
  machine.FailCall("FindFirstFileA", win::kAccessDenied);
  EXPECT_STREQ(Find(), "IDS_ERR_INVALID");

  machine.AddDirectory("C:\\pkg\\DRVCONFIG");
  machine.FailCall("FindFirstFileA", win::kAccessDenied, 1, "DRVCONFIG");
  EXPECT_STREQ(Find(), "IDS_ERR_INVALID");
  EXPECT_EQ(machine.OpenHandleCount(), 0);
}

// A folder whose configuration path would pass 255 characters is not searched:
// it counts as holding no configuration.
std::string FolderOfLength(size_t length) {
  std::string folder = "C:\\";
  while (folder.size() < length) folder += 'd';
  return folder;
}

TEST_F(FindUninstallIniTest, LongestCurrentDirectoryWhoseConfigurationPathFits) {
  const std::string folder = FolderOfLength(241);  // + "\" + "Uninstall.ini" = 255
  machine.AddFile(folder + "\\Uninstall.ini");
  machine.SetCurrentDirectory(folder);
  EXPECT_EQ(Find(), nullptr);
  EXPECT_EQ(std::strlen(g_szUninstallIni), 255u);
  EXPECT_EQ(std::string(g_szUninstallIni), folder + "\\Uninstall.ini");
}

TEST_F(FindUninstallIniTest, CurrentDirectoryTooLongIsNotFoundWithoutListing) {
  const std::string folder = FolderOfLength(242);
  machine.AddFile(folder + "\\Uninstall.ini");
  machine.AddFile(folder + "\\DRVCONFIG\\Uninstall.ini");
  machine.SetCurrentDirectory(folder);
  EXPECT_STREQ(Find(), "IDS_ERR_NOINI");
  EXPECT_STREQ(g_szUninstallIni, "");
  EXPECT_TRUE(Listings().empty());
}

TEST_F(FindUninstallIniTest, DrvconfigPathTooLongIsNotSearched) {
  const std::string folder = FolderOfLength(232);  // DRVCONFIG path would be 256
  machine.AddFile(folder + "\\DRVCONFIG\\Uninstall.ini");
  machine.SetCurrentDirectory(folder);
  EXPECT_STREQ(Find(), "IDS_ERR_NOINI");
  EXPECT_EQ(Listings().size(), 1u);

  machine.AddFile(FolderOfLength(231) + "\\DRVCONFIG\\Uninstall.ini");
  machine.SetCurrentDirectory(FolderOfLength(231));
  EXPECT_EQ(Find(), nullptr);
  EXPECT_EQ(std::strlen(g_szUninstallIni), 255u);
}

TEST_F(FindUninstallIniTest, EntryWhosePathDoesNotFitIsPassedOver) {
  const std::string folder = FolderOfLength(200);
  const std::string longName = "backup of the old Uninstall.ini from the previous release";
  machine.AddFile(folder + "\\" + longName, "", win::kFileAttributeReadonly);
  machine.AddFile(folder + "\\DRVCONFIG\\Uninstall.ini");
  machine.SetCurrentDirectory(folder);
  EXPECT_EQ(Find(), nullptr);
  EXPECT_EQ(std::string(g_szUninstallIni), folder + "\\DRVCONFIG\\Uninstall.ini");
  EXPECT_EQ(machine.Attributes(folder + "\\" + longName), win::kFileAttributeReadonly);
}

TEST(ParseCountTest, ReadsLikeAtoi) {
  const struct {
    const char* text;
    int count;
  } cases[] = {
      {"2", 2},
      {"12", 12},
      {"0", 0},
      {"-2", -2},
      {"2abc", 2},
      {"abc", 0},
      {"", 0},
      {"  \t7", 7},
      {"+3", 3},
      {"- 3", 0},
      {"1 2", 1},
      {"99999999999", INT_MAX},
      {"-99999999999", INT_MIN},
      {"2147483647", INT_MAX},
      {"-2147483648", INT_MIN},
  };
  for (const auto& c : cases) EXPECT_EQ(ParseCount(c.text), c.count) << '"' << c.text << '"';
  EXPECT_EQ(ParseCount(nullptr), 0);
}

TEST(NumberedKeyTest, LastCharacterIsZeroPlusN) {
  const struct {
    int n;
    const char* key;
  } cases[] = {{1, "NAME1"},  {9, "NAME9"},  {10, "NAME:"},
               {11, "NAME;"}, {12, "NAME<"}, {207, "NAME\xFF"}};
  char key[30];
  for (const auto& c : cases) {
    ASSERT_TRUE(NumberedKey("NAME", c.n, key, sizeof key)) << c.n;
    EXPECT_STREQ(key, c.key) << c.n;
  }
  EXPECT_FALSE(NumberedKey("NAME", 208, key, sizeof key));  // no character left
  EXPECT_FALSE(NumberedKey("NAME", -48, key, sizeof key));  // would end the key
}

TEST(NumberedKeyTest, MustFitTheBuffer) {
  char key[6];
  EXPECT_TRUE(NumberedKey("NAME", 1, key, sizeof key));
  EXPECT_STREQ(key, "NAME1");
  EXPECT_FALSE(NumberedKey("NAMES", 1, key, sizeof key));
  EXPECT_STREQ(key, "");
}

TEST(PerOsSectionNameTest, MonitorLosesSpacesProcessorKeepsThem) {
  const struct {
    const char* name;
    bool strip;
    int osType;
    bool fits;
    const char* section;
  } cases[] = {
      {"ZT USB Monitor", true, OS_WIN7, true, "ZTUSBMonitor.Win7"},
      {"ZT USB Monitor", false, OS_WIN7, true, "ZT USB Monitor.Win7"},
      {"ZT\tPort  Mon", true, OS_XP, true, "ZT\tPortMon.2K"},  // only code 32 goes
      {"ZT Proc", false, OS_WIN9X, true, "ZT Proc.98"},
      {"P23456789012345678901234", false, OS_WIN7, true, "P23456789012345678901234.Win7"},
      {"P234567890123456789012345", false, OS_WIN7, false, ""},  // 30 characters
      {"M 2345678901234567890123456", true, OS_NT4, true, "M2345678901234567890123456.NT"},
      {"Vista Monitor Of Many Words", true, OS_VISTA, true, "VistaMonitorOfManyWords.Vista"},
      {"Vista Monitor Of Many Wordss", true, OS_VISTA, false, ""},
  };
  for (const auto& c : cases) {
    ConfigValue out;
    std::strcpy(out, "junk");
    EXPECT_EQ(PerOsSectionName(c.name, c.strip, c.osType, out), c.fits) << c.name;
    EXPECT_STREQ(out, c.section) << c.name;
  }
}

TEST(ReadConfigValueTest, ReadsTheFoundFileWithDefaultZeroAndCutsTo29) {
  sim::Machine machine;
  machine.AddFile("C:\\pkg\\Uninstall.ini",
                  "[ZT Port.Win7]\r\nMonitorPDLLName=ztport.dll\r\n"
                  "MONitorPUIDLLName=a_very_long_file_name_of_the_ui.dll\r\n");
  ASSERT_EQ(FindUninstallIni(machine.platform().files), nullptr);
  plat::FileSystem& files = machine.platform().files;
  ConfigValue value;
  EXPECT_EQ(ReadConfigValue(files, "ZT Port.Win7", "MonitorPDLLName", value), 10u);
  EXPECT_STREQ(value, "ztport.dll");
  EXPECT_EQ(ReadConfigValue(files, "ZT Port.Win7", "MONitorPUIDLLName", value), 29u);
  EXPECT_STREQ(value, "a_very_long_file_name_of_the_");
  ReadConfigValue(files, "ZT Port.Win7", "USBMONitorName", value);
  EXPECT_STREQ(value, "0");
  ReadConfigValue(files, "ZT Port.2K", "MonitorPDLLName", value);
  EXPECT_STREQ(value, "0");
}

}  // namespace
