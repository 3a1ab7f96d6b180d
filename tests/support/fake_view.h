// A fake of the main dialog for host tests: the component list, the progress log
// and the controls, with a record of every request in order.
#pragma once
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "engine/uninstall_view.h"
#include "platform/win_types.h"

class FakeView : public UninstallView {
 public:
  struct Item {
    std::string text;
    bool checked = false;
  };
  std::vector<Item> items;
  std::vector<std::string> log;
  int selectedLine = -1;
  int extent = 0;
  std::map<int, bool> enabled;      // control id -> enabled (absent: enabled)
  std::vector<std::string> events;  // "enable 1002 0", "select 3", "prompt", ...
  bool usbChecked = false;
  int promptAnswer = win::kIdCancel;
  int promptsShown = 0;
  bool runWorkerAtOnce = true;  // StartWorker runs the body before returning
  std::vector<std::function<void()>> pendingWorkers;
  std::function<void()> onCheckRead;  // told of every IsItemChecked, before it answers
  // Width of a text in the dialog's context: 7 pixels per character.
  int pixelsPerChar = 7;

  void AddItems(const std::vector<std::string>& texts, bool checked) {
    for (const auto& t : texts) items.push_back({t, checked});
  }
  bool IsEnabled(int id) const {
    auto it = enabled.find(id);
    return it == enabled.end() || it->second;
  }
  std::vector<std::string> ItemTexts() const {
    std::vector<std::string> out;
    for (const auto& i : items) out.push_back(i.text);
    return out;
  }

  // ComponentList
  int ItemCount() override { return static_cast<int>(items.size()); }
  void InsertItem(int index, const char* text) override {
    if (index < 0 || index > ItemCount()) index = ItemCount();
    items.insert(items.begin() + index, Item{text, false});
  }
  std::string ItemText(int index) override {
    return InRange(index) ? items[static_cast<size_t>(index)].text : std::string();
  }
  bool IsItemChecked(int index) override {
    if (onCheckRead) onCheckRead();
    return InRange(index) && items[static_cast<size_t>(index)].checked;
  }
  void SetItemChecked(int index, bool checked) override {
    if (InRange(index)) items[static_cast<size_t>(index)].checked = checked;
  }
  void DeleteItem(int index) override {
    if (InRange(index)) items.erase(items.begin() + index);
    events.push_back("delete " + std::to_string(index));
  }

  // Progress log
  void LogAddString(const char* line) override { log.emplace_back(line); }
  int LogCount() override { return static_cast<int>(log.size()); }
  void LogSelect(int index) override { selectedLine = index; }
  std::string LogText(int index) override {
    return index >= 0 && index < LogCount() ? log[static_cast<size_t>(index)] : std::string();
  }
  int LogHorizontalExtent() override { return extent; }
  void LogSetHorizontalExtent(int value) override { extent = value; }
  std::unique_ptr<TextMeasure> OpenDialogMeasure() override {
    struct Measure : TextMeasure {
      explicit Measure(FakeView* v) : view(v) { view->events.push_back("getdc"); }
      ~Measure() override { view->events.push_back("releasedc"); }
      int Width(const char*, size_t length) override {
        return static_cast<int>(length) * view->pixelsPerChar;
      }
      FakeView* view;
    };
    return std::make_unique<Measure>(this);
  }

  // Controls
  void EnableControl(int id, bool enable) override {
    enabled[id] = enable;
    events.push_back("enable " + std::to_string(id) + " " + (enable ? "1" : "0"));
  }
  bool IsUsbBoxChecked() override { return usbChecked; }
  int ShowRestartPrompt() override {
    ++promptsShown;
    events.push_back("prompt");
    return promptAnswer;
  }
  bool StartWorker(std::function<void()> body) override {
    events.push_back("start worker");
    if (runWorkerAtOnce)
      body();
    else
      pendingWorkers.push_back(std::move(body));
    return true;
  }

 private:
  bool InRange(int index) const { return index >= 0 && index < static_cast<int>(items.size()); }
};
