// Files and directories (kernel32, ANSI). Relative paths are taken relative to the
// process's current directory. Under WOW64 the System32 folder of the Windows
// directory is redirected unless redirection is switched off for the thread.
#pragma once
#include <cstdint>
#include <string>

#include "platform/win_types.h"

namespace plat {

using FindHandle = uintptr_t;  // 0: no search

struct FindData {
  std::string name;  // cFileName: the entry's name without folder
  uint32_t attributes = 0;
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // GetCurrentDirectoryA / GetWindowsDirectoryA / GetSystemDirectoryA. The full
  // text is returned; callers apply their own buffer limits.
  virtual win::Error CurrentDirectory(std::string* directory) = 0;
  virtual win::Error WindowsDirectory(std::string* directory) = 0;
  virtual win::Error SystemDirectory(std::string* directory) = 0;

  // FindFirstFileA: kFileNotFound (or kPathNotFound) when nothing matches.
  virtual win::Error FindFirst(const char* pattern, FindHandle* search, FindData* data) = 0;
  // FindNextFileA: kNoMoreFiles at the end.
  virtual win::Error FindNext(FindHandle search, FindData* data) = 0;
  virtual void FindClose(FindHandle search) = 0;

  virtual win::Error SetAttributes(const char* path, uint32_t attributes) = 0;
  virtual win::Error DeleteFileAt(const char* path) = 0;

  // The whole content of a file, replacing *bytes (its capacity is reused). A
  // folder or a missing file is an error and leaves *bytes empty.
  virtual win::Error ReadWholeFile(const char* path, std::string* bytes) = 0;
};

}  // namespace plat
