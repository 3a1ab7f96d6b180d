// The file system of the host, for running the core's file readers on real
// files: POSIX paths as given, searches by a shell pattern on the last path
// element compared without regard to case (as Windows does). Only what the
// benchmarks use does real work; attribute changes succeed without effect.
#pragma once
#include <string>
#include <utility>

#include "platform/files.h"

namespace bench {

class PosixFiles final : public plat::FileSystem {
 public:
  // windowsDirectory stands for the Windows folder (its system folder is
  // windowsDirectory + "/system32").
  explicit PosixFiles(std::string windowsDirectory = "/") : windows_(std::move(windowsDirectory)) {}

  win::Error CurrentDirectory(std::string* directory) override;
  win::Error WindowsDirectory(std::string* directory) override;
  win::Error SystemDirectory(std::string* directory) override;
  win::Error FindFirst(const char* pattern, plat::FindHandle* search,
                       plat::FindData* data) override;
  win::Error FindNext(plat::FindHandle search, plat::FindData* data) override;
  void FindClose(plat::FindHandle search) override;
  win::Error SetAttributes(const char* path, uint32_t attributes) override;
  win::Error DeleteFileAt(const char* path) override;
  win::Error ReadWholeFile(const char* path, std::string* bytes) override;

 private:
  std::string windows_;
};

}  // namespace bench
