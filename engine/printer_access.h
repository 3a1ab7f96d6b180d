// The progress-log lines of a printer that cannot be inspected.
#pragma once
#include "engine/uninstall.h"
#include "platform/printer_access.h"

// The progress-log line of a failed PrinterAccessResult and the pause after it:
// IDS_ERR_OPENPRN formatted with openFailedName and no pause; IDS_ERR_GETPRNINFO or
// IDS_ERR_ALLOC as read and 100 ms. Nothing for kOk.
void ReportPrinterAccessFailure(UninstallSession& session, PrinterAccessResult result,
                                const char* openFailedName);
