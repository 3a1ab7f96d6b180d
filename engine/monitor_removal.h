// The parts of the port-monitor step: the vendor COM-port check of Windows
// 95/98/Me, the monitor's registry key name and the deletion of its DLL files.
// The step itself is RemoveMonitorEntry (engine/steps.h).
#pragma once
#include "config/uninstall_ini.h"
#include "engine/printer_access.h"
#include "engine/uninstall.h"

// True when every local printer could be inspected and none uses a port whose
// name contains "ZTCOM". Logs why otherwise; the messages name the monitor
// (session.m_strCurrentName). allocate gets each printer's information buffer.
bool CheckComPortPrinters(UninstallSession& session,
                          PrinterAccess::Allocator allocate = &PrinterAccess::AllocateFromHeap);

// USBMONitorName of the monitor's per-OS section into out (default "0"); always
// true. A section name that does not fit reads as "0".
bool GetUsbMonitorName(plat::FileSystem& files, const char* entryName, ConfigValue& out);

// Deletes MonitorPDLLName, MONitorPUIDLLName and (for a section naming "USB")
// USBMONitorDLLName from the system directory. 0 when redirection could not be
// switched off under WOW64 and the remaining files were left; 1 otherwise.
int DeleteMonitorFiles(UninstallSession& session, const char* entryName);
