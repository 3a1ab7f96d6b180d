// The safety rule of every run: each attempt to remove something names a thing of
// the configured vendor that one of the run's checked entries stands for, in the
// place where it belongs. Given the configuration text, the OS type and WOW64
// flag, the checked entries, the directories and the machine's deletion record,
// the check lists every attempt that breaks the rule; failed attempts count too.
//
// What each kind of attempt may name:
// - a printer: a checked entry that is neither a configured monitor nor a
//   configured print processor, whose driver contains a configured printer name;
// - a driver: the driver of the printer removed last (an allowed removal);
// - a port: that printer's port, and only a vendor IP port ("ZTIP_");
// - a monitor / print processor: a checked entry holding a configured name of its
//   kind (no print processor on OS type 0; a monitor's name wins);
// - a registry key: the vendor's two keys when the monitor removed last has "USB"
//   in its name; the spooler's monitor list key named by that monitor's
//   USBMONitorName (or "0", what a missing value reads as); the key of the print
//   processor removed last, under the environment of the machine;
// - a file: a configured DLL of the monitor removed last in the system directory
//   (not redirected by WOW64) or of the print processor removed last in the
//   print-processor directory; an INF file in the Windows INF folder whose manufacturer section
//   lists a checked printer entry's model, and its PNF companion.
// Configured names that are empty or "0" name nothing, as for the inventory.
#pragma once
#include <cstring>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "config/uninstall_ini.h"
#include "platform/os_type.h"
#include "platform/profile_reader.h"
#include "platform/sim/sim_machine.h"
#include "tests/support/fake_view.h"
#include "tests/support/memory_files.h"

namespace safety {

struct Context {
  std::string config;  // the text of Uninstall.ini
  int osType = OS_WIN7;
  bool wow64 = false;
  std::set<std::string> checkedEntries;
  std::string windowsDirectory;  // the INF folder is <windows>\inf
  std::string systemDirectory;
  std::string printProcessorDirectory;
  // Tests of one removal step hand it the entry themselves: a checked entry is
  // then taken to be of the kind of the step that removes it, whatever the
  // configuration's names (telling the kind is the run's job).
  bool entryKindGiven = false;
};

namespace detail {

inline std::string Lower(std::string text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return text;
}
inline bool SameText(const std::string& a, const std::string& b) { return Lower(a) == Lower(b); }
inline bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}
inline bool EndsWithText(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && SameText(text.substr(text.size() - end.size()), end);
}
inline std::string WithoutTrailingSlash(std::string path) {
  while (!path.empty() && path.back() == '\\') path.pop_back();
  return path;
}

// Looks values up in one profile text the way the engine reads its files.
class Profile {
 public:
  explicit Profile(const std::string& text) {
    files_.AddFile(kPath, text);
    file_ = std::make_unique<plat::ProfileFile>(files_, kPath);
  }
  std::string Get(const std::string& section, const std::string& key, const char* def = "0",
                  uint32_t size = kConfigValueSize) const {
    std::vector<char> out(size);
    file_->GetString(section.c_str(), key.c_str(), def, out.data(), size);
    return out.data();
  }

 private:
  static constexpr const char* kPath = "C:\\check\\profile.ini";
  MemoryFiles files_;
  std::unique_ptr<plat::ProfileFile> file_;
};

class Checker {
 public:
  explicit Checker(const Context& context) : c_(context), config_(context.config) {
    printers_ = Names("ZTPRINTER", "PRINTERNUM", "PRINTERNAME");
    monitors_ = Names("ZTMONITOR", "MonitorNUM", "MONITORNAME");
    processors_ = Names("ZTPROC", "PROCNUM", "PROCNAME");
  }

  // An empty text when the attempt is allowed, else why not.
  std::string Judge(const sim::Deletion& d) {
    const bool done = d.error == 0;
    if (d.call == "DeletePrinter") {
      if (!IsPrinterEntry(d.name)) return "not a checked printer entry";
      if (!HoldsOne(d.driver, printers_)) return "driver " + d.driver + " is not the vendor's";
      if (done) removedPrinters_ = {d};
      return "";
    }
    if (d.call == "DeletePrinterDriverExA" || d.call == "DeletePrinterDriverA") {
      for (const sim::Deletion& printer : removedPrinters_)
        if (printer.driver == d.name) return "";
      return "not the driver of a removed vendor printer";
    }
    if (d.call == "DeletePortA") {
      if (!Contains(d.name, "ZTIP_")) return "not a vendor IP port";
      for (const sim::Deletion& printer : removedPrinters_)
        if (printer.port == d.name) return "";
      return "not the port of a removed vendor printer";
    }
    if (d.call == "DeleteMonitorA") {
      if (!IsMonitorEntry(d.name)) return "not a checked configured monitor";
      if (done) removedMonitors_ = {d.name};
      return "";
    }
    if (d.call == "DeletePrintProcessorA") {
      if (!IsProcessorEntry(d.name)) return "not a checked configured print processor";
      if (done) removedProcessors_ = {d.name};
      return "";
    }
    if (d.call == "RegDeleteKeyA")
      return AllowedKey(d.name) ? "" : "not a key of a removed component";
    if (d.call == "DeleteFileA") return JudgeFile(d);
    return "unknown kind of deletion";
  }

