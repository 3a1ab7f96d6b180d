// The profile reader on any bytes: the file as given, and the same bytes as a
// UTF-16LE file. Every lookup must give what the plain reference reader gives
// for the same narrow text, NUL-terminated within the caller's size.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "fuzz/reference_profile.h"
#include "fuzz/require.h"
#include "platform/profile_reader.h"
#include "tests/support/memory_files.h"

namespace {

constexpr const char* kPath = "C:\\pkg\\fuzz.ini";
constexpr size_t kMaxNames = 6;

// Section and key names as the file spells them (untrimmed, so blanks around them
// are tried too), and each also in upper case.
void CollectNames(const std::string& text, std::vector<std::string>* sections,
                  std::vector<std::string>* keys) {
  size_t pos = 0;
  while (pos < text.size() && (sections->size() < kMaxNames || keys->size() < kMaxNames)) {
    size_t stop = pos;
    while (stop < text.size() && text[stop] != '\r' && text[stop] != '\n') ++stop;
    const std::string line = text.substr(pos, stop - pos);
    pos = stop + 1;
    const size_t bracket = line.find('[');
    const size_t equals = line.find('=');
    std::string name;
    std::vector<std::string>* list = nullptr;
    if (bracket != std::string::npos && sections->size() < kMaxNames) {
      name = line.substr(bracket + 1, line.find(']', bracket) - bracket - 1);
      list = sections;
    } else if (keys->size() < kMaxNames) {
      name = line.substr(0, equals);
      list = keys;
    }
    if (list == nullptr) continue;
    name = name.substr(0, name.find('\0'));  // a name passed in ends at its NUL
    list->push_back(name);
    for (char& c : name)
      if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    list->push_back(name);
  }
  sections->push_back("missing");
  keys->push_back("missing");
}

// Every lookup of the file at kPath against the reference on narrow.
void CheckLookups(MemoryFiles& files, const std::string& narrow, uint32_t sizeSeed) {
  const plat::ProfileFile file(files, kPath);
  Require(file.loaded());
  std::vector<std::string> sections;
  std::vector<std::string> keys;
  CollectNames(narrow, &sections, &keys);
  const char* const defaults[] = {"", "0", "default  ", " \t "};
  char out[1100];
  size_t turn = 0;
  for (const std::string& section : sections) {
    for (const std::string& key : keys) {
      ++turn;
      const char* def = defaults[turn % 4];
      const std::string expected = fuzz::ReferenceLookup(narrow, section, key, def, sizeof out);
      // A size from the input, one just too small and one just right for the value.
      const uint32_t sizes[] = {1 + (sizeSeed + static_cast<uint32_t>(turn)) % 40,
                                static_cast<uint32_t>(expected.size()),
                                static_cast<uint32_t>(expected.size()) + 1};
      for (uint32_t size : sizes) {
        if (size == 0 || size >= sizeof out) continue;
        std::memset(out, 0x5A, sizeof out);
        const uint32_t count = file.GetString(section.c_str(), key.c_str(), def, out, size);
        const std::string cut = expected.substr(0, size - 1);
        Require(count == cut.size());
        Require(std::memcmp(out, cut.data(), cut.size()) == 0 && out[count] == '\0');
        Require(out[size] == 0x5A);  // nothing written past the size given
      }
    }
  }
  // Size 0 stores nothing; null names give the default.
  out[0] = 'x';
  Require(file.GetString("a", "b", "c", out, 0) == 0 && out[0] == 'x');
  Require(file.GetString(nullptr, "b", "c", out, 8) == 1 && std::string(out) == "c");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 2048) return 0;  // longer files find nothing new and slow every run
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const uint32_t sizeSeed = size > 0 ? data[0] : 0;
  MemoryFiles files;

  // The bytes as they are; a file that starts with FF FE is UTF-16LE.
  std::string narrow = fuzz::NarrowText(bytes);
  files.AddFile(kPath, bytes);
  CheckLookups(files, narrow, sizeSeed);

  // The same text as UTF-16LE: every byte of 0x80 and above becomes a character
  // the code page writes in one to four bytes.
  std::vector<uint16_t> units(bytes.size());
  std::string wide = "\xFF\xFE";
  for (size_t i = 0; i < bytes.size(); ++i) {
    const uint16_t unit = data[i] < 0x80 ? data[i] : static_cast<uint16_t>(data[i] * 0x101);
    units[i] = unit;
    wide.push_back(static_cast<char>(unit & 0xFF));
    wide.push_back(static_cast<char>(unit >> 8));
  }
  plat::Utf16ToNarrow(units.data(), units.size(), &narrow);
  files.AddFile(kPath, wide);
  CheckLookups(files, narrow, sizeSeed);
  return 0;
}
