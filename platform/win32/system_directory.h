// Reading the directory texts kernel32 hands out (current, Windows, system).
#pragma once
#include <string>
#include <vector>

#include "platform/win32/call_support.h"
#include "platform/win_types.h"

namespace win32 {

// call(buffer, size) is one GetXxxDirectoryA call: it returns the length of the
// text stored, the size it needs (terminator included) when the buffer is too
// small, or 0 on failure. The buffer grows until the whole text fits.
template <typename Call>
win::Error ReadDirectoryText(Call call, std::string* directory) {
  directory->clear();
  std::vector<char> buffer(MAX_PATH + 1, '\0');
  // The text may change between two calls (the current directory); a few
  // rounds are enough for any real change.
  for (int attempt = 0; attempt < 4; ++attempt) {
    const DWORD length = call(buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) return FailureCode();
    if (length < buffer.size()) {
      directory->assign(buffer.data(), length);
      return win::kSuccess;
    }
    buffer.assign(size_t{length} + 1, '\0');
  }
  return win::kInsufficientBuffer;
}

inline win::Error ReadSystemDirectory(std::string* directory) {
  return ReadDirectoryText(
      [](char* buffer, DWORD size) { return ::GetSystemDirectoryA(buffer, size); }, directory);
}

}  // namespace win32
