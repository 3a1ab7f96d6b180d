// Finding the program's windows from outside: top-level windows by title, the
// dialogs that the main dialog owns, message boxes; and bounded waits for them.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace uidriver {

// Visible top-level windows whose title is exactly this text.
int CountTopLevel(const std::wstring& title);
HWND FindTopLevel(const std::wstring& title);

// A visible window owned by `owner` that has a child with this control id.
HWND FindOwnedDialog(HWND owner, int markerControlId);

// A visible dialog-class window with this caption that has no component list,
// so that the main dialog is never taken for a message box.
HWND FindMessageBox(const std::wstring& caption);

// Polls every 100 ms until `done` is true or the seconds have passed.
bool WaitFor(double seconds, const std::function<bool()>& done);

}  // namespace uidriver
