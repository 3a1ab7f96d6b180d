// prepare.exe: sets up a Wine machine for the end-to-end scenarios ("setup") or
// prints the state that the scenarios compare ("check"); "arm-restart-marker"
// makes a restart of the machine observable.
#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <cstring>

#include "check.h"
#include "setup.h"

int main(int argc, char** argv) {
  _setmode(_fileno(stdout), _O_BINARY);  // lines end in LF alone, for the scripts
  if (argc == 2 && std::strcmp(argv[1], "setup") == 0) return prepare::SetUpMachine() ? 0 : 1;
  if (argc == 2 && std::strcmp(argv[1], "arm-restart-marker") == 0)
    return prepare::ArmRestartMarker() ? 0 : 1;
  if (argc == 2 && std::strcmp(argv[1], "check") == 0) {
    prepare::PrintMachineState();
    return 0;
  }
  std::fprintf(stderr, "usage: prepare setup | arm-restart-marker | check\n");
  return 2;
}
