// Pauses of the calling thread.
#pragma once
#include "platform/clock.h"

namespace win32 {

class Win32Clock final : public plat::Clock {
 public:
  void Sleep(uint32_t milliseconds) override;
};

}  // namespace win32
