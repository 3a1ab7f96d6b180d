#include "app/win32/list_box.h"

#include <vector>

void ListBox::AddString(const char* line) {
  SendMessageA(control_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line));
}

int ListBox::Count() const { return static_cast<int>(SendMessageA(control_, LB_GETCOUNT, 0, 0)); }

void ListBox::SetCurSel(int index) { SendMessageA(control_, LB_SETCURSEL, index, 0); }

std::string ListBox::Text(int index) const {
  const LRESULT length = SendMessageA(control_, LB_GETTEXTLEN, index, 0);
  if (length == LB_ERR) return std::string();
  std::vector<char> buffer(static_cast<size_t>(length) + 1, '\0');
  const LRESULT copied =
      SendMessageA(control_, LB_GETTEXT, index, reinterpret_cast<LPARAM>(buffer.data()));
  if (copied == LB_ERR) return std::string();
  return std::string(buffer.data());
}

int ListBox::HorizontalExtent() const {
  return static_cast<int>(SendMessageA(control_, LB_GETHORIZONTALEXTENT, 0, 0));
}

void ListBox::SetHorizontalExtent(int extent) {
  SendMessageA(control_, LB_SETHORIZONTALEXTENT, extent, 0);
}
