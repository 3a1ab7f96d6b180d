// The profile reader works on pointers into the text loaded once by ProfileFile,
// with no allocation per line and names compared in place. Loading finds every
// section header once, stopping only at "[" characters; a lookup compares the
// names of those headers and reads lines one by one only inside the first section
// of its name. So the INF folder's case, two lookups of sections most files do not
// have, costs one search for a byte value per file. The byte searches are our own,
// 16 bytes at a time where SSE2 is there and a word at a time elsewhere: the C
// runtime's memchr is a plain byte loop in some runtimes. The text's buffer and the
// list of headers are handed on to the thread's next file.
//
// Choices beyond the rules in the header:
// - a line without "=" is a key without a value: looking it up gives the default,
//   and it hides later lines of the same key, as in the Windows reader;
// - an empty section name (after trimming) and a null name give the default; an
//   empty key name is a name like any other, so it finds a line "=value";
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

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

// The first c in [begin, end), or end.
const char* FindByte(const char* begin, const char* end, char c) {
#if defined(__SSE2__)
  // 64 bytes a step while nothing matches, then 16 to find the match itself.
  const __m128i wanted = _mm_set1_epi8(c);
  const auto matches = [&wanted](const char* p) {
    return _mm_cmpeq_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)), wanted);
  };
  while (end - begin >= 64) {
    const __m128i any = _mm_or_si128(_mm_or_si128(matches(begin), matches(begin + 16)),
                                     _mm_or_si128(matches(begin + 32), matches(begin + 48)));
    if (_mm_movemask_epi8(any) != 0) break;
    begin += 64;
  }
  while (end - begin >= 16) {
    const unsigned found = static_cast<unsigned>(_mm_movemask_epi8(matches(begin)));
    if (found != 0) return begin + __builtin_ctz(found);
    begin += 16;
  }
#else
  // A word at a time: a word holds c when (word ^ pattern) has a zero byte.
  using Word = uintptr_t;
  constexpr Word kOnes = ~Word{0} / 0xFF;
  const Word pattern = kOnes * static_cast<unsigned char>(c);
  while (static_cast<size_t>(end - begin) >= sizeof(Word)) {
    Word word;
    std::memcpy(&word, begin, sizeof word);
    word ^= pattern;
    if ((word - kOnes) & ~word & (kOnes << 7)) break;
    begin += sizeof(Word);
  }
#endif
  while (begin < end && *begin != c) ++begin;
  return begin;
}

// The first c in s, or null.
const char* Find(Span s, char c) {
  const char* found = FindByte(s.begin, s.end, c);
  return found < s.end ? found : nullptr;
}

// Splits the text into lines ended by CR, LF or CRLF. The next CR and the next LF
// are each searched with memchr and remembered until passed, so the text is
// scanned once even when a file uses only one of them.
class LineCursor {
 public:
  explicit LineCursor(Span text)
      : pos_(text.begin), end_(text.end), next_cr_(Search('\r')), next_lf_(Search('\n')) {}

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
  const char* Search(char c) const { return FindByte(pos_, end_, c); }

  const char* pos_;
  const char* end_;
  const char* next_cr_;
  const char* next_lf_;
};

// True when the "[" at bracket starts its line: only blanks lie between it and
// the previous CR or LF, or the start of the text.
bool StartsLine(const char* text, const char* bracket) {
  const char* p = bracket;
  while (p > text && IsBlank(p[-1])) --p;
  return p == text || p[-1] == '\r' || p[-1] == '\n';
}

// The first section header at or after from (its "["), or end.
const char* NextHeader(const char* text, const char* from, const char* end) {
  for (const char* p = FindByte(from, end, '['); p < end; p = FindByte(p + 1, end, '[')) {
    if (StartsLine(text, p)) return p;
  }
  return end;
}

// The end of a section's name: its first "]", or the end of its line.
const char* NameEnd(const char* p, const char* end) {
#if defined(__SSE2__)
  const __m128i close = _mm_set1_epi8(']'), cr = _mm_set1_epi8('\r'), lf = _mm_set1_epi8('\n');
  while (end - p >= 16) {
    const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    const __m128i stops =
        _mm_or_si128(_mm_cmpeq_epi8(block, close),
                     _mm_or_si128(_mm_cmpeq_epi8(block, cr), _mm_cmpeq_epi8(block, lf)));
    const unsigned found = static_cast<unsigned>(_mm_movemask_epi8(stops));
    if (found != 0) return p + __builtin_ctz(found);
    p += 16;
  }
#endif
  while (p < end && *p != ']' && *p != '\r' && *p != '\n') ++p;
  return p;
}

// The value of key among the lines of one section's body, which starts where the
// header's name ends (no header among its lines); false when the key is missing
// or its first line has no "=".
bool FindKey(Span body, Span key, Span* value) {
  LineCursor lines(body);
  Span line;
  lines.Next(&line);  // the rest of the header's line
  while (lines.Next(&line)) {
    line = Trim(line);
    if (line.empty() || *line.begin == ';') continue;
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

// The UTF-16LE code unit at index i of the units that start at in. Both targets
// are little-endian, but the bytes are read one by one: nothing needs alignment.
uint16_t UnitAt(const unsigned char* in, size_t i) {
  return static_cast<uint16_t>(in[2 * i] | in[2 * i + 1] << 8);
}

// Copies the ASCII units from unit *i on to out as bytes, up to the first other
// unit or count; advances *i and returns the number of bytes written. out may lie
// in the same text before the units: each block is read before it is written.
size_t CopyAsciiUnits(const unsigned char* in, size_t* i, size_t count, char* out) {
  size_t next = *i;
  size_t written = 0;
#if defined(__SSE2__)
  const __m128i notAscii = _mm_set1_epi16(static_cast<short>(0xFF80));
  const __m128i zero = _mm_setzero_si128();
  while (count - next >= 16) {
    const __m128i low = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + 2 * next));
    const __m128i high = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + 2 * next + 16));
    const __m128i other = _mm_and_si128(_mm_or_si128(low, high), notAscii);
    if (_mm_movemask_epi8(_mm_cmpeq_epi16(other, zero)) != 0xFFFF) break;
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + written), _mm_packus_epi16(low, high));
    next += 16;
    written += 16;
  }
