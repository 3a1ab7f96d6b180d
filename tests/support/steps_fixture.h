// A simulated Windows 7 machine with the package folder C:\pkg, its language file
// and a configuration given by each test, and a fake main dialog: the ground for
// the tests of the removal steps and the USB option.
#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include "config/texts.h"
#include "config/uninstall_ini.h"
#include "engine/steps.h"
#include "platform/os_type.h"
#include "platform/sim/sim_machine.h"
#include "tests/support/engine_globals.h"
#include "tests/support/fake_view.h"
#include "tests/support/safety_check.h"

namespace steps_test {

constexpr const char* kPackage = "C:\\pkg";
constexpr const char* kConfigPath = "C:\\pkg\\Uninstall.ini";
constexpr const char* kLanguagePath = "C:\\pkg\\language\\uninstall.ini";
constexpr const char* kSystem32 = "C:\\Windows\\system32";
constexpr const char* kSysWow64 = "C:\\Windows\\SysWOW64";

using Lines = std::vector<std::string>;
using Pauses = std::vector<uint32_t>;

// Each message shows its key, so a log line tells which text it came from.
constexpr const char* kLanguageFile =
    "[Message]\r\n"
    "IDS_DELETING1=DELETING1 %s\r\n"
    "IDS_USING=USING %s\r\n"
    "IDS_ERR_UNINSTALL=ERR_UNINSTALL %s\r\n"
    "IDS_SUCCESS=SUCCESS %s\r\n"
    "IDS_ERR_OPENPRN=ERR_OPENPRN %s\r\n"
    "IDS_ERR_GETPRNINFO=ERR_GETPRNINFO %s\r\n"
    "IDS_ERR_ALLOC=ERR_ALLOC %s\r\n"
    "IDS_ERR_HAVEJOB1=ERR_HAVEJOB1 %s\r\n"
    "IDS_DELETING3=DELETING3\r\n"
    "IDS_DRV_SUCCESS1=DRV_SUCCESS1\r\n"
    "[Uninstall]\r\n"
    "CaptionName=USB Driver Uninstall\r\n";

class StepsFixture : public ::testing::Test {
 protected:
  StepsFixture() : session(machine.platform(), view) {
    g_nOSType = OS_WIN7;
    g_bIsWow64 = 0;
    std::snprintf(g_szUninstallIni, kUninstallIniSize, "%s", kConfigPath);
    machine.AddFile(kLanguagePath, kLanguageFile);
    g_Message.Bind(machine.platform().files);
  }
  ~StepsFixture() override { ResetEngineGlobals(); }
  // Every test ends with nothing held (no handle, search, token or library) and
  // removed nothing that is not the vendor's.
  void TearDown() override {
    EXPECT_EQ(machine.OpenHandleCount(), 0);
    for (const std::string& violation : safetyWatch.TakeViolations())
      ADD_FAILURE() << "unsafe deletion: " << violation;
  }

  void SetConfig(const std::string& text) { machine.AddFile(kConfigPath, text); }
  void SetLanguage(const std::string& text) { machine.AddFile(kLanguagePath, text); }

  // The session's current entry, as the run sets it, at the top of the list.
  void SetEntry(const std::string& name) {
    view.AddItems({name}, true);
    session.m_strCurrentName = name;
  }

  std::vector<std::string> Journal(const std::set<std::string>& calls) const {
    return machine.JournalOf(calls);
  }

  sim::Machine machine;
  FakeView view;
  UninstallSession session;
  safety::DeletionWatch safetyWatch{
      machine, [this] {
        safety::Context context = safety::ContextNow(machine, view, session.m_strCurrentName);
        context.entryKindGiven = true;  // each test hands its step the entry
        return context;
      }};
};

}  // namespace steps_test
