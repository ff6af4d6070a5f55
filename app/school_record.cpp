#include "app/school_record.h"

#include "platform/utf8.h"

namespace marksend {

namespace {

// The byte offset after the first count characters of text (its size when
// it holds fewer); an ill-formed sequence counts as one character.
std::size_t OffsetAfter(std::string_view text, std::size_t count) {
  std::size_t pos = 0;
  char32_t cp;
  while (count > 0 && pos < text.size()) {
    utf8::Next(text, pos, cp);
    --count;
  }
  return pos;
}

// count characters from position first (counted from 1), cut at the end.
std::string Characters(std::string_view text, std::size_t first, std::size_t count) {
  const std::size_t begin = OffsetAfter(text, first - 1);
  const std::string_view rest = text.substr(begin);
  return std::string(rest.substr(0, OffsetAfter(rest, count)));
}

// The current year's digits, then month and day cut from a dd/MM/yyyy text.
std::string TermStartKey(int year, const std::string& termText) {
  return std::to_string(year) + Characters(termText, 4, 2) + Characters(termText, 1, 2);
}

std::string TwoDigits(int value) { return (value < 10 ? "0" : "") + std::to_string(value); }

// "yyyyMMdd".
std::string DayKey(const DateTime& date) {
  std::string year = std::to_string(date.year);
  if (year.size() < 4) year.insert(0, 4 - year.size(), '0');
  return year + TwoDigits(date.month) + TwoDigits(date.day);
}

// Closes the query on every way out, errors included.
class CloseOnExit {
 public:
  explicit CloseOnExit(db::Query& query) : query_(query) {}
  ~CloseOnExit() { query_.Close(); }
  CloseOnExit(const CloseOnExit&) = delete;
  CloseOnExit& operator=(const CloseOnExit&) = delete;

 private:
  db::Query& query_;
};

}  // namespace

const std::vector<std::string>& SchoolStatement() {
  static const std::vector<std::string> lines{
      "SELECT ComMSchool.SchoolCode, ComMSchool.SchooPrefix+ComMSchool.SchoolName As SchoolName,",
      "       ComMSchool.Term1Date, ComMSchool.Term2Date,",
      "       ComMSchool.SchoolName+ComBTambon.TambonName As SName",
      "FROM ComMSchool LEFT OUTER JOIN ComBTambon ON ComMSchool.TambonID = ComBTambon.TambonID;",
  };
  return lines;
}

int DefaultAcademicYear(const std::string& term1Text, const std::string& term2Text, const DateTime& today) {
  const int y = today.year;
  const std::string t = DayKey(today);
  const std::string k1 = TermStartKey(y, term1Text);
  const std::string k2 = TermStartKey(y, term2Text);
  // A term's start day already belongs to the new academic year.
  return (t >= k2 || t >= k1) ? y + 543 : y + 542;
}

int LoadSchoolRecord(db::Query& querySchool, const DateTime& today) {
  if (!querySchool.Active()) {
    querySchool.SetStatement(SchoolStatement());
    querySchool.Open();
  }
  const CloseOnExit closer(querySchool);
  querySchool.First();
  const std::string term1 = querySchool.FieldByName("Term1Date").AsString();
  const std::string term2 = querySchool.FieldByName("Term2Date").AsString();
  return DefaultAcademicYear(term1, term2, today);
}

}  // namespace marksend
