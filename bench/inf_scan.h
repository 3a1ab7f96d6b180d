// The INF clean-up's lookups in one USB printer's removal: every *.inf file of
// the folder is read once and asked for the printer's quoted model name in the
// manufacturer section, then in its ".NTamd64" section when the first has none.
#pragma once
#include <cstdint>
#include <functional>
#include <string>

#include "platform/files.h"

namespace bench {

struct ScanResult {
  int files = 0;
  int matches = 0;  // files that list the model
};

// What one INF file is asked; `folder` ends with its separator.
struct ScanQuery {
  std::string folder;
  std::string section;  // the MANUFACTURER value
  std::string printer;  // pPrinterName, without quotes
};

// lookup(path, section, key, out, 200) is one profile lookup with default "";
// it returns the count stored.
using Lookup = std::function<uint32_t(const std::string& path, const char* section, const char* key,
                                      char* out, uint32_t size)>;

// Lists folder + "*.inf" through files and runs the two lookups on each file.
// `open(path)` is called once per file before its lookups (our reader loads the
// file there; the Windows reader has nothing to do).
ScanResult ScanInfFolder(plat::FileSystem& files, const ScanQuery& query,
                         const std::function<void(const std::string& path)>& open,
                         const Lookup& lookup);

// The same scan with our reader: one ProfileFile per file.
ScanResult ScanWithProfileReader(plat::FileSystem& files, const ScanQuery& query);

}  // namespace bench
