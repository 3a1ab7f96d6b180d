#include "bench/sim_figures.h"

#include <cstdio>
#include <vector>

#include "bench/large_machine.h"
#include "bench/timed_spooler.h"
#include "bench/timing.h"
#include "config/uninstall_ini.h"
#include "inventory/components.h"
#include "platform/os_type.h"

namespace bench {
namespace {

constexpr int kStartupRuns = 15;
constexpr size_t kVendorComponents = 65;  // 50 printers, 10 monitors, 5 processors

// "host_" -> "host": how the figures' prefix reads in a sentence.
std::string Label(const std::string& prefix) { return prefix.substr(0, prefix.size() - 1); }

// The component list as a plain vector of texts.
class ListOfTexts final : public ComponentList {
 public:
  std::vector<std::string> items;
  int ItemCount() override { return static_cast<int>(items.size()); }
  void InsertItem(int index, const char* text) override {
    items.insert(items.begin() + index, text);
  }
  std::string ItemText(int index) override { return items[static_cast<size_t>(index)]; }
  bool IsItemChecked(int) override { return false; }
  void SetItemChecked(int, bool) override {}
  void DeleteItem(int index) override { items.erase(items.begin() + index); }
};

// A platform bundle whose spooler is timed.
struct TimedPlatform {
  explicit TimedPlatform(plat::Platform& p)
      : spooler(p.spooler), platform{spooler,     p.registry, p.files, p.services, p.system,
                                     p.libraries, p.desktop,  p.power, p.clock} {}
  TimedSpooler spooler;
  plat::Platform platform;
};

// From the configuration search to the filled list on the large machine: the
// whole time, and the part beyond the spooler's answers.
int Startup(plat::FileSystem& disk, const std::string& data, char sep, const std::string& prefix) {
  std::vector<double> totals, beyond;
  size_t listed = 0;
  for (int run = 0; run <= kStartupRuns; ++run) {
    sim::Machine machine;
    LargeMachineCounts counts;
    std::string error;
    if (!LoadLargeMachine(disk, data, sep, false, &machine, &counts, &error)) {
      std::fprintf(stderr, "start-up: %s\n", error.c_str());
      return 1;
    }
    TimedPlatform timed(machine.platform());
    ListOfTexts list;
    const double start = NowMs();
    g_nOSType = GetOSType(timed.platform.system);
    const char* failure = FindUninstallIni(timed.platform.files);
    FillComponentList(timed.platform, list);
    const double total = NowMs() - start;
    if (failure != nullptr) {
      std::fprintf(stderr, "start-up: %s\n", failure);
      return 1;
    }
    listed = list.items.size();
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

}  // namespace

int SimulatedMachineFigures(plat::FileSystem& disk, const std::string& dataDir, char sep,
                            const std::string& prefix) {
  return Startup(disk, dataDir, sep, prefix);
}

}  // namespace bench