#endif
  for (; next < count; ++next) {
    const uint16_t unit = UnitAt(in, next);
    if (unit >= 0x80) break;
    out[written++] = static_cast<char>(unit);
  }
  *i = next;
  return written;
}

// Converts a UTF-16LE file (its mark included) to narrow text in its own buffer:
// ASCII units become one byte each, every run of other units goes through
// Utf16ToNarrow (which treats ASCII the same way, so the result is the same as
// converting the whole text at once). The narrow text of the units read so far
// stays in front of the units not yet read, unless a code page writes more
// bytes for a run than its units had; from that run on the rest is converted
// into a separate string. An odd last byte is not part of any unit.
void NarrowUtf16InPlace(std::string* text) {
  const size_t count = (text->size() - 2) / 2;
  char* const out = &(*text)[0];
  const unsigned char* const in = reinterpret_cast<const unsigned char*>(out) + 2;
  std::vector<uint16_t> run;
  std::string narrow;
  size_t i = 0;
  size_t written = 0;
  while (i < count) {
    written += CopyAsciiUnits(in, &i, count, out + written);
    const size_t start = i;
    while (i < count && UnitAt(in, i) >= 0x80) ++i;
    if (i == start) continue;
    run.resize(i - start);
    for (size_t k = 0; k < run.size(); ++k) run[k] = UnitAt(in, start + k);
    Utf16ToNarrow(run.data(), run.size(), &narrow);
    if (written + narrow.size() > 2 + 2 * i) {  // would overwrite units not yet read
      run.resize(count - start);
      for (size_t k = 0; k < run.size(); ++k) run[k] = UnitAt(in, start + k);
      Utf16ToNarrow(run.data(), run.size(), &narrow);
      text->resize(written);
      text->append(narrow);
      return;
    }
    std::memcpy(out + written, narrow.data(), narrow.size());
    written += narrow.size();
  }
  text->resize(written);
}

// What the last file read on this thread leaves for the next one: a scan of the
// INF folder then reads each file into memory it already has, instead of
// allocating (on Windows: committing fresh pages for) every large file. Larger
// buffers are not kept, so a thread never holds more than this after its reads.
constexpr size_t kKeptBufferLimit = size_t{8} << 20;

std::string& SpareText() {
  thread_local std::string spare;
  return spare;
}

std::vector<size_t>& SpareSections() {
  thread_local std::vector<size_t> spare;
  return spare;
}

template <typename Buffer>
void KeepForNextFile(Buffer* used, Buffer* spare, size_t itemSize) {
  if (used->capacity() > spare->capacity() && used->capacity() * itemSize <= kKeptBufferLimit) {
    used->clear();
    spare->swap(*used);
  }
}

// The value of key in the first section named section (sections: four offsets a
// header, as ProfileFile keeps them); false when the section or the key is missing
// or the key has no "=". Later sections of the same name are invisible: only the
// first one's body is read.
bool FindValue(const std::string& text, const std::vector<size_t>& sections, Span section, Span key,
               Span* value) {
  if (section.empty()) return false;
  const char* const base = text.data();
  for (size_t i = 0; i + 4 <= sections.size(); i += 4) {
    if (SameName({base + sections[i], base + sections[i + 1]}, section)) {
      return FindKey({base + sections[i + 2], base + sections[i + 3]}, key, value);
    }
  }
  return false;
}

}  // namespace

ProfileFile::ProfileFile(FileSystem& files, const char* path) {
  text_.swap(SpareText());
  sections_.swap(SpareSections());
  if (path == nullptr || files.ReadWholeFile(path, &text_) != win::kSuccess) {
    text_.clear();
    return;
  }
  loaded_ = true;
  if (StartsWithUtf16Mark(text_)) NarrowUtf16InPlace(&text_);

  const char* const begin = text_.data();
  const char* const end = begin + text_.size();
  for (const char* header = NextHeader(begin, begin, end); header < end;) {
    const Span name = Trim({header + 1, NameEnd(header + 1, end)});
    const char* const body = name.end;  // trailing blanks and "]" fall in the skipped rest
    const char* const next = NextHeader(begin, body, end);
    sections_.insert(
        sections_.end(),
        {static_cast<size_t>(name.begin - begin), static_cast<size_t>(name.end - begin),
         static_cast<size_t>(body - begin), static_cast<size_t>(next - begin)});
    header = next;
  }
}

ProfileFile::~ProfileFile() {
  KeepForNextFile(&text_, &SpareText(), sizeof(char));
  KeepForNextFile(&sections_, &SpareSections(), sizeof(size_t));
}

uint32_t ProfileFile::GetString(const char* section, const char* key, const char* def, char* out,
                                uint32_t size) const {
  if (size == 0 || out == nullptr) return 0;
  Span value;
  if (section == nullptr || key == nullptr ||
      !FindValue(text_, sections_, Trim(SpanOf(section)), Trim(SpanOf(key)), &value)) {
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
