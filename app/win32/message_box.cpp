#include "app/win32/message_box.h"

namespace {

std::string& Title() {
  static std::string title;
  return title;
}

}  // namespace

void SetApplicationTitle(const std::string& title) { Title() = title; }

const std::string& GetApplicationTitle() { return Title(); }

int ShowTitledMessageBox(HWND owner, const char* text, UINT type) {
  return MessageBoxA(owner, text, Title().c_str(), type);
}
