#include "platform/db/utf16.h"

#include <gtest/gtest.h>

namespace marksend::db {
namespace {

TEST(Utf16, RoundTripsWellFormedText) {
  const struct {
    std::string utf8;
    std::u16string utf16;
  } cases[] = {
      {"", u""},
      {"TEV 10", u"TEV 10"},
      {"ม.1/2 ใจดี", u"\u0E21.1/2 \u0E43\u0E08\u0E14\u0E35"},
      {"é€", u"\u00E9\u20AC"},
      {"a😀b",
       u"a\xD83D\xDE00"
       u"b"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Utf8ToUtf16(c.utf8), c.utf16) << c.utf8;
    EXPECT_EQ(Utf16ToUtf8(c.utf16), c.utf8) << c.utf8;
  }
}

TEST(Utf16, IllFormedInputBecomesReplacementCharacters) {
  EXPECT_EQ(Utf8ToUtf16("a\xC3"), u"a\xFFFD");  // cut short
  EXPECT_EQ(Utf8ToUtf16("\xC0\xAF"
                        "b"),
            u"\xFFFD\xFFFD"
            u"b");                                    // overlong
  EXPECT_EQ(Utf8ToUtf16("\xED\xA0\x80"), u"\xFFFD");  // an encoded surrogate
  EXPECT_EQ(Utf16ToUtf8(u"\xD83D"
                        u"x"),
            "\xEF\xBF\xBDx");                         // lone high surrogate
  EXPECT_EQ(Utf16ToUtf8(u"\xDE00"), "\xEF\xBF\xBD");  // lone low surrogate
}

}  // namespace
}  // namespace marksend::db
