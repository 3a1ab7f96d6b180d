// Differential run of our profile reader against the system's own
// GetPrivateProfileStringA: a corpus of small profile files made from a fixed seed
// (nothing is kept on disk after the run), each looked up several times through
// both readers on the same file. Every difference in the count returned or in the
// bytes stored is checked against the table of deliberate differences (README.md
// beside this file gives their reasons); the rest are printed and counted.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "platform/profile_reader.h"
#include "platform/win32/win32_files.h"
#include "platform/win32/windows_api.h"

namespace {

constexpr uint64_t kSeed = 0x5EED2026;
constexpr int kFiles = 3000;
constexpr int kLookupsPerFile = 4;
constexpr int kShownDifferences = 40;
constexpr char kGuard = '\x7F';
constexpr size_t kGuardBytes = 8;

// splitmix64: the same corpus on every run and every compiler.
class Random {
 public:
  explicit Random(uint64_t seed) : state_(seed) {}

  uint64_t Next() {
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  size_t Below(size_t n) { return static_cast<size_t>(Next() % n); }
  bool Chance(int percent) { return Below(100) < static_cast<size_t>(percent); }
  template <size_t N>
  const char* Pick(const char* const (&items)[N]) {
    return items[Below(N)];
  }

 private:
  uint64_t state_;
};

// A few names in several letter cases, so that lookups find, miss and meet
// duplicates differing in case.
const char* const kSections[] = {"S", "s", "Sec", "SEC", "sEc", "T", "ZTMONITOR", "ztMonitor"};
const char* const kKeys[] = {"k", "K", "key", "KEY", "Key", "v", "MonitorNUM", "MONITORNUM"};
const char* const kBlanks[] = {"", "", "", "", " ", "\t", "  ", " \t ", "\v", "\f"};
const char* const kEndings[] = {"\n", "\n", "\r\n", "\r\n", "\r", "\n\r", "\r\r\n"};
const char* const kValues[] = {
    "",       "1",     "v",        "v v",  "'x'",          "\"x\"", "'x\"",
    "\"",     "'",     "''",       "\"\"", "' x '",        "x'",    "\"a\" b \"c\"",
    "a;b",    "x # y", "a=b",      "[S]",  "value ; note", " ",     "'\"'",
    "\"x\" ", "2\t3",  "\xE4\xF6", "0",    "\"\"\"",       "'a'b'", "]"};
const char* const kDefaults[] = {
    "0",   "",     "def",        "0  ",
    " 0 ", "d\t ", "abc def   ", "a default of forty characters, quite so.",
    "'q'", "   "};

std::string Name(Random& random, const char* const* pool, size_t count) {
  return std::string(random.Pick(kBlanks)) + pool[random.Below(count)] + random.Pick(kBlanks);
}
std::string SectionName(Random& random) { return Name(random, kSections, std::size(kSections)); }
std::string KeyName(Random& random) { return Name(random, kKeys, std::size(kKeys)); }

std::string LongValue(Random& random) {
  static const size_t kLengths[] = {28, 29, 30, 31, 255, 256, 1022, 1023, 1024, 1500};
  const size_t length = kLengths[random.Below(std::size(kLengths))];
  std::string value;
  for (size_t i = 0; i < length; ++i) value += static_cast<char>('a' + (i * 7 + length) % 26);
  return value;
}

std::string RandomText(Random& random) {
  static const char kChars[] = "ab =;#[]'\"\t";
  std::string text;
  for (size_t n = random.Below(12); n > 0; --n) text += kChars[random.Below(sizeof kChars - 1)];
  return text;
}

std::string Value(Random& random) {
  if (random.Chance(8)) return LongValue(random);
  if (random.Chance(10)) return RandomText(random);
  return random.Pick(kValues);
}

std::string Header(Random& random) {
  const std::string name = SectionName(random);
  switch (random.Below(14)) {
    case 0:
      return "[" + name;  // no closing bracket
    case 1:
      return "[]";
    case 2:
      return "[" + name + "]" + name + "]";
    case 3:
      return "[" + name + "] trailing ; text";
    case 4:
      return "[[" + name + "]]";
    case 5:
      return "[" + name + "]=1";
    default:
      return random.Pick(kBlanks) + ("[" + name + "]") + random.Pick(kBlanks);
  }
}

std::string Line(Random& random) {
  const std::string lead = random.Pick(kBlanks);
  switch (random.Below(20)) {
    case 0:
    case 1:
    case 2:
      return Header(random);
    case 3:
      return lead + KeyName(random);  // a key without "="
    case 4:
      // Mostly ";" right before the key, as a key is commented out.
      return lead + ";" + (random.Chance(70) ? random.Pick(kKeys) : KeyName(random)) + "=" +
             Value(random);
    case 5:
      return lead + "#" + KeyName(random) + "=" + Value(random);
    case 6:
      return random.Pick(kBlanks);
    case 7:
      return lead + "=" + Value(random);
    case 8:
      return RandomText(random);
    default:
      return lead + KeyName(random) + "=" + Value(random);
  }
}

struct Lookup {
  std::string section;
  std::string key;
  std::string def;
  uint32_t size;
};

struct Profile {
  std::string bytes;  // the file's content as written
  bool missing = false;
};

std::string Utf16(const std::string& narrow) {
  std::string bytes = "\xFF\xFE";
  for (unsigned char c : narrow) {
    bytes += static_cast<char>(c);
    bytes += '\0';  // Latin-1 bytes are the same code points
  }
  return bytes;
}

Profile MakeProfile(Random& random) {
  Profile profile;
  if (random.Chance(2)) {
    profile.missing = true;
    return profile;
  }
  std::string text;
  if (random.Chance(3)) text += "\xEF\xBB\xBF";  // a UTF-8 mark
  const size_t lines = random.Chance(4) ? 0 : 1 + random.Below(9);
  for (size_t i = 0; i < lines; ++i) {
    text += Line(random);
    if (i + 1 < lines || random.Chance(80)) text += random.Pick(kEndings);
  }
  if (text.compare(0, 3, "\xEF\xBB\xBF") == 0) {
    // The mark alone is under test: no bytes a UTF-8 decoder would change.
    for (size_t i = 3; i < text.size(); ++i) {
      if (static_cast<unsigned char>(text[i]) >= 0x80) text[i] = '?';
    }
  }
  profile.bytes = random.Chance(10) ? Utf16(text) : text;
  return profile;
}

// The answer of one reader: the count returned and the whole buffer after the
// call, with the guard bytes behind it.
struct Answer {
  uint32_t count;
  std::string buffer;

