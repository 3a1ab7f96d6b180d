// A list-view control used as a list of texts with check boxes (state image 1 =
// unchecked, 2 = checked). Every call is a synchronous message, so any thread may
// use it while the owning thread pumps messages.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

class CheckListView {
 public:
  explicit CheckListView(HWND control = nullptr) : control_(control) {}
  void Attach(HWND control) { control_ = control; }

  int ItemCount() const;
  void InsertItem(int index, const char* text);
  std::string ItemText(int index) const;
  bool IsChecked(int index) const;
  void SetChecked(int index, bool checked);
  void DeleteItem(int index);
  void AddExtendedStyle(uint32_t style);
  uint32_t ExtendedStyle() const;

 private:
  HWND control_;
};
