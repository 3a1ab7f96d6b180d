// The Windows version class (OS type) and the WOW64 flag.
#pragma once
#include <functional>

#include "platform/platform.h"

enum OsType {
  OS_WIN9X = 0,  // also every version the classification does not recognise
  OS_NT4 = 1,
  OS_WIN2000 = 2,
  OS_XP = 3,
  OS_SERVER2003 = 4,
  OS_VISTA = 5,
  OS_SERVER2008 = 6,
  OS_WIN7 = 7,
};

// Set once by the main dialog's initialisation, then only read.
extern int g_nOSType;
extern unsigned char g_bIsWow64;

int GetOSType(plat::SystemQueries& system);
// ".98", ".NT", ".2K" (types 2 and 3), ".2003", ".Vista", ".2008", ".Win7".
const char* OsSuffix(int osType);
// Non-zero when the process runs under WOW64. When IsWow64Process cannot be
// asked or fails, a 64-bit native processor (GetNativeSystemInfo) decides.
int IsWow64(plat::Platform& platform);
// Runs operation with WOW64 file-system redirection switched off for the calling
// thread. False: "Kernel32.dll" could not be loaded or redirection could not be
// switched off (or an entry is missing), and the operation did not run.
bool RunWithoutFsRedirection(plat::Libraries& libraries, const std::function<void()>& operation);
