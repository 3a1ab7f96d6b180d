// Starts a Windows program, times how long it takes until one of its top-level
// windows is visible, reads the process's memory counters, then closes it.
//
// Usage: win_launch PROGRAM WORKING_DIR [SETTLE_MS]
// Prints "dialog_shown_ms: N", then, after SETTLE_MS more (default 500) so that
// the dialog's initialisation has finished, the memory counters in KiB:
// "peak_working_set_kib", "working_set_kib", "peak_pagefile_kib" (the peak of
// the process's private committed memory) and "pagefile_kib".
#include <windows.h>
// psapi.h needs the types of windows.h.
#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench/timing.h"

namespace {

struct WindowSearch {
  DWORD processId;
  HWND found;
};

BOOL CALLBACK FindVisibleWindow(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<WindowSearch*>(param);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner == search->processId && IsWindowVisible(window)) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

HWND VisibleWindowOf(DWORD processId) {
  WindowSearch search{processId, nullptr};
  EnumWindows(FindVisibleWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: %s PROGRAM WORKING_DIR [SETTLE_MS]\n", argv[0]);
    return 2;
  }
  const int settleMs = argc > 3 ? std::atoi(argv[3]) : 500;
  std::string command = std::string("\"") + argv[1] + "\"";
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};

  const double start = bench::NowMs();
  if (!CreateProcessA(argv[1], &command[0], nullptr, nullptr, FALSE, 0, nullptr, argv[2], &startup,
                      &process)) {
    std::fprintf(stderr, "cannot start %s: error %lu\n", argv[1], GetLastError());
    return 1;
  }
  HWND window = nullptr;
  while (!window) {
    if (WaitForSingleObject(process.hProcess, 1) == WAIT_OBJECT_0) break;
    window = VisibleWindowOf(process.dwProcessId);
    if (bench::NowMs() - start > 30000) break;
  }
  const double shownMs = bench::NowMs() - start;
  int result = 0;
  if (!window) {
    std::fprintf(stderr, "%s showed no window\n", argv[1]);
    result = 1;
  } else {
    std::printf("dialog_shown_ms: %.1f\n", shownMs);
    char title[256] = "";
    GetWindowTextA(window, title, sizeof title);
    std::printf("window_title: %s\n", title);
    Sleep(static_cast<DWORD>(settleMs));
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    if (GetProcessMemoryInfo(process.hProcess, &counters, sizeof counters)) {
      std::printf("peak_working_set_kib: %zu\n", counters.PeakWorkingSetSize / 1024);
      std::printf("working_set_kib: %zu\n", counters.WorkingSetSize / 1024);
      std::printf("peak_pagefile_kib: %zu\n", counters.PeakPagefileUsage / 1024);
      std::printf("pagefile_kib: %zu\n", counters.PagefileUsage / 1024);
    } else {
      std::fprintf(stderr, "GetProcessMemoryInfo: error %lu\n", GetLastError());
      result = 1;
    }
    PostMessageA(window, WM_CLOSE, 0, 0);
  }
  if (WaitForSingleObject(process.hProcess, 5000) != WAIT_OBJECT_0) {
    TerminateProcess(process.hProcess, 1);
    WaitForSingleObject(process.hProcess, 5000);
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return result;
}
