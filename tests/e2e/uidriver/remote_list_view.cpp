#include "remote_list_view.h"

#include <commctrl.h>

namespace uidriver {
namespace {

constexpr int kTextCapacity = 512;  // characters of one item text
constexpr UINT kCheckedImage = 2;   // state image 1 is the empty box, 2 the checked one
constexpr UINT kTimeoutMs = 5000;

LRESULT Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  DWORD_PTR result = 0;
  if (!::SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, kTimeoutMs,
                             &result))
    return -1;
  return static_cast<LRESULT>(result);
}

}  // namespace

RemoteListView::RemoteListView(HWND listView) : listView_(listView) {
  DWORD processId = 0;
  ::GetWindowThreadProcessId(listView, &processId);
  process_ = e2e::KernelHandle(::OpenProcess(
      PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE | PROCESS_QUERY_INFORMATION, FALSE,
      processId));
}

std::wstring RemoteListView::ItemText(int index) {
  const SIZE_T textBytes = kTextCapacity * sizeof(wchar_t);
  e2e::RemoteMemory memory(process_.get(), sizeof(LVITEMW) + textBytes);
  if (memory.get() == nullptr) return std::wstring();
  auto* remoteItem = static_cast<BYTE*>(memory.get());
  auto* remoteText = reinterpret_cast<wchar_t*>(remoteItem + sizeof(LVITEMW));

  LVITEMW item{};
  item.mask = LVIF_TEXT;
  item.iItem = index;
  item.pszText = remoteText;
  item.cchTextMax = kTextCapacity;
  SIZE_T moved = 0;
  if (!::WriteProcessMemory(process_.get(), remoteItem, &item, sizeof item, &moved))
    return std::wstring();
  const LRESULT length = Send(listView_, LVM_GETITEMTEXTW, static_cast<WPARAM>(index),
                              reinterpret_cast<LPARAM>(remoteItem));
  if (length <= 0) return std::wstring();
  std::wstring text(kTextCapacity, L'\0');
  if (!::ReadProcessMemory(process_.get(), remoteText, text.data(), textBytes, &moved))
    return std::wstring();
  text.resize(static_cast<size_t>(length < kTextCapacity ? length : kTextCapacity - 1));
  return text;
}

std::vector<ListItem> RemoteListView::Items() {
  std::vector<ListItem> items;
  const LRESULT count = Send(listView_, LVM_GETITEMCOUNT, 0, 0);
  for (int i = 0; i < count; ++i) {
    const LRESULT state =
        Send(listView_, LVM_GETITEMSTATE, static_cast<WPARAM>(i), LVIS_STATEIMAGEMASK);
    const bool checked = state != -1 && ((static_cast<UINT>(state) >> 12) == kCheckedImage);
    items.push_back({ItemText(i), checked});
  }
  return items;
}

bool RemoteListView::SetChecked(int index, bool checked) {
  e2e::RemoteMemory memory(process_.get(), sizeof(LVITEMW));
  if (memory.get() == nullptr) return false;
  LVITEMW item{};
  item.stateMask = LVIS_STATEIMAGEMASK;
  item.state = INDEXTOSTATEIMAGEMASK(checked ? kCheckedImage : 1);
  SIZE_T written = 0;
  if (!::WriteProcessMemory(process_.get(), memory.get(), &item, sizeof item, &written))
    return false;
  return Send(listView_, LVM_SETITEMSTATE, static_cast<WPARAM>(index),
              reinterpret_cast<LPARAM>(memory.get())) == TRUE;
}

}  // namespace uidriver
