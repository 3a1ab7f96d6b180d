// The language texts on any bytes: a text read from the language file (cut to
// 1023 characters, its first "\n" made CR LF) and then used as the format of a
// log line with a name from the input. Whatever the format holds ("%n", "%s%s",
// "%x", a lone "%"), the line must be the format with its first "%s" replaced by
// the name and every "%%" made "%", and nothing else interpreted.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "config/texts.h"
#include "fuzz/require.h"
#include "tests/support/memory_files.h"

namespace {

// The rule, told a second way: split the format at every "%", then look at the
// character after each one.
std::string ExpectedLine(const std::string& format, const std::string& name) {
  std::string out;
  bool nameUsed = false;
  size_t pos = 0;
  for (size_t percent = format.find('%'); percent != std::string::npos;
       percent = format.find('%', pos)) {
    out.append(format, pos, percent - pos);
    const std::string pair = format.substr(percent, 2);
    if (pair == "%%") {
      out += '%';
      pos = percent + 2;
    } else if (pair == "%s" && !nameUsed) {
      out += name;
      nameUsed = true;
      pos = percent + 2;
    } else {
      out += '%';
      pos = percent + 1;
    }
  }
  out.append(format, pos, std::string::npos);
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider input(data, size);
  const std::string name = input.ConsumeRandomLengthString(300);
  const std::string value = input.ConsumeRemainingBytesAsString();

  // As the format itself: the name is a C string, so it ends at its first NUL.
  const std::string cName = name.substr(0, name.find('\0'));
  const std::string line = FormatText(value, name.c_str());
  Require(line == ExpectedLine(value, cName));
  Require(line.size() <= value.size() + cName.size());
  Require(FormatText(value, nullptr) == ExpectedLine(value, ""));

  // As a text of the language file, then as the format.
  MemoryFiles files;
  files.AddFile("C:\\pkg\\language\\uninstall.ini", "[Message]\r\nIDS_FUZZ=" + value + "\r\n");
  const CLangSection message(files, "Message");
  const std::string text = message.GetText("IDS_FUZZ");
  Require(text.size() <= 1023);  // CR LF takes the place of "\n": no longer
  const size_t escape = text.find("\\n");
  const size_t lineBreak = text.find("\r\n");
  Require(escape == std::string::npos || lineBreak < escape);
  Require(FormatText(text, cName.c_str()) == ExpectedLine(text, cName));
  return 0;
}
