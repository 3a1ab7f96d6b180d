// The only two ways to write to the progress log.
#pragma once
#include "engine/uninstall_view.h"

// Adds the line at the end and selects the last line.
void AppendLog(UninstallView& view, const char* line);
// Raises the log's horizontal extent to the widest line (measured with its
// terminator, in the dialog's device context).
void UpdateLogExtent(UninstallView& view);
