// Every statement of the export runs unchanged on generated sample schools,
// through the same Connection and Query that the export uses; the views give
// what the base tables say; the data covers the cases the writers handle;
// and each per-row statement is an index search.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/db/connection.h"
#include "platform/db/query.h"
#include "support/test_support.h"

namespace marksend {
namespace {

using Lines = std::vector<std::string>;

// The statements, line for line as the export and the window send them.
const Lines kSchoolStatement = {
    "SELECT ComMSchool.SchoolCode, ComMSchool.SchooPrefix+ComMSchool.SchoolName As SchoolName,",
    "       ComMSchool.Term1Date, ComMSchool.Term2Date,",
    "       ComMSchool.SchoolName+ComBTambon.TambonName As SName",
    "FROM ComMSchool LEFT OUTER JOIN ComBTambon ON ComMSchool.TambonID = ComBTambon.TambonID;"};

Lines CatalogueStatement(const std::string& year) {
  return {"SELECT SubjectID, ReportSubjectCode, SubjectName, Credits, SubjectHours, CurriculumID FROM RegMSubject",
          "WHERE SubjectID IN (SELECT TTranscript.SubjectID",
          "\t  FROM (RegBClass INNER JOIN RegTClassRoom AS ClassRoom ON RegBClass.ClassID = ClassRoom.ClassID) "
          "INNER JOIN ((RegTClassRoom AS TClassRoom INNER JOIN RegTTranscript AS TTranscript ON "
          "(TClassRoom.AcademicYear = TTranscript.AcademicYear) AND (TClassRoom.PersonID = TTranscript.PersonID)) "
          "INNER JOIN RegBClass AS TClass ON TClassRoom.ClassID = TClass.ClassID) ON (ClassRoom.PersonID = "
          "TClassRoom.PersonID) AND (RegBClass.CurriculumID = TClass.CurriculumID)",
          "\t  WHERE ClassRoom.AcademicYear = " + year, "\t  GROUP BY TTranscript.SubjectID);"};
}

Lines StudentStatement(const std::string& year) {
  return {"SELECT ComMPerson.PersonID, ComMPerson.PersonCode, ComMPerson.BirthDate, ComBPrefix.PrefixName + "
          "ComMPerson.FirstName + '   ' + ComMPerson.LastName As StudentName, RegBClass.ClassName, "
          "RegBClass.CurriculumID",
          "FROM  ((ComMPerson INNER JOIN ComBPrefix ON ComMPerson.PrefixID = ComBPrefix.PrefixID)",
          "      INNER JOIN RegTClassRoom ON ComMPerson.PersonID = RegTClassRoom.PersonID)",
          "      INNER JOIN RegBClass ON RegTClassRoom.ClassID = RegBClass.ClassID",
          "WHERE RegTClassRoom.AcademicYear = " + year};
}

Lines GroupGpaStatement(const std::string& curriculum, const std::string& person) {
  return {"SELECT * FROM VRegGPASubjectGroup WHERE CurriculumID = " + curriculum + " AND PersonID = " + person};
}

Lines TermStatement(const std::string& curriculum, const std::string& person) {
  return {"SELECT AcademicYear,TermID,TermName FROM VRegPP1",
          "WHERE CurriculumID = " + curriculum + " AND PersonID = " + person,
          "GROUP BY AcademicYear,TermID,TermName ORDER BY AcademicYear,TermID"};
}

Lines TermGpaStatement(const std::string& person, const std::string& year, const std::string& term) {
  return {"SELECT CreditAll,GPA FROM VRegGPATerm",
          "WHERE PersonID = " + person + " AND AcademicYear = " + year + " AND TermID = " + term};
}

Lines ScoreStatement(const std::string& person, const std::string& year, const std::string& term) {
  return {"SELECT VRegScore.SubjectID, VRegScore.PersonID, "
          "VRegScore.GradeName,SumSB,SumSM,SumSA,SumSF,SumFSB,SumFSM,SumFSA,SumFSF",
          "FROM VRegScore INNER JOIN RegMSubject ON VRegScore.SubjectID = RegMSubject.SubjectID",
          "WHERE VRegScore.PersonID = " + person + " AND VRegScore.AcademicYear = " + year +
              " AND VRegScore.TermID = " + term,
          "ORDER BY RegMSubject.SubjectTypeID,RegMSubject.SubjectGroupID, RegMSubject.ReportSubjectCode"};
}

Lines RegradeStatement(const std::string& person, const std::string& subject) {
  return {"SELECT RegTTranscript.ReGradeID, RegTTranscript.SGradeID, RegBGradeR.GradeName AS GradeNameR, "
          "RegBGradeS.GradeName AS GradeNameS",
          "FROM RegBGrade AS RegBGradeR INNER JOIN (RegBGrade AS RegBGradeS INNER JOIN RegTTranscript ON "
          "RegBGradeS.GradeID = RegTTranscript.SGradeID) ON RegBGradeR.GradeID = RegTTranscript.ReGradeID",
          "WHERE RegTTranscript.PersonID = " + person + " AND RegTTranscript.SubjectID = " + subject};
}

struct Sample {
  int students;
  int seed;
  int year;
};

class SampleStatements : public testing::TestWithParam<Sample> {
 protected:
  void SetUp() override {
    const Sample& s = GetParam();
    const auto result = test::Run(test::BinPath("marksend-sample") + " --out school.db --students " +
                                      std::to_string(s.students) + " --seed " + std::to_string(s.seed) +
                                      " --year " + std::to_string(s.year),
                                  dir_.path());
    ASSERT_EQ(result.exitCode, 0) << result.err;
    connection_.ProviderName = "Access";
    connection_.Database = (dir_ / "school.db").string();
    connection_.Open();
    year_ = std::to_string(s.year);
  }

