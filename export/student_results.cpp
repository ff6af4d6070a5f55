// The student results document, "tev10xml.xml".
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

}  // namespace

void TExportThread::WriteStudentResults() {
  std::vector<std::string> lines{R"(<?xml version="1.0" encoding="utf-8"?>)", "<Stds>"};

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

    std::string line = "<Std><Psn><Co>";
    Append(line, students, "PersonCode");
    line += "</Co><Na>";
    Append(line, students, "StudentName");
    line += "</Na><BD>";
    line += BuddhistBirthDateText(students.FieldByName("BirthDate").AsDate());
    line += "</BD><CR>";
    Append(line, students, "ClassName");
    line += "</CR>";
    lines.push_back(std::move(line));

    const std::string curriculumId = Spliced(students, "CurriculumID");
    const std::string personId = Spliced(students, "PersonID");

    db::Query& groups = *GroupGpaQuery;
    groups.SetStatement({"SELECT * FROM VRegGPASubjectGroup WHERE CurriculumID = " + curriculumId +
                         " AND PersonID = " + personId});
    groups.Open();
    groups.First();
    line = "<Th>";
    Append(line, groups, "ThaiGPA");
    line += "</Th><Ma>";
    Append(line, groups, "MathGPA");
    line += "</Ma><Sc>";
    Append(line, groups, "ScienceGPA");
    line += "</Sc><So>";
    Append(line, groups, "SocialGPA");
    line += "</So><He>";
    Append(line, groups, "HealthGPA");
    line += "</He><Ar>";
    Append(line, groups, "ArtGPA");
    line += "</Ar><Jo>";
    Append(line, groups, "JobGPA");
    line += "</Jo><En>";
    Append(line, groups, "EngGPA");
    line += "</En><GP>";
    Append(line, groups, "GPA");
    line += "</GP></Psn><Trs>";
    lines.push_back(std::move(line));

    db::Query& terms = *TermQuery;
    terms.SetStatement({
        "SELECT AcademicYear,TermID,TermName FROM VRegPP1",
        "WHERE CurriculumID = " + curriculumId + " AND PersonID = " + personId,
        "GROUP BY AcademicYear,TermID,TermName ORDER BY AcademicYear,TermID",
    });
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
      lines.push_back(std::move(line));

      db::Query& termGpa = *TermGpaQuery;
      termGpa.SetStatement({
          "SELECT CreditAll,GPA FROM VRegGPATerm",
          "WHERE PersonID = " + personId + " AND AcademicYear = " + termYear + " AND TermID = " + termId,
      });
      termGpa.Open();
      termGpa.First();
      line = "<GA>";
      Append(line, termGpa, "GPA");
      line += "</GA></Se><Ss>";
      lines.push_back(std::move(line));

      db::Query& scores = *ScoreQuery;
      scores.SetStatement({
          "SELECT VRegScore.SubjectID, VRegScore.PersonID, "
          "VRegScore.GradeName,SumSB,SumSM,SumSA,SumSF,SumFSB,SumFSM,SumFSA,SumFSF",
          "FROM VRegScore INNER JOIN RegMSubject ON VRegScore.SubjectID = RegMSubject.SubjectID",
          "WHERE VRegScore.PersonID = " + personId + " AND VRegScore.AcademicYear = " + termYear +
              " AND VRegScore.TermID = " + termId,
          "ORDER BY RegMSubject.SubjectTypeID,RegMSubject.SubjectGroupID, RegMSubject.ReportSubjectCode",
      });
      scores.Open();
      scores.First();
      while (!scores.Eof()) {
        CheckStop();
        host_.SetRowCounter(++ScoreRowCount);
        std::string gradeText = cp874::RoundTrip(scores.FieldByName("GradeName").AsString());

        db::Query& regrade = *RegradeQuery;
        regrade.SetStatement({
            "SELECT RegTTranscript.ReGradeID, RegTTranscript.SGradeID, RegBGradeR.GradeName AS GradeNameR, "
            "RegBGradeS.GradeName AS GradeNameS",
            "FROM RegBGrade AS RegBGradeR INNER JOIN (RegBGrade AS RegBGradeS INNER JOIN RegTTranscript ON "
            "RegBGradeS.GradeID = RegTTranscript.SGradeID) ON RegBGradeR.GradeID = RegTTranscript.ReGradeID",
            "WHERE RegTTranscript.PersonID = " + Spliced(scores, "PersonID") +
                " AND RegTTranscript.SubjectID = " + Spliced(scores, "SubjectID"),
        });
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
        lines.push_back(std::move(line));
        scores.Next();
      }
      lines.emplace_back("</Ss></Tr>");
      terms.Next();
    }
    lines.emplace_back("</Trs></Std>");
    students.Next();
  }
  lines.emplace_back("</Stds>");

  GroupGpaQuery->Close();
  StudentQuery->Close();
  RegradeQuery->Close();
  SaveFile("tev10xml.xml", lines);
}

}  // namespace marksend
