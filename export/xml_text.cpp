#include "export/xml_text.h"

namespace marksend {

namespace {

// Length of the valid UTF-8 sequence starting at s[i] and its code point, or 0.
size_t DecodeUtf8(std::string_view s, size_t i, char32_t& cp) {
  const auto b0 = static_cast<unsigned char>(s[i]);
  size_t len;
  char32_t min;
  if (b0 < 0x80) {
    cp = b0;
    return 1;
  } else if ((b0 & 0xE0) == 0xC0) {
    len = 2, cp = b0 & 0x1F, min = 0x80;
  } else if ((b0 & 0xF0) == 0xE0) {
    len = 3, cp = b0 & 0x0F, min = 0x800;
  } else if ((b0 & 0xF8) == 0xF0) {
    len = 4, cp = b0 & 0x07, min = 0x10000;
  } else {
    return 0;
  }
  if (i + len > s.size()) return 0;
  for (size_t k = 1; k < len; ++k) {
    const auto b = static_cast<unsigned char>(s[i + k]);
    if ((b & 0xC0) != 0x80) return 0;
    cp = (cp << 6) | (b & 0x3F);
  }
  if (cp < min || cp > 0x10FFFF) return 0;
  return len;
}

bool XmlCarries(char32_t cp) {
  if (cp < 0x20) return cp == 0x09 || cp == 0x0A || cp == 0x0D;
  if (cp >= 0xD800 && cp <= 0xDFFF) return false;
  return cp != 0xFFFE && cp != 0xFFFF;
}

}  // namespace

void AppendXmlText(std::string& out, std::string_view value) {
  size_t i = 0;
  while (i < value.size()) {
    const char c = value[i];
    // Fast path: plain ASCII that needs nothing.
    if (static_cast<unsigned char>(c) >= 0x20 && static_cast<unsigned char>(c) < 0x80 && c != '&' && c != '<' &&
        c != '>') {
      out += c;
      ++i;
      continue;
    }
    char32_t cp = 0;
    const size_t len = DecodeUtf8(value, i, cp);
    if (len == 0) {
      ++i;  // invalid byte: dropped
      continue;
    }
    if (XmlCarries(cp)) {
      switch (cp) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '\r': out += "&#13;"; break;
        case '\n': out += "&#10;"; break;
        default: out.append(value.substr(i, len));
      }
    }
    i += len;
  }
}

std::string XmlText(std::string_view value) {
  std::string out;
  out.reserve(value.size());
  AppendXmlText(out, value);
  return out;
}

}  // namespace marksend
