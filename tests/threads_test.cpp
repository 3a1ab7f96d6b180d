// The parts that run on more than one thread: the Uninstall command with a real
// worker thread and a second click, the language and profile readers used from
// two threads at once, and WOW64 redirection switched off per thread. These run
// in every build; under ThreadSanitizer they also show any data race.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "config/texts.h"
#include "engine/uninstall.h"
#include "platform/os_type.h"
#include "platform/profile_reader.h"
#include "tests/support/engine_fixture.h"

namespace engine_test {
namespace {

// The dialog as Windows gives it to a worker: every call is a message that the
// UI thread carries out one at a time, so the fake's state is taken under a lock.
// StartWorker starts a real thread; the restart prompt waits until the test lets
// it go, so that the run is certainly under way meanwhile.
class ThreadedView : public FakeView {
  // Defined first: the overrides below deduce their results from it.
  template <typename F>
  auto Locked(F f) {
    std::lock_guard<std::recursive_mutex> hold(lock_);
    return f();
  }

 public:
  ~ThreadedView() override {
    ReleasePrompt();  // a test that failed early must not leave a worker waiting
    JoinWorkers();
  }

  int ItemCount() override {
    return Locked([&] { return FakeView::ItemCount(); });
  }
  void InsertItem(int i, const char* t) override {
    Locked([&] { FakeView::InsertItem(i, t); });
  }
  std::string ItemText(int i) override {
    return Locked([&] { return FakeView::ItemText(i); });
  }
  bool IsItemChecked(int i) override {
    return Locked([&] { return FakeView::IsItemChecked(i); });
  }
  void SetItemChecked(int i, bool c) override {
    Locked([&] { FakeView::SetItemChecked(i, c); });
  }
  void DeleteItem(int i) override {
    Locked([&] { FakeView::DeleteItem(i); });
  }
  void LogAddString(const char* line) override {
    Locked([&] { FakeView::LogAddString(line); });
  }
  int LogCount() override {
    return Locked([&] { return FakeView::LogCount(); });
  }
  void LogSelect(int i) override {
    Locked([&] { FakeView::LogSelect(i); });
  }
  std::string LogText(int i) override {
    return Locked([&] { return FakeView::LogText(i); });
  }
  int LogHorizontalExtent() override {
    return Locked([&] { return FakeView::LogHorizontalExtent(); });
  }
  void LogSetHorizontalExtent(int v) override {
    Locked([&] { FakeView::LogSetHorizontalExtent(v); });
  }
  std::unique_ptr<TextMeasure> OpenDialogMeasure() override {
    return Locked([&] { return FakeView::OpenDialogMeasure(); });
  }
  void EnableControl(int id, bool e) override {
    Locked([&] { FakeView::EnableControl(id, e); });
  }
  bool IsUsbBoxChecked() override {
    return Locked([&] { return FakeView::IsUsbBoxChecked(); });
  }

  int ShowRestartPrompt() override {
    std::unique_lock<std::mutex> hold(gate_);
    promptOpen_ = true;
    changed_.notify_all();
    changed_.wait(hold, [&] { return promptReleased_; });
    return Locked([&] { return FakeView::ShowRestartPrompt(); });
  }
  bool StartWorker(std::function<void()> body) override {
    Locked([&] { events.push_back("start worker"); });
    workers_.emplace_back(std::move(body));
    return true;
  }

  void WaitForPrompt() {
    std::unique_lock<std::mutex> hold(gate_);
    changed_.wait(hold, [&] { return promptOpen_; });
  }
  void ReleasePrompt() {
    std::lock_guard<std::mutex> hold(gate_);
    promptReleased_ = true;
    changed_.notify_all();
  }
  void JoinWorkers() {
    for (std::thread& worker : workers_)
      if (worker.joinable()) worker.join();
  }
  int Starts() {
    return Locked(
        [&] { return static_cast<int>(std::count(events.begin(), events.end(), "start worker")); });
  }

