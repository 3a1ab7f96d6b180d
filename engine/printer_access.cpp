#include "engine/printer_access.h"

#include "app/progress_log.h"
#include "config/text_keys.h"
#include "config/texts.h"

void ReportPrinterAccessFailure(UninstallSession& session, PrinterAccessResult result,
                                const char* openFailedName) {
  switch (result) {
    case PrinterAccessResult::kOk:
      return;
    case PrinterAccessResult::kOpenFailed: {
      const std::string line =
          FormatText(g_Message.GetText(text::kErrOpenPrn), openFailedName ? openFailedName : "");
      AppendLog(session.view, line.c_str());
      return;
    }
    case PrinterAccessResult::kSizeQueryFailed:
    case PrinterAccessResult::kReadFailed:
      AppendLog(session.view, g_Message.GetText(text::kErrGetPrnInfo).c_str());
      break;
    case PrinterAccessResult::kNoMemory:
      AppendLog(session.view, g_Message.GetText(text::kErrAlloc).c_str());
      break;
  }
  session.platform.clock.Sleep(100);
}
