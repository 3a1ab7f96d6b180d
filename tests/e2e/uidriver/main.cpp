// uidriver.exe: works the uninstaller's dialogs from outside, for the end-to-end
// scenarios under Wine. Usage: uidriver [--title <main dialog caption>] <command> [args].
#include <windows.h>

#include <fcntl.h>
#include <io.h>
#include <shellapi.h>

#include <cstdio>

#include "commands.h"

int main() {
  // Lines end in LF alone, as the scripts that read them expect.
  _setmode(_fileno(stdout), _O_BINARY);
  int argc = 0;
  LPWSTR* argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
  if (argv == nullptr) return 2;
  uidriver::Invocation invocation;
  int next = 1;
  if (argc > 2 && std::wstring(argv[1]) == L"--title") {
    invocation.title = argv[2];
    next = 3;
  }
  if (next < argc) invocation.command = argv[next++];
  for (; next < argc; ++next) invocation.args.emplace_back(argv[next]);
  ::LocalFree(argv);
  if (invocation.command.empty()) {
    uidriver::PrintUsage();
    return 2;
  }
  return uidriver::RunCommand(invocation);
}
