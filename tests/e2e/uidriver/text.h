// Texts read from windows of another process, and their UTF-8 output.
#pragma once

#include <windows.h>

#include <string>

namespace uidriver {

std::string ToUtf8(const std::wstring& text);
std::wstring FromUtf8(const std::string& text);

// The window's own text (caption or control text), through WM_GETTEXT.
std::wstring WindowText(HWND window);

// One line of a list box; Wine carries LB_GETTEXT across processes as UTF-16.
std::wstring ListBoxLine(HWND listBox, int index);

// Control characters escaped (CR as \r, LF as \n, a backslash as \\), so that
// one text is one line and a line break differs from a backslash and an n.
std::string OneLine(const std::wstring& text);

void PrintLine(const std::string& line);

}  // namespace uidriver