 private:
  std::vector<std::string> Names(const char* section, const char* countKey, const char* prefix) {
    std::vector<std::string> names;
    const int count = ParseCount(config_.Get(section, countKey).c_str());
    char key[64];
    for (int n = 1; n <= count && NumberedKey(prefix, n, key, sizeof key); ++n) {
      const std::string name = config_.Get(section, key);
      if (!name.empty() && name != "0") names.push_back(name);
    }
    return names;
  }
  static bool HoldsOne(const std::string& tested, const std::vector<std::string>& names) {
    for (const std::string& name : names)
      if (Contains(tested, name)) return true;
    return false;
  }
  bool Checked(const std::string& entry) const { return c_.checkedEntries.count(entry) > 0; }
  bool IsMonitorEntry(const std::string& e) const {
    return Checked(e) && (c_.entryKindGiven || HoldsOne(e, monitors_));
  }
  bool IsProcessorEntry(const std::string& e) const {
    if (c_.entryKindGiven) return Checked(e);
    return Checked(e) && !HoldsOne(e, monitors_) && c_.osType != OS_WIN9X &&
           HoldsOne(e, processors_);
  }
  bool IsPrinterEntry(const std::string& e) const {
    if (c_.entryKindGiven) return Checked(e);
    return Checked(e) && !HoldsOne(e, monitors_) && !IsProcessorEntry(e);
  }

  std::string Section(const std::string& entry, bool stripSpaces) const {
    ConfigValue section = {};
    return PerOsSectionName(entry.c_str(), stripSpaces, c_.osType, section) ? section : "";
  }
  static bool PlainName(const std::string& value) {
    return !value.empty() && value[0] != '0' && value.find_first_of("\\/:") == std::string::npos &&
           !Contains(value, "..");
  }

  bool AllowedKey(const std::string& key) const {
    static const char* const kMonitorList = "SYSTEM\\CURRENTCONTROLSET\\CONTROL\\PRINT\\MONITORS\\";
    const std::string processorList =
        std::string("SYSTEM\\CurrentControlSet\\Control\\Print\\Environments\\") +
        (c_.wow64 ? "Windows x64" : "Windows NT x86") + "\\Print Processors\\";
    for (const std::string& monitor : removedMonitors_) {
      if (Contains(monitor, "USB") && (SameText(key, "SOFTWARE\\QORVELIN\\INSTALLPRINTER") ||
                                       SameText(key, "SOFTWARE\\QORVELIN\\PORTNAME")))
        return true;
      const std::string section = Section(monitor, true);
      for (const std::string& name :
           {section.empty() ? std::string("0") : config_.Get(section, "USBMONitorName"),
            std::string("0")})
        if (!name.empty() && !Contains(name, "\\") && SameText(key, kMonitorList + name))
          return true;
    }
    for (const std::string& processor : removedProcessors_)
      if (!processor.empty() && !Contains(processor, "\\") &&
          SameText(key, processorList + processor))
        return true;
    return false;
  }

  std::string JudgeFile(const sim::Deletion& d) {
    const size_t slash = d.name.find_last_of('\\');
    if (slash == std::string::npos) return "not a full path";
    const std::string folder = d.name.substr(0, slash);
    const std::string file = d.name.substr(slash + 1);
    if (!SameText(d.reached, d.name)) return "reaches " + d.reached + " instead";
    if (SameText(folder, WithoutTrailingSlash(c_.systemDirectory))) {
      for (const std::string& monitor : removedMonitors_) {
        const std::string section = Section(monitor, true);
        if (section.empty()) continue;
        std::vector<std::string> dlls = {config_.Get(section, "MonitorPDLLName"),
                                         config_.Get(section, "MONitorPUIDLLName")};
        if (Contains(section, "USB")) dlls.push_back(config_.Get(section, "USBMONitorDLLName"));
        for (const std::string& dll : dlls)
          if (PlainName(dll) && SameText(dll, file)) return "";
      }
      return "not a DLL of a removed monitor";
    }
    if (SameText(folder, WithoutTrailingSlash(c_.printProcessorDirectory))) {
      for (const std::string& processor : removedProcessors_) {
        const std::string section = Section(processor, false);
        const std::string dll = section.empty() ? "" : config_.Get(section, "ProcessorDllName");
        if (PlainName(dll) && SameText(dll, file)) return "";
      }
      return "not the DLL of a removed print processor";
    }
    if (SameText(folder, WithoutTrailingSlash(c_.windowsDirectory) + "\\inf")) {
      const std::string stem = Lower(d.name.substr(0, d.name.size() - 3));
      if (EndsWithText(file, ".pnf"))
        return allowedInfStems_.count(stem) ? "" : "not the companion of an allowed INF file";
      if (!EndsWithText(file, ".inf")) return "neither an INF nor a PNF file";
      if (!ListsCheckedModel(d.bytes)) return "lists no checked printer's model";
      allowedInfStems_.insert(stem);
      return "";
    }
    return "outside the system, print-processor and INF folders";
  }

