// Files and directories on kernel32's ANSI entries.
#pragma once
#include "platform/files.h"

namespace win32 {

class Win32FileSystem final : public plat::FileSystem {
 public:
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
};

}  // namespace win32
