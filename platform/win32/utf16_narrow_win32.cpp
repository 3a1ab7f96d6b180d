// Windows conversion of UTF-16 text to the ANSI code page, as the system's own
// profile reader would see it. ASCII runs are copied directly; only the runs of
// other characters go through WideCharToMultiByte.
#include <windows.h>

#include <climits>
#include <string>

#include "platform/profile_reader.h"

namespace plat {
namespace {

static_assert(sizeof(wchar_t) == sizeof(uint16_t), "UTF-16 code units are wchar_t");

// Longest run handed to WideCharToMultiByte at once: far below INT_MAX even when
// a code page needs several bytes per unit.
constexpr size_t kMaxRun = size_t{1} << 24;

bool IsHighSurrogate(uint16_t unit) { return unit >= 0xD800 && unit < 0xDC00; }

void AppendAscii(const uint16_t* units, size_t count, std::string* out) {
  const size_t old = out->size();
  out->resize(old + count);
  char* next = &(*out)[old];
  for (size_t i = 0; i < count; ++i) next[i] = static_cast<char>(units[i]);
}

void AppendAnsi(const uint16_t* units, size_t count, std::string* out) {
  const auto* wide = reinterpret_cast<const wchar_t*>(units);
  const int length = static_cast<int>(count);
  const int bytes = WideCharToMultiByte(CP_ACP, 0, wide, length, nullptr, 0, nullptr, nullptr);
  if (bytes <= 0) {
    out->append(count, '?');
    return;
  }
  const size_t old = out->size();
  out->resize(old + static_cast<size_t>(bytes));
  const int written =
      WideCharToMultiByte(CP_ACP, 0, wide, length, &(*out)[old], bytes, nullptr, nullptr);
  out->resize(old + static_cast<size_t>(written > 0 ? written : 0));
}

}  // namespace

void Utf16ToNarrow(const uint16_t* units, size_t count, std::string* out) {
  out->clear();
  out->reserve(count);
  size_t i = 0;
  while (i < count) {
    size_t start = i;
    while (i < count && units[i] < 0x80) ++i;
    if (i > start) AppendAscii(units + start, i - start, out);
    start = i;
    while (i < count && units[i] >= 0x80 && i - start < kMaxRun) ++i;
    // A run cut by the limit must not split a surrogate pair.
    if (i < count && units[i] >= 0x80 && i - start > 1 && IsHighSurrogate(units[i - 1])) --i;
    if (i > start) AppendAnsi(units + start, i - start, out);
  }
}

}  // namespace plat
