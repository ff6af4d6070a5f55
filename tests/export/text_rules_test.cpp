// The small text rules of the documents: name cleaning, XML text and the
// guard on spliced values.
#include <gtest/gtest.h>

#include "export/statement_value.h"
#include "export/subject_name.h"
#include "export/xml_text.h"
#include "platform/error.h"

namespace marksend {
namespace {

TEST(SubjectNameTest, Cleaning) {
  const std::pair<const char*, const char*> cases[] = {
      {"ภาษาไทย 1", "ภาษาไทย1"},
      {"คณิตศาสตร์ & วิทยาศาสตร์", "คณิตศาสตร์และวิทยาศาสตร์"},
      {"A & B & C", "AและBC"},
      {"สุขศึกษา/พลศึกษา/ศิลปะ", "สุขศึกษาหรือพลศึกษาศิลปะ"},
      {"a&b/c", "aและbหรือc"},
      {" !\"#$%'()*+,-.", ""},
      {" !\"#$%&'()*+,-./", "และหรือ"},
      {"ค (ม.1) - ปี 2.", "คม1ปี2"},
      {"<x>", "<x>"},
      {"วิชา ✓ ข", "วิชา?ข"},
      {"Ünïcode", "?n?code"},
      {"", ""},
  };
  for (const auto& [name, cleaned] : cases) EXPECT_EQ(CleanSubjectName(name), cleaned) << name;
}

TEST(XmlTextTest, EscapesMarkupAndDropsWhatXmlCannotCarry) {
  const std::pair<std::string, std::string> cases[] = {
      {"a&b<c>d", "a&amp;b&lt;c&gt;d"},
      {"'\"", "'\""},
      {"tab\tkept", "tab\tkept"},
      {"line\r\nbreak", "line&#13;&#10;break"},
      {std::string("nul\0bell\x07", 9), "nulbell"},
      {"bad\xFF\xC3utf8", "badutf8"},
      {"\xEF\xBF\xBE\xEF\xBF\xBFnon", "non"},      // U+FFFE, U+FFFF
      {"\xED\xA0\x80surrogate", "surrogate"},      // an encoded surrogate
      {"\xC0\xAFoverlong", "overlong"},
      {"ไทย😀", "ไทย😀"},
  };
  for (const auto& [value, escaped] : cases) EXPECT_EQ(XmlText(value), escaped) << value;
}

TEST(StatementValueTest, OnlyPlainNumbersMayBeSpliced) {
  for (const char* ok : {"2566", "0", "-3", "1.5"}) EXPECT_TRUE(IsPlainNumber(ok)) << ok;
  for (const char* bad : {"", "-", "1.", ".5", "2566 ", " 2566", "1e5", "1;DROP", "25x6", "+1"})
    EXPECT_FALSE(IsPlainNumber(bad)) << bad;
  try {
    RequirePlainNumber("2566;--", "academic year");
    FAIL() << "no error";
  } catch (const Error& e) {
    EXPECT_STREQ(e.what(), "The academic year \"2566;--\" is not a number.");
  }
}

}  // namespace
}  // namespace marksend
