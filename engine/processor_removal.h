// The print-processor step's file part. The step itself is RemoveProcessorEntry
// (engine/steps.h).
#pragma once
#include "engine/uninstall.h"

// Deletes the ProcessorDllName of the processor's per-OS section (its name, blanks
// kept, and the OS suffix) from the print-processor directory; always 1.
int DeleteProcessorFile(UninstallSession& session, const char* entryName);
