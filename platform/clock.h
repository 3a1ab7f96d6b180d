// Every pause of the system goes through the clock.
#pragma once
#include <cstdint>

namespace plat {

class Clock {
 public:
  virtual ~Clock() = default;
  virtual void Sleep(uint32_t milliseconds) = 0;
};

}  // namespace plat
