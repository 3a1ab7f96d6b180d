#include "text.h"

#include <cstdio>
#include <vector>

namespace uidriver {

namespace {
constexpr UINT kTimeoutMs = 5000;
}

std::string ToUtf8(const std::wstring& text) {
  if (text.empty()) return std::string();
  const int size = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                         nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<size_t>(size), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), utf8.data(), size,
                        nullptr, nullptr);
  return utf8;
}

std::wstring FromUtf8(const std::string& text) {
  if (text.empty()) return std::wstring();
  const int size =
      ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(size), L'\0');
  ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(), size);
  return wide;
}

std::wstring WindowText(HWND window) {
  DWORD_PTR length = 0;
  if (!::SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kTimeoutMs, &length))
    return std::wstring();
  std::vector<wchar_t> buffer(length + 2, L'\0');
  DWORD_PTR copied = 0;
  if (!::SendMessageTimeoutW(window, WM_GETTEXT, buffer.size(),
                             reinterpret_cast<LPARAM>(buffer.data()), SMTO_ABORTIFHUNG, kTimeoutMs,
                             &copied))
    return std::wstring();
  return std::wstring(buffer.data(), copied < buffer.size() ? copied : buffer.size() - 1);
}

std::wstring ListBoxLine(HWND listBox, int index) {
  DWORD_PTR length = 0;
  if (!::SendMessageTimeoutW(listBox, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0,
                             SMTO_ABORTIFHUNG, kTimeoutMs, &length) ||
      static_cast<LONG_PTR>(length) == LB_ERR)
    return std::wstring();
  std::vector<wchar_t> buffer(length + 2, L'\0');
  DWORD_PTR copied = 0;
  if (!::SendMessageTimeoutW(listBox, LB_GETTEXT, static_cast<WPARAM>(index),
                             reinterpret_cast<LPARAM>(buffer.data()), SMTO_ABORTIFHUNG, kTimeoutMs,
                             &copied) ||
      static_cast<LONG_PTR>(copied) == LB_ERR)
    return std::wstring();
  return std::wstring(buffer.data(), copied <= length ? copied : length);
}

std::string OneLine(const std::wstring& text) {
  std::wstring line;
  for (wchar_t c : text) {
    if (c == L'\r') {
      line += L"\\r";
    } else if (c == L'\n') {
      line += L"\\n";
    } else if (c == L'\\') {
      line += L"\\\\";
    } else {
      line += c;
    }
  }
  return ToUtf8(line);
}

void PrintLine(const std::string& line) {
  std::fwrite(line.data(), 1, line.size(), stdout);
  std::fputc('\n', stdout);
  std::fflush(stdout);
}

}  // namespace uidriver
