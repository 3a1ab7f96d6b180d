// Which installed printers, port monitors and print processors are the vendor's.
// A name is the vendor's when one of the configured names of its kind occurs in
// it (byte for byte). The configuration (g_szUninstallIni) is read anew each call.
#pragma once
#include "inventory/component_list.h"
#include "platform/platform.h"

// True when the printer's driver name contains a configured printer name.
bool IsConfiguredPrinter(plat::Platform& platform, const char* printerName);
bool IsConfiguredMonitor(plat::FileSystem& files, const char* monitorName);
// Always false on OS type 0.
bool IsConfiguredProcessor(plat::FileSystem& files, const char* processorName);

// Appends the vendor's printers, then monitors, then print processors.
void FillComponentList(plat::Platform& platform, ComponentList& list);
