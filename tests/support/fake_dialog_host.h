// Fakes of the dialogs' windows for host tests. Every request is recorded in
// `trace`, in order; with a machine attached, the platform calls made between two
// requests are merged into the trace ("sys " + journal entry) where they happened.
#pragma once
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "app/dialog_host.h"
#include "platform/sim/sim_machine.h"
#include "tests/support/fake_view.h"

inline const char* FontName(ChineseFont font) {
  switch (font) {
    case ChineseFont::kCreateGlobal:
      return "create-global";
    case ChineseFont::kCreateOwn:
      return "create-own";
    case ChineseFont::kApplyGlobal:
      return "apply-global";
  }
  return "?";
}

// The DialogHost part, shared by the plain dialogs and the main dialog.
template <class Host>
class DialogRecorder : public Host {
 public:
  const sim::Machine* machine = nullptr;  // its journal is merged into the trace
  std::vector<std::string> trace;
  std::vector<ChineseFont> fonts;
  std::map<int, std::string> itemTexts;
  std::string caption;
  bool captionSet = false;
  std::vector<std::string> ownedMessageBoxes;
  std::vector<int> endResults;

  void ApplyChineseFont(ChineseFont font) override {
    Note(std::string("font ") + FontName(font));
    fonts.push_back(font);
  }
  void SetItemText(int id, const std::string& text) override {
    Note("text " + std::to_string(id) + " " + text);
    itemTexts[id] = text;
  }
  void SetCaption(const std::string& text) override {
    Note("caption " + text);
    caption = text;
    captionSet = true;
  }
  int ShowOwnedMessageBox(const char* text) override {
    Note(std::string("msgbox ") + text);
    ownedMessageBoxes.emplace_back(text);
    return win::kIdOk;
  }
  void EndDialog(int result) override {
    Note("end " + std::to_string(result));
    endResults.push_back(result);
  }

  // Brings the platform calls made since the last request into the trace.
  void SyncJournal() {
    if (machine == nullptr) return;
    const std::vector<std::string>& journal = machine->Journal();
    if (journal.size() < journalSeen_) journalSeen_ = 0;  // the journal was cleared
    for (; journalSeen_ < journal.size(); ++journalSeen_)
      trace.push_back("sys " + journal[journalSeen_]);
  }

 protected:
  void Note(const std::string& event) {
    SyncJournal();
    trace.push_back(event);
  }

 private:
  size_t journalSeen_ = 0;
};

using FakeDialogHost = DialogRecorder<DialogHost>;

// The main dialog: FakeView's list, log and controls seen through the
// MainDialogHost interface. Use host() where the dialog is expected.
class FakeMainHost : public FakeView, public DialogRecorder<MainDialogHost> {
 public:
  bool hasSystemMenu = true;
  std::vector<std::string> aboutMenuItems;
  int iconsSet = 0;
  uint32_t extendedStyle = 0;  // nothing at creation
  int aboutBoxesShown = 0;

  MainDialogHost& host() { return *this; }
  FakeView& view() { return *this; }

  bool HasSystemMenu() override { return hasSystemMenu; }
  void AppendAboutMenuItem(const std::string& text) override {
    Note("about-item " + text);
    aboutMenuItems.push_back(text);
  }
  void SetDialogIcons() override {
    Note("icons");
    ++iconsSet;
  }
  void AddComponentListExtendedStyle(uint32_t style) override {
    Note("exstyle " + std::to_string(style));
    extendedStyle |= style;
  }
  void ShowAboutBox() override {
    Note("about-box");
    ++aboutBoxesShown;
  }

  // The view's requests, recorded where they change something.
  int ItemCount() override { return FakeView::ItemCount(); }
  void InsertItem(int index, const char* text) override {
    Note("insert " + std::string(text));
    FakeView::InsertItem(index, text);
  }
  std::string ItemText(int index) override { return FakeView::ItemText(index); }
  bool IsItemChecked(int index) override { return FakeView::IsItemChecked(index); }
  void SetItemChecked(int index, bool checked) override {
    Note("check " + std::to_string(index) + (checked ? " 1" : " 0"));
    FakeView::SetItemChecked(index, checked);
  }
  void DeleteItem(int index) override {
    Note("delete " + std::to_string(index));
    FakeView::DeleteItem(index);
  }
  void LogAddString(const char* line) override {
    Note("log " + std::string(line));
    FakeView::LogAddString(line);
  }
  int LogCount() override { return FakeView::LogCount(); }
  void LogSelect(int index) override { FakeView::LogSelect(index); }
  std::string LogText(int index) override { return FakeView::LogText(index); }
  int LogHorizontalExtent() override { return FakeView::LogHorizontalExtent(); }
  void LogSetHorizontalExtent(int value) override { FakeView::LogSetHorizontalExtent(value); }
  std::unique_ptr<TextMeasure> OpenDialogMeasure() override {
    return FakeView::OpenDialogMeasure();
  }
  void EnableControl(int id, bool enable) override {
    Note("enable " + std::to_string(id) + (enable ? " 1" : " 0"));
    FakeView::EnableControl(id, enable);
  }
  bool IsUsbBoxChecked() override { return FakeView::IsUsbBoxChecked(); }
  int ShowRestartPrompt() override { return FakeView::ShowRestartPrompt(); }
  bool StartWorker(std::function<void()> body) override {
    Note("start worker");
    return FakeView::StartWorker(std::move(body));
  }
};
