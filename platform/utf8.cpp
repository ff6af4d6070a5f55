#include "platform/utf8.h"

namespace marksend::utf8 {

bool Next(std::string_view text, std::size_t& pos, char32_t& cp) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char b0 = byte(pos);
  if (b0 < 0x80) {
    cp = b0;
    ++pos;
    return true;
  }
  // Length and the allowed range of the second byte, which is where overlong
  // forms, surrogates and values above U+10FFFF are ruled out.
  int length;
  unsigned char low = 0x80, high = 0xBF;
  if (b0 >= 0xC2 && b0 <= 0xDF) {
    length = 2;
    cp = b0 & 0x1F;
  } else if (b0 >= 0xE0 && b0 <= 0xEF) {
    length = 3;
    cp = b0 & 0x0F;
    if (b0 == 0xE0) low = 0xA0;
    if (b0 == 0xED) high = 0x9F;
  } else if (b0 >= 0xF0 && b0 <= 0xF4) {
    length = 4;
    cp = b0 & 0x07;
    if (b0 == 0xF0) low = 0x90;
    if (b0 == 0xF4) high = 0x8F;
  } else {
    ++pos;
    return false;
  }
  ++pos;
  for (int i = 1; i < length; ++i) {
    if (pos >= text.size()) return false;
    const unsigned char b = byte(pos);
    if (b < low || b > high) return false;
    low = 0x80;
    high = 0xBF;
    cp = (cp << 6) | (b & 0x3F);
    ++pos;
  }
  return true;
}

bool IsValid(std::string_view text) {
  std::size_t pos = 0;
  char32_t cp;
  while (pos < text.size())
    if (!Next(text, pos, cp)) return false;
  return true;
}

void Append(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

std::size_t PrefixBytes(std::string_view text, std::size_t count) {
  std::size_t pos = 0;
  char32_t cp;
  for (std::size_t n = 0; n < count && pos < text.size(); ++n) Next(text, pos, cp);
  return pos;
}

}  // namespace marksend::utf8
