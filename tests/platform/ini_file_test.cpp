#include "platform/ini_file.h"

#include <gtest/gtest.h>

#include <string>

#include "support/test_support.h"

namespace marksend {
namespace {

using test::TempDir;
using test::WriteFile;

std::string Read(const std::string& bytes, const std::string& section, const std::string& key) {
  TempDir dir;
  WriteFile(dir / "Config.ini", bytes);
  return IniFile(dir / "Config.ini").ReadString(section, key, "<default>");
}

TEST(IniFile, MissingFileGivesDefault) {
  TempDir dir;
  EXPECT_EQ(IniFile(dir / "absent.ini").ReadString("Database", "Provider", "MSAccess"), "MSAccess");
  EXPECT_EQ(IniFile(dir.path()).ReadString("Database", "Provider", "MSAccess"), "MSAccess");  // a folder
}

TEST(IniFile, ProfileReaderRules) {
  struct Case {
    const char* rule;
    std::string file, section, key, expected;
  };
  const std::string thai2100 = [] {
    std::string s;
    for (int i = 0; i < 2100; ++i) s += "ก";
    return s;
  }();
  const std::string thai2047 = thai2100.substr(0, 2047 * 3);
  const Case cases[] = {
      {"plain", "[Database]\r\nProvider=MSSQL\r\n", "Database", "Provider", "MSSQL"},
      {"missing section", "[Database]\nProvider=MSSQL\n", "MSSQL", "Provider", "<default>"},
      {"missing key", "[Database]\nProvider=MSSQL\n", "Database", "Server", "<default>"},
      {"empty value", "[Database]\nProvider=\n", "Database", "Provider", ""},
      {"blank value", "[Database]\nProvider= \t \n", "Database", "Provider", ""},
      {"line without =", "[Database]\nProvider\n", "Database", "Provider", "<default>"},
      {"blanks trimmed", "\t[Database]\x1A\n \v\fProvider \t=\t My Server \x1A\r\n", "Database", "Provider",
       "My Server"},
      {"first = splits", "[S]\nk = a = b\n", "S", "k", "a = b"},
      {"double quotes", "[S]\nk=\"  a b  \"\n", "S", "k", "  a b  "},
      {"single quotes", "[S]\nk= 'x' \n", "S", "k", "x"},
      {"mixed marks stay", "[S]\nk=\"x'\n", "S", "k", "\"x'"},
      {"lone mark stays", "[S]\nk=\"\n", "S", "k", "\""},
      {"empty quotes", "[S]\nk=\"\"\n", "S", "k", ""},
      {"only one pair", "[S]\nk=\"\"x\"\"\n", "S", "k", "\"x\""},
      {"outer marks only", "[S]\nk=\"a\" b \"c\"\n", "S", "k", "a\" b \"c"},
      {"opening mark only", "[S]\nk=\"abc\n", "S", "k", "\"abc"},
      {"cut at 2047", "[S]\nk=" + std::string(3000, 'a') + "\n", "S", "k", std::string(2047, 'a')},
      {"cut counts characters", "[S]\nk=" + thai2100 + "\n", "S", "k", thai2047},
      {"quotes dropped before the cut", "[S]\nk=\"" + std::string(2047, 'b') + "\"\n", "S", "k",
       std::string(2047, 'b')},
      {"name up to the last ]", "[ My ] Sec ] tail\nk=1\n", "My ] Sec", "k", "1"},
      {"name trimmed", "[ \tMSSQL  ]\nUser ID=sa2\n", "MSSQL", "User ID", "sa2"},
      {"no ] is no header", "[S]\nk=1\n[T\nk=2\n", "S", "k", "1"},
      {"section case", "[database]\nPROVIDER=x\n", "DataBase", "Provider", "x"},
      {"thai names exact", "[ส่วน]\nชื่อ=x\n", "ส่วน", "ชื่อ", "x"},
      {"thai names differ", "[ส่วน]\nชื่อ=x\n", "ส่วน", "ชือ", "<default>"},
      {"first section only", "[S]\na=1\n[s]\na=2\nb=3\n", "S", "b", "<default>"},
      {"first section wins", "[S]\na=1\n[s]\na=2\n", "s", "a", "1"},
      {"first key wins", "[S]\na=1\nA=2\n", "S", "a", "1"},
      {"later sections still found", "[S]\na=1\n[T]\na=2\n[S]\n[U]\na=3\n", "U", "a", "3"},
      {"repeated header collects nothing", "[S]\na=1\n[T]\nb=2\n[S]\nc=3\n", "T", "c", "<default>"},
      {"no inline comment", "[S]\nk=v ; note\n", "S", "k", "v ; note"},
      {"; line is a key", "[S]\n;k=1\nk=2\n", "S", "k", "2"},
      {"; key read by its name", "[S]\n;k=1\n", "S", ";k", "1"},
      {"keys before any section", "k=1\n[S]\n", "S", "k", "<default>"},
      {"LF endings", "[S]\nk=1\nj=2", "S", "j", "2"},
      {"CR endings", "[S]\rk=1\rj=2\r", "S", "j", "2"},
  };
  for (const auto& c : cases) EXPECT_EQ(Read(c.file, c.section, c.key), c.expected) << c.rule;
}

std::string Utf16(const std::u16string& text, bool bigEndian) {
  std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
  for (char16_t u : text) {
    const char hi = static_cast<char>(u >> 8), lo = static_cast<char>(u & 0xFF);
    bytes += bigEndian ? hi : lo;
    bytes += bigEndian ? lo : hi;
  }
  return bytes;
}

TEST(IniFile, Encodings) {
  struct Case {
    const char* encoding;
    std::string file;
  };
  const std::u16string text = u"[โรงเรียน]\r\nชื่อ = \"โรงเรียนบ้านนา \U0001F600\"\r\n";
  const std::string expected = "โรงเรียนบ้านนา \U0001F600";
  const Case cases[] = {
      {"UTF-8", "[โรงเรียน]\r\nชื่อ = \"โรงเรียนบ้านนา \U0001F600\"\r\n"},
      {"UTF-8 with BOM", "\xEF\xBB\xBF[โรงเรียน]\r\nชื่อ = \"โรงเรียนบ้านนา \U0001F600\"\r\n"},
      {"UTF-16 LE", Utf16(text, false)},
      {"UTF-16 BE", Utf16(text, true)},
  };
  for (const auto& c : cases) EXPECT_EQ(Read(c.file, "โรงเรียน", "ชื่อ"), expected) << c.encoding;

  // Code page 874: "[ไทย]" / "ชื่อ=บ้าน" / "Euro=€"
  const std::string cp874 = "[\xE4\xB7\xC2]\r\n\xAA\xD7\xE8\xCD=\xBA\xE9\xD2\xB9\r\nEuro=\x80\r\n";
  EXPECT_EQ(Read(cp874, "ไทย", "ชื่อ"), "บ้าน");
  EXPECT_EQ(Read(cp874, "ไทย", "Euro"), "€");
}

}  // namespace
}  // namespace marksend
