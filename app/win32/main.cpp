// Entry point of Uninstall.exe: the application title, the global "Message"
// reader, then start-up with the main dialog.
#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include "app/uninstall_app.h"
#include "app/win32/main_dialog.h"
#include "app/win32/message_box.h"
#include "config/texts.h"
#include "platform/win32/win32_platform.h"

namespace {

// The full path of the program file, however long.
std::string ProgramPath() {
  for (DWORD size = MAX_PATH;; size *= 2) {
    std::vector<char> buffer(size, '\0');
    const DWORD length = GetModuleFileNameA(nullptr, buffer.data(), size);
    if (length == 0) return std::string();
    if (length < size || size >= 32768) return std::string(buffer.data(), length);
  }
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  InitCommonControls();  // registers the list-view class of the main dialog

  const std::string title = ApplicationTitle(ProgramPath().c_str());
  SetApplicationTitle(title);
  win32::Win32Platform machine;
  machine.desktop().SetApplicationTitle(title.c_str());

  // Its path is the current directory at program start.
  g_Message.Bind(machine.platform().files);

  return InitInstance(machine.platform(), title, [&machine](bool chineseFont) {
    MainDialog dialog(machine);
    dialog.logic().m_bChineseFont = chineseFont ? 1 : 0;
    dialog.RunModal(nullptr);  // its result means nothing here
  });
}
