#include "bench/sim_figures.h"

#include <cstdio>
#include <vector>

#include "app/uninstall_dlg.h"
#include "bench/bench_dialog.h"
#include "bench/large_machine.h"
#include "bench/timed_spooler.h"
#include "bench/timing.h"
#include "config/texts.h"
#include "engine/uninstall.h"

namespace bench {
namespace {

constexpr int kStartupRuns = 15;
constexpr int kRunRuns = 5;
constexpr size_t kVendorComponents = 65;  // 50 printers, 10 monitors, 5 processors

// "host_" -> "host": how the figures' prefix reads in a sentence.
std::string Label(const std::string& prefix) { return prefix.substr(0, prefix.size() - 1); }

// A platform bundle whose spooler is timed.
struct TimedPlatform {
  explicit TimedPlatform(plat::Platform& p)
      : spooler(p.spooler), platform{spooler,     p.registry, p.files, p.services, p.system,
                                     p.libraries, p.desktop,  p.power, p.clock} {}
  TimedSpooler spooler;
  plat::Platform platform;
};

bool Load(plat::FileSystem& disk, const std::string& data, char sep, bool withInfFolder,
          sim::Machine* machine) {
  LargeMachineCounts counts;
  std::string error;
  if (LoadLargeMachine(disk, data, sep, withInfFolder, machine, &counts, &error)) return true;
  std::fprintf(stderr, "large machine: %s\n", error.c_str());
  return false;
}

// The dialog's initialisation (OnInitDialog) on the large machine, up to the
// filled list: the whole time, and the part beyond the spooler's answers.
int Startup(plat::FileSystem& disk, const std::string& data, char sep, const std::string& prefix) {
  std::vector<double> totals, beyond;
  size_t listed = 0;
  for (int run = 0; run <= kStartupRuns; ++run) {
    sim::Machine machine;
    if (!Load(disk, data, sep, false, &machine)) return 1;
    TimedPlatform timed(machine.platform());
    g_Message.Bind(timed.platform.files);
    BenchDialog dialog;
    CUninstallDlg main(timed.platform, dialog);
    const double start = NowMs();
    main.OnInitDialog();
    const double total = NowMs() - start;
    if (dialog.endResult != -1) {
      std::fprintf(stderr, "start-up: the dialog ended (%d)\n", dialog.endResult);
      return 1;
    }
    listed = dialog.items.size();
    if (run == 0) continue;  // warm-up
    totals.push_back(total);
    beyond.push_back(total - timed.spooler.spentMs);
  }
  std::printf(
      "%s start-up on the large machine, %zu components listed: %.2f ms, %.2f ms beyond"
      " the spooler's answers\n",
      Label(prefix).c_str(), listed, Median(totals), Median(beyond));
  Report((prefix + "startup_total_ms").c_str(), Median(totals), "ms");
  Report((prefix + "startup_beyond_spooler_ms").c_str(), Median(beyond), "ms");
  if (prefix == "host_") Report("startup_ms_large_machine", Median(beyond), "ms");
  if (listed != kVendorComponents) {
    std::fprintf(stderr, "start-up: %zu components listed, expected %zu\n", listed,
                 kVendorComponents);
    return 1;
  }
  return 0;
}

// A whole run that removes every vendor component of the large machine, the INF
// folder included: its wall time against the pauses its virtual clock recorded.
// The simulated clock does not sleep, so the wall time is all work.
int WholeRun(plat::FileSystem& disk, const std::string& data, char sep, const std::string& prefix) {
  std::vector<double> walls, percents;
  double pauses = 0;
  size_t left = 0, logLines = 0;
  for (int run = 0; run < kRunRuns; ++run) {
    sim::Machine machine;
    if (!Load(disk, data, sep, true, &machine)) return 1;
    g_Message.Bind(machine.platform().files);
    BenchDialog dialog;
    CUninstallDlg main(machine.platform(), dialog);
    main.OnInitDialog();
    dialog.CheckAll();
    const uint64_t pausedBefore = machine.NowMs();
    const double start = NowMs();
    UninstallThreadProc(main.session());
    const double wall = NowMs() - start;
    pauses = static_cast<double>(machine.NowMs() - pausedBefore);
    left = dialog.items.size();
    logLines = dialog.log.size();
    walls.push_back(wall);
    percents.push_back(pauses > 0 ? wall / pauses * 100 : 0);
  }
  std::printf(
      "%s whole run: %zu components removed, %zu log lines, %.1f s of pauses, %.1f ms of work"
      " (%.3f%%)\n",
      Label(prefix).c_str(), kVendorComponents - left, logLines, pauses / 1000, Median(walls),
      Median(percents));
  Report((prefix + "run_pauses_ms").c_str(), pauses, "ms");
  Report((prefix + "run_work_ms").c_str(), Median(walls), "ms");
  Report((prefix + "run_overhead_percent").c_str(), Median(percents), "%");
  if (prefix == "host_") Report("run_overhead_percent", Median(percents), "%");
  if (left != 0) {
    std::fprintf(stderr, "whole run: %zu components left in the list\n", left);
    return 1;
  }
  return 0;
}

}  // namespace

int SimulatedMachineFigures(plat::FileSystem& disk, const std::string& dataDir, char sep,
                            const std::string& prefix) {
  return Startup(disk, dataDir, sep, prefix) + WholeRun(disk, dataDir, sep, prefix);
}

}  // namespace bench
