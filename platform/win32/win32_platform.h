// The real Windows machine: one backend of each platform interface, bundled as
// the core expects them. The application owns one object of this class for the
// process's life.
#pragma once
#include "platform/platform.h"
#include "platform/win32/win32_clock.h"
#include "platform/win32/win32_desktop.h"
#include "platform/win32/win32_files.h"
#include "platform/win32/win32_libraries.h"
#include "platform/win32/win32_power.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_services.h"
#include "platform/win32/win32_spooler.h"
#include "platform/win32/win32_system_queries.h"

namespace win32 {

class Win32Platform {
 public:
  Win32Platform();
  Win32Platform(const Win32Platform&) = delete;
  Win32Platform& operator=(const Win32Platform&) = delete;

  plat::Platform& platform() { return platform_; }
  // The desktop also takes the application title and the owner of message boxes.
  Win32Desktop& desktop() { return desktop_; }

 private:
  Win32Spooler spooler_;
  Win32Registry registry_;
  Win32FileSystem files_;
  Win32ServiceControl services_;
  Win32SystemQueries system_;
  Win32Libraries libraries_;
  Win32Desktop desktop_;
  Win32Power power_;
  Win32Clock clock_;
  plat::Platform platform_;  // last: refers to the members above
};

}  // namespace win32
