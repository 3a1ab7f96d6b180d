// The printer step: the model's INF files when the printer is on a USB port, the
// printer, its driver and its vendor IP port.
#include "engine/printer_removal.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "app/progress_log.h"
#include "config/text_keys.h"
#include "config/texts.h"
#include "config/uninstall_ini.h"
#include "engine/printer_access.h"
#include "engine/steps.h"
#include "platform/os_type.h"
#include "platform/profile_reader.h"

const void* g_pfnDeletePrinterDriverEx = nullptr;

namespace {

constexpr size_t kMaxPath = 260;
constexpr uint32_t kInfValueSize = 200;
constexpr const char* kPrinterSection = "ZTPRINTER";
constexpr const char* kManufacturerKey = "MANUFACTURER";
// The manufacturer section when MANUFACTURER is present but empty.
constexpr const char* kDefaultManufacturer = "QORVELIN";
constexpr const char* kAmd64Suffix = ".NTamd64";

bool Contains(const char* text, const char* part) {
  return text != nullptr && std::strstr(text, part) != nullptr;
}

const char* OrEmpty(const char* text) { return text ? text : ""; }

// A directory search, closed when it goes.
class FileSearch {
 public:
  explicit FileSearch(plat::FileSystem& files) : files_(files) {}
  ~FileSearch() {
    if (search_ != 0) files_.FindClose(search_);
  }
  FileSearch(const FileSearch&) = delete;
  FileSearch& operator=(const FileSearch&) = delete;

  win::Error First(const char* pattern, plat::FindData* data) {
    const win::Error error = files_.FindFirst(pattern, &search_, data);
    if (error != win::kSuccess) search_ = 0;  // a failed search holds nothing
    return error;
  }
  bool Next(plat::FindData* data) { return files_.FindNext(search_, data) == win::kSuccess; }

 private:
  plat::FileSystem& files_;
  plat::FindHandle search_ = 0;
};

// Deletes the INF files of the printer's model from the Windows INF folder. False
// when the Windows directory cannot be had, which ends the run without a word.
bool RemoveModelInfFiles(plat::Platform& platform, const char* printerName) {
  std::string infDirectory;
  // The directory is read into MAX_PATH bytes: one that does not fit, or an
  // empty one that would address the drive's root, counts as not obtained.
  if (platform.files.WindowsDirectory(&infDirectory) != win::kSuccess || infDirectory.empty() ||
      infDirectory.size() >= kMaxPath)
    return false;
  if (infDirectory.back() != '\\') infDirectory += '\\';
  infDirectory += "inf\\";
  const std::string pattern = infDirectory + "*.inf";
  // No INF file could have a full path within MAX_PATH then.
  if (pattern.size() >= kMaxPath) return true;

  const std::string modelKey = std::string("\"") + OrEmpty(printerName) + "\"";
  FileSearch search(platform.files);
  plat::FindData found;
  const win::Error error = search.First(pattern.c_str(), &found);
  if (error != win::kSuccess) {
    char line[64];
    std::snprintf(line, sizeof line, text::kInvalidFileHandle, static_cast<int>(error));
    platform.system.WriteStandardOutput(line);
    return true;
  }
  do {
    const std::string path = infDirectory + found.name;
    if (path.size() >= kMaxPath) continue;  // its full path cannot be named
    if (InfHasModel(platform.files, path.c_str(), modelKey.c_str()))
      DeleteInfFile(platform.files, path.c_str());
  } while (search.Next(&found));
  return true;
}

// Driver removal after the printer went; always ends with a 100 ms pause.
void RemovePrinterDriver(UninstallSession& session, const plat::PrinterInfo2& info) {
  plat::Spooler& spooler = session.platform.spooler;
  LogFormatted(session, text::kDrvDeleting);
  const win::Error error =
      g_pfnDeletePrinterDriverEx != nullptr
          ? spooler.DeleteDriverEx(g_pfnDeletePrinterDriverEx, info.pServerName, nullptr,
                                   info.pDriverName, win::kDpdDeleteUnusedFiles, 0)
          : spooler.DeleteDriver(info.pServerName, nullptr, info.pDriverName);
  if (error == win::kSuccess) {
    LogPlain(session, text::kDrvSuccess);
  } else if (error == win::kPrinterDriverInUse) {
    LogPlain(session, text::kErrDrvUsing);
  } else {
    char suffix[32];
    std::snprintf(suffix, sizeof suffix, text::kDriverErrorSuffix, static_cast<int>(error));
    const std::string line = g_Message.GetText(text::kErrDrvDel) + suffix;
    AppendLog(session.view, line.c_str());
  }
  session.platform.clock.Sleep(100);
}

}  // namespace

