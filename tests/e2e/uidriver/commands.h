// The commands of uidriver: each reads or works the program's dialogs as a
// user would and prints what it saw. A command returns the process exit code:
// 0 done, 1 failed or timed out (with the reason on standard error).
#pragma once

#include <string>
#include <vector>

namespace uidriver {

struct Invocation {
  std::wstring title;              // caption of the main dialog (--title)
  std::wstring command;            // e.g. L"wait-dialog"
  std::vector<std::wstring> args;  // the command's own arguments
};

int RunCommand(const Invocation& invocation);
void PrintUsage();

}  // namespace uidriver
