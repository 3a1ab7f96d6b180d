#include "config/texts.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "config/text_keys.h"
#include "platform/sim/sim_machine.h"

namespace {

constexpr const char* kLanguageFile = "C:\\pkg\\language\\uninstall.ini";

class LangSectionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    machine.AddFile(kLanguageFile,
                    "[Message]\r\n"
                    "IDS_SUCCESS=%s was removed.\r\n"
                    "IDS_TWO=First\\nSecond\\nThird\r\n"
                    "IDS_PATH=Files in C:\\Drivers\\new\r\n"
                    "IDS_EMPTY=\r\n"
                    "[Uninstall]\r\n"
                    "Title=Printer Uninstall\r\n");
  }
  plat::FileSystem& files() { return machine.platform().files; }
  sim::Machine machine;
};

TEST_F(LangSectionTest, ReadsTheKeyOfItsSection) {
  CLangSection message(files(), text::kSectionMessage);
  CLangSection uninstall(files(), text::kSectionUninstall);
  EXPECT_EQ(message.GetText(text::kSuccess), "%s was removed.");
  EXPECT_EQ(uninstall.GetText(text::kTitle), "Printer Uninstall");
  EXPECT_EQ(uninstall.GetText(text::kSuccess), "");
  EXPECT_EQ(message.GetText("IDS_EMPTY"), "");
  EXPECT_EQ(message.GetText("IDS_MISSING"), "");
  CLangSection about(files(), text::kSectionAbout);
  EXPECT_EQ(about.GetText(text::kVersion), "");
}

TEST_F(LangSectionTest, OnlyTheFirstBackslashNBreaksTheLine) {
  CLangSection message(files(), text::kSectionMessage);
  EXPECT_EQ(message.GetText("IDS_TWO"), "First\r\nSecond\\nThird");
  EXPECT_EQ(message.GetText("IDS_PATH"), "Files in C:\\Drivers\r\new");
}

TEST_F(LangSectionTest, TextsAreCutTo1023Characters) {
  machine.AddFile(kLanguageFile, "[Message]\r\nIDS_LONG=" + std::string(1500, 'x') + "\r\n");
  CLangSection message(files(), text::kSectionMessage);
  EXPECT_EQ(message.GetText("IDS_LONG"), std::string(1023, 'x'));
}

TEST_F(LangSectionTest, EachCallHasItsOwnText) {
  CLangSection message(files(), text::kSectionMessage);
  const std::string first = message.GetText(text::kSuccess);
  {
    CLangSection other(files(), text::kSectionUninstall);
    const std::string second = other.GetText(text::kTitle);
    EXPECT_EQ(second, "Printer Uninstall");
  }  // a reader's end leaves the texts of others intact
  EXPECT_EQ(first, "%s was removed.");
}

TEST_F(LangSectionTest, PathIsTakenWhenTheReaderIsMade) {
  CLangSection message(files(), text::kSectionMessage);
  machine.AddDirectory("C:\\elsewhere");
  machine.SetCurrentDirectory("C:\\elsewhere");
  EXPECT_EQ(message.GetText(text::kSuccess), "%s was removed.");
  CLangSection late(files(), text::kSectionMessage);
  EXPECT_EQ(late.GetText(text::kSuccess), "");
}

TEST_F(LangSectionTest, UnboundReaderReadsNothingUntilBound) {
  CLangSection global(text::kSectionMessage);
  EXPECT_EQ(global.GetText(text::kSuccess), "");
  EXPECT_TRUE(machine.JournalOf({"ReadFile"}).empty());
  global.Bind(files());
  machine.SetCurrentDirectory("C:\\");
  EXPECT_EQ(global.GetText(text::kSuccess), "%s was removed.");
}

TEST_F(LangSectionTest, MissingFileOrUnreadableDirectoryGivesEmptyTexts) {
  machine.FailCall("GetCurrentDirectoryA", win::kAccessDenied);
  CLangSection noDirectory(files(), text::kSectionMessage);
  EXPECT_EQ(noDirectory.GetText(text::kSuccess), "");

  machine.AddDirectory("C:\\empty");
  machine.SetCurrentDirectory("C:\\empty");
  CLangSection noFile(files(), text::kSectionMessage);
  EXPECT_EQ(noFile.GetText(text::kSuccess), "");
}