  bool ListsCheckedModel(const std::string& infText) const {
    std::string manufacturer = config_.Get("ZTPRINTER", "MANUFACTURER");
    if (manufacturer.empty()) manufacturer = "QORVELIN";
    const Profile inf(infText);
    for (const std::string& entry : c_.checkedEntries) {
      if (!IsPrinterEntry(entry)) continue;
      const std::string model = "\"" + entry + "\"";
      for (const std::string& section : {manufacturer, manufacturer + ".NTamd64"})
        if (!inf.Get(section, model, "", 200).empty()) return true;
    }
    return false;
  }

  const Context& c_;
  Profile config_;
  std::vector<std::string> printers_, monitors_, processors_;
  // The component of each kind removed last: what follows its removal (driver,
  // port, keys, files) belongs to it alone. Empty until one is removed.
  std::vector<sim::Deletion> removedPrinters_;
  std::vector<std::string> removedMonitors_, removedProcessors_;
  std::set<std::string> allowedInfStems_;
};

}  // namespace detail

// One line per attempt that breaks the rule: "DeleteFileA(C:\x.dll) -> 0: why".
inline std::vector<std::string> CheckDeletions(const Context& context,
                                               const std::vector<sim::Deletion>& deletions) {
  detail::Checker checker(context);
  std::vector<std::string> violations;
  for (const sim::Deletion& d : deletions) {
    const std::string why = checker.Judge(d);
    if (why.empty()) continue;
    std::string what = d.call + "(" + d.name;
    if (!d.port.empty() || !d.driver.empty()) what += " on " + d.port + " with " + d.driver;
    violations.push_back(what + ") -> " + std::to_string(d.error) + ": " + why);
  }
  return violations;
}

// The context of this moment of a run on machine, with the engine's globals: the
// entries checked in view and the one being worked on count as checked.
inline Context ContextNow(sim::Machine& machine, const FakeView& view,
                          const std::string& currentName) {
  Context context;
  context.config = machine.FileBytes(g_szUninstallIni);
  context.osType = g_nOSType;
  context.wow64 = g_bIsWow64 != 0;
  for (const FakeView::Item& item : view.items)
    if (item.checked) context.checkedEntries.insert(item.text);
  if (!currentName.empty()) context.checkedEntries.insert(currentName);
  context.windowsDirectory = machine.WindowsDirectory();
  context.systemDirectory = context.windowsDirectory + "\\system32";
  context.printProcessorDirectory = machine.PrintProcessorDirectory();
  return context;
}

// Watches one machine's deletions as they happen, each with the context of its
// moment (a test may change the OS type or the configuration between runs), and
// judges them all at once: the checked entries are those of every moment.
class DeletionWatch {
 public:
  DeletionWatch(sim::Machine& machine, std::function<Context()> snapshot)
      : machine_(machine), snapshot_(std::move(snapshot)) {
    machine_.OnDeletion([this](const sim::Deletion& d) { Take(d); });
  }
  ~DeletionWatch() { machine_.OnDeletion(nullptr); }
  DeletionWatch(const DeletionWatch&) = delete;
  DeletionWatch& operator=(const DeletionWatch&) = delete;

  // The violations so far; the attempts judged are forgotten.
  std::vector<std::string> TakeViolations() {
    std::vector<std::string> all;
    for (Group& group : groups_) {
      group.context.checkedEntries = checked_;
      for (std::string& v : CheckDeletions(group.context, group.deletions))
        all.push_back(std::move(v));
    }
    groups_.clear();
    return all;
  }

 private:
  struct Group {
    Context context;
    std::vector<sim::Deletion> deletions;
  };
  static bool SameSetting(const Context& a, const Context& b) {
    return a.config == b.config && a.entryKindGiven == b.entryKindGiven && a.osType == b.osType &&
           a.wow64 == b.wow64 && a.windowsDirectory == b.windowsDirectory &&
           a.systemDirectory == b.systemDirectory &&
           a.printProcessorDirectory == b.printProcessorDirectory;
  }
  void Take(const sim::Deletion& d) {
    Context now = snapshot_();
    checked_.insert(now.checkedEntries.begin(), now.checkedEntries.end());
    if (groups_.empty() || !SameSetting(groups_.back().context, now))
      groups_.push_back(Group{std::move(now), {}});
    groups_.back().deletions.push_back(d);
  }

  sim::Machine& machine_;
  std::function<Context()> snapshot_;
  std::set<std::string> checked_;
  std::vector<Group> groups_;
};

}  // namespace safety
