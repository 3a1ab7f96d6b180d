#include "bench/large_machine.h"

#include <fstream>
#include <sstream>
#include <vector>

namespace bench {
namespace {

std::vector<std::string> SplitTabs(const std::string& line) {
  std::vector<std::string> fields;
  std::stringstream in(line);
  std::string field;
  while (std::getline(in, field, '\t')) fields.push_back(field);
  return fields;
}

bool CopyFile(plat::FileSystem& disk, const std::string& from, const std::string& to,
              sim::Machine* machine, std::string* error) {
  std::string bytes;
  if (disk.ReadWholeFile(from.c_str(), &bytes) != win::kSuccess) {
    *error = "cannot read " + from;
    return false;
  }
  machine->AddFile(to, bytes);
  return true;
}

}  // namespace

bool LoadLargeMachine(plat::FileSystem& disk, const std::string& dataDir, char sep,
                      bool withInfFolder, sim::Machine* machine, LargeMachineCounts* counts,
                      std::string* error) {
  std::ifstream in(dataDir + "machine.txt");
  if (!in) {
    *error = "no " + dataDir + "machine.txt";
    return false;
  }
  std::string line;
  while (std::getline(in, line)) {
    const std::vector<std::string> f = SplitTabs(line);
    if (f.size() == 4 && f[0] == "printer") {
      sim::SimPrinter printer;
      printer.name = f[1];
      printer.port = f[2];
      printer.driver = f[3];
      machine->AddPrinter(printer);
      ++counts->printers;
    } else if (f.size() == 2 && f[0] == "monitor") {
      machine->AddMonitor(f[1]);
      ++counts->monitors;
    } else if (f.size() == 2 && f[0] == "processor") {
      machine->AddProcessor(f[1]);
      ++counts->processors;
    }
  }

  const std::string package = dataDir + "package" + sep;
  if (!CopyFile(disk, package + "Uninstall.ini", "C:\\pkg\\Uninstall.ini", machine, error) ||
      !CopyFile(disk, package + "language" + sep + "uninstall.ini",
                "C:\\pkg\\language\\uninstall.ini", machine, error) ||
      !CopyFile(disk, package + "DRVCONFIG" + sep + "setup.ini", "C:\\pkg\\DRVCONFIG\\setup.ini",
                machine, error)) {
    return false;
  }
  machine->AddDirectory("C:\\Windows\\inf");
  if (!withInfFolder) return true;

  const std::string inf = dataDir + "inf" + sep;
  plat::FindHandle search = 0;
  plat::FindData found;
  if (disk.FindFirst((inf + "*").c_str(), &search, &found) != win::kSuccess) {
    *error = "cannot list " + inf;
    return false;
  }
  bool ok = true;
  do {
    if (found.attributes & win::kFileAttributeDirectory) continue;
    ok = CopyFile(disk, inf + found.name, "C:\\Windows\\inf\\" + found.name, machine, error);
    if (found.name.size() > 4 && found.name.compare(found.name.size() - 4, 4, ".inf") == 0) {
      ++counts->infFiles;
    }
  } while (ok && disk.FindNext(search, &found) == win::kSuccess);
  disk.FindClose(search);
  return ok;
}

}  // namespace bench
