// The Chinese dialog font and the rule that hands a font to a dialog.
#pragma once
#include <windows.h>

// Owns one GDI font; the font is deleted when the object goes or is re-created.
class DialogFont {
 public:
  DialogFont() = default;
  DialogFont(const DialogFont&) = delete;
  DialogFont& operator=(const DialogFont&) = delete;
  ~DialogFont() { Delete(); }

  // Deletes the font held, then creates the Chinese font (null when that fails).
  void CreateChinese();
  void Delete();
  HFONT get() const { return font_; }

 private:
  HFONT font_ = nullptr;
};

// The main dialog's Chinese font, kept until the program ends; the restart prompt
// applies whatever it holds.
extern DialogFont g_fontChinese;

// Sends the font (redraw on) to the dialog, then to each direct child in window order.
void ApplyDialogFont(HWND dialog, HFONT font);
