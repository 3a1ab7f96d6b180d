#include "platform/profile_reader.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "tests/support/memory_files.h"

using namespace std::string_literals;

namespace {

constexpr char kGuard = '\x7F';

// Looks key up with a buffer of size bytes followed by guard bytes, and checks
// that nothing past the buffer was written and that the count is the length of
// the stored text.
std::string Read(const plat::ProfileFile& file, const char* section, const char* key,
                 const char* def, uint32_t size = 256) {
  std::vector<char> buffer(size + 16, kGuard);
  const uint32_t count = file.GetString(section, key, def, buffer.data(), size);
  for (size_t i = size; i < buffer.size(); ++i) {
    EXPECT_EQ(buffer[i], kGuard) << "written past the buffer at " << i;
  }
  if (size == 0) {
    EXPECT_EQ(count, 0u);
    return "<nothing>";
  }
  EXPECT_EQ(count, std::strlen(buffer.data()));
  return std::string(buffer.data(), count);
}

std::string Utf16File(const std::u16string& text) {
  std::string bytes = "\xFF\xFE";
  for (char16_t unit : text) {
    bytes += static_cast<char>(unit & 0xFF);
    bytes += static_cast<char>(unit >> 8);
  }
  return bytes;
}

class ProfileReaderTest : public ::testing::Test {
 protected:
  plat::ProfileFile Load(const std::string& bytes) {
    files.AddFile("test.ini", bytes);
    return plat::ProfileFile(files, "test.ini");
  }

