// The Uninstall command and the removal run.
#pragma once
#include <atomic>
#include <string>

#include "engine/uninstall_view.h"
#include "platform/platform.h"

// The spooler's DeletePrinterDriverExA, bound when the dialog starts; null when
// the spooler library has no such entry (DeletePrinterDriverA serves then).
extern const void* g_pfnDeletePrinterDriverEx;

// What the command, the run and its steps share with the main dialog.
struct UninstallSession {
  UninstallSession(plat::Platform& platformIn, UninstallView& viewIn)
      : platform(platformIn), view(viewIn) {}
  plat::Platform& platform;
  UninstallView& view;
  std::string m_strCurrentName;  // written only by the run
  // Set from the click that starts a run until the run's final block: a second
  // click meanwhile starts nothing, and the dialog is not closed under the run.
  std::atomic<bool> runActive{false};
};

// The Uninstall button (UI thread): the job pre-check over every local printer,
// then the run on a worker thread.
void OnUninstall(UninstallSession& session);
// The body of the worker thread; returns 1.
int UninstallThreadProc(UninstallSession& session);
