#include "app/uninstall_app.h"

#include "config/text_keys.h"
#include "config/texts.h"

std::string ApplicationTitle(const char* programPath) {
  std::string title = programPath != nullptr ? programPath : "";
  // The cut is made at the last dot of the whole path, as the framework always
  // has, even when that dot belongs to a folder name.
  const size_t dot = title.rfind('.');
  if (dot != std::string::npos) title.erase(dot);
  const size_t separator = title.find_last_of("\\/:");
  if (separator != std::string::npos) title.erase(0, separator + 1);
  return title;
}

int InitInstance(plat::Platform& platform, const std::string& appTitle,
                 const std::function<void(bool chineseFont)>& runDialog) {
  plat::Desktop& desktop = platform.desktop;

  // Owned until the process ends; a mutex that cannot be created at all does not
  // stop this copy.
  bool alreadyExisted = false;
  if (platform.system.CreateOwnedMutex(appTitle.c_str(), &alreadyExisted) && alreadyExisted) {
    if (const plat::WindowHandle running = desktop.FindTopLevelWindow(text::kRunningCopyTitle)) {
      desktop.SetForeground(running);
      if (desktop.IsMinimized(running)) desktop.Restore(running);
    }
    return 0;
  }

  if (desktop.FindTopLevelWindow(text::kInstallerTitleChinese) != 0 ||
      desktop.FindTopLevelWindow(text::kInstallerTitleEnglish) != 0) {
    const CLangSection texts(platform.files, text::kSectionUninstall);
    desktop.ShowMessageBox(texts.GetText(text::kClose).c_str(),
                           win::kMbOk | win::kMbIconExclamation);
    return 0;
  }

  runDialog(IsChineseMode(platform.files));
  return 0;
}
