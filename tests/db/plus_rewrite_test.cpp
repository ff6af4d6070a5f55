#include "platform/db/plus_rewrite.h"

#include <gtest/gtest.h>

namespace marksend::db {
namespace {

struct Case {
  const char* sql;
  const char* expected;
};

TEST(PlusRewrite, RewritesBinaryPlusWithPrecedence) {
  const Case cases[] = {
      {"a+b+c", "ms_plus(ms_plus(a,b),c)"},
      {"SELECT 'x' + '   ' + 'y'", "SELECT ms_plus(ms_plus('x', '   '), 'y')"},
      {"'it''s+' + x", "ms_plus('it''s+', x)"},
      {"(a + b) * c", "(ms_plus(a, b)) * c"},
      {"a * (b + c)", "a * (ms_plus(b, c))"},
      {"f(a + b, c + d)", "f(ms_plus(a, b), ms_plus(c, d))"},
      {"count(*) + 1", "ms_plus(count(*), 1)"},
      {"CAST(a AS TEXT) + b", "ms_plus(CAST(a AS TEXT), b)"},
      {"1+2*3", "ms_plus(1,2*3)"},
      {"1*2+3", "ms_plus(1*2,3)"},
      {"2 % 3 + 4 / 5", "ms_plus(2 % 3, 4 / 5)"},
      {"1e+5 + .5", "ms_plus(1e+5, .5)"},
      {"NULL + 'x'", "ms_plus(NULL, 'x')"},
      {"a - b + c", "ms_plus(a - b, c)"},
      {"a + b - c", "ms_plus(a, b) - c"},
      {"a - -b + c", "ms_plus(a - -b, c)"},
      {"a || b + c", "ms_plus(a || b, c)"},
      {"a + b || c", "ms_plus(a, b || c)"},
      {"a + b & c", "ms_plus(a, b) & c"},
      {"a << b + c", "a << ms_plus(b, c)"},
      {"SELECT x + y As Name, z FROM t", "SELECT ms_plus(x, y) As Name, z FROM t"},
      {"SELECT x + y Name FROM t", "SELECT ms_plus(x, y) Name FROM t"},
      {"WHERE a + 1 = b + 2 AND c + d > 0 OR e+f<>g", "WHERE ms_plus(a, 1) = ms_plus(b, 2) AND ms_plus(c, d) > 0 OR ms_plus(e,f)<>g"},
      {"x BETWEEN a + 1 AND b + 1", "x BETWEEN ms_plus(a, 1) AND ms_plus(b, 1)"},
      {"a IN (b + c, d)", "a IN (ms_plus(b, c), d)"},
      {"NOT a + b", "NOT ms_plus(a, b)"},
      {"a + b IS NULL", "ms_plus(a, b) IS NULL"},
      {"a + b LIKE c + '%'", "ms_plus(a, b) LIKE ms_plus(c, '%')"},
      {"CASE WHEN a + b > 0 THEN x + y ELSE z END + w",
       "ms_plus(CASE WHEN ms_plus(a, b) > 0 THEN ms_plus(x, y) ELSE z END, w)"},
      {"t.a + t.b", "ms_plus(t.a, t.b)"},
      {"t.Order + t.End", "ms_plus(t.Order, t.End)"},
      {"\"a b\" + [c d] + `e`", "ms_plus(ms_plus(\"a b\", [c d]), `e`)"},
      {"a + b COLLATE NOCASE", "ms_plus(a, b COLLATE NOCASE)"},
      {"\xE0\xB8\x8A\xE0\xB8\xB7\xE0\xB9\x88\xE0\xB8\xAD + 'x'",
       "ms_plus(\xE0\xB8\x8A\xE0\xB8\xB7\xE0\xB9\x88\xE0\xB8\xAD, 'x')"},  // a Thai column name
      {"a /* note */ + b", "ms_plus(a /* note */ , b)"},
      {"a -- note\n+ b", "ms_plus(a -- note\n, b)"},
      {"SELECT +a, -b + c, a * +b, (+1)", "SELECT +a, ms_plus(-b, c), a * +b, (+1)"},
  };
  for (const auto& c : cases) EXPECT_EQ(RewritePlus(c.sql), c.expected) << c.sql;
}

TEST(PlusRewrite, LeavesStatementsWithoutBinaryPlusUnchanged) {
  const char* cases[] = {
      "SELECT 'a+b', \"c+d\", [e+f], `g+h` FROM t -- x + y\n/* p + q */ WHERE a = 'it''s + that'",
      "SELECT  +1 ,\n\t-2, a * +b, (+c), f(+d) FROM t WHERE x = +3",
      "SELECT a - b - c, 1e+5, x'2B2B' FROM t",
      "SELECT a +",                   // dangling: left for the database to reject
      "SELECT a + FROM t",
      "SELECT 'unterminated + text",
      "SELECT a /* unterminated + comment",
      "",
  };
  for (const char* sql : cases) EXPECT_EQ(RewritePlus(sql), sql) << sql;
}

TEST(PlusRewrite, RewritesTheSchoolStatement) {
  const std::string sql =
      "SELECT ComMSchool.SchoolCode, ComMSchool.SchooPrefix+ComMSchool.SchoolName As SchoolName,\n"
      "       ComMSchool.Term1Date, ComMSchool.Term2Date,\n"
      "       ComMSchool.SchoolName+ComBTambon.TambonName As SName\n"
      "FROM ComMSchool LEFT OUTER JOIN ComBTambon ON ComMSchool.TambonID = ComBTambon.TambonID;";
  EXPECT_EQ(RewritePlus(sql),
            "SELECT ComMSchool.SchoolCode, ms_plus(ComMSchool.SchooPrefix,ComMSchool.SchoolName) As SchoolName,\n"
            "       ComMSchool.Term1Date, ComMSchool.Term2Date,\n"
            "       ms_plus(ComMSchool.SchoolName,ComBTambon.TambonName) As SName\n"
            "FROM ComMSchool LEFT OUTER JOIN ComBTambon ON ComMSchool.TambonID = ComBTambon.TambonID;");
}

}  // namespace
}  // namespace marksend::db