 private:
  std::recursive_mutex lock_;
  std::vector<std::thread> workers_;
  std::mutex gate_;
  std::condition_variable changed_;
  bool promptOpen_ = false;
  bool promptReleased_ = false;
};

class ThreadsTest : public EngineFixture {};

TEST_F(ThreadsTest, ClicksDuringARunOnAWorkerThreadStartNothing) {
  AddPrinter("Qorvelin A", "ZTIP_1");
  AddPrinter("Qorvelin B", "ZTIP_2");
  machine.AddMonitor("ZT USB Monitor");
  ThreadedView dialog;
  dialog.items = {{"Qorvelin A", true}, {"Qorvelin B", true}, {"ZT USB Monitor", true}};
  UninstallSession threaded(machine.platform(), dialog);
  // The run's deletions are judged against this dialog's entries, not the world's.
  safety::DeletionWatch watch(
      machine, [&] { return safety::ContextNow(machine, dialog, threaded.m_strCurrentName); });

  OnUninstall(threaded);
  // Clicks from the UI thread while the worker removes the entries, each with
  // the About box's read of the language file, then while the worker holds the
  // restart prompt.
  for (int click = 0; click < 50; ++click) {
    OnUninstall(threaded);
    EXPECT_EQ(CLangSection(machine.platform().files, "Reboot").GetText("Title"), "Restart");
  }
  dialog.WaitForPrompt();
  EXPECT_TRUE(threaded.runActive);
  OnUninstall(threaded);
  EXPECT_EQ(dialog.Starts(), 1);

  dialog.ReleasePrompt();
  dialog.JoinWorkers();
  EXPECT_FALSE(threaded.runActive);
  EXPECT_TRUE(dialog.ItemTexts().empty());
  EXPECT_FALSE(machine.HasPrinter("Qorvelin A"));
  EXPECT_FALSE(machine.HasPrinter("Qorvelin B"));
  EXPECT_FALSE(machine.HasMonitor("ZT USB Monitor"));
  EXPECT_EQ(machine.OpenHandleCount(), 0);
  EXPECT_EQ(watch.TakeViolations(), std::vector<std::string>{});

  // The dialog is given back: the next click starts a new run.
  OnUninstall(threaded);
  dialog.JoinWorkers();
  EXPECT_EQ(dialog.Starts(), 2);
  EXPECT_FALSE(threaded.runActive);
}

TEST_F(ThreadsTest, TwoThreadsReadTheirOwnTextsAtOnce) {
  machine.AddFile(kLanguagePath,
                  "[Message]\r\nIDS_A=first text %s\\nmore\r\nIDS_B=second\r\n"
                  "[About]\r\nTitle=About the tool\r\n");
  auto read = [&](const char* section, const char* key, const std::string& expected) {
    for (int i = 0; i < 200; ++i) {
      // A reader made and dropped on each turn, as the dialogs do, beside the
      // global one: neither may disturb the other thread's text.
      const CLangSection reader(machine.platform().files, section);
      EXPECT_EQ(reader.GetText(key), expected);
      EXPECT_EQ(g_Message.GetText("IDS_B"), "second");
    }
  };
  std::thread about(read, "About", "Title", "About the tool");
  read("Message", "IDS_A", "first text %s\r\nmore");
  about.join();
}

TEST_F(ThreadsTest, TwoThreadsReadProfilesAtOnce) {
  // Files of different sizes, so each thread's kept buffers grow and are handed on.
  std::string large = "[S]\r\n";
  for (int i = 0; i < 2000; ++i)
    large += "K" + std::to_string(i) + "=value " + std::to_string(i) + "\r\n";
  machine.AddFile("C:\\pkg\\large.ini", large);
  machine.AddFile("C:\\pkg\\small.ini", "[S]\r\nK1999=small\r\n");
  auto read = [&](const char* first, const char* second) {
    for (int i = 0; i < 50; ++i) {
      for (const char* path : {first, second}) {
        char value[32];
        plat::ReadProfileString(machine.platform().files, "S", "K1999", "none", value, sizeof value,
                                path);
        EXPECT_STREQ(value, path == std::string("C:\\pkg\\large.ini") ? "value 1999" : "small");
      }
    }
  };
  std::thread other(read, "C:\\pkg\\small.ini", "C:\\pkg\\large.ini");
  read("C:\\pkg\\large.ini", "C:\\pkg\\small.ini");
  other.join();
}

TEST_F(ThreadsTest, RedirectionIsSwitchedOffForTheCallingThreadOnly) {
  machine.SetWow64(true);
  std::atomic<int> ran{0};
  auto run = [&] {
    for (int i = 0; i < 100; ++i) {
      EXPECT_FALSE(machine.RedirectionDisabled());
      EXPECT_TRUE(RunWithoutFsRedirection(machine.platform().libraries, [&] {
        EXPECT_TRUE(machine.RedirectionDisabled());
        ++ran;
      }));
    }
  };
  std::thread other(run);
  run();
  other.join();
  EXPECT_EQ(ran, 200);
  EXPECT_EQ(machine.OpenHandleCount(), 0);
}

}  // namespace
}  // namespace engine_test
