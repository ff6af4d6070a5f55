// The subject catalogue document, "subjectxml.xml".
#include "export/export_thread.h"
#include "export/statement_value.h"
#include "export/subject_name.h"
#include "export/xml_text.h"

namespace marksend {

void TExportThread::WriteSubjectCatalogue() {
  std::vector<std::string> lines{R"(<?xml version="1.0" encoding="utf-8"?>)", "<Subs>"};

  const std::string year = host_.YearText();
  RequirePlainNumber(year, "academic year");
  SubjectQuery->SetStatement({
      "SELECT SubjectID, ReportSubjectCode, SubjectName, Credits, SubjectHours, CurriculumID FROM RegMSubject",
      "WHERE SubjectID IN (SELECT TTranscript.SubjectID",
      "\t  FROM (RegBClass INNER JOIN RegTClassRoom AS ClassRoom ON RegBClass.ClassID = ClassRoom.ClassID) "
      "INNER JOIN ((RegTClassRoom AS TClassRoom INNER JOIN RegTTranscript AS TTranscript ON "
      "(TClassRoom.AcademicYear = TTranscript.AcademicYear) AND (TClassRoom.PersonID = TTranscript.PersonID)) "
      "INNER JOIN RegBClass AS TClass ON TClassRoom.ClassID = TClass.ClassID) ON (ClassRoom.PersonID = "
      "TClassRoom.PersonID) AND (RegBClass.CurriculumID = TClass.CurriculumID)",
      "\t  WHERE ClassRoom.AcademicYear = " + year,
      "\t  GROUP BY TTranscript.SubjectID);",
  });

  db::Query& q = *SubjectQuery;
  q.Open();
  q.First();
  while (!q.Eof()) {
    CheckStop();
    const std::string name = CleanSubjectName(q.FieldByName("SubjectName").AsString());
    const std::string id = q.FieldByName("SubjectID").AsString();
    const std::string code = q.FieldByName("ReportSubjectCode").AsString();
    const std::string amount = q.FieldByName("CurriculumID").AsInteger() > 1
                                   ? q.FieldByName("Credits").AsString()
                                   : q.FieldByName("SubjectHours").AsString();
    std::string line = "<Sub><I>";
    AppendXmlText(line, id);
    line += "</I><C>";
    AppendXmlText(line, code);
    line += "</C><N>";
    AppendXmlText(line, name);
    line += "</N><R>";
    AppendXmlText(line, amount);
    line += "</R></Sub>";
    lines.push_back(std::move(line));
    ++SubjectCount;
    q.Next();
  }
  lines.emplace_back("</Subs>");
  q.Close();
  SaveFile("subjectxml.xml", lines);
}

}  // namespace marksend
