#include "platform/win32/win32_clock.h"

#include "platform/win32/windows_api.h"

namespace win32 {

void Win32Clock::Sleep(uint32_t milliseconds) { ::Sleep(milliseconds); }

}  // namespace win32
