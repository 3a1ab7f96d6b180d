// Folders of the prepared machine, as the system reports them.
#pragma once

#include <string>

namespace prepare {

std::string SystemFolder();
std::string WindowsFolder();
std::string ProcessorFolder();  // the print-processor folder of this process's environment
std::string OwnFolder();        // the folder of prepare.exe, where the fixture files lie

}  // namespace prepare
