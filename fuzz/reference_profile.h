// A plain, line-by-line reader with the rules of plat::ProfileFile, written for
// clarity rather than speed: the fuzz targets compare the real reader's answers
// with its answers. It reads narrow text: NarrowText converts a file's bytes.
#pragma once
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "platform/profile_reader.h"

namespace fuzz {

// The text a file's bytes stand for: a file that starts with FF FE is UTF-16LE
// (an odd last byte is no unit), any other is narrow text as it is.
inline std::string NarrowText(const std::string& bytes) {
  if (bytes.size() < 2 || bytes[0] != '\xFF' || bytes[1] != '\xFE') return bytes;
  std::vector<uint16_t> units((bytes.size() - 2) / 2);
  for (size_t i = 0; i < units.size(); ++i)
    units[i] = static_cast<uint16_t>(static_cast<unsigned char>(bytes[2 + 2 * i]) |
                                     static_cast<unsigned char>(bytes[3 + 2 * i]) << 8);
  std::string text;
  plat::Utf16ToNarrow(units.data(), units.size(), &text);
  return text;
}

inline bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\v'; }

inline std::string Trim(const std::string& s) {
  size_t begin = 0;
  size_t end = s.size();
  while (begin < end && IsBlank(s[begin])) ++begin;
  while (end > begin && IsBlank(s[end - 1])) --end;
  return s.substr(begin, end - begin);
}

inline bool SameName(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char x = a[i];
    char y = b[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

// The value of key in the first section named section; false when missing.
inline bool ReferenceFind(const std::string& text, const std::string& sectionIn,
                          const std::string& keyIn, std::string* value) {
  const std::string section = Trim(sectionIn);
  const std::string key = Trim(keyIn);
  // An empty key is a name like any other: it finds a line "=value".
  if (section.empty()) return false;
  bool inSection = false;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t stop = pos;
    while (stop < text.size() && text[stop] != '\r' && text[stop] != '\n') ++stop;
    const std::string line = Trim(text.substr(pos, stop - pos));
    pos = stop + 1;
    if (!line.empty() && line[0] == '[') {
      if (inSection) return false;  // only the first section of the name counts
      const size_t close = line.find(']');
      const std::string name =
          Trim(line.substr(1, close == std::string::npos ? std::string::npos : close - 1));
      inSection = SameName(name, section);
      continue;
    }
    if (!inSection || line.empty() || line[0] == ';') continue;
    const size_t equals = line.find('=');
    std::string name = line.substr(0, equals);
    while (!name.empty() && IsBlank(name.back())) name.pop_back();
    if (!SameName(name, key)) continue;
    if (equals == std::string::npos) return false;
    std::string found = line.substr(equals + 1);
    const size_t nul = found.find('\0');
    if (nul != std::string::npos) found.resize(nul);
    found = Trim(found);
    if (found.size() >= 2 && (found[0] == '"' || found[0] == '\'') && found.back() == found[0])
      found = found.substr(1, found.size() - 2);
    *value = found;
    return true;
  }
  return false;
}

// What GetString stores for these arguments (size > 0).
inline std::string ReferenceLookup(const std::string& text, const std::string& section,
                                   const std::string& key, const char* def, uint32_t size) {
  std::string value;
  if (!ReferenceFind(text, section, key, &value)) {
    value = def;
    while (!value.empty() && value.back() == ' ') value.pop_back();
  }
  if (value.size() > size - 1) value.resize(size - 1);
  return value;
}

}  // namespace fuzz
