// What the generator wrote into expect.txt: the query of the INF scan and the
// results every reader must agree on before its time counts.
#pragma once
#include <fstream>
#include <map>
#include <string>

namespace bench {

struct Expectations {
  std::string section;  // the MANUFACTURER value
  std::string printer;  // the printer being removed
  int matches = 0;      // INF files that list it
  int files = 0;        // INF files in the folder
  double bytes = 0;     // their size in all
};

// Reads dataDir + "expect.txt" (lines key=value); false when it is missing.
inline bool ReadExpectations(const std::string& dataDir, Expectations* out) {
  std::ifstream in(dataDir + "expect.txt");
  if (!in) return false;
  std::map<std::string, std::string> values;
  std::string line;
  while (std::getline(in, line)) {
    const size_t equals = line.find('=');
    if (equals != std::string::npos) values[line.substr(0, equals)] = line.substr(equals + 1);
  }
  out->section = values["section"];
  out->printer = values["printer"];
  out->matches = std::stoi(values["matches"]);
  out->files = std::stoi(values["files"]);
  out->bytes = std::stod(values["bytes"]);
  return true;
}

}  // namespace bench
