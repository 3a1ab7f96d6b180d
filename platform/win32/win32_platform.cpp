#include "platform/win32/win32_platform.h"

namespace win32 {

Win32Platform::Win32Platform()
    : platform_{spooler_,   registry_, files_, services_, system_,
                libraries_, desktop_,  power_, clock_} {}

}  // namespace win32