  std::unique_ptr<db::Query> Open(Lines lines) {
    auto query = std::make_unique<db::Query>(connection_);
    query->SetStatement(std::move(lines));
    query->Open();
    return query;
  }

  std::string Text(const db::Query& q, const char* column) { return q.FieldByName(column).AsString(); }

  // The credit-weighted average of the graded entries that a filter selects,
  // counting a re-grade first, then a settling grade: the views' rule, from
  // the base tables.
  double ExpectedGpa(const std::string& where) {
    std::map<std::string, std::string> points;
    for (auto g = Open({"SELECT GradeID, GradePoint FROM RegBGrade"}); !g->Eof(); g->Next())
      points[Text(*g, "GradeID")] = Text(*g, "GradePoint");
    double weighted = 0, credits = 0;
    auto q = Open({"SELECT t.GradeID, t.ReGradeID, t.SGradeID, s.Credits FROM RegTTranscript AS t",
                   "INNER JOIN RegMSubject AS s ON s.SubjectID = t.SubjectID WHERE " + where});
    for (; !q->Eof(); q->Next()) {
      std::string grade = Text(*q, "GradeID");
      if (Text(*q, "SGradeID") != "0") grade = Text(*q, "SGradeID");
      if (Text(*q, "ReGradeID") != "0") grade = Text(*q, "ReGradeID");
      if (points[grade].empty()) continue;
      weighted += std::stod(points[grade]) * q->FieldByName("Credits").AsFloat();
      credits += q->FieldByName("Credits").AsFloat();
    }
    return std::round(weighted / credits * 100) / 100;
  }

