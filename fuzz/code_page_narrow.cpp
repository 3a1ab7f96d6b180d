// The fuzz targets' conversion of UTF-16 text, in place of the host's (which
// turns every other character into one '?'). Like a double-byte code page it
// writes more bytes than some characters had units, so the reader's in-place
// conversion meets its hardest case: one byte for a unit below 0x800, two for
// one below 0xD800 and three above. A surrogate pair is one character of four
// bytes. No byte is 0xFF, so converted text never starts with a UTF-16 mark.
#include <string>

#include "platform/profile_reader.h"

namespace plat {

void Utf16ToNarrow(const uint16_t* units, size_t count, std::string* out) {
  out->clear();
  for (size_t i = 0; i < count; ++i) {
    const uint16_t unit = units[i];
    const char lead = static_cast<char>(0x80 + unit % 0x7F);
    if (unit < 0x80) {
      out->push_back(static_cast<char>(unit));
    } else if (unit >= 0xD800 && unit < 0xDC00 && i + 1 < count && units[i + 1] >= 0xDC00 &&
               units[i + 1] < 0xE000) {
      out->append({lead, '\x81', '\x82', static_cast<char>(0x80 + units[++i] % 0x7F)});
    } else if (unit < 0x800) {
      out->push_back(lead);
    } else if (unit < 0xD800) {
      out->append({lead, static_cast<char>(0x40 + unit % 0x3F)});
    } else {
      out->append({lead, '[', '='});  // bytes the reader looks for, inside a character
    }
  }
}

}  // namespace plat
