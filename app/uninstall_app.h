// Start-up: the single instance, the companion installer, then the main dialog.
#pragma once
#include <functional>
#include <string>

#include "platform/platform.h"

// The application title: the program file's name without folder and extension.
std::string ApplicationTitle(const char* programPath);

// InitInstance: runDialog(chineseFont) constructs and runs the main dialog
// modally. Returns FALSE (0) on every path.
int InitInstance(plat::Platform& platform, const std::string& appTitle,
                 const std::function<void(bool chineseFont)>& runDialog);
