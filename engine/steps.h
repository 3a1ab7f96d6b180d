// The removal steps the run hands each checked entry to, and the facilities they
// share. The entry's name is in session.m_strCurrentName.
#pragma once
#include "engine/uninstall.h"

enum class StepOutcome {
  kRemoved,    // logged IDS_SUCCESS, deleted the entry, stepped the index back, set removed
  kNextEntry,  // logged why the entry stays
  kEndsRun,    // logged why (or silent), released what it held; the run ends at once
};

// The run's walk state that a successful step changes.
struct RunState {
  int index = 0;
  bool removed = false;
};

StepOutcome RemoveMonitorEntry(UninstallSession& session, RunState& run);
StepOutcome RemoveProcessorEntry(UninstallSession& session, RunState& run);
StepOutcome RemovePrinterEntry(UninstallSession& session, RunState& run);

// Stops the service "Spooler", waits 2000 ms, starts it; nothing when the
// service control manager cannot be opened.
void RestartSpooler(plat::Platform& platform);
// After the restart prompt was answered with IDOK.
void RequestSystemRestart(plat::Platform& platform);

// Logs a language text of section "Message" formatted with the session's current
// name, or as it is.
void LogFormatted(UninstallSession& session, const char* key);
void LogPlain(UninstallSession& session, const char* key);
