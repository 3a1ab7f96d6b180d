// The one way the backend includes <windows.h>: without the min/max macros and
// without the rarely used parts, so the C++ standard library stays usable.
#pragma once
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
