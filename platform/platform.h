// Everything the core needs of the operating system, passed in as one bundle.
#pragma once
#include "platform/clock.h"
#include "platform/desktop.h"
#include "platform/files.h"
#include "platform/libraries.h"
#include "platform/power.h"
#include "platform/registry.h"
#include "platform/services.h"
#include "platform/spooler.h"
#include "platform/system_queries.h"

namespace plat {

struct Platform {
  Spooler& spooler;
  Registry& registry;
  FileSystem& files;
  ServiceControl& services;
  SystemQueries& system;
  Libraries& libraries;
  Desktop& desktop;
  Power& power;
  Clock& clock;
};

}  // namespace plat
