// Start-up: the application title, the single-instance rule, the companion
// installer and the Chinese-mode decision handed to the main dialog.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/uninstall_app.h"
#include "config/text_keys.h"
#include "platform/sim/sim_machine.h"

namespace {

TEST(ApplicationTitleTest, IsTheFileNameWithoutFolderAndExtension) {
  const struct {
    const char* path;
    const char* title;
  } cases[] = {
      {"C:\\pkg\\Uninstall.exe", "Uninstall"},
      {"D:/drivers/tool.exe", "tool"},
      {"C:tool.exe", "tool"},
      {"C:\\v1.2\\setup.tool.exe", "setup.tool"},
      {"C:\\pkg\\tool", "tool"},
      {"tool", "tool"},
      {"tool.EXE", "tool"},
      // The cut is at the last dot of the whole path: without an extension of its
      // own, a file in a dotted folder is named after part of that folder.
      {"C:\\a.b\\tool", "a"},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(ApplicationTitle(c.path), c.title) << c.path;
}

const char kLanguageFile[] = "[Uninstall]\r\nClose=Close the driver installer first.\r\n";

class StartUpTest : public ::testing::Test {
 protected:
  StartUpTest() { machine.AddFile("C:\\pkg\\language\\uninstall.ini", kLanguageFile); }

  // Runs one start; records the dialog's Chinese-mode flag when it is run.
  int Start(const std::string& title = "Uninstall") {
    return InitInstance(machine.platform(), title,
                        [this](bool chinese) { dialogRuns.push_back(chinese); });
  }

  std::vector<std::string> WindowCalls() {
    return machine.JournalOf({"SetForegroundWindow", "IsIconic", "ShowWindow", "MessageBoxA"});
  }

  sim::Machine machine;
  std::vector<bool> dialogRuns;
};

TEST_F(StartUpTest, TheFirstCopyRunsTheDialog) {
  EXPECT_EQ(Start(), 0);
  EXPECT_EQ(dialogRuns.size(), 1u);
  EXPECT_TRUE(machine.MessageBoxes().empty());
  EXPECT_EQ(machine.JournalOf({"CreateMutexA"}),
            std::vector<std::string>{"CreateMutexA(Uninstall)"});
}

TEST_F(StartUpTest, ASecondCopyBringsTheFirstForwardAndEnds) {
  const plat::WindowHandle first = machine.AddWindow(text::kRunningCopyTitle, true);
  Start();
  machine.ClearJournal();

  EXPECT_EQ(Start(), 0);

  EXPECT_EQ(dialogRuns.size(), 1u);
  EXPECT_FALSE(machine.IsWindowMinimized(first));
  const auto calls = WindowCalls();
  ASSERT_EQ(calls.size(), 3u);
  EXPECT_EQ(calls[0].rfind("SetForegroundWindow", 0), 0u);
  EXPECT_EQ(calls[1].rfind("IsIconic", 0), 0u);
  EXPECT_EQ(calls[2].rfind("ShowWindow", 0), 0u);
}

TEST_F(StartUpTest, ASecondCopyThatFindsNoChineseCaptionEndsSilently) {
  machine.AddWindow("Printer Driver Uninstall");  // the first copy under an English title
  Start();
  machine.ClearJournal();

  Start();

  EXPECT_EQ(dialogRuns.size(), 1u);
  EXPECT_TRUE(WindowCalls().empty());
}

TEST_F(StartUpTest, TheSingleInstanceRuleWinsOverTheInstallerWindow) {
  Start();
  machine.AddWindow(text::kInstallerTitleChinese);
  machine.AddWindow(text::kInstallerTitleEnglish);

  Start();

  EXPECT_EQ(dialogRuns.size(), 1u);
  EXPECT_TRUE(machine.MessageBoxes().empty());
}

TEST_F(StartUpTest, AnOpenInstallerWindowStopsTheStartWithOneMessage) {
  const struct {
    const char* name;
    std::vector<const char*> windows;
  } cases[] = {
      {"chinese", {text::kInstallerTitleChinese}},
      {"english", {text::kInstallerTitleEnglish}},
      {"english-lower-case", {"printer driver setup"}},
      {"both", {text::kInstallerTitleChinese, text::kInstallerTitleEnglish}},
  };
  for (const auto& c : cases) {
    sim::Machine m;
    m.AddFile("C:\\pkg\\language\\uninstall.ini", kLanguageFile);
    for (const char* title : c.windows) m.AddWindow(title);
    int runs = 0;
    EXPECT_EQ(InitInstance(m.platform(), "Uninstall", [&](bool) { ++runs; }), 0);
    EXPECT_EQ(runs, 0) << c.name;
    EXPECT_EQ(m.MessageBoxes(), std::vector<std::string>{"Close the driver installer first."})
        << c.name;
  }
}

TEST_F(StartUpTest, TheEnglishInstallerIsLookedForOnlyWhenTheChineseIsAbsent) {
  machine.AddWindow(text::kInstallerTitleChinese);
  Start();
  const auto searches = machine.JournalOf({"FindWindowA"});
  ASSERT_EQ(searches.size(), 1u);
  EXPECT_NE(searches[0].find(text::kInstallerTitleChinese), std::string::npos);
}

TEST_F(StartUpTest, WithoutALanguageFileTheInstallerMessageIsEmpty) {
  sim::Machine m;
  m.AddWindow(text::kInstallerTitleEnglish);
  InitInstance(m.platform(), "Uninstall", [](bool) {});
  EXPECT_EQ(m.MessageBoxes(), std::vector<std::string>{""});
}

TEST_F(StartUpTest, AMutexThatCannotBeCreatedStartsAsTheFirstCopy) {
  machine.FailCall("CreateMutexA", win::kAccessDenied);
  Start();
  EXPECT_EQ(dialogRuns.size(), 1u);
}

TEST_F(StartUpTest, CopiesUnderDifferentNamesDoNotSeeEachOther) {
  machine.AddWindow(text::kRunningCopyTitle);
  Start("Uninstall");
  Start("Uninstall2");
  EXPECT_EQ(dialogRuns.size(), 2u);
  Start("Uninstall");
  EXPECT_EQ(dialogRuns.size(), 2u);
}

TEST_F(StartUpTest, TheSetupFileDecidesTheDialogsChineseMode) {
  const struct {
    const char* setupFile;  // nullptr: no DRVCONFIG\setup.ini
    bool chinese;
  } cases[] = {
      {nullptr, true},
      {"[DEVICENAME]\r\n", true},
      {"[DEVICENAME]\r\nLANGUAGE=0\r\n", true},
      {"[DEVICENAME]\r\nLANGUAGE=1\r\n", false},
      {"[DEVICENAME]\r\nLANGUAGE=abc\r\n", true},
      {"[DEVICENAME]\r\nLANGUAGE= 2\r\n", false},
      {"[OTHER]\r\nLANGUAGE=1\r\n", true},
  };
  for (const auto& c : cases) {
    sim::Machine m;
    if (c.setupFile != nullptr) m.AddFile("C:\\pkg\\DRVCONFIG\\setup.ini", c.setupFile);
    std::vector<bool> runs;
    InitInstance(m.platform(), "Uninstall", [&](bool chinese) { runs.push_back(chinese); });
    EXPECT_EQ(runs, std::vector<bool>{c.chinese}) << (c.setupFile ? c.setupFile : "no file");
  }
}

}  // namespace