  MemoryFiles files;
};

struct LookupCase {
  const char* what;
  std::string file;
  const char* section;
  const char* key;
  const char* def;
  std::string expected;
};

TEST_F(ProfileReaderTest, LooksUpKeysByTheFileRules) {
  const std::string sections = "[S]\na=1\n[T]\n[s]\nb=2\na=3\n";
  const std::string quotes =
      "[Q]\nsingle='x'\ndouble=\"x\"\nmixed='x\"\nlone=\"\nempty=''\n"
      "inner=' x '\nouter=\"a\" b \"c\"\n";
  const LookupCase cases[] = {
      {"names without regard to case", "[Ztmonitor]\nmonitornum=2\n", "ZTMONITOR", "MonitorNUM",
       "0", "2"},
      {"blanks around names passed in", "[S]\nk=2\n", " \tS \v", "  k\t", "0", "2"},
      {"lines and values trimmed", " \t[S]\v\n\t k \v= \t v v \v\n", "S", "k", "0", "v v"},
      {"section name trimmed in brackets", "[ \tS\v ]\nk=1\n", "S", "k", "0", "1"},
      {"text after the bracket ignored", "[S] trailing\nk=1\n", "S", "k", "0", "1"},
      {"name ends at the first bracket", "[A]B]\nk=1\n", "A", "k", "0", "1"},
      {"not at a later bracket", "[A]B]\nk=1\n", "A]B", "k", "0", "0"},
      {"header without bracket", "[S\nk=1\n", "S", "k", "0", "1"},
      {"first section wins", sections, "S", "a", "0", "1"},
      {"later copy invisible", sections, "s", "b", "0", "0"},
      {"sections differing in case", "[sec]\na=1\n[SEC]\nb=2\n", "SEC", "b", "0", "0"},
      {"first key wins", "[S]\nk=1\nK=2\n", "S", "k", "0", "1"},
      {"line without = has no value", "[S]\nk\nk=2\n", "S", "k", "0", "0"},
      {"lines before a section", "k=1\n[S]\n", "S", "k", "0", "0"},
      {"no section name", "k=1\n[]\nk=2\n", "", "k", "0", "0"},
      {"no key name", "[S]\n=1\n", "S", " ", "0", "1"},
      {"comment line", "[S]\n;k=1\n", "S", ";k", "0", "0"},
      {"form feed is no blank", "[S]\n\fk\f=1\n", "S", "k", "0", "0"},
      {"form feed part of the key", "[S]\n\fk\f=1\n", "S", "\fk\f", "0", "1"},
      {"hash is no comment", "[S]\n#k=1\n", "S", "#k", "0", "1"},
      {"no end-of-line comment", "[S]\nk=v ; note\n", "S", "k", "0", "v ; note"},
      {"key ends at the first =", "[S]\nk = a=b\n", "S", "k", "0", "a=b"},
      {"empty value is no default", "[S]\nk=\n", "S", "k", "D", ""},
      {"blank value is empty", "[S]\nk= \t\n", "S", "k", "D", ""},
      {"single quotes", quotes, "Q", "single", "0", "x"},
      {"double quotes", quotes, "Q", "double", "0", "x"},
      {"mismatched quotes", quotes, "Q", "mixed", "0", "'x\""},
      {"lone quote", quotes, "Q", "lone", "0", "\""},
      {"empty quotes", quotes, "Q", "empty", "0", ""},
      {"blanks inside quotes", quotes, "Q", "inner", "0", " x "},
      {"only the outer pair", quotes, "Q", "outer", "0", "a\" b \"c"},
      {"INF model key with quotes", "[Mfg]\n\"Model Name\" = DRV_SECT\n", "Mfg", "\"Model Name\"",
       "", "DRV_SECT"},
      {"INF model key without quotes", "[Mfg]\n\"Model Name\" = DRV_SECT\n", "Mfg", "Model Name",
       "", ""},
      {"CR-only lines", "[S]\ra=1\rk=2\r", "S", "k", "0", "2"},
      {"CRLF lines", "[S]\r\na=1\r\nk=2\r\n", "S", "k", "0", "2"},
      {"mixed endings, no last", "[S]\r\na=1\rb=2\nk=3", "S", "k", "0", "3"},
      {"UTF-8 mark stays in line", "\xEF\xBB\xBF[S]\nk=1\n", "S", "k", "0", "0"},
      {"UTF-8 mark, next section", "\xEF\xBB\xBF[S]\nk=1\n[T]\nk=2\n", "T", "k", "0", "2"},
      {"UTF-16BE mark not special", "\xFE\xFF\0[\0S\0]\0\n\0k\0=\0001"s, "S", "k", "0", "0"},
      {"missing section", "[S]\nk=1\n", "X", "k", "def", "def"},
      {"missing key", "[S]\nk=1\n", "S", "x", "def", "def"},
      {"default loses trailing spaces", "", "S", "k", " 0  ", " 0"},
      {"default keeps a trailing tab", "", "S", "k", "0\t ", "0\t"},
      {"null default", "", "S", "k", nullptr, ""},
      {"NUL in key never matches", "[S]\na\0b=1\n"s, "S", "a", "0", "0"},
      {"NUL in key, whole name", "[S]\na\0b=1\n"s, "S", "ab", "0", "0"},
      {"NUL ends the value", "[S]\nv= x \0y\n"s, "S", "v", "0", "x"},
      {"NUL in section name", "[S\0]\nk=1\n"s, "S", "k", "0", "0"},
      {"NUL in another line", "j\0nk\0\n[S]\n\0\nk=1\n"s, "S", "k", "0", "1"},
      {"UTF-16 text", Utf16File(u"[S]\r\nk = v\u00E4\U0001F600\xD800z\r\n"), "s", "K", "0",
       "v??\?z"},
      {"UTF-16 odd last byte", Utf16File(u"[S]\nk=1") + "2", "S", "k", "0", "1"},
      {"UTF-16 mark only", "\xFF\xFE", "S", "k", "0", "0"},
      {"half a UTF-16 mark", "\xFF", "S", "k", "0", "0"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(Read(Load(c.file), c.section, c.key, c.def), c.expected);
  }
}

TEST_F(ProfileReaderTest, CutsToTheBufferSize) {
  const auto file = Load("[S]\nlong=abcdefghijklmnopqrstuvwxyz0123456789\nq='abcdef'\n");
  const std::string first29 = "abcdefghijklmnopqrstuvwxyz012";
  EXPECT_EQ(Read(file, "S", "long", "0", 30), first29);
  EXPECT_EQ(Read(file, "S", "none", "abcdefghijklmnopqrstuvwxyz0123456789", 30), first29);
  EXPECT_EQ(Read(file, "S", "q", "0", 4), "abc");     // quotes go before the cut
  EXPECT_EQ(Read(file, "S", "q", "0", 7), "abcdef");  // fits exactly without its quotes
  EXPECT_EQ(Read(file, "S", "long", "0", 1), "");
  EXPECT_EQ(Read(file, "S", "long", "0", 0), "<nothing>");

  // A default kept in the caller's own buffer.
  char buffer[8] = "ab  ";
  EXPECT_EQ(file.GetString("S", "none", buffer, buffer, sizeof buffer), 2u);
  EXPECT_STREQ(buffer, "ab");
}

TEST_F(ProfileReaderTest, UnreadableFilesGiveTheDefault) {
  files.AddFolder("folder.ini");
  files.AddFile("empty.ini", "");
  const struct {
    const char* path;
    bool loaded;
  } cases[] = {{"missing.ini", false}, {"folder.ini", false}, {"empty.ini", true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    plat::ProfileFile file(files, c.path);
    EXPECT_EQ(file.loaded(), c.loaded);
    EXPECT_EQ(Read(file, "S", "k", "0  "), "0");
  }
  plat::ProfileFile none(files, nullptr);
  EXPECT_FALSE(none.loaded());
}

TEST_F(ProfileReaderTest, ReadsTheFileOnceForSeveralLookups) {
  files.AddFile("C:\\PKG\\DRVCONFIG\\Setup.INI", "[DEVICENAME]\nLANGUAGE=2\nOTHER=3\n");
  plat::ProfileFile file(files, "drvconfig/SETUP.ini");
  EXPECT_EQ(Read(file, "DEVICENAME", "LANGUAGE", "0"), "2");
  EXPECT_EQ(Read(file, "DEVICENAME", "OTHER", "0"), "3");
  EXPECT_EQ(files.reads, 1);

  char out[200];
  EXPECT_EQ(plat::ReadProfileString(files, "DEVICENAME", "LANGUAGE", "0", out, sizeof out,
                                    "DRVCONFIG\\setup.ini"),
            1u);
  EXPECT_STREQ(out, "2");
  files.currentDirectory = "C:\\other";
  EXPECT_EQ(plat::ReadProfileString(files, "DEVICENAME", "LANGUAGE", "0", out, sizeof out,
                                    "DRVCONFIG\\setup.ini"),
            1u);
  EXPECT_STREQ(out, "0");
}

TEST_F(ProfileReaderTest, SurvivesBinaryHugeAndLongLineFiles) {
  // Every byte value, in a fixed pseudo-random order, then a real section.
  std::string binary;
  uint32_t state = 12345;
  for (int i = 0; i < 1 << 16; ++i) {
    state = state * 1103515245u + 12345u;
    binary += static_cast<char>(state >> 24);
  }
  const auto noise = Load(binary + "\n[Real]\nk=found\n");
  EXPECT_EQ(Read(noise, "Real", "k", "0"), "found");
  EXPECT_EQ(Read(noise, "\xC8", "\x01", "0"), "0");

  // Some 4 MB of sections; the key of the last one is found in one pass.
  std::string huge;
  for (int s = 0; s < 40000; ++s) {
    huge += "[Section" + std::to_string(s) + "]\r\n";
    for (int k = 0; k < 4; ++k) huge += "Key" + std::to_string(k) + " = value of some length\r\n";
  }
  huge += "[Last]\r\nKey=end\r\n";
  ASSERT_GT(huge.size(), 4u << 20);
  EXPECT_EQ(Read(Load(huge), "last", "key", "0"), "end");
  EXPECT_EQ(Read(Load(huge), "Section7", "Key3", "0"), "value of some length");
  std::u16string wide(huge.begin(), huge.end());
  EXPECT_EQ(Read(Load(Utf16File(wide)), "LAST", "KEY", "0"), "end");

  // Lines of 100,000 characters, as a value and as a key.
  const std::string endless(100000, 'x');
  const auto longLines = Load("[S]\r\n" + endless + "\r\nv=" + endless + "\r\nk=1\r\n");
  EXPECT_EQ(Read(longLines, "S", "v", "0", 1024), endless.substr(0, 1023));
  EXPECT_EQ(Read(longLines, "S", "k", "0"), "1");
  EXPECT_EQ(Read(longLines, "S", endless.c_str(), "0"), "0");
}

TEST(Utf16ToNarrowTest, KeepsAsciiAndMarksEveryOtherCharacter) {
  const struct {
    std::u16string units;
    std::string narrow;
  } cases[] = {
      {u"", ""},
      {u"plain ASCII\r\n~"s + u'\0' + u"!", "plain ASCII\r\n~"s + '\0' + "!"},
      {u"\u0080\u00E4\u4E2D\uFFFF", "????"},
      {u"a\U0001F600b", "a?b"},       // a pair is one character
      {u"\xD800", "?"},               // lone high surrogate at the end
      {u"\xD800z\xDC00", "?z?"},      // lone high, lone low
      {u"\xDC00\xD800", "??"},        // a pair in the wrong order is two
      {u"\xD800\xD800\xDC00", "??"},  // a lone high, then a pair
  };
  for (const auto& c : cases) {
    std::string out = "previous content longer than any result";
    plat::Utf16ToNarrow(reinterpret_cast<const uint16_t*>(c.units.data()), c.units.size(), &out);
    EXPECT_EQ(out, c.narrow);
  }
}

}  // namespace
