// Benchmarks of the core under Windows (here: Wine): the INF scan with our
// reader on the Windows backend's files against the system's own
// GetPrivateProfileStringA on the same files, and against reading every byte
// once with ReadFile.
//
// Usage: win_bench DATA_DIR (the generator's output folder as a Windows path).
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include <cstring>

#include "bench/expectations.h"
#include "bench/inf_scan.h"
#include "bench/timing.h"
#include "config/uninstall_ini.h"
#include "inventory/components.h"
#include "platform/win32/win32_platform.h"

namespace {

constexpr int kScanRuns = 5;
constexpr int kConfigRuns = 9;

uint32_t SystemLookup(const std::string& path, const char* section, const char* key, char* out,
                      uint32_t size) {
  return GetPrivateProfileStringA(section, key, "", out, size, path.c_str());
}

// The floor of any scan: the same listing, then every byte of every file read
// once with ReadFile into one reused buffer.
bench::ScanResult ReadEveryByte(plat::FileSystem& files, const std::string& folder,
                                std::vector<char>& buffer) {
  bench::ScanResult result;
  plat::FindHandle search = 0;
  plat::FindData found;
  if (files.FindFirst((folder + "*.inf").c_str(), &search, &found) != win::kSuccess) return result;
  std::string path;
  do {
    path = folder + found.name;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) continue;
    ++result.files;
    LARGE_INTEGER size{};
    GetFileSizeEx(file, &size);
    const DWORD wanted = static_cast<DWORD>(size.QuadPart);
    if (wanted > buffer.size()) buffer.resize(wanted);
    DWORD read = 0;
    if (wanted > 0) ReadFile(file, buffer.data(), wanted, &read, nullptr);
    CloseHandle(file);
  } while (files.FindNext(search, &found) == win::kSuccess);
  files.FindClose(search);
  return result;
}

bool Check(const char* what, const bench::ScanResult& got, const bench::Expectations& expect) {
  if (got.files == expect.files && (got.matches == expect.matches || got.matches < 0)) return true;
  std::fprintf(stderr, "%s: %d files, %d matches (expected %d, %d)\n", what, got.files, got.matches,
               expect.files, expect.matches);
  return false;
}

int InfScan(const std::string& data, const bench::Expectations& expect) {
  win32::Win32Platform windows;
  plat::FileSystem& files = windows.platform().files;
  const bench::ScanQuery query{data + "inf\\", expect.section, expect.printer};

  bench::ScanResult ours, system, floor;
  std::vector<char> buffer;
  const std::vector<double> ms = bench::MedianMsInterleaved(
      kScanRuns, {[&] { ours = bench::ScanWithProfileReader(files, query); },
                  [&] {
                    system = bench::ScanInfFolder(
                        files, query, [](const std::string&) {}, SystemLookup);
                  },
                  [&] {
                    floor = ReadEveryByte(files, query.folder, buffer);
                    floor.matches = -1;
                  }});
  const double oursMs = ms[0], systemMs = ms[1], floorMs = ms[2];
  if (!Check("our reader", ours, expect) || !Check("GetPrivateProfileStringA", system, expect) ||
      !Check("ReadFile", floor, expect)) {
    return 1;
  }
  std::printf(
      "Wine INF scan over %d files, %.1f MB: ours %.1f ms, GetPrivateProfileStringA %.1f ms,"
      " floor %.1f ms\n",
      ours.files, expect.bytes / 1e6, oursMs, systemMs, floorMs);
  bench::Report("wine_inf_scan_ms", oursMs, "ms");
  bench::Report("wine_inf_system_ms", systemMs, "ms");
  bench::Report("wine_inf_floor_ms", floorMs, "ms");
  bench::Report("inf_scan_speedup_vs_windows", systemMs / oursMs, "x");
  bench::Report("inf_scan_ratio_to_floor", oursMs / floorMs, "x");
  return 0;
}

// IsConfiguredMonitor's reads made through the system's reader: the count, then
// each name key, every one a GetPrivateProfileStringA call of its own.
bool SystemIsConfiguredMonitor(const char* monitorName) {
  char value[kConfigValueSize];
  GetPrivateProfileStringA("ZTMONITOR", "MonitorNUM", "0", value, sizeof value, g_szUninstallIni);
  const int count = ParseCount(value);
  char key[64];
  for (int n = 1; n <= count && NumberedKey("MONITORNAME", n, key, sizeof key); ++n) {
    GetPrivateProfileStringA("ZTMONITOR", key, "0", value, sizeof value, g_szUninstallIni);
    if (std::strstr(monitorName, value) != nullptr) return true;
  }
  return false;
}

// One IsConfiguredMonitor call for a monitor that is not the vendor's: the count
// and all 12 names are read (13 values).
int ConfigLookups(const std::string& data) {
  const std::string ini = data + "package\\Uninstall.ini";
  std::snprintf(g_szUninstallIni, sizeof g_szUninstallIni, "%s", ini.c_str());
  const char* const other = "Aldmere Port Monitor 7";
  const char* const vendors = "QV Port 12";
  win32::Win32Platform windows;
  plat::FileSystem& files = windows.platform().files;
  if (IsConfiguredMonitor(files, other) || !IsConfiguredMonitor(files, vendors) ||
      SystemIsConfiguredMonitor(other) || !SystemIsConfiguredMonitor(vendors)) {
    std::fprintf(stderr, "configuration lookups: wrong answers on %s\n", g_szUninstallIni);
    return 1;
  }
  constexpr int kCalls = 200;
  bool any = false;
  const std::vector<double> ms =
      bench::MedianMsInterleaved(kConfigRuns, {[&] {
                                                 for (int i = 0; i < kCalls; ++i)
                                                   any |= IsConfiguredMonitor(files, other);
                                               },
                                               [&] {
                                                 for (int i = 0; i < kCalls; ++i)
                                                   any |= SystemIsConfiguredMonitor(other);
                                               }});
  const double oursUs = ms[0] * 1000 / kCalls, systemUs = ms[1] * 1000 / kCalls;
  std::printf(
      "Wine IsConfiguredMonitor (13 values): ours %.1f us, GetPrivateProfileStringA %.1f us\n",
      oursUs, systemUs);
  bench::Report("wine_config_lookup_us", oursUs, "us");
  bench::Report("wine_config_system_us", systemUs, "us");
  bench::Report("config_lookup_speedup_vs_windows", systemUs / oursUs, "x");
  return any ? 1 : 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s DATA_DIR\n", argv[0]);
    return 2;
  }
  std::string data = argv[1];
  if (data.back() != '\\') data += '\\';
  bench::Expectations expect;
  if (!bench::ReadExpectations(data, &expect)) {
    std::fprintf(stderr, "no %sexpect.txt: run the generator first\n", data.c_str());
    return 2;
  }
  int failures = 0;
  failures += InfScan(data, expect);
  failures += ConfigLookups(data);
  return failures == 0 ? 0 : 1;
}
