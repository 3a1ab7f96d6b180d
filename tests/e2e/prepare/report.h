// One line per step of the preparation, and the failure with its error code.
#pragma once

#include <windows.h>

#include <cstdio>

namespace prepare {

inline bool Done(const char* what, const char* name) {
  std::printf("prepared %s %s\n", what, name);
  return true;
}

inline bool Failed(const char* what, const char* name, DWORD error) {
  std::printf("FAILED %s %s: error %lu\n", what, name, static_cast<unsigned long>(error));
  return false;
}

}  // namespace prepare
