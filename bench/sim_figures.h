// The benchmarks on the simulated large machine, for the host program and for
// the same code built for Windows and run under Wine.
#pragma once
#include <string>

#include "platform/files.h"

namespace bench {

// Start-up (the dialog's initialisation up to the filled list) and a whole
// removal run. disk reads the generator's files under dataDir (which ends with
// sep). Figures are reported with names that start with prefix ("host_",
// "wine_"); the host's also under the names the goals use. Returns the number of
// failures.
int SimulatedMachineFigures(plat::FileSystem& disk, const std::string& dataDir, char sep,
                            const std::string& prefix);

}  // namespace bench
