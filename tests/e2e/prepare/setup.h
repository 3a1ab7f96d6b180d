// Puts the vendor's and the other vendor's components on this machine.
#pragma once

namespace prepare {

// Each step prints one line per item; returns false after the first failure.
bool SetUpMachine();

// Adds a RunOnce entry that leaves machine::kRestartMarker behind when the
// machine restarts. Wine runs RunOnce at the start of every session too, so the
// entry is added only once the session of a scenario is under way.
bool ArmRestartMarker();

}  // namespace prepare
