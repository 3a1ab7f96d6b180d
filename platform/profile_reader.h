// Our own reader of .ini and .inf files, with the rules of the Windows profile
// reader for reading one key of one section:
// - section and key names compared without regard to ASCII case; blanks around the
//   names passed in are ignored;
// - lines end at CR, LF or CRLF and are trimmed of space, tab and vertical tab; a
//   section header is a line starting with "[", its name ending at the first "]"
//   (or at the end of the line);
// - the first section of a name and the first key of a name win; lines before the
//   first section belong to none;
// - a line whose key starts with ";" is a comment ("#" is not);
// - the key is the trimmed text before the first "=", the value the trimmed text
//   after it; a value of two or more characters enclosed in a matching pair of '
//   or " loses that pair;
// - "key=" gives the empty text; a missing file, section or key gives the default
//   (trailing blanks removed); the result is cut to size - 1 characters;
// - a file starting with FF FE is UTF-16LE and is converted to narrow text.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "platform/files.h"

namespace plat {

// One file read once, for several lookups. Nothing outlives the object.
class ProfileFile {
 public:
  // Reads path (relative to the current directory). A missing or unreadable file
  // leaves the object empty: every lookup then gives the default.
  ProfileFile(FileSystem& files, const char* path);
  ~ProfileFile();  // hands the text's buffer on to the thread's next file

  // GetPrivateProfileStringA(section, key, def, out, size): stores at most
  // size - 1 characters and the terminator, returns the count stored. size 0
  // stores nothing and returns 0.
  uint32_t GetString(const char* section, const char* key, const char* def, char* out,
                     uint32_t size) const;

  bool loaded() const { return loaded_; }

 private:
  std::string text_;  // narrow text of the file
  // Every section header in file order, found once at load: four offsets into
  // text_ each, the begin and end of its trimmed name and of its body (the lines up
  // to the next header).
  std::vector<size_t> sections_;
  bool loaded_ = false;
};

// One lookup: reads the file, looks up the key and forgets the file.
uint32_t ReadProfileString(FileSystem& files, const char* section, const char* key, const char* def,
                           char* out, uint32_t size, const char* path);

// Converts UTF-16LE code units to narrow text: ASCII exactly; every other
// character through the ANSI code page on Windows, as '?' on the host.
void Utf16ToNarrow(const uint16_t* units, size_t count, std::string* out);

}  // namespace plat