bool InfHasModel(plat::FileSystem& files, const char* infPath, const char* modelKey) {
  ConfigValue manufacturer = {};
  ReadConfigValue(files, kPrinterSection, kManufacturerKey, manufacturer);
  const std::string section = manufacturer[0] != '\0' ? manufacturer : kDefaultManufacturer;
  const std::string amd64Section = section + kAmd64Suffix;

  const plat::ProfileFile inf(files, infPath);
  char value[kInfValueSize];
  if (inf.GetString(section.c_str(), modelKey, "", value, sizeof value) > 0) return true;
  return inf.GetString(amd64Section.c_str(), modelKey, "", value, sizeof value) > 0;
}

void DeleteInfFile(plat::FileSystem& files, const char* infPath) {
  files.SetAttributes(infPath, win::kFileAttributeNormal);
  files.DeleteFileAt(infPath);
  std::string companion = infPath;
  if (companion.size() < 3 || companion.size() >= kMaxPath) return;  // names no companion
  companion.replace(companion.size() - 3, 3, "PNF");
  files.SetAttributes(companion.c_str(), win::kFileAttributeNormal);
  files.DeleteFileAt(companion.c_str());
}

bool IsPortInUse(plat::Spooler& spooler, const char* portName) {
  // Each printer's port is tested on its own: no joined list that could be cut
  // short, and no match across the boundary of two port names.
  std::vector<std::string> ports;
  spooler.EnumLocalPrinterPorts(&ports);
  for (const std::string& port : ports)
    if (port.find(portName) != std::string::npos) return true;
  return false;
}

StepOutcome RemovePrinterEntry(UninstallSession& session, RunState& run) {
  plat::Platform& platform = session.platform;
  plat::Clock& clock = platform.clock;
  PrinterAccess printer(platform.spooler);

  if (!printer.Open(session.m_strCurrentName.c_str())) {
    ReportPrinterAccessFailure(session, PrinterAccessResult::kOpenFailed,
                               session.m_strCurrentName.c_str());
    return StepOutcome::kEndsRun;
  }
  LogFormatted(session, text::kDeleting2);
  const PrinterAccessResult read = printer.ReadInfo();
  if (read != PrinterAccessResult::kOk) {
    printer.Release();
    ReportPrinterAccessFailure(session, read, session.m_strCurrentName.c_str());
    return StepOutcome::kEndsRun;
  }
  const plat::PrinterInfo2& info = printer.info();

  // INF files go before the job test: they are gone even when the printer stays.
  if (Contains(info.pPortName, "USB00") && !RemoveModelInfFiles(platform, info.pPrinterName)) {
    printer.Release();
    return StepOutcome::kEndsRun;
  }

  if (info.cJobs > 0) {
    printer.Release();
    LogFormatted(session, text::kErrHaveJob1);
    clock.Sleep(100);
    return StepOutcome::kEndsRun;
  }

  if (platform.spooler.DeletePrinterByHandle(printer.handle()) != win::kSuccess) {
    LogPlain(session, text::kErrDelPrinter);
    clock.Sleep(100);
    printer.Release();
    return StepOutcome::kNextEntry;
  }

  clock.Sleep(100);
  LogFormatted(session, text::kSuccess);
  printer.ClosePrinter();
  session.view.DeleteItem(run.index);
  --run.index;
  run.removed = true;
  RestartSpooler(platform);
  clock.Sleep(1000);

  // The information (driver, server, port) stays readable until the end.
  if (g_nOSType != OS_WIN9X && g_nOSType != OS_NT4) RemovePrinterDriver(session, info);
  clock.Sleep(1000);

  if (Contains(info.pPortName, "ZTIP_") && !IsPortInUse(platform.spooler, info.pPortName))
    platform.spooler.DeletePortByName(nullptr, info.pPortName);

  printer.ReleaseInfo();
  return StepOutcome::kRemoved;
}
