#include "app/win32/chinese_font.h"

#include "config/texts.h"

DialogFont g_fontChinese;

void DialogFont::CreateChinese() {
  Delete();
  const FontParameters& p = kChineseFont;
  font_ = CreateFontA(p.height, p.width, p.escapement, p.orientation, p.weight, p.italic,
                      p.underline, p.strikeOut, p.charSet, p.outPrecision, p.clipPrecision,
                      p.quality, p.pitchAndFamily, p.faceName);
}

void DialogFont::Delete() {
  if (font_ != nullptr) DeleteObject(font_);
  font_ = nullptr;
}

void ApplyDialogFont(HWND dialog, HFONT font) {
  const WPARAM handle = reinterpret_cast<WPARAM>(font);
  SendMessageA(dialog, WM_SETFONT, handle, TRUE);
  for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    SendMessageA(child, WM_SETFONT, handle, TRUE);
  }
}
