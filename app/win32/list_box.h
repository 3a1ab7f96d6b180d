// A plain list box used as a line log. Every call is a synchronous message, so
// any thread may use it while the owning thread pumps messages.
#pragma once
#include <windows.h>

#include <string>

class ListBox {
 public:
  explicit ListBox(HWND control = nullptr) : control_(control) {}
  void Attach(HWND control) { control_ = control; }

  void AddString(const char* line);
  int Count() const;
  void SetCurSel(int index);
  std::string Text(int index) const;
  int HorizontalExtent() const;
  void SetHorizontalExtent(int extent);

 private:
  HWND control_;
};
