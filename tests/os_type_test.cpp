#include "platform/os_type.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/sim/sim_machine.h"

namespace {

constexpr uint32_t kNine = win::kVerPlatformWin32Windows;
constexpr uint32_t kNt = win::kVerPlatformWin32Nt;
constexpr uint16_t kX86 = win::kProcessorArchitectureIntel;
constexpr uint16_t kAmd64 = win::kProcessorArchitectureAmd64;

struct VersionCase {
  uint32_t platformId, major, minor;
  uint8_t productType;
  uint16_t architecture;
  int osType;
};

// Every row of the classification, with the cases on its borders.
const VersionCase kVersionCases[] = {
    {kNine, 4, 10, 1, kX86, OS_WIN9X},
    {kNine, 6, 1, 1, kX86, OS_WIN9X},
    {kNine, 0, 0, 0, kX86, OS_WIN9X},
    {kNt, 4, 0, 1, kX86, OS_NT4},
    {kNt, 4, 0, 3, kX86, OS_NT4},
    {kNt, 4, 1, 1, kX86, OS_WIN9X},
    {kNt, 3, 51, 1, kX86, OS_WIN9X},
    {kNt, 0, 0, 0, kX86, OS_WIN9X},
    {kNt, 5, 0, 1, kX86, OS_WIN2000},
    {kNt, 5, 0, 3, kAmd64, OS_WIN2000},
    {kNt, 5, 1, 1, kX86, OS_XP},
    {kNt, 5, 1, 3, kX86, OS_XP},
    {kNt, 5, 2, 1, kAmd64, OS_XP},
    {kNt, 5, 2, 3, kAmd64, OS_SERVER2003},
    {kNt, 5, 2, 2, kAmd64, OS_SERVER2003},
    {kNt, 5, 2, 1, kX86, OS_SERVER2003},
    {kNt, 5, 2, 1, 6 /* IA-64 */, OS_SERVER2003},
    {kNt, 5, 3, 1, kX86, OS_WIN9X},
    {kNt, 5, 9, 1, kAmd64, OS_WIN9X},
    {kNt, 6, 0, 1, kX86, OS_VISTA},
    {kNt, 6, 0, 3, kX86, OS_SERVER2008},
    {kNt, 6, 0, 2, kAmd64, OS_SERVER2008},
    {kNt, 6, 1, 1, kX86, OS_WIN7},
    {kNt, 6, 1, 3, kX86, OS_SERVER2008},
    {kNt, 6, 1, 0, kX86, OS_SERVER2008},
    {kNt, 6, 2, 1, kX86, OS_WIN7},
    {kNt, 6, 3, 3, kAmd64, OS_WIN7},
    {kNt, 6, 99, 1, kX86, OS_WIN7},
    {kNt, 7, 3, 1, kX86, OS_WIN7},
    {kNt, 10, 0, 1, kAmd64, OS_WIN9X},
    {kNt, 10, 2, 1, kAmd64, OS_WIN9X},
    {kNt, 10, 3, 1, kAmd64, OS_WIN7},
    {kNt, 7, 0, 1, kX86, OS_WIN9X},
    {0, 6, 1, 1, kX86, OS_XP},
    {3, 6, 1, 1, kX86, OS_XP},
    {0xFFFFFFFF, 5, 0, 1, kX86, OS_XP},
};

TEST(GetOSTypeTest, ClassifiesEveryRowOfTheTable) {
  for (const VersionCase& c : kVersionCases) {
    sim::Machine machine;
    machine.SetVersion(c.platformId, c.major, c.minor, c.productType);
    machine.SetArchitecture(c.architecture, c.architecture);
    EXPECT_EQ(GetOSType(machine.platform().system), c.osType)
        << "platform " << c.platformId << " version " << c.major << "." << c.minor << " product "
        << int{c.productType} << " architecture " << c.architecture;
  }
}

TEST(GetOSTypeTest, FailedVersionQueryGivesXp) {
  sim::Machine machine;
  machine.SetVersionQueryFails(true);
  EXPECT_EQ(GetOSType(machine.platform().system), OS_XP);
}

TEST(GetOSTypeTest, ArchitectureIsTheNativeOneWhenTheEntryExists) {
  sim::Machine machine;
  machine.SetVersion(kNt, 5, 2, win::kVerNtWorkstation);
  machine.SetArchitecture(kAmd64, kX86);  // a 32-bit process on 64-bit XP
  EXPECT_EQ(GetOSType(machine.platform().system), OS_XP);
  EXPECT_EQ(machine.JournalOf({"GetNativeSystemInfo", "GetSystemInfo"}).size(), 1u);
  EXPECT_EQ(machine.JournalOf({"GetSystemInfo"}).size(), 0u);

  machine.SetNativeSystemInfoAvailable(false);
  machine.ClearJournal();
  EXPECT_EQ(GetOSType(machine.platform().system), OS_SERVER2003);
  EXPECT_EQ(machine.JournalOf({"GetNativeSystemInfo", "GetSystemInfo"}).size(), 1u);
  EXPECT_EQ(machine.JournalOf({"GetNativeSystemInfo"}).size(), 0u);
}

TEST(OsSuffixTest, OneSuffixPerType) {
  const char* const suffixes[] = {".98", ".NT", ".2K", ".2K", ".2003", ".Vista", ".2008", ".Win7"};
  for (int type = OS_WIN9X; type <= OS_WIN7; ++type) EXPECT_STREQ(OsSuffix(type), suffixes[type]);
  EXPECT_STREQ(OsSuffix(-1), ".98");
  EXPECT_STREQ(OsSuffix(8), ".98");
}

const std::set<std::string> kLibraryCalls = {"GetSystemDirectoryA",
                                             "LoadLibraryA",
                                             "GetProcAddress",
                                             "IsWow64Process",
                                             "Wow64DisableWow64FsRedirection",
                                             "Wow64RevertWow64FsRedirection",
                                             "FreeLibrary"};

class Wow64Test : public ::testing::Test {
 protected:
  int Query() { return IsWow64(machine.platform()); }
  std::vector<std::string> Calls() const { return machine.JournalOf(kLibraryCalls); }
  sim::Machine machine;
};

TEST_F(Wow64Test, LoadsKernelByFullPathAndAsksIt) {
  machine.SetWow64(true);
  EXPECT_NE(Query(), 0);
  EXPECT_EQ(Calls(),
            (std::vector<std::string>{"GetSystemDirectoryA()",
                                      "LoadLibraryA(C:\\Windows\\system32\\kernel32.dll)",
                                      "GetProcAddress(IsWow64Process)", "IsWow64Process()",
                                      "FreeLibrary(C:\\Windows\\system32\\kernel32.dll)"}));
  EXPECT_EQ(machine.OpenHandleCount(), 0);
}

TEST_F(Wow64Test, NotWow64OnA32BitSystem) { EXPECT_EQ(Query(), 0); }

TEST_F(Wow64Test, FallsBackToTheNameWhenThePathFails) {
  machine.SetWow64(true);
  machine.FailCall("LoadLibraryA", win::kModNotFound, 1, "system32");
  EXPECT_NE(Query(), 0);
  EXPECT_EQ(machine.JournalOf({"LoadLibraryA"}),
            (std::vector<std::string>{"LoadLibraryA(C:\\Windows\\system32\\kernel32.dll) -> 126",
                                      "LoadLibraryA(kernel32.dll)"}));
  EXPECT_EQ(machine.OpenHandleCount(), 0);
}

TEST_F(Wow64Test, FallsBackToTheNameWithoutASystemDirectory) {
  machine.SetWow64(true);
  machine.FailCall("GetSystemDirectoryA", win::kAccessDenied);
  EXPECT_NE(Query(), 0);
  EXPECT_EQ(machine.JournalOf({"LoadLibraryA"}),
            std::vector<std::string>{"LoadLibraryA(kernel32.dll)"});
}

TEST_F(Wow64Test, EveryFailureCountsAsNotWow64AndReleasesTheLibrary) {
  machine.SetWow64(true);
  machine.FailCall("LoadLibraryA", win::kModNotFound, 2);
  EXPECT_EQ(Query(), 0);

  machine.FailCall("IsWow64Process", win::kAccessDenied);
  EXPECT_EQ(Query(), 0);
  EXPECT_EQ(machine.OpenHandleCount(), 0);

  machine.RemoveKernelEntry("IsWow64Process");
  machine.ClearJournal();
  EXPECT_EQ(Query(), 0);
  EXPECT_TRUE(machine.JournalOf({"IsWow64Process"}).empty());
  EXPECT_EQ(machine.OpenHandleCount(), 0);
}

// Windows that cannot say whether this program runs under WOW64 while its
// processor is 64-bit: WOW64 all the same, so that no file is deleted through the
// redirection into SysWOW64.
TEST_F(Wow64Test, WithoutAnAnswerA64BitProcessorMeansWow64) {
  machine.SetWow64(true);
  machine.SetArchitecture(win::kProcessorArchitectureAmd64, win::kProcessorArchitectureIntel);
  machine.FailCall("IsWow64Process", win::kAccessDenied);
  EXPECT_NE(Query(), 0);
  machine.RemoveKernelEntry("IsWow64Process");
  EXPECT_NE(Query(), 0);
  machine.SetNativeSystemInfoAvailable(false);  // Windows 2000: no 64-bit Windows
  EXPECT_EQ(Query(), 0);
  EXPECT_EQ(machine.OpenHandleCount(), 0);
}

class RedirectionTest : public Wow64Test {
 protected:
  void SetUp() override { machine.SetWow64(true); }
  bool Run() {
    return RunWithoutFsRedirection(machine.platform().libraries, [this] {
      ++runs;
      disabledDuringRun = machine.RedirectionDisabled();
    });
  }
  int runs = 0;
  bool disabledDuringRun = false;
};

TEST_F(RedirectionTest, RunsTheOperationWithRedirectionOff) {
  EXPECT_TRUE(Run());
  EXPECT_EQ(runs, 1);
  EXPECT_TRUE(disabledDuringRun);
  EXPECT_FALSE(machine.RedirectionDisabled());
  EXPECT_EQ(Calls(),
            (std::vector<std::string>{
                "LoadLibraryA(Kernel32.dll)", "GetProcAddress(Wow64DisableWow64FsRedirection)",
                "GetProcAddress(Wow64RevertWow64FsRedirection)", "Wow64DisableWow64FsRedirection()",
                "Wow64RevertWow64FsRedirection()", "FreeLibrary(Kernel32.dll)"}));
  EXPECT_EQ(machine.OpenHandleCount(), 0);
}

TEST_F(RedirectionTest, DisableMustAnswerExactlyOne) {
  for (int answer : {0, 2, -1}) {
    machine.SetDisableRedirectionResult(answer);
    EXPECT_FALSE(Run()) << answer;
  }
  EXPECT_EQ(runs, 0);
  EXPECT_TRUE(machine.JournalOf({"Wow64RevertWow64FsRedirection"}).empty());
  EXPECT_EQ(machine.OpenHandleCount(), 0);
}

TEST_F(RedirectionTest, LibraryThatDoesNotLoad) {
  machine.FailCall("LoadLibraryA", win::kModNotFound);
  EXPECT_FALSE(Run());
  EXPECT_EQ(runs, 0);
}

TEST_F(RedirectionTest, AMissingEntryIsNeverCalledAndNothingRuns) {
  for (const char* entry : {"Wow64DisableWow64FsRedirection", "Wow64RevertWow64FsRedirection"}) {
    sim::Machine bare;
    bare.SetWow64(true);
    bare.RemoveKernelEntry(entry);
    bool ran = false;
    EXPECT_FALSE(RunWithoutFsRedirection(bare.platform().libraries, [&ran] { ran = true; }));
    EXPECT_FALSE(ran) << entry;
    EXPECT_TRUE(
        bare.JournalOf({"Wow64DisableWow64FsRedirection", "Wow64RevertWow64FsRedirection"}).empty())
        << entry;
    EXPECT_FALSE(bare.RedirectionDisabled());
    EXPECT_EQ(bare.OpenHandleCount(), 0);
  }
}

}  // namespace
