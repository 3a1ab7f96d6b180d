#include "paths.h"

#include <windows.h>
#include <winspool.h>

namespace prepare {

std::string SystemFolder() {
  char path[MAX_PATH] = {};
  const UINT length = ::GetSystemDirectoryA(path, MAX_PATH);
  return length > 0 && length < MAX_PATH ? std::string(path) : std::string();
}

std::string WindowsFolder() {
  char path[MAX_PATH] = {};
  const UINT length = ::GetWindowsDirectoryA(path, MAX_PATH);
  return length > 0 && length < MAX_PATH ? std::string(path) : std::string();
}

std::string ProcessorFolder() {
  char path[MAX_PATH] = {};
  DWORD needed = 0;
  if (!::GetPrintProcessorDirectoryA(nullptr, nullptr, 1, reinterpret_cast<BYTE*>(path),
                                     sizeof(path) - 1, &needed))
    return std::string();
  return path;
}

std::string OwnFolder() {
  char path[MAX_PATH] = {};
  const DWORD length = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return std::string();
  std::string folder(path, length);
  return folder.substr(0, folder.find_last_of('\\'));
}

}  // namespace prepare
