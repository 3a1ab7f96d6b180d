// Host conversion of UTF-16 text: there is no ANSI code page here, so only ASCII
// survives and every other character (a surrogate pair being one character, a
// lone surrogate another) becomes one '?'.
#include <string>

#include "platform/profile_reader.h"

namespace plat {
namespace {

bool IsHighSurrogate(uint16_t unit) { return unit >= 0xD800 && unit < 0xDC00; }
bool IsLowSurrogate(uint16_t unit) { return unit >= 0xDC00 && unit < 0xE000; }

}  // namespace

void Utf16ToNarrow(const uint16_t* units, size_t count, std::string* out) {
  // Never longer than the input: size once, write through a pointer, cut after.
  out->resize(count);
  char* const first = &(*out)[0];
  char* next = first;
  for (size_t i = 0; i < count; ++i) {
    const uint16_t unit = units[i];
    if (unit < 0x80) {
      *next++ = static_cast<char>(unit);
      continue;
    }
    if (IsHighSurrogate(unit) && i + 1 < count && IsLowSurrogate(units[i + 1])) ++i;
    *next++ = '?';
  }
  out->resize(static_cast<size_t>(next - first));
}

}  // namespace plat
