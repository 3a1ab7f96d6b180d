// A list view with check boxes in another process. Item texts and state changes
// need an LVITEM (and its text buffer) inside that process: they are placed
// there with VirtualAllocEx and read back with ReadProcessMemory.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "../common/win_handles.h"

namespace uidriver {

struct ListItem {
  std::wstring text;
  bool checked;
};

class RemoteListView {
 public:
  explicit RemoteListView(HWND listView);

  bool ok() const { return static_cast<bool>(process_); }
  std::vector<ListItem> Items();
  bool SetChecked(int index, bool checked);

 private:
  std::wstring ItemText(int index);

  HWND listView_;
  e2e::KernelHandle process_;
};

}  // namespace uidriver
