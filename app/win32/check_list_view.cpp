#include "app/win32/check_list_view.h"

#include <commctrl.h>

#include <vector>

namespace {

constexpr UINT kUncheckedImage = 1;
constexpr UINT kCheckedImage = 2;
// Item texts longer than this are not expected; the limit only bounds the buffer.
constexpr size_t kMaxItemText = 32768;

}  // namespace

int CheckListView::ItemCount() const {
  return static_cast<int>(SendMessageA(control_, LVM_GETITEMCOUNT, 0, 0));
}

void CheckListView::InsertItem(int index, const char* text) {
  LVITEMA item = {};
  item.mask = LVIF_TEXT;
  item.iItem = index;
  item.pszText = const_cast<char*>(text);
  SendMessageA(control_, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
}

std::string CheckListView::ItemText(int index) const {
  // The control copies at most size - 1 characters: grow until the text fits.
  for (size_t size = 256;; size *= 2) {
    std::vector<char> buffer(size, '\0');
    LVITEMA item = {};
    item.iSubItem = 0;
    item.pszText = buffer.data();
    item.cchTextMax = static_cast<int>(size);
    const LRESULT copied =
        SendMessageA(control_, LVM_GETITEMTEXTA, index, reinterpret_cast<LPARAM>(&item));
    if (copied < 0) return std::string();
    if (static_cast<size_t>(copied) < size - 1 || size >= kMaxItemText) {
      return std::string(buffer.data());
    }
  }
}

bool CheckListView::IsChecked(int index) const {
  const LRESULT state = SendMessageA(control_, LVM_GETITEMSTATE, index, LVIS_STATEIMAGEMASK);
  return ((static_cast<UINT>(state) & LVIS_STATEIMAGEMASK) >> 12) == kCheckedImage;
}

void CheckListView::SetChecked(int index, bool checked) {
  LVITEMA item = {};
  item.stateMask = LVIS_STATEIMAGEMASK;
  item.state = INDEXTOSTATEIMAGEMASK(checked ? kCheckedImage : kUncheckedImage);
  SendMessageA(control_, LVM_SETITEMSTATE, index, reinterpret_cast<LPARAM>(&item));
}

void CheckListView::DeleteItem(int index) { SendMessageA(control_, LVM_DELETEITEM, index, 0); }

void CheckListView::AddExtendedStyle(uint32_t style) {
  const uint32_t current = ExtendedStyle();
  SendMessageA(control_, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, current | style);
}

uint32_t CheckListView::ExtendedStyle() const {
  return static_cast<uint32_t>(SendMessageA(control_, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0));
}
