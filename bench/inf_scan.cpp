#include "bench/inf_scan.h"

#include <memory>

#include "platform/profile_reader.h"

namespace bench {

ScanResult ScanInfFolder(plat::FileSystem& files, const ScanQuery& query,
                         const std::function<void(const std::string& path)>& open,
                         const Lookup& lookup) {
  ScanResult result;
  const std::string key = "\"" + query.printer + "\"";
  const std::string amd64 = query.section + ".NTamd64";
  plat::FindHandle search = 0;
  plat::FindData found;
  if (files.FindFirst((query.folder + "*.inf").c_str(), &search, &found) != win::kSuccess) {
    return result;
  }
  std::string path;
  do {
    path = query.folder + found.name;
    ++result.files;
    open(path);
    char value[200];
    if (lookup(path, query.section.c_str(), key.c_str(), value, sizeof value) > 0 ||
        lookup(path, amd64.c_str(), key.c_str(), value, sizeof value) > 0) {
      ++result.matches;
    }
  } while (files.FindNext(search, &found) == win::kSuccess);
  files.FindClose(search);
  return result;
}

ScanResult ScanWithProfileReader(plat::FileSystem& files, const ScanQuery& query) {
  std::unique_ptr<plat::ProfileFile> file;
  return ScanInfFolder(
      files, query,
      [&](const std::string& path) {
        file.reset();  // one file in memory at a time, as in the removal
        file = std::make_unique<plat::ProfileFile>(files, path.c_str());
      },
      [&](const std::string&, const char* section, const char* key, char* out, uint32_t size) {
        return file->GetString(section, key, "", out, size);
      });
}

}  // namespace bench
