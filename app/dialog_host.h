// What the dialogs' own logic asks of their windows. The Win32 layer implements
// these on real dialogs; host tests use fakes.
#pragma once
#include <cstdint>
#include <string>

#include "engine/uninstall_view.h"

enum class ChineseFont {
  kCreateGlobal,  // delete what g_fontChinese holds, create the font into it, apply it
  kCreateOwn,     // the dialog's own font object, deleted with the dialog
  kApplyGlobal,   // apply what g_fontChinese holds (a null font when it holds none)
};

class DialogHost {
 public:
  virtual ~DialogHost() = default;
  // Sends the font to the dialog and then to each direct child in window order.
  virtual void ApplyChineseFont(ChineseFont font) = 0;
  virtual void SetItemText(int id, const std::string& text) = 0;
  virtual void SetCaption(const std::string& text) = 0;
  // Message box owned by the dialog, captioned with the application title, OK
  // button, no icon.
  virtual int ShowOwnedMessageBox(const char* text) = 0;
  virtual void EndDialog(int result) = 0;
};

class MainDialogHost : public DialogHost, public UninstallView {
 public:
  virtual bool HasSystemMenu() = 0;
  // Appends a separator, then a string item with command id 16 and this text.
  virtual void AppendAboutMenuItem(const std::string& text) = 0;
  // Big icon, then small icon: the application icon.
  virtual void SetDialogIcons() = 0;
  // Adds to the component list's extended list-view style.
  virtual void AddComponentListExtendedStyle(uint32_t style) = 0;
  // Runs the About box modally.
  virtual void ShowAboutBox() = 0;
};
