// Message boxes of the dialogs, captioned with the application title.
#pragma once
#include <windows.h>

#include <string>

// Set once at start-up, before any dialog exists.
void SetApplicationTitle(const std::string& title);
const std::string& GetApplicationTitle();

// MessageBoxA owned by owner (may be null) with the application title as caption.
int ShowTitledMessageBox(HWND owner, const char* text, UINT type);
