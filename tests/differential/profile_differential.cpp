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
      return lead + ";" + KeyName(random) + "=" + Value(random);
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

// Our reader on bytes held in memory: the deliberate differences are checked by
// reading a changed copy of the file.
class MemoryFile final : public plat::FileSystem {
 public:
  explicit MemoryFile(std::string bytes) : bytes_(std::move(bytes)) {}
  win::Error CurrentDirectory(std::string*) override { return win::kFileNotFound; }
  win::Error WindowsDirectory(std::string*) override { return win::kFileNotFound; }
  win::Error SystemDirectory(std::string*) override { return win::kFileNotFound; }
  win::Error FindFirst(const char*, plat::FindHandle*, plat::FindData*) override {
    return win::kFileNotFound;
  }
  win::Error FindNext(plat::FindHandle, plat::FindData*) override { return win::kNoMoreFiles; }
  void FindClose(plat::FindHandle) override {}
  win::Error SetAttributes(const char*, uint32_t) override { return win::kFileNotFound; }
  win::Error DeleteFileAt(const char*) override { return win::kFileNotFound; }
  win::Error ReadWholeFile(const char*, std::string* bytes) override {
    *bytes = bytes_;
    return win::kSuccess;
  }

 private:
  std::string bytes_;
};

bool IsAscii(const std::string& bytes, size_t from) {
  for (size_t i = from; i < bytes.size(); ++i) {
    if (static_cast<unsigned char>(bytes[i]) >= 0x80) return false;
  }
  return true;
}

// What one difference is checked against.
struct Seen {
  const Profile& profile;
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

// A difference we keep, with the test that a given difference is that one.
struct Deliberate {
  const char* name;
  bool (*explains)(const Seen& seen);
};

bool ExplainedOnFile(const Seen& seen);

const Deliberate kDeliberate[] = {
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
    // The system's reader would decode the file as UTF-8; ours reads those bytes as
    // ANSI text of the first line, as Windows' own reader does.
    {"utf8_mark",
     [](const Seen& seen) {
       const std::string& bytes = seen.profile.bytes;
       if (bytes.compare(0, 3, "\xEF\xBB\xBF") != 0 || !IsAscii(bytes, 3)) return false;
       const Profile unmarked{bytes.substr(3), false};
       MemoryFile files(unmarked.bytes);
       const plat::ProfileFile ours(files, "memory.ini");
       const Answer our = OurAnswer(ours, seen.lookup);
       return our == seen.system ||
              ExplainedOnFile(Seen{unmarked, ours, seen.lookup, seen.system, our});
     }},
};

// True when one of the differences that are not about the file's mark explains it.
bool ExplainedOnFile(const Seen& seen) {
  for (const Deliberate& deliberate : kDeliberate) {
    if (std::strcmp(deliberate.name, "utf8_mark") != 0 && deliberate.explains(seen)) return true;
  }
  return false;
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

bool WriteFileBytes(const std::string& path, const std::string& bytes) {
  FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return false;
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  return std::fclose(file) == 0 && written;
}

std::string WorkFolder() {
  char directory[MAX_PATH];
  const DWORD length = GetCurrentDirectoryA(MAX_PATH, directory);
  if (length == 0 || length >= MAX_PATH) return {};
  return std::string(directory) + "\\profile_corpus";
}

Lookup MakeLookup(Random& random) {
  Lookup lookup;
  lookup.section = SectionName(random);
  lookup.key = KeyName(random);
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
  std::vector<long> deliberate(std::size(kDeliberate), 0);

  for (int n = 0; n < kFiles; ++n) {
    const Profile profile = MakeProfile(random);
    // A name of its own per file: the system's reader may keep recent files cached.
    const std::string path = folder + "\\case" + std::to_string(n) + ".ini";
    if (!profile.missing && !WriteFileBytes(path, profile.bytes)) {
      std::printf("cannot write %s\n", path.c_str());
      return 2;
    }
    const plat::ProfileFile ours(files, path.c_str());
    for (int l = 0; l < kLookupsPerFile; ++l) {
      Lookup lookup = MakeLookup(random);
      const uint32_t length = SystemAnswer(path, lookup).count;
      for (uint32_t size : Sizes(random, length)) {
        lookup.size = size;
        ++cases;
        const Answer system = SystemAnswer(path, lookup);
        const Answer our = OurAnswer(ours, lookup);
        if (system == our) continue;
        bool known = false;
        for (size_t d = 0; d < std::size(kDeliberate) && !known; ++d) {
          if (kDeliberate[d].explains(Seen{profile, ours, lookup, system, our})) {
            ++deliberate[d];
            known = true;
          }
        }
        if (known) continue;
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

  for (size_t d = 0; d < std::size(kDeliberate); ++d) {
    std::printf("deliberate %s: %ld\n", kDeliberate[d].name, deliberate[d]);
  }
  std::printf("differential_cases: %ld\n", cases);
  std::printf("differential_unexplained_differences: %ld\n", unexplained);
  return unexplained > 0 ? 1 : 0;
}
