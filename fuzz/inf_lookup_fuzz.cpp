// The INF lookup on any INF file and any manufacturer and model: true exactly when
// the model key has a non-empty value in the manufacturer's section or in its
// 64-bit section, the manufacturer read from Uninstall.ini (cut to 29
// characters; "QORVELIN" when present but empty; "0" when missing).
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "config/uninstall_ini.h"
#include "engine/printer_removal.h"
#include "fuzz/reference_profile.h"
#include "fuzz/require.h"
#include "tests/support/memory_files.h"

namespace {

constexpr const char* kConfigPath = "C:\\pkg\\Uninstall.ini";
constexpr const char* kInfPath = "C:\\Windows\\inf\\oem7.inf";

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 16384) return 0;
  FuzzedDataProvider input(data, size);
  const int configShape = input.ConsumeIntegralInRange(0, 2);
  std::string manufacturer = input.ConsumeRandomLengthString(40);
  std::string model = input.ConsumeRandomLengthString(80);
  const std::string infBytes = input.ConsumeRemainingBytesAsString();
  const std::string inf = fuzz::NarrowText(infBytes);
  manufacturer = manufacturer.substr(0, manufacturer.find_first_of(std::string("\r\n\0", 3)));
  model = model.substr(0, model.find('\0'));

  // The configuration with the manufacturer, with an empty one, or without the key.
  std::string config = "[ZTPRINTER]\r\nPRINTERNUM=1\r\n";
  if (configShape == 0) config += "MANUFACTURER=" + manufacturer + "\r\n";
  if (configShape == 1) config += "MANUFACTURER=\r\n";
  MemoryFiles files;
  files.AddFile(kConfigPath, config);
  files.AddFile(kInfPath, infBytes);
  std::memcpy(g_szUninstallIni, kConfigPath, std::strlen(kConfigPath) + 1);

  const std::string modelKey = "\"" + model + "\"";
  std::string section =
      fuzz::ReferenceLookup(config, "ZTPRINTER", "MANUFACTURER", "0", kConfigValueSize);
  if (section.empty()) section = "QORVELIN";
  const bool expected =
      !fuzz::ReferenceLookup(inf, section, modelKey, "", 200).empty() ||
      !fuzz::ReferenceLookup(inf, section + ".NTamd64", modelKey, "", 200).empty();
  Require(InfHasModel(files, kInfPath, modelKey.c_str()) == expected);

  // The model as the INF's own keys spell them: each key of the file is tried.
  size_t pos = 0;
  for (int tried = 0; tried < 8 && pos < inf.size(); ++tried) {
    size_t stop = inf.find_first_of("\r\n", pos);
    if (stop == std::string::npos) stop = inf.size();
    const std::string line = inf.substr(pos, stop - pos);
    pos = stop + 1;
    std::string key = line.substr(0, line.find('='));
    key = key.substr(0, key.find('\0'));
    const bool found = !fuzz::ReferenceLookup(inf, section, key, "", 200).empty() ||
                       !fuzz::ReferenceLookup(inf, section + ".NTamd64", key, "", 200).empty();
    Require(InfHasModel(files, kInfPath, key.c_str()) == found);
  }
  return 0;
}
