#include "engine/dll_file_path.h"

#include <cstring>

bool NamesDllFile(const char* value) {
  if (value[0] == '\0' || value[0] == '0') return false;
  return std::strpbrk(value, "\\/:") == nullptr && std::strstr(value, "..") == nullptr;
}

bool JoinDllPath(const std::string& directory, const char* file, std::string* path) {
  if (directory.empty()) return false;
  const size_t length = directory.size() + 1 + std::strlen(file);
  if (length >= kDllPathSize) return false;
  *path = directory + "\\" + file;
  return true;
}
