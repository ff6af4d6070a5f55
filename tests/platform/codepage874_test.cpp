#include "platform/codepage874.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace marksend {
namespace {

// Bytes that Windows-874 leaves without a character.
const std::set<int> kUndefined = {0x81, 0x82, 0x83, 0x84, 0x86, 0x87, 0x88, 0x89, 0x8A, 0x8B, 0x8C, 0x8D,
                                  0x8E, 0x8F, 0x90, 0x98, 0x99, 0x9A, 0x9B, 0x9C, 0x9D, 0x9E, 0x9F, 0xDB,
                                  0xDC, 0xDD, 0xDE, 0xFC, 0xFD, 0xFE, 0xFF};

TEST(Codepage874, DecodesKnownBytes) {
  struct Case {
    std::string bytes, utf8;
  };
  const Case cases[] = {
      {"Az09 ~", "Az09 ~"},
      {std::string(1, '\0'), std::string(1, '\0')},
      {"\x80", "\u20AC"},
      {"\x85", "\u2026"},
      {"\x91\x92\x93\x94", "\u2018\u2019\u201C\u201D"},
      {"\x95\x96\x97", "\u2022\u2013\u2014"},
      {"\xA0", "\u00A0"},
      {"\xA1", "\u0E01"},  // first Thai consonant
      {"\xDA", "\u0E3A"},
      {"\xDF", "\u0E3F"},  // baht sign
      {"\xFB", "\u0E5B"},
      {"\xCA\xC7\xD1\xCA\xB4\xD5", "สวัสดี"},
      {"a\x81" "b\xFF", "a?b?"},
  };
  for (const auto& c : cases) EXPECT_EQ(cp874::ToUtf8(c.bytes), c.utf8) << c.utf8;
}

TEST(Codepage874, EveryDefinedByteRoundTripsAndUndefinedBytesDecodeToQuestionMark) {
  int defined = 0;
  for (int b = 0; b < 256; ++b) {
    const std::string byte(1, static_cast<char>(b));
    const std::string text = cp874::ToUtf8(byte);
    if (kUndefined.count(b)) {
      EXPECT_EQ(text, "?") << "byte " << b;
    } else {
      ++defined;
      EXPECT_TRUE(b == '?' || text != "?") << "byte " << b;
      EXPECT_EQ(cp874::FromUtf8(text), byte) << "byte " << b;
      EXPECT_EQ(cp874::RoundTrip(text), text) << "byte " << b;
    }
  }
  EXPECT_EQ(defined, 256 - 31);
}

TEST(Codepage874, CharactersTheCodePageLacksBecomeQuestionMarks) {
  struct Case {
    std::string utf8, bytes;
  };
  const Case cases[] = {
      {"สวัสดี", "\xCA\xC7\xD1\xCA\xB4\xD5"},
      {"\u20AC\u2026\u00A0", "\x80\x85\xA0"},
      {"caf\u00E9", "caf?"},
      {"\u65E5\u672C", "??"},
      {"\U0001F600!", "?!"},            // one character, one mark
      {"\u0E3B\u0E5C", "??"},           // gaps in the Thai block
      {"\u0081\u00FF", "??"},           // Latin-1, not this code page
      {"a\xFF" "b", "a?b"},             // not UTF-8
      {"\xC0\x80", "??"},               // overlong form
      {"\xED\xA0\x80", "???"},          // surrogate
      {"\xE0\xB8", "?"},                // Thai letter cut short
      {"\xE0\xB8" "x", "?x"},
      {"\xF4\x90\x80\x80", "????"},     // above U+10FFFF
  };
  for (const auto& c : cases) EXPECT_EQ(cp874::FromUtf8(c.utf8), c.bytes) << c.utf8;
}

TEST(Codepage874, RoundTripKeepsThaiAndLosesTheRest) {
  EXPECT_EQ(cp874::RoundTrip("ภาษาไทย \u0E3F100 \u2013 ok"), "ภาษาไทย \u0E3F100 \u2013 ok");
  EXPECT_EQ(cp874::RoundTrip("Müller ก"), "M?ller ก");
}

}  // namespace
}  // namespace marksend