  test::TempDir dir_;
  db::Connection connection_;
  std::string year_;
};

TEST_P(SampleStatements, SchoolStatementGivesTermStartsAsDayAndMonth) {
  auto school = Open(kSchoolStatement);
  ASSERT_EQ(school->RecordCount(), 1);
  const std::string term1 = Text(*school, "Term1Date"), term2 = Text(*school, "Term2Date");
  EXPECT_EQ(term1.substr(0, 6), "16/05/");
  EXPECT_EQ(term2.substr(0, 6), "01/11/");
  EXPECT_EQ(Text(*school, "SchoolName").rfind("โรงเรียน", 0), 0u);  // prefix joined to the name by "+"
  EXPECT_FALSE(Text(*school, "SName").empty());
}

TEST_P(SampleStatements, CatalogueListsEachSubjectOnceWithBothCurricula) {
  auto catalogue = Open(CatalogueStatement(year_));
  std::set<std::string> ids, curricula;
  bool ampersand = false, slash = false, nullCode = false;
  for (; !catalogue->Eof(); catalogue->Next()) {
    EXPECT_TRUE(ids.insert(Text(*catalogue, "SubjectID")).second);
    curricula.insert(Text(*catalogue, "CurriculumID"));
    const std::string name = Text(*catalogue, "SubjectName");
    ampersand |= name.find('&') != std::string::npos;
    slash |= name.find('/') != std::string::npos;
    nullCode |= catalogue->FieldByName("ReportSubjectCode").IsNull();
  }
  EXPECT_EQ(curricula, (std::set<std::string>{"1", "2"}));
  EXPECT_TRUE(ampersand);
  EXPECT_TRUE(slash);
  EXPECT_TRUE(nullCode);
}

// Walks the document's nesting: students, their terms, their scores, and
// the re-grade look-up of every score row.
TEST_P(SampleStatements, PerRowStatementsRunAndAgreeWithTheBaseTables) {
  auto students = Open(StudentStatement(year_));
  ASSERT_EQ(students->RecordCount(), GetParam().students);
  bool nullBirthDate = false, termZero = false, halfMark = false, unmarked = false, regrade = false, settled = false;
  for (; !students->Eof(); students->Next()) {
    const std::string person = Text(*students, "PersonID"), curriculum = Text(*students, "CurriculumID");
    nullBirthDate |= students->FieldByName("BirthDate").IsNull();
    EXPECT_NE(Text(*students, "StudentName").find("   "), std::string::npos);

    auto group = Open(GroupGpaStatement(curriculum, person));
    ASSERT_EQ(group->RecordCount(), 1) << person;
    EXPECT_DOUBLE_EQ(group->FieldByName("GPA").AsFloat(),
                     ExpectedGpa("t.PersonID = " + person + " AND s.CurriculumID = " + curriculum));

    auto terms = Open(TermStatement(curriculum, person));
    ASSERT_GT(terms->RecordCount(), 0) << person;
    for (; !terms->Eof(); terms->Next()) {
      const std::string year = Text(*terms, "AcademicYear"), term = Text(*terms, "TermID");
      termZero |= term == "0";
      if (term == "0") {
        EXPECT_EQ(curriculum, "1") << "only the lower curriculum has a year-long term";
      }
      const std::string entries = "t.PersonID = " + person + " AND t.AcademicYear = " + year + " AND t.TermID = " + term;

      auto termGpa = Open(TermGpaStatement(person, year, term));
      ASSERT_EQ(termGpa->RecordCount(), 1);
      EXPECT_DOUBLE_EQ(termGpa->FieldByName("GPA").AsFloat(), ExpectedGpa(entries));

      auto count = Open({"SELECT COUNT(*) AS N FROM RegTTranscript AS t WHERE " + entries});
      auto scores = Open(ScoreStatement(person, year, term));
      EXPECT_EQ(scores->RecordCount(), count->FieldByName("N").AsInteger());
      for (; !scores->Eof(); scores->Next()) {
        const double b = scores->FieldByName("SumSB").AsFloat(), a = scores->FieldByName("SumSA").AsFloat();
        halfMark |= b != std::floor(b) || a != std::floor(a);
        unmarked |= scores->FieldByName("SumFSB").IsNull() && scores->FieldByName("SumFSF").IsNull();
        auto regrades = Open(RegradeStatement(person, Text(*scores, "SubjectID")));
        ASSERT_EQ(regrades->RecordCount(), 1) << "grade 0 must exist so entries without a re-grade join";
        regrade |= Text(*regrades, "ReGradeID") != "0";
        settled |= Text(*regrades, "SGradeID") != "0";
      }
    }
  }
  EXPECT_TRUE(nullBirthDate);
  EXPECT_TRUE(termZero);
  EXPECT_TRUE(halfMark);
  EXPECT_TRUE(unmarked);
  EXPECT_TRUE(regrade);
  EXPECT_TRUE(settled);
}

// A "SCAN" of a table (named or aliased) in a plan means a statement reads
// a whole table; a scan of a view's own one-row result is fine.
TEST_P(SampleStatements, StatementsSearchIndexesInsteadOfScanningTables) {
  std::set<std::string> views;
  for (auto v = Open({"SELECT name FROM sqlite_master WHERE type = 'view'"}); !v->Eof(); v->Next())
    views.insert(Text(*v, "name"));
  auto first = Open({"SELECT PersonID, CurriculumID, AcademicYear, TermID, SubjectID FROM VRegPP1",
                     "WHERE AcademicYear = " + year_ + " AND TermID = 1"});
  const std::string person = Text(*first, "PersonID"), curriculum = Text(*first, "CurriculumID");
  const std::string term = Text(*first, "TermID"), subject = Text(*first, "SubjectID");
  const std::vector<Lines> statements = {
      StudentStatement(year_),          CatalogueStatement(year_),
      GroupGpaStatement(curriculum, person), TermStatement(curriculum, person),
      TermGpaStatement(person, year_, term), ScoreStatement(person, year_, term),
      RegradeStatement(person, subject)};
  for (const Lines& statement : statements) {
    Lines explained = statement;
    explained.front() = "EXPLAIN QUERY PLAN " + explained.front();
    auto plan = Open(explained);
    std::vector<std::string> steps;
    for (; !plan->Eof(); plan->Next()) steps.push_back(Text(*plan, "detail"));
    std::string details;
    for (const auto& step : steps) details += step + "\n";
    for (const auto& step : steps) {
      if (step.rfind("SCAN ", 0) != 0) continue;
      const std::string name = step.substr(5, step.find(' ', 5) - 5);
      EXPECT_TRUE(views.count(name)) << statement.front() << "\n" << details;
    }
    EXPECT_NE(details.find("SEARCH"), std::string::npos) << details;
  }
}

INSTANTIATE_TEST_SUITE_P(Schools, SampleStatements,
                         testing::Values(Sample{30, 11, 2566}, Sample{13, 2, 2563}));

}  // namespace
}  // namespace marksend
