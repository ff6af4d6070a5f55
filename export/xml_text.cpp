#include "export/xml_text.h"

#include "platform/utf8.h"

namespace marksend {

namespace {

// Surrogates never get here: utf8::Next refuses them.
bool XmlCarries(char32_t cp) {
  if (cp < 0x20) return cp == 0x09 || cp == 0x0A || cp == 0x0D;
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
    const size_t start = i;
    if (!utf8::Next(value, i, cp)) continue;  // an ill-formed sequence is dropped
    const size_t len = i - start;
    if (XmlCarries(cp)) {
      switch (cp) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '\r': out += "&#13;"; break;
        case '\n': out += "&#10;"; break;
        default: out.append(value.substr(start, len));
      }
    }
  }
}

std::string XmlText(std::string_view value) {
  std::string out;
  out.reserve(value.size());
  AppendXmlText(out, value);
  return out;
}

}  // namespace marksend
