#include "config/uninstall_ini.h"

#include <climits>
#include <cstring>
#include <string>

#include "platform/os_type.h"
#include "platform/profile_reader.h"

char g_szUninstallIni[kUninstallIniSize] = {};

namespace {

constexpr const char* kIniName = "Uninstall.ini";
constexpr const char* kSubFolder = "DRVCONFIG\\";
// Longest path the fixed buffers hold: 255 characters and the terminator.
constexpr size_t kMaxPath = kUninstallIniSize - 1;

// Closes a directory search on every path.
class SearchHandle {
 public:
  explicit SearchHandle(plat::FileSystem& files) : files_(files) {}
  SearchHandle(const SearchHandle&) = delete;
  SearchHandle& operator=(const SearchHandle&) = delete;
  ~SearchHandle() {
    if (handle_ != 0) files_.FindClose(handle_);
  }
  plat::FindHandle* out() { return &handle_; }
  plat::FindHandle get() const { return handle_; }

 private:
  plat::FileSystem& files_;
  plat::FindHandle handle_ = 0;
};

enum class FolderResult { kFound, kNotFound, kCannotList };

// Lists folder (ending in a separator), resets the attributes of every entry but
// "." and ".." to archive alone, and stops at the first entry whose name holds
// "Uninstall.ini". The folder itself and its parent are left alone: a package
// must never change folders it does not own.
FolderResult SearchFolder(plat::FileSystem& files, const std::string& folder) {
  const std::string pattern = folder + "*.*";
  plat::FindData entry;
  SearchHandle search(files);
  if (files.FindFirst(pattern.c_str(), search.out(), &entry) != win::kSuccess)
    return FolderResult::kCannotList;
  do {
    if (entry.name == "." || entry.name == "..") continue;
    const std::string path = folder + entry.name;
    // An entry whose full path does not fit the 255-character work buffer is
    // passed over: it is neither changed nor taken as the configuration.
    if (path.size() > kMaxPath) continue;
    files.SetAttributes(path.c_str(), win::kFileAttributeArchive);  // best effort
    if (entry.name.find(kIniName) != std::string::npos) return FolderResult::kFound;
  } while (files.FindNext(search.get(), &entry) == win::kSuccess);
  return FolderResult::kNotFound;
}

}  // namespace

const char* FindUninstallIni(plat::FileSystem& files) {
  g_szUninstallIni[0] = '\0';
  std::string current;
  if (files.CurrentDirectory(&current) != win::kSuccess) return "IDS_ERR_GETSYSDIR";

  // A folder whose configuration path (folder + "Uninstall.ini") would not fit in
  // g_szUninstallIni is not searched at all: it is treated as holding no
  // configuration, so a very long current directory ends in "IDS_ERR_NOINI".
  const size_t nameLength = std::strlen(kIniName);
  std::string folder = current + "\\";
  for (int pass = 0; pass < 2; ++pass) {
    if (pass == 1) folder += kSubFolder;
    if (folder.size() + nameLength > kMaxPath) continue;
    switch (SearchFolder(files, folder)) {
      case FolderResult::kCannotList:
        return "IDS_ERR_INVALID";
      case FolderResult::kFound: {
        const std::string path = folder + kIniName;
        std::memcpy(g_szUninstallIni, path.c_str(), path.size() + 1);
        return nullptr;
      }
      case FolderResult::kNotFound:
        break;
    }
  }
  return "IDS_ERR_NOINI";
}

int ParseCount(const char* text) {
  if (text == nullptr) return 0;
  const char* p = text;
  while (*p == ' ' || (*p >= '\t' && *p <= '\r')) ++p;
  bool negative = false;
  if (*p == '+' || *p == '-') negative = (*p++ == '-');
  // Saturates where atoi's overflow would be undefined.
  constexpr long long kLimit = static_cast<long long>(INT_MAX) + 1;
  long long magnitude = 0;
  for (; *p >= '0' && *p <= '9'; ++p) {
    magnitude = magnitude * 10 + (*p - '0');
    if (magnitude > kLimit) magnitude = kLimit;
  }
  if (negative) return static_cast<int>(-magnitude);
  return static_cast<int>(magnitude < kLimit ? magnitude : INT_MAX);
}

bool NumberedKey(const char* base, int n, char* out, size_t size) {
  if (out == nullptr || size == 0) return false;
  out[0] = '\0';
  if (base == nullptr) return false;
  // The number is one character, "0" + n; past code 255 there is no character
  // left, and code 0 would end the key.
  const int code = 0x30 + n;
  if (code < 1 || code > 0xFF) return false;
  const size_t baseLength = std::strlen(base);
  if (baseLength + 2 > size) return false;
  std::memcpy(out, base, baseLength);
  out[baseLength] = static_cast<char>(static_cast<unsigned char>(code));
  out[baseLength + 1] = '\0';
  return true;
}

bool PerOsSectionName(const char* name, bool stripSpaces, int osType, ConfigValue& out) {
  out[0] = '\0';
  std::string section;
  for (const char* p = name != nullptr ? name : ""; *p != '\0'; ++p) {
    if (stripSpaces && *p == ' ') continue;
    section += *p;
  }
  section += OsSuffix(osType);
  if (section.size() > kConfigValueSize - 1) return false;
  std::memcpy(out, section.c_str(), section.size() + 1);
  return true;
}

uint32_t ReadConfigValue(plat::FileSystem& files, const char* section, const char* key,
                         ConfigValue& out) {
  return plat::ReadProfileString(files, section, key, "0", out,
                                 static_cast<uint32_t>(kConfigValueSize), g_szUninstallIni);
}
