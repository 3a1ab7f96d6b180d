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

#include "bench/expectations.h"
#include "bench/inf_scan.h"
#include "bench/timing.h"
#include "platform/win32/win32_files.h"

namespace {

constexpr int kScanRuns = 5;

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
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) continue;
    ++result.files;
    LARGE_INTEGER size;
    if (GetFileSizeEx(file, &size) && static_cast<size_t>(size.QuadPart) > buffer.size()) {
      buffer.resize(static_cast<size_t>(size.QuadPart));
    }
    DWORD read = 0;
    if (!buffer.empty()) {
      ReadFile(file, buffer.data(), static_cast<DWORD>(buffer.size()), &read, nullptr);
    }
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
  win32::Win32FileSystem files;
  const bench::ScanQuery query{data + "inf\\", expect.section, expect.printer};

  bench::ScanResult ours, system, floor;
  const double oursMs =
      bench::MedianMs(kScanRuns, [&] { ours = bench::ScanWithProfileReader(files, query); });
  const double systemMs = bench::MedianMs(kScanRuns, [&] {
    system = bench::ScanInfFolder(
        files, query, [](const std::string&) {}, SystemLookup);
  });
  std::vector<char> buffer;
  const double floorMs = bench::MedianMs(kScanRuns, [&] {
    floor = ReadEveryByte(files, query.folder, buffer);
    floor.matches = -1;
  });
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
  return failures == 0 ? 0 : 1;
}
