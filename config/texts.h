// Texts of the language file language\uninstall.ini, the setup switch of
// DRVCONFIG\setup.ini and the Chinese font's parameters.
#pragma once
#include <cstdint>
#include <string>

#include "platform/files.h"

// Reader of one section of the language file under the current directory at the
// time the reader is made. Every text is read from the file when asked for.
class CLangSection {
 public:
  CLangSection(plat::FileSystem& files, const char* section);
  // A reader that reads nothing until Bind (the global g_Message).
  explicit CLangSection(const char* section);
  CLangSection(const CLangSection&) = delete;
  CLangSection& operator=(const CLangSection&) = delete;
  virtual ~CLangSection();

  // The text of key, cut to 1023 characters, with its first "\n" (backslash, n)
  // turned into CR LF. Each call gets its own copy. Empty when the file, the
  // section or the key is missing, or the path did not fit.
  std::string GetText(const char* key) const;

  // Binds the reader and takes the current directory now.
  void Bind(plat::FileSystem& files);

 private:
  plat::FileSystem* files_ = nullptr;
  char path_[260] = {};  // current directory + "\language\uninstall.ini"
  const char* section_ = "";
};

// The global reader of section "Message"; bound at program start.
extern CLangSection g_Message;

// A language text used as a format with one name argument: the first "%s" takes
// the name, "%%" gives "%", every other "%" stays as it is.
std::string FormatText(const std::string& format, const char* name);

// A value of section "DEVICENAME" of DRVCONFIG\setup.ini (default "0"), read like atoi.
int GetDeviceSetting(plat::FileSystem& files, const char* key);
// Chinese mode: LANGUAGE reads as 0 (a missing file or key included).
bool IsChineseMode(plat::FileSystem& files);

// Parameters of the Chinese dialog font (CreateFontA).
struct FontParameters {
  int height;
  int width, escapement, orientation;
  int weight;
  uint32_t italic, underline, strikeOut;
  uint32_t charSet;
  uint32_t outPrecision, clipPrecision, quality;
  uint32_t pitchAndFamily;
  const char* faceName;
};
extern const FontParameters kChineseFont;
