// The Uninstall button: no run starts while any local printer holds print jobs.
#include <string>
#include <vector>

#include "app/progress_log.h"
#include "config/text_keys.h"
#include "config/texts.h"
#include "engine/printer_access.h"
#include "engine/steps.h"

namespace {

// Every local printer, not only the vendor's: false (after one log line) when one
// cannot be inspected or holds a job; the printers after it are not looked at.
bool NoPrinterHoldsJobs(UninstallSession& session) {
  std::vector<std::string> names;
  // A failed enumeration (no spooler) counts as no printers.
  session.platform.spooler.EnumLocalPrinterNames(&names);
  for (const std::string& name : names) {
    PrinterAccess printer(session.platform.spooler);
    const PrinterAccessResult read = printer.OpenAndRead(name.c_str());
    if (read != PrinterAccessResult::kOk) {
      printer.Release();
      ReportPrinterAccessFailure(session, read, name.c_str());
      return false;
    }
    if (printer.info().cJobs > 0) {
      const char* printerName = printer.info().pPrinterName;
      const std::string line =
          FormatText(g_Message.GetText(text::kErrHaveJob2), printerName ? printerName : "");
      printer.Release();
      AppendLog(session.view, line.c_str());
      session.platform.clock.Sleep(100);
      return false;
    }
  }
  return true;
}

}  // namespace

void OnUninstall(UninstallSession& session) {
  // A click while a run is starting or under way starts nothing.
  bool idle = false;
  if (!session.runActive.compare_exchange_strong(idle, true)) return;
  if (!NoPrinterHoldsJobs(session)) {
    session.runActive.store(false);
    return;
  }
  // The run clears runActive in its final block.
  if (!session.view.StartWorker([&session] { UninstallThreadProc(session); }))
    session.runActive.store(false);
}
