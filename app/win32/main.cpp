// Entry point of Uninstall.exe.
#include <windows.h>

#include "platform/os_type.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return OsSuffix(OS_WIN7)[0] == '.' ? 0 : 1; }