// The path is the directory and "\language\uninstall.ini" (23 characters) in
// 260 characters: a directory of 237 or more leaves no file to read.
TEST_F(LangSectionTest, DirectoryTooLongForThePathGivesEmptyTexts) {
  for (size_t length : {236u, 237u}) {
    std::string folder = "C:\\";
    while (folder.size() < length) folder += 'd';
    machine.AddFile(folder + "\\language\\uninstall.ini", "[Message]\r\nIDS_SUCCESS=found\r\n");
    machine.SetCurrentDirectory(folder);
    CLangSection message(files(), text::kSectionMessage);
    EXPECT_EQ(message.GetText(text::kSuccess), length == 236u ? "found" : "") << length;
  }
}

TEST(FormatTextTest, OnlyTheNameIsEverSubstituted) {
  const struct {
    const char* format;
    const char* result;
  } cases[] = {
      {"Deleting %s ...", "Deleting ZT Port ..."},
      {"%s", "ZT Port"},
      {"no argument", "no argument"},
      {"%s and %s", "ZT Port and %s"},
      {"100%% of %s", "100% of ZT Port"},
      {"%%s is %s", "%s is ZT Port"},
      {"%d %x %n %p %s", "%d %x %n %p ZT Port"},
      {"%-20s|%s", "%-20s|ZT Port"},
      {"ends in %", "ends in %"},
      {"%%%s%%", "%ZT Port%"},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(FormatText(c.format, "ZT Port"), c.result) << c.format;
  EXPECT_EQ(FormatText("[%s]", nullptr), "[]");
  EXPECT_EQ(FormatText("[%s]", "50%% %s"), "[50%% %s]");  // the name is taken as it is
}

TEST(DeviceSettingTest, LanguageReadsLikeAtoiWithDefaultZero) {
  const struct {
    const char* file;  // nullptr: no setup file
    int language;
  } cases[] = {
      {nullptr, 0},
      {"[DEVICENAME]\r\nLANGUAGE=1\r\n", 1},
      {"[DEVICENAME]\r\nLANGUAGE=0\r\n", 0},
      {"[DEVICENAME]\r\nLANGUAGE=English\r\n", 0},
      {"[DEVICENAME]\r\nLANGUAGE=2nd\r\n", 2},
      {"[DEVICENAME]\r\nLANGUAGE=-1\r\n", -1},
      {"[DEVICENAME]\r\nLANGUAGE=\r\n", 0},
      {"[DEVICENAME]\r\nOTHER=1\r\n", 0},
      {"[OTHER]\r\nLANGUAGE=1\r\n", 0},
  };
  for (const auto& c : cases) {
    sim::Machine machine;
    if (c.file != nullptr) machine.AddFile("C:\\pkg\\DRVCONFIG\\setup.ini", c.file);
    plat::FileSystem& files = machine.platform().files;
    const char* shown = c.file != nullptr ? c.file : "(no file)";
    EXPECT_EQ(GetDeviceSetting(files, "LANGUAGE"), c.language) << shown;
    EXPECT_EQ(IsChineseMode(files), c.language == 0) << shown;
  }
}

TEST(DeviceSettingTest, SetupFileIsRelativeToTheCurrentDirectory) {
  sim::Machine machine;
  machine.AddFile("C:\\other\\DRVCONFIG\\setup.ini", "[DEVICENAME]\r\nLANGUAGE=1\r\n");
  EXPECT_TRUE(IsChineseMode(machine.platform().files));
  machine.SetCurrentDirectory("C:\\other");
  EXPECT_FALSE(IsChineseMode(machine.platform().files));
}

TEST(ChineseFontTest, IsThirteenUnitGb2312SongTi) {
  EXPECT_EQ(kChineseFont.height, 13);
  EXPECT_EQ(kChineseFont.weight, 400);
  EXPECT_EQ(kChineseFont.charSet, 134u);
  EXPECT_EQ(kChineseFont.pitchAndFamily, 0x20u);
  EXPECT_EQ(kChineseFont.width | kChineseFont.escapement | kChineseFont.orientation, 0);
  EXPECT_EQ(kChineseFont.italic | kChineseFont.underline | kChineseFont.strikeOut |
                kChineseFont.outPrecision | kChineseFont.clipPrecision | kChineseFont.quality,
            0u);
  EXPECT_STREQ(kChineseFont.faceName, "\xCB\xCE\xCC\xE5");  // 宋体
}

}  // namespace