  bool operator==(const Answer& other) const {
    return count == other.count && buffer == other.buffer;
  }
};

Answer SystemAnswer(const std::string& path, const Lookup& lookup) {
  Answer answer{0, std::string(lookup.size + kGuardBytes, kGuard)};
  answer.count =
      GetPrivateProfileStringA(lookup.section.c_str(), lookup.key.c_str(), lookup.def.c_str(),
                               &answer.buffer[0], lookup.size, path.c_str());
  return answer;
}

Answer OurAnswer(const plat::ProfileFile& file, const Lookup& lookup) {
  Answer answer{0, std::string(lookup.size + kGuardBytes, kGuard)};
  answer.count = file.GetString(lookup.section.c_str(), lookup.key.c_str(), lookup.def.c_str(),
                                &answer.buffer[0], lookup.size);
  return answer;
}

bool WriteFileBytes(const std::string& path, const std::string& bytes) {
  FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return false;
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  return std::fclose(file) == 0 && written;
}

// What one difference is checked against: the lookup, our answer and the
// system's answer (to the file as written, or to a rewritten copy).
struct Seen {
  const plat::ProfileFile& ours;
  const Lookup& lookup;
  const Answer& system;
  const Answer& our;
};

// True when our reader gives the default for this lookup.
bool OursGivesDefault(const Seen& seen) {
  Lookup marked = seen.lookup;
  marked.def = "\x01";
  marked.size = 4;
  return OurAnswer(seen.ours, marked).buffer.compare(0, 2, std::string("\x01\0", 2)) == 0;
}

// The system's copy of a text into the caller's buffer when it takes off a pair
// of quotes: it cuts the text after the opening quote to size - 1 and then drops
// the last character when the whole text after the opening quote would have fit,
// so a value that fits exactly without its quotes loses its last character.
Answer QuoteStrippingCopy(const std::string& text, uint32_t size) {
  Answer answer{0, std::string(size + kGuardBytes, kGuard)};
  if (size == 0) return answer;
  std::string value = text;
  bool quoted = false;
  if (value.size() >= 2 && (value[0] == '\'' || value[0] == '"') && value.back() == value[0]) {
    value.erase(0, 1);
    quoted = true;
  }
  std::string stored = value.substr(0, size - 1);
  if (quoted && size >= value.size() && !stored.empty()) stored.pop_back();
  std::memcpy(&answer.buffer[0], stored.c_str(), stored.size() + 1);
  answer.count = static_cast<uint32_t>(stored.size());
  return answer;
}

// A difference in how a value or the default is copied out, told by what the
// system's copy would be.
struct CopyRule {
  const char* name;
  bool (*explains)(const Seen& seen);
};

const CopyRule kCopyRules[] = {
    // The system's reader takes the default through its value rules: it removes
    // trailing spaces but keeps the first character of a default of spaces only,
    // and takes a pair of quotes off it. Ours stores the default as given, less
    // every trailing space.
    {"default_as_given",
     [](const Seen& seen) {
       if (!OursGivesDefault(seen)) return false;
       std::string def = seen.lookup.def;
       while (def.size() > 1 && def.back() == ' ') def.pop_back();
       return QuoteStrippingCopy(def, seen.lookup.size) == seen.system;
     }},
    // The system's reader drops the last character of a quoted value that fits
    // the buffer exactly once its quotes are off; ours stores the whole value,
    // as any value of size - 1 characters.
    {"quoted_value_fitting_exactly",
     [](const Seen& seen) {
       const uint32_t size = seen.lookup.size;
       if (OursGivesDefault(seen) || size < 2 || seen.our.count != size - 1) return false;
       Lookup larger = seen.lookup;
       larger.size = size + 1;
       if (OurAnswer(seen.ours, larger).count != size - 1) return false;  // a cut value
       Answer expected{size - 2, std::string(size + kGuardBytes, kGuard)};
       std::memcpy(&expected.buffer[0], seen.our.buffer.data(), size - 2);
       expected.buffer[size - 2] = '\0';
       return expected == seen.system;
     }},
};

// The copy rule that explains the difference, or null.
const CopyRule* CopyRuleFor(const Seen& seen) {
  if (seen.system == seen.our) return nullptr;
  for (const CopyRule& rule : kCopyRules) {
    if (rule.explains(seen)) return &rule;
  }
  return nullptr;
}

// The text both readers see in a file: its bytes, or the units of a UTF-16LE
// file as Latin-1 bytes (the corpus writes no other units).
struct Text {
  std::string narrow;
  bool utf16 = false;
};

bool Decode(const std::string& bytes, Text* text) {
  text->utf16 = bytes.size() >= 2 && bytes.compare(0, 2, "\xFF\xFE") == 0;
  if (!text->utf16) {
    text->narrow = bytes;
    return true;
  }
  if (bytes.size() % 2 != 0) return false;
  text->narrow.clear();
  for (size_t i = 2; i < bytes.size(); i += 2) {
    if (bytes[i + 1] != '\0') return false;
    text->narrow += bytes[i];
  }
  return true;
}

std::string Encode(const Text& text) { return text.utf16 ? Utf16(text.narrow) : text.narrow; }

// A byte neither reader trims and no file or name of the corpus holds: form feeds
// become it, so that the system's reader keeps them as ours does.
constexpr char kFormFeedStandIn = '\x7F';

bool IsOurBlank(char c) { return c == ' ' || c == '\t' || c == '\v'; }

// Calls change(line) for every line of the text (without its CR or LF); a line's
// bytes are replaced by what change leaves in it. True when a line changed.
template <typename Change>
bool ForEachLine(std::string* text, Change change) {
  std::string out;
  bool changed = false;
  size_t pos = 0;
  while (pos <= text->size()) {
    size_t stop = text->find_first_of("\r\n", pos);
    if (stop == std::string::npos) stop = text->size();
    std::string line = text->substr(pos, stop - pos);
    const std::string before = line;
    change(&line);
    changed = changed || line != before;
    out += line;
    if (stop < text->size()) out += (*text)[stop];
    pos = stop + 1;
  }
  if (changed) text->swap(out);
  return changed;
}

// The offset of the first byte of a line that is not one of our blanks.
size_t Lead(const std::string& line) {
  size_t lead = 0;
  while (lead < line.size() && IsOurBlank(line[lead])) ++lead;
  return lead;
}

bool IsOurHeader(const std::string& line) {
  const size_t lead = Lead(line);
  return lead < line.size() && line[lead] == '[';
}

// A rule of the file's syntax in which our reader differs from the system's, with
// a rewrite of the file's text under which the system's reader reads it as ours
// does. The rewrites are applied one after the other, in this order; a rewrite
// returns false when it changes nothing. Except for the UTF-8 mark these are the
// rules fixed for our reader in platform/profile_reader.h: the package's files
// never hold these constructs, and a stable, documented rule matters more than
// agreeing with one implementation.
struct SyntaxRule {
  const char* name;
  bool (*rewrite)(Text* text);
  bool mapsFormFeed;  // the names looked up and the answer are mapped too
};

const SyntaxRule kSyntaxRules[] = {
    // The system's reader decodes a file starting with EF BB BF as UTF-8; ours
    // reads those bytes as ANSI text of the first line. With the mark's last byte
    // changed the system's reader reads them as ANSI text too, and no name looked
    // up holds them.
    {"utf8_mark",
     [](Text* text) {
       if (text->utf16 || text->narrow.compare(0, 3, "\xEF\xBB\xBF") != 0) return false;
       text->narrow[2] = '\xBE';
       return true;
     },
     false},
    // The system's reader trims form feeds off lines and names; ours trims only
    // space, tab and vertical tab.
    {"form_feed_not_blank",
     [](Text* text) {
       bool changed = false;
       for (char& c : text->narrow) {
         if (c == '\f') {
           c = kFormFeedStandIn;
           changed = true;
         }
       }
       return changed;
     },
     true},
    // The system's reader has no comments; ours skips a line whose key starts
    // with ";", so that a key commented out in a package file stays out.
    {"semicolon_comment",
     [](Text* text) {
       return ForEachLine(&text->narrow, [](std::string* line) {
         const size_t lead = Lead(*line);
         if (lead < line->size() && (*line)[lead] == ';') line->clear();
       });
     },
     false},
    // The system's reader ends a section's name at the last "]" of its line; ours
    // at the first.
    {"section_name_to_first_bracket",
     [](Text* text) {
       return ForEachLine(&text->narrow, [](std::string* line) {
         if (!IsOurHeader(*line)) return;
         const size_t close = line->find(']');
         if (close != std::string::npos && line->find(']', close + 1) != std::string::npos) {
           line->resize(close + 1);
         }
       });
     },
     false},
    // The system's reader takes a "[" line without "]" for an ordinary line; ours
    // for a section header named by the rest of the line.
    {"header_without_bracket",
     [](Text* text) {
       return ForEachLine(&text->narrow, [](std::string* line) {
         if (!IsOurHeader(*line) || line->find(']') != std::string::npos) return;
         size_t end = line->size();
         while (end > 0 && IsOurBlank((*line)[end - 1])) --end;
         line->insert(end, "]");
       });
     },
     false},
    // The system's reader keeps the lines before the first header as a section
    // with the empty name; ours keeps them in no section.
    {"lines_before_first_header",
     [](Text* text) {
       bool inSection = false;
       return ForEachLine(&text->narrow, [&inSection](std::string* line) {
         inSection = inSection || IsOurHeader(*line);
         if (!inSection) line->clear();
       });
     },
     false},
};

bool Holds(const std::string& text, char c) { return text.find(c) != std::string::npos; }

// True for ASCII without 7F: the rewrites leave such names as they are, but for
// their form feeds.
bool IsPlainAscii(const std::string& text) {
  for (unsigned char c : text) {
    if (c >= 0x7F) return false;
  }
  return true;
}

void MapFormFeeds(std::string* text) {
  for (char& c : *text) {
    if (c == '\f') c = kFormFeedStandIn;
  }
}

// The system's reader on one file rewritten by the syntax rules cumulatively:
// each rewritten copy is written (once, when first asked for) beside the file.
class RewrittenProfile {
 public:
  RewrittenProfile(const Profile& profile, const std::string& path) : path_(path) {
    Text text;
    usable_ = !profile.missing && Decode(profile.bytes, &text) && !Holds(text.narrow, '\x7F');
    if (!usable_) return;
    for (const SyntaxRule& rule : kSyntaxRules) {
      steps_.push_back({rule.rewrite(&text), false, Encode(text)});
    }
  }
  ~RewrittenProfile() {
    for (size_t i = 0; i < steps_.size(); ++i) {
      if (steps_[i].written) DeleteFileA(StepPath(i).c_str());
    }
  }
  RewrittenProfile(const RewrittenProfile&) = delete;
  RewrittenProfile& operator=(const RewrittenProfile&) = delete;

