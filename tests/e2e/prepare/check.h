// Prints the state of this machine's printing setup and of the vendor files and
// keys, one item a line, so that a script can compare it with what it expects.
#pragma once

namespace prepare {

void PrintMachineState();

}  // namespace prepare
