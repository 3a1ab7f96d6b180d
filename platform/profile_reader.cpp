// The profile reader works on pointers into the text loaded once by ProfileFile:
// a lookup is one pass over the text, with no allocation per line and names
// compared in place.
//
// Choices beyond the rules in the header:
// - a line without "=" is a key without a value: looking it up gives the default,
//   and it hides later lines of the same key, as in the Windows reader;
// - an empty section or key name (after trimming) and a null name give the
//   default;
// - NUL bytes are ordinary bytes of a line, so a section or key name holding one
//   never matches a name passed in (those end at their NUL); a value ends at its
//   first NUL, so that the count returned is the length the caller sees;
// - names are compared byte by byte, folding only ASCII letters, so a double-byte
//   character matches only itself;
// - a section header without "]" still opens a section named by the rest of the
//   line;
// - the default is stored as given, with only its trailing spaces removed (as in
//   the Windows reader, tabs stay; no quotes are taken off it).
#include "platform/profile_reader.h"

#include <cstring>
#include <vector>

namespace plat {
namespace {

// A piece of the loaded text (or of a caller's string), never owning it.
struct Span {
  const char* begin;
  const char* end;

  size_t size() const { return static_cast<size_t>(end - begin); }
  bool empty() const { return begin == end; }
};

Span SpanOf(const char* text) { return {text, text + std::strlen(text)}; }

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\v'; }

Span TrimRight(Span s) {
  while (s.end > s.begin && IsBlank(s.end[-1])) --s.end;
  return s;
}

Span Trim(Span s) {
  while (s.begin < s.end && IsBlank(*s.begin)) ++s.begin;
  return TrimRight(s);
}

char FoldCase(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameName(Span a, Span b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (FoldCase(a.begin[i]) != FoldCase(b.begin[i])) return false;
  }
  return true;
}

const char* Find(Span s, char c) {
  return static_cast<const char*>(std::memchr(s.begin, c, s.size()));
}

// Splits the text into lines ended by CR, LF or CRLF. The next CR and the next LF
// are each searched with memchr and remembered until passed, so the text is
// scanned once even when a file uses only one of them.
class LineCursor {
 public:
  explicit LineCursor(const std::string& text)
      : pos_(text.data()),
        end_(text.data() + text.size()),
        next_cr_(Search('\r')),
        next_lf_(Search('\n')) {}

  // The next line, untrimmed; false at the end of the text. The LF of a CRLF
  // comes back as an empty line, which readers skip like any empty line.
  bool Next(Span* line) {
    if (pos_ >= end_) return false;
    if (next_cr_ < pos_) next_cr_ = Search('\r');
    if (next_lf_ < pos_) next_lf_ = Search('\n');
    const char* stop = next_cr_ < next_lf_ ? next_cr_ : next_lf_;
    *line = {pos_, stop};
    pos_ = stop < end_ ? stop + 1 : end_;
    return true;
  }

 private:
  // The next c from the current position, or the end of the text.
  const char* Search(char c) const {
    const char* found = Find({pos_, end_}, c);
    return found ? found : end_;
  }

  const char* pos_;
  const char* end_;
  const char* next_cr_;
  const char* next_lf_;
};

// The value of key in the first section named section; false when the section or
// the key is missing or the key has no "=".
bool FindValue(const std::string& text, Span section, Span key, Span* value) {
  if (section.empty() || key.empty()) return false;
  LineCursor lines(text);
  Span line;
  bool in_section = false;
  while (lines.Next(&line)) {
    line = Trim(line);
    if (line.empty()) continue;
    if (*line.begin == '[') {
      if (in_section) return false;  // later sections of the same name are invisible
      Span name{line.begin + 1, line.end};
      if (const char* close = Find(name, ']')) name.end = close;
      in_section = SameName(Trim(name), section);
      continue;
    }
    if (!in_section || *line.begin == ';') continue;
    const char* equals = Find(line, '=');
    if (!SameName(TrimRight({line.begin, equals ? equals : line.end}), key)) continue;
    if (!equals) return false;  // the first line of the key has no value
    Span found{equals + 1, line.end};
    if (const char* nul = Find(found, '\0')) found.end = nul;
    found = Trim(found);
    if (found.size() >= 2 && (*found.begin == '"' || *found.begin == '\'') &&
        found.end[-1] == *found.begin) {
      ++found.begin;
      --found.end;
    }
    *value = found;
    return true;
  }
  return false;
}

bool StartsWithUtf16Mark(const std::string& bytes) {
  return bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
         static_cast<unsigned char>(bytes[1]) == 0xFE;
}

}  // namespace

ProfileFile::ProfileFile(FileSystem& files, const char* path) {
  if (path == nullptr || files.ReadWholeFile(path, &text_) != win::kSuccess) {
    text_.clear();
    return;
  }
  loaded_ = true;
  if (!StartsWithUtf16Mark(text_)) return;
  // Both targets are little-endian, so the bytes after the mark are the code
  // units as they lie; an odd last byte is not part of any unit.
  std::vector<uint16_t> units((text_.size() - 2) / 2);
  if (!units.empty()) std::memcpy(units.data(), text_.data() + 2, units.size() * 2);
  Utf16ToNarrow(units.data(), units.size(), &text_);
}

uint32_t ProfileFile::GetString(const char* section, const char* key, const char* def, char* out,
                                uint32_t size) const {
  if (size == 0 || out == nullptr) return 0;
  Span value;
  if (section == nullptr || key == nullptr ||
      !FindValue(text_, Trim(SpanOf(section)), Trim(SpanOf(key)), &value)) {
    value = SpanOf(def ? def : "");
    while (value.end > value.begin && value.end[-1] == ' ') --value.end;
  }
  const size_t count = value.size() < size - 1 ? value.size() : size - 1;
  std::memmove(out, value.begin, count);  // the caller's default may lie in out
  out[count] = '\0';
  return static_cast<uint32_t>(count);
}

uint32_t ReadProfileString(FileSystem& files, const char* section, const char* key, const char* def,
                           char* out, uint32_t size, const char* path) {
  return ProfileFile(files, path).GetString(section, key, def, out, size);
}

}  // namespace plat