  // The system's answer to lookup once the rules up to rule have been applied;
  // false when rule changes neither this file nor this lookup, or when the
  // rewrites cannot be applied soundly (names or a default beyond plain ASCII).
  bool SystemAnswerAfter(size_t rule, const Lookup& lookup, Answer* answer) {
    if (!usable_ || !IsPlainAscii(lookup.section + lookup.key + lookup.def)) return false;
    const bool namesHoldFormFeed = Holds(lookup.section + lookup.key + lookup.def, '\f');
    if (!steps_[rule].changed && !(kSyntaxRules[rule].mapsFormFeed && namesHoldFormFeed)) {
      return false;
    }
    if (!steps_[rule].written) {
      if (!WriteFileBytes(StepPath(rule), steps_[rule].bytes)) return false;
      steps_[rule].written = true;
    }
    bool mapped = false;
    for (size_t i = 0; i <= rule; ++i) mapped = mapped || kSyntaxRules[i].mapsFormFeed;
    Lookup asked = lookup;
    if (mapped) {
      MapFormFeeds(&asked.section);
      MapFormFeeds(&asked.key);
      MapFormFeeds(&asked.def);
    }
    *answer = SystemAnswer(StepPath(rule), asked);
    if (mapped) {
      for (size_t i = 0; i < lookup.size && answer->buffer[i] != '\0'; ++i) {
        if (answer->buffer[i] == kFormFeedStandIn) answer->buffer[i] = '\f';
      }
    }
    return true;
  }

