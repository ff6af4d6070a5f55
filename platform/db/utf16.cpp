#include "platform/db/utf16.h"

#include "platform/utf8.h"

namespace marksend::db {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

// The character at text[pos], advancing pos; an ill-formed sequence is one
// U+FFFD and skips its lead byte and the continuation bytes that fit it.
char32_t NextUtf8(std::string_view text, size_t& pos) {
  const auto byte = [&text](size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(pos++);
  if (lead < 0x80) return lead;
  int more;
  char32_t cp;
  char32_t min;
  if (lead >= 0xC2 && lead <= 0xDF) {
    more = 1, cp = lead & 0x1F, min = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    more = 2, cp = lead & 0x0F, min = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    more = 3, cp = lead & 0x07, min = 0x10000;
  } else {
    return kReplacement;
  }
  for (int k = 0; k < more; ++k) {
    if (pos >= text.size() || (byte(pos) & 0xC0) != 0x80) return kReplacement;
    cp = (cp << 6) | (byte(pos++) & 0x3F);
  }
  if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return kReplacement;
  return cp;
}

}  // namespace

std::u16string Utf8ToUtf16(std::string_view text) {
  std::u16string out;
  out.reserve(text.size());
  for (size_t pos = 0; pos < text.size();) {
    const char32_t cp = NextUtf8(text, pos);
    if (cp < 0x10000) {
      out += static_cast<char16_t>(cp);
    } else {
      out += static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10));
      out += static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF));
    }
  }
  return out;
}

std::string Utf16ToUtf8(std::u16string_view text) {
  std::string out;
  out.reserve(text.size() * 3);
  for (size_t i = 0; i < text.size(); ++i) {
    const char16_t unit = text[i];
    if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] <= 0xDFFF) {
      utf8::Append(out, 0x10000 + ((static_cast<char32_t>(unit) - 0xD800) << 10) + (text[i + 1] - 0xDC00));
      ++i;
    } else if (unit >= 0xD800 && unit <= 0xDFFF) {
      utf8::Append(out, kReplacement);
    } else {
      utf8::Append(out, unit);
    }
  }
  return out;
}

}  // namespace marksend::db
