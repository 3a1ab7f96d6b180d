// The DLL files the configuration names for a monitor or a print processor, and
// their paths in the system or print-processor directory.
#pragma once
#include <cstddef>
#include <string>

// Paths are built in 256-byte buffers: 255 characters at most.
constexpr size_t kDllPathSize = 256;

// True when a configured DLL value names a file: not empty, not starting with
// "0", and a plain file name. A value holding "\", "/", ":" or ".." could reach a
// file outside the directory, so it names none.
bool NamesDllFile(const char* value);

// directory + "\" + file. False when there is no directory (joining to an empty
// one would address the root of the current drive) or the path does not fit.
bool JoinDllPath(const std::string& directory, const char* file, std::string* path);