 private:
  struct Step {
    bool changed;
    bool written;
    std::string bytes;
  };

  std::string StepPath(size_t rule) const { return path_ + "." + std::to_string(rule) + ".ini"; }

  std::string path_;
  bool usable_ = false;
  std::vector<Step> steps_;
};

// The deliberate differences: the copy rules, then the syntax rules.
constexpr size_t kDeliberateCount = std::size(kCopyRules) + std::size(kSyntaxRules);

const char* DeliberateName(size_t d) {
  return d < std::size(kCopyRules) ? kCopyRules[d].name
                                   : kSyntaxRules[d - std::size(kCopyRules)].name;
}

// The deliberate difference a difference is, or kDeliberateCount when none: a
// copy rule on the system's answer to the file as written, or else the first
// syntax rule whose cumulative rewrite brings the system's answer to ours (up to
// the copy rules).
size_t Explain(const Seen& seen, RewrittenProfile& rewritten) {
  if (const CopyRule* rule = CopyRuleFor(seen)) return static_cast<size_t>(rule - kCopyRules);
  for (size_t r = 0; r < std::size(kSyntaxRules); ++r) {
    Answer system;
    if (!rewritten.SystemAnswerAfter(r, seen.lookup, &system)) continue;
    if (system == seen.our || CopyRuleFor(Seen{seen.ours, seen.lookup, system, seen.our})) {
      return std::size(kCopyRules) + r;
    }
  }
  return kDeliberateCount;
}

std::string Escaped(const std::string& bytes) {
  std::string out;
  for (unsigned char c : bytes) {
    if (c == '\\') {
      out += "\\\\";
    } else if (c == '\n') {
      out += "\\n";
    } else if (c == '\r') {
      out += "\\r";
    } else if (c == '\t') {
      out += "\\t";
    } else if (c >= 0x20 && c < 0x7F) {
      out += static_cast<char>(c);
    } else {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02X", c);
      out += hex;
    }
  }
  return out;
}

// The count, the text stored and whether the bytes behind its terminator changed.
std::string Shown(const Answer& answer) {
  const size_t text = answer.buffer.find('\0');
  if (text == std::string::npos) return std::to_string(answer.count) + " (no terminator)";
  const bool untouched = answer.buffer.find_first_not_of(kGuard, text + 1) == std::string::npos;
  return std::to_string(answer.count) + " \"" + Escaped(answer.buffer.substr(0, text)) + "\"" +
         (untouched ? "" : " (bytes behind the text written)");
}

std::string WorkFolder() {
  char directory[MAX_PATH];
  const DWORD length = GetCurrentDirectoryA(MAX_PATH, directory);
  if (length == 0 || length >= MAX_PATH) return {};
  return std::string(directory) + "\\profile_corpus";
}

Lookup MakeLookup(Random& random) {
  Lookup lookup;
  // Now and then an empty section name (blanks only), and keys as the lines
  // starting with ";" or "#" and the lines "=value" have them.
  lookup.section = random.Chance(6) ? random.Pick(kBlanks) : SectionName(random);
  const size_t keyKind = random.Below(100);
  if (keyKind < 14) {
    lookup.key = random.Pick(kBlanks) + (";" + std::string(random.Pick(kKeys)));
  } else if (keyKind < 18) {
    lookup.key = "#" + KeyName(random);
  } else if (keyKind < 22) {
    lookup.key = random.Pick(kBlanks);
  } else {
    lookup.key = KeyName(random);
  }
  lookup.def = random.Pick(kDefaults);
  lookup.size = 4096;  // the sizes that depend on the value are picked later
  return lookup;
}

// The buffer sizes tried for one lookup whose full answer has length bytes: the
// product's 30, 200 and 1024, the cut edges and exact fits.
std::vector<uint32_t> Sizes(Random& random, uint32_t length) {
  static const uint32_t kFixed[] = {0, 1, 2, 3, 5, 30, 200, 256, 1024};
  std::vector<uint32_t> sizes = {length + 1};
  sizes.push_back(kFixed[random.Below(std::size(kFixed))]);
  sizes.push_back(length > 0 ? length : 2);
  if (random.Chance(30)) sizes.push_back(length + 2);
  return sizes;
}

}  // namespace

int main() {
  const std::string folder = WorkFolder();
  if (folder.empty() ||
      (!CreateDirectoryA(folder.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)) {
    std::printf("cannot make the work folder\n");
    return 2;
  }
  win32::Win32FileSystem files;
  Random random(kSeed);
  long cases = 0;
  long unexplained = 0;
  std::vector<long> deliberate(kDeliberateCount, 0);

  for (int n = 0; n < kFiles; ++n) {
    const Profile profile = MakeProfile(random);
    // A name of its own per file: the system's reader may keep recent files cached.
    const std::string path = folder + "\\case" + std::to_string(n) + ".ini";
    if (!profile.missing && !WriteFileBytes(path, profile.bytes)) {
      std::printf("cannot write %s\n", path.c_str());
      return 2;
    }
    const plat::ProfileFile ours(files, path.c_str());
    RewrittenProfile rewritten(profile, path);
    for (int l = 0; l < kLookupsPerFile; ++l) {
      Lookup lookup = MakeLookup(random);
      const uint32_t length = SystemAnswer(path, lookup).count;
      for (uint32_t size : Sizes(random, length)) {
        lookup.size = size;
        ++cases;
        const Answer system = SystemAnswer(path, lookup);
        const Answer our = OurAnswer(ours, lookup);
        if (system == our) continue;
        const size_t d = Explain(Seen{ours, lookup, system, our}, rewritten);
        if (d < kDeliberateCount) {
          ++deliberate[d];
          continue;
        }
        if (++unexplained <= kShownDifferences) {
          std::printf(
              "difference: file \"%s\"%s\n  section \"%s\" key \"%s\" default \"%s\" "
              "size %u\n  system: %s\n  ours:   %s\n",
              Escaped(profile.bytes.substr(0, 200)).c_str(), profile.missing ? " (missing)" : "",
              Escaped(lookup.section).c_str(), Escaped(lookup.key).c_str(),
              Escaped(lookup.def).c_str(), static_cast<unsigned>(size), Shown(system).c_str(),
              Shown(our).c_str());
        }
      }
    }
    if (!profile.missing) DeleteFileA(path.c_str());
  }
  RemoveDirectoryA(folder.c_str());

  for (size_t d = 0; d < kDeliberateCount; ++d) {
    std::printf("deliberate %s: %ld\n", DeliberateName(d), deliberate[d]);
  }
  std::printf("differential_cases: %ld\n", cases);
  std::printf("differential_unexplained_differences: %ld\n", unexplained);
  return unexplained > 0 ? 1 : 0;
}
