#include "platform/codepage874.h"

#include <array>
#include <cstdint>

#include "platform/utf8.h"

namespace marksend::cp874 {
namespace {

// The character of every byte; 0 marks a byte the code page leaves undefined
// (byte 0 itself is U+0000 and handled as ASCII).
constexpr std::array<char16_t, 256> MakeTable() {
  std::array<char16_t, 256> t{};
  for (int b = 0; b < 0x80; ++b) t[b] = static_cast<char16_t>(b);
  t[0x80] = 0x20AC;  // euro sign
  t[0x85] = 0x2026;  // horizontal ellipsis
  t[0x91] = 0x2018;
  t[0x92] = 0x2019;
  t[0x93] = 0x201C;
  t[0x94] = 0x201D;
  t[0x95] = 0x2022;  // bullet
  t[0x96] = 0x2013;  // en dash
  t[0x97] = 0x2014;  // em dash
  t[0xA0] = 0x00A0;  // no-break space
  for (int b = 0xA1; b <= 0xDA; ++b) t[b] = static_cast<char16_t>(0x0E01 + (b - 0xA1));
  for (int b = 0xDF; b <= 0xFB; ++b) t[b] = static_cast<char16_t>(0x0E3F + (b - 0xDF));
  return t;
}
constexpr auto kTable = MakeTable();

// Reverse lookup derived from the table: the Thai block directly, the few
// other characters above ASCII by a short search.
constexpr std::array<std::uint8_t, 0x80> MakeThaiBytes() {
  std::array<std::uint8_t, 0x80> r{};
  for (int b = 0x80; b < 0x100; ++b)
    if (kTable[b] >= 0x0E00 && kTable[b] < 0x0E80) r[kTable[b] - 0x0E00] = static_cast<std::uint8_t>(b);
  return r;
}
constexpr auto kThaiBytes = MakeThaiBytes();

struct Other {
  char16_t cp;
  std::uint8_t byte;
};
constexpr std::size_t kOtherCount = 10;
constexpr std::array<Other, kOtherCount> MakeOthers() {
  std::array<Other, kOtherCount> r{};
  std::size_t n = 0;
  for (int b = 0x80; b < 0x100; ++b)
    if (kTable[b] != 0 && (kTable[b] < 0x0E00 || kTable[b] >= 0x0E80))
      r[n++] = {kTable[b], static_cast<std::uint8_t>(b)};
  return r;
}
constexpr auto kOthers = MakeOthers();
static_assert(kOthers[kOtherCount - 1].cp != 0, "every non-Thai character above ASCII is listed");

char ByteOf(char32_t cp) {
  if (cp < 0x80) return static_cast<char>(cp);
  if (cp >= 0x0E00 && cp < 0x0E80) {
    const std::uint8_t b = kThaiBytes[cp - 0x0E00];
    return b ? static_cast<char>(b) : '?';
  }
  for (const auto& o : kOthers)
    if (o.cp == cp) return static_cast<char>(o.byte);
  return '?';
}

}  // namespace

std::string FromUtf8(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  std::size_t pos = 0;
  char32_t cp;
  while (pos < utf8.size()) out += utf8::Next(utf8, pos, cp) ? ByteOf(cp) : '?';
  return out;
}

std::string ToUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size() * 3);
  for (const char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    if (b < 0x80)
      out += c;
    else if (kTable[b] != 0)
      utf8::Append(out, kTable[b]);
    else
      out += '?';
  }
  return out;
}

std::string RoundTrip(std::string_view utf8) { return ToUtf8(FromUtf8(utf8)); }

}  // namespace marksend::cp874
