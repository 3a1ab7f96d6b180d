// The pauses of a removal run that no failing call may skip, checked on the
// machine's journal. Each rule starts at a journal entry and names the pauses
// that must follow it, whatever any call returned:
// - every entry the walk visits is preceded by its 500 ms;
// - a spooler restart whose manager opened waits 2000 ms, and the step that asked
//   for it then pauses 1000 ms (a printer) or 500 ms (a monitor or processor),
//   also when the manager did not open;
// - a printer deleted: 100 ms, then (after the restart) 1000, 100 after its
//   driver and 1000;
// - a printer, print processor or monitor (its second attempt) not deleted, and
//   a printer whose information cannot be read: 100 ms;
// - the USB driver step: 500 ms after the start, 500 and 1000 at its end (no
//   uninstaller window is ever up here).
#pragma once
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace fixed_pauses {

struct Call {
  std::string name;
  std::string args;
  bool failed = false;
  long error = 0;
};

inline Call Parse(const std::string& entry) {
  Call call;
  const size_t open = entry.find('(');
  const size_t arrow = entry.rfind(") -> ");
  call.name = entry.substr(0, open);
  const size_t close = arrow != std::string::npos ? arrow : entry.rfind(')');
  if (open != std::string::npos && close != std::string::npos && close > open)
    call.args = entry.substr(open + 1, close - open - 1);
  if (arrow != std::string::npos) {
    call.failed = true;
    call.error = std::strtol(entry.c_str() + arrow + 5, nullptr, 10);
  }
  return call;
}

class Checker {
 public:
  // journal: the machine's whole journal; the run's calls are those from `from`
  // on. visits: the journal's size each time the walk read an entry's check.
  Checker(const std::vector<std::string>& journal, size_t from, const std::vector<size_t>& visits,
          bool usbStepRan)
      : visits_(visits), usbStepRan_(usbStepRan), from_(from) {
    for (const std::string& entry : journal) calls_.push_back(Parse(entry));
  }

  // One line per pause found missing.
  std::vector<std::string> Missing() {
    for (size_t visit : visits_)
      if (visit == 0 || !IsSleep(visit - 1, 500)) Miss(visit, "500 ms before an entry of the walk");
    std::string lastSpoolerDeletion;
    bool retryDue = false;
    for (size_t i = from_; i < calls_.size(); ++i) {
      const Call& c = calls_[i];
      if (c.name == "DeletePrinter" || c.name == "DeleteMonitorA" ||
          c.name == "DeletePrintProcessorA")
        lastSpoolerDeletion = c.name;
      if (c.name == "OpenSCManagerA") {
        const uint32_t after = lastSpoolerDeletion == "DeletePrinter" ? 1000 : 500;
        Expect(i, c.failed ? std::vector<uint32_t>{after} : std::vector<uint32_t>{2000, after},
               "around a spooler restart");
      } else if (c.name == "DeletePrinter") {
        if (c.failed) {
          Expect(i, {100}, "after a printer that was not deleted");
        } else {
          std::vector<uint32_t> expected = {100, 2000, 1000, 100, 1000};
          if (!NextRestartOpens(i)) expected.erase(expected.begin() + 1);
          Expect(i, expected, "after a deleted printer");
        }
      } else if (c.name == "DeletePrintProcessorA" && c.failed) {
        Expect(i, {100}, "after a print processor that was not deleted");
      } else if (c.name == "DeleteMonitorA") {
        if (retryDue && c.failed) Expect(i, {100}, "after a monitor that was not deleted");
        retryDue = c.failed && !retryDue;
      } else if (c.name == "GetPrinterA" && c.failed) {
        const bool read = i > 0 && calls_[i - 1].name == "GetPrinterA" &&
                          calls_[i - 1].args.substr(0, calls_[i - 1].args.rfind(',')) ==
                              c.args.substr(0, c.args.rfind(','));
        if (read || c.error != 122) Expect(i, {100}, "after a printer that cannot be read");
      }
    }
    if (usbStepRan_) {
      size_t start = calls_.size();
      for (size_t i = from_; i < calls_.size(); ++i)
        if (calls_[i].name == "GetCurrentDirectoryA") start = i;
      if (start == calls_.size())
        missing_.push_back("the USB driver step asked for no current directory");
      else
        Expect(start, {500, 500, 1000}, "of the USB driver step");
    }
    return missing_;
  }

 private:
  bool IsSleep(size_t i, uint32_t ms) const {
    return i < calls_.size() && calls_[i].name == "Sleep" && calls_[i].args == std::to_string(ms);
  }
  bool NextRestartOpens(size_t i) const {
    for (size_t j = i + 1; j < calls_.size(); ++j)
      if (calls_[j].name == "OpenSCManagerA") return !calls_[j].failed;
    return false;
  }
  void Expect(size_t i, const std::vector<uint32_t>& expected, const char* what) {
    std::vector<uint32_t> found;
    for (size_t j = i + 1; j < calls_.size() && found.size() < expected.size(); ++j)
      if (calls_[j].name == "Sleep")
        found.push_back(static_cast<uint32_t>(std::stoul(calls_[j].args)));
    if (found != expected) Miss(i, what);
  }
  void Miss(size_t i, const char* what) {
    missing_.push_back(std::string("pause ") + what + " missing (journal entry " +
                       std::to_string(i) + ")");
  }

  std::vector<Call> calls_;
  std::vector<size_t> visits_;
  bool usbStepRan_;
  size_t from_;
  std::vector<std::string> missing_;
};

}  // namespace fixed_pauses
