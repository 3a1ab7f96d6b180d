// The pieces of the printer step that stand on their own: the vendor's INF files
// of a printer model, and whether another printer still uses a port.
#pragma once
#include "platform/platform.h"

// True when the INF file lists modelKey (the printer's name in double quotes)
// with a non-empty value in the vendor's manufacturer section, or in that
// section for 64-bit Windows. The manufacturer is read from the uninstall
// configuration on every call; the INF file is read once.
bool InfHasModel(plat::FileSystem& files, const char* infPath, const char* modelKey);

// Deletes the INF file and its precompiled companion (the path with "PNF" as its
// last three characters), each after setting its attributes to normal. Failures
// are not looked at.
void DeleteInfFile(plat::FileSystem& files, const char* infPath);

// True when portName occurs (case-sensitively) in the port name of any local
// printer.
bool IsPortInUse(plat::Spooler& spooler, const char* portName);
