// The registry below HKEY_LOCAL_MACHINE, as far as key deletion goes.
#include "platform/sim/sim_state.h"

namespace sim::detail {

win::Error SimRegistry::DeleteLocalMachineKey(const char* subkey) {
  Lock lock(s_.mutex);
  const std::string text = ArgText(subkey);
  win::Error error = s_.Injected("RegDeleteKeyA", text);
  // The path is taken as given: a stray backslash names no key.
  const std::string key = Lower(subkey ? subkey : "");
  if (!error && (key.empty() || !s_.keys.count(key))) {
    error = key.empty() ? win::kAccessDenied : win::kFileNotFound;
  }
  if (!error) {
    auto below = s_.keys.lower_bound(key + "\\");
    if (below != s_.keys.end() && below->compare(0, key.size() + 1, key + "\\") == 0)
      error = win::kAccessDenied;  // RegDeleteKey never deletes a key with subkeys
  }
  s_.Record("RegDeleteKeyA", text, error);
  s_.RecordDeletion(SimState::MakeDeletion("RegDeleteKeyA", text, error));
  if (error) return error;
  s_.keys.erase(key);
  return win::kSuccess;
}

}  // namespace sim::detail
