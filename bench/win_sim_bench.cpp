// The benchmarks on the simulated large machine, built for Windows and run under
// Wine: the same start-up and run as on the host, compiled by MinGW and running
// on Wine's C runtime and heap.
//
// Usage: win_sim_bench DATA_DIR (the generator's output folder as a Windows path).
#include <cstdio>
#include <string>

#include "bench/sim_figures.h"
#include "platform/win32/win32_files.h"

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s DATA_DIR\n", argv[0]);
    return 2;
  }
  std::string data = argv[1];
  if (data.back() != '\\') data += '\\';
  win32::Win32FileSystem disk;
  return bench::SimulatedMachineFigures(disk, data, '\\', "wine_") == 0 ? 0 : 1;
}
