// One detached worker thread per call: normal priority, never waited for.
#pragma once
#include <functional>

// Starts body on a new thread and returns at once; false when no thread could be
// made (body then never runs).
bool StartDetachedThread(std::function<void()> body);
