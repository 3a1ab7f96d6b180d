// The generator's large machine on the simulated Windows machine: its printers,
// port monitors and print processors, the vendor's package as the current
// directory C:\pkg, and on request the INF folder as C:\Windows\inf.
#pragma once
#include <string>

#include "platform/files.h"
#include "platform/sim/sim_machine.h"

namespace bench {

struct LargeMachineCounts {
  int printers = 0, monitors = 0, processors = 0, infFiles = 0;
};

// dataDir ends with the host's separator (sep); disk lists and reads the host's
// files. False (with *error) when a file of the generator is missing.
bool LoadLargeMachine(plat::FileSystem& disk, const std::string& dataDir, char sep,
                      bool withInfFolder, sim::Machine* machine, LargeMachineCounts* counts,
                      std::string* error);

}  // namespace bench
