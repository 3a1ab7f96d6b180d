// The component list (control 1010) as the inventory and the removal run see it:
// entries that hold a text and a check state, in insertion order.
#pragma once
#include <string>

class ComponentList {
 public:
  virtual ~ComponentList() = default;
  virtual int ItemCount() = 0;
  // Inserts an unchecked text-only item at index.
  virtual void InsertItem(int index, const char* text) = 0;
  virtual std::string ItemText(int index) = 0;
  virtual bool IsItemChecked(int index) = 0;
  virtual void SetItemChecked(int index, bool checked) = 0;
  virtual void DeleteItem(int index) = 0;
};
