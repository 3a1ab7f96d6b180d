// Benchmarks of the core on the host: the INF scan with our reader over the
// host's files against reading every byte once; start-up and a whole run on the
// simulated large machine.
//
// Usage: host_bench DATA_DIR (the generator's output folder).
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "bench/expectations.h"
#include "bench/inf_scan.h"
#include "bench/posix_files.h"
#include "bench/sim_figures.h"
#include "bench/timing.h"

namespace {

constexpr int kScanRuns = 15;

// The floor of any scan: the same listing, then every byte of every file read
// once into one reused buffer.
bench::ScanResult ReadEveryByte(plat::FileSystem& files, const std::string& folder,
                                std::vector<char>& buffer) {
  bench::ScanResult result;
  plat::FindHandle search = 0;
  plat::FindData found;
  if (files.FindFirst((folder + "*.inf").c_str(), &search, &found) != win::kSuccess) return result;
  std::string path;
  do {
    path = folder + found.name;
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) continue;
    ++result.files;
    struct stat info;
    const size_t size = fstat(fd, &info) == 0 ? static_cast<size_t>(info.st_size) : 0;
    if (size > buffer.size()) buffer.resize(size);
    size_t done = 0;
    while (done < size) {
      const ssize_t got = read(fd, buffer.data() + done, size - done);
      if (got <= 0) break;
      done += static_cast<size_t>(got);
    }
    close(fd);
  } while (files.FindNext(search, &found) == win::kSuccess);
  files.FindClose(search);
  return result;
}

int InfScan(const std::string& data, const bench::Expectations& expect) {
  bench::PosixFiles files;
  const bench::ScanQuery query{data + "inf/", expect.section, expect.printer};

  bench::ScanResult ours, floor;
  std::vector<char> buffer;
  const std::vector<double> ms = bench::MedianMsInterleaved(
      kScanRuns, {[&] { ours = bench::ScanWithProfileReader(files, query); },
                  [&] { floor = ReadEveryByte(files, query.folder, buffer); }});
  const double oursMs = ms[0], floorMs = ms[1];
  if (ours.files != expect.files || ours.matches != expect.matches || floor.files != expect.files) {
    std::fprintf(stderr, "host INF scan: %d files, %d matches (expected %d, %d); floor %d files\n",
                 ours.files, ours.matches, expect.files, expect.matches, floor.files);
    return 1;
  }
  std::printf("host INF scan over %d files, %.1f MB: ours %.1f ms, floor %.1f ms\n", ours.files,
              expect.bytes / 1e6, oursMs, floorMs);
  bench::Report("host_inf_scan_ms", oursMs, "ms");
  bench::Report("host_inf_floor_ms", floorMs, "ms");
  bench::Report("host_inf_scan_ratio_to_floor", oursMs / floorMs, "x");
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s DATA_DIR\n", argv[0]);
    return 2;
  }
  std::string data = argv[1];
  if (data.back() != '/') data += '/';
  bench::Expectations expect;
  if (!bench::ReadExpectations(data, &expect)) {
    std::fprintf(stderr, "no %sexpect.txt: run the generator first\n", data.c_str());
    return 2;
  }
  int failures = 0;
  failures += InfScan(data, expect);
  bench::PosixFiles disk;
  failures += bench::SimulatedMachineFigures(disk, data, '/', "host_");
  return failures == 0 ? 0 : 1;
}
