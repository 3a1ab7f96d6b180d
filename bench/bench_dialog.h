// The main dialog in memory for the benchmarks on the simulated machine: the
// component list and the progress log as vectors, every other window request
// answered at once. Its own cost is what a real list control's would be at most.
#pragma once
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/dialog_host.h"
#include "platform/win_types.h"

namespace bench {

class BenchDialog final : public MainDialogHost {
 public:
  struct Item {
    std::string text;
    bool checked = false;
  };
  std::vector<Item> items;
  std::vector<std::string> log;
  int endResult = -1;  // EndDialog's result; -1 while the dialog runs

  // ComponentList
  int ItemCount() override { return static_cast<int>(items.size()); }
  void InsertItem(int index, const char* text) override {
    if (index < 0 || index > ItemCount()) index = ItemCount();
    items.insert(items.begin() + index, Item{text, false});
  }
  std::string ItemText(int index) override { return Has(index) ? At(index).text : std::string(); }
  bool IsItemChecked(int index) override { return Has(index) && At(index).checked; }
  void SetItemChecked(int index, bool checked) override {
    if (Has(index)) At(index).checked = checked;
  }
  void DeleteItem(int index) override {
    if (Has(index)) items.erase(items.begin() + index);
  }

  // UninstallView
  void LogAddString(const char* line) override { log.emplace_back(line); }
  int LogCount() override { return static_cast<int>(log.size()); }
  void LogSelect(int) override {}
  std::string LogText(int index) override {
    return index >= 0 && index < LogCount() ? log[static_cast<size_t>(index)] : std::string();
  }
  int LogHorizontalExtent() override { return extent_; }
  void LogSetHorizontalExtent(int extent) override { extent_ = extent; }
  std::unique_ptr<TextMeasure> OpenDialogMeasure() override {
    struct Measure final : TextMeasure {
      int Width(const char*, size_t length) override { return static_cast<int>(length) * 7; }
    };
    return std::make_unique<Measure>();
  }
  void EnableControl(int, bool) override {}
  bool IsUsbBoxChecked() override { return false; }
  int ShowRestartPrompt() override { return win::kIdCancel; }
  // The run is started by the benchmark itself, on its own thread.
  bool StartWorker(std::function<void()>) override { return false; }

  // DialogHost
  void ApplyChineseFont(ChineseFont) override {}
  void SetItemText(int, const std::string&) override {}
  void SetCaption(const std::string&) override {}
  int ShowOwnedMessageBox(const char*) override { return win::kIdOk; }
  void EndDialog(int result) override { endResult = result; }

  // MainDialogHost
  bool HasSystemMenu() override { return true; }
  void AppendAboutMenuItem(const std::string&) override {}
  void SetDialogIcons() override {}
  void AddComponentListExtendedStyle(uint32_t) override {}
  void ShowAboutBox() override {}

  void CheckAll() {
    for (Item& item : items) item.checked = true;
  }

 private:
  bool Has(int index) const { return index >= 0 && index < static_cast<int>(items.size()); }
  Item& At(int index) { return items[static_cast<size_t>(index)]; }

  int extent_ = 0;
};

}  // namespace bench
