// Puts back the globals that the dialog's initialisation writes and the engine
// reads, as a program that has not initialised has them. Tests share them, so
// every world that sets them calls this when it ends.
#pragma once
#include "config/texts.h"
#include "config/uninstall_ini.h"
#include "engine/uninstall.h"
#include "platform/os_type.h"
#include "platform/sim/sim_machine.h"

inline void ResetEngineGlobals() {
  // g_Message must not outlive a test's machine: it is left on a machine of its
  // own, without a language file, that lives as long as the program.
  static sim::Machine bare;
  g_Message.Bind(bare.platform().files);
  g_nOSType = 0;
  g_bIsWow64 = 0;
  g_pfnDeletePrinterDriverEx = nullptr;
  g_szUninstallIni[0] = '\0';
}
