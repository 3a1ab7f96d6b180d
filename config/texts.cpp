#include "config/texts.h"

#include <cstring>

#include "config/text_keys.h"
#include "config/uninstall_ini.h"
#include "platform/profile_reader.h"

CLangSection g_Message(text::kSectionMessage);

namespace {

constexpr const char* kLanguageFile = "\\language\\uninstall.ini";
constexpr uint32_t kTextSize = 1024;  // texts are cut to 1023 characters
constexpr const char* kSetupFile = "DRVCONFIG\\setup.ini";
constexpr const char* kSetupSection = "DEVICENAME";
constexpr uint32_t kSetupValueSize = 200;

}  // namespace

CLangSection::CLangSection(plat::FileSystem& files, const char* section)
    : section_(section != nullptr ? section : "") {
  Bind(files);
}

CLangSection::CLangSection(const char* section) : section_(section != nullptr ? section : "") {}

// Every text is its caller's own copy, so there is no shared text to clear.
CLangSection::~CLangSection() = default;

void CLangSection::Bind(plat::FileSystem& files) {
  files_ = &files;
  path_[0] = '\0';
  std::string directory;
  // An unreadable current directory, or one too long for the path to fit, leaves
  // the path empty: the file counts as missing and every text is empty.
  if (files.CurrentDirectory(&directory) != win::kSuccess) return;
  const std::string path = directory + kLanguageFile;
  if (path.size() >= sizeof(path_)) return;
  std::memcpy(path_, path.c_str(), path.size() + 1);
}

std::string CLangSection::GetText(const char* key) const {
  if (files_ == nullptr || path_[0] == '\0' || key == nullptr) return std::string();
  char buffer[kTextSize];
  plat::ReadProfileString(*files_, section_, key, "", buffer, kTextSize, path_);
  std::string text(buffer);
  // The file cannot hold a line break, so its first "\n" stands for one.
  const size_t escape = text.find("\\n");
  if (escape != std::string::npos) text.replace(escape, 2, "\r\n");
  return text;
}

std::string FormatText(const std::string& format, const char* name) {
  // A language file comes with the package and may be wrong or hostile: only the
  // single name argument is ever substituted, nothing else is interpreted.
  std::string out;
  out.reserve(format.size());
  bool nameUsed = false;
  for (size_t i = 0; i < format.size(); ++i) {
    const char c = format[i];
    const char next = i + 1 < format.size() ? format[i + 1] : '\0';
    if (c == '%' && next == '%') {
      out += '%';
      ++i;
    } else if (c == '%' && next == 's' && !nameUsed) {
      out += name != nullptr ? name : "";
      nameUsed = true;
      ++i;
    } else {
      out += c;
    }
  }
  return out;
}

int GetDeviceSetting(plat::FileSystem& files, const char* key) {
  char value[kSetupValueSize];
  plat::ReadProfileString(files, kSetupSection, key, "0", value, kSetupValueSize, kSetupFile);
  return ParseCount(value);
}

bool IsChineseMode(plat::FileSystem& files) { return GetDeviceSetting(files, "LANGUAGE") == 0; }

// "宋体", 13 units high, GB2312, default pitch in the Swiss family.
const FontParameters kChineseFont = {
    13, 0, 0, 0, 400, 0, 0, 0, 134, 0, 0, 0, 0x20, text::kChineseFontFace,
};
