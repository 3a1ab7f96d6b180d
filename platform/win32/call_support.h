// Small helpers shared by the backend's calls into the ANSI API.
#pragma once
#include <cstring>
#include <vector>

#include "platform/win32/windows_api.h"
#include "platform/win_types.h"

namespace win32 {

// The error of the call that has just failed, read before anything else can
// change it. A failing call that left no code still counts as a failure.
inline win::Error FailureCode() {
  DWORD error = ::GetLastError();
  return error != ERROR_SUCCESS ? error : ERROR_GEN_FAILURE;
}

// Several spooler calls take LPSTR for text they only read. This is a writable
// copy of such a text; a null text stays null.
class WritableText {
 public:
  explicit WritableText(const char* text) : isNull_(text == nullptr) {
    if (text != nullptr) chars_.assign(text, text + std::strlen(text) + 1);
  }
  char* get() { return isNull_ ? nullptr : chars_.data(); }

 private:
  std::vector<char> chars_;
  bool isNull_;
};

// Converts between the untyped address GetProcAddress gives and the entry's real
// signature. The bytes are copied because C++ does not allow a direct cast
// between unrelated function pointer types without a warning.
template <typename Function, typename Address>
Function AddressAs(Address address) {
  static_assert(sizeof(Function) == sizeof(Address), "an entry address is one pointer");
  Function function;
  std::memcpy(&function, &address, sizeof function);
  return function;
}

// The named entry of module with the given signature; null when it is missing.
template <typename Function>
Function FindEntry(HMODULE module, const char* name) {
  if (module == nullptr) return nullptr;
  return AddressAs<Function>(::GetProcAddress(module, name));
}

}  // namespace win32
