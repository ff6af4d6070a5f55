// The student results document, "tev10xml.xml".
#include <utility>

#include "export/document_lines.h"
#include "export/export_thread.h"
#include "export/statement_value.h"
#include "export/xml_text.h"
#include "platform/codepage874.h"
#include "platform/number_format.h"

namespace marksend {

namespace {

void Append(std::string& line, const db::Query& q, const char* column) {
  AppendXmlText(line, q.FieldByName(column).AsString());
}

// A value spliced into a later statement: its text, which must be a number.
std::string Spliced(const db::Query& q, const char* column) {
  std::string text = q.FieldByName(column).AsString();
  RequirePlainNumber(text, column);
  return text;
}

// Sets a statement built as one text (its lines joined by line breaks, as
// Query::Open would join them).
void SetStatementText(db::Query& q, const std::string& text) {
  std::vector<std::string> lines;
  lines.emplace_back(text);
  q.SetStatement(std::move(lines));
}

constexpr std::string_view kTermStatement = "SELECT AcademicYear,TermID,TermName FROM VRegPP1\nWHERE CurriculumID = ";
constexpr std::string_view kTermStatementEnd =
    "\nGROUP BY AcademicYear,TermID,TermName ORDER BY AcademicYear,TermID";
constexpr std::string_view kTermGpaStatement = "SELECT CreditAll,GPA FROM VRegGPATerm\nWHERE PersonID = ";
constexpr std::string_view kScoreStatement =
    "SELECT VRegScore.SubjectID, VRegScore.PersonID, "
    "VRegScore.GradeName,SumSB,SumSM,SumSA,SumSF,SumFSB,SumFSM,SumFSA,SumFSF\n"
    "FROM VRegScore INNER JOIN RegMSubject ON VRegScore.SubjectID = RegMSubject.SubjectID\n"
    "WHERE VRegScore.PersonID = ";
constexpr std::string_view kScoreStatementEnd =
    "\nORDER BY RegMSubject.SubjectTypeID,RegMSubject.SubjectGroupID, RegMSubject.ReportSubjectCode";
constexpr std::string_view kRegradeStatement =
    "SELECT RegTTranscript.ReGradeID, RegTTranscript.SGradeID, RegBGradeR.GradeName AS GradeNameR, "
    "RegBGradeS.GradeName AS GradeNameS\n"
    "FROM RegBGrade AS RegBGradeR INNER JOIN (RegBGrade AS RegBGradeS INNER JOIN RegTTranscript ON "
    "RegBGradeS.GradeID = RegTTranscript.SGradeID) ON RegBGradeR.GradeID = RegTTranscript.ReGradeID\n"
    "WHERE RegTTranscript.PersonID = ";

}  // namespace

void TExportThread::WriteStudentResults() {
  // Lines are built in one reused buffer and packed into the document; the
  // statements likewise, so a run allocates little per row.
  DocumentLines lines;
  lines.Add(R"(<?xml version="1.0" encoding="utf-8"?>)");
  lines.Add("<Stds>");
  std::string line;
  std::string sql;

  const std::string year = host_.YearText();
  RequirePlainNumber(year, "academic year");
  db::Query& students = *StudentQuery;
  students.SetStatement({
      "SELECT ComMPerson.PersonID, ComMPerson.PersonCode, ComMPerson.BirthDate, ComBPrefix.PrefixName + "
      "ComMPerson.FirstName + '   ' + ComMPerson.LastName As StudentName, RegBClass.ClassName, "
      "RegBClass.CurriculumID",
      "FROM  ((ComMPerson INNER JOIN ComBPrefix ON ComMPerson.PrefixID = ComBPrefix.PrefixID)",
      "      INNER JOIN RegTClassRoom ON ComMPerson.PersonID = RegTClassRoom.PersonID)",
      "      INNER JOIN RegBClass ON RegTClassRoom.ClassID = RegBClass.ClassID",
      "WHERE RegTClassRoom.AcademicYear = " + year,
  });
  students.Open();
  host_.SetProgressMax(students.RecordCount());
  students.First();

  int studentNo = 0;
  while (!students.Eof()) {
    CheckStop();
    host_.SetProgressPosition(++studentNo);
    ++StudentCount;

    line = "<Std><Psn><Co>";
    Append(line, students, "PersonCode");
    line += "</Co><Na>";
    Append(line, students, "StudentName");
    line += "</Na><BD>";
    line += BuddhistBirthDateText(students.FieldByName("BirthDate").AsDate());
    line += "</BD><CR>";
    Append(line, students, "ClassName");
    line += "</CR>";
    lines.Add(line);

    const std::string curriculumId = Spliced(students, "CurriculumID");
    const std::string personId = Spliced(students, "PersonID");

    db::Query& groups = *GroupGpaQuery;
    sql.assign("SELECT * FROM VRegGPASubjectGroup WHERE CurriculumID = ")
        .append(curriculumId)
        .append(" AND PersonID = ")
        .append(personId);
    SetStatementText(groups, sql);
    groups.Open();
    groups.First();
    // The nine averages, each element holding its column.
    static constexpr std::pair<const char*, const char*> kAverages[] = {
        {"Th", "ThaiGPA"}, {"Ma", "MathGPA"}, {"Sc", "ScienceGPA"}, {"So", "SocialGPA"}, {"He", "HealthGPA"},
        {"Ar", "ArtGPA"},  {"Jo", "JobGPA"},  {"En", "EngGPA"},     {"GP", "GPA"}};
    line.clear();
    for (const auto& [element, column] : kAverages) {
      line.append("<").append(element).append(">");
      Append(line, groups, column);
      line.append("</").append(element).append(">");
    }
    line += "</Psn><Trs>";
    lines.Add(line);

    db::Query& terms = *TermQuery;
    sql.assign(kTermStatement).append(curriculumId).append(" AND PersonID = ").append(personId);
    sql.append(kTermStatementEnd);
    SetStatementText(terms, sql);
    terms.Open();
    terms.First();
    while (!terms.Eof()) {
      CheckStop();
      const std::string termText =
          terms.FieldByName("TermID").AsInteger() == 0 ? std::string()
                                                       : cp874::RoundTrip(terms.FieldByName("TermName").AsString());
      const std::string termYear = Spliced(terms, "AcademicYear");
      const std::string termId = Spliced(terms, "TermID");
      line = "<Tr><Se><Yr>";
      AppendXmlText(line, termYear);
      line += "</Yr><Tm>";
      AppendXmlText(line, termText);
      line += "</Tm>";
      lines.Add(line);

      db::Query& termGpa = *TermGpaQuery;
      sql.assign(kTermGpaStatement).append(personId).append(" AND AcademicYear = ").append(termYear);
      sql.append(" AND TermID = ").append(termId);
      SetStatementText(termGpa, sql);
      termGpa.Open();
      termGpa.First();
      line = "<GA>";
      Append(line, termGpa, "GPA");
      line += "</GA></Se><Ss>";
      lines.Add(line);

      db::Query& scores = *ScoreQuery;
      sql.assign(kScoreStatement).append(personId).append(" AND VRegScore.AcademicYear = ").append(termYear);
      sql.append(" AND VRegScore.TermID = ").append(termId).append(kScoreStatementEnd);
      SetStatementText(scores, sql);
      scores.Open();
      scores.First();
      while (!scores.Eof()) {
        CheckStop();
        host_.SetRowCounter(++ScoreRowCount);
        std::string gradeText = cp874::RoundTrip(scores.FieldByName("GradeName").AsString());

        db::Query& regrade = *RegradeQuery;
        sql.assign(kRegradeStatement).append(Spliced(scores, "PersonID"));
        sql.append(" AND RegTTranscript.SubjectID = ").append(Spliced(scores, "SubjectID"));
        SetStatementText(regrade, sql);
        regrade.Open();
        if (regrade.RecordCount() > 0) {
          regrade.First();
          if (regrade.FieldByName("ReGradeID").AsInteger() != 0)
            gradeText = cp874::RoundTrip(regrade.FieldByName("GradeNameR").AsString());
          else if (regrade.FieldByName("SGradeID").AsInteger() != 0)
            gradeText = cp874::RoundTrip(regrade.FieldByName("GradeNameS").AsString());
        }

        const double sb = scores.FieldByName("SumSB").AsFloat();
        const double sm = scores.FieldByName("SumSM").AsFloat();
        const double sa = scores.FieldByName("SumSA").AsFloat();
        const double sf = scores.FieldByName("SumSF").AsFloat();
        const double fsb = scores.FieldByName("SumFSB").AsFloat();
        const double fsm = scores.FieldByName("SumFSM").AsFloat();
        const double fsa = scores.FieldByName("SumFSA").AsFloat();
        const double fsf = scores.FieldByName("SumFSF").AsFloat();
        const double fullTotal = fsb + fsm + fsa + fsf;

        line = "<S><C>";
        Append(line, scores, "SubjectID");
        line += "</C><G>";
        AppendXmlText(line, gradeText);
        if (fullTotal > 0) {
          line += "</G><B>" + FormatOneDecimal(sb) + "/" + FormatWhole(fsb);
          line += "</B><M>" + FormatWhole(sm) + "/" + FormatWhole(fsm);
          line += "</M><A>" + FormatOneDecimal(sa) + "/" + FormatWhole(fsa);
          line += "</A><F>" + FormatWhole(sf) + "/" + FormatWhole(fsf);
          line += "</F><T>" + FormatWhole(sb + sm + sa + sf) + "/" + FormatWhole(fullTotal);
          line += "</T></S>";
        } else {
          line += "</G><B>-</B><M>-</M><A>-</A><F>-</F><T>-</T></S>";
        }
        lines.Add(line);
        scores.Next();
      }
      lines.Add("</Ss></Tr>");
      terms.Next();
    }
    lines.Add("</Trs></Std>");
    students.Next();
  }
  lines.Add("</Stds>");

  GroupGpaQuery->Close();
  StudentQuery->Close();
  RegradeQuery->Close();
  SaveFile("tev10xml.xml", lines.Blocks());
}

}  // namespace marksend
